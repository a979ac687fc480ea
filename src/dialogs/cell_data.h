#pragma once
// The options of a table cell or row and the TABLE start tag: the values
// the table, row and cell dialogs edit and the attribute text built from them.

#include <array>
#include <cstdint>
#include <string>

namespace xo {

struct CellData {
    bool IsDefault = true;  // no options: no attribute text
    uint8_t Align = 255;    // 0 left, 1 right, 2 center, 255 none
    uint8_t Valign = 255;   // 0 center, 1 top, 2 bottom, 3 baseline, 255 none
    bool HasColor = false;
    int32_t Color = 0;      // red + 256 green + 65536 blue
    bool NoWrap = false;
    int8_t RowSpan = -1, ColSpan = -1;

    static constexpr size_t kSize = 12;
    // The 12-byte block of the table file; byte 11 is padding (written 0, ignored).
    std::array<uint8_t, kSize> Pack() const;
    static CellData Unpack(const uint8_t *block);
    bool operator==(const CellData &) const = default;
};

// " align=left valign=top nowrap bgcolor=\"#rrggbb\" rowspan=2 colspan=3",
// each part when set; "" for default options.
std::string CellAttributes(const CellData &d);

// A cell's or row's options with their attribute text.
class TCellDataObject {
public:
    TCellDataObject() = default; // default options, no text
    explicit TCellDataObject(const CellData &d) : Data(d) { Rebuild(); }
    void Rebuild() { Text = CellAttributes(Data); }
    CellData Data;
    std::string Text;
};

// True while the cell dialog warns that spans need hand work; cleared for
// the rest of the run by the warning's "No".
extern bool WarnSpanChange;

struct TableValues {
    int border = -1, width = -1, cellSpacing = -1, cellPadding = -1;
    int color = -1;
    // The full form's generation choices.
    bool firstRow = true, firstCol = false, doubleSpace = true, endTags = false;
};
// "<TABLE border=1 cellspacing=2 cellpadding=3 width=50% bgcolor=\"#ff0000\">", each part when given.
std::string TableTagOf(const TableValues &v);

// The table dialog's result, kept until it is used again.
extern std::string TableTag;

} // namespace xo
