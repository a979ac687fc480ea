#pragma once
// A gap buffer: a contiguous array with one hole that follows the edits, so
// that a series of edits near one place costs O(1) amortised.

#include <algorithm>
#include <cassert>
#include <cstring>
#include <memory>
#include <type_traits>

namespace xo {

template <class T>
class GapVector {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    GapVector() = default;
    GapVector(GapVector &&) noexcept = default;
    GapVector &operator=(GapVector &&) noexcept = default;

    // Takes over `data` holding `size` elements with room for `capacity`.
    void adopt(std::unique_ptr<T[]> data, size_t size, size_t capacity) {
        buf_ = std::move(data);
        cap_ = capacity;
        gapStart_ = size;
        gapLen_ = capacity - size;
    }

    size_t size() const { return cap_ - gapLen_; }
    bool empty() const { return size() == 0; }
    size_t capacity() const { return cap_; }

    T operator[](size_t i) const { return i < gapStart_ ? buf_[i] : buf_[i + gapLen_]; }
    T &ref(size_t i) { return i < gapStart_ ? buf_[i] : buf_[i + gapLen_]; }

    void insert(size_t pos, const T *data, size_t n) {
        if (n == 0) return;
        assert(pos <= size());
        if (n > gapLen_) grow(n);
        moveGap(pos);
        std::memcpy(buf_.get() + gapStart_, data, n * sizeof(T));
        gapStart_ += n;
        gapLen_ -= n;
    }
    void insert(size_t pos, T value) { insert(pos, &value, 1); }

    void erase(size_t pos, size_t n) {
        if (n == 0) return;
        assert(pos + n <= size());
        if (pos == gapStart_) {
            gapLen_ += n; // the common case after typing: no move at all
            return;
        }
        if (pos + n == gapStart_) {
            gapStart_ = pos;
            gapLen_ += n;
            return;
        }
        moveGap(pos);
        gapLen_ += n;
    }

    // Copies n elements from pos into out.
    void copy(size_t pos, size_t n, T *out) const {
        assert(pos + n <= size());
        if (pos < gapStart_) {
            const size_t first = std::min(n, gapStart_ - pos);
            std::memcpy(out, buf_.get() + pos, first * sizeof(T));
            out += first;
            pos += first;
            n -= first;
        }
        if (n) std::memcpy(out, buf_.get() + pos + gapLen_, n * sizeof(T));
    }

    size_t gapStart() const { return gapStart_; }
    // The two stretches of content, before and after the gap.
    const T *firstPart() const { return buf_.get(); }
    size_t firstSize() const { return gapStart_; }
    const T *secondPart() const { return buf_.get() + gapStart_ + gapLen_; }
    size_t secondSize() const { return cap_ - gapStart_ - gapLen_; }

    // The whole content in one piece (moves the gap to the end).
    const T *contiguous() {
        moveGap(size());
        return buf_.get();
    }

    void moveGap(size_t pos) {
        if (pos == gapStart_) return;
        T *b = buf_.get();
        if (pos < gapStart_)
            std::memmove(b + pos + gapLen_, b + pos, (gapStart_ - pos) * sizeof(T));
        else
            std::memmove(b + gapStart_, b + gapStart_ + gapLen_, (pos - gapStart_) * sizeof(T));
        gapStart_ = pos;
    }

private:
    void grow(size_t needed) {
        const size_t n = size();
        // A gap of about 1/16 of the content keeps memory small while
        // making reallocations rare.
        const size_t gap = std::max<size_t>({needed, n / 16, 4096 / sizeof(T) + 16});
        auto nb = std::make_unique_for_overwrite<T[]>(n + gap);
        copy(0, gapStart_, nb.get());
        const size_t tail = n - gapStart_;
        if (tail) std::memcpy(nb.get() + gapStart_ + gap, secondPart(), tail * sizeof(T));
        buf_ = std::move(nb);
        cap_ = n + gap;
        gapLen_ = gap;
    }

    std::unique_ptr<T[]> buf_;
    size_t cap_ = 0;
    size_t gapStart_ = 0;
    size_t gapLen_ = 0;
};

} // namespace xo
