#include "color_and_image_button.h"
#include "dialog_kit.h"
#include "editor/shared_routines.h"
#include "paths.h"
#include "tag_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace xo {

using namespace kit;

namespace {

const QStringList kLoops = {QStringLiteral("infinite"), QStringLiteral("1"),   QStringLiteral("2"),
                            QStringLiteral("3"),        QStringLiteral("5"),   QStringLiteral("10"),
                            QStringLiteral("100"),      QStringLiteral("1000")};
const QStringList kAligns = {QStringLiteral("middle"), QStringLiteral("center"), QStringLiteral("left"),
                             QStringLiteral("right"),  QStringLiteral("top"),    QStringLiteral("bottom")};

QStringList items(std::initializer_list<const char *> list) {
    QStringList out;
    for (const char *s : list) out << QString::fromLatin1(s);
    return out;
}

// A file field with its "Hledat soubor" button, which picks a media file.
QHBoxLayout *fileRow(QLineEdit *field, QPushButton *&button) {
    button = new QPushButton(QStringLiteral("..."));
    button->setObjectName(QStringLiteral("btChoose"));
    button->setToolTip(QStringLiteral("Hledat soubor"));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, field, [field] {
        QString path = field->text();
        ChooseRelativeFile(path, 1);
        field->setText(path);
    });
    auto *row = new QHBoxLayout;
    row->addWidget(field);
    row->addWidget(button);
    return row;
}

bool checkNumbers(std::initializer_list<QLineEdit *> fields) {
    for (QLineEdit *f : fields)
        if (!CheckNumberField(f)) return false;
    return true;
}

// OK only while the file field names something.
void okFollowsFile(QPushButton *ok, QLineEdit *file) {
    QObject::connect(file, &QLineEdit::textChanged, ok, [ok](const QString &t) { ok->setEnabled(!t.isEmpty()); });
}

} // namespace

TfrmTagUL::TfrmTagUL(QWidget *parent) : TTagDialog(parent, QStringLiteral("Nečíslovaný seznam"), 508) {
    auto *box = new QVBoxLayout(this);
    box->addWidget(RadioGroup("grpPrefix", QStringLiteral(" &Uvozovací znak "),
                              QStringLiteral("Uvozovací znak položek seznamu"),
                              {QStringLiteral("&Plné kolečko (standard)"), QStringLiteral("Prázdné k&olečko"),
                               QStringLiteral("&Čtvereček (vyplněný)")},
                              1, grpPrefix));
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést")));
}

bool TfrmTagUL::Execute(int &kind, bool prefill) {
    Choose(grpPrefix, prefill && kind >= 0 && kind < 3 ? kind : 0);
    grpPrefix->checkedButton()->setFocus();
    if (!Run()) {
        kind = 0;
        return false;
    }
    kind = grpPrefix->checkedId();
    ULAttributes = ULAttributesOf(kind);
    return true;
}

TfrmTagOL::TfrmTagOL(QWidget *parent) : TTagDialog(parent, QStringLiteral("Číslovaný seznam"), 509) {
    auto *box = new QVBoxLayout(this);
    box->addWidget(RadioGroup("grpCounting", QStringLiteral(" Číslování "), QStringLiteral("Způsob číslování"),
                              {QStringLiteral("&1,2,3"), QStringLiteral("&A,B,C"), QStringLiteral("a,&b,c"),
                               QStringLiteral("&I,II,III"), QStringLiteral("i,ii,iii")},
                              1, grpCounting));
    edCountFrom = Field("edCountFrom", QStringLiteral("Číslo první položky seznamu"), 3);
    auto *form = new QFormLayout;
    form->addRow(Label(QStringLiteral("Čí&slovat od:"), edCountFrom), edCountFrom);
    box->addLayout(form);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést")));
}

bool TfrmTagOL::CanClose() { return CheckNumberField(edCountFrom); }

bool TfrmTagOL::Execute(int &kind, int &start, bool prefill) {
    Choose(grpCounting, prefill && kind > 0 && kind < 5 ? kind : 0);
    edCountFrom->setText(prefill && start >= 0 ? QString::number(start) : QStringLiteral("1"));
    grpCounting->checkedButton()->setFocus();
    if (!Run()) {
        start = 1;
        kind = 0;
        return false;
    }
    kind = grpCounting->checkedId();
    const QString t = edCountFrom->text();
    start = !t.isEmpty() && IsNumberText(t) ? IntFromText(t) : 1;
    OLAttributes = OLAttributesOf(kind, start);
    return true;
}

TfrmTagMarquee::TfrmTagMarquee(QWidget *parent) : TTagDialog(parent, QStringLiteral("Marquee (běžící text)"), 510) {
    cmbTyp = List("cmbTyp", QStringLiteral("Druh běžícího textu"), items({"scroll", "slide", "alternate"}), false);
    cmbSmer = List("cmbSmer", QStringLiteral("Směr"), items({"left", "right"}), false);
    cmbPocet = List("cmbPocet", QStringLiteral("Počet opakování"), kLoops, true);
    edWidth = Field("edWidth", QStringLiteral("Šířka v bodech"), 4);
    edHeight = Field("edHeight", QStringLiteral("Výška v bodech"), 4);
    edStep = Field("edStep", QStringLiteral("Po kolika bodech pohybovat"), 4);
    edInterval = Field("edInterval", QStringLiteral("Prodleva mezi pohyby"), 4);
    cmbAlign = List("cmbAlign", QStringLiteral("Zarovnání"), items({"top", "middle", "bottom"}), false);
    edHSpace = Field("edHSpace", QStringLiteral("Odsazení od textu po stranách"), 2);
    edVSpace = Field("edVSpace", QStringLiteral("Osazení od textu nahoře a dole"), 2);
    chkBarva = Check("chkBarva", QStringLiteral("&Barva pozadí"), QStringLiteral("Definovat barvu pozadí"));
    btColor = new TColorButton;
    btColor->setObjectName(QStringLiteral("btColor"));
    btColor->SetDefColor(0xFFFFFF);
    btColor->setVisible(false);
    connect(chkBarva, &QCheckBox::toggled, btColor, &QWidget::setVisible);

    auto *left = new QFormLayout;
    left->addRow(Label(QStringLiteral("&Typ:"), cmbTyp), cmbTyp);
    left->addRow(Label(QStringLiteral("&Směr"), cmbSmer), cmbSmer);
    left->addRow(Label(QStringLiteral("&Počet:"), cmbPocet), cmbPocet);
    left->addRow(Label(QStringLiteral("&Zarovnání:"), cmbAlign), cmbAlign);
    auto *colorRow = new QHBoxLayout;
    colorRow->addWidget(chkBarva);
    colorRow->addWidget(btColor);
    colorRow->addStretch();
    left->addRow(colorRow);
    auto *right = new QFormLayout;
    right->addRow(Label(QStringLiteral("Šířk&a:"), edWidth), edWidth);
    right->addRow(Label(QStringLiteral("&Výška:"), edHeight), edHeight);
    right->addRow(Label(QStringLiteral("K&rok:"), edStep), edStep);
    right->addRow(Label(QStringLiteral("&Interval:"), edInterval), edInterval);
    right->addRow(Label(QStringLiteral("&Horizontální odsazení:"), edHSpace), edHSpace);
    right->addRow(Label(QStringLiteral("V&ertikální odsazení:"), edVSpace), edVSpace);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto *box = new QVBoxLayout(this);
    box->addLayout(columns);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést")));
}

bool TfrmTagMarquee::CanClose() {
    return checkNumbers({edWidth, edHeight, edStep, edInterval, edHSpace, edVSpace}) &&
           CheckNumberOrInfiniteField(cmbPocet->lineEdit());
}

bool TfrmTagMarquee::Execute(MarqueeValues &v, bool prefill) {
    for (QComboBox *c : {cmbTyp, cmbSmer, cmbAlign}) c->setCurrentIndex(0);
    cmbPocet->setEditText(QStringLiteral("infinite"));
    for (QLineEdit *f : {edWidth, edHeight, edStep, edInterval, edHSpace, edVSpace}) f->clear();
    chkBarva->setChecked(false);
    btColor->SetActColor(-1);
    if (prefill) {
        cmbTyp->setCurrentIndex(std::clamp(v.behavior, 0, 2));
        cmbSmer->setCurrentIndex(std::clamp(v.direction, 0, 1));
        cmbAlign->setCurrentIndex(std::clamp(v.align, 0, 2));
        if (v.loop > 0) cmbPocet->setEditText(QString::number(v.loop));
        edWidth->setText(NumberText(v.width));
        edHeight->setText(NumberText(v.height));
        edStep->setText(NumberText(v.scrollAmount));
        edInterval->setText(NumberText(v.scrollDelay));
        edHSpace->setText(NumberText(v.hspace));
        edVSpace->setText(NumberText(v.vspace));
        chkBarva->setChecked(v.hasColor);
        if (v.hasColor) btColor->SetActColor(v.color);
    }
    cmbTyp->setFocus();
    if (!Run()) return false;
    v.behavior = cmbTyp->currentIndex();
    v.direction = cmbSmer->currentIndex();
    v.align = cmbAlign->currentIndex();
    v.loopText = bytes(cmbPocet->currentText());
    const int loop = IntFromText(cmbPocet->currentText());
    v.loop = loop == 0 ? -1 : loop;
    v.width = IntFromText(edWidth->text());
    v.height = IntFromText(edHeight->text());
    v.scrollAmount = IntFromText(edStep->text());
    v.scrollDelay = IntFromText(edInterval->text());
    v.hspace = IntFromText(edHSpace->text());
    v.vspace = IntFromText(edVSpace->text());
    v.hasColor = chkBarva->isChecked();
    v.color = btColor->FaceColor();
    MarqueeAttributes = MarqueeAttributesOf(v);
    return true;
}

TfrmTagBgsound::TfrmTagBgsound(QWidget *parent) : TTagDialog(parent, QStringLiteral("Zvukový doprovod"), 511) {
    edFile = Field("edFile", QStringLiteral("Soubor se zvukem"), 200);
    edFile->setMinimumWidth(300);
    cmbLoop = List("cmbLoop", QStringLiteral("Kolikrát opakovat"), kLoops, true, 10);
    auto *form = new QFormLayout;
    form->addRow(Label(QStringLiteral("&Soubor:"), edFile), fileRow(edFile, btChoose));
    form->addRow(Label(QStringLiteral("&Opakování:"), cmbLoop), cmbLoop);
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést")));
    okFollowsFile(btOk, edFile);
}

bool TfrmTagBgsound::CanClose() { return CheckNumberOrInfiniteField(cmbLoop->lineEdit()); }

bool TfrmTagBgsound::Execute(BgSoundValues &v, bool prefill) {
    edFile->setText(prefill ? ReferenceFromText(v.src) : QString());
    cmbLoop->setEditText(prefill && v.loop > 0 ? QString::number(v.loop) : QStringLiteral("infinite"));
    btOk->setEnabled(!edFile->text().isEmpty());
    edFile->setFocus();
    if (!Run()) return false;
    v.src = ReferenceText(edFile->text());
    v.loopText = bytes(cmbLoop->currentText());
    v.loop = IntFromText(cmbLoop->currentText());
    BgSoundTag = BgSoundTagOf(v);
    return true;
}

TfrmTagEmbed::TfrmTagEmbed(QWidget *parent) : TTagDialog(parent, QStringLiteral("Multimediální objekt"), 512) {
    edFile = Field("edFile", QStringLiteral("Soubor s multimediálním objektem"), 200);
    edFile->setMinimumWidth(300);
    edWidth = Field("edWidth", QStringLiteral("Šířka v bodech"), 3);
    edHeight = Field("edHeight", QStringLiteral("Výška v bodech"), 3);
    cmbAlign = List("cmbAlign", QStringLiteral("Zarovnání objektu"), kAligns, true);
    cmbLoop = List("cmbLoop", QStringLiteral("Počet opakování"), kLoops, true);
    cmbAutoStart = List("cmbAutoStart", QStringLiteral("Automaticky spustit (true=ano, false=ne)"),
                        items({"true", "false"}), true);
    auto *form = new QFormLayout;
    form->addRow(Label(QStringLiteral("&Soubor:"), edFile), fileRow(edFile, btChoose));
    form->addRow(Label(QStringLiteral("Šířk&a:"), edWidth), edWidth);
    form->addRow(Label(QStringLiteral("&Výška:"), edHeight), edHeight);
    form->addRow(Label(QStringLiteral("&Zarovnání:"), cmbAlign), cmbAlign);
    form->addRow(Label(QStringLiteral("&Opakování:"), cmbLoop), cmbLoop);
    form->addRow(Label(QStringLiteral("Au&tostart:"), cmbAutoStart), cmbAutoStart);
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést")));
    okFollowsFile(btOk, edFile);
}

bool TfrmTagEmbed::CanClose() {
    return checkNumbers({edWidth, edHeight}) && CheckNumberOrInfiniteField(cmbLoop->lineEdit());
}

bool TfrmTagEmbed::Execute(EmbedValues &v, bool prefill) {
    edFile->setText(prefill ? ReferenceFromText(v.src) : QString());
    edWidth->setText(prefill ? NumberText(v.width) : QString());
    edHeight->setText(prefill ? NumberText(v.height) : QString());
    cmbAlign->setEditText(prefill ? text(v.align) : QString());
    cmbLoop->setEditText(prefill && v.loop > 0 ? QString::number(v.loop) : QStringLiteral("infinite"));
    cmbAutoStart->setEditText(prefill ? text(v.autoStart) : QStringLiteral("true"));
    btOk->setEnabled(!edFile->text().isEmpty());
    edFile->setFocus();
    if (!Run()) return false;
    v.src = ReferenceText(edFile->text());
    v.width = IntFromText(edWidth->text());
    v.height = IntFromText(edHeight->text());
    v.align = bytes(cmbAlign->currentText());
    v.loop = cmbLoop->currentText() == QLatin1String("infinite") ? -1 : IntFromText(cmbLoop->currentText());
    v.autoStart = bytes(cmbAutoStart->currentText());
    EmbedTag = EmbedTagOf(v);
    return true;
}

TfrmTagApplet::TfrmTagApplet(QWidget *parent) : TTagDialog(parent, QStringLiteral("Java applet"), 513) {
    edFile = Field("edFile", QStringLiteral("Soubor s appletem"), 100);
    edFile->setMinimumWidth(300);
    edBaseUrl = Field("edBaseUrl", QStringLiteral("Základní URL appletu"), 150);
    edWidth = Field("edWidth", QStringLiteral("Šířka v bodech"), 3);
    edHeight = Field("edHeight", QStringLiteral("Výška v bodech"), 3);
    cmbAlign = List("cmbAlign", QStringLiteral("Zarovnání appletu"), kAligns, true);
    edName = Field("edName", QStringLiteral("Název appletu"), 30);
    auto *form = new QFormLayout;
    form->addRow(Label(QStringLiteral("&Soubor:"), edFile), fileRow(edFile, btChoose));
    form->addRow(Label(QStringLiteral("&Základní URL appletu:"), edBaseUrl), edBaseUrl);
    form->addRow(Label(QStringLiteral("Šířk&a:"), edWidth), edWidth);
    form->addRow(Label(QStringLiteral("&Výška:"), edHeight), edHeight);
    form->addRow(Label(QStringLiteral("Za&rovnání:"), cmbAlign), cmbAlign);
    form->addRow(Label(QStringLiteral("&Jméno:"), edName), edName);
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést")));
    okFollowsFile(btOk, edFile);
}

bool TfrmTagApplet::CanClose() { return checkNumbers({edWidth, edHeight}); }

bool TfrmTagApplet::Execute(AppletValues &v, bool prefill) {
    edFile->setText(prefill ? ReferenceFromText(v.code) : QString());
    edBaseUrl->setText(prefill ? ReferenceFromText(v.codeBase) : QString());
    edWidth->setText(prefill ? QString::number(v.width) : QString());
    edHeight->setText(prefill ? QString::number(v.height) : QString());
    cmbAlign->setEditText(prefill ? text(v.align) : QString());
    edName->setText(prefill ? text(v.name) : QString());
    btOk->setEnabled(!edFile->text().isEmpty());
    edFile->setFocus();
    if (!Run()) return false;
    v.code = ReferenceText(edFile->text());
    v.codeBase = ReferenceText(edBaseUrl->text());
    v.width = IntFromText(edWidth->text());
    v.height = IntFromText(edHeight->text());
    v.align = bytes(cmbAlign->currentText());
    v.name = bytes(edName->text());
    AppletAttributes = AppletAttributesOf(v);
    return true;
}

} // namespace xo
