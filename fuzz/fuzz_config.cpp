// libFuzzer target: a configuration file of any content, read section by
// section as the program's owners of them read it. The input is the
// uncompressed content, so the fuzzer reaches the reader of every section
// (packing it first would spend every run in the compressor).
#include "support/config_file.h"
#include "settings/compress_file.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    xo::TCompressFile f(xo::TCompressFile::Unpacked{}, std::vector<uint8_t>(data, data + size));
    xo::test::ConfigFile c;
    c.Read(f);
    return 0;
}
