#include "site_registration.h"
#include "site_state.h"

#include "documents/main_window.h"
#include "documents/help.h"
#include "editor/editor_widget.h"
#include "hierarchy_dialogs.h"
#include "search_dialogs.h"
#include "site_scan.h"

namespace xo {

namespace {

void searchFiles(TfrmMain &m) {
    if (auto *d = qobject_cast<TfrmSearchFiles *>(m.Dialog(QStringLiteral("TfrmSearchFiles")))) d->Execute();
}

void siteHierarchy(TfrmMain &m) {
    if (!m.ActiveEditor()) return;
    m.mnUlozitVseClick();
    TEditor *editor = m.ActiveEditor();
    // A document that still has no file (its save was cancelled) has no site.
    if (!editor || editor->FileName.isEmpty()) return;
    if (auto *d = qobject_cast<TfrmHierarchie *>(m.Dialog(QStringLiteral("TfrmHierarchie"))))
        d->Execute(ScanHierarchy(editor->FileName));
}

void commands(TfrmMain &m, std::vector<CommandSpec> &specs) {
    specs.push_back(MenuCommand("&Nástroje", 80, "mnHledaniSouboru", "&Hledání souborů",
                                "Hledání souborů|Hledat soubory podle jména a obsahu", [&m] { searchFiles(m); },
                                tagAlways));
    specs.push_back(MenuCommand("&Nástroje", 81, "mnHierarchie", "Hie&rarchie souborů",
                                "Hierarchie souborů|Instalovat nebo vyslat soubory stránek dosažitelné z dokumentu",
                                [&m] { siteHierarchy(m); }));
}

} // namespace

Subsystem SiteSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("site");
    s.commands = commands;
    s.dialogs = {DialogOf<TdlgChooseDir>("TdlgChooseDir"), DialogOf<TfrmSearchFiles>("TfrmSearchFiles"),
                 DialogOf<TfrmHierarchie>("TfrmHierarchie"), DialogOf<TfrmHierarchiePwd>("TfrmHierarchiePwd")};
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
    s.config = {StateSection("Hierarchie", HierarchieState), StateSection("ChooseDir", ChooseDirState),
                StateSection("SearchFiles", SearchFilesState)};
    return s;
}

} // namespace xo
