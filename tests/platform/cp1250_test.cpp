#include "platform/cp1250.h"

#include <gtest/gtest.h>
#include <set>

using namespace xo;

TEST(Cp1250, EveryByteSurvivesARoundTripAndMapsToADistinctCharacter) {
    std::set<char16_t> seen;
    for (int b = 0; b < 256; ++b) {
        const char16_t u = cp1250::toUnicode(static_cast<unsigned char>(b));
        EXPECT_TRUE(seen.insert(u).second) << "byte " << b << " shares its character";
        EXPECT_EQ(cp1250::fromUnicode(u), b) << "byte " << b;
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(cp1250::encode(cp1250::decode(one)), one);
    }
}

TEST(Cp1250, AsciiIsItselfAndTheUndefinedBytesAreTheirC1Controls) {
    for (int b = 0; b < 128; ++b) EXPECT_EQ(cp1250::toUnicode(static_cast<unsigned char>(b)), char16_t(b));
    for (int b : {0x81, 0x83, 0x88, 0x90, 0x98}) EXPECT_EQ(cp1250::toUnicode(static_cast<unsigned char>(b)), char16_t(b));
}

TEST(Cp1250, CzechLettersHaveTheirCodePageBytes) {
    const QString letters = QStringLiteral("ěščřžýáíéúůďťňóĚŠČŘŽÝÁÍÉÚŮĎŤŇÓ");
    const unsigned char bytes[] = {0xEC, 0x9A, 0xE8, 0xF8, 0x9E, 0xFD, 0xE1, 0xED, 0xE9, 0xFA, 0xF9, 0xEF, 0x9D, 0xF2, 0xF3,
                                   0xCC, 0x8A, 0xC8, 0xD8, 0x8E, 0xDD, 0xC1, 0xCD, 0xC9, 0xDA, 0xD9, 0xCF, 0x8D, 0xD2, 0xD3};
    const std::string expected(reinterpret_cast<const char *>(bytes), sizeof bytes);
    EXPECT_EQ(cp1250::encode(letters), expected);
    EXPECT_EQ(cp1250::decode(expected), letters);
}

TEST(Cp1250, CharactersWithoutACodeBecomeQuestionMarks) {
    EXPECT_EQ(cp1250::fromUnicode(U'ñ'), -1);
    EXPECT_EQ(cp1250::encode(QStringLiteral("añb")), "a?b");
    EXPECT_EQ(cp1250::encode(QStringLiteral("x😀y")), "x?y"); // one character outside the BMP: one mark
    EXPECT_EQ(cp1250::encode(QStringLiteral("Ω")), "?");
}
