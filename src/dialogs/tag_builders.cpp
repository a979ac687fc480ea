#include "tag_builders.h"

#include <cstdint>
#include <limits>

namespace xo {

std::string RuleTag, FontOpen, FontClose, BodyTag, ImageTag, LinkOpen, LinkClose, ULAttributes, OLAttributes,
    MarqueeAttributes, BgSoundTag, EmbedTag, AppletAttributes;

const char *const ImageAlignValues[10] = {"",       "left",      "right",    "top",    "texttop",
                                          "middle", "absmiddle", "baseline", "bottom", "absbottom"};
const char *const MarqueeBehaviors[3] = {"scroll", "slide", "alternate"};
const char *const MarqueeDirections[2] = {"left", "right"};
const char *const MarqueeAligns[3] = {"top", "middle", "bottom"};

namespace {

std::string num(int v) { return std::to_string(v); }

template <size_t N> const char *item(const char *const (&items)[N], int i) {
    return i >= 0 && size_t(i) < N ? items[i] : items[0];
}

} // namespace

std::string ColorToHex(int color) {
    static const char hex[] = "0123456789abcdef";
    const unsigned c = unsigned(color);
    std::string out = "#";
    for (int shift : {0, 8, 16}) {
        const unsigned byte = (c >> shift) & 0xFF;
        out += hex[byte >> 4];
        out += hex[byte & 15];
    }
    return out;
}

std::string NumAttr(const std::string &name, const std::string &text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i == text.size()) return {};
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return {};
        v = v * 10 + (text[i] - '0');
        if (v > int64_t(std::numeric_limits<int32_t>::max()) + 1) return {};
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<int32_t>::max()) return {};
    return " " + name + "=" + std::to_string(v);
}

std::string RuleTagOf(const RuleValues &v) {
    std::string t = "<HR";
    if (v.width > 0) t += " width=" + num(v.width) + (v.percent ? "%" : "");
    if (v.size > 0) t += " size=" + num(v.size);
    if (v.noShadow) t += " noshadow";
    static const char *const aligns[] = {"", " align=left", " align=right", " align=center"};
    if (v.align >= 1 && v.align <= 3) t += aligns[v.align];
    return t + ">";
}

std::string FontSizeText(int index) {
    if (index < 0 || index > 20) return {};
    const std::string digit(1, char('1' + index % 7));
    return index < 7 ? "+" + digit : index < 14 ? "-" + digit : digit;
}

int FontSizeIndex(const std::string &size) {
    if (size.empty()) return -1;
    int column = 2;
    size_t at = 0;
    if (size[0] == '+' || size[0] == '-') {
        column = size[0] == '+' ? 0 : 1;
        at = 1;
    }
    if (at >= size.size() || size[at] < '1' || size[at] > '7') return -1;
    return column * 7 + (size[at] - '1');
}

void FontTagsOf(const FontValues &v, std::string &open, std::string &close) {
    open = "<FONT";
    close = "</FONT>";
    if (!v.size.empty()) open += " size=\"" + v.size + "\"";
    if (!v.face.empty()) open += " face=\"" + v.face + "\"";
    if (v.color > -1) open += " color=\"" + ColorToHex(v.color) + "\"";
    open += ">";
    const std::pair<bool, const char *> inner[] = {
        {v.bold, "B"}, {v.italic, "I"}, {v.underline, "U"}, {v.blink, "BLINK"}};
    for (const auto &[on, tag] : inner)
        if (on) {
            open += std::string("<") + tag + ">";
            close = std::string("</") + tag + ">" + close;
        }
}

std::string BodyColorAttributes(const BodyColors &c) {
    std::string t;
    const std::pair<int, const char *> colors[] = {
        {c.background, " bgcolor="}, {c.text, " text="}, {c.link, " link="}, {c.visited, " vlink="}, {c.pressed, " alink="}};
    for (const auto &[color, name] : colors)
        if (color >= 0) t += name + ColorToHex(color);
    return t;
}

std::string BodyTagOf(const BodyFixValues &v) {
    std::string t = "<BODY" + BodyColorAttributes(v.colors);
    if (!v.image.empty()) t += " background=\"" + v.image + "\"";
    if (!v.onLoad.empty()) t += " onLoad=\"" + v.onLoad + "\"";
    return t + ">";
}

std::string ImageTagOf(const std::string &src, const std::string (&numbers)[5], int align) {
    std::string t = "<IMG src=\"" + src + "\"";
    const char *const names[5] = {"width", "height", "border", "vspace", "hspace"};
    for (int i = 0; i < 5; ++i) t += NumAttr(names[i], numbers[i]);
    if (align > 0 && align < 10) t += std::string(" align=") + ImageAlignValues[align];
    return t + ">";
}

std::string ImageTagOf(const ImageValues &v) {
    auto text = [](int n) { return n >= 0 ? num(n) : std::string(); };
    const std::string numbers[5] = {text(v.width), text(v.height), text(v.border), text(v.vspace), text(v.hspace)};
    return ImageTagOf(v.src, numbers, v.align);
}

void LinkTagsOf(const LinkValues &v, std::string &open, std::string &close) {
    open = "<A href=\"" + v.url + "\"";
    if (!v.target.empty()) open += " target=\"" + v.target + "\"";
    open += ">";
    close = "</A>";
}

std::string ULAttributesOf(int kind) {
    static const char *const types[] = {"", " type=circle", " type=square"};
    return kind >= 0 && kind <= 2 ? types[kind] : "";
}

std::string OLAttributesOf(int kind, int start) {
    static const char *const types[] = {"", " type=A", " type=a", " type=I", " type=i"};
    std::string a = kind >= 0 && kind <= 4 ? types[kind] : "";
    if (start != 1) a += " start=" + num(start);
    return a;
}

std::string MarqueeAttributesOf(const MarqueeValues &v) {
    std::string a = std::string(" behavior=") + item(MarqueeBehaviors, v.behavior) +
                    " direction=" + item(MarqueeDirections, v.direction);
    // Without a loop count the attribute is left out: "loop=" with nothing
    // after it would take the next attribute for its value.
    if (!v.loopText.empty()) a += " loop=" + v.loopText;
    const std::pair<int, const char *> numbers[] = {{v.scrollAmount, " scrollamount="}, {v.scrollDelay, " scrolldelay="},
                                                    {v.width, " width="},               {v.height, " height="},
                                                    {v.hspace, " hspace="},             {v.vspace, " vspace="}};
    for (const auto &[n, name] : numbers)
        if (n > 0) a += name + num(n);
    a += std::string(" align=") + item(MarqueeAligns, v.align);
    if (v.hasColor) a += " bgcolor=" + ColorToHex(v.color);
    return a;
}

std::string BgSoundTagOf(const BgSoundValues &v) {
    std::string t = "<BGSOUND src=\"" + v.src + "\"";
    if (!v.loopText.empty()) t += " loop=" + v.loopText;
    return t + ">";
}

std::string EmbedTagOf(const EmbedValues &v) {
    std::string t = "<EMBED src=\"" + v.src + "\"";
    if (v.width > 0) t += " width=" + num(v.width);
    if (v.height > 0) t += " height=" + num(v.height);
    if (!v.align.empty()) t += " align=" + v.align;
    t += v.loop >= 1 ? " loop=" + num(v.loop) : std::string(" loop=infinite");
    if (!v.autoStart.empty()) t += " autostart=" + v.autoStart;
    return t + ">";
}

std::string AppletAttributesOf(const AppletValues &v) {
    std::string a = " code=\"" + v.code + "\"";
    if (!v.codeBase.empty()) a += " codebase=\"" + v.codeBase + "\"";
    if (v.width > 0) a += " width=" + num(v.width);
    if (v.height > 0) a += " height=" + num(v.height);
    if (!v.align.empty()) a += " align=" + v.align;
    if (!v.name.empty()) a += " name=\"" + v.name + "\"";
    return a;
}

} // namespace xo
