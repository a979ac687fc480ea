// libFuzzer target: the picture size reader over any bytes. The first byte
// picks the kind (GIF, JPEG); the reader must stay inside the data, and a
// size it reports must be one a 16-bit field can hold.
#include "dialogs/image_info.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const auto kind = data[0] & 1 ? xo::ImageKind::Jpeg : xo::ImageKind::Gif;
    // An exact-size copy, so the sanitizer sees any read past the end.
    const std::string bytes(reinterpret_cast<const char *>(data + 1), size - 1);
    const xo::ImageInfo info = xo::ImageInfoFromBytes(kind, bytes);
    if (info.width < 0 || info.width > 0xFFFF || info.height < 0 || info.height > 0xFFFF) __builtin_trap();
    if (info.damaged && kind == xo::ImageKind::Gif && bytes.size() >= 10) __builtin_trap();
    return 0;
}
