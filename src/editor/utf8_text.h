#pragma once
// UTF-8 documents: the editor keeps every document in code page 1250; a
// UTF-8 file is converted when it is read and written back as UTF-8.
// Characters the code page lacks become HTML references "&#N;", which
// browsers show as the same characters.

#include <QString>
#include <cstddef>
#include <memory>
#include <string>

namespace xo {

// A byte-order mark, or valid UTF-8 with at least one multi-byte sequence.
// Pure ASCII and anything invalid is code page 1250.
bool IsUtf8Text(const char *p, size_t n, bool &bom);

// UTF-8 (without its byte-order mark) as code page 1250; `references`
// counts the characters written as "&#N;". The input must be valid UTF-8.
std::string Utf8ToCp1250(const char *p, size_t n, int &references);
// The size Utf8ToCp1250 gives, without converting.
size_t Cp1250SizeOfUtf8(const char *p, size_t n);

// The loader's conversion: when the `n` bytes in `buffer` (which has room
// for `capacity`) are UTF-8 (a byte-order mark, or valid with a multi-byte
// sequence), they are replaced by their code-page text, in place where it
// fits, and the result is true with the new size (and possibly a new, larger
// buffer with at least `room(size)` beyond the text); otherwise false and
// the bytes are untouched.
bool ConvertUtf8Document(std::unique_ptr<char[]> &buffer, size_t n, size_t &capacity, size_t (*room)(size_t),
                         size_t &size, bool &bom, int &references);

// One code-page byte as UTF-8 (1 to 3 bytes), in `out`; the count.
int Cp1250ByteToUtf8(unsigned char byte, char out[3]);
std::string Cp1250ToUtf8(const std::string &text);

// Text from the user (keys, clipboard, dialog fields) as document bytes:
// with `references`, characters the code page lacks become "&#N;",
// otherwise "?".
std::string DocumentTextOf(const QString &text, bool references);

} // namespace xo
