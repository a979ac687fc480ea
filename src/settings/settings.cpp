#include "settings.h"

#include "compress_file.h"

#include "fixed_record.h"
#include "platform/cp1250.h"

namespace xo {

TSettings Settings;
TEditorColors EditorColors{};
TTextStyles TextStyles;
TUserTags UserTags;
QStringList CustomColors;
QStringList PredefinedDirs;
bool SpecialOpenSave = false;
TSpellingState SpellingState;

void TSpellingState::Load(TCompressFile &f) {
    if (!ReadSectionTag(f, "Spelling")) return;
    Check = f.ReadBoolean();
    NbspCharacter = f.ReadBoolean();
}

void TSpellingState::Save(TCompressFile &f) const {
    f.WriteString("Spelling");
    f.WriteBoolean(Check);
    f.WriteBoolean(NbspCharacter);
}

namespace {
constexpr size_t kNetscape = 20, kExplorer = 221, kMediaDir = 422;
}

void SetDefaultSettings() {
    Settings = TSettings{};

    const uint32_t colors[8] = {0xFFFFFF, 0xFFFF00, 0x00FF00, 0x0000FF, 0x808080, 0x00FFFF, 0x000000, 0x808080};
    for (int i = 0; i < 8; ++i) EditorColors[i] = colors[i];

    using cp1250::fromUtf8;
    TextStyles[1] = {fromUtf8("&Modrý tučný text"), "<FONT color=\"#0000ff\"><B>", "</B></FONT>"};
    TextStyles[2] = {fromUtf8("Červená &kurzíva"), "<FONT color=\"#ff0000\"><I>", "</I></FONT>"};

    UserTags[1] = {fromUtf8("Odkaz na Xo!"), "A", "href=\"http://xo.example.org/\"",
                   "<IMG src=\"http://xo.example.org/xo-badge.gif\" border=0>", true};
    UserTags[2] = {"Copyright", "", "", "^COPY", false};
    UserTags[3] = {fromUtf8("Poslední aktualizace"), "CENTER", "",
                   fromUtf8("Poslední aktualizace: ^DATUM; ^CAS"), true};

    CustomColors.clear();
    for (int k = 0; k < 16; ++k) CustomColors << QString::number(k, 16).toUpper() + QStringLiteral("00000");

    // Only very old systems wanted the special dialogs by default.
    SpecialOpenSave = false;
}

std::vector<uint8_t> SettingsToBytes(const TSettings &s) {
    RecordWriter w(TSettings::kSize);
    w.flag(0, s.BAKs);
    w.flag(1, s.ReadWins);
    w.flag(2, s.Format);
    w.flag(3, s.ColTags);
    w.u8(4, s.Reserved4);
    w.u8(5, s.Reserved5);
    w.flag(6, s.SwtLine);
    w.flag(7, s.RunTip);
    w.flag(8, s.IExpNahled);
    w.flag(9, s.OleNahled);
    w.flag(10, s.ShortTitle);
    w.flag(11, s.ShortSwitch);
    w.i32(12, s.TipNumber);
    w.u8(16, s.Reserved16);
    w.flag(17, s.ComCtl32Paint);
    w.u8(18, s.Reserved18);
    w.u8(19, s.Reserved19);
    w.str(kNetscape, s.BrowsersNetscape);
    w.str(kExplorer, s.BrowsersExplorer);
    w.str(kMediaDir, s.LastMediaDir);
    w.u8(623, s.Reserved623);
    return w.take();
}

TSettings SettingsFromBytes(const uint8_t *data, size_t size) {
    RecordReader r(data, size);
    TSettings s;
    s.BAKs = r.flag(0);
    s.ReadWins = r.flag(1);
    s.Format = r.flag(2);
    s.ColTags = r.flag(3);
    s.Reserved4 = r.u8(4);
    s.Reserved5 = r.u8(5);
    s.SwtLine = r.flag(6);
    s.RunTip = r.flag(7);
    s.IExpNahled = r.flag(8);
    s.OleNahled = r.flag(9);
    s.ShortTitle = r.flag(10);
    s.ShortSwitch = r.flag(11);
    s.TipNumber = r.i32(12);
    s.Reserved16 = r.u8(16);
    s.ComCtl32Paint = r.flag(17);
    s.Reserved18 = r.u8(18);
    s.Reserved19 = r.u8(19);
    s.BrowsersNetscape = r.str(kNetscape, 200);
    s.BrowsersExplorer = r.str(kExplorer, 200);
    s.LastMediaDir = r.str(kMediaDir, 200);
    s.Reserved623 = r.u8(623);
    return s;
}

std::vector<uint8_t> EditorColorsToBytes(const TEditorColors &c) {
    RecordWriter w(64);
    for (size_t i = 0; i < 16; ++i) w.u32(4 * i, c[i]);
    return w.take();
}

TEditorColors EditorColorsFromBytes(const uint8_t *data, size_t size) {
    RecordReader r(data, size);
    TEditorColors c{};
    for (size_t i = 0; i < 16; ++i) c[i] = r.u32(4 * i);
    return c;
}

std::vector<uint8_t> TextStyleToBytes(const TTextStyle &t) {
    RecordWriter w(TTextStyle::kSize);
    w.str(0, t.Nazev);
    w.str(31, t.Pred);
    w.str(112, t.Za);
    return w.take();
}

TTextStyle TextStyleFromBytes(const uint8_t *data, size_t size) {
    RecordReader r(data, size);
    return {r.str(0, 30), r.str(31, 80), r.str(112, 40)};
}

std::vector<uint8_t> UserTagToBytes(const TUserTag &t) {
    RecordWriter w(TUserTag::kSize);
    w.str(0, t.Name);
    w.str(31, t.Tag);
    w.str(47, t.Pars);
    w.str(148, t.Text);
    w.flag(249, t.Pair);
    return w.take();
}

TUserTag UserTagFromBytes(const uint8_t *data, size_t size) {
    RecordReader r(data, size);
    return {r.str(0, 30), r.str(31, 15), r.str(47, 100), r.str(148, 100), r.flag(249)};
}

} // namespace xo
