#include "color_and_image_button.h"
#include "dialog_kit.h"
#include "editor/shared_routines.h"
#include "paths.h"
#include "platform/services.h"
#include "tag_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace xo {

using namespace kit;

namespace {

constexpr int kBlack = 0x000000, kSilver = 0xC0C0C0, kBlue = 0xFF0000, kFuchsia = 0xFF00FF, kRed = 0x0000FF;

TColorButton *colorButton(const char *name, int defColor) {
    auto *b = new TColorButton;
    b->setObjectName(QString::fromLatin1(name));
    b->SetDefColor(defColor);
    return b;
}

} // namespace

TfrmAlign::TfrmAlign(QWidget *parent) : TTagDialog(parent, QStringLiteral("Zarovnání"), 501) {
    auto *box = new QVBoxLayout(this);
    box->addWidget(RadioGroup("rgAlign", QStringLiteral(" Kam zarovnat "), QStringLiteral("Zvolte druh zarovnání"),
                              {QStringLiteral("&Vlevo"), QStringLiteral("&Na střed"), QStringLiteral("V&pravo")}, 1,
                              rgAlign));
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Potvrdit")));
    connect(rgAlign, &QButtonGroup::idToggled, this, [this] { btOk->setEnabled(rgAlign->checkedId() >= 0); });
}

std::string TfrmAlign::Execute(int preselect) {
    Choose(rgAlign, preselect);
    btOk->setEnabled(rgAlign->checkedId() >= 0);
    if (!Run()) return {};
    static const char *const aligns[] = {" align=left", " align=center", " align=right"};
    const int i = rgAlign->checkedId();
    return i >= 0 && i < 3 ? aligns[i] : "";
}

TfrmTagHR::TfrmTagHR(QWidget *parent) : TTagDialog(parent, QStringLiteral("Vodorovná linka"), 502) {
    auto *form = new QFormLayout;
    edWidth = Field("edWidth", QStringLiteral("Délka (šířka) čáry v procentech velikosti okna nebo v bodech"), 3);
    stProcenta = new QLabel;
    stProcenta->setObjectName(QStringLiteral("stProcenta"));
    stProcenta->setMinimumWidth(12);
    stProcenta->installEventFilter(this);
    auto *widthRow = new QHBoxLayout;
    widthRow->addWidget(edWidth);
    widthRow->addWidget(stProcenta);
    form->addRow(Label(QStringLiteral("Šířk&a:"), edWidth), widthRow);
    chkProcenta = Check("chkProcenta", QStringLiteral("V pro&centech"), QStringLiteral("Zda se šířka udává v procentech"));
    form->addRow(QString(), chkProcenta);
    edSize = Field("edSize", QStringLiteral("Tloušťka čáry v bodech"), 2);
    form->addRow(Label(QStringLiteral("&Tloušťka:"), edSize), edSize);
    chkNoShadow = Check("chkNoShadow", QStringLiteral("&Bez stínu"), QStringLiteral("Čára bude bez stínu"));
    form->addRow(QString(), chkNoShadow);
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addWidget(RadioGroup("rg1", QStringLiteral(" Zarovnání "), QStringLiteral("Zarovnání čáry v okně"),
                              {QStringLiteral("Žá&dné"), QStringLiteral("&Vlevo"), QStringLiteral("V&pravo"),
                               QStringLiteral("&Střed")},
                              2, rg1));
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Potvrdit")));
    Choose(rg1, 0);
    connect(chkProcenta, &QCheckBox::toggled, this,
            [this](bool on) { stProcenta->setText(on ? QStringLiteral("%") : QString()); });
}

bool TfrmTagHR::eventFilter(QObject *o, QEvent *e) {
    if (o == stProcenta && e->type() == QEvent::MouseButtonRelease) chkProcenta->toggle();
    return TTagDialog::eventFilter(o, e);
}

bool TfrmTagHR::CanClose() { return CheckNumberField(edWidth) && CheckNumberField(edSize); }

bool TfrmTagHR::Execute(RuleValues &v, bool prefill) {
    if (prefill) {
        // Only the tag's own values: a value it lacks leaves its field empty.
        edWidth->setText(NumberText(v.width));
        edSize->setText(NumberText(v.size));
        chkNoShadow->setChecked(v.noShadow);
        chkProcenta->setChecked(v.percent);
        Choose(rg1, v.align);
    }
    edWidth->setFocus();
    if (!Run()) return false;
    v.width = IntFromText(edWidth->text());
    v.size = IntFromText(edSize->text());
    v.noShadow = chkNoShadow->isChecked();
    v.percent = chkProcenta->isChecked();
    v.align = std::max(0, rg1->checkedId());
    RuleTag = RuleTagOf(v);
    return true;
}

TfrmTagFont::TfrmTagFont(QWidget *parent) : TTagDialog(parent, QStringLiteral("Definice fontu"), 503) {
    QStringList sizes;
    for (int i = 0; i < 21; ++i) sizes << QString::fromStdString(FontSizeText(i));
    auto *box = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(RadioGroup("grpSize", QStringLiteral(" &Velikost "),
                              QStringLiteral("Absolutní nebo relativní (+/-) velikost fontu"), sizes, 3, grpSize));
    auto *checks = new QVBoxLayout;
    chkNoSize = Check("chkNoSize", QStringLiteral("&Bez definice velikosti"),
                      QStringLiteral("Definice fontu NEobsahuje definici velikosti"));
    chkBold = Check("chkBold", QStringLiteral("&Tučný"), QStringLiteral("Tučný text"));
    chkItalic = Check("chkItalic", QStringLiteral("K&urzíva"), QStringLiteral("Kurzíva"));
    chkUnderline = Check("chkUnderline", QStringLiteral("Podtržený"), QStringLiteral("Podtržený text"));
    chkBlink = Check("chkBlink", QStringLiteral("Blikající"), QStringLiteral("Blikající text"));
    chkBarva = Check("chkBarva", QStringLiteral("Barva"), QStringLiteral("Definovat barvu"));
    btColor = colorButton("btColor", kBlack);
    for (QWidget *w : std::initializer_list<QWidget *>{chkNoSize, chkBold, chkItalic, chkUnderline, chkBlink})
        checks->addWidget(w);
    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(chkBarva);
    colorRow->addWidget(btColor);
    colorRow->addStretch();
    checks->addLayout(colorRow);
    checks->addStretch();
    top->addLayout(checks);
    box->addLayout(top);
    auto *faceBox = new QGroupBox(QStringLiteral(" Písmo "));
    auto *faceRow = new QHBoxLayout(faceBox);
    edFontName = Field("edFontName", QString(), 30);
    edFontName->installEventFilter(this);
    faceRow->addWidget(edFontName);
    box->addWidget(faceBox);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Potvrdit")));
    btColor->setVisible(false);

    connect(grpSize, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) chkNoSize->setChecked(false);
        UpdateOk();
    });
    connect(chkNoSize, &QCheckBox::toggled, this, [this](bool on) {
        if (on) Choose(grpSize, -1);
        UpdateOk();
    });
    connect(chkBarva, &QCheckBox::toggled, this, [this](bool on) {
        btColor->setVisible(on);
        UpdateOk();
    });
    connect(edFontName, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
    // The blinking preview.
    tmrBlink.setInterval(600);
    connect(&tmrBlink, &QTimer::timeout, this, [this] {
        chkBlink->setText(chkBlink->text().isEmpty() ? QStringLiteral("Blikající") : QString());
    });
}

void TfrmTagFont::UpdateOk() {
    btOk->setEnabled(grpSize->checkedId() >= 0 || chkBarva->isChecked() || !edFontName->text().isEmpty());
    if (isVisible()) tmrBlink.start();
}

bool TfrmTagFont::eventFilter(QObject *o, QEvent *e) {
    if (o == edFontName && e->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton) {
        edFontNameClick();
        return true;
    }
    return TTagDialog::eventFilter(o, e);
}

void TfrmTagFont::edFontNameClick() {
    bool choose = true;
    if (!edFontName->text().isEmpty()) {
        if (platform::message(QStringLiteral("Xo!"), QStringLiteral("Vymazat?"), platform::Icon::Question,
                              platform::Buttons::YesNo) == platform::Answer::Yes) {
            edFontName->clear();
            choose = false;
        }
    }
    if (choose) {
        QFont initial(edFontName->text());
        initial.setBold(chkBold->isChecked());
        initial.setItalic(chkItalic->isChecked());
        initial.setUnderline(chkUnderline->isChecked());
        initial.setPointSize(10);
        if (auto f = platform::services().chooseFont(initial, this)) edFontName->setText(f->family());
    }
    (btOk->isEnabled() ? btOk : btCancel)->setFocus();
}

void TfrmTagFont::showEvent(QShowEvent *e) {
    TTagDialog::showEvent(e);
    UpdateOk();
}

void TfrmTagFont::done(int r) {
    tmrBlink.stop();
    chkBlink->setText(QStringLiteral("Blikající"));
    TTagDialog::done(r);
}

bool TfrmTagFont::Execute(FontValues &v, bool prefill) {
    for (QCheckBox *c : {chkBold, chkItalic, chkUnderline, chkBlink}) c->setEnabled(!prefill);
    if (prefill) {
        const int size = FontSizeIndex(v.size);
        Choose(grpSize, size);
        chkNoSize->setChecked(size < 0);
        chkBold->setChecked(v.bold);
        chkItalic->setChecked(v.italic);
        chkUnderline->setChecked(v.underline);
        chkBlink->setChecked(v.blink);
        chkBarva->setChecked(v.color > -1);
        if (v.color > -1) btColor->SetActColor(v.color);
        edFontName->setText(text(v.face));
    }
    UpdateOk();
    if (!Run()) {
        FontOpen.clear();
        FontClose.clear();
        return false;
    }
    v.size = FontSizeText(grpSize->checkedId());
    v.bold = chkBold->isChecked();
    v.italic = chkItalic->isChecked();
    v.underline = chkUnderline->isChecked();
    v.blink = chkBlink->isChecked();
    v.color = chkBarva->isChecked() ? btColor->FaceColor() : -1;
    v.face = bytes(edFontName->text());
    FontTagsOf(v, FontOpen, FontClose);
    return true;
}

void BodyColorButtons::Set(const BodyColors &c) {
    btBgColor->SetActColor(c.background);
    btText->SetActColor(c.text);
    btLink->SetActColor(c.link);
    btVisited->SetActColor(c.visited);
    btPressed->SetActColor(c.pressed);
}

BodyColors BodyColorButtons::Get() const {
    BodyColors c;
    c.background = btBgColor->ActColor();
    c.text = btText->ActColor();
    c.link = btLink->ActColor();
    c.visited = btVisited->ActColor();
    c.pressed = btPressed->ActColor();
    return c;
}

namespace {

// The colour and image rows both body dialogs share.
void addBodyRows(QFormLayout *form, BodyColorButtons &colors, TImageButton *&image) {
    colors.btBgColor = colorButton("btBgColor", kSilver);
    colors.btText = colorButton("btText", kBlack);
    colors.btLink = colorButton("btLink", kBlue);
    colors.btVisited = colorButton("btVisited", kFuchsia);
    colors.btPressed = colorButton("btPressed", kRed);
    form->addRow(Label(QStringLiteral("Barva &pozadí"), colors.btBgColor), colors.btBgColor);
    form->addRow(Label(QStringLiteral("Barva te&xtu"), colors.btText), colors.btText);
    form->addRow(Label(QStringLiteral("Barva &linků"), colors.btLink), colors.btLink);
    form->addRow(Label(QStringLiteral("Barva &navštívěno"), colors.btVisited), colors.btVisited);
    form->addRow(Label(QStringLiteral("Barva &stisknuto"), colors.btPressed), colors.btPressed);
    image = new TImageButton;
    image->setObjectName(QStringLiteral("btImage"));
    form->addRow(Label(QStringLiteral("Podkladový &obrázek"), image), image);
}

} // namespace

TfrmTagBody::TfrmTagBody(QWidget *parent) : TTagDialog(parent, QStringLiteral("Struktura dokumentu (tag BODY)"), 504) {
    auto *form = new QFormLayout;
    edTitle = Field("edTitle", QStringLiteral("Titulek dokumentu"), 100);
    edTitle->setMinimumWidth(300);
    form->addRow(Label(QStringLiteral("&Titulek:"), edTitle), edTitle);
    addBodyRows(form, colors, btImage);
    edBaseFont = Field("edBaseFont", QStringLiteral("Výchozí velikost fontu"), 1);
    edBaseFont->setMaximumWidth(40);
    form->addRow(Label(QStringLiteral("&Výchozí velikost fontu (implicitně 3):"), edBaseFont), edBaseFont);
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Potvrdit")));
}

bool TfrmTagBody::Execute(const QString &documentFile, BodyValues &v, bool prefill) {
    btImage->SetBaseFile(documentFile);
    if (prefill) {
        edTitle->setText(text(v.title));
        btImage->SetImageName(ReferenceFromText(v.image));
        colors.Set(v.colors);
        edBaseFont->setText(QString::number(v.baseFont));
    } else {
        edTitle->clear();
        btImage->SetImageName(QString());
        colors.Set({});
        edBaseFont->setText(QStringLiteral("3"));
    }
    edTitle->setFocus();
    if (!Run()) return false;
    v.title = bytes(edTitle->text());
    v.image = ReferenceText(btImage->ImageNameRel());
    v.colors = colors.Get();
    const int base = IntFromText(edBaseFont->text());
    v.baseFont = IsNumberText(edBaseFont->text()) && !edBaseFont->text().isEmpty() ? base : 3;
    return true;
}

TfrmTagBodyOprava::TfrmTagBodyOprava(QWidget *parent) : TTagDialog(parent, QStringLiteral("Tag BODY"), 505) {
    auto *form = new QFormLayout;
    addBodyRows(form, colors, btImage);
    edOnLoad = Field("edOnLoad", QStringLiteral("Javascriptová funkce, která se spustí po načtení dokumentu"), 40);
    form->addRow(Label(QStringLiteral("Po načtení spus&tit:"), edOnLoad), edOnLoad);
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Potvrdit")));
}

bool TfrmTagBodyOprava::Execute(const QString &documentFile, BodyFixValues &v, bool prefill) {
    btImage->SetBaseFile(documentFile);
    if (prefill) {
        btImage->SetImageName(ReferenceFromText(v.image));
        colors.Set(v.colors);
        edOnLoad->setText(text(v.onLoad));
    } else {
        edOnLoad->clear();
        btImage->SetImageName(QString());
        colors.Set({});
    }
    colors.btBgColor->setFocus();
    if (!Run()) return false;
    v.image = ReferenceText(btImage->ImageNameRel());
    v.colors = colors.Get();
    v.onLoad = bytes(edOnLoad->text());
    BodyTag = BodyTagOf(v);
    return true;
}

} // namespace xo
