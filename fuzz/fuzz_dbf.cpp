// libFuzzer target: the DBF reader over any DBF and memo file. The input's
// first two bytes give the DBF's length; the rest after it is the memo file
// (none when the first byte's high bit is set). The values go into a grid
// as the import puts them; nothing may read outside the data or grow the
// grid beyond its caps.
#include "tables/dbf_reader.h"
#include "tables/table_grid.h"

#include <QString>
#include <cstdint>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    const bool memo = !(data[0] & 0x80);
    const size_t dbfLength = std::min<size_t>(size - 2, size_t((data[0] & 0x7F) << 8 | data[1]));
    const std::string dbf(reinterpret_cast<const char *>(data + 2), dbfLength);
    const std::string fpt(reinterpret_cast<const char *>(data + 2 + dbfLength), size - 2 - dbfLength);
    xo::TMemorySource d(dbf);
    std::optional<xo::TMemorySource> m;
    if (memo) m.emplace(fpt);
    xo::TTableGrid grid;
    xo::TableSettings s;
    s.numRows = s.numCols = "2";
    xo::ApplyTableSize(grid, s);
    int values = 0;
    xo::ReadDbf(
        d, m ? &*m : nullptr,
        [&](int c, int r, std::string text) {
            if (c < 0 || c >= 200 || r < 0) __builtin_trap();
            ++values;
            return xo::DbfValueToGrid(grid, s, c, r, std::move(text));
        },
        [](const QString &) {});
    if (grid.RowCount() > xo::TTableGrid::kMaxRows + 1 || grid.ColCount() > 201) __builtin_trap();
    return 0;
}
