#include "options_dialog.h"

#include "browsers.h"
#include "platform/cp1250.h"
#include "platform/qt_services.h"
#include "platform/services.h"

#include <QCheckBox>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace xo {


namespace {

const QString kCaption = QStringLiteral("Xo!");

QCheckBox *check(const char *name, const char *caption) {
    auto *c = new QCheckBox(QString::fromUtf8(caption));
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

QLineEdit *field(const char *name, int maxLength) {
    auto *f = new QLineEdit;
    f->setObjectName(QString::fromLatin1(name));
    f->setMaxLength(maxLength);
    return f;
}

QPushButton *button(const char *name, const char *caption) {
    auto *b = new QPushButton(QString::fromUtf8(caption));
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel *label(const char *caption, QWidget *buddy) {
    auto *l = new QLabel(QString::fromUtf8(caption));
    l->setBuddy(buddy);
    return l;
}

QColor qcolor(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

const TEditorColors kDefaults1 = {0xFFFFFF, 0xFFFF00, 0x00FF00, 0x0000FF, 0x808080, 0x00FFFF, 0x000000, 0x808080};
const TEditorColors kDefaults2 = {0x000000, 0xFF0000, 0x008000, 0x800080, 0x808080, 0xFFFFFF, 0xFFFFFF, 0x808080};

} // namespace

TfrmOptions::TfrmOptions(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Volitelné parametry"));
    setMinimumWidth(720); // every page tab in sight
    Pages = new QTabWidget;
    auto page = [&](QWidget *&w, const char *name, const char *caption) {
        w = new QWidget;
        w->setObjectName(QString::fromLatin1(name));
        Pages->addTab(w, QString::fromUtf8(caption));
    };
    page(pgGlobalW, "pgGlobal", "&Globální nastavení");
    page(pgColorsW, "pgColors", "&Barvy editoru");
    page(pgBrowsersW, "pgBrowsers", "&Cesty k prohlížečům");
    page(pgStylyTextuW, "pgStylyTextu", "St&yly textu");
    page(pgUserTagW, "pgUserTag", "&Uživatelem definované tagy");
    page(pgPredefinedDirsW, "pgPredefinedDirs", "Předdef&inované adresáře");

    // Global settings.
    auto *global = new QGroupBox(QStringLiteral(" Globální "));
    auto *g = new QVBoxLayout(global);
    chkReadWins = check("chkReadWins", "Okna z minulého spuštění");
    chkSwtLine = check("chkSwtLine", "Lišta pro přepínání");
    chkShortSwitch = check("chkShortSwitch", "Krátká jména na liště");
    chkRunTip = check("chkRunTip", "Po spuštění zobrazit tip");
    chkComCtl32Paint = check("chkComCtl32Paint", "Aktivní tlačítka na lištách");
    chkSpecialOpenSave = check("chkSpecialOpenSave", "Speciální souborové dialogy");
    for (QCheckBox *c : {chkReadWins, chkSwtLine, chkShortSwitch, chkRunTip, chkComCtl32Paint, chkSpecialOpenSave})
        g->addWidget(c);
    auto *editor = new QGroupBox(QStringLiteral(" Editor "));
    auto *ed = new QVBoxLayout(editor);
    chkFormat = check("chkFormat", "Formátovat text");
    chkColTags = check("chkColTags", "Barevné odlišování");
    chkIExpNahled = check("chkIExpNahled", "Umožnit Explorer náhled");
    chkOleNahled = check("chkOleNahled", "Umožnit OLE náhled");
    chkShortTitle = check("chkShortTitle", "V titulku bez cesty");
    chkBAKs = check("chkBAKs", "Záložní soubory (BAK)");
    chkNbspChar = check("chkNbspChar", "Tvrdá mezera v UTF-8 jako znak");
    chkNbspChar->setToolTip(QStringLiteral("Nezlomitelné mezery zapisovat do dokumentu v UTF-8 jako znak U+00A0, "
                                           "ne jako &nbsp;"));
    for (QCheckBox *c : {chkFormat, chkColTags, chkIExpNahled, chkOleNahled, chkShortTitle, chkBAKs, chkNbspChar})
        ed->addWidget(c);
    auto *globalRow = new QHBoxLayout(pgGlobalW);
    globalRow->addWidget(global);
    globalRow->addWidget(editor);

    // Editor colours.
    auto *colors = new QGridLayout(pgColorsW);
    const char *const names[8] = {"&Text",         "T&agy",  "Ř&etězce", "Čís&la", "Ko&mentáře",
                                  "&Označený text", "Po&zadí", "Pozadí označe&ní"};
    for (int i = 0; i < 8; ++i) {
        colorButtons[i] = button(QStringLiteral("btColor%1").arg(i).toLatin1().constData(), "");
        colorButtons[i]->setFixedSize(60, 22);
        colors->addWidget(label(names[i], colorButtons[i]), i % 4, (i / 4) * 2);
        colors->addWidget(colorButtons[i], i % 4, (i / 4) * 2 + 1);
        connect(colorButtons[i], &QPushButton::clicked, this, [this, i] {
            QStringList &custom = CustomColors;
            if (auto c = platform::services().chooseColor(qcolor(EditorColors[size_t(i)]), custom, this))
                SetColor(i, uint32_t(c->red() | c->green() << 8 | c->blue() << 16));
        });
    }
    btColorsUndo = button("btColorsUndo", "Zpět");
    btColorsImplicitni1 = button("btColorsImplicitni1", "Implicitní barvy #1");
    btColorsImplicitni2 = button("btColorsImplicitni2", "Implicitní barvy #2");
    auto *colorButtonsRow = new QHBoxLayout;
    for (QPushButton *b : {btColorsUndo, btColorsImplicitni1, btColorsImplicitni2}) colorButtonsRow->addWidget(b);
    colors->addLayout(colorButtonsRow, 4, 0, 1, 4);
    auto setAll = [this](const TEditorColors &c) {
        for (int i = 0; i < 8; ++i) EditorColors[size_t(i)] = c[size_t(i)];
        showColors();
        if (RepaintEditors) RepaintEditors();
    };
    connect(btColorsUndo, &QPushButton::clicked, this, [this, setAll] { setAll(saved_); });
    connect(btColorsImplicitni1, &QPushButton::clicked, this, [setAll] { setAll(kDefaults1); });
    connect(btColorsImplicitni2, &QPushButton::clicked, this, [setAll] { setAll(kDefaults2); });

    // Browsers: at most what the settings hold, so nothing is cut later.
    edBrowsersNetscape = field("edBrowsersNetscape", 200);
    edBrowsersExplorer = field("edBrowsersExplorer", 200);
    btFindNetscape = button("btFindNetscape", "Vyhledej na disku");
    btFindExplorer = button("btFindExplorer", "Vyhledej na &disku");
    btBrowsersImplicitni = button("btBrowsersImplicitni", "Natáhni ze &systému");
    auto *browsers = new QGridLayout(pgBrowsersW);
    browsers->addWidget(label("&Netscape:", edBrowsersNetscape), 0, 0);
    browsers->addWidget(edBrowsersNetscape, 0, 1);
    browsers->addWidget(btFindNetscape, 0, 2);
    browsers->addWidget(label("Internet &Explorer:", edBrowsersExplorer), 1, 0);
    browsers->addWidget(edBrowsersExplorer, 1, 1);
    browsers->addWidget(btFindExplorer, 1, 2);
    browsers->addWidget(btBrowsersImplicitni, 2, 1, Qt::AlignLeft);
    browsers->setRowStretch(3, 1);
    connect(btFindNetscape, &QPushButton::clicked, this, [this] { chooseBrowser(edBrowsersNetscape); });
    connect(btFindExplorer, &QPushButton::clicked, this, [this] { chooseBrowser(edBrowsersExplorer); });
    connect(btBrowsersImplicitni, &QPushButton::clicked, this, [this] {
        // Only the empty fields are filled; the settings change on OK.
        TSettings scratch;
        scratch.BrowsersNetscape = cp1250::encode(edBrowsersNetscape->text());
        scratch.BrowsersExplorer = cp1250::encode(edBrowsersExplorer->text());
        DiscoverBrowsers(scratch);
        edBrowsersNetscape->setText(cp1250::decode(scratch.BrowsersNetscape.str()));
        edBrowsersExplorer->setText(cp1250::decode(scratch.BrowsersExplorer.str()));
    });

    // Text styles.
    edNazevStylu = field("edNazevStylu", 29);
    edPred = field("edPred", 79);
    edZa = field("edZa", 39);
    stPoradiStylu = new QLabel;
    stPoradiStylu->setObjectName(QStringLiteral("stPoradiStylu"));
    btMinuly = button("btMinuly", "&Minulý");
    btDalsi = button("btDalsi", "&Další");
    btVlozit = button("btVlozit", "&Vložit");
    btSmazat = button("btSmazat", "&Smazat");
    btZFontu = button("btZFontu", "Z &fontu");
    auto *styleForm = new QFormLayout;
    styleForm->addRow(label("&Název (nutný):", edNazevStylu), edNazevStylu);
    styleForm->addRow(QStringLiteral("Pořadí:"), stPoradiStylu);
    styleForm->addRow(label("Tagy &před textem:", edPred), edPred);
    styleForm->addRow(label("Tagy &za textem:", edZa), edZa);
    auto *styleButtons = new QHBoxLayout;
    for (QPushButton *b : {btMinuly, btDalsi, btVlozit, btSmazat, btZFontu}) styleButtons->addWidget(b);
    auto *styleBox = new QVBoxLayout(pgStylyTextuW);
    styleBox->addLayout(styleForm);
    styleBox->addLayout(styleButtons);
    styleBox->addStretch();
    connect(edNazevStylu, &QLineEdit::textChanged, this, [this] { updateStyleButtons(); });
    connect(btMinuly, &QPushButton::clicked, this, [this] {
        Styles.Previous(styleFields());
        showStyle();
    });
    connect(btDalsi, &QPushButton::clicked, this, [this] {
        Styles.Next(styleFields());
        showStyle();
    });
    connect(btVlozit, &QPushButton::clicked, this, [this] {
        Styles.Insert();
        showStyle();
    });
    connect(btSmazat, &QPushButton::clicked, this, [this] {
        Styles.Delete();
        showStyle();
    });
    connect(btZFontu, &QPushButton::clicked, this, [this] {
        std::string open, close;
        if (FontTags && FontTags(open, close)) {
            edPred->setText(cp1250::decode(open));
            edZa->setText(cp1250::decode(close));
        }
    });

    // User tags.
    edUserTagName = field("edUserTagName", 28);
    edUserTagTag = field("edUserTagTag", 14);
    edUserTagPars = field("edUserTagPars", 99);
    edUserTagText = field("edUserTagText", 99);
    stUserTagID = new QLabel;
    stUserTagID->setObjectName(QStringLiteral("stUserTagID"));
    chkUserTagPair = check("chkUserTagPair", "&Párový tag");
    btUserTagPrevious = button("btUserTagPrevious", "&Minulý");
    btUserTagNext = button("btUserTagNext", "&Další");
    btUserTagInsert = button("btUserTagInsert", "&Vložit");
    btUserTagDelete = button("btUserTagDelete", "&Smazat");
    auto *tagForm = new QFormLayout;
    tagForm->addRow(label("&Název (nutný):", edUserTagName), edUserTagName);
    tagForm->addRow(QStringLiteral("Pořadí:"), stUserTagID);
    tagForm->addRow(label("&Tag (bez závorek):", edUserTagTag), edUserTagTag);
    tagForm->addRow(QString(), chkUserTagPair);
    tagForm->addRow(label("Pa&rametry tagu:", edUserTagPars), edUserTagPars);
    tagForm->addRow(label("Te&xt:", edUserTagText), edUserTagText);
    auto *tagButtons = new QHBoxLayout;
    for (QPushButton *b : {btUserTagPrevious, btUserTagNext, btUserTagInsert, btUserTagDelete}) tagButtons->addWidget(b);
    auto *tagBox = new QVBoxLayout(pgUserTagW);
    tagBox->addLayout(tagForm);
    tagBox->addLayout(tagButtons);
    tagBox->addStretch();
    edUserTagTag->installEventFilter(this);
    connect(edUserTagName, &QLineEdit::textChanged, this, [this] { updateTagButtons(); });
    connect(chkUserTagPair, &QCheckBox::toggled, this, [this] { updateTagButtons(); });
    connect(edUserTagTag, &QLineEdit::textEdited, this, [this](const QString &t) {
        // Letters show in capitals as they are typed.
        const int cursor = edUserTagTag->cursorPosition();
        edUserTagTag->setText(t.toUpper());
        edUserTagTag->setCursorPosition(cursor);
    });
    connect(edUserTagTag, &QLineEdit::textChanged, this, [this](const QString &t) {
        edUserTagPars->setEnabled(!t.isEmpty());
        if (t.isEmpty()) edUserTagPars->clear();
        updateTagButtons();
    });
    connect(btUserTagPrevious, &QPushButton::clicked, this, [this] {
        Tags.Previous(tagFields());
        showTag();
    });
    connect(btUserTagNext, &QPushButton::clicked, this, [this] {
        Tags.Next(tagFields());
        showTag();
    });
    connect(btUserTagInsert, &QPushButton::clicked, this, [this] {
        Tags.Insert(tagFields());
        showTag();
    });
    connect(btUserTagDelete, &QPushButton::clicked, this, [this] {
        Tags.Delete();
        showTag();
    });

    // Predefined directories.
    lbPredefinedList = new QListWidget;
    lbPredefinedList->setObjectName(QStringLiteral("lbPredefinedList"));
    lbPredefinedList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lbPredefinedList->setSortingEnabled(true);
    btEraseSelectedPredefined = button("btEraseSelectedPredefined", "&Výmaz");
    auto *dirs = new QVBoxLayout(pgPredefinedDirsW);
    dirs->addWidget(lbPredefinedList);
    dirs->addWidget(btEraseSelectedPredefined, 0, Qt::AlignLeft);
    connect(btEraseSelectedPredefined, &QPushButton::clicked, this, [this] { qDeleteAll(lbPredefinedList->selectedItems()); });

    // The global check boxes' rules; the warnings only for the user's clicks.
    connect(chkSwtLine, &QCheckBox::toggled, chkShortSwitch, &QWidget::setEnabled);
    connect(chkSpecialOpenSave, &QCheckBox::toggled, this,
            [this](bool on) { Pages->setTabVisible(Pages->indexOf(pgPredefinedDirsW), on); });
    connect(chkComCtl32Paint, &QCheckBox::clicked, this, [this](bool on) {
        if (filling_) return;
        const QString restart = QStringLiteral("Pro korektní provedení změn doporučujeme restartovat program.");
        platform::message(QStringLiteral("Upozornění"),
                          on ? QStringLiteral("Toto nastavení může způsobit, že tlačítka na lištách se nebudou "
                                              "zobrazovat (pro správné fungování je třeba, aby v systému byla "
                                              "instalována knihovna COMCTL32 ve verzi 4.70 nebo vyšší). Odškrtnutím "
                                              "tohoto pole se můžete kdykoliv vrátit do současného stavu.\r\n\r\n") +
                                   restart
                             : restart,
                          platform::Icon::Exclamation);
    });

    connect(Pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == shownPage_ || filling_) {
            shownPage_ = index;
            return;
        }
        const int target = index;
        Pages->blockSignals(true);
        Pages->setCurrentIndex(shownPage_);
        Pages->blockSignals(false);
        if (!LeaveAllowed()) {
            platform::message(kCaption, QStringLiteral("Nejprve prosím dokončete operaci v této záložce"),
                              platform::Icon::Exclamation);
            return;
        }
        shownPage_ = target;
        Pages->blockSignals(true);
        Pages->setCurrentIndex(target);
        Pages->blockSignals(false);
    });

    auto *box = new QVBoxLayout(this);
    box->addWidget(Pages);
    auto *row = new QHBoxLayout;
    row->addStretch();
    btOk = new QPushButton(QStringLiteral("O&k"));
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Zrušit"));
    btCancel->setObjectName(QStringLiteral("btCancel"));
    row->addWidget(btOk);
    row->addWidget(btCancel);
    box->addLayout(row);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmOptions::eventFilter(QObject *o, QEvent *e) {
    // Leaving the tag field keeps only digits and capitals.
    if (o == edUserTagTag && e->type() == QEvent::FocusOut)
        edUserTagTag->setText(FilterTagName(edUserTagTag->text()));
    return QDialog::eventFilter(o, e);
}

void TfrmOptions::chooseBrowser(QLineEdit *field) {
    platform::FileRequest r;
    r.caption = QStringLiteral("Vyberte program");
    r.filter = QStringLiteral("Spustitelné soubory (*);;Vše (*)");
    r.directory = QFileInfo(field->text()).absolutePath();
    r.parent = this;
    const platform::FileResult f = platform::services().openFile(r);
    if (!f.accepted()) return;
    const QFileInfo chosen(f.files.first());
    if (!chosen.isFile() || !chosen.isExecutable()) {
        platform::message(kCaption, QStringLiteral("Soubor %1 není spustitelný program.").arg(chosen.filePath()),
                          platform::Icon::Exclamation);
        return;
    }
    field->setText(chosen.absoluteFilePath());
}

void TfrmOptions::SetColor(int index, uint32_t color) {
    EditorColors[size_t(index)] = color;
    chkColTags->setChecked(true);
    showColors();
    if (RepaintEditors) RepaintEditors();
}

void TfrmOptions::showColors() {
    for (int i = 0; i < 8; ++i) {
        QPixmap swatch(40, 12);
        swatch.fill(qcolor(EditorColors[size_t(i)]));
        colorButtons[i]->setIcon(swatch);
        colorButtons[i]->setIconSize(swatch.size());
    }
}

StyleFields TfrmOptions::styleFields() const { return {edNazevStylu->text(), edPred->text(), edZa->text()}; }

UserTagFields TfrmOptions::tagFields() const {
    return {edUserTagName->text(), FilterTagName(edUserTagTag->text()), edUserTagPars->text(), edUserTagText->text(),
            chkUserTagPair->isChecked()};
}

void TfrmOptions::showStyle() {
    const StyleFields f = Styles.Shown();
    edNazevStylu->setText(f.name);
    edPred->setText(f.before);
    edZa->setText(f.after);
    stPoradiStylu->setText(QString::number(Styles.Index));
    updateStyleButtons();
    edNazevStylu->setFocus();
}

void TfrmOptions::showTag() {
    const UserTagFields f = Tags.Shown();
    edUserTagName->setText(f.name);
    edUserTagTag->setText(f.tag);
    edUserTagPars->setText(f.pars);
    edUserTagText->setText(f.text);
    chkUserTagPair->setChecked(f.pair);
    stUserTagID->setText(QString::number(Tags.Index));
    edUserTagPars->setEnabled(!f.tag.isEmpty());
    updateTagButtons();
    edUserTagName->setFocus();
}

void TfrmOptions::updateStyleButtons() {
    const QString name = edNazevStylu->text();
    btMinuly->setEnabled(Styles.PreviousEnabled(name));
    btDalsi->setEnabled(Styles.NextEnabled(name));
    btVlozit->setEnabled(Styles.InsertEnabled(name));
    btOk->setEnabled(LeaveAllowed());
}

void TfrmOptions::updateTagButtons() {
    const QString name = edUserTagName->text();
    btUserTagPrevious->setEnabled(Tags.PreviousEnabled(name));
    btUserTagNext->setEnabled(Tags.NextEnabled(name));
    btUserTagInsert->setEnabled(Tags.InsertEnabled(name));
    btOk->setEnabled(LeaveAllowed());
}

bool TfrmOptions::LeaveAllowed() const {
    if (Pages->currentWidget() == pgStylyTextuW) return Styles.LeaveAllowed(edNazevStylu->text());
    if (Pages->currentWidget() == pgUserTagW) return Tags.LeaveAllowed(edUserTagName->text());
    return true;
}

void TfrmOptions::fill() {
    filling_ = true;
    Styles.Load(TextStyles);
    Tags.Load(UserTags);
    saved_ = EditorColors;
    showColors();
    edBrowsersNetscape->setText(cp1250::decode(Settings.BrowsersNetscape.str()));
    edBrowsersExplorer->setText(cp1250::decode(Settings.BrowsersExplorer.str()));
    const std::pair<QCheckBox *, bool> checks[] = {
        {chkReadWins, Settings.ReadWins}, {chkSwtLine, Settings.SwtLine},     {chkShortSwitch, Settings.ShortSwitch},
        {chkRunTip, Settings.RunTip},     {chkComCtl32Paint, Settings.ComCtl32Paint},
        {chkSpecialOpenSave, SpecialOpenSave}, {chkFormat, Settings.Format}, {chkColTags, Settings.ColTags},
        {chkIExpNahled, Settings.IExpNahled}, {chkOleNahled, Settings.OleNahled},
        {chkShortTitle, Settings.ShortTitle},  {chkBAKs, Settings.BAKs}, {chkNbspChar, SpellingState.NbspCharacter}};
    for (const auto &[box, on] : checks) box->setChecked(on);
    chkShortSwitch->setEnabled(Settings.SwtLine);
    Pages->setTabVisible(Pages->indexOf(pgPredefinedDirsW), SpecialOpenSave);
    lbPredefinedList->clear();
    lbPredefinedList->addItems(PredefinedDirs);
    showStyle();
    showTag();
    filling_ = false;
}

bool TfrmOptions::Execute(int page) {
    fill();
    const int target = page >= 0 ? page : lastPage_;
    filling_ = true;
    Pages->setCurrentIndex(Pages->isTabVisible(target) ? target : pgGlobal);
    shownPage_ = Pages->currentIndex();
    filling_ = false;
    btOk->setEnabled(LeaveAllowed());
    const bool ok = platform::services().runModal(*this) == QDialog::Accepted;
    lastPage_ = Pages->currentIndex();
    return ok;
}

void TfrmOptions::done(int r) {
    if (r == QDialog::Accepted) {
        if (!LeaveAllowed() || !btOk->isEnabled()) {
            setResult(QDialog::Rejected);
            return;
        }
        Styles.Store(styleFields());
        Tags.Store(tagFields());
        TextStyles = Styles.Items;
        UserTags = Tags.Items;
        Settings.BrowsersNetscape = cp1250::encode(edBrowsersNetscape->text());
        Settings.BrowsersExplorer = cp1250::encode(edBrowsersExplorer->text());
        Settings.ReadWins = chkReadWins->isChecked();
        Settings.SwtLine = chkSwtLine->isChecked();
        Settings.ShortSwitch = chkShortSwitch->isChecked();
        Settings.RunTip = chkRunTip->isChecked();
        Settings.ComCtl32Paint = chkComCtl32Paint->isChecked();
        SpecialOpenSave = chkSpecialOpenSave->isChecked();
        Settings.Format = chkFormat->isChecked();
        Settings.ColTags = chkColTags->isChecked();
        Settings.IExpNahled = chkIExpNahled->isChecked();
        Settings.OleNahled = chkOleNahled->isChecked();
        Settings.ShortTitle = chkShortTitle->isChecked();
        Settings.BAKs = chkBAKs->isChecked();
        SpellingState.NbspCharacter = chkNbspChar->isChecked();
        PredefinedDirs.clear();
        for (int i = 0; i < lbPredefinedList->count(); ++i) PredefinedDirs << lbPredefinedList->item(i)->text();
    } else {
        EditorColors = saved_;
        if (RepaintEditors) RepaintEditors();
    }
    QDialog::done(r);
}

} // namespace xo
