#pragma once
// The table, row and cell dialogs, and the interactive table editor with
// its grid, options page, table file and DBF import.

#include "dialogs/tag_dialogs.h"
#include "table_grid.h"

#include <QAbstractTableModel>

class QMenu;
class QTabWidget;
class QTableView;

namespace xo {

class TfrmTable : public TTagDialog, public TTableDialogExecute {
    Q_OBJECT
public:
    explicit TfrmTable(QWidget *parent = nullptr);
    QLineEdit *edBorder, *edCellSpacing, *edCellPadding, *edWidth;
    QCheckBox *chkBarva;
    TColorButton *btColor;
    QGroupBox *grpGenerate;
    QCheckBox *chkFirstRowT, *chkFirstColT, *chkDoubleSpace, *chkEndTags;
    bool ExecuteTable(TableValues &v, bool prefill, bool fullForm) override;

protected:
    bool CanClose() override;
};

// The row dialog is the cell dialog without the two span fields.
class TfrmCellOptions : public TTagDialog, public TCellDialogExecute {
    Q_OBJECT
public:
    explicit TfrmCellOptions(QWidget *parent = nullptr, bool row = false);
    QButtonGroup *grpAlign, *grpValign;
    QCheckBox *chkBarva, *chkNoWrap;
    TColorButton *btColor;
    QLineEdit *edRows = nullptr, *edCols = nullptr;
    bool ExecuteCell(CellData &d) override;

protected:
    bool CanClose() override;
};

class TfrmRowOptions : public TfrmCellOptions {
    Q_OBJECT
public:
    explicit TfrmRowOptions(QWidget *parent = nullptr) : TfrmCellOptions(parent, true) {}
};

// The grid's view of the table: data cells only, the labels as headers.
class TTableGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TTableGridModel(TTableGrid &grid, QObject *parent = nullptr) : QAbstractTableModel(parent), grid_(grid) {}
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // After any change of the grid's size or many cells.
    void Reset() {
        beginResetModel();
        endResetModel();
    }

private:
    TTableGrid &grid_;
};

class TfrmTableInteractive : public TTagDialog, public TInteractiveTableExecute {
    Q_OBJECT
public:
    explicit TfrmTableInteractive(QWidget *parent = nullptr);
    TTableGrid Grid;
    TTableGridModel *Model;
    QTabWidget *Pages;
    QWidget *pgTable, *pgOptions;
    QTableView *grTabulka;
    QLineEdit *edNumRows, *edNumCols, *edBorder, *edCellSpacing, *edCellPadding, *edWidth;
    QCheckBox *chkFirstRowTit, *chkFirstColTit, *chkBarva, *chkEndTags;
    TColorButton *btBarvaTabulky;
    QPushButton *btSaveTable, *btOpenTable, *btFromDBF;
    QMenu *popup;
    QAction *mnEditing, *mnOptions, *mnRowOptions, *mnInsertRow, *mnInsertCol, *mnDelRows, *mnDelCols;
    bool ImportOnActivate = false;
    bool EditMode = true;
    std::string Result;

    bool ExecuteTableEditor(bool importDbf, std::string &result) override;
    // What the form does each time it comes up; runs a pending DBF import.
    void FormActivate();
    TableSettings Settings() const;
    void ShowSettings(const TableSettings &s);
    void ZmenaRozmeruTabulky();
    void mnSwitchMode();
    void mnOptionsClick();
    void mnRowOptionsClick();
    void mnDelRowsClick();
    void mnDelColsClick();
    void mnInsertRowClick();
    void mnInsertColClick();
    void btSaveTableClick();
    void btOpenTableClick();
    void btFromDBFClick();
    // The selected block in grid coordinates (data cells from 1).
    void Selection(int &left, int &top, int &right, int &bottom) const;
    void done(int r) override;

protected:
    void showEvent(QShowEvent *e) override;

private:
    void clearGrid();
    void afterGridChange();
};

} // namespace xo
