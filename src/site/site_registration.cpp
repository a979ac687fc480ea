#include "site_registration.h"

#include "documents/main_window.h"
#include "search_dialogs.h"

namespace xo {

namespace {

void commands(TfrmMain &m, std::vector<CommandSpec> &specs) {
    CommandSpec search;
    search.menu = QStringLiteral("&Nástroje");
    search.order = 80;
    search.name = QStringLiteral("mnHledaniSouboru");
    search.caption = QStringLiteral("&Hledání souborů");
    search.hint = QStringLiteral("Hledání souborů|Hledat soubory podle jména a obsahu");
    search.tag = tagAlways;
    search.handler = [&m] {
        if (auto *d = qobject_cast<TfrmSearchFiles *>(m.Dialog(QStringLiteral("TfrmSearchFiles")))) d->Execute();
    };
    specs.push_back(search);
}

} // namespace

Subsystem SiteSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("site");
    s.commands = commands;
    s.dialogs = {{QStringLiteral("TdlgChooseDir"), [](TfrmMain &m) -> QDialog * { return new TdlgChooseDir(&m); }},
                 {QStringLiteral("TfrmSearchFiles"),
                  [](TfrmMain &m) -> QDialog * { return new TfrmSearchFiles(&m); }}};
    s.attached = [](TfrmMain &m) {
        auto *search = qobject_cast<TfrmSearchFiles *>(m.Dialog(QStringLiteral("TfrmSearchFiles")));
        auto *choose = qobject_cast<TdlgChooseDir *>(m.Dialog(QStringLiteral("TdlgChooseDir")));
        if (!search || !choose) return;
        search->ChooseDirectory = [choose](QString &dir) { return choose->ChooseDirectory(dir); };
        search->OpenDocument = [&m](const QString &file) { m.OpenDocument(file); };
        search->ShowStatusText = [&m](const QString &t) { m.ShowStatusText(t); };
    };
    return s;
}

} // namespace xo
