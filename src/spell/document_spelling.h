#pragma once
// The spelling marks of one document: where the page's words lie needs the
// scan's state at the visible lines (inside a comment, a script, a lang),
// which is kept at every 64th line start from the document's beginning,
// extended as far as the view needs and dropped after a change.

#include "editor/editor_widget.h"
#include "spell_text.h"
#include "speller.h"

#include <vector>

namespace xo::spell {

class TDocumentSpelling {
public:
    static constexpr int kLinesPerState = 64;

    // The misspelt words of lines first..last from what the speller knows
    // now (the others are queued); false when the scan's state there is not
    // known yet (Advance gets it).
    bool Marks(EditorCore &editor, TSpeller &speller, int first, int last, std::vector<TEditor::TMark> &marks);
    // Extends the known states toward `line` by at most `budget` bytes of
    // text; true while more is needed.
    bool Advance(EditorCore &editor, int line, int budget);
    // The scan's state at the start of a line, scanning as far as needed.
    TScanState StateAt(EditorCore &editor, int line);

private:
    void dropChanged(EditorCore &editor);
    std::vector<TScanState> states_{TScanState()}; // [k]: at the start of line 1 + k * kLinesPerState
};

} // namespace xo::spell
