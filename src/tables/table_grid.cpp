#include "table_grid.h"

#include "platform/cp1250.h"
#include "settings/compress_file.h"
#include "tagedit/tag_location.h"

#include <algorithm>

namespace xo {

namespace {

const char *const kSignature = "Xo! Table Fm1";
const std::string kEmpty;

// A whole number in decimal with an optional sign; -1 for anything else.
int64_t wholeNumber(const std::string &text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size() || text.size() - i > 18) return -1;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        v = v * 10 + (text[i] - '0');
    }
    return negative ? -v : v;
}

int fieldSize(const std::string &text, int cap) {
    const int64_t n = wholeNumber(text);
    return n < 1 ? 1 : int(std::min<int64_t>(n, cap));
}

void mergeInto(CellData &w, const CellData &o, bool spans) {
    if (w.Align != o.Align) w.Align = 255;
    if (w.Valign != o.Valign) w.Valign = 255;
    if (w.HasColor != o.HasColor || w.Color != o.Color) {
        w.HasColor = false;
        w.Color = 0;
    }
    if (w.NoWrap != o.NoWrap) w.NoWrap = false;
    if (spans && w.RowSpan != o.RowSpan) w.RowSpan = -1;
    if (spans && w.ColSpan != o.ColSpan) w.ColSpan = -1;
}

} // namespace

TTableGrid::TTableGrid() { writeLabels(); }

TTableGrid::Cell *TTableGrid::find(int c, int r) {
    auto it = cells_.find(key(c, r));
    return it == cells_.end() ? nullptr : &it->second;
}

const TTableGrid::Cell *TTableGrid::find(int c, int r) const {
    auto it = cells_.find(key(c, r));
    return it == cells_.end() ? nullptr : &it->second;
}

const std::string &TTableGrid::Text(int c, int r) const {
    const Cell *cell = find(c, r);
    return cell ? cell->text : kEmpty;
}

void TTableGrid::SetText(int c, int r, std::string text) {
    if (c < 0 || r < 0 || c >= cols_ || r >= rows_) return;
    if (c == 0 || r == 0) labeledRows_ = labeledCols_ = 0; // a label of its own until the next size change
    if (text.empty()) {
        if (Cell *cell = find(c, r)) {
            cell->text.clear();
            if (!cell->options) erase(c, r);
        }
        return;
    }
    at(c, r).text = std::move(text);
}

TCellDataObject *TTableGrid::Options(int c, int r) const {
    const Cell *cell = find(c, r);
    return cell ? cell->options.get() : nullptr;
}

void TTableGrid::SetOptions(int c, int r, std::unique_ptr<TCellDataObject> o) {
    if (c < 0 || r < 0 || c >= cols_ || r >= rows_) return;
    if (!o) {
        if (Cell *cell = find(c, r)) {
            cell->options.reset();
            if (cell->text.empty()) erase(c, r);
        }
        return;
    }
    at(c, r).options = std::move(o);
}

void TTableGrid::writeLabels() {
    // Labels already right are kept: growing a grid row by row (an import)
    // then costs only the new labels.
    const std::string row = cp1250::fromUtf8("Řádek "), column = "Sloupec ";
    for (int r = labeledRows_ + 1; r < rows_; ++r) at(0, r).text = row + std::to_string(r);
    for (int c = labeledCols_ + 1; c < cols_; ++c) at(c, 0).text = column + std::to_string(c);
    labeledRows_ = rows_ - 1;
    labeledCols_ = cols_ - 1;
}

void TTableGrid::SetSize(int rows, int cols) {
    rows = std::clamp(rows, 1, kMaxRows);
    cols = std::clamp(cols, 1, kMaxCols);
    if (rows < rows_ - 1 || cols < cols_ - 1)
        std::erase_if(cells_, [&](const auto &entry) {
            const int c = int(entry.first >> 32), r = int(uint32_t(entry.first));
            return r > rows || c > cols;
        });
    rows_ = rows + 1;
    cols_ = cols + 1;
    labeledRows_ = std::min(labeledRows_, rows);
    labeledCols_ = std::min(labeledCols_, cols);
    writeLabels();
}

void TTableGrid::ClearCells() {
    cells_.clear();
    labeledRows_ = labeledCols_ = 0;
    writeLabels();
}

bool TTableGrid::DeleteRows(int top, int bottom, QString &refusal) {
    top = std::max(top, 1);
    bottom = std::min(bottom, rows_ - 1);
    const int n = bottom - top + 1;
    if (n <= 0) return true;
    if (n >= rows_ - 1) {
        refusal = QStringLiteral("Alespoň jeden řádek musí zůstat");
        return false;
    }
    std::unordered_map<uint64_t, Cell> moved;
    for (auto &[k, cell] : cells_) {
        const int c = int(k >> 32), r = int(uint32_t(k));
        if (r >= top && r <= bottom) continue;
        moved.emplace(key(c, r > bottom ? r - n : r), std::move(cell));
    }
    cells_ = std::move(moved);
    labeledRows_ = labeledCols_ = 0;
    SetSize(rows_ - 1 - n, cols_ - 1);
    return true;
}

bool TTableGrid::DeleteCols(int left, int right, QString &refusal) {
    left = std::max(left, 1);
    right = std::min(right, cols_ - 1);
    const int n = right - left + 1;
    if (n <= 0) return true;
    if (n >= cols_ - 1) {
        refusal = QStringLiteral("Alespoň jeden sloupec musí zůstat");
        return false;
    }
    std::unordered_map<uint64_t, Cell> moved;
    for (auto &[k, cell] : cells_) {
        const int c = int(k >> 32), r = int(uint32_t(k));
        if (c >= left && c <= right) continue;
        moved.emplace(key(c > right ? c - n : c, r), std::move(cell));
    }
    cells_ = std::move(moved);
    labeledRows_ = labeledCols_ = 0;
    SetSize(rows_ - 1, cols_ - 1 - n);
    return true;
}

void TTableGrid::InsertRow(int top) {
    if (rows_ - 1 >= kMaxRows) return;
    top = std::clamp(top, 1, rows_ - 1);
    SetSize(rows_, cols_ - 1); // one more data row
    std::unordered_map<uint64_t, Cell> moved;
    for (auto &[k, cell] : cells_) {
        const int c = int(k >> 32), r = int(uint32_t(k));
        if (r < top) {
            moved.emplace(k, std::move(cell));
        } else if (c > 0) {
            moved.emplace(key(c, r + 1), std::move(cell));
        } else {
            // The row labels stay; the row options move with their row.
            if (cell.options) moved[key(0, r + 1)].options = std::move(cell.options);
            moved[k].text = std::move(cell.text);
        }
    }
    cells_ = std::move(moved);
    at(0, top).text += " *";
    labeledRows_ = 0; // rewritten at the next size change
}

void TTableGrid::InsertCol(int left) {
    if (cols_ - 1 >= kMaxCols) return;
    left = std::clamp(left, 1, cols_ - 1);
    SetSize(rows_ - 1, cols_);
    std::unordered_map<uint64_t, Cell> moved;
    for (auto &[k, cell] : cells_) {
        const int c = int(k >> 32), r = int(uint32_t(k));
        if (c < left) {
            moved.emplace(k, std::move(cell));
        } else if (r > 0) {
            moved.emplace(key(c + 1, r), std::move(cell));
        } else {
            if (cell.options) moved[key(c + 1, 0)].options = std::move(cell.options);
            moved[k].text = std::move(cell.text);
        }
    }
    cells_ = std::move(moved);
    at(left, 0).text += " *";
    labeledCols_ = 0;
}

CellData TTableGrid::GatherOptions(int left, int top, int right, int bottom) const {
    CellData w;
    for (int c = left; c <= right; ++c)
        for (int r = top; r <= bottom; ++r) {
            const TCellDataObject *o = Options(c, r);
            if (!o) {
                if (!w.IsDefault) return CellData();
                continue;
            }
            if (w.IsDefault)
                w = o->Data;
            else
                mergeInto(w, o->Data, true);
        }
    return w;
}

CellData TTableGrid::GatherRowOptions(int top, int bottom) const {
    CellData w;
    for (int r = top; r <= bottom; ++r) {
        const TCellDataObject *o = Options(0, r);
        if (!o) {
            if (!w.IsDefault) return CellData();
            continue;
        }
        if (w.IsDefault)
            w = o->Data;
        else
            mergeInto(w, o->Data, false);
    }
    return w;
}

void TTableGrid::SetOptions(int left, int top, int right, int bottom, const CellData &d) {
    for (int c = left; c <= right; ++c)
        for (int r = top; r <= bottom; ++r) {
            if (TCellDataObject *o = Options(c, r)) {
                o->Data = d;
                o->Rebuild();
            } else {
                SetOptions(c, r, std::make_unique<TCellDataObject>(d));
            }
        }
}

std::string TTableGrid::Generate(const TableSettings &s) const {
    TableValues v;
    v.color = s.barva ? s.color : -1;
    v.border = IntFromAttr(s.border);
    v.width = IntFromAttr(s.width);
    v.cellSpacing = IntFromAttr(s.cellSpacing);
    v.cellPadding = IntFromAttr(s.cellPadding);
    std::string out = TableTagOf(v) + "\r\n";
    for (int r = 1; r < rows_; ++r) {
        out += " <TR";
        if (const TCellDataObject *o = Options(0, r)) out += o->Text;
        out += "> ";
        for (int c = 1; c < cols_; ++c) {
            const bool header = (s.firstRowTit && r == 1) || (s.firstColTit && c == 1);
            out += header ? "<TH" : "<TD";
            if (const TCellDataObject *o = Options(c, r)) out += o->Text;
            out += ">";
            out += Text(c, r);
            if (s.endTags) out += header ? "</TH>" : "</TD>";
            out += " ";
        }
        if (s.endTags) out += "</TR>";
        out += "\r\n";
    }
    return out + "</TABLE>";
}

void TTableGrid::Write(TCompressFile &f) const {
    for (int c = 0; c < cols_; ++c)
        for (int r = 0; r < rows_; ++r) {
            const Cell *cell = find(c, r);
            f.WriteString(cell ? cell->text : kEmpty);
            const bool has = cell && cell->options;
            f.WriteBoolean(has);
            if (has) {
                const auto block = cell->options->Data.Pack();
                f.WriteBuffer(block.data(), block.size());
            }
        }
}

bool TTableGrid::Read(TCompressFile &f) {
    for (int c = 0; c < cols_; ++c)
        for (int r = 0; r < rows_; ++r) {
            std::string text = f.ReadString();
            const bool has = f.ReadBoolean();
            if (f.Damaged() || f.PastEnd()) return false;
            SetText(c, r, std::move(text));
            if (has) {
                uint8_t block[CellData::kSize];
                f.ReadBuffer(block, sizeof block);
                if (f.PastEnd()) return false;
                SetOptions(c, r, std::make_unique<TCellDataObject>(CellData::Unpack(block)));
            }
        }
    return true;
}

void ApplyTableSize(TTableGrid &grid, TableSettings &s) {
    const int rows = fieldSize(s.numRows, TTableGrid::kMaxRows), cols = fieldSize(s.numCols, TTableGrid::kMaxCols);
    s.numRows = std::to_string(rows);
    s.numCols = std::to_string(cols);
    grid.SetSize(rows, cols);
}

bool SaveTableFile(const QString &fileName, const TTableGrid &grid, const TableSettings &s) {
    try {
        TCompressFile f(fileName, TCompressFile::fmCreate);
        f.WriteString(kSignature);
        for (const std::string *t : {&s.numRows, &s.numCols, &s.border, &s.width, &s.cellSpacing, &s.cellPadding})
            f.WriteString(*t);
        for (bool b : {s.firstRowTit, s.firstColTit, s.endTags, s.barva}) f.WriteBoolean(b);
        f.WriteInteger(s.color);
        grid.Write(f);
        return f.Close();
    } catch (const ECompressFileError &) {
        return false;
    }
}

bool ReadTableContent(TCompressFile &f, TTableGrid &grid, TableSettings &s) {
    grid.ClearCells();
    if (f.ReadString() != kSignature) return false;
    TableSettings read;
    for (std::string *t : {&read.numRows, &read.numCols, &read.border, &read.width, &read.cellSpacing, &read.cellPadding})
        *t = f.ReadString();
    for (bool *b : {&read.firstRowTit, &read.firstColTit, &read.endTags, &read.barva}) *b = f.ReadBoolean();
    read.color = f.ReadInteger();
    // A size beyond the caps is not a table this program wrote.
    if (f.Damaged() || f.PastEnd() || wholeNumber(read.numRows) > TTableGrid::kMaxRows ||
        wholeNumber(read.numCols) > TTableGrid::kMaxCols)
        return false;
    TTableGrid loaded;
    ApplyTableSize(loaded, read);
    if (!loaded.Read(f)) return false;
    grid = std::move(loaded);
    s = read;
    return true;
}

TableFileResult OpenTableFile(const QString &fileName, TTableGrid &grid, TableSettings &s) {
    grid.ClearCells();
    try {
        TCompressFile f(fileName, TCompressFile::fmOpenRead);
        return ReadTableContent(f, grid, s) ? TableFileResult::Ok : TableFileResult::BadFormat;
    } catch (const ECompressFileError &) {
        return TableFileResult::CannotOpen;
    }
}

bool DbfValueToGrid(TTableGrid &grid, TableSettings &s, int column, int row, std::string text) {
    const size_t first = text.find_first_not_of(' ');
    text = first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (!text.empty()) {
        if (row + 1 > TTableGrid::kMaxRows) return false;
        bool grow = false;
        if (grid.RowCount() <= row + 1) {
            s.numRows = std::to_string(row + 1);
            grow = true;
        }
        if (grid.ColCount() <= column + 1) {
            s.numCols = std::to_string(column + 1);
            grow = true;
        }
        if (grow) ApplyTableSize(grid, s);
    }
    if (text.find("\r\n") != std::string::npos) {
        // In one pass: replacing in place moves the rest of the text at every line.
        std::string joined;
        joined.reserve(text.size() + text.size() / 2);
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                joined += "<BR>";
                ++i;
            } else {
                joined += text[i];
            }
        }
        text = std::move(joined);
    }
    grid.SetText(column + 1, row + 1, std::move(text));
    return true;
}

} // namespace xo
