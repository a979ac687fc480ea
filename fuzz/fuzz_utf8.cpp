// libFuzzer target: the UTF-8 document conversion over any bytes. A file it
// takes as UTF-8 and converts without references must come back byte for
// byte when written as UTF-8 again; one it refuses must be left untouched.
#include "editor/utf8_text.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace {
size_t room(size_t n) { return n / 32 + 64; }
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    size_t capacity = size + room(size);
    auto buffer = std::make_unique<char[]>(capacity);
    std::memcpy(buffer.get(), data, size);
    size_t n = 0;
    bool bom = false;
    int references = 0;
    const bool utf8 = xo::ConvertUtf8Document(buffer, size, capacity, room, n, bom, references);
    if (!utf8) {
        if (std::memcmp(buffer.get(), data, size) != 0) __builtin_trap();
        return 0;
    }
    if (n > capacity) __builtin_trap();
    const std::string cp(buffer.get(), n);
    if (references == 0) {
        const std::string back = (bom ? "\xEF\xBB\xBF" : "") + xo::Cp1250ToUtf8(cp);
        if (back.size() != size || std::memcmp(back.data(), data, size) != 0) __builtin_trap();
    }
    int again = 0;
    const std::string slow = xo::Utf8ToCp1250(reinterpret_cast<const char *>(data) + (bom ? 3 : 0), size - (bom ? 3 : 0), again);
    if (slow != cp || again != references) __builtin_trap();
    return 0;
}
