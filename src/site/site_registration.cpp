#include "site_registration.h"

#include "documents/main_window.h"
#include "documents/help.h"
#include "editor/editor_widget.h"
#include "hierarchy_dialogs.h"
#include "search_dialogs.h"
#include "site_scan.h"

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

    CommandSpec hierarchy;
    hierarchy.menu = QStringLiteral("&Nástroje");
    hierarchy.order = 81;
    hierarchy.name = QStringLiteral("mnHierarchie");
    hierarchy.caption = QStringLiteral("Hie&rarchie souborů");
    hierarchy.hint = QStringLiteral("Hierarchie souborů|Instalovat nebo vyslat soubory stránek dosažitelné z dokumentu");
    hierarchy.tag = tagNeedsDocument;
    hierarchy.handler = [&m] {
        if (!m.ActiveEditor()) return;
        m.mnUlozitVseClick();
        TEditor *editor = m.ActiveEditor();
        // A document that still has no file (its save was cancelled) has no site.
        if (!editor || editor->FileName.isEmpty()) return;
        auto *d = qobject_cast<TfrmHierarchie *>(m.Dialog(QStringLiteral("TfrmHierarchie")));
        if (d) d->Execute(ScanHierarchy(editor->FileName));
    };
    specs.push_back(hierarchy);
}

} // namespace

Subsystem SiteSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("site");
    s.commands = commands;
    s.dialogs = {{QStringLiteral("TdlgChooseDir"), [](TfrmMain &m) -> QDialog * { return new TdlgChooseDir(&m); }},
                 {QStringLiteral("TfrmSearchFiles"),
                  [](TfrmMain &m) -> QDialog * { return new TfrmSearchFiles(&m); }},
                 {QStringLiteral("TfrmHierarchie"), [](TfrmMain &m) -> QDialog * { return new TfrmHierarchie(&m); }},
                 {QStringLiteral("TfrmHierarchiePwd"),
                  [](TfrmMain &m) -> QDialog * { return new TfrmHierarchiePwd(&m); }}};
    s.attached = [](TfrmMain &m) {
        auto *search = qobject_cast<TfrmSearchFiles *>(m.Dialog(QStringLiteral("TfrmSearchFiles")));
        auto *choose = qobject_cast<TdlgChooseDir *>(m.Dialog(QStringLiteral("TdlgChooseDir")));
        if (!search || !choose) return;
        search->ChooseDirectory = [choose](QString &dir) { return choose->ChooseDirectory(dir); };
        search->OpenDocument = [&m](const QString &file) { m.OpenDocument(file); };
        search->ShowStatusText = [&m](const QString &t) { m.ShowStatusText(t); };
        if (auto *site = qobject_cast<TfrmHierarchie *>(m.Dialog(QStringLiteral("TfrmHierarchie")))) {
            site->PasswordDialog = qobject_cast<TfrmHierarchiePwd *>(m.Dialog(QStringLiteral("TfrmHierarchiePwd")));
            site->ChooseDirectory = [choose](QString &dir) { return choose->ChooseDirectory(dir); };
            site->ShowStatusText = [&m](const QString &t) {
                if (t.isEmpty())
                    m.ClearStatusText();
                else
                    m.ShowStatusText(t);
            };
            site->ShowHelp = [](int context) { ShowHelpContext(context); };
        }
    };
    return s;
}

} // namespace xo
