#include "cell_data.h"

#include "tag_builders.h"

namespace xo {

bool WarnSpanChange = true;
std::string TableTag;

std::array<uint8_t, CellData::kSize> CellData::Pack() const {
    std::array<uint8_t, kSize> b{};
    b[0] = IsDefault;
    b[1] = Align;
    b[2] = Valign;
    b[3] = HasColor;
    for (int i = 0; i < 4; ++i) b[size_t(4 + i)] = uint8_t(uint32_t(Color) >> (8 * i));
    b[8] = NoWrap;
    b[9] = uint8_t(RowSpan);
    b[10] = uint8_t(ColSpan);
    return b;
}

CellData CellData::Unpack(const uint8_t *b) {
    CellData d;
    d.IsDefault = b[0] != 0;
    d.Align = b[1];
    d.Valign = b[2];
    d.HasColor = b[3] != 0;
    d.Color = int32_t(uint32_t(b[4]) | uint32_t(b[5]) << 8 | uint32_t(b[6]) << 16 | uint32_t(b[7]) << 24);
    d.NoWrap = b[8] != 0;
    d.RowSpan = int8_t(b[9]);
    d.ColSpan = int8_t(b[10]);
    return d;
}

std::string CellAttributes(const CellData &d) {
    if (d.IsDefault) return {};
    static const char *const aligns[] = {" align=left", " align=right", " align=center"};
    static const char *const valigns[] = {" valign=center", " valign=top", " valign=bottom", " valign=baseline"};
    std::string a;
    if (d.Align < 3) a += aligns[d.Align];
    if (d.Valign < 4) a += valigns[d.Valign];
    if (d.NoWrap) a += " nowrap";
    if (d.HasColor) a += " bgcolor=\"" + ColorToHex(d.Color) + "\"";
    if (d.RowSpan >= 0) a += " rowspan=" + std::to_string(d.RowSpan);
    if (d.ColSpan >= 0) a += " colspan=" + std::to_string(d.ColSpan);
    return a;
}

std::string TableTagOf(const TableValues &v) {
    std::string t = "<TABLE";
    if (v.border != -1) t += " border=" + std::to_string(v.border);
    if (v.cellSpacing != -1) t += " cellspacing=" + std::to_string(v.cellSpacing);
    if (v.cellPadding != -1) t += " cellpadding=" + std::to_string(v.cellPadding);
    if (v.width != -1) t += " width=" + std::to_string(v.width) + "%";
    if (v.color != -1) t += " bgcolor=\"" + ColorToHex(v.color) + "\"";
    return t + ">";
}

} // namespace xo
