#include "frameset_dialogs.h"

#include "dialog_kit.h"
#include "editor/shared_routines.h"
#include "paths.h"
#include "platform/services.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace xo {

using namespace kit;

std::string FramesetText;

namespace {
const QString kCaption = QStringLiteral("Xo!");
constexpr int kHelpContext = 406;
} // namespace

// ---------------------------------------------------------------- parameters

TfrmFrameParams::TfrmFrameParams(QWidget *parent) : TTagDialog(parent, QStringLiteral("Parametry rámce"), kHelpContext) {
    edFilename = Field("edFilename", QStringLiteral("Dokument, který se otevře v tomto rámci"), 0);
    edFilename->setMinimumWidth(260);
    btChooseFile = new QPushButton(QStringLiteral("..."));
    btChooseFile->setObjectName(QStringLiteral("btChooseFile"));
    btChooseFile->setToolTip(QStringLiteral("Hledej soubor"));
    btChooseFile->setAutoDefault(false);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(edFilename);
    fileRow->addWidget(btChooseFile);
    edFrameName = Field("edFrameName", QStringLiteral("Jméno rámce"), 0);
    edTargetName = Field("edTargetName", QStringLiteral("Ve kterém rámci otevírat odkazované soubory"), 0);
    auto *form = new QFormLayout;
    form->addRow(Label(QStringLiteral("&Soubor:"), edFilename), fileRow);
    form->addRow(Label(QStringLiteral("&Název rámce:"), edFrameName), edFrameName);
    form->addRow(Label(QStringLiteral("&Cílový rámec:"), edTargetName), edTargetName);
    auto *sizeBox = new QGroupBox(QStringLiteral(" Velikost "));
    auto *sizeForm = new QFormLayout(sizeBox);
    chkClientSize = Check("chkClientSize", QStringLiteral("&Zbytková velikost"),
                          QStringLiteral("Rámec zabere místo zbylé po ostatních rámcích"));
    edFrameSize = Field("edFrameSize", QStringLiteral("Velikost rámce v bodech"), 4);
    lbFrameSize = Label(QStringLiteral("&Velikost rámce:"), edFrameSize);
    sizeForm->addRow(chkClientSize);
    sizeForm->addRow(lbFrameSize, edFrameSize);
    auto *middle = new QHBoxLayout;
    middle->addWidget(RadioGroup("grpScrolling", QStringLiteral(" &Rolování "),
                                 QStringLiteral("Zda se bude obsah rámce rolovat"),
                                 {QStringLiteral("Automatické"), QStringLiteral("Vždy"), QStringLiteral("Nikdy")}, 1,
                                 grpScrolling));
    middle->addWidget(sizeBox);
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addLayout(middle);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést")));
    connect(chkClientSize, &QCheckBox::toggled, this, [this](bool rest) {
        edFrameSize->setEnabled(!rest);
        lbFrameSize->setEnabled(!rest);
        edFrameSize->setText(rest ? QStringLiteral("*") : openedSize_);
    });
    connect(btChooseFile, &QPushButton::clicked, this, [this] {
        QString path = edFilename->text();
        ChooseRelativeFile(path, 2);
        if (!path.isEmpty()) edFilename->setText(path);
    });
}

bool TfrmFrameParams::CanClose() {
    if (chkClientSize->isChecked()) return true;
    // A frame without Rest needs its size: "-1" in the sizes is no size.
    if (edFrameSize->text().isEmpty()) {
        platform::message(kCaption, QStringLiteral("V tomto políčku zadejte číselnou hodnotu"), platform::Icon::Exclamation);
        edFrameSize->setFocus();
        return false;
    }
    return CheckNumberField(edFrameSize);
}

bool TfrmFrameParams::ExecuteFrameParams(FrameParams &p) {
    openedSize_ = QString::number(p.size);
    edFilename->setText(ReferenceFromText(p.fileName));
    edFrameName->setText(text(p.frameName));
    edTargetName->setText(text(p.targetName));
    Choose(grpScrolling, p.scrolling >= 0 && p.scrolling <= 2 ? p.scrolling : 0);
    chkClientSize->setChecked(p.rest);
    edFrameSize->setEnabled(!p.rest);
    lbFrameSize->setEnabled(!p.rest);
    edFrameSize->setText(p.rest ? QStringLiteral("*") : openedSize_);
    edFilename->setFocus();
    if (!Run()) return false;
    p.fileName = ReferenceText(edFilename->text());
    p.frameName = bytes(edFrameName->text());
    p.targetName = bytes(edTargetName->text());
    p.scrolling = std::max(0, grpScrolling->checkedId());
    p.rest = chkClientSize->isChecked();
    p.size = IntFromText(edFrameSize->text());
    return true;
}

// ---------------------------------------------------------------- the wizard

TFramePanel::TFramePanel(TFrm &frm, QWidget *parent) : QFrame(parent), Frm(frm) {
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    setToolTip(QStringLiteral("Levé tlačítko zobrazí parametry, pravé lokální menu"));
    setGeometry(frm.left, frm.top, frm.width, frm.height);
    if (frm.ChildCount() == 0) {
        auto *caption = new QLabel(text(TFrameTree::Caption(frm)), this);
        caption->setAlignment(Qt::AlignCenter);
        caption->setGeometry(rect());
        caption->setAttribute(Qt::WA_TransparentForMouseEvents);
        setAccessibleName(caption->text());
    }
}

void TFramePanel::mousePressEvent(QMouseEvent *e) {
    if (Frm.ChildCount() > 0) return QFrame::mousePressEvent(e);
    setFocus(Qt::MouseFocusReason);
    if (e->button() == Qt::LeftButton) emit Clicked(Frm);
    if (e->button() == Qt::RightButton) emit SplitMenu(Frm, e->position().toPoint());
}

void TFramePanel::keyPressEvent(QKeyEvent *e) {
    // The keyboard's way to the two buttons: Enter or Space opens the
    // parameters, the menu key (or Shift+F10) splits at the middle.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space)
        emit Clicked(Frm);
    else if (e->key() == Qt::Key_Menu || (e->key() == Qt::Key_F10 && e->modifiers() & Qt::ShiftModifier))
        emit SplitMenu(Frm, rect().center());
    else
        QFrame::keyPressEvent(e);
}

TfrmFrameSet::TfrmFrameSet(QWidget *parent) : TTagDialog(parent, QStringLiteral("Definice rámců"), kHelpContext) {
    pnlFrames = new QWidget;
    pnlFrames->setObjectName(QStringLiteral("pnlFrames"));
    pnlFrames->setFixedSize(TFrameTree::BaseLeft * 2 + TFrameTree::BaseWidth,
                            TFrameTree::BaseTop * 2 + TFrameTree::BaseHeight);
    auto *box = new QVBoxLayout(this);
    box->addWidget(pnlFrames, 0, Qt::AlignCenter);
    QHBoxLayout *buttons = ButtonRow(QStringLiteral("O&k"), QStringLiteral("Vložit rámce do dokumentu"));
    btHelp = new QPushButton(QStringLiteral("&Nápověda"));
    btHelp->setObjectName(QStringLiteral("btHelp"));
    btHelp->setAutoDefault(false);
    buttons->insertWidget(0, btHelp);
    box->addLayout(buttons);
    connect(btHelp, &QPushButton::clicked, this, [] {
        if (TDialogHost *h = DialogHost()) h->ShowHelp(kHelpContext);
    });
}

TFramePanel *TfrmFrameSet::PanelOf(const TFrm &f) const {
    for (TFramePanel *p : pnlFrames->findChildren<TFramePanel *>())
        if (&p->Frm == &f) return p;
    return nullptr;
}

void TFramePanel::focusInEvent(QFocusEvent *e) {
    setLineWidth(3);
    QFrame::focusInEvent(e);
}

void TFramePanel::focusOutEvent(QFocusEvent *e) {
    setLineWidth(1);
    QFrame::focusOutEvent(e);
}

void TfrmFrameSet::rebuild() {
    const TFrm *focused = nullptr;
    if (auto *p = qobject_cast<TFramePanel *>(focusWidget())) focused = &p->Frm;
    // The old panels go later: one of them may be handling the click that led here.
    for (TFramePanel *p : pnlFrames->findChildren<TFramePanel *>(Qt::FindDirectChildrenOnly)) {
        p->hide();
        p->setParent(nullptr);
        p->deleteLater();
    }
    std::function<void(TFrm &, QWidget *)> add = [&](TFrm &f, QWidget *parent) {
        auto *panel = new TFramePanel(f, parent);
        connect(panel, &TFramePanel::Clicked, this, &TfrmFrameSet::FrameClicked);
        connect(panel, &TFramePanel::SplitMenu, this, &TfrmFrameSet::splitMenu);
        for (auto &c : f.Children) add(*c, panel);
        panel->show();
    };
    add(Tree->Base(), pnlFrames);
    if (focused)
        if (TFramePanel *p = PanelOf(*focused)) p->setFocus();
}

bool TfrmFrameSet::Execute(std::string &text) {
    Tree = std::make_unique<TFrameTree>();
    btOk->setEnabled(false);
    rebuild();
    PanelOf(Tree->Base())->setFocus();
    const bool ok = Run();
    if (ok) text = FramesetText = Tree->FramesetText();
    for (TFramePanel *p : pnlFrames->findChildren<TFramePanel *>(Qt::FindDirectChildrenOnly)) delete p;
    Tree.reset(); // the whole tree goes with the wizard
    return ok;
}

void TfrmFrameSet::FrameClicked(TFrm &f) {
    if (&f == &Tree->Base()) {
        platform::message(kCaption, QStringLiteral("Parametry Základního rámce editovat nelze"), platform::Icon::Exclamation);
        return;
    }
    FrameParams p{f.FileName, f.FrameName, f.TargetName, f.Scrolling, f.Size, f.Rest};
    if (!TagDialogs().ExecuteFrameParams(p)) return;
    Tree->Apply(f, p);
    rebuild();
}

void TfrmFrameSet::splitMenu(TFrm &f, QPoint at) {
    QMenu menu(this);
    QAction *columns = menu.addAction(QStringLiteral("Rozdělit &vertikálně"));
    columns->setStatusTip(QStringLiteral("V místě kliknutí rozdělí rámec na dvě části vedle sebe"));
    QAction *rows = menu.addAction(QStringLiteral("Rozdělit &horizontálně"));
    rows->setStatusTip(QStringLiteral("V místě kliknutí rozdělí rámec na dvě části nad sebou"));
    TFramePanel *panel = PanelOf(f);
    QAction *chosen = menu.exec(panel ? panel->mapToGlobal(at) : QCursor::pos());
    if (chosen) SplitFrame(f, at.x(), at.y(), chosen == columns);
}

void TfrmFrameSet::SplitFrame(TFrm &f, int x, int y, bool columns) {
    switch (Tree->Split(f, x, y, columns)) {
    case TFrameTree::Result::TooManyFrames:
        platform::message(kCaption, QStringLiteral("Příliš mnoho oken"), platform::Icon::Exclamation);
        break;
    case TFrameTree::Result::InternalError:
        platform::message(kCaption, QStringLiteral("Interní chyba FrameSets (PridRozd)"), platform::Icon::Exclamation);
        break;
    case TFrameTree::Result::Ok:
        break;
    }
    btOk->setEnabled(true);
    rebuild();
}

} // namespace xo
