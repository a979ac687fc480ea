#include "lzhuf.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace xo::lzhuf {

namespace {

constexpr int N = 4096;        // ring buffer
constexpr int F = 60;          // look-ahead
constexpr int THRESHOLD = 2;   // longer matches are coded as matches
constexpr int NIL = N;         // no node in the search trees
constexpr int N_CHAR = 256 - THRESHOLD + F; // 314 symbols
constexpr int T = N_CHAR * 2 - 1;           // nodes of the Huffman tree
constexpr int R = T - 1;                    // its root
constexpr unsigned MAX_FREQ = 0x8000;

// The static prefix code of a position's upper six bits: lengths 3..8,
// codes assigned canonically in increasing order.
struct PositionCode {
    std::array<uint8_t, 64> length{};
    std::array<uint8_t, 64> code{};
    PositionCode() {
        unsigned c = 0;
        int len = 3;
        for (int u = 0; u < 64; ++u) {
            const int want = u < 1 ? 3 : u < 4 ? 4 : u < 12 ? 5 : u < 24 ? 6 : u < 48 ? 7 : 8;
            if (u > 0) ++c;
            c <<= (want - len);
            len = want;
            length[size_t(u)] = uint8_t(len);
            code[size_t(u)] = uint8_t(c);
        }
    }
};
const PositionCode &positionCode() {
    static const PositionCode p;
    return p;
}

// The adaptive Huffman tree: nodes in order of frequency, sibling pairs at
// (2k, 2k + 1), leaves marked by son >= T.
class Huffman {
public:
    Huffman() {
        for (int i = 0; i < N_CHAR; ++i) {
            freq[size_t(i)] = 1;
            son[size_t(i)] = i + T;
            prnt[size_t(i + T)] = i;
        }
        for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
            freq[size_t(j)] = freq[size_t(i)] + freq[size_t(i + 1)];
            son[size_t(j)] = i;
            prnt[size_t(i)] = prnt[size_t(i + 1)] = j;
        }
        freq[T] = 0xFFFF; // a sentinel larger than any real frequency
        prnt[R] = 0;
    }

    void update(int c) {
        if (freq[R] == MAX_FREQ) rebuild();
        c = prnt[size_t(c + T)];
        do {
            const unsigned k = ++freq[size_t(c)];
            // Keep the order: move the node past the ones it now outweighs.
            int l = c + 1;
            if (k > freq[size_t(l)]) {
                while (k > freq[size_t(++l)]) {
                }
                --l;
                freq[size_t(c)] = freq[size_t(l)];
                freq[size_t(l)] = k;
                const int i = son[size_t(c)];
                prnt[size_t(i)] = l;
                if (i < T) prnt[size_t(i + 1)] = l;
                const int j = son[size_t(l)];
                son[size_t(l)] = i;
                prnt[size_t(j)] = c;
                if (j < T) prnt[size_t(j + 1)] = c;
                son[size_t(c)] = j;
                c = l;
            }
            c = prnt[size_t(c)];
        } while (c != 0);
    }

    std::array<unsigned, T + 1> freq{};
    std::array<int, T + N_CHAR> prnt{};
    std::array<int, T> son{};

private:
    // Halves the leaves' frequencies and builds the tree anew.
    void rebuild() {
        int j = 0;
        for (int i = 0; i < T; ++i) {
            if (son[size_t(i)] >= T) {
                freq[size_t(j)] = (freq[size_t(i)] + 1) / 2;
                son[size_t(j)] = son[size_t(i)];
                ++j;
            }
        }
        for (int i = 0, k = N_CHAR; k < T; i += 2, ++k) {
            const unsigned f = freq[size_t(i)] + freq[size_t(i + 1)];
            int at = k - 1;
            while (f < freq[size_t(at)]) --at;
            ++at;
            // Shift whole elements (the published code moved half of them on wide ints).
            std::copy_backward(freq.begin() + at, freq.begin() + k, freq.begin() + k + 1);
            std::copy_backward(son.begin() + at, son.begin() + k, son.begin() + k + 1);
            freq[size_t(at)] = f;
            son[size_t(at)] = i;
        }
        for (int i = 0; i < T; ++i) {
            const int k = son[size_t(i)];
            if (k >= T)
                prnt[size_t(k)] = i;
            else
                prnt[size_t(k)] = prnt[size_t(k + 1)] = i;
        }
    }
};

class BitWriter {
public:
    std::vector<uint8_t> out;
    // Writes the lowest `len` bits of `bits`, the highest of them first.
    void put(uint32_t bits, int len) {
        for (int i = len - 1; i >= 0; --i) {
            acc_ = uint8_t((acc_ << 1) | ((bits >> i) & 1u));
            if (++n_ == 8) {
                out.push_back(acc_);
                acc_ = 0;
                n_ = 0;
            }
        }
    }
    void flush() {
        if (n_ > 0) out.push_back(uint8_t(acc_ << (8 - n_)));
        acc_ = 0;
        n_ = 0;
    }

private:
    uint8_t acc_ = 0;
    int n_ = 0;
};

class BitReader {
public:
    BitReader(const uint8_t *p, size_t n) : p_(p), n_(n) {}
    // Past the end of the code every bit is zero.
    unsigned bit() {
        const size_t byte = pos_ >> 3;
        const unsigned b = byte < n_ ? (p_[byte] >> (7 - (pos_ & 7))) & 1u : 0u;
        ++pos_;
        return b;
    }
    unsigned bits(int n) {
        unsigned v = 0;
        while (n-- > 0) v = (v << 1) | bit();
        return v;
    }
    bool exhausted() const { return (pos_ >> 3) > n_ || ((pos_ >> 3) == n_ && (pos_ & 7) != 0); }

private:
    const uint8_t *p_;
    size_t n_;
    size_t pos_ = 0;
};

// The binary search trees over the ring buffer that find the longest match.
class MatchFinder {
public:
    std::array<uint8_t, N + F - 1> text{};
    int matchLength = 0;
    int matchPosition = 0;

    MatchFinder() {
        lson.fill(NIL);
        rson.fill(NIL);
        dad.fill(NIL);
    }

    void insert(int r) {
        int cmp = 1;
        const uint8_t *key = &text[size_t(r)];
        int p = N + 1 + key[0];
        rson[size_t(r)] = lson[size_t(r)] = NIL;
        matchLength = 0;
        for (;;) {
            if (cmp >= 0) {
                if (rson[size_t(p)] != NIL) {
                    p = rson[size_t(p)];
                } else {
                    rson[size_t(p)] = r;
                    dad[size_t(r)] = p;
                    return;
                }
            } else {
                if (lson[size_t(p)] != NIL) {
                    p = lson[size_t(p)];
                } else {
                    lson[size_t(p)] = r;
                    dad[size_t(r)] = p;
                    return;
                }
            }
            int i = 1;
            for (; i < F; ++i)
                if ((cmp = int(key[i]) - int(text[size_t(p + i)])) != 0) break;
            if (i > THRESHOLD) {
                const int distance = ((r - p) & (N - 1)) - 1;
                if (i > matchLength) {
                    matchPosition = distance;
                    if ((matchLength = i) >= F) break;
                }
                // Among equally long matches the nearest one wins.
                if (i == matchLength && distance < matchPosition) matchPosition = distance;
            }
        }
        // A full-length match: the new string takes the old node's place.
        dad[size_t(r)] = dad[size_t(p)];
        lson[size_t(r)] = lson[size_t(p)];
        rson[size_t(r)] = rson[size_t(p)];
        dad[size_t(lson[size_t(p)])] = r;
        dad[size_t(rson[size_t(p)])] = r;
        if (rson[size_t(dad[size_t(p)])] == p)
            rson[size_t(dad[size_t(p)])] = r;
        else
            lson[size_t(dad[size_t(p)])] = r;
        dad[size_t(p)] = NIL;
    }

    void remove(int p) {
        if (dad[size_t(p)] == NIL) return;
        int q;
        if (rson[size_t(p)] == NIL) {
            q = lson[size_t(p)];
        } else if (lson[size_t(p)] == NIL) {
            q = rson[size_t(p)];
        } else {
            q = lson[size_t(p)];
            if (rson[size_t(q)] != NIL) {
                do {
                    q = rson[size_t(q)];
                } while (rson[size_t(q)] != NIL);
                rson[size_t(dad[size_t(q)])] = lson[size_t(q)];
                dad[size_t(lson[size_t(q)])] = dad[size_t(q)];
                lson[size_t(q)] = lson[size_t(p)];
                dad[size_t(lson[size_t(p)])] = q;
            }
            rson[size_t(q)] = rson[size_t(p)];
            dad[size_t(rson[size_t(p)])] = q;
        }
        dad[size_t(q)] = dad[size_t(p)];
        if (rson[size_t(dad[size_t(p)])] == p)
            rson[size_t(dad[size_t(p)])] = q;
        else
            lson[size_t(dad[size_t(p)])] = q;
        dad[size_t(p)] = NIL;
    }

private:
    // Roots of the 256 trees (one per first byte) live at N + 1 + byte.
    std::array<int, N + 1> lson{};
    std::array<int, N + 257> rson{};
    std::array<int, N + 1> dad{};
};

void encodeSymbol(Huffman &h, BitWriter &w, int c) {
    // The path from the leaf up to the root gives the code from its last bit.
    uint32_t code = 0;
    int len = 0;
    int k = h.prnt[size_t(c + T)];
    do {
        code |= uint32_t(k & 1) << len;
        ++len;
        k = h.prnt[size_t(k)];
    } while (k != R);
    w.put(code, len);
    h.update(c);
}

void encodePosition(BitWriter &w, int p) {
    const PositionCode &pc = positionCode();
    const int u = p >> 6;
    w.put(pc.code[size_t(u)], pc.length[size_t(u)]);
    w.put(uint32_t(p & 0x3F), 6);
}

int decodeSymbol(Huffman &h, BitReader &r) {
    int c = h.son[R];
    while (c < T) c = h.son[size_t(c + int(r.bit()))];
    c -= T;
    h.update(c);
    return c;
}

int decodePosition(BitReader &r) {
    const PositionCode &pc = positionCode();
    unsigned code = 0;
    int len = 0;
    // Canonical prefix code: grow the code until it names an entry of its length.
    for (;;) {
        code = (code << 1) | r.bit();
        ++len;
        if (len < 3) continue;
        for (int u = 0; u < 64; ++u)
            if (pc.length[size_t(u)] == len && pc.code[size_t(u)] == code) return (u << 6) | int(r.bits(6));
        if (len >= 8) return int(r.bits(6)); // cannot happen: the code is complete
    }
}

} // namespace

size_t MaxDecodedSize(size_t codeSize) { return codeSize * 8 / 10 * F + F; }

std::vector<uint8_t> Encode(const uint8_t *data, size_t size) {
    BitWriter w;
    if (size == 0) return {};
    Huffman h;
    auto m = std::make_unique<MatchFinder>();
    auto &text = m->text;
    int s = 0, r = N - F;
    std::fill(text.begin(), text.begin() + r, uint8_t(' '));
    size_t in = 0;
    int len = 0;
    for (; len < F && in < size; ++len) text[size_t(r + len)] = data[in++];
    for (int i = 1; i <= F; ++i) m->insert(r - i);
    m->insert(r);
    do {
        if (m->matchLength > len) m->matchLength = len;
        int emitted;
        if (m->matchLength <= THRESHOLD) {
            emitted = 1;
            encodeSymbol(h, w, text[size_t(r)]);
        } else {
            emitted = m->matchLength;
            encodeSymbol(h, w, 255 - THRESHOLD + emitted);
            encodePosition(w, m->matchPosition);
        }
        int i = 0;
        for (; i < emitted && in < size; ++i) {
            const uint8_t c = data[in++];
            m->remove(s);
            text[size_t(s)] = c;
            if (s < F - 1) text[size_t(s + N)] = c; // the mirror that lets comparisons run past the end
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            m->insert(r);
        }
        while (i++ < emitted) {
            m->remove(s);
            s = (s + 1) & (N - 1);
            r = (r + 1) & (N - 1);
            if (--len) m->insert(r);
        }
    } while (len > 0);
    w.flush();
    return std::move(w.out);
}

bool Decode(const uint8_t *code, size_t codeSize, size_t size, std::vector<uint8_t> &out) {
    out.assign(size, 0);
    if (size == 0) return true;
    Huffman h;
    BitReader bits(code, codeSize);
    std::array<uint8_t, N> ring;
    ring.fill(' ');
    int r = N - F;
    size_t count = 0;
    while (count < size) {
        const int c = decodeSymbol(h, bits);
        if (c < 256) {
            out[count++] = uint8_t(c);
            ring[size_t(r)] = uint8_t(c);
            r = (r + 1) & (N - 1);
        } else {
            const int from = (r - decodePosition(bits) - 1) & (N - 1);
            const int length = c - 255 + THRESHOLD;
            for (int k = 0; k < length && count < size; ++k) {
                const uint8_t b = ring[size_t((from + k) & (N - 1))];
                out[count++] = b;
                ring[size_t(r)] = b;
                r = (r + 1) & (N - 1);
            }
        }
    }
    // A complete code never needs bits beyond its last byte.
    return !bits.exhausted();
}

} // namespace xo::lzhuf
