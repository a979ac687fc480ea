#include "insertion.h"

#include "editor/editor_core.h"

#include <algorithm>

namespace xo {

namespace {
DocumentHost *host = nullptr;
} // namespace

TLastInsertedText LastInsertedText;

void SetDocumentHost(DocumentHost *h) { host = h; }

EditorCore *ActiveEditor() { return host ? host->ActiveEditor() : nullptr; }

void InsertText(std::string_view text, int caretBack) {
    std::string what(text);
    if (!what.empty()) {
        LastInsertedText = {what, caretBack};
    } else {
        if (LastInsertedText.text.empty()) return;
        what = LastInsertedText.text;
        caretBack = LastInsertedText.caretBack;
    }
    EditorCore *e = ActiveEditor();
    if (!e) return;
    if (caretBack > 0) e->PaintEnabled = false;
    int s = 0, end = 0;
    e->GetSelection(s, end);
    // The selection collapses onto its start: what was selected stays behind the new text.
    e->SetSelection(s, s);
    e->HideCaret();
    e->ReplaceSelection(what);
    const int p = std::max(0, e->SelStart() - caretBack);
    e->SetSelection(p, p);
    if (caretBack > 0) {
        e->PaintEnabled = true;
        e->Repaint();
    }
    e->ShowCaret();
    e->ScrollToCaret();
}

namespace {

void wrap(std::string_view tag, int caretBack, bool closeAlways) {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    int s = 0, end = 0;
    e->GetSelection(s, end);
    e->PaintEnabled = false;
    std::string open;
    open.reserve(tag.size() + 2);
    open.append(1, '<').append(tag).append(1, '>');
    const int length = int(open.size());
    e->SetSelection(s, s);
    InsertText(open, 0);
    const bool selected = s != end;
    s += length;
    end += length;
    if (closeAlways || selected) {
        e->SetSelection(end, end);
        std::string close;
        close.reserve(tag.size() + 3);
        close.append("</").append(tag).append(1, '>');
        InsertText(close, 0);
    }
    e->SetSelection(s - caretBack, s - caretBack);
    e->PaintEnabled = true;
    e->Repaint();
}

} // namespace

void WrapSelectionInTag(std::string_view tag, int caretBack) { wrap(tag, caretBack, true); }

void WrapSelectionInTagIfAny(std::string_view tag, int caretBack) { wrap(tag, caretBack, false); }

void WrapSelection(std::string_view before, std::string_view after) {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    e->HideCaret();
    e->PaintEnabled = false;
    int s = 0, end = 0;
    e->GetSelection(s, end);
    // The end first, so that the start stays where it is. An empty half is
    // left out: InsertText would repeat the last insertion in its place.
    e->SetSelection(end, end);
    if (!after.empty()) InsertText(after, 0);
    e->SetSelection(s, s);
    if (!before.empty()) InsertText(before, 0);
    e->ShowCaret();
    e->PaintEnabled = true;
    e->Repaint();
}

void CaretRight() {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    e->HideCaret();
    int s = 0, end = 0;
    e->GetSelection(s, end);
    e->SetSelection(s + 1, end + 1);
    e->ShowCaret();
}

void CaretLeft() {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    e->HideCaret();
    int s = 0, end = 0;
    e->GetSelection(s, end);
    if (s > 1) e->SetSelection(s - 1, end - 1);
    e->ShowCaret();
}

} // namespace xo
