#include "search_commands.h"

#include "documents/main_window.h"
#include "editor/editor_widget.h"
#include "find_dialogs.h"
#include "platform/cp1250.h"
#include "platform/services.h"
#include "search.h"

#include <QCheckBox>
#include <QComboBox>
#include <memory>
#include <optional>

namespace xo {

namespace {

template <class T> T *dialog(TfrmMain &m, const char *name) {
    return static_cast<T *>(m.Dialog(QString::fromLatin1(name)));
}

// A dialog's section of the configuration: read into a copy, applied to the dialog.
template <class Section, class Dialog> ConfigSection dialogSection(const char *name, const char *dialogName) {
    auto copy = std::make_shared<std::optional<Section>>();
    return {QString::fromLatin1(name),
            [copy](TfrmMain &, TCompressFile &f) {
                copy->reset();
                if (Section r; r.Read(f)) *copy = r;
            },
            [copy, dialogName](TfrmMain &m) {
                if (*copy) dialog<Dialog>(m, dialogName)->Apply(**copy);
            },
            [dialogName](TfrmMain &m, TCompressFile &f) { dialog<Dialog>(m, dialogName)->Collect().Write(f); }};
}

void findNext(TfrmMain &m) {
    if (TEditor *e = m.ActiveEditor()) FindNext(*e);
}

void find(TfrmMain &m) {
    auto *dlg = dialog<TdlgFind>(m, "TdlgFind");
    if (!m.ActiveEditor() || platform::services().runModal(*dlg) != QDialog::Accepted) return;
    SearchRec.FindText = cp1250::encode(dlg->FindText);
    SearchRec.MatchCase = dlg->CaseSensitive;
    SearchRec.ReplaceMode = false;
    findNext(m);
}

void replace(TfrmMain &m) {
    auto *dlg = dialog<TdlgReplace>(m, "TdlgReplace");
    if (!m.ActiveEditor() || platform::services().runModal(*dlg) != QDialog::Accepted) return;
    SearchRec.FindText = cp1250::encode(dlg->cmbFindText->currentText());
    SearchRec.ReplaceText = cp1250::encode(dlg->cmbReplaceText->currentText());
    SearchRec.MatchCase = dlg->chkCaseSensitive->isChecked();
    SearchRec.ReplaceAll = dlg->chkReplaceAll->isChecked();
    SearchRec.PromptOnReplace = dlg->chkPromptOnReplace->isChecked();
    SearchRec.ReplaceMode = true;
    findNext(m);
}

void gotoLine(TfrmMain &m) {
    TEditor *e = m.ActiveEditor();
    auto *dlg = dialog<TfrmGotoLine>(m, "TfrmGotoLine");
    if (!e || platform::services().runModal(*dlg) != QDialog::Accepted) return;
    dlg->Apply(*e);
}

void commands(TfrmMain &m, std::vector<CommandSpec> &c) {
    const QString menu = QStringLiteral("&Vyhledávání");
    auto add = [&](const char *name, const char *caption, QKeySequence key, void (*run)(TfrmMain &),
                   const char *hint, int popup) {
        CommandSpec s;
        s.menu = menu;
        s.order = int(c.size());
        s.name = QString::fromLatin1(name);
        s.caption = QString::fromUtf8(caption);
        s.shortcut = key;
        s.hint = QString::fromUtf8(hint);
        s.popup = popup;
        s.handler = [&m, run] { run(m); };
        c.push_back(std::move(s));
        return &c.back();
    };
    add("mnFind", "&Najít", QKeySequence(Qt::CTRL | Qt::Key_F), find, "Najít|Najít text v dokumentu", 40);
    add("mnReplace", "&Zaměnit", {}, replace, "Zaměnit|Zaměnit text v dokumentu", -1);
    CommandSpec *next = add("mnFindNext", "&Další", QKeySequence(Qt::Key_F3), findNext, "Další|Najít další výskyt", -1);
    next->toolbar = QStringLiteral("tbFile");
    next->button = QStringLiteral("btFindNext");
    next->iconName = QStringLiteral("edit-find");
    next->secondaryClick = [&m] { replace(m); };
    add("mnGotoLine", "&Skok na řádek", QKeySequence(Qt::CTRL | Qt::Key_G), gotoLine,
        "Skok na řádek|Přejít na řádek dokumentu", 50);
}

} // namespace

Subsystem SearchSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("search");
    s.commands = commands;
    s.dialogs = {
        {QStringLiteral("TdlgFind"), [](TfrmMain &m) { return new TdlgFind(&m); }},
        {QStringLiteral("TdlgReplace"), [](TfrmMain &m) { return new TdlgReplace(&m); }},
        {QStringLiteral("TfrmGotoLine"), [](TfrmMain &m) { return new TfrmGotoLine(&m); }},
    };
    // The dialogs' histories and choices: "FindDial" and "ReplaceDial".
    s.config = {dialogSection<FindSection, TdlgFind>("Find", "TdlgFind"),
                dialogSection<ReplaceSection, TdlgReplace>("Replace", "TdlgReplace")};
    return s;
}

} // namespace xo
