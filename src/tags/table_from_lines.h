#pragma once
// The table command's two insertions: a TABLE skeleton at the caret, and a
// table made from the selected lines of text, one row per line.

#include "dialogs/cell_data.h"

#include <string>

namespace xo {

// The caret ends right after "<TH>".
void InsertTableSkeleton(const std::string &tableTag);

// Every line that begins before the selection end becomes a row; cells
// start after each separator (a TAB, two spaces, or one space unless
// `doubleSpace`), tags in the text are stepped over whole.
void TableFromSelectedLines(const TableValues &v, const std::string &tableTag);

} // namespace xo
