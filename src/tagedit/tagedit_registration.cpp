#include "tagedit_registration.h"

#include "documents/glyphs.h"
#include "tag_edit.h"

namespace xo {

namespace {

CommandSpec command(const char *menu, int order, const char *name, const char *caption, QKeySequence key,
                    void (*run)(), const char *hint, int popup = -1) {
    CommandSpec s = MenuCommand(menu, order, name, caption, hint, run);
    s.shortcut = key;
    s.popup = popup;
    return s;
}

void commands(TfrmMain &, std::vector<CommandSpec> &specs) {
    // At the end of the edit menu, after the clipboard commands.
    const char *edit = "E&ditace";
    specs.push_back(MenuCommand(edit, 10000, "N_tagedit", "", "", nullptr));
    specs.push_back(command(edit, 10001, "mnDeleteTag", "Výmaz &tagu pod kurzorem", QKeySequence(Qt::CTRL | Qt::Key_D),
                            DeleteTagUnderCaret, "Výmaz tagu|Vymazat tag pod kurzorem i s jeho párovým tagem", 65));
    specs.push_back(command(edit, 10002, "mnOpravaTagu", "&Oprava tagu pod kurzorem", QKeySequence(Qt::CTRL | Qt::Key_E),
                            ReeditTagUnderCaret, "Oprava tagu|Upravit tag pod kurzorem v jeho dialogu", 60));
    CommandSpec color = command(edit, 10003, "mnChooseColor", "Výběr &barvy", {}, ChooseColorAtCaret,
                                "Výběr barvy|Vybrat barvu a vložit ji jako text", 70);
    color.toolbar = QStringLiteral("tbTools");
    color.button = QStringLiteral("btChooseColor");
    color.icon = TextGlyph(QStringLiteral("RGB"));
    specs.push_back(color);
    // Help on the tag stands with the other help.
    int faq = 0;
    for (const CommandSpec &s : specs)
        if (s.name == QLatin1String("mnFAQ")) faq = s.order;
    CommandSpec help = command("Ná&pověda", faq + 2, "mnNapovedaTermin", "Nápověda k &termínu",
                               QKeySequence(Qt::CTRL | Qt::Key_F1), HelpOnTagUnderCaret,
                               "Nápověda k termínu|Nápověda k tagu pod kurzorem");
    specs.push_back(help);
}

} // namespace

Subsystem TagEditSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("tagedit");
    s.commands = commands;
    return s;
}

} // namespace xo
