// libFuzzer target: a configuration file of any content. The input is the
// uncompressed content, so the fuzzer reaches the reader of every section;
// it is packed the way the program packs it and read back.
#include "documents/config_content.h"
#include "settings/compress_file.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::vector<uint8_t> content(data, data + size);
    xo::TCompressFile f(xo::TCompressFile::Pack(content));
    xo::ConfigContent c;
    xo::ReadConfig(f, c);
    return 0;
}
