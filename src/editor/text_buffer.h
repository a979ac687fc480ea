#pragma once
#include <climits>
#include <utility>
#include <array>
// The document's bytes and an index of where its lines start. Only the pair
// CR LF ends a line; a lone CR or LF is an ordinary character. Offsets here
// are 0-based; the editor's 1-based positions are built on top.

#include "gap_vector.h"

#include <string>
#include <string_view>
#include <vector>

namespace xo {

// Starts of lines 0..n-1 (line 0 starts at 0). Entries after the "step"
// still owe a pending shift, so a run of edits in one line shifts the rest
// of the document lazily, as in Scintilla's partitioning.
class LineIndex {
public:
    LineIndex();
    void reset(const std::vector<int> &starts);
    void reset(const int *starts, size_t n);

    int count() const { return int(starts_.size()); }
    int start(int line) const {
        const int v = starts_[size_t(line)];
        return line > step_ ? v + stepLength_ : v;
    }
    // The last line whose start is at or before offset. `textSize` lets the
    // search begin where evenly long lines would put the offset.
    int lineOf(int offset, int textSize = 0) const;

    // Lines after `line` move by delta.
    void shiftAfter(int line, int delta);
    void insertLine(int line, int startOffset);
    void eraseLines(int first, int n);

private:
    void moveStepTo(int line);
    GapVector<int> starts_;
    int step_ = 0;        // entries with an index above this owe stepLength_
    int stepLength_ = 0;
};

class TextBuffer {
public:
    TextBuffer() = default;

    int size() const { return int(text_.size()); }
    // NUL outside the text.
    char at(int offset) const {
        return offset >= 0 && offset < size() ? text_[size_t(offset)] : '\0';
    }

    void insert(int offset, std::string_view s);
    void erase(int offset, int n);
    // Replaces everything; `data` holds `size` bytes with room for `capacity`.
    // `lineStarts`, when the caller knows them, saves a scan.
    void adopt(std::unique_ptr<char[]> data, size_t size, size_t capacity, std::vector<int> lineStarts = {});
    void assign(std::string_view s);

    // Moves the gap at most `maxBytes` toward `offset` (0-based); true when it is there.
    bool moveGapToward(int offset, int maxBytes);

    std::string copy(int offset, int n) const;
    // Appends n bytes from offset to `out`.
    void appendTo(int offset, int n, std::string &out) const;
    std::string_view contiguous();
    // Rewrites every byte through the table in place; the table must keep
    // CR and LF (the line index stays as it is).
    void mapBytes(const std::array<char, 256> &table);
    // The two stretches around the gap; writing them needs no move.
    std::string_view firstPart() const { return {text_.firstPart(), text_.firstSize()}; }
    std::string_view secondPart() const { return {text_.secondPart(), text_.secondSize()}; }
    // First occurrence of needle at or after from, or -1; with `anyCase`
    // the needle is given folded (FoldAscii) and A–Z match in any case.
    int find(std::string_view needle, int from, bool anyCase = false) const;

    // Grows with every change of the text, so that a copy taken in pieces
    // can tell whether it is still whole.
    unsigned long long revision() const { return revision_; }
    // The lowest offset changed since the last call (INT_MAX: none), for
    // state derived from the text up to a place (the spelling's context).
    int takeChangedFrom() { return std::exchange(changedFrom_, INT_MAX); }

    int lineCount() const { return lines_.count(); }
    int lineStart(int line) const { return lines_.start(line); }
    int lineOf(int offset) const { return lines_.lineOf(offset, size()); }

private:
    bool crlfAt(int i) const { return at(i) == '\r' && at(i + 1) == '\n'; }
    void rebuildIndex();
    GapVector<char> text_;
    unsigned long long revision_ = 0;
    int changedFrom_ = 0;
    LineIndex lines_;
};

} // namespace xo
