#pragma once
// Little-endian fixed-size record blocks with length-prefixed strings, the
// byte layout the configuration and table files keep.

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace xo {

// A text field of a fixed record: like the stored form, it never holds more
// than N bytes, so a value is cut the moment it is assigned.
template <size_t N>
class ShortString {
public:
    static constexpr size_t kCapacity = N;
    ShortString() = default;
    ShortString(std::string s) { assign(std::move(s)); }
    ShortString(const char *s) { assign(std::string(s)); }
    ShortString &operator=(std::string s) {
        assign(std::move(s));
        return *this;
    }
    ShortString &operator=(const char *s) { return *this = std::string(s); }
    const std::string &str() const { return s_; }
    operator const std::string &() const { return s_; }
    bool empty() const { return s_.empty(); }
    size_t size() const { return s_.size(); }
    bool operator==(const ShortString &) const = default;

private:
    void assign(std::string s) {
        if (s.size() > N) s.resize(N);
        s_ = std::move(s);
    }
    std::string s_;
};

class RecordWriter {
public:
    explicit RecordWriter(size_t size) : bytes_(size, 0) {}
    void u8(size_t off, uint8_t v) { bytes_.at(off) = v; }
    void flag(size_t off, bool v) { u8(off, v ? 1 : 0); }
    void i32(size_t off, int32_t v) { u32(off, static_cast<uint32_t>(v)); }
    void u32(size_t off, uint32_t v) {
        for (int i = 0; i < 4; ++i) u8(off + i, static_cast<uint8_t>(v >> (8 * i)));
    }
    template <size_t N>
    void str(size_t off, const ShortString<N> &s) { str(off, s.str(), N); }
    // One length byte, then `capacity` bytes; longer texts are cut.
    void str(size_t off, const std::string &s, size_t capacity) {
        const size_t n = s.size() < capacity ? s.size() : capacity;
        u8(off, static_cast<uint8_t>(n));
        if (off + 1 + capacity > bytes_.size()) throw std::out_of_range("record string");
        std::memcpy(bytes_.data() + off + 1, s.data(), n);
    }
    const std::vector<uint8_t> &bytes() const { return bytes_; }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

class RecordReader {
public:
    RecordReader(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    uint8_t u8(size_t off) const { return off < size_ ? data_[off] : 0; }
    bool flag(size_t off) const { return u8(off) != 0; }
    uint32_t u32(size_t off) const {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t(u8(off + i)) << (8 * i);
        return v;
    }
    int32_t i32(size_t off) const { return static_cast<int32_t>(u32(off)); }
    // A length byte above the capacity (a damaged record) is cut to it.
    std::string str(size_t off, size_t capacity) const {
        size_t n = u8(off);
        if (n > capacity) n = capacity;
        std::string s;
        s.reserve(n);
        for (size_t i = 0; i < n; ++i) s.push_back(static_cast<char>(u8(off + 1 + i)));
        return s;
    }

private:
    const uint8_t *data_;
    size_t size_;
};

} // namespace xo
