#pragma once
// The interactive table editor without its window: the grid of texts and
// options (with the fixed row and column of labels), the options page's
// values, the size changes, inserts, deletes and option merges, the HTML
// generation and the table file.

#include "dialogs/cell_data.h"

#include <QString>
#include <memory>
#include <string>
#include <unordered_map>

namespace xo {

class TCompressFile;

// The options page as the user typed it; the table file stores these texts.
struct TableSettings {
    std::string numRows = "3", numCols = "3", border, width, cellSpacing, cellPadding;
    bool firstRowTit = true, firstColTit = true, endTags = false, barva = false;
    int32_t color = 0xFFFFFF;
};

class TTableGrid {
public:
    // More would be no table anybody writes by hand; they also bound what a file may ask for.
    static constexpr int kMaxRows = 10000, kMaxCols = 1000;

    TTableGrid();
    // Counts include the fixed row and column, as the grid shows them.
    int RowCount() const { return rows_; }
    int ColCount() const { return cols_; }
    // Column c, row r; row 0 and column 0 hold the labels and the row options.
    const std::string &Text(int c, int r) const;
    void SetText(int c, int r, std::string text);
    TCellDataObject *Options(int c, int r) const;
    void SetOptions(int c, int r, std::unique_ptr<TCellDataObject> o);

    // Data rows and columns; cells beyond them are cleared, the labels rewritten.
    void SetSize(int rows, int cols);
    // Every cell with its options; the size stays.
    void ClearCells();

    // The editing commands; false with the message text when refused.
    bool DeleteRows(int top, int bottom, QString &refusal);
    bool DeleteCols(int left, int right, QString &refusal);
    void InsertRow(int top);
    void InsertCol(int left);

    // The options shared by the selected cells (or rows, in the fixed column):
    // equal fields kept, differing ones reset; default when one has none.
    CellData GatherOptions(int left, int top, int right, int bottom) const;
    CellData GatherRowOptions(int top, int bottom) const;
    void SetOptions(int left, int top, int right, int bottom, const CellData &d);

    std::string Generate(const TableSettings &s) const;

    // Every cell of the grid in the file's order.
    void Write(TCompressFile &f) const;
    // False when the file ends early or proves damaged.
    bool Read(TCompressFile &f);

private:
    struct Cell {
        std::string text;
        std::unique_ptr<TCellDataObject> options;
    };
    static uint64_t key(int c, int r) { return uint64_t(uint32_t(c)) << 32 | uint32_t(r); }
    Cell *find(int c, int r);
    const Cell *find(int c, int r) const;
    Cell &at(int c, int r) { return cells_[key(c, r)]; }
    void erase(int c, int r) { cells_.erase(key(c, r)); }
    void writeLabels();
    void move(int fromC, int fromR, int toC, int toR, bool withText);

    std::unordered_map<uint64_t, Cell> cells_; // only cells with a text or options
    int rows_ = 2, cols_ = 2;
    int labeledRows_ = 0, labeledCols_ = 0; // labels known to read "Řádek r", "Sloupec c"
};

// The options page's size fields applied to the grid: a field that is no
// number or below 1 becomes 1, one above the cap becomes the cap; the
// fields get the numbers back.
void ApplyTableSize(TTableGrid &grid, TableSettings &s);

// The table file ("Xo! Table Fm1"): true when written; false with nothing
// changed on disk.
bool SaveTableFile(const QString &fileName, const TTableGrid &grid, const TableSettings &s);
enum class TableFileResult { Ok, CannotOpen, BadFormat };
// The grid is cleared first; on BadFormat it stays cleared.
TableFileResult OpenTableFile(const QString &fileName, TTableGrid &grid, TableSettings &s);
// The same over a file's content; false for a bad format.
bool ReadTableContent(TCompressFile &f, TTableGrid &grid, TableSettings &s);

// One value of a DBF import into the grid (column and row of the import,
// 0-based): spaces trimmed, CR LF as "<BR>", the grid grown for non-empty
// text. False when the grid would grow beyond its rows.
bool DbfValueToGrid(TTableGrid &grid, TableSettings &s, int column, int row, std::string text);

} // namespace xo
