#include "document_spelling.h"

#include <climits>

namespace xo::spell {

namespace {

// Synchronous scanning up to this much; beyond it the idle time does it.
constexpr int kScanAtOnce = 2 << 20;

std::string textOf(EditorCore &e, int fromLine, int toLineEnd) {
    const int from = e.LineStart(fromLine) - 1;
    const int to = e.LineStart(toLineEnd) - 1 + e.LineLength(toLineEnd);
    std::string out;
    e.AppendText(from, std::max(0, to - from), out);
    return out;
}

} // namespace

void TDocumentSpelling::dropChanged(EditorCore &editor) {
    const int changed = editor.Buffer().takeChangedFrom();
    if (changed == INT_MAX) return;
    // States at line starts up to the change stay true.
    const int line = changed >= editor.TextLength() ? editor.LineCount() : editor.LineOfPos(changed + 1);
    const size_t keep = size_t((line - 1) / kLinesPerState) + 1;
    if (states_.size() > keep) states_.resize(keep);
}

bool TDocumentSpelling::Advance(EditorCore &editor, int line, int budget) {
    dropChanged(editor);
    const size_t want = size_t((line - 1) / kLinesPerState);
    while (states_.size() <= want && budget > 0) {
        const int from = 1 + int(states_.size() - 1) * kLinesPerState;
        const int to = std::min(editor.LineCount(), from + kLinesPerState);
        // The text up to (not including) the next state's line.
        const int start = editor.LineStart(from) - 1;
        const int end = to > from ? editor.LineStart(to) - 1 : editor.TextLength();
        std::string text;
        editor.AppendText(start, end - start, text);
        states_.push_back(ScanText(text, states_.back(), [](const TTextPart &) {}));
        budget -= int(text.size());
    }
    return states_.size() <= want;
}

TScanState TDocumentSpelling::StateAt(EditorCore &editor, int line) {
    while (Advance(editor, line, INT_MAX)) {
    }
    const size_t k = size_t((line - 1) / kLinesPerState);
    const int from = 1 + int(k) * kLinesPerState;
    if (from == line) return states_[k];
    const std::string text = textOf(editor, from, line - 1) + "\r\n";
    return ScanText(text, states_[k], [](const TTextPart &) {});
}

bool TDocumentSpelling::Marks(EditorCore &editor, TSpeller &speller, int first, int last,
                              std::vector<TEditor::TMark> &marks) {
    if (first > last || first > editor.LineCount()) return true;
    last = std::min(last, editor.LineCount());
    if (Advance(editor, first, kScanAtOnce)) return false;
    const size_t k = size_t((first - 1) / kLinesPerState);
    const int from = 1 + int(k) * kLinesPerState;
    const std::string text = textOf(editor, from, last);
    const int base = editor.LineStart(from) - 1;     // 0-based offset of the text
    const int firstOffset = editor.LineStart(first) - 1 - base;
    FindWords(text, states_[k], [&](const TWord &w) {
        if (w.start < firstOffset) return;
        if (speller.Check(w.lang, w.text) != TSpeller::Wrong) return;
        const int pos = base + w.start + 1;
        const int line = editor.LineOfPos(pos);
        const int col = pos - editor.LineStart(line);
        marks.push_back({line, col, col + w.length});
    });
    return true;
}

} // namespace xo::spell
