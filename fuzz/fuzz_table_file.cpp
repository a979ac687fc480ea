// libFuzzer target: the table file reader over any content (already
// unpacked). A file it takes must hold a grid within the caps; what it
// refuses leaves the grid cleared.
#include "settings/compress_file.h"
#include "tables/table_grid.h"

#include <QString>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    xo::TCompressFile f(xo::TCompressFile::Unpacked{}, std::vector<uint8_t>(data, data + size));
    xo::TTableGrid grid;
    xo::TableSettings s;
    const bool ok = xo::ReadTableContent(f, grid, s);
    if (grid.RowCount() > xo::TTableGrid::kMaxRows + 1 || grid.ColCount() > xo::TTableGrid::kMaxCols + 1)
        __builtin_trap();
    if (!ok && !grid.Text(1, 1).empty()) __builtin_trap();
    return 0;
}
