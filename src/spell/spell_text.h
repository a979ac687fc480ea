#pragma once
// Which parts of a page are its words: the text between the tags and the
// values of alt, title, placeholder and aria-label; not the markup, other
// attribute values, comments, or the contents of script, style, pre and
// code. Each part carries the language of the nearest lang attribute
// around it. Plain C++ over the document's bytes (code page 1250), so that
// the spell check and the typography command share it.

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace xo::spell {

// Where a scan stands; a scan continued from a state goes on as if the two
// texts were one.
struct TScanState {
    enum Mode : unsigned char { Text, Tag, Comment, Skip };
    Mode mode = Text;
    std::string pending; // Tag: the tag so far (from "<")
    std::string skipEnd; // Skip: the element whose end tag ends it
    int skipDepth = 0;   // Skip: the same element opened again inside
    struct Lang {
        std::string element, lang;
        int depth = 0; // the same element opened again inside it
    };
    std::vector<Lang> langs; // innermost last
    bool operator==(const TScanState &) const = default;
    // The language around the scan's place: "cs" where no lang says otherwise.
    std::string Language() const { return langs.empty() ? std::string("cs") : langs.back().lang; }
};

// A stretch of the page's text: `start` and `length` in bytes of the scanned text.
struct TTextPart {
    int start = 0, length = 0;
    std::string lang;
    bool attribute = false; // an alt, title, placeholder or aria-label value
};

// Scans `text` on from `state`, reporting its text parts; returns the state at its end.
TScanState ScanText(std::string_view text, TScanState state, const std::function<void(const TTextPart &)> &part);

// A word of a text part: letters, with character references such as
// "&iacute;" or "&#237;" inside it counted as their letters.
struct TWord {
    int start = 0, length = 0; // bytes of the scanned text
    QString text;
    std::string lang;
};

// The words to check in `text` from `state`: not single letters, not words
// with digits, not URLs or e-mail addresses.
TScanState FindWords(std::string_view text, TScanState state, const std::function<void(const TWord &)> &word);

// The character a reference at `p` ("&iacute;", "&#237;", "&#xED;") stands
// for, and its length in `length`; a null QChar when it is none.
QChar ReferenceAt(std::string_view text, size_t p, int &length);

// The language's primary tag from a lang value ("cs-CZ" gives "cs").
std::string PrimaryLanguage(const std::string &lang);

// Replaces the breakable space after a one-letter preposition or
// conjunction (k, s, v, z, o, u, a, i) and between a number and its unit
// or "%" in the Czech text parts of `text` [from, to) with `nbsp` ("&nbsp;"
// or the character 0xA0). The changes as (offset, length, replacement)
// with offsets into `text`, ascending.
struct TChange {
    int start, length;
    std::string text;
};
std::vector<TChange> NonBreakingSpaces(std::string_view text, int from, int to, const std::string &nbsp);

} // namespace xo::spell
