#include "utf8_text.h"

#include "platform/cp1250.h"

#include <QList>
#include <cstring>
#include <array>

namespace xo {

namespace {

// The length and code point of the sequence at p, or 0 for an invalid one
// (overlong forms, surrogates and values above U+10FFFF are invalid).
int decode(const unsigned char *p, size_t n, char32_t &cp) {
    const unsigned char c = p[0];
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    int len;
    char32_t min;
    if ((c & 0xE0) == 0xC0) len = 2, cp = c & 0x1F, min = 0x80;
    else if ((c & 0xF0) == 0xE0) len = 3, cp = c & 0x0F, min = 0x800;
    else if ((c & 0xF8) == 0xF0) len = 4, cp = c & 0x07, min = 0x10000;
    else return 0;
    if (size_t(len) > n) return 0;
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        cp = cp << 6 | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

std::string reference(char32_t cp) { return "&#" + std::to_string(uint32_t(cp)) + ";"; }

// Code-page bytes for the characters below U+2200 (every one the code page
// has); 0 for none (NUL is ASCII and never looked up here).
const std::array<unsigned char, 0x2200> &byteTable() {
    static const std::array<unsigned char, 0x2200> table = [] {
        std::array<unsigned char, 0x2200> t{};
        for (char32_t c = 0x80; c < 0x2200; ++c) {
            const int b = cp1250::fromUnicode(c);
            t[c] = b > 0 ? static_cast<unsigned char>(b) : 0;
        }
        return t;
    }();
    return table;
}

// The end of the ASCII run from i, eight bytes at a time where it can.
size_t asciiRun(const unsigned char *p, size_t i, size_t n) {
    while (i + 8 <= n) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ull) break;
        i += 8;
    }
    while (i < n && p[i] < 0x80) ++i;
    return i;
}

} // namespace

bool IsUtf8Text(const char *data, size_t n, bool &bom) {
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    bom = n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
    size_t i = bom ? 3 : 0;
    bool multiByte = false;
    while (i < n) {
        // ASCII runs are the common case.
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        char32_t cp;
        const int len = decode(p + i, n - i, cp);
        if (!len) return false; // invalid: the file is code page 1250 (even with a mark)
        multiByte = true;
        i += size_t(len);
    }
    return bom || multiByte;
}

size_t Cp1250SizeOfUtf8(const char *data, size_t n) {
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    size_t size = 0;
    for (size_t i = 0; i < n;) {
        char32_t cp;
        const int len = p[i] < 0x80 ? (cp = p[i], 1) : decode(p + i, n - i, cp);
        if (!len) {
            ++size;
            ++i;
            continue;
        }
        size += cp < 0x80 || cp1250::fromUnicode(cp) >= 0 ? 1 : reference(cp).size();
        i += size_t(len);
    }
    return size;
}

std::string Utf8ToCp1250(const char *data, size_t n, int &references) {
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    std::string out;
    out.reserve(Cp1250SizeOfUtf8(data, n));
    references = 0;
    for (size_t i = 0; i < n;) {
        if (p[i] < 0x80) {
            out += char(p[i++]);
            continue;
        }
        char32_t cp;
        const int len = decode(p + i, n - i, cp);
        if (!len) { // not reached for valid input; kept byte for byte
            out += char(p[i++]);
            continue;
        }
        const int b = cp1250::fromUnicode(cp);
        if (b >= 0) {
            out += char(b);
        } else {
            out += reference(cp);
            ++references;
        }
        i += size_t(len);
    }
    return out;
}

bool ConvertUtf8Document(std::unique_ptr<char[]> &buffer, size_t n, size_t &capacity, size_t (*room)(size_t),
                         size_t &size, bool &bom, int &references) {
    const auto *p = reinterpret_cast<const unsigned char *>(buffer.get());
    bom = n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF;
    const size_t start = bom ? 3 : 0;
    // First the check, reading only: nothing may change unless it is all UTF-8.
    const size_t first = asciiRun(p, start, n);
    if (first == n && !bom) return false;
    for (size_t i = first; i < n;) {
        if (p[i] < 0x80) {
            i = asciiRun(p, i, n);
            continue;
        }
        char32_t cp;
        const int len = decode(p + i, n - i, cp);
        if (!len) return false;
        i += size_t(len);
    }
    // Then the conversion, in place: the text only shrinks, except where a
    // reference would overtake what is still to be read (then a new buffer).
    const auto &table = byteTable();
    char *dst = buffer.get();
    std::unique_ptr<char[]> other;
    size_t o = 0, cap = capacity;
    int refs = 0;
    std::memmove(dst, dst + start, first - start);
    o = first - start;
    for (size_t i = first; i < n;) {
        if (p[i] < 0x80) {
            const size_t end = asciiRun(p, i, n);
            std::memmove(dst + o, p + i, end - i);
            o += end - i;
            i = end;
            continue;
        }
        if ((p[i] & 0xE0) == 0xC0 && i + 1 < n) {
            const char32_t c = char32_t(p[i] & 0x1F) << 6 | (p[i + 1] & 0x3F);
            if (table[c]) {
                dst[o++] = char(table[c]);
                i += 2;
                continue;
            }
        }
        char32_t cp;
        const int len = decode(p + i, n - i, cp);
        const int b = cp < 0x2200 ? (table[cp] ? table[cp] : -1) : cp1250::fromUnicode(cp);
        if (b >= 0) {
            dst[o++] = char(b);
            i += size_t(len);
            continue;
        }
        const std::string r = reference(cp);
        if (!other && o + r.size() > i + size_t(len)) {
            // The rest goes to a buffer of its own, read from the old one.
            cap = o + (n - i) * 4 + room(n);
            other = std::make_unique_for_overwrite<char[]>(cap);
            std::memcpy(other.get(), dst, o);
            dst = other.get();
        }
        std::memcpy(dst + o, r.data(), r.size());
        o += r.size();
        ++refs;
        i += size_t(len);
    }
    if (other) buffer = std::move(other);
    capacity = cap;
    size = o;
    references = refs;
    return true;
}

int Cp1250ByteToUtf8(unsigned char byte, char out[3]) {
    const char16_t u = cp1250::toUnicode(byte);
    if (u < 0x80) {
        out[0] = char(u);
        return 1;
    }
    if (u < 0x800) {
        out[0] = char(0xC0 | (u >> 6));
        out[1] = char(0x80 | (u & 0x3F));
        return 2;
    }
    out[0] = char(0xE0 | (u >> 12));
    out[1] = char(0x80 | ((u >> 6) & 0x3F));
    out[2] = char(0x80 | (u & 0x3F));
    return 3;
}

std::string Cp1250ToUtf8(const std::string &text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    char seq[3];
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        out.append(seq, size_t(Cp1250ByteToUtf8(c, seq)));
    }
    return out;
}

std::string DocumentTextOf(const QString &text, bool references) {
    if (!references) return cp1250::encode(text);
    std::string out;
    for (char32_t cp : text.toUcs4()) {
        const int b = cp1250::fromUnicode(cp);
        out += b >= 0 ? std::string(1, char(b)) : reference(cp);
    }
    return out;
}

} // namespace xo
