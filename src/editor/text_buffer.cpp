#include "text_buffer.h"

#include "fold_search.h"

#include <algorithm>
#include <cstring>

namespace xo {

LineIndex::LineIndex() { reset({0}); }

void LineIndex::reset(const std::vector<int> &starts) { reset(starts.data(), starts.size()); }

void LineIndex::reset(const int *starts, size_t n) {
    auto data = std::make_unique_for_overwrite<int[]>(n + n / 16 + 64);
    std::memcpy(data.get(), starts, n * sizeof(int));
    starts_.adopt(std::move(data), n, n + n / 16 + 64);
    step_ = int(n) - 1;
    stepLength_ = 0;
}

int LineIndex::lineOf(int offset, int textSize) const {
    const int n = count();
    int lo = 0, hi = n - 1; // the answer lies in [lo, hi]
    if (textSize > 0 && n > 64) {
        // Guess from the average line length, then widen the bracket
        // around the guess: a few neighbouring reads instead of a search
        // through the whole (cache-cold) index.
        int g = int(int64_t(std::clamp(offset, 0, textSize)) * (n - 1) / textSize);
        int step = 8;
        if (start(g) <= offset) {
            lo = g;
            while (lo + step < n && start(lo + step) <= offset) {
                lo += step;
                step *= 2;
            }
            hi = std::min(n - 1, lo + step - 1);
        } else {
            hi = g - 1;
            while (hi - step >= 0 && start(hi - step + 1) > offset) {
                hi -= step;
                step *= 2;
            }
            lo = std::max(0, hi - step + 1);
        }
    }
    while (lo < hi) {
        const int mid = lo + (hi - lo + 1) / 2;
        if (start(mid) <= offset)
            lo = mid;
        else
            hi = mid - 1;
    }
    return lo;
}

void LineIndex::moveStepTo(int line) {
    if (stepLength_ == 0) {
        step_ = line;
        return;
    }
    if (line > step_) {
        for (int i = step_ + 1; i <= line; ++i) starts_.ref(size_t(i)) += stepLength_;
    } else {
        for (int i = line + 1; i <= step_; ++i) starts_.ref(size_t(i)) -= stepLength_;
    }
    step_ = line;
    if (step_ >= count() - 1) { // nothing owes anything any more
        step_ = count() - 1;
        stepLength_ = 0;
    }
}

void LineIndex::shiftAfter(int line, int delta) {
    if (line >= count() - 1 || delta == 0) return;
    // Keep the step where the last edits were: moving it costs the lines between.
    moveStepTo(line);
    stepLength_ += delta;
}

void LineIndex::insertLine(int line, int startOffset) {
    // The new entry lands at `line`; entries at or after it move up one index.
    if (line <= step_) {
        starts_.insert(size_t(line), startOffset);
        ++step_;
    } else {
        starts_.insert(size_t(line), startOffset - stepLength_);
    }
}

void LineIndex::eraseLines(int first, int n) {
    if (n <= 0) return;
    if (first <= step_) moveStepTo(first - 1);
    starts_.erase(size_t(first), size_t(n));
    if (step_ >= count() - 1) {
        step_ = count() - 1;
        stepLength_ = 0;
    }
}

void TextBuffer::insert(int offset, std::string_view s) {
    ++revision_;
    changedFrom_ = std::min(changedFrom_, offset);
    if (s.empty()) return;
    const int n = int(s.size());
    // Text between a CR and its LF breaks that line end.
    if (crlfAt(offset - 1)) lines_.eraseLines(lines_.lineOf(offset + 1), 1);
    const int line = lines_.lineOf(offset);
    lines_.shiftAfter(line, n);
    text_.insert(size_t(offset), s.data(), s.size());
    // New pairs can only stand from the character before the insertion to its last one.
    int next = line + 1;
    const int from = std::max(offset - 1, 0);
    const int to = offset + n; // last possible CR index is offset + n - 1
    const char *p = s.data();
    if (from < offset && crlfAt(from)) lines_.insertLine(next++, from + 2);
    for (const char *lf = static_cast<const char *>(std::memchr(p, '\n', s.size())); lf;
         lf = static_cast<const char *>(std::memchr(lf + 1, '\n', size_t(p + s.size() - lf - 1)))) {
        const int i = offset + int(lf - p); // the LF's offset
        if (i > offset && s[size_t(i - offset - 1)] == '\r') lines_.insertLine(next++, i + 1);
    }
    if (crlfAt(to - 1) && to - 1 >= offset) lines_.insertLine(next++, to + 1);
}

void TextBuffer::erase(int offset, int n) {
    ++revision_;
    changedFrom_ = std::min(changedFrom_, offset);
    if (n <= 0) return;
    // Line ends that lose their CR or their LF: starts in offset+1 .. offset+n+1.
    const int line = lines_.lineOf(offset);
    int first = line + 1, last = first;
    while (last < lines_.count() && lines_.start(last) <= offset + n + 1) ++last;
    lines_.eraseLines(first, last - first);
    lines_.shiftAfter(line, -n);
    text_.erase(size_t(offset), size_t(n));
    // A CR before the hole and an LF after it now form a pair.
    if (crlfAt(offset - 1)) lines_.insertLine(first, offset + 1);
}

void TextBuffer::adopt(std::unique_ptr<char[]> data, size_t size, size_t capacity, std::vector<int> lineStarts) {
    ++revision_;
    changedFrom_ = 0;
    text_.adopt(std::move(data), size, capacity);
    if (lineStarts.empty())
        rebuildIndex();
    else
        lines_.reset(lineStarts);
}

void TextBuffer::assign(std::string_view s) {
    ++revision_;
    const size_t cap = s.size() + s.size() / 16 + 4096;
    auto data = std::make_unique_for_overwrite<char[]>(cap);
    std::memcpy(data.get(), s.data(), s.size());
    adopt(std::move(data), s.size(), cap);
}

void TextBuffer::rebuildIndex() {
    std::vector<int> starts{0};
    starts.reserve(size_t(size()) / 32 + 16);
    auto scan = [&](std::string_view part, int base) {
        if (part.empty()) return;
        const char *p = part.data();
        const char *end = p + part.size();
        for (const char *lf = static_cast<const char *>(std::memchr(p, '\n', part.size())); lf;
             lf = static_cast<const char *>(std::memchr(lf + 1, '\n', size_t(end - lf - 1)))) {
            const int i = base + int(lf - p);
            if ((lf > p ? lf[-1] : at(i - 1)) == '\r') starts.push_back(i + 1);
            if (lf + 1 >= end) break;
        }
    };
    scan(firstPart(), 0);
    scan(secondPart(), int(text_.firstSize()));
    lines_.reset(starts);
}

std::string TextBuffer::copy(int offset, int n) const {
    std::string s(size_t(n), '\0');
    text_.copy(size_t(offset), size_t(n), s.data());
    return s;
}

bool TextBuffer::moveGapToward(int offset, int maxBytes) {
    const size_t target = size_t(std::clamp(offset, 0, size()));
    const size_t gap = text_.gapStart();
    if (gap == target) return true;
    const size_t step = std::min(size_t(maxBytes), gap < target ? target - gap : gap - target);
    text_.moveGap(gap < target ? gap + step : gap - step); // the text stays the same: no revision
    return text_.gapStart() == target;
}

void TextBuffer::appendTo(int offset, int n, std::string &out) const {
    const size_t at = out.size();
    out.resize(at + size_t(n));
    text_.copy(size_t(offset), size_t(n), out.data() + at);
}

std::string_view TextBuffer::contiguous() { return {text_.contiguous(), text_.size()}; }

int TextBuffer::find(std::string_view needle, int from, bool anyCase) const {
    if (needle.empty() || from < 0) return -1;
    auto search = [&](std::string_view hay, size_t at) -> long {
        if (at >= hay.size()) return -1;
        if (anyCase) {
            const size_t hit = FindFolded(hay.data() + at, hay.size() - at, needle);
            return hit == std::string_view::npos ? -1 : long(at + hit);
        }
        const void *hit = memmem(hay.data() + at, hay.size() - at, needle.data(), needle.size());
        return hit ? long(static_cast<const char *>(hit) - hay.data()) : -1;
    };
    const std::string_view a = firstPart(), b = secondPart();
    const int split = int(a.size());
    if (from < split) {
        const long hit = search(a, size_t(from));
        if (hit >= 0) return int(hit);
        // A match may straddle the gap.
        const int k = int(needle.size()) - 1;
        const int bs = std::max(from, split - k);
        if (bs < split) {
            const std::string around = copy(bs, std::min(size() - bs, split - bs + k));
            const size_t at = anyCase ? FindFolded(around.data(), around.size(), needle) : around.find(needle);
            if (at != std::string::npos) return bs + int(at);
        }
        from = split;
    }
    const long hit = search(b, size_t(from - split));
    return hit < 0 ? -1 : split + int(hit);
}

} // namespace xo

namespace xo {

void TextBuffer::mapBytes(const std::array<char, 256> &table) {
    ++revision_;
    changedFrom_ = 0;
    // The buffer is ours: the contiguous view points into it.
    char *p = const_cast<char *>(contiguous().data());
    for (int i = 0; i < size(); ++i) p[i] = table[static_cast<unsigned char>(p[i])];
}

} // namespace xo
