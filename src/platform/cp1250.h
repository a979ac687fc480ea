#pragma once
// Code page 1250 (Central European), the byte encoding of every document.
// Our own table: Qt 6 offers none without ICU.

#include <QString>
#include <string>
#include <string_view>

namespace xo::cp1250 {

// The Unicode character for one byte. The five bytes the code page leaves
// undefined map to the C1 control of the same number, so every byte
// survives a round trip.
char16_t toUnicode(unsigned char byte);

// The byte for one Unicode character, or -1 when the code page has none.
int fromUnicode(char32_t ch);

QString decode(std::string_view bytes);

// Characters without a code become '?'.
std::string encode(const QString &text);

// For stored settings: the bytes when the text comes back the same, else
// nothing, so that no value is ever stored changed.
std::string encodeLossless(const QString &text);

// Convenience for UTF-8 source literals that enter a document.
std::string fromUtf8(std::string_view utf8);

} // namespace xo::cp1250
