#include "fold_search.h"

#include <cstring>
#include <emmintrin.h>

namespace xo {

std::string FoldAscii(std::string_view s) {
    std::string out(s);
    for (char &c : out) c = FoldAscii(c);
    return out;
}

namespace {

bool isLower(unsigned char c) { return c >= 'a' && c <= 'z'; }

// The bytes of 16 that may be `c` in any case: a letter compared with its
// case bit set (a few other bytes pass too, and are ruled out after).
inline unsigned candidates(__m128i bytes, unsigned char c) {
    if (isLower(c)) bytes = _mm_or_si128(bytes, _mm_set1_epi8(0x20));
    return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(char(c)))));
}

inline bool matchesAt(const char *p, std::string_view folded) {
    for (size_t k = 0; k < folded.size(); ++k)
        if (FoldAscii(p[k]) != folded[k]) return false;
    return true;
}

} // namespace

size_t FindFolded(const char *hay, size_t n, std::string_view folded) {
    const size_t m = folded.size();
    if (m == 0 || m > n) return std::string_view::npos;
    const unsigned char first = static_cast<unsigned char>(folded[0]), last = static_cast<unsigned char>(folded[m - 1]);
    const size_t starts = n - m + 1; // places a match may start at
    size_t i = 0;
    // Sixteen places at a time, each judged by its first and its last byte.
    for (; i + 16 <= starts; i += 16) {
        unsigned mask = candidates(_mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + i)), first) &
                        candidates(_mm_loadu_si128(reinterpret_cast<const __m128i *>(hay + i + m - 1)), last);
        while (mask) {
            const int bit = __builtin_ctz(mask);
            if (matchesAt(hay + i + size_t(bit), folded)) return i + size_t(bit);
            mask &= mask - 1;
        }
    }
    for (; i < starts; ++i)
        if (FoldAscii(hay[i]) == char(first) && matchesAt(hay + i, folded)) return i;
    return std::string_view::npos;
}

} // namespace xo
