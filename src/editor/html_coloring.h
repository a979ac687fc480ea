#pragma once
// HTML colouring of the editor, as pure functions: the state carried from
// character to character and line to line, the colour runs of one line, and
// the backward scan that finds the state at a line start without colouring
// everything before it.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace xo {

struct ColorState {
    bool inTag = false;
    bool inString = false;
    bool inNumber = false;
    bool inComment = false;
    bool operator==(const ColorState &) const = default;
};

// Colour indexes into EditorColors.
enum ColorIndex {
    ciText = 0, ciTag = 1, ciString = 2, ciNumber = 3, ciComment = 4, ciSelText = 5
};

struct ColorRun {
    int length;
    int color;
    bool selected; // drawn in ciSelText on the selection background
    bool operator==(const ColorRun &) const = default;
};

// Colours one line (without its line end), starting from `state` and
// leaving the state at its end there. Characters from selFrom up to selTo
// (columns of this line, may lie outside it) are selected.
// With `first` and `last`, only the characters from first up to last are
// coloured (the runs cover just them); the others are context, so a part
// of a long line colours as it would within the whole line.
std::vector<ColorRun> ColorLine(std::string_view line, ColorState &state, bool coloring, int selFrom = 0,
                                int selTo = 0, int first = 0, int last = -1);

// The state at the start of the text position `pos` (1-based), found by
// scanning backwards to the nearest tag boundary, but no further than
// `limit` characters. charAt(p) gives the character at 1-based position p.
ColorState ColorStateBefore(const std::function<char(int)> &charAt, int pos, int limit = 1 << 30);

// How far the editor looks back for the colouring state: a page of a
// document without tags costs no more than this.
constexpr int kColorScanLimit = 1 << 16;

// Whether a document counts as HTML for colouring: unnamed, or "HTM"
// anywhere in its path in capitals.
bool IsHtmlDocument(const std::string &fileNameUpper);

} // namespace xo
