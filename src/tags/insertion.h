#pragma once
// The tag insertion engine: every command that writes HTML puts it at the
// active document's selection through these operations, which leave the
// caret where the user types next. They act on whatever editor the document
// host names, so they run in tests on a bare editor.

#include <string>
#include <string_view>

namespace xo {

class EditorCore;

// Where the insertion operations find the active document's editor.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    // nullptr when no document window is open.
    virtual EditorCore *ActiveEditor() = 0;
};
// Installs the host (not owned); nullptr: no documents at all.
void SetDocumentHost(DocumentHost *host);

EditorCore *ActiveEditor();

// The last non-empty text given to InsertText, with its caret offset.
struct TLastInsertedText {
    std::string text;
    int caretBack = 0;
};
extern TLastInsertedText LastInsertedText;

// Puts the text at the selection start without deleting the selection; the
// caret ends caretBack characters before the end of the text. An empty text
// repeats LastInsertedText.
void InsertText(std::string_view text, int caretBack);
// "<tag>" at the selection start, "</tag>" at its end; the caret after the
// opening tag, moved back by caretBack.
void WrapSelectionInTag(std::string_view tag, int caretBack);
// The same, with the closing tag only when something was selected.
void WrapSelectionInTagIfAny(std::string_view tag, int caretBack);
// `after` at the selection end, then `before` at its start; the caret right after `before`.
void WrapSelection(std::string_view before, std::string_view after);
// Both selection bounds one character right, or left (not before position 1).
void CaretRight();
void CaretLeft();

} // namespace xo
