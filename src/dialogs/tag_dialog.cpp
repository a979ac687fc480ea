#include "tag_dialogs.h"

#include "dialog_kit.h"
#include "editor/utf8_text.h"
#include "platform/services.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QValidator>

namespace xo {

namespace {

const char *const kHelpProperty = "helpContext";

// Refuses input that makes the field longer than the limit, but never what
// is already there (a longer value the program set stays editable).
class LengthLimit : public QValidator {
public:
    LengthLimit(QLineEdit *field, int limit) : QValidator(field), limit_(limit), last_(field->text().size()) {
        connect(field, &QLineEdit::textChanged, this, [this](const QString &t) { last_ = t.size(); });
    }
    State validate(QString &input, int &) const override {
        return input.size() > limit_ && input.size() > last_ ? Invalid : Acceptable;
    }

private:
    int limit_;
    qsizetype last_; // the length before the edit being validated
};

} // namespace

void LimitTyping(QLineEdit *field, int limit) { field->setValidator(new LengthLimit(field, limit)); }

void SetHelpContext(QWidget *w, int context) { w->setProperty(kHelpProperty, context); }

TTagDialog::TTagDialog(QWidget *parent, const QString &caption, int helpContext)
    : QDialog(parent), helpContext_(helpContext) {
    setWindowTitle(caption);
    // Wide enough that the window manager shows the whole caption.
    setMinimumWidth(fontMetrics().horizontalAdvance(caption) * 3 / 2 + 100);
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] {
        if (TDialogHost *h = DialogHost()) h->ShowHelp(HelpContextOf(focusWidget()));
    });
}

int TTagDialog::HelpContextOf(QWidget *w) const {
    for (; w && w != this; w = w->parentWidget())
        if (const QVariant v = w->property(kHelpProperty); v.isValid()) return v.toInt();
    return helpContext_;
}

QHBoxLayout *TTagDialog::ButtonRow(const QString &ok, const QString &okHint, const QString &cancel) {
    auto *row = new QHBoxLayout;
    row->addStretch();
    btOk = new QPushButton(ok);
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setToolTip(okHint);
    btOk->setDefault(true);
    btOk->setAutoDefault(true);
    SetHelpContext(btOk, 1);
    btCancel = new QPushButton(cancel);
    btCancel->setObjectName(QStringLiteral("btCancel"));
    btCancel->setToolTip(QStringLiteral("Návrat"));
    btCancel->setAutoDefault(false);
    SetHelpContext(btCancel, 2);
    row->addWidget(btOk);
    row->addWidget(btCancel);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    return row;
}

bool TTagDialog::Run() { return platform::services().runModal(*this) == QDialog::Accepted; }

void TTagDialog::done(int r) {
    if (r == QDialog::Accepted && (!btOk || !btOk->isEnabled() || !CanClose())) {
        setResult(QDialog::Rejected); // still open
        return;
    }
    QDialog::done(r);
}

namespace kit {

std::string bytes(const QString &text) {
    const TDialogHost *h = DialogHost();
    return DocumentTextOf(text, h && const_cast<TDialogHost *>(h)->DocumentIsUtf8());
}

QLineEdit *Field(const char *name, const QString &hint, int limit) {
    auto *f = new QLineEdit;
    f->setObjectName(QString::fromLatin1(name));
    f->setToolTip(hint);
    if (limit > 0) LimitTyping(f, limit);
    return f;
}

QCheckBox *Check(const char *name, const QString &caption, const QString &hint) {
    auto *c = new QCheckBox(caption);
    c->setObjectName(QString::fromLatin1(name));
    c->setToolTip(hint);
    return c;
}

QComboBox *List(const char *name, const QString &hint, const QStringList &items, bool editable, int limit) {
    auto *c = new QComboBox;
    c->setObjectName(QString::fromLatin1(name));
    c->setToolTip(hint);
    c->setEditable(editable);
    c->addItems(items);
    if (editable) {
        c->setInsertPolicy(QComboBox::NoInsert);
        if (limit > 0) LimitTyping(c->lineEdit(), limit);
    }
    return c;
}

QGroupBox *RadioGroup(const char *name, const QString &title, const QString &hint, const QStringList &items,
                      int columns, QButtonGroup *&group) {
    auto *box = new QGroupBox(title);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(hint);
    auto *grid = new QGridLayout(box);
    group = new QButtonGroup(box);
    const int rows = int((items.size() + columns - 1) / columns);
    for (int i = 0; i < items.size(); ++i) {
        auto *r = new QRadioButton(items[i]);
        r->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(name)).arg(i));
        grid->addWidget(r, i % rows, i / rows);
        group->addButton(r, i);
    }
    return box;
}

void Choose(QButtonGroup *group, int i) {
    if (QAbstractButton *b = group->button(i)) {
        b->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

QLabel *Label(const QString &caption, QWidget *buddy) {
    auto *l = new QLabel(caption);
    l->setBuddy(buddy);
    return l;
}

QString NumberText(int n, int floor) { return n > floor ? QString::number(n) : QString(); }

} // namespace kit

} // namespace xo
