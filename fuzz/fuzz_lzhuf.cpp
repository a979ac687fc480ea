// libFuzzer target: any file image given to the LZHUF reader.
#include "settings/compress_file.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // Declared contents beyond 64 KB only make a run slow, not different:
    // the caps themselves are checked by the tests.
    if (size >= 4 && (uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24) > 65536)
        return 0;
    std::vector<uint8_t> content;
    if (xo::TCompressFile::Unpack(data, size, content) && size >= 4) {
        // What was accepted must stay within what the header and the caps allow.
        const uint32_t n = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24;
        if (content.size() != n || n > xo::TCompressFile::kMaxContent) __builtin_trap();
    }
    return 0;
}
