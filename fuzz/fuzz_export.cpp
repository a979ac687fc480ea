// libFuzzer target: the text export over any text. The text never grows:
// tags and scripts only go, and every entity is replaced by something shorter.
#include "tools/text_tools.h"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    int strays = -1;
    const std::string out = xo::ExportedText(text, strays);
    if (strays < 0 || size_t(strays) > size) __builtin_trap();
    if (out.size() > size) __builtin_trap();
    return 0;
}
