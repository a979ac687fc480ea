#include "tag_location.h"

#include "editor/editor_core.h"
#include "platform/services.h"
#include "tags/insertion.h"

#include <QString>
#include <limits>

namespace xo {

const std::array<std::string_view, 13> EmptyTags = {"IMG",    "FRAME", "BR",  "HR",   "BASEFONT", "BGSOUND", "WBR",
                                                    "BASE",   "EMBED", "INPUT", "!",  "META",     "AREA"};
const std::array<std::string_view, 8> OptionalEndTags = {"P", "DT", "DD", "LI", "TR", "TH", "TD", "OPTION"};
const std::array<std::string_view, 22> NonNestingTags = {
    "BODY", "FRAMESET", "A",     "H1",     "H2",     "H3",       "H4",      "H5",  "H6",      "PRE",    "ADDRESS",
    "HTML", "TITLE",    "SCRIPT", "NOBR", "FORM",   "SELECT",   "TEXTAREA", "CAPTION", "MAP", "MARQUEE", "APPLET"};
const std::array<std::string_view, 4> TableInnerTags = {"TR", "TD", "TH", "CAPTION"};
const std::array<std::string_view, 2> DefinitionInnerTags = {"DD", "DT"};

namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isSpace(char c) { return c == '\n' || c == '\r' || c == ' '; } // a tab is not
char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

bool LocateTagAtCaret(const EditorCore &ed, int &tagStart, int &tagEnd) {
    int c = ed.SelStart();
    if (c <= 1) c += 1; // at the very start the first character counts as before the caret
    int p = c;
    char ch = '\0';
    do {
        --p;
        ch = p >= 1 ? ed.CharAt(p) : '\0';
        if (ch == '>') p = 0;
    } while (p > 0 && ch != '<');
    int q = c - 1;
    bool found = p > 0;
    while (found) {
        ++q;
        if (q > ed.TextLength() || ed.CharAt(q) == '<') {
            found = false;
            break;
        }
        if (ed.CharAt(q) == '>') break;
    }
    if (!found) {
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Kurzor není umístěn na žádném tagu"),
                          platform::Icon::Exclamation);
        return false;
    }
    tagStart = p;
    tagEnd = q;
    return true;
}

bool TagNameOf(std::string &text) {
    const bool endTag = !text.empty() && text[0] == '/';
    if (endTag) text.erase(0, 1);
    const size_t cut = text.find_first_of(std::string_view("\0 ->", 4));
    if (cut != std::string::npos) text.resize(cut);
    return endTag;
}

void ParseNextAttribute(const EditorCore &ed, int &p, std::string &name, std::string &value, bool &hasAttributes) {
    name.clear();
    value.clear();
    const int n = ed.TextLength();
    auto at = [&](int i) { return i >= 1 && i <= n ? ed.CharAt(i) : '\0'; };
    while (isSpace(at(p))) ++p;
    if (at(p) == '>' || at(p) == '\0') return;
    while (isLetter(at(p))) name.push_back(lower(at(p++)));
    if (!name.empty()) hasAttributes = true;
    if (name.empty()) return; // not a letter: the caller's end of the tag
    while (isSpace(at(p))) ++p;
    if (at(p) != '=') return; // an attribute without a value
    ++p;
    while (isSpace(at(p))) ++p;
    if (at(p) == '"') {
        ++p;
        while (at(p) != '"' && at(p) != '>' && at(p) != '\0') value.push_back(at(p++));
        if (at(p) == '"') ++p;
        return;
    }
    while (at(p) != '\0' && !isSpace(at(p)) && at(p) != '"' && at(p) != '>') value.push_back(at(p++));
}

void KeepUnknownAttribute(const EditorCore &ed, int from, int to, std::string &unknown) {
    // The whole range, however long: a cut style or onclick value would be
    // written back cut.
    std::string text;
    for (int i = std::max(1, from); i < to && i <= ed.TextLength(); ++i) text.push_back(ed.CharAt(i));
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    unknown += ' ';
    unknown += text;
}

void ReinsertUnknownAttributes(const std::string &unknown) {
    if (!unknown.empty()) InsertText(unknown, 0);
}

uint32_t ColorFromHtml(std::string_view text) {
    if (text.size() != 7 || text[0] != '#') return 0;
    static constexpr uint32_t weights[6] = {16, 1, 4096, 256, 1048576, 65536};
    uint32_t color = 0;
    for (int i = 0; i < 6; ++i) {
        const int d = hexDigit(text[size_t(i) + 1]);
        if (d >= 0) color += uint32_t(d) * weights[i];
    }
    return color;
}

int IntFromAttr(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const bool hex = i < text.size() && text[i] == '$';
    if (hex) ++i;
    if (i >= text.size()) return -1;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        const int d = hex ? hexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (d < 0) return -1;
        v = v * (hex ? 16 : 10) + d;
        // Outside the signed 32-bit range: not a number this program can hold.
        if (v > int64_t(std::numeric_limits<int32_t>::max()) + (negative ? 1 : 0)) return -1;
    }
    return int(negative ? -v : v);
}

} // namespace xo
