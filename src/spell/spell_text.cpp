#include "spell_text.h"

#include "platform/cp1250.h"

#include <algorithm>
#include <cstring>

namespace xo::spell {

namespace {

// Named references that stand for letters (those of Latin-1 and the Czech
// and Slovak ones of Latin Extended-A); others are never part of a word.
struct Named {
    const char *name;
    char16_t ch;
};
constexpr Named kLetters[] = {
    {"Agrave", 0xC0}, {"Aacute", 0xC1}, {"Acirc", 0xC2}, {"Atilde", 0xC3}, {"Auml", 0xC4}, {"Aring", 0xC5},
    {"AElig", 0xC6},  {"Ccedil", 0xC7}, {"Egrave", 0xC8}, {"Eacute", 0xC9}, {"Ecirc", 0xCA}, {"Euml", 0xCB},
    {"Igrave", 0xCC}, {"Iacute", 0xCD}, {"Icirc", 0xCE},  {"Iuml", 0xCF},   {"ETH", 0xD0},   {"Ntilde", 0xD1},
    {"Ograve", 0xD2}, {"Oacute", 0xD3}, {"Ocirc", 0xD4},  {"Otilde", 0xD5}, {"Ouml", 0xD6},  {"Oslash", 0xD8},
    {"Ugrave", 0xD9}, {"Uacute", 0xDA}, {"Ucirc", 0xDB},  {"Uuml", 0xDC},   {"Yacute", 0xDD}, {"THORN", 0xDE},
    {"szlig", 0xDF},  {"agrave", 0xE0}, {"aacute", 0xE1}, {"acirc", 0xE2},  {"atilde", 0xE3}, {"auml", 0xE4},
    {"aring", 0xE5},  {"aelig", 0xE6},  {"ccedil", 0xE7}, {"egrave", 0xE8}, {"eacute", 0xE9}, {"ecirc", 0xEA},
    {"euml", 0xEB},   {"igrave", 0xEC}, {"iacute", 0xED}, {"icirc", 0xEE},  {"iuml", 0xEF},   {"eth", 0xF0},
    {"ntilde", 0xF1}, {"ograve", 0xF2}, {"oacute", 0xF3}, {"ocirc", 0xF4},  {"otilde", 0xF5}, {"ouml", 0xF6},
    {"oslash", 0xF8}, {"ugrave", 0xF9}, {"uacute", 0xFA}, {"ucirc", 0xFB},  {"uuml", 0xFC},   {"yacute", 0xFD},
    {"thorn", 0xFE},  {"yuml", 0xFF},   {"Ccaron", 0x10C}, {"ccaron", 0x10D}, {"Dcaron", 0x10E}, {"dcaron", 0x10F},
    {"Ecaron", 0x11A}, {"ecaron", 0x11B}, {"Lacute", 0x139}, {"lacute", 0x13A}, {"Lcaron", 0x13D}, {"lcaron", 0x13E},
    {"Ncaron", 0x147}, {"ncaron", 0x148}, {"Racute", 0x154}, {"racute", 0x155}, {"Rcaron", 0x158}, {"rcaron", 0x159},
    {"Scaron", 0x160}, {"scaron", 0x161}, {"Tcaron", 0x164}, {"tcaron", 0x165}, {"Uring", 0x16E}, {"uring", 0x16F},
    {"Zcaron", 0x17D}, {"zcaron", 0x17E}, {"OElig", 0x152}, {"oelig", 0x153},
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string lower(std::string s) {
    for (char &c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

bool isVoid(const std::string &name) {
    static const char *const kVoid[] = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link",
                                        "meta", "param", "source", "track", "wbr", "isindex", "basefont", "frame"};
    return std::any_of(std::begin(kVoid), std::end(kVoid), [&](const char *v) { return name == v; });
}

bool isSkipped(const std::string &name) {
    return name == "script" || name == "style" || name == "pre" || name == "code";
}

bool isCheckedAttribute(const std::string &name) {
    return name == "alt" || name == "title" || name == "placeholder" || name == "aria-label";
}

struct Attribute {
    std::string name;
    int valueStart = -1, valueLength = 0; // offsets into the tag text
};

// The element name, whether it is an end tag, and the attributes of a whole tag "<...>".
void parseTag(std::string_view tag, std::string &name, bool &end, bool &selfClosing, std::vector<Attribute> &attrs) {
    size_t i = 1;
    end = i < tag.size() && tag[i] == '/';
    if (end) ++i;
    const size_t nameStart = i;
    while (i < tag.size() && !isSpace(tag[i]) && tag[i] != '>' && tag[i] != '/') ++i;
    name = lower(std::string(tag.substr(nameStart, i - nameStart)));
    selfClosing = tag.size() >= 2 && tag[tag.size() - 2] == '/';
    while (i < tag.size()) {
        while (i < tag.size() && (isSpace(tag[i]) || tag[i] == '/')) ++i;
        if (i >= tag.size() || tag[i] == '>') break;
        Attribute a;
        const size_t an = i;
        while (i < tag.size() && !isSpace(tag[i]) && tag[i] != '=' && tag[i] != '>') ++i;
        a.name = lower(std::string(tag.substr(an, i - an)));
        while (i < tag.size() && isSpace(tag[i])) ++i;
        if (i < tag.size() && tag[i] == '=') {
            ++i;
            while (i < tag.size() && isSpace(tag[i])) ++i;
            if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                const char q = tag[i++];
                const size_t v = i;
                while (i < tag.size() && tag[i] != q) ++i;
                a.valueStart = int(v);
                a.valueLength = int(i - v);
                if (i < tag.size()) ++i;
            } else {
                const size_t v = i;
                while (i < tag.size() && !isSpace(tag[i]) && tag[i] != '>') ++i;
                a.valueStart = int(v);
                a.valueLength = int(i - v);
            }
        }
        if (!a.name.empty()) attrs.push_back(std::move(a));
        else ++i;
    }
}

constexpr size_t kMaxTag = 64 * 1024; // a longer "tag" is a stray "<" in text

} // namespace

// A code-page byte as its character, from a table made once.
static QChar codePage(char c) {
    static const QString table = [] {
        std::string all(256, '\0');
        for (int i = 0; i < 256; ++i) all[size_t(i)] = char(i);
        return cp1250::decode(all);
    }();
    return table.at(static_cast<unsigned char>(c));
}

// One character of the text at `p`: a reference as its character (its
// length in `length`), a named reference to no letter as a null character
// over its whole length, else the code page's character.
static QChar charAt(std::string_view text, size_t p, int &length) {
    if (text[p] == '&') {
        const QChar ch = ReferenceAt(text, p, length);
        if (!ch.isNull()) return ch;
        const size_t semi = text.substr(p, 12).find(';');
        length = semi != std::string_view::npos && semi > 1 ? int(semi + 1) : 1;
        return {};
    }
    length = 1;
    return codePage(text[p]);
}

// The length of the reference that ends right before `end` (for a
// trailing "&#8217;"), 1 when there is none.
static int referenceLength(std::string_view text, int end) {
    if (end < 1 || text[size_t(end - 1)] != ';') return 1;
    const size_t amp = text.substr(0, size_t(end)).rfind('&');
    return amp == std::string_view::npos ? 1 : end - int(amp);
}

namespace {

} // namespace

std::string PrimaryLanguage(const std::string &lang) {
    std::string l = lower(lang);
    const size_t dash = l.find_first_of("-_");
    if (dash != std::string::npos) l.resize(dash);
    l.erase(std::remove_if(l.begin(), l.end(), [](char c) { return isSpace(c); }), l.end());
    return l;
}

QChar ReferenceAt(std::string_view text, size_t p, int &length) {
    length = 0;
    if (p >= text.size() || text[p] != '&') return {};
    const size_t semi = text.substr(p, 12).find(';');
    if (semi == std::string_view::npos || semi < 2) return {};
    const std::string_view body = text.substr(p + 1, semi - 1);
    char16_t ch = 0;
    if (body[0] == '#') {
        const bool hex = body.size() > 1 && (body[1] == 'x' || body[1] == 'X');
        const std::string digits(body.substr(hex ? 2 : 1));
        if (digits.empty()) return {};
        char *endp = nullptr;
        const long v = std::strtol(digits.c_str(), &endp, hex ? 16 : 10);
        if (*endp || v <= 0 || v > 0xFFFF) return {};
        ch = char16_t(v);
    } else {
        for (const Named &n : kLetters)
            if (body == n.name) ch = n.ch;
        if (!ch) return {};
    }
    length = int(semi + 1);
    return QChar(ch);
}

TScanState ScanText(std::string_view text, TScanState st, const std::function<void(const TTextPart &)> &part) {
    const int n = int(text.size());
    int i = 0;
    int partStart = st.mode == TScanState::Text ? 0 : -1;
    const auto flush = [&](int upTo) {
        if (partStart >= 0 && upTo > partStart) part({partStart, upTo - partStart, st.Language(), false});
        partStart = -1;
    };
    while (i < n) {
        switch (st.mode) {
        case TScanState::Text: {
            const void *lt = std::memchr(text.data() + i, '<', size_t(n - i));
            if (!lt) {
                i = n;
                break;
            }
            const int at = int(static_cast<const char *>(lt) - text.data());
            flush(at);
            i = at;
            if (text.substr(size_t(i), 4) == "<!--") {
                st.mode = TScanState::Comment;
                i += 4;
            } else if (i + 1 < n && (isAsciiLetter(text[size_t(i) + 1]) || text[size_t(i) + 1] == '/' ||
                                     text[size_t(i) + 1] == '!' || text[size_t(i) + 1] == '?')) {
                st.mode = TScanState::Tag;
                st.pending.clear();
            } else if (i + 1 >= n) {
                // A "<" at the very end: whether it opens a tag shows later.
                st.mode = TScanState::Tag;
                st.pending.clear();
            } else {
                partStart = i; // a lone "<" in text
                ++i;
            }
            break;
        }
        case TScanState::Comment: {
            const size_t close = text.find("-->", size_t(i));
            if (close == std::string_view::npos) {
                i = n;
                break;
            }
            i = int(close) + 3;
            st.mode = TScanState::Text;
            partStart = i;
            break;
        }
        case TScanState::Skip: {
            // Only the end tag of the skipped element (or the same one opened again) matters.
            const void *lt = std::memchr(text.data() + i, '<', size_t(n - i));
            if (!lt) {
                i = n;
                break;
            }
            i = int(static_cast<const char *>(lt) - text.data());
            st.mode = TScanState::Tag;
            st.pending.clear();
            break;
        }
        case TScanState::Tag: {
            const void *gt = std::memchr(text.data() + i, '>', size_t(n - i));
            const int stop = gt ? int(static_cast<const char *>(gt) - text.data()) + 1 : n;
            st.pending.append(text.data() + i, size_t(stop - i));
            const int tagEnd = stop;
            i = stop;
            if (!gt) {
                if (st.pending.size() > kMaxTag) { // never closed: text after all
                    st.pending.clear();
                    st.mode = st.skipEnd.empty() ? TScanState::Text : TScanState::Skip;
                }
                break;
            }
            std::string name;
            bool end = false, selfClosing = false;
            std::vector<Attribute> attrs;
            parseTag(st.pending, name, end, selfClosing, attrs);
            const int tagStart = tagEnd - int(st.pending.size()); // may lie before this text
            if (!st.skipEnd.empty()) {
                if (name == st.skipEnd) st.skipDepth += end ? -1 : (selfClosing ? 0 : 1);
                if (st.skipDepth <= 0) {
                    st.skipEnd.clear();
                    st.skipDepth = 0;
                }
                st.mode = st.skipEnd.empty() ? TScanState::Text : TScanState::Skip;
                st.pending.clear();
                if (st.mode == TScanState::Text) partStart = i;
                break;
            }
            if (!end && !name.empty() && name[0] != '!' && name[0] != '?') {
                std::string lang;
                bool hasLang = false;
                for (const Attribute &a : attrs)
                    if ((a.name == "lang" || a.name == "xml:lang") && a.valueStart >= 0) {
                        lang = PrimaryLanguage(st.pending.substr(size_t(a.valueStart), size_t(a.valueLength)));
                        hasLang = true;
                    }
                const std::string around = hasLang ? lang : st.Language();
                for (const Attribute &a : attrs)
                    if (isCheckedAttribute(a.name) && a.valueStart >= 0 && tagStart + a.valueStart >= 0 && a.valueLength)
                        part({tagStart + a.valueStart, a.valueLength, around.empty() ? st.Language() : around, true});
                const bool opens = !selfClosing && !isVoid(name);
                if (opens && hasLang) st.langs.push_back({name, lang, 0});
                else if (opens && !st.langs.empty() && st.langs.back().element == name) ++st.langs.back().depth;
                if (opens && isSkipped(name)) {
                    st.skipEnd = name;
                    st.skipDepth = 1;
                }
            } else if (end && !st.langs.empty() && st.langs.back().element == name) {
                if (st.langs.back().depth > 0) --st.langs.back().depth;
                else st.langs.pop_back();
            }
            st.pending.clear();
            st.mode = st.skipEnd.empty() ? TScanState::Text : TScanState::Skip;
            if (st.mode == TScanState::Text) partStart = i;
            break;
        }
        }
    }
    flush(n);
    return st;
}

TScanState FindWords(std::string_view text, TScanState state, const std::function<void(const TWord &)> &word) {
    return ScanText(text, state, [&](const TTextPart &p) {
        if (p.lang.empty()) return;
        const int end = p.start + p.length;
        int i = p.start;
        while (i < end) {
            // A token runs to the next space; URLs and addresses are skipped whole.
            while (i < end && isSpace(text[size_t(i)])) ++i;
            int t = i;
            while (t < end && !isSpace(text[size_t(t)])) ++t;
            const std::string_view token = text.substr(size_t(i), size_t(t - i));
            if (token.find("://") != std::string_view::npos || token.find('@') != std::string_view::npos ||
                token.substr(0, 4) == "www.") {
                i = t;
                continue;
            }
            // Words: letters and references to letters; a digit spoils the word.
            int k = i;
            while (k < t) {
                QString letters;
                int start = -1, stop = k, j = k;
                bool digit = false;
                while (j < t) {
                    int len = 1;
                    const QChar ch = charAt(text, size_t(j), len);
                    const bool apostrophe = (ch == u'\'' || ch == QChar(0x2019)) && !letters.isEmpty();
                    if (ch.isLetter() || ch.isMark() || apostrophe) {
                        if (start < 0) start = j;
                        letters += ch;
                    } else if (ch.isDigit()) {
                        digit = true;
                    } else {
                        break;
                    }
                    j += len;
                    stop = j;
                }
                if (j == k) { // a separator, or a reference that is no letter: skipped whole
                    int len = 1;
                    charAt(text, size_t(k), len);
                    k += std::max(1, len);
                    continue;
                }
                while (letters.endsWith(u'\'') || letters.endsWith(QChar(0x2019))) {
                    letters.chop(1);
                    stop -= text[size_t(stop - 1)] == '\'' ? 1 : referenceLength(text, stop);
                }
                if (start >= 0 && !digit && letters.size() > 1) word({start, stop - start, letters, p.lang});
                k = j;
            }
            i = t;
        }
    });
}

namespace {

bool isUnitStart(std::string_view rest) {
    // Units and signs after a number: the unit must end there.
    static const char *const kUnits[] = {"%", "\x89", "\xB0" "C", "\xB0", "km", "cm", "mm", "dm", "m", "kg", "mg",
                                         "g", "ml", "l", "h", "min", "s", "K\xE8", "\x80", "MB", "GB", "kB", "TB",
                                         "kW", "W", "V", "A", "Hz", "kHz", "MHz", "GHz", "t", "ha", "&euro;", "&deg;C",
                                         "&deg;", "&permil;"};
    for (const char *u : kUnits) {
        const size_t len = std::strlen(u);
        if (rest.substr(0, len) != u) continue;
        if (len == rest.size()) return true;
        const char next = rest[len];
        if (!isAsciiLetter(next) && !(static_cast<unsigned char>(next) >= 0xC0)) return true;
    }
    return false;
}

bool isOneLetterWord(char c) { return std::strchr("ksvzouaiKSVZOUAI", c) != nullptr && c; }

} // namespace

std::vector<TChange> NonBreakingSpaces(std::string_view text, int from, int to, const std::string &nbsp) {
    std::vector<TChange> out;
    ScanText(text, TScanState(), [&](const TTextPart &p) {
        if (p.lang != "cs") return;
        const int a = std::max(p.start, from), b = std::min(p.start + p.length, to);
        for (int i = a; i < b; ++i) {
            if (text[size_t(i)] != ' ') continue;
            // The space's left neighbour word: one of the letters, standing alone.
            const char before = i > 0 ? text[size_t(i - 1)] : '\0';
            // Standing alone: the part starts with it, or no letter, digit,
            // hyphen or reference comes before it.
            const char before2 = i > 1 ? text[size_t(i - 2)] : ' ';
            const QChar prev = codePage(before2);
            const bool aloneBefore = i - 1 == p.start ||
                                     (!prev.isLetterOrNumber() && before2 != '&' && before2 != '#' && before2 != '-');
            const bool preposition = isOneLetterWord(before) && aloneBefore;
            const bool number = before >= '0' && before <= '9' && i + 1 < b && isUnitStart(text.substr(size_t(i + 1), size_t(b - i - 1)));
            if ((preposition && i + 1 < b && text[size_t(i + 1)] != ' ') || number)
                out.push_back({i, 1, nbsp});
        }
    });
    return out;
}

} // namespace xo::spell
