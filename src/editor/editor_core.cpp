#include "editor_core.h"
#include "utf8_text.h"

#include "platform/cp1250.h"
#include "platform/services.h"
#include "settings/settings.h"

#include <algorithm>
#include <Qt>

namespace xo {

namespace {

EditorHost defaultHost;
EditorHost *host = &defaultHost;
int editorSerial = 0;

// Shared by all editors: the last mouse release and the click count.
QDateTime lastRelease;
int clickCount = 0;

unsigned char code(char c) { return static_cast<unsigned char>(c); }

bool isNavigationKey(int key) {
    switch (key) {
    case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_End: case Qt::Key_Home:
    case Qt::Key_Left: case Qt::Key_Up: case Qt::Key_Right: case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

bool isWordStop(char c) { return c == ' ' || c == '"' || c == '<' || c == '=' || c == '>'; }
bool isLetterOrDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

} // namespace

void SetEditorHost(EditorHost *h) { host = h ? h : &defaultHost; }
EditorHost &editorHost() { return *host; }

EditorCore::EditorCore() : Tag(++editorSerial) {}

EditorCore::~EditorCore() = default;

void EditorCore::SetText(std::string_view text) {
    undo_.clear();
    buffer_.assign(text);
    selStart_ = selEnd_ = 1;
    caretAtStart_ = false;
    ClearModified();
    Repaint();
}

// ---------------------------------------------------------------- lines

int EditorCore::LineOfPos(int pos) const {
    // Line starts at or before pos + 1 (0-based: at or before pos), so a
    // position between a CR and its LF already counts the next line.
    return buffer_.lineOf(std::max(pos, 0)) + 1;
}

int EditorCore::LineStartOfPos(int pos) const {
    if (TextLength() == 0) return pos;
    return LineStart(LineOfPos(pos));
}

int EditorCore::LineStart(int line) const {
    if (line < 1) return -1;
    if (line > LineCount()) return TextLength() + 1;
    return buffer_.lineStart(line - 1) + 1;
}

int EditorCore::LineEndOfPos(int pos) const {
    const int line = LineOfPos(pos);
    return line < LineCount() ? LineStart(line + 1) - 2 : TextLength() + 1;
}

int EditorCore::LineLength(int line) const {
    if (line < 1 || line > LineCount()) return 0;
    const int end = line < LineCount() ? LineStart(line + 1) - 2 : TextLength() + 1;
    return end - LineStart(line);
}

bool EditorCore::GetLine(int line, std::string &text) const {
    text.clear();
    if (line < 1) return false;
    if (line > LineCount()) return true;
    text = buffer_.copy(LineStart(line) - 1, LineLength(line));
    return true;
}

std::string EditorCore::GetTextRange(int start, int end) const {
    start = std::clamp(start, 1, TextLength() + 1);
    end = std::clamp(end, 1, TextLength() + 1);
    if (end <= start) return {};
    return buffer_.copy(start - 1, std::min(end - start, 255));
}

// ---------------------------------------------------------------- selection

void EditorCore::RecordSelection() {
    if (!UndoEnabled || undo_.topKind() == UndoRecord::Selection) return;
    UndoRecord r;
    r.kind = UndoRecord::Selection;
    r.a = selStart_;
    r.b = selEnd_;
    r.caretAtStart = caretAtStart_;
    undo_.push(std::move(r));
}

void EditorCore::SetSelStart(int pos) {
    RecordSelection();
    selStart_ = pos;
    SetSelLength(0);
}

void EditorCore::SetSelLength(int count) {
    RecordSelection();
    selEnd_ = selStart_ + count;
    Repaint();
}

void EditorCore::SetSelEnd(int pos) { SetSelLength(pos - selStart_); }

void EditorCore::SetSelection(int start, int end) {
    RecordSelection();
    const bool drawn = caretShown_;
    if (drawn) ToggleCaret();
    selStart_ = start;
    selEnd_ = end;
    if (drawn) ToggleCaret();
}

// ---------------------------------------------------------------- editing

void EditorCore::SetModified() {
    modified_ = true;
    host->ModifiedChanged(*this);
}

void EditorCore::ClearModified() {
    modified_ = false;
    host->ModifiedChanged(*this);
}

void EditorCore::InsertAt(int pos, std::string_view text) { buffer_.insert(pos - 1, text); }

void EditorCore::RemoveRange(int start, int end) { buffer_.erase(start - 1, end - start); }

void EditorCore::ReplaceSelection(std::string_view text) {
    SetModified();
    const bool replacedSelection = SelLength() != 0;
    if (replacedSelection) DeleteSelection();
    // Overwriting takes the next character only when the text replaces no
    // selection: typed over a selection, the selection is what goes.
    if (!InsertMode && !replacedSelection && text.size() == 1 && TextLength() > 0 &&
        code(CharAt(selStart_)) > 13) {
        // Overwrite: the character under the caret goes first, as its own deletion.
        const bool paint = PaintEnabled;
        PaintEnabled = false;
        selEnd_ = selStart_ + 1;
        DeleteSelection();
        PaintEnabled = paint;
    }
    InsertAt(selStart_, text);
    const int len = int(text.size());
    if (UndoEnabled) {
        if (undo_.topKind() == UndoRecord::Insertion) {
            undo_.top().b += len;
        } else {
            UndoRecord r;
            r.kind = UndoRecord::Insertion;
            r.a = selStart_;
            r.b = selStart_ + len;
            undo_.push(std::move(r));
        }
    }
    selStart_ += len;
    selEnd_ = selStart_;
    Repaint();
}

void EditorCore::DeleteSelection() {
    SetModified();
    if (selStart_ == selEnd_) selEnd_ = selStart_ + (IsPairAt(selStart_) ? 2 : 1);
    if (selEnd_ < selStart_) std::swap(selStart_, selEnd_);
    // At the end of the text the selection may reach past it; nothing is there.
    const int from = std::clamp(selStart_, 1, TextLength() + 1);
    const int to = std::clamp(selEnd_, from, TextLength() + 1);
    std::string d = buffer_.copy(from - 1, to - from);
    if (UndoEnabled) {
        if (undo_.topKind() == UndoRecord::Deletion) {
            UndoRecord &top = undo_.top();
            if (selStart_ >= top.a) {
                top.text += d;
            } else {
                top.text.insert(0, d);
                top.a -= int(d.size());
            }
        } else {
            UndoRecord r;
            r.kind = UndoRecord::Deletion;
            r.a = selStart_;
            r.text = std::move(d);
            undo_.push(std::move(r));
        }
    }
    RemoveRange(from, to);
    selEnd_ = selStart_;
    caretAtStart_ = false;
    Repaint();
}

void EditorCore::DeleteRange(int start, int end) {
    PaintEnabled = false;
    SetSelStart(start);
    SetSelEnd(end);
    if (start != end) DeleteSelection();
    PaintEnabled = true;
    selStart_ = selEnd_ = start;
    Repaint();
}

void EditorCore::Undo() {
    PaintEnabled = false;
    UndoEnabled = false;
    if (!undo_.empty()) {
        UndoRecord r = undo_.top();
        undo_.pop();
        switch (r.kind) {
        case UndoRecord::Insertion:
            DeleteRange(r.a, r.b);
            break;
        case UndoRecord::Deletion: {
            selStart_ = selEnd_ = r.a;
            const bool mode = InsertMode;
            InsertMode = true;
            ReplaceSelection(r.text);
            InsertMode = mode;
            break;
        }
        case UndoRecord::Selection:
            selStart_ = r.a;
            selEnd_ = r.b;
            caretAtStart_ = r.caretAtStart;
            break;
        case UndoRecord::Stamps: {
            const bool mode = InsertMode;
            InsertMode = true;
            for (auto it = r.parts.rbegin(); it != r.parts.rend(); ++it) {
                DeleteRange(it->a, it->b);
                selStart_ = selEnd_ = it->a;
                ReplaceSelection(it->text);
            }
            InsertMode = mode;
            // The text is as it was before the save, and so is the selection.
            selStart_ = r.a;
            selEnd_ = r.b;
            caretAtStart_ = r.caretAtStart;
            break;
        }
        case UndoRecord::Empty:
            break;
        }
    }
    PaintEnabled = true;
    UndoEnabled = true;
    if (!ScrollToCaret()) Repaint();
    RevealCaret(); // where the undone change was
}

// ---------------------------------------------------------------- clipboard

void EditorCore::CopyToClipboard() {
    if (selStart_ == selEnd_) return;
    const int from = std::clamp(std::min(selStart_, selEnd_), 1, TextLength() + 1);
    const int to = std::clamp(std::max(selStart_, selEnd_), from, TextLength() + 1);
    std::string s = buffer_.copy(from - 1, to - from);
    // Linux text has LF line ends.
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
        out.push_back(s[i]);
    }
    platform::services().setClipboardText(cp1250::decode(out));
}

void EditorCore::CutToClipboard() {
    if (SelLength() == 0) return;
    CopyToClipboard();
    DeleteSelection();
}

void EditorCore::PasteFromClipboard() {
    if (selStart_ != selEnd_) DeleteSelection();
    HideCaret();
    const std::optional<QString> text = platform::services().clipboardText();
    if (text) {
        // A UTF-8 document takes every character: what the code page lacks as "&#N;".
        const std::string bytes = DocumentTextOf(*text, Utf8);
        std::string s;
        s.reserve(bytes.size() + bytes.size() / 16);
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) s.push_back('\r');
            s.push_back(bytes[i]);
        }
        ReplaceSelection(s);
    } else {
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Schránka nepodporuje textový formát"),
                          platform::Icon::Exclamation);
    }
    ShowCaret();
}

// ---------------------------------------------------------------- caret

void EditorCore::ToggleCaret() {
    caretShown_ = !caretShown_;
    CaretToggled();
}

void EditorCore::HideCaret() {
    if (HasKeyboardFocus() && selStart_ == selEnd_ && caretShown_) ToggleCaret();
}

void EditorCore::ShowCaret() {
    if (selStart_ == selEnd_ && !caretShown_) ToggleCaret();
}

void EditorCore::BlinkTick() {
    if (!caretShown_)
        ShowCaret();
    else
        HideCaret();
}

// ---------------------------------------------------------------- keyboard

// Lines end only at CR LF (a bare LF or a tab is an ordinary character),
// found through the line index, so long lines cost nothing.
// The position `column` characters into the line that starts at s, or its end.
int EditorCore::AtColumn(int s, int column) const { return std::min(s + column, LineEndOfPos(s)); }

int EditorCore::MovedPosition(int key, int mods, int p) {
    const bool ctrl = mods & kCtrl;
    const int len = TextLength();
    if (!ctrl) {
        switch (key) {
        case Qt::Key_Left:
            if (p > LineStartOfPos(p)) return p - 1;
            return p > 2 ? p - 2 : p;
        case Qt::Key_Right:
            if (p > len) return p;
            return IsPairAt(p) ? p + 2 : p + 1;
        case Qt::Key_Home:
            return LineStartOfPos(p);
        case Qt::Key_End:
            return LineEndOfPos(p);
        case Qt::Key_Up: {
            const int s = LineStartOfPos(p);
            if (s > 2) return std::min(LineStartOfPos(s - 2) + (p - s), s - 2);
            return p;
        }
        case Qt::Key_Down: {
            const int c = p - LineStartOfPos(p);
            p = LineEndOfPos(p);
            return IsPairAt(p) ? AtColumn(p + 2, c) : p;
        }
        case Qt::Key_PageUp: {
            const int n = VisibleLineCount();
            const int line = LineOfPos(p);
            if (line <= n) return 1;
            return AtColumn(LineStart(std::max(1, line - n)), p - LineStartOfPos(p));
        }
        case Qt::Key_PageDown: {
            if (len == 0) return p;
            const int n = VisibleLineCount();
            const int c = p - LineStartOfPos(p);
            for (int i = 0; i < n; ++i) {
                p = LineEndOfPos(p);
                if (p > len) return p;
                p += 2;
            }
            return AtColumn(p, c);
        }
        default:
            return p;
        }
    }
    switch (key) {
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        return 1;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        return len + 1;
    case Qt::Key_Left: {
        if (p <= 1) return 1;
        int q = p - 1;
        while (q > 1 && code(CharAt(q)) < 65) --q;
        while (q > 1 && CharAt(q) != '\r' && CharAt(q - 1) != '\n' && !isWordStop(CharAt(q - 1))) --q;
        return q;
    }
    case Qt::Key_Right: {
        if (p > len) return len + 1;
        int q = p + 1;
        while (q <= len && CharAt(q) != '\r' && !isWordStop(CharAt(q))) ++q;
        while (q <= len && code(CharAt(q)) < 65) ++q;
        return std::min(q, len + 1);
    }
    default:
        return p;
    }
}

bool EditorCore::UsesKey(int key, int mods, bool typesText) {
    const bool ctrl = mods & kCtrl, alt = mods & kAlt;
    if (isNavigationKey(key)) return !alt;
    switch (key) {
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Backspace: // Alt+Backspace is the editor's own undo
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return !ctrl && !alt;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        return !alt;
    case Qt::Key_T:
    case Qt::Key_Y:
        if (ctrl && !alt) return true;
        break;
    default:
        break;
    }
    return typesText && !ctrl && !alt;
}

bool EditorCore::KeyDown(int key, int mods) {
    const bool shift = mods & kShift, ctrl = mods & kCtrl, alt = mods & kAlt;
    if (key == Qt::Key_Backspace) {
        if (alt) {
            Undo();
            return true;
        }
        return false;
    }
    const bool nav = isNavigationKey(key);
    if (!nav && key != Qt::Key_Insert && key != Qt::Key_Delete) {
        bool handled = false;
        if (OnShortCut) {
            int shortcut = key;
            if (shift) shortcut |= Qt::ShiftModifier;
            if (ctrl) shortcut |= Qt::ControlModifier;
            if (alt) shortcut |= Qt::AltModifier;
            OnShortCut(*this, shortcut, handled);
        }
        return handled;
    }

    if (nav) RecordSelection();
    StopBlink();
    HideCaret();
    if (caretAtStart_) std::swap(selStart_, selEnd_);
    const bool hadSelection = selStart_ != selEnd_;

    if (nav) {
        if (!alt && !(ctrl && (key == Qt::Key_Up || key == Qt::Key_Down)))
            selEnd_ = MovedPosition(key, mods, selEnd_);
    } else if (key == Qt::Key_Insert && !alt) {
        if (ctrl)
            CopyToClipboard();
        else if (shift)
            PasteFromClipboard();
        else
            InsertMode = !InsertMode;
    } else if (key == Qt::Key_Delete && !alt && !ctrl) {
        if (shift)
            CutToClipboard();
        else if (hadSelection)
            DeleteSelection();
        else if (selStart_ <= TextLength())
            DeleteSelection();
    }

    if (!shift && key != Qt::Key_Insert) selStart_ = selEnd_;
    caretAtStart_ = selEnd_ < selStart_;
    if (caretAtStart_) std::swap(selStart_, selEnd_);
    if (!ScrollToCaret() && (shift || hadSelection)) Repaint();
    ShowCaret();
    StartBlink();
    return true;
}

void EditorCore::KeyChar(int c, bool ctrl) {
    TypeChar(c, ctrl);
    RevealCaret();
}

// The caret shows after every key and edit, for a whole blink period, so
// that it never stays hidden while the user types fast.
void EditorCore::RevealCaret() {
    StopBlink();
    ShowCaret();
    StartBlink();
}

void EditorCore::TypeChar(int c, bool ctrl) {
    const int caretBefore = selStart_;
    switch (c) {
    case 13:
        if (InsertMode) {
            ReplaceSelection("\r\n");
        } else {
            const int next = LineStart(LineOfPos(selEnd_) + 1);
            SetSelection(next, next);
        }
        ScrollToCaret();
        return;
    case 10:
        ReplaceSelection("<BR>");
        ScrollToCaret();
        return;
    case 9:
        if (ctrl) return;
        ReplaceSelection("        ");
        AutoWrap(caretBefore);
        return;
    case 8:
        if (ctrl) return;
        if (selStart_ != selEnd_) {
            DeleteSelection();
        } else if (selStart_ < 2) {
            platform::services().beep();
        } else {
            // The selection is set directly so that Backspaces in a row merge.
            selEnd_ = selStart_;
            selStart_ -= (selStart_ > 2 && IsPairAt(selStart_ - 2)) ? 2 : 1;
            DeleteSelection();
        }
        return;
    case 20: { // Ctrl+T: delete to the next word
        if (selStart_ != selEnd_) return;
        const int len = TextLength();
        int q = selStart_;
        while (q <= len && code(CharAt(q)) >= 48) ++q;
        if (q <= len) ++q;
        while (q <= len && code(CharAt(q)) <= 32) ++q;
        if (q > selStart_) DeleteRange(selStart_, q);
        return;
    }
    case 25: { // Ctrl+Y: delete the line
        const int line = LineOfPos(selEnd_);
        DeleteRange(LineStart(line), LineStart(line + 1));
        return;
    }
    default:
        break;
    }
    if (c == ' ' && ctrl) {
        ReplaceSelection("&nbsp;");
        AutoWrap(caretBefore);
        return;
    }
    if (c < 32 || c > 255) return;
    const char ch = static_cast<char>(c);
    ReplaceSelection(std::string_view(&ch, 1));
    AutoWrap(caretBefore);
}

void EditorCore::AutoWrap(int caretBefore) {
    if (!Settings.Format) return;
    const int w = WrapColumn();
    if (w < 10) return;
    const int s = selStart_, e = selEnd_;
    int p = caretBefore;
    PaintEnabled = false;
    int inserted = 0;
    std::string line;
    while (p < s + 1) {
        const int L = LineOfPos(p);
        const int b = LineStart(L);
        if (b + w >= s) break;
        if (LineLength(L) > w) {
            // Only the first w characters matter: copying the rest of a
            // long line at every break would make wrapping quadratic.
            line = buffer_.copy(b - 1, w);
            int j = w - 1;
            while (j >= 0 && line[size_t(j)] != ' ') --j;
            while (j >= 0 && line[size_t(j)] == ' ') --j;
            const int i = j + 1;
            if (i < 2) break;
            SetSelection(b + i, b + i);
            ReplaceSelection("\r\n");
            inserted += 2;
            p = b + i + 2;
        } else {
            p = b + w + 2;
        }
    }
    if (inserted > 0) SetSelection(s + inserted, e + inserted);
    PaintEnabled = true;
    if (!ScrollToCaret() && inserted >= 1) Repaint();
}

// ---------------------------------------------------------------- mouse

void EditorCore::MouseDown(int pos) {
    TakeFocus();
    HideCaret();
    RecordSelection();
    captured_ = true;
    const bool had = selStart_ != selEnd_;
    selStart_ = selEnd_ = pos;
    if (had) Repaint();
    ShowCaret();
}

void EditorCore::MouseMove(int pos) {
    if (!captured_) return;
    if (caretAtStart_) std::swap(selStart_, selEnd_);
    selEnd_ = pos;
    caretAtStart_ = selEnd_ < selStart_;
    if (caretAtStart_) std::swap(selStart_, selEnd_);
    if (!ScrollToCaret()) Repaint();
}

void EditorCore::MouseUp(bool leftButton, const QDateTime &when) {
    captured_ = false;
    caretAtStart_ = false;
    if (selEnd_ < selStart_) std::swap(selStart_, selEnd_);
    const qint64 gap = lastRelease.isValid() ? lastRelease.msecsTo(when) : -1;
    if (leftButton && lastRelease.isValid() && lastRelease.date() == when.date() && gap >= 0 && gap < 250)
        ++clickCount;
    else
        clickCount = 0;
    lastRelease = when;

    if (clickCount == 0) return;
    const int caret = selStart_;
    if (clickCount == 1) {
        auto inStart = [](char c) { return c == '/' || c == '<' || isLetterOrDigit(c); };
        auto inEnd = [](char c) { return c == '>' || isLetterOrDigit(c); };
        int s = caret, e = caret;
        if (inStart(CharAt(caret))) {
            while (s > 1 && CharAt(s) != '<' && inStart(CharAt(s - 1))) --s;
            while (e <= TextLength() && inEnd(CharAt(e))) {
                const bool closing = CharAt(e) == '>';
                ++e;
                if (closing) break;
            }
        }
        SetSelection(s, e);
        Repaint();
    } else if (clickCount == 2) {
        const int line = LineOfPos(selEnd_);
        const int start = LineStart(line);
        SetSelection(start, start + LineLength(line));
        Repaint();
    } else {
        SetSelection(caret, caret);
        Repaint();
    }
}

} // namespace xo
