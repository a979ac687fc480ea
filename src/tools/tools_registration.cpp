#include "tools_registration.h"

#include "document_check.h"
#include "documents/glyphs.h"
#include "documents/main_window.h"
#include "editor/editor_widget.h"
#include "platform/services.h"
#include "system_info.h"
#include "text_tools.h"

namespace xo {

namespace {

void commands(TfrmMain &m, std::vector<CommandSpec> &specs) {
    int order = 0;
    auto add = [&](const char *name, const char *caption, std::function<void()> run, const char *hint, int tag) {
        specs.push_back(MenuCommand("&Nástroje", order++, name, caption, hint, std::move(run), tag));
        return &specs.back();
    };
    CommandSpec *check = add("mnSyntax", "&Kontrola dokumentu", CheckActiveDocument,
                             "Kontrola dokumentu|Zkontrolovat strukturu tagů dokumentu", tagNeedsDocument);
    check->toolbar = QStringLiteral("tbTools");
    check->button = QStringLiteral("btSyntax");
    check->icon = TextGlyph(QStringLiteral("OK?"));
    add("mnExportTXT", "&Export do TXT", ExportActiveDocument, "Export do TXT|Uložit dokument jako prostý text",
        tagNeedsDocument);
    add("mnZmenaDosUnix", "&Změna typu DOS/Unix", SwitchLineEndsOfActiveDocument,
        "Změna typu DOS/Unix|Ukládat dokument s konci řádek druhého typu", tagNeedsDocument);
    // One toggling item, ticked while the active document is UTF-8.
    CommandSpec *encoding = add("mnKodovani", "Kó&dování UTF-8", SwitchEncodingOfActiveDocument,
                                "Kódování UTF-8|Ukládat dokument v kódování UTF-8 (nebo zpět v CP1250)", tagNeedsDocument);
    encoding->available = [&m] {
        if (QAction *a = m.Action(QStringLiteral("mnKodovani"))) {
            a->setCheckable(true);
            a->setChecked(m.ActiveEditor() && m.ActiveEditor()->Utf8);
        }
        return true;
    };
    add("mnDiakritikaFuc", "&Odstranit diakritiku", RemoveDiacriticsFromActiveDocument,
        "Odstranit diakritiku|Odstranit z textu českou diakritiku", tagNeedsDocument);
    add("N_tools", "", nullptr, "", tagAlways);
    add("mnInformace", "&Informace o systému",
        [&m] {
            if (QDialog *d = m.Dialog(QStringLiteral("TfrmInformace"))) platform::services().runModal(*d);
        },
        "Informace|Informace o počítači", tagAlways);
}

} // namespace

Subsystem ToolsSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("tools");
    s.commands = commands;
    s.dialogs = {DialogOf<TfrmInformace>("TfrmInformace")};
    return s;
}

} // namespace xo
