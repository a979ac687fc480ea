#include "color_and_image_button.h"
#include "dialog_kit.h"
#include "editor/shared_routines.h"
#include "link_dialog_state.h"
#include "paths.h"
#include "platform/services.h"
#include "settings/settings.h"
#include "tag_dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace xo {

using namespace kit;

namespace {

const QString kCaption = QStringLiteral("Xo!");

} // namespace

TfrmTagImg::TfrmTagImg(QWidget *parent) : TTagDialog(parent, QStringLiteral("Obrázek"), 506) {
    auto *box = new QVBoxLayout(this);
    auto *nameBox = new QGroupBox(QStringLiteral(" Jméno obrázku "));
    auto *nameRow = new QHBoxLayout(nameBox);
    btName = new TImageButton;
    btName->setObjectName(QStringLiteral("btName"));
    btName->setMinimumWidth(320);
    nameRow->addWidget(btName);
    box->addWidget(nameBox);

    auto *middle = new QHBoxLayout;
    auto *sizes = new QGroupBox(QStringLiteral(" Rozměry a odsazení "));
    auto *form = new QFormLayout(sizes);
    edWidth = Field("edWidth", QStringLiteral("Šířka obrázku v bodech"), 4);
    edHeight = Field("edHeight", QStringLiteral("Výška obrázku v bodech"), 4);
    edBorder = Field("edBorder", QStringLiteral("Tloušťka okraje"), 2);
    edVSpace = Field("edVSpace", QStringLiteral("Odsazení nad a pod obrázkem"), 2);
    edHSpace = Field("edHSpace", QStringLiteral("Odsazení od textu vlevo a vpravo"), 2);
    form->addRow(Label(QStringLiteral("Šířk&a:"), edWidth), edWidth);
    form->addRow(Label(QStringLiteral("&Výška:"), edHeight), edHeight);
    form->addRow(Label(QStringLiteral("&Okraj:"), edBorder), edBorder);
    form->addRow(Label(QStringLiteral("V&ertikální prostor:"), edVSpace), edVSpace);
    form->addRow(Label(QStringLiteral("&Horizontální prostor:"), edHSpace), edHSpace);
    middle->addWidget(sizes);
    middle->addWidget(RadioGroup("grpAlign", QStringLiteral(" Zarovnání "), QStringLiteral("Zarovnání obrázku"),
                                 {QStringLiteral("žádné"), QStringLiteral("vlevo"), QStringLiteral("vpravo"),
                                  QStringLiteral("nahoru"), QStringLiteral("nahoru k textu"),
                                  QStringLiteral("na střed"), QStringLiteral("absolutní střed"),
                                  QStringLiteral("základní linka"), QStringLiteral("spodek"),
                                  QStringLiteral("absolutní spodek")},
                                 2, grpAlign));
    box->addLayout(middle);

    QHBoxLayout *buttons = ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést"));
    btShell = new QPushButton(QStringLiteral("&Shell"));
    btShell->setObjectName(QStringLiteral("btShell"));
    btShell->setToolTip(QStringLiteral("Otevření pomocí aplikace přiřazené k tomuto typu souboru"));
    btShell->setAutoDefault(false);
    btZefo = new QPushButton(QStringLiteral("&Zefo"));
    btZefo->setObjectName(QStringLiteral("btZefo"));
    btZefo->setToolTip(QStringLiteral("Otevření souboru v programu Zefo"));
    btZefo->setAutoDefault(false);
    buttons->insertWidget(0, btShell);
    buttons->insertWidget(1, btZefo);
    box->addLayout(buttons);

    btName->OnImageChange = [this] { imageChanged(); };
    connect(btShell, &QPushButton::clicked, this, &TfrmTagImg::btShellClick);
    connect(btZefo, &QPushButton::clicked, this, &TfrmTagImg::btZefoClick);
}

void TfrmTagImg::imageChanged() {
    const bool chosen = !btName->ImageName().isEmpty();
    for (QPushButton *b : {btOk, btShell, btZefo}) b->setEnabled(chosen);
    if (chosen) {
        if (platform::message(kCaption, QStringLiteral("Vložit do formuláře nalezené rozměry obrázku?"),
                              platform::Icon::Question, platform::Buttons::YesNo) == platform::Answer::Yes) {
            edWidth->setText(QString::number(btName->ImageWidth));
            edHeight->setText(QString::number(btName->ImageHeight));
        }
    } else {
        edWidth->clear();
        edHeight->clear();
    }
    edWidth->setFocus();
}

void TfrmTagImg::btShellClick() {
    if (!platform::services().openUrl(QUrl::fromLocalFile(btName->ImageName()).toString()))
        platform::message(kCaption, QStringLiteral("Aplikaci přiřazenou k tomuto typu souboru se nepodařilo spustit."),
                          platform::Icon::Exclamation);
}

void TfrmTagImg::btZefoClick() {
    // Linux has no short names: the program gets the full path.
    if (!platform::services().startProgram(QStringLiteral("zefo"), {btName->ImageName()}))
        if (TDialogHost *h = DialogHost()) h->ShowZefoAdvert();
}

bool TfrmTagImg::CanClose() {
    for (QLineEdit *f : {edWidth, edHeight, edBorder, edVSpace, edHSpace})
        if (!CheckNumberField(f)) return false;
    return !btName->ImageName().isEmpty();
}

bool TfrmTagImg::Execute(ImageValues &v, const QString &documentFile, bool prefill) {
    btName->SetBaseFile(QString());
    btName->SetImageName(QString());
    btName->ImageWidth = btName->ImageHeight = 0;
    for (QLineEdit *f : {edWidth, edHeight, edBorder, edVSpace, edHSpace}) f->clear();
    Choose(grpAlign, 0);
    if (prefill) {
        btName->SetImageName(ReferenceFromText(v.src));
        edWidth->setText(NumberText(v.width));
        edHeight->setText(NumberText(v.height));
        edBorder->setText(NumberText(v.border, -1));
        edHSpace->setText(NumberText(v.hspace, -1));
        edVSpace->setText(NumberText(v.vspace, -1));
        Choose(grpAlign, v.align >= 0 && v.align < 10 ? v.align : 0);
    }
    btName->SetBaseFile(documentFile);
    const bool chosen = !btName->ImageName().isEmpty();
    for (QPushButton *b : {btOk, btShell, btZefo}) b->setEnabled(chosen);
    btName->setFocus();
    if (!Run()) return false;
    v.src = ReferenceText(btName->ImageNameRel());
    v.width = IntFromText(edWidth->text());
    v.height = IntFromText(edHeight->text());
    v.border = IntFromText(edBorder->text());
    v.vspace = IntFromText(edVSpace->text());
    v.hspace = IntFromText(edHSpace->text());
    v.align = std::max(0, grpAlign->checkedId());
    const std::string numbers[5] = {bytes(edWidth->text()), bytes(edHeight->text()), bytes(edBorder->text()),
                                    bytes(edVSpace->text()), bytes(edHSpace->text())};
    ImageTag = ImageTagOf(v.src, numbers, v.align);
    return true;
}

TfrmAhref::TfrmAhref(QWidget *parent) : TTagDialog(parent, QStringLiteral("Odkaz"), 507) {
    auto *box = new QVBoxLayout(this);
    auto *form = new QGridLayout;
    cmbURL = List("cmbURL", QStringLiteral("Na který soubor vytvořit odkaz"), {}, true, 300);
    cmbURL->setMinimumWidth(360);
    btChooseFile = new QPushButton(QStringLiteral("..."));
    btChooseFile->setObjectName(QStringLiteral("btChooseFile"));
    btChooseFile->setToolTip(QStringLiteral("Hledání souboru"));
    btChooseFile->setAutoDefault(false);
    form->addWidget(Label(QStringLiteral("&URL:"), cmbURL), 0, 0);
    form->addWidget(cmbURL, 0, 1);
    form->addWidget(btChooseFile, 0, 2);
    edTarget = Field("edTarget", QStringLiteral("Ve kterém okně prohlížeče se soubor otevře"), 30);
    form->addWidget(Label(QStringLiteral("&Target (název cílového okna):"), edTarget), 1, 0);
    form->addWidget(edTarget, 1, 1);
    box->addLayout(form);
    auto *targets = new QHBoxLayout;
    const struct {
        const char *name, *caption, *value, *hint;
    } buttons[] = {{"btTop", "&Hlavní", "_top", "Otevřít v hlavním okně"},
                   {"btBlank", "&Nové", "_blank", "Otevřít v novém okně"},
                   {"btParent", "&Rodič", "_parent", "Otevřít v rodičovském okně"},
                   {"btSelf", "T&oto", "_self", "Otevřít v tomto okně"},
                   {"btClear", "&Vymaž", "", "Výmaz definice cílového okna"}};
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QString::fromUtf8(b.caption));
        button->setObjectName(QString::fromLatin1(b.name));
        button->setToolTip(QString::fromUtf8(b.hint));
        button->setAutoDefault(false);
        const QString value = QString::fromLatin1(b.value);
        connect(button, &QPushButton::clicked, this, [this, value] {
            edTarget->setText(value);
            edTarget->setFocus();
        });
        targets->addWidget(button);
    }
    box->addLayout(targets);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést")));
    connect(cmbURL, &QComboBox::editTextChanged, this,
            [this](const QString &t) { btOk->setEnabled(!t.isEmpty()); });
    connect(btChooseFile, &QPushButton::clicked, this, [this] {
        QString path = cmbURL->currentText();
        ChooseRelativeFile(path, 2);
        cmbURL->setEditText(path);
    });
}

bool TfrmAhref::Execute(LinkValues &v, bool prefill) {
    const QString kept = cmbURL->currentText();
    cmbURL->clear();
    for (const std::string &h : TagAHrefState.History) cmbURL->addItem(text(h));
    cmbURL->setEditText(prefill ? ReferenceFromText(v.url) : kept);
    if (prefill) edTarget->setText(text(v.target));
    btOk->setEnabled(!cmbURL->currentText().isEmpty());
    cmbURL->setFocus();
    if (!Run()) {
        v = {};
        LinkOpen.clear();
        LinkClose.clear();
        return false;
    }
    v.url = ReferenceText(cmbURL->currentText());
    v.target = bytes(edTarget->text());
    auto &history = TagAHrefState.History;
    if (std::find(history.begin(), history.end(), v.url) == history.end()) {
        history.insert(history.begin(), v.url);
        if (history.size() > size_t(TTagAHrefState::kStored)) history.resize(size_t(TTagAHrefState::kStored));
    }
    LinkTagsOf(v, LinkOpen, LinkClose);
    return true;
}

void ChooseRelativeFile(QString &path, int mode) {
    if (HasUrlScheme(path) && !path.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        platform::message(kCaption, QStringLiteral("Soubor určený cestou je na vzdáleném serveru"),
                          platform::Icon::Exclamation);
        path.clear();
    }
    TDialogHost *host = DialogHost();
    if (!host || !host->HasDocument()) return;
    while (host->DocumentFileName().isEmpty()) {
        if (platform::message(kCaption,
                              QStringLiteral("Aktuální soubor zatím nemá jméno. Pojmenujete ho kvůli určení relativní "
                                             "cesty?"),
                              platform::Icon::Question, platform::Buttons::OkCancel) != platform::Answer::Ok)
            return;
        host->SaveDocumentAs();
        if (!host->HasDocument()) return;
    }
    const QString doc = host->DocumentFileName();
    const QString full = path.isEmpty() ? QString() : AbsolutePath(doc, path);
    platform::FileRequest r;
    r.caption = QStringLiteral("Výběr souboru");
    const QString media = QStringLiteral(
        "Multimediální (*.au *.wav *.avi *.mpg *.mid);;Animace (*.au *.avi);;Samplovaný zvuk (Wave) (*.wav);;"
        "Video (mpeg) (*.mpg);;Skladby ve formátu mid (*.mid);;Všechny soubory (*)");
    r.filter = mode == 2 ? QStringLiteral("Html soubory (*.htm *.html);;Obrázky (*.gif *.jpg *.jpeg);;") + media : media;
    r.fileName = full;
    r.directory = full.startsWith(u'/') ? QFileInfo(full).absolutePath() : QString();
    if (r.directory.isEmpty()) r.directory = cp1250::decode(Settings.LastMediaDir.str());
    const platform::FileResult f = platform::services().openFile(r);
    if (!f.accepted()) {
        path.clear();
        return;
    }
    const QString chosen = f.files.first();
    // A directory that does not fit the stored setting is not stored at all.
    const QString dir = QFileInfo(chosen).absolutePath();
    const std::string stored = cp1250::encode(dir);
    if (stored.size() <= 200 && cp1250::decode(stored) == dir) Settings.LastMediaDir = stored;
    path = RelativePath(doc, chosen);
}

} // namespace xo
