#pragma once
// LZHUF: LZSS over a 4096-byte ring with a 60-byte look-ahead, its output
// coded with an adaptive Huffman tree; the published parameters, so that
// files interoperate with the published coder.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xo::lzhuf {

// The code for `size` bytes (no length header); bits most significant first,
// the last byte padded with zero bits.
std::vector<uint8_t> Encode(const uint8_t *data, size_t size);

// Decodes exactly `size` bytes from the code. Bits past the end of the code
// read as zero; false when such bits were needed (a truncated code).
bool Decode(const uint8_t *code, size_t codeSize, size_t size, std::vector<uint8_t> &out);

// The most bytes `codeSize` bytes of code can stand for: every 60 bytes of
// output need at least 10 bits.
size_t MaxDecodedSize(size_t codeSize);

} // namespace xo::lzhuf
