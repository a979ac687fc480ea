#pragma once
// Finding a text with the letters A–Z in any case, at the speed of a plain
// scan: the program's one idea of "any case" (accented letters match only
// themselves), used by find, replace-all and the search in files.

#include <cstddef>
#include <string>
#include <string_view>

namespace xo {

// A..Z become a..z; every other byte stays.
inline char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }
std::string FoldAscii(std::string_view s);

// The first place of `folded` (already folded) in hay[0, n), any case; npos when none.
size_t FindFolded(const char *hay, size_t n, std::string_view folded);

} // namespace xo
