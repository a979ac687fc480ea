#pragma once
// The tag under the caret: finding it in the document, taking it apart into
// a name and attributes, the tag-name tables, and the converters of
// attribute values. Everything reads the editor's text through CharAt, so
// no scan reads outside the text and nothing copies the whole document.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace xo {

class EditorCore;

// Upper-case tag names; membership is an exact, case-sensitive comparison.
extern const std::array<std::string_view, 13> EmptyTags;
extern const std::array<std::string_view, 8> OptionalEndTags;
extern const std::array<std::string_view, 22> NonNestingTags;
extern const std::array<std::string_view, 4> TableInnerTags;
extern const std::array<std::string_view, 2> DefinitionInnerTags;
template <size_t N> bool InTable(const std::array<std::string_view, N> &table, std::string_view name) {
    for (std::string_view t : table)
        if (t == name) return true;
    return false;
}
inline bool IsListItemTag(std::string_view name) { return name == "LI"; }

// The tag whose "<" and ">" enclose the caret: true with both positions, or
// false after the message "Kurzor není umístěn na žádném tagu".
bool LocateTagAtCaret(const EditorCore &editor, int &tagStart, int &tagEnd);

// `text` begins right after a "<"; it is cut in place to the tag name.
// True for an end tag (its "/" is removed).
bool TagNameOf(std::string &text);

// One attribute from position p (moved past it): the name in lower case
// (empty at the end of the tag), the value as written without its quotes.
// A non-empty name sets hasAttributes. Names and values of any length are
// delivered whole.
void ParseNextAttribute(const EditorCore &editor, int &p, std::string &name, std::string &value,
                        bool &hasAttributes);
// Appends the attribute text from `from` (where the last parse started) to
// `to` (where it ended), trimmed of spaces, after one space, to `unknown`.
void KeepUnknownAttribute(const EditorCore &editor, int from, int to, std::string &unknown);
// Puts the kept attributes in at the caret of the active document.
void ReinsertUnknownAttributes(const std::string &unknown);

// "#RRGGBB" as red + 256 × green + 65536 × blue; anything else 0.
uint32_t ColorFromHtml(std::string_view text);
// A whole number (leading spaces, a sign, decimal digits or "$" and hex
// digits) within the signed 32-bit range, else -1.
int IntFromAttr(std::string_view text);

} // namespace xo
