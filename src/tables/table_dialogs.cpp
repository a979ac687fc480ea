#include "table_dialogs.h"

#include "dbf_reader.h"
#include "dialogs/color_and_image_button.h"
#include "dialogs/dialog_kit.h"
#include "editor/shared_routines.h"
#include "platform/services.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace xo {

using namespace kit;

namespace {

const QString kCaption = QStringLiteral("Xo!");
constexpr int kWhite = 0xFFFFFF;

TColorButton *colorButton(const char *name, int defColor, QCheckBox *toggle) {
    auto *b = new TColorButton;
    b->setObjectName(QString::fromLatin1(name));
    b->SetDefColor(defColor);
    b->setVisible(false);
    QObject::connect(toggle, &QCheckBox::toggled, b, &QWidget::setVisible);
    return b;
}

QHBoxLayout *colorRow(QCheckBox *check, TColorButton *button) {
    auto *row = new QHBoxLayout;
    row->addWidget(check);
    row->addWidget(button);
    row->addStretch();
    return row;
}

bool checkNumbers(std::initializer_list<QLineEdit *> fields) {
    for (QLineEdit *f : fields)
        if (!CheckNumberField(f)) return false;
    return true;
}

} // namespace

// ---------------------------------------------------------------- table dialog

TfrmTable::TfrmTable(QWidget *parent) : TTagDialog(parent, QStringLiteral("Tabulka"), 520) {
    edBorder = Field("edBorder", QStringLiteral("Tloušťka rámečku tabulky v bodech"), 3);
    edCellSpacing = Field("edCellSpacing", QStringLiteral("Mezery mezi buňkami v bodech"), 3);
    edCellPadding = Field("edCellPadding", QStringLiteral("Odsazení obsahu buněk od jejich okraje v bodech"), 3);
    edWidth = Field("edWidth", QStringLiteral("Šířka tabulky v procentech šířky okna"), 3);
    chkBarva = Check("chkBarva", QStringLiteral("Ba&rva pozadí"), QStringLiteral("Definovat barvu pozadí tabulky"));
    btColor = colorButton("btColor", kWhite, chkBarva);
    auto *form = new QFormLayout;
    form->addRow(Label(QStringLiteral("&Okraj:"), edBorder), edBorder);
    form->addRow(Label(QStringLiteral("&Mezery mezi buňkami:"), edCellSpacing), edCellSpacing);
    form->addRow(Label(QStringLiteral("Odsazení v &buňkách:"), edCellPadding), edCellPadding);
    form->addRow(Label(QStringLiteral("Šířk&a (%):"), edWidth), edWidth);
    form->addRow(colorRow(chkBarva, btColor));
    grpGenerate = new QGroupBox(QStringLiteral("Parametry generování tagů"));
    grpGenerate->setObjectName(QStringLiteral("grpGenerate"));
    auto *choices = new QVBoxLayout(grpGenerate);
    chkFirstRowT = Check("chkFirstRowT", QStringLiteral("Nadpisy v 1. řá&dku"), QStringLiteral("První řádek tabulky tvoří nadpisy"));
    chkFirstColT = Check("chkFirstColT", QStringLiteral("Nadpisy v 1. s&loupci"), QStringLiteral("První sloupec tabulky tvoří nadpisy"));
    chkDoubleSpace = Check("chkDoubleSpace", QStringLiteral("Oddělovač jsou dvě m&ezery"),
                           QStringLiteral("Buňky odděluje tabulátor nebo dvě mezery, ne jedna mezera"));
    chkEndTags = Check("chkEndTags", QStringLiteral("Koncové &tagy"), QStringLiteral("Vkládat koncové tagy buněk a řádků"));
    for (QCheckBox *c : {chkFirstRowT, chkFirstColT, chkDoubleSpace, chkEndTags}) choices->addWidget(c);
    auto *columns = new QHBoxLayout;
    columns->addLayout(form);
    columns->addWidget(grpGenerate);
    auto *box = new QVBoxLayout(this);
    box->addLayout(columns);
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést")));
}

bool TfrmTable::CanClose() { return checkNumbers({edWidth, edBorder, edCellSpacing, edCellPadding}); }

bool TfrmTable::ExecuteTable(TableValues &v, bool prefill, bool fullForm) {
    for (QLineEdit *f : {edBorder, edCellSpacing, edCellPadding, edWidth}) f->clear();
    chkBarva->setChecked(false);
    btColor->SetActColor(kWhite);
    chkFirstRowT->setChecked(true);
    chkFirstColT->setChecked(false);
    chkDoubleSpace->setChecked(true);
    chkEndTags->setChecked(false);
    if (prefill) {
        const std::pair<QLineEdit *, int> numbers[] = {
            {edBorder, v.border}, {edCellSpacing, v.cellSpacing}, {edCellPadding, v.cellPadding}, {edWidth, v.width}};
        for (const auto &[field, n] : numbers)
            if (n != -1) field->setText(QString::number(n));
        if (v.color != -1) {
            btColor->SetActColor(v.color);
            chkBarva->setChecked(true);
        }
    }
    grpGenerate->setVisible(fullForm);
    btOk->setObjectName(fullForm ? QStringLiteral("btOk") : QStringLiteral("btOk2"));
    btCancel->setObjectName(fullForm ? QStringLiteral("btCancel") : QStringLiteral("btCancel2"));
    adjustSize();
    edBorder->setFocus();
    if (!Run()) return false;
    v.border = IntFromText(edBorder->text());
    v.cellSpacing = IntFromText(edCellSpacing->text());
    v.cellPadding = IntFromText(edCellPadding->text());
    v.width = IntFromText(edWidth->text());
    v.color = chkBarva->isChecked() ? btColor->FaceColor() : -1;
    if (fullForm) {
        v.firstRow = chkFirstRowT->isChecked();
        v.firstCol = chkFirstColT->isChecked();
        v.doubleSpace = chkDoubleSpace->isChecked();
        v.endTags = chkEndTags->isChecked();
    }
    TableTag = TableTagOf(v);
    return true;
}

// ---------------------------------------------------------------- row and cell dialogs

TfrmCellOptions::TfrmCellOptions(QWidget *parent, bool row)
    : TTagDialog(parent, row ? QStringLiteral("Atributy řádku") : QStringLiteral("Atributy buňky"), row ? 521 : 522) {
    auto *groups = new QHBoxLayout;
    groups->addWidget(RadioGroup("grpAlign", QStringLiteral(" &Horizontální zarovnání "),
                                 QStringLiteral("Vodorovné zarovnání obsahu"),
                                 {QStringLiteral("vlevo"), QStringLiteral("vpravo"), QStringLiteral("centrovat")}, 1,
                                 grpAlign));
    groups->addWidget(RadioGroup("grpValign", QStringLiteral(" &Vertikální zarovnání "),
                                 QStringLiteral("Svislé zarovnání obsahu"),
                                 {QStringLiteral("centrovat"), QStringLiteral("nahoru"), QStringLiteral("dolů"),
                                  QStringLiteral("zákl. linka")},
                                 1, grpValign));
    chkBarva = Check("chkBarva", QStringLiteral("&Barva pozadí"), QStringLiteral("Definovat barvu pozadí"));
    btColor = colorButton("btColor", 0x000000, chkBarva);
    chkNoWrap = Check("chkNoWrap", QStringLiteral("&Nezalamovat text"), QStringLiteral("Text se v buňce nezalamuje"));
    auto *box = new QVBoxLayout(this);
    box->addLayout(groups);
    box->addLayout(colorRow(chkBarva, btColor));
    box->addWidget(chkNoWrap);
    if (!row) {
        edRows = Field("edRows", QStringLiteral("Kolik řádků buňka zabírá"), 3);
        edCols = Field("edCols", QStringLiteral("Kolik sloupců buňka zabírá"), 3);
        auto *form = new QFormLayout;
        form->addRow(Label(QStringLiteral("Počet obsazených řá&dků:"), edRows), edRows);
        form->addRow(Label(QStringLiteral("Počet obsazených s&loupců:"), edCols), edCols);
        box->addLayout(form);
    }
    box->addLayout(ButtonRow(QStringLiteral("O&k"), QStringLiteral("Provést")));
}

bool TfrmCellOptions::CanClose() {
    if (!edRows) return true;
    if (!checkNumbers({edRows, edCols})) return false;
    if ((edRows->text().isEmpty() && edCols->text().isEmpty()) || !WarnSpanChange) return true;
    switch (platform::message(kCaption,
                              QStringLiteral("Nastavení počtu obsazených řádků nebo sloupců bude zřejmě vyžadovat "
                                             "ruční změny ve vygenerované tabulce!\r\n\r\nPřejete si toto "
                                             "upozornění zobrazovat i příště?"),
                              platform::Icon::Exclamation, platform::Buttons::YesNoCancel)) {
    case platform::Answer::Yes:
        return true;
    case platform::Answer::No:
        WarnSpanChange = false;
        return true;
    default:
        return false;
    }
}

bool TfrmCellOptions::ExecuteCell(CellData &d) {
    Choose(grpAlign, -1);
    Choose(grpValign, -1);
    chkBarva->setChecked(false);
    btColor->SetActColor(0);
    chkNoWrap->setChecked(false);
    if (edRows) {
        edRows->clear();
        edCols->clear();
    }
    if (!d.IsDefault) {
        Choose(grpAlign, d.Align == 255 ? -1 : d.Align);
        Choose(grpValign, d.Valign == 255 ? -1 : d.Valign);
        chkBarva->setChecked(d.HasColor);
        btColor->SetActColor(d.Color);
        chkNoWrap->setChecked(d.NoWrap);
        if (edRows && d.RowSpan >= 0) edRows->setText(QString::number(d.RowSpan));
        if (edCols && d.ColSpan >= 0) edCols->setText(QString::number(d.ColSpan));
    }
    if (!Run()) return false;
    d.Align = grpAlign->checkedId() < 0 ? 255 : uint8_t(grpAlign->checkedId());
    d.Valign = grpValign->checkedId() < 0 ? 255 : uint8_t(grpValign->checkedId());
    d.HasColor = chkBarva->isChecked();
    d.Color = btColor->FaceColor();
    d.NoWrap = chkNoWrap->isChecked();
    // A number keeps its low byte: 200 becomes negative and means no span.
    if (edRows) {
        d.RowSpan = int8_t(IntFromText(edRows->text()));
        d.ColSpan = int8_t(IntFromText(edCols->text()));
    }
    d.IsDefault = false;
    return true;
}

// ---------------------------------------------------------------- the grid

int TTableGridModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : grid_.RowCount() - 1; }

int TTableGridModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : grid_.ColCount() - 1;
}

QVariant TTableGridModel::data(const QModelIndex &index, int role) const {
    const int c = index.column() + 1, r = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return text(grid_.Text(c, r));
    case Qt::ToolTipRole:
        if (const TCellDataObject *o = grid_.Options(c, r)) return text(o->Text).trimmed();
        return {};
    case Qt::BackgroundRole:
        if (const TCellDataObject *o = grid_.Options(c, r); o && o->Data.HasColor) {
            const int v = o->Data.Color;
            return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
        }
        return {};
    default:
        return {};
    }
}

bool TTableGridModel::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole) return false;
    grid_.SetText(index.column() + 1, index.row() + 1, bytes(value.toString()));
    emit dataChanged(index, index);
    return true;
}

QVariant TTableGridModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, o, role);
    return o == Qt::Horizontal ? text(grid_.Text(section + 1, 0)) : text(grid_.Text(0, section + 1));
}

Qt::ItemFlags TTableGridModel::flags(const QModelIndex &index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

// ---------------------------------------------------------------- the interactive editor

TfrmTableInteractive::TfrmTableInteractive(QWidget *parent)
    : TTagDialog(parent, QStringLiteral("Definice tabulky pomocí spreadsheetu"), 523) {
    setMinimumSize(400, 300);
    resize(640, 420);
    setSizeGripEnabled(true);
    Pages = new QTabWidget;
    pgTable = new QWidget;
    pgTable->setObjectName(QStringLiteral("pgTable"));
    pgOptions = new QWidget;
    pgOptions->setObjectName(QStringLiteral("pgOptions"));
    Pages->addTab(pgTable, QStringLiteral("&Tabulka"));
    Pages->addTab(pgOptions, QStringLiteral("Volitelné &parametry tabulky"));

    Model = new TTableGridModel(Grid, this);
    grTabulka = new QTableView;
    grTabulka->setObjectName(QStringLiteral("grTabulka"));
    grTabulka->setModel(Model);
    grTabulka->verticalHeader()->setDefaultSectionSize(20);
    grTabulka->horizontalHeader()->setSectionsMovable(false);
    grTabulka->setContextMenuPolicy(Qt::CustomContextMenu);
    (new QVBoxLayout(pgTable))->addWidget(grTabulka);

    edNumRows = Field("edNumRows", QStringLiteral("Počet řádků tabulky"), 5);
    edNumCols = Field("edNumCols", QStringLiteral("Počet sloupců tabulky"), 4);
    edBorder = Field("edBorder", QStringLiteral("Tloušťka rámečku tabulky v bodech"), 3);
    edCellSpacing = Field("edCellSpacing", QStringLiteral("Mezery mezi buňkami v bodech"), 3);
    edCellPadding = Field("edCellPadding", QStringLiteral("Odsazení obsahu buněk od jejich okraje v bodech"), 3);
    edWidth = Field("edWidth", QStringLiteral("Šířka tabulky v procentech šířky okna"), 3);
    chkFirstRowTit = Check("chkFirstRowTit", QStringLiteral("Nadpisy v 1. řádku"), QStringLiteral("První řádek tvoří nadpisy"));
    chkFirstColTit = Check("chkFirstColTit", QStringLiteral("Nadpisy v 1. sloupci"), QStringLiteral("První sloupec tvoří nadpisy"));
    chkEndTags = Check("chkEndTags", QStringLiteral("Koncové tagy"), QStringLiteral("Vkládat koncové tagy buněk a řádků"));
    chkBarva = Check("chkBarva", QStringLiteral("Barva pozadí"), QStringLiteral("Definovat barvu pozadí tabulky"));
    btBarvaTabulky = colorButton("btBarvaTabulky", kWhite, chkBarva);
    auto *form = new QFormLayout;
    form->addRow(Label(QStringLiteral("Počet řá&dků:"), edNumRows), edNumRows);
    form->addRow(Label(QStringLiteral("Počet s&loupců:"), edNumCols), edNumCols);
    form->addRow(Label(QStringLiteral("&Okraj:"), edBorder), edBorder);
    form->addRow(Label(QStringLiteral("&Mezery mezi buňkami:"), edCellSpacing), edCellSpacing);
    form->addRow(Label(QStringLiteral("Odsazení v &buňkách:"), edCellPadding), edCellPadding);
    form->addRow(Label(QStringLiteral("Šířk&a (%):"), edWidth), edWidth);
    form->addRow(chkFirstRowTit);
    form->addRow(chkFirstColTit);
    form->addRow(chkEndTags);
    form->addRow(colorRow(chkBarva, btBarvaTabulky));
    auto *centre = new QHBoxLayout(pgOptions);
    centre->addStretch();
    centre->addLayout(form);
    centre->addStretch();

    auto *box = new QVBoxLayout(this);
    box->addWidget(Pages, 1);
    QHBoxLayout *buttons = ButtonRow(QStringLiteral("O&k"), QStringLiteral("Vygenerovat tabulku"));
    btOpenTable = new QPushButton(QStringLiteral("Ot&evřít tabulku"));
    btOpenTable->setObjectName(QStringLiteral("btOpenTable"));
    btSaveTable = new QPushButton(QStringLiteral("&Uložit tabulku"));
    btSaveTable->setObjectName(QStringLiteral("btSaveTable"));
    btFromDBF = new QPushButton(QStringLiteral("&Import z DBF"));
    btFromDBF->setObjectName(QStringLiteral("btFromDBF"));
    int at = 0;
    for (QPushButton *b : {btOpenTable, btSaveTable, btFromDBF}) {
        b->setAutoDefault(false);
        buttons->insertWidget(at++, b);
    }
    box->addLayout(buttons);
    ShowSettings(TableSettings());

    popup = new QMenu(this);
    mnEditing = popup->addAction(QString(), this, &TfrmTableInteractive::mnSwitchMode);
    popup->addSeparator();
    mnOptions = popup->addAction(QStringLiteral("&Atributy označených buněk"), this, &TfrmTableInteractive::mnOptionsClick);
    mnRowOptions = popup->addAction(QStringLiteral("Atributy označených řá&dků"), this,
                                    &TfrmTableInteractive::mnRowOptionsClick);
    popup->addSeparator();
    mnInsertRow = popup->addAction(QStringLiteral("&Vložit řádek"), this, &TfrmTableInteractive::mnInsertRowClick);
    mnInsertCol = popup->addAction(QStringLiteral("Vložit &sloupec"), this, &TfrmTableInteractive::mnInsertColClick);
    mnDelRows = popup->addAction(QStringLiteral("Smazat označené řád&ky"), this, &TfrmTableInteractive::mnDelRowsClick);
    mnDelCols = popup->addAction(QStringLiteral("Smazat označené sl&oupce"), this, &TfrmTableInteractive::mnDelColsClick);
    connect(grTabulka, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { popup->popup(grTabulka->viewport()->mapToGlobal(p)); });
    // The keyboard's way to the pop-up menu.
    grTabulka->addActions(popup->actions());

    // Coming to the grid page puts the keyboard in the grid, on its current cell.
    connect(Pages, &QTabWidget::currentChanged, this, [this] {
        if (Pages->currentWidget() != pgTable) return;
        if (!grTabulka->currentIndex().isValid()) grTabulka->setCurrentIndex(Model->index(0, 0));
        grTabulka->setFocus();
    });
    connect(edNumRows, &QLineEdit::editingFinished, this, &TfrmTableInteractive::ZmenaRozmeruTabulky);
    connect(edNumCols, &QLineEdit::editingFinished, this, &TfrmTableInteractive::ZmenaRozmeruTabulky);
    connect(btSaveTable, &QPushButton::clicked, this, &TfrmTableInteractive::btSaveTableClick);
    connect(btOpenTable, &QPushButton::clicked, this, &TfrmTableInteractive::btOpenTableClick);
    connect(btFromDBF, &QPushButton::clicked, this, &TfrmTableInteractive::btFromDBFClick);
    clearGrid();
}

TableSettings TfrmTableInteractive::Settings() const {
    TableSettings s;
    s.numRows = bytes(edNumRows->text());
    s.numCols = bytes(edNumCols->text());
    s.border = bytes(edBorder->text());
    s.width = bytes(edWidth->text());
    s.cellSpacing = bytes(edCellSpacing->text());
    s.cellPadding = bytes(edCellPadding->text());
    s.firstRowTit = chkFirstRowTit->isChecked();
    s.firstColTit = chkFirstColTit->isChecked();
    s.endTags = chkEndTags->isChecked();
    s.barva = chkBarva->isChecked();
    s.color = btBarvaTabulky->FaceColor();
    return s;
}

void TfrmTableInteractive::ShowSettings(const TableSettings &s) {
    edNumRows->setText(text(s.numRows));
    edNumCols->setText(text(s.numCols));
    edBorder->setText(text(s.border));
    edWidth->setText(text(s.width));
    edCellSpacing->setText(text(s.cellSpacing));
    edCellPadding->setText(text(s.cellPadding));
    chkFirstRowTit->setChecked(s.firstRowTit);
    chkFirstColTit->setChecked(s.firstColTit);
    chkEndTags->setChecked(s.endTags);
    chkBarva->setChecked(s.barva);
    btBarvaTabulky->SetActColor(s.color);
}

void TfrmTableInteractive::ZmenaRozmeruTabulky() {
    TableSettings s = Settings();
    ApplyTableSize(Grid, s);
    edNumRows->setText(text(s.numRows));
    edNumCols->setText(text(s.numCols));
    Model->Reset();
}

void TfrmTableInteractive::afterGridChange() {
    edNumRows->setText(QString::number(Grid.RowCount() - 1));
    edNumCols->setText(QString::number(Grid.ColCount() - 1));
    Model->Reset();
}

void TfrmTableInteractive::clearGrid() {
    Grid.ClearCells();
    Grid.SetSize(1, 1);
    Model->Reset();
}

bool TfrmTableInteractive::ExecuteTableEditor(bool importDbf, std::string &result) {
    ImportOnActivate = importDbf;
    EditMode = false;
    mnSwitchMode(); // every activation starts in edit mode
    Pages->setCurrentWidget(pgOptions);
    ZmenaRozmeruTabulky();
    Result.clear();
    const bool ok = Run();
    result = ok ? Result : std::string();
    ImportOnActivate = false;
    return ok;
}

void TfrmTableInteractive::showEvent(QShowEvent *e) {
    TTagDialog::showEvent(e);
    if (ImportOnActivate) QTimer::singleShot(0, this, &TfrmTableInteractive::FormActivate);
}

void TfrmTableInteractive::FormActivate() {
    if (!ImportOnActivate) return;
    ImportOnActivate = false;
    btFromDBFClick();
}

void TfrmTableInteractive::mnSwitchMode() {
    EditMode = !EditMode;
    grTabulka->setEditTriggers(EditMode ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
    mnEditing->setText(EditMode ? QStringLiteral("&Přepni do režimu označování")
                                : QStringLiteral("&Přepni do režimu editace"));
}

void TfrmTableInteractive::Selection(int &left, int &top, int &right, int &bottom) const {
    const QModelIndexList selected = grTabulka->selectionModel()->selectedIndexes();
    const QModelIndex current = grTabulka->currentIndex();
    left = top = INT_MAX;
    right = bottom = 0;
    for (const QModelIndex &i : selected.isEmpty() ? QModelIndexList{current} : selected) {
        if (!i.isValid()) continue;
        left = std::min(left, i.column() + 1);
        right = std::max(right, i.column() + 1);
        top = std::min(top, i.row() + 1);
        bottom = std::max(bottom, i.row() + 1);
    }
    if (right == 0) left = top = right = bottom = 1;
}

void TfrmTableInteractive::mnOptionsClick() {
    int l, t, r, b;
    Selection(l, t, r, b);
    CellData w = Grid.GatherOptions(l, t, r, b);
    if (!TagDialogs().ExecuteCellDialog(w)) return;
    Grid.SetOptions(l, t, r, b, w);
    Model->Reset();
}

void TfrmTableInteractive::mnRowOptionsClick() {
    int l, t, r, b;
    Selection(l, t, r, b);
    CellData w = Grid.GatherRowOptions(t, b);
    if (!TagDialogs().ExecuteRowDialog(w)) return;
    Grid.SetOptions(0, t, 0, b, w);
    Model->Reset();
}

void TfrmTableInteractive::mnDelRowsClick() {
    int l, t, r, b;
    Selection(l, t, r, b);
    QString refusal;
    if (!Grid.DeleteRows(t, b, refusal)) platform::message(kCaption, refusal, platform::Icon::Exclamation);
    afterGridChange();
}

void TfrmTableInteractive::mnDelColsClick() {
    int l, t, r, b;
    Selection(l, t, r, b);
    QString refusal;
    if (!Grid.DeleteCols(l, r, refusal)) platform::message(kCaption, refusal, platform::Icon::Exclamation);
    afterGridChange();
}

void TfrmTableInteractive::mnInsertRowClick() {
    int l, t, r, b;
    Selection(l, t, r, b);
    Grid.InsertRow(t);
    afterGridChange();
}

void TfrmTableInteractive::mnInsertColClick() {
    int l, t, r, b;
    Selection(l, t, r, b);
    Grid.InsertCol(l);
    afterGridChange();
}

void TfrmTableInteractive::btSaveTableClick() {
    platform::FileRequest req;
    req.caption = QStringLiteral("Uložení tabulky");
    req.filter = QStringLiteral("Soubory s tabulkou (*.tbh)");
    req.defaultSuffix = QStringLiteral("tbh");
    req.parent = this;
    const platform::FileResult f = platform::services().saveFile(req);
    if (!f.accepted()) return;
    const QString name = f.files.first();
    if (QFileInfo::exists(name) &&
        platform::message(kCaption, QStringLiteral("Soubor ") + name + QStringLiteral(" existuje. Přepsat?"),
                          platform::Icon::Question, platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    EnterWait();
    const bool saved = SaveTableFile(name, Grid, Settings());
    LeaveWait();
    if (!saved) platform::message(kCaption, QStringLiteral("Chyba při ukládání souboru"), platform::Icon::Exclamation);
}

void TfrmTableInteractive::btOpenTableClick() {
    platform::FileRequest req;
    req.caption = QStringLiteral("Otevření tabulky");
    req.filter = QStringLiteral("Soubory s tabulkou (*.tbh)");
    req.parent = this;
    const platform::FileResult f = platform::services().openFile(req);
    if (!f.accepted()) return;
    TableSettings s = Settings();
    EnterWait();
    const TableFileResult r = OpenTableFile(f.files.first(), Grid, s);
    LeaveWait();
    if (r == TableFileResult::Ok) ShowSettings(s);
    Model->Reset();
    if (r == TableFileResult::BadFormat)
        platform::message(kCaption, QStringLiteral("Chybný formát"), platform::Icon::Exclamation);
    else if (r == TableFileResult::CannotOpen)
        platform::message(kCaption, QStringLiteral("Soubor nenalezen nebo odepřen přístup"), platform::Icon::Exclamation);
}

void TfrmTableInteractive::btFromDBFClick() {
    platform::FileRequest req;
    req.caption = QStringLiteral("Import z DBF");
    req.filter = QStringLiteral("Tabulky DBF (*.dbf);;Všechny soubory (*)");
    req.parent = this;
    const platform::FileResult f = platform::services().openFile(req);
    if (!f.accepted()) return;
    Grid.ClearCells();
    edNumRows->setText(QStringLiteral("2"));
    edNumCols->setText(QStringLiteral("2"));
    chkFirstRowTit->setChecked(true);
    TableSettings s = Settings();
    ApplyTableSize(Grid, s);
    auto message = [](const QString &t) {
        platform::message(QStringLiteral("Xo! - DBF import"), t, platform::Icon::Exclamation);
    };
    EnterWait();
    ImportDbf(
        f.files.first(),
        [&](int column, int row, std::string value) {
            if (DbfValueToGrid(Grid, s, column, row, std::move(value))) return true;
            message(QStringLiteral("Tabulka obsahuje příliš mnoho řádků"));
            return false;
        },
        message);
    LeaveWait();
    ShowSettings(s);
    Model->Reset();
}

void TfrmTableInteractive::done(int r) {
    if (r == QDialog::Accepted) {
        if (!checkNumbers({edWidth, edBorder, edCellSpacing, edCellPadding, edNumRows, edNumCols})) {
            setResult(QDialog::Rejected);
            return;
        }
        const platform::Answer a = platform::message(kCaption, QStringLiteral("Vygenerovat tabulku?"),
                                                     platform::Icon::Question, platform::Buttons::YesNoCancel);
        if (a == platform::Answer::Cancel) {
            setResult(QDialog::Rejected);
            return;
        }
        Result = a == platform::Answer::Yes ? Grid.Generate(Settings()) : std::string();
    } else {
        Result.clear();
    }
    clearGrid();
    QDialog::done(r);
}

} // namespace xo
