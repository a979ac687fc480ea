#include "find_dialogs.h"

#include "editor/editor_core.h"
#include "platform/cp1250.h"
#include "settings/compress_file.h"
#include "editor/shared_routines.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace xo {

namespace {

constexpr int kStoredHistory = 100;

QComboBox *historyBox(const char *name, int maxLength) {
    auto *box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->lineEdit()->setMaxLength(maxLength);
    box->setMinimumWidth(260);
    return box;
}

QCheckBox *checkBox(const QString &caption, const char *name) {
    auto *c = new QCheckBox(caption);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

QHBoxLayout *buttonRow(QDialog *d, QPushButton *&ok, QPushButton *&cancel, const QString &okText,
                       const QString &cancelText) {
    auto *row = new QHBoxLayout;
    row->addStretch();
    ok = new QPushButton(okText);
    ok->setObjectName(QStringLiteral("btOk"));
    ok->setDefault(true);
    cancel = new QPushButton(cancelText);
    cancel->setObjectName(QStringLiteral("btCancel"));
    row->addWidget(ok);
    row->addWidget(cancel);
    QObject::connect(ok, &QPushButton::clicked, d, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, d, &QDialog::reject);
    return row;
}

QStringList readHistory(TCompressFile &f) {
    QStringList list;
    const int32_t n = f.ReadCount(4);
    for (int32_t i = 0; i < n && !f.Damaged(); ++i) list << cp1250::decode(f.ReadString());
    return list;
}

void writeHistory(TCompressFile &f, const QStringList &list) {
    const int n = std::min(int(list.size()), kStoredHistory);
    f.WriteInteger(n);
    for (int i = 0; i < n; ++i) f.WriteString(cp1250::encode(list[i]));
}

QStringList itemsOf(const QComboBox *box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i) list << box->itemText(i);
    return list;
}

void setItems(QComboBox *box, const QStringList &list) {
    box->clear();
    box->addItems(list);
}

} // namespace

void AddToHistory(QComboBox *box, const QString &text, bool move) {
    const int at = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at >= 0) {
        if (!move) return;
        box->removeItem(at);
    }
    box->insertItem(0, text);
    box->setCurrentIndex(0);
}

// ---------------------------------------------------------------- find

TdlgFind::TdlgFind(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgFind"));
    setWindowTitle(QStringLiteral("Najít"));
    auto *box = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("&Co najít:"));
    cmbText = historyBox("cmbText", 50);
    label->setBuddy(cmbText);
    box->addWidget(label);
    box->addWidget(cmbText);
    chkCaseSensitive = checkBox(QStringLiteral("&Rozlišovat malá a velká"), "chkCaseSensitive");
    box->addWidget(chkCaseSensitive);
    box->addLayout(buttonRow(this, btOk, btCancel, QStringLiteral("&Najít"), QStringLiteral("&Zrušit")));
}

void TdlgFind::done(int r) {
    if (r == Accepted) {
        FindText = cmbText->currentText();
        CaseSensitive = chkCaseSensitive->isChecked();
        AddToHistory(cmbText, FindText, true);
    }
    QDialog::done(r);
}

bool FindSection::Read(TCompressFile &f) {
    if (!ReadSectionTag(f, "FindDial")) return false;
    history = readHistory(f);
    caseSensitive = f.ReadBoolean();
    return true;
}

void FindSection::Write(TCompressFile &f) const {
    f.WriteString("FindDial");
    writeHistory(f, history);
    f.WriteBoolean(caseSensitive);
}

void TdlgFind::Apply(const FindSection &s) {
    setItems(cmbText, s.history);
    chkCaseSensitive->setChecked(s.caseSensitive);
}

FindSection TdlgFind::Collect() const { return {itemsOf(cmbText), chkCaseSensitive->isChecked()}; }

// ---------------------------------------------------------------- replace

TdlgReplace::TdlgReplace(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgReplace"));
    setWindowTitle(QStringLiteral("Zaměnit"));
    auto *box = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    cmbFindText = historyBox("cmbFindText", 60);
    cmbReplaceText = historyBox("cmbReplaceText", 60);
    form->addRow(QStringLiteral("&Co najít:"), cmbFindText);
    form->addRow(QStringLiteral("Čím &zaměnit:"), cmbReplaceText);
    box->addLayout(form);
    chkCaseSensitive = checkBox(QStringLiteral("&Rozlišovat velká a malá"), "chkCaseSensitive");
    chkReplaceAll = checkBox(QStringLiteral("Zaměnit &vše"), "chkReplaceAll");
    chkPromptOnReplace = checkBox(QStringLiteral("&Potvrzování záměn"), "chkPromptOnReplace");
    box->addWidget(chkCaseSensitive);
    box->addWidget(chkReplaceAll);
    box->addWidget(chkPromptOnReplace);
    box->addLayout(buttonRow(this, btOk, btCancel, QStringLiteral("O&k"), QStringLiteral("Zrušit")));
}

void TdlgReplace::done(int r) {
    if (r == Accepted) {
        AddToHistory(cmbFindText, cmbFindText->currentText(), false);
        AddToHistory(cmbReplaceText, cmbReplaceText->currentText(), false);
    }
    QDialog::done(r);
}

bool ReplaceSection::Read(TCompressFile &f) {
    if (!ReadSectionTag(f, "ReplaceDial")) return false;
    findHistory = readHistory(f);
    replaceHistory = readHistory(f);
    caseSensitive = f.ReadBoolean();
    replaceAll = f.ReadBoolean();
    promptOnReplace = f.ReadBoolean();
    return true;
}

void ReplaceSection::Write(TCompressFile &f) const {
    f.WriteString("ReplaceDial");
    writeHistory(f, findHistory);
    writeHistory(f, replaceHistory);
    f.WriteBoolean(caseSensitive);
    f.WriteBoolean(replaceAll);
    f.WriteBoolean(promptOnReplace);
}

void TdlgReplace::Apply(const ReplaceSection &s) {
    setItems(cmbFindText, s.findHistory);
    setItems(cmbReplaceText, s.replaceHistory);
    chkCaseSensitive->setChecked(s.caseSensitive);
    chkReplaceAll->setChecked(s.replaceAll);
    chkPromptOnReplace->setChecked(s.promptOnReplace);
}

ReplaceSection TdlgReplace::Collect() const {
    return {itemsOf(cmbFindText), itemsOf(cmbReplaceText), chkCaseSensitive->isChecked(), chkReplaceAll->isChecked(),
            chkPromptOnReplace->isChecked()};
}

// ---------------------------------------------------------------- go to line

TfrmGotoLine::TfrmGotoLine(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmGotoLine"));
    setWindowTitle(QStringLiteral("Skok na řádek"));
    auto *box = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral("&Přejít na řádek:"));
    edLine = new QLineEdit(QStringLiteral("1"));
    edLine->setObjectName(QStringLiteral("edLine"));
    edLine->setMaxLength(4);
    label->setBuddy(edLine);
    box->addWidget(label);
    box->addWidget(edLine);
    box->addLayout(buttonRow(this, btOk, btCancel, QStringLiteral("O&k"), QStringLiteral("Zrušit")));
}

void TfrmGotoLine::done(int r) {
    if (r == Accepted && !CheckNumberField(edLine)) return; // stays open
    QDialog::done(r);
}

void TfrmGotoLine::Apply(EditorCore &editor) const {
    int p = editor.LineStart(IntFromText(edLine->text()));
    if (p < 1) p = 1;
    editor.SetSelection(p, p);
    editor.ScrollToCaret();
    editor.Repaint();
}

} // namespace xo
