#pragma once
// The user's preferences: program-wide records with a fixed byte layout that
// the configuration file stores as it is. In memory they are ordinary
// types; the *ToBytes / *FromBytes functions give the stored form.

#include "fixed_record.h"

#include <QStringList>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace xo {

// Strings hold code page 1250 bytes.
struct TSettings {
    static constexpr size_t kSize = 624;

    bool BAKs = true;          // 0
    bool ReadWins = true;      // 1
    bool Format = true;        // 2
    bool ColTags = true;       // 3
    uint8_t Reserved4 = 1;     // 4
    uint8_t Reserved5 = 0;     // 5
    bool SwtLine = true;       // 6
    bool RunTip = true;        // 7
    bool IExpNahled = true;    // 8
    bool OleNahled = true;     // 9
    bool ShortTitle = false;   // 10
    bool ShortSwitch = false;  // 11
    int32_t TipNumber = 9999;  // 12..15
    uint8_t Reserved16 = 1;    // 16
    bool ComCtl32Paint = false;// 17
    uint8_t Reserved18 = 0;    // 18
    uint8_t Reserved19 = 0;    // 19
    ShortString<200> BrowsersNetscape; // 20
    ShortString<200> BrowsersExplorer; // 221
    ShortString<200> LastMediaDir;     // 422
    uint8_t Reserved623 = 0;      // 623

    bool operator==(const TSettings &) const = default;
};

struct TTextStyle {
    static constexpr size_t kSize = 153;
    ShortString<30> Nazev; // menu caption
    ShortString<80> Pred;  // before the selection
    ShortString<40> Za;    // after the selection
    bool operator==(const TTextStyle &) const = default;
};

struct TUserTag {
    static constexpr size_t kSize = 250;
    ShortString<30> Name;  // menu caption
    ShortString<15> Tag;   // tag name without brackets
    ShortString<100> Pars; // inside the opening tag
    ShortString<100> Text; // between the tags, or alone
    bool Pair = false;
    bool operator==(const TUserTag &) const = default;
};

// A table indexed 1..N as the records are numbered.
template <class T, int N>
struct OneBased {
    static constexpr int kCount = N;
    std::array<T, N> items{};
    T &operator[](int i) { return items.at(static_cast<size_t>(i - 1)); }
    const T &operator[](int i) const { return items.at(static_cast<size_t>(i - 1)); }
};

using TEditorColors = std::array<uint32_t, 16>; // 0x00BBGGRR
using TTextStyles = OneBased<TTextStyle, 50>;
using TUserTags = OneBased<TUserTag, 50>;

// Indexes into EditorColors.
enum EditorColorIndex {
    ecStdText = 0, ecTagText, ecStrText, ecNumText, ecComText, ecSelText, ecStdBackgr, ecSelBackgr
};

extern TSettings Settings;
extern TEditorColors EditorColors;
extern TTextStyles TextStyles;
extern TUserTags UserTags;
extern QStringList CustomColors;   // 16 texts "BBGGRR" in hex
extern QStringList PredefinedDirs;
extern bool SpecialOpenSave;

class TCompressFile;
// "Spelling", after the older sections: the spell check on or off, and
// whether the non-breaking spaces the typography command writes into a
// UTF-8 document are the character itself rather than "&nbsp;". An older
// configuration without it reads as checking on.
struct TSpellingState {
    bool Check = true;
    bool NbspCharacter = false;
    void Load(TCompressFile &f);
    void Save(TCompressFile &f) const;
};
extern TSpellingState SpellingState;

void SetDefaultSettings();

std::vector<uint8_t> SettingsToBytes(const TSettings &s);
TSettings SettingsFromBytes(const uint8_t *data, size_t size);
std::vector<uint8_t> EditorColorsToBytes(const TEditorColors &c);
TEditorColors EditorColorsFromBytes(const uint8_t *data, size_t size);
std::vector<uint8_t> TextStyleToBytes(const TTextStyle &t);
TTextStyle TextStyleFromBytes(const uint8_t *data, size_t size);
std::vector<uint8_t> UserTagToBytes(const TUserTag &t);
TUserTag UserTagFromBytes(const uint8_t *data, size_t size);

} // namespace xo
