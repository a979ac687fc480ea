#pragma once
// The values the tag dialogs edit and the HTML built from them. Text values
// are document text (code page 1250); colours are 0x00BBGGRR, -1 for none;
// numbers are -1 when not given.

#include <string>

namespace xo {

// "#rrggbb" in lower case.
std::string ColorToHex(int color);

// " name=N" when the text holds a whole number (leading blanks and a sign
// allowed, within 32 bits), else "".
std::string NumAttr(const std::string &name, const std::string &text);

struct RuleValues {
    int width = -1, size = -1;
    bool noShadow = false;
    int align = 0; // 0 none, 1 left, 2 right, 3 center
    bool percent = false;
};
std::string RuleTagOf(const RuleValues &v);

// The font dialog's 21 sizes: "+1".."+7", "-1".."-7", "1".."7".
std::string FontSizeText(int index);
// The item a size text selects; -1 for none (empty, or a digit outside 1..7).
int FontSizeIndex(const std::string &size);

struct FontValues {
    std::string size;
    bool bold = false, italic = false;
    std::string face;
    int color = -1;
    bool blink = false, underline = false;
};
void FontTagsOf(const FontValues &v, std::string &open, std::string &close);

// Colours of a page body in the order the dialogs keep them.
struct BodyColors {
    int pressed = -1, visited = -1, link = -1, text = -1, background = -1;
};

// " bgcolor=#rrggbb text=... link=... vlink=... alink=...", each colour that is set.
std::string BodyColorAttributes(const BodyColors &c);

struct BodyValues {
    std::string title, image;
    int baseFont = 3;
    BodyColors colors;
};

struct BodyFixValues {
    std::string image, onLoad;
    BodyColors colors;
};
std::string BodyTagOf(const BodyFixValues &v);

struct ImageValues {
    std::string src;
    int width = -1, height = -1;
    int align = 0; // index into ImageAlignments
    int hspace = -1, vspace = -1, border = -1;
};
extern const char *const ImageAlignValues[10]; // "" for "žádné", then left, right, ...
// The tag from the src reference, the five number fields' texts (width,
// height, border, vspace, hspace) and the alignment.
std::string ImageTagOf(const std::string &src, const std::string (&numbers)[5], int align);
std::string ImageTagOf(const ImageValues &v);

struct LinkValues {
    std::string url, target;
};
void LinkTagsOf(const LinkValues &v, std::string &open, std::string &close);

std::string ULAttributesOf(int kind);
std::string OLAttributesOf(int kind, int start);

extern const char *const MarqueeBehaviors[3];
extern const char *const MarqueeDirections[2];
extern const char *const MarqueeAligns[3];
struct MarqueeValues {
    int behavior = 0, direction = 0;
    int loop = -1;
    std::string loopText = "infinite"; // as typed; written as it stands
    int color = -1;
    bool hasColor = false;
    int align = 0;
    int vspace = -1, hspace = -1, scrollDelay = -1, scrollAmount = -1, height = -1, width = -1;
};
std::string MarqueeAttributesOf(const MarqueeValues &v);

struct BgSoundValues {
    std::string src;
    int loop = -1;
    std::string loopText = "infinite";
};
std::string BgSoundTagOf(const BgSoundValues &v);

struct EmbedValues {
    std::string src;
    int width = -1, height = -1;
    std::string autoStart = "true", align;
    int loop = -1;
};
std::string EmbedTagOf(const EmbedValues &v);

struct AppletValues {
    std::string code, codeBase;
    int width = -1;
    std::string name, align;
    int height = -1;
};
std::string AppletAttributesOf(const AppletValues &v);

// The dialogs' results, kept until their dialog is used again.
extern std::string RuleTag, FontOpen, FontClose, BodyTag, ImageTag, LinkOpen, LinkClose, ULAttributes,
    OLAttributes, MarqueeAttributes, BgSoundTag, EmbedTag, AppletAttributes;

} // namespace xo
