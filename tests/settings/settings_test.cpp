#include "platform/cp1250.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

using namespace xo;

namespace {

// The stored string at off: length byte, then the characters.
std::string storedString(const std::vector<uint8_t> &b, size_t off) {
    return std::string(reinterpret_cast<const char *>(b.data() + off + 1), b[off]);
}

} // namespace

TEST(SettingsRecord, DefaultsSitAtTheirOffsets) {
    SetDefaultSettings();
    const auto b = SettingsToBytes(Settings);
    ASSERT_EQ(b.size(), 624u);
    const uint8_t expected[20] = {1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 0, 0x0F, 0x27, 0, 0, 1, 0, 0, 0};
    for (size_t i = 0; i < 20; ++i) EXPECT_EQ(b[i], expected[i]) << "offset " << i;
    EXPECT_EQ(b[20], 0);
    EXPECT_EQ(b[221], 0);
    EXPECT_EQ(b[422], 0);
    EXPECT_EQ(b[623], 0);
}

TEST(SettingsRecord, EveryFieldHasItsOwnOffset) {
    TSettings s;
    s.BAKs = false;
    s.ReadWins = false;
    s.Format = false;
    s.ColTags = false;
    s.SwtLine = false;
    s.RunTip = false;
    s.IExpNahled = false;
    s.OleNahled = false;
    s.ShortTitle = true;
    s.ShortSwitch = true;
    s.TipNumber = -2;
    s.ComCtl32Paint = true;
    s.BrowsersNetscape = "/usr/bin/firefox";
    s.BrowsersExplorer = "/usr/bin/chromium";
    s.LastMediaDir = "/home/u/media";
    const auto b = SettingsToBytes(s);
    const uint8_t flags[12] = {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1};
    for (size_t i = 0; i < 12; ++i) EXPECT_EQ(b[i], flags[i]) << "offset " << i;
    EXPECT_EQ(b[12], 0xFE);
    EXPECT_EQ(b[15], 0xFF);
    EXPECT_EQ(b[17], 1);
    EXPECT_EQ(storedString(b, 20), "/usr/bin/firefox");
    EXPECT_EQ(storedString(b, 221), "/usr/bin/chromium");
    EXPECT_EQ(storedString(b, 422), "/home/u/media");
    EXPECT_EQ(SettingsFromBytes(b.data(), b.size()), s);
}

TEST(SettingsRecord, LongPathsAreCutToTwoHundredCharacters) {
    TSettings s;
    s.BrowsersNetscape = std::string(250, 'n');
    s.LastMediaDir = std::string(201, 'm');
    EXPECT_EQ(s.BrowsersNetscape.size(), 200u);
    const auto b = SettingsToBytes(s);
    EXPECT_EQ(b[20], 200);
    EXPECT_EQ(b[221], 0); // the next field is untouched by the cut one
    EXPECT_EQ(b[422], 200);
    EXPECT_EQ(b[623], 0);
}

TEST(SettingsRecord, ADamagedLengthByteIsCutToTheCapacity) {
    std::vector<uint8_t> b(624, 'x');
    b[20] = 255;
    const TSettings s = SettingsFromBytes(b.data(), b.size());
    EXPECT_EQ(s.BrowsersNetscape.size(), 200u);
    // A short block reads as zeros rather than past its end.
    const TSettings shortOne = SettingsFromBytes(b.data(), 10);
    EXPECT_EQ(shortOne.TipNumber, 0);
    EXPECT_TRUE(shortOne.LastMediaDir.empty());
}

TEST(EditorColors, SixtyFourLittleEndianBytesWithTheDefaults) {
    EditorColors.fill(0x12345678);
    SetDefaultSettings();
    const uint32_t def[8] = {0xFFFFFF, 0xFFFF00, 0x00FF00, 0x0000FF, 0x808080, 0x00FFFF, 0x000000, 0x808080};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(EditorColors[i], def[i]);
    EXPECT_EQ(EditorColors[8], 0x12345678u); // unused entries stay as they were
    const auto b = EditorColorsToBytes(EditorColors);
    ASSERT_EQ(b.size(), 64u);
    EXPECT_EQ(b[4], 0x00);
    EXPECT_EQ(b[5], 0xFF);
    EXPECT_EQ(b[6], 0xFF);
    EXPECT_EQ(b[7], 0x00);
    EXPECT_EQ(b[12], 0xFF); // red is 0x0000FF
    EXPECT_EQ(EditorColorsFromBytes(b.data(), b.size()), EditorColors);
}

TEST(TextStyles, LayoutDefaultsAndCapacities) {
    SetDefaultSettings();
    EXPECT_EQ(TextStyles[1].Nazev.str(), cp1250::fromUtf8("&Modrý tučný text"));
    EXPECT_EQ(TextStyles[1].Pred.str(), "<FONT color=\"#0000ff\"><B>");
    EXPECT_EQ(TextStyles[1].Za.str(), "</B></FONT>");
    EXPECT_EQ(TextStyles[2].Nazev.str(), cp1250::fromUtf8("Červená &kurzíva"));
    EXPECT_EQ(TextStyles[2].Pred.str(), "<FONT color=\"#ff0000\"><I>");
    EXPECT_EQ(TextStyles[2].Za.str(), "</I></FONT>");
    EXPECT_EQ(TextStyles[2].Nazev.str()[0], '\xC8'); // Č in code page 1250

    TTextStyle t{std::string(40, 'n'), std::string(90, 'p'), std::string(50, 'z')};
    const auto b = TextStyleToBytes(t);
    ASSERT_EQ(b.size(), 153u);
    EXPECT_EQ(b[0], 30);
    EXPECT_EQ(b[31], 80);
    EXPECT_EQ(b[112], 40);
    EXPECT_EQ(TextStyleFromBytes(b.data(), b.size()), t);
}

TEST(UserTags, LayoutDefaultsAndCapacities) {
    SetDefaultSettings();
    EXPECT_EQ(UserTags[1].Name.str(), "Odkaz na Xo!");
    EXPECT_EQ(UserTags[1].Tag.str(), "A");
    EXPECT_EQ(UserTags[1].Pars.str().rfind("href=\"", 0), 0u);
    EXPECT_EQ(UserTags[1].Text.str().rfind("<IMG src=\"", 0), 0u);
    EXPECT_TRUE(UserTags[1].Text.str().ends_with("\" border=0>"));
    EXPECT_TRUE(UserTags[1].Pair);
    EXPECT_EQ(UserTags[2], (TUserTag{"Copyright", "", "", "^COPY", false}));
    EXPECT_EQ(UserTags[3].Name.str(), cp1250::fromUtf8("Poslední aktualizace"));
    EXPECT_EQ(UserTags[3].Tag.str(), "CENTER");
    EXPECT_EQ(UserTags[3].Text.str(), cp1250::fromUtf8("Poslední aktualizace: ^DATUM; ^CAS"));
    EXPECT_TRUE(UserTags[3].Pair);

    TUserTag t{std::string(31, 'a'), std::string(16, 'b'), std::string(101, 'c'), std::string(100, 'd'), true};
    const auto b = UserTagToBytes(t);
    ASSERT_EQ(b.size(), 250u);
    EXPECT_EQ(b[0], 30);
    EXPECT_EQ(b[31], 15);
    EXPECT_EQ(b[47], 100);
    EXPECT_EQ(b[148], 100);
    EXPECT_EQ(b[249], 1);
    EXPECT_EQ(UserTagFromBytes(b.data(), b.size()), t);
}

TEST(SetDefaultSettings, KeepsEntriesItDoesNotNameAndRefillsTheRest) {
    SetDefaultSettings();
    TextStyles[3] = {"Loaded", "<S>", "</S>"};
    UserTags[4] = {"Mine", "Q", "", "", true};
    TextStyles[1].Nazev = "changed";
    Settings.TipNumber = 3;
    CustomColors = {"x"};
    SpecialOpenSave = true;
    SetDefaultSettings();
    EXPECT_EQ(TextStyles[3].Nazev.str(), "Loaded");
    EXPECT_EQ(UserTags[4].Name.str(), "Mine");
    EXPECT_EQ(TextStyles[1].Pred.str(), "<FONT color=\"#0000ff\"><B>");
    EXPECT_EQ(TextStyles[1].Nazev.str(), cp1250::fromUtf8("&Modrý tučný text"));
    EXPECT_EQ(Settings.TipNumber, 9999);
    EXPECT_FALSE(SpecialOpenSave);
    ASSERT_EQ(CustomColors.size(), 16);
    EXPECT_EQ(CustomColors[0], "000000");
    EXPECT_EQ(CustomColors[10], "A00000");
    EXPECT_EQ(CustomColors[15], "F00000");
}
