#pragma once
// The editing model of the editor control: the text, the selection with its
// active end, the undo list, the key, mouse and clipboard behaviour, and
// reading and writing document files. It has no window; the widget TEditor
// derives from it and supplies the view through the virtual hooks, so tests
// can drive the whole model directly.

#include "text_buffer.h"
#include "undo_list.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

namespace xo {

class EditorCore;
struct DocumentBytes;

// What the editor asks of the main window.
class EditorHost {
public:
    virtual ~EditorHost() = default;
    virtual void ShowStatusText(const QString &) {}
    virtual void ClearStatusText() {}
    // The modified state of an editor changed (or was set again).
    virtual void ModifiedChanged(EditorCore &) {}
};
void SetEditorHost(EditorHost *host);
EditorHost &editorHost();

// Key codes are Qt::Key values; modifiers are these flags.
enum KeyModifier { kShift = 1, kCtrl = 2, kAlt = 4 };

class EditorCore {
public:
    EditorCore();
    virtual ~EditorCore();
    EditorCore(const EditorCore &) = delete;
    EditorCore &operator=(const EditorCore &) = delete;

    // --- Text -------------------------------------------------------------
    int TextLength() const { return buffer_.size(); }
    // The character at a 1-based position; NUL outside 1..TextLength.
    char CharAt(int pos) const { return buffer_.at(pos - 1); }
    std::string Text() const { return buffer_.copy(0, buffer_.size()); }
    // The whole text in one piece, for algorithms over the whole document.
    std::string_view TextView() { return buffer_.contiguous(); }
    TextBuffer &Buffer() { return buffer_; }
    // Replaces the whole text as loading does: caret at 1, undo list empty, not modified.
    void SetText(std::string_view text);

    // --- Lines --------------------------------------------------------------
    int LineCount() const { return buffer_.lineCount(); }
    int LineOfPos(int pos) const;
    int LineStartOfPos(int pos) const;
    int LineStart(int line) const;
    int LineEndOfPos(int pos) const;
    int LineLength(int line) const;
    bool GetLine(int line, std::string &text) const;
    // At most 255 characters; the range is clamped to the text.
    std::string GetTextRange(int start, int end) const;

    // --- Selection ------------------------------------------------------------
    int SelStart() const { return selStart_; }
    int SelEnd() const { return selEnd_; }
    int SelLength() const { return selEnd_ - selStart_; }
    void SetSelStart(int pos);
    void SetSelLength(int count);
    void SetSelEnd(int pos);
    void GetSelection(int &start, int &end) const {
        start = selStart_;
        end = selEnd_;
    }
    void SetSelection(int start, int end);
    bool CaretAtStart() const { return caretAtStart_; }
    // The end the keyboard moves.
    int CaretPos() const { return caretAtStart_ ? selStart_ : selEnd_; }
    // Line and 0-based column of the caret; false while text is selected
    // (the highlighted selection then stands for the caret).
    bool CaretLineColumn(int &line, int &column) const {
        if (selStart_ != selEnd_) return false;
        line = LineOfPos(selStart_);
        column = selStart_ - LineStartOfPos(selStart_);
        return true;
    }

    // The first occurrence of text at or after start (-1: SelEnd) within a
    // line; it is selected and scrolled into view. -1 when there is none.
    int Search(int start, const std::string &text, bool matchCase);

    // --- Editing ----------------------------------------------------------------
    void ReplaceSelection(std::string_view text);
    // Replaces stretches [start, end) (1-based, ascending, not overlapping)
    // as one undo step; the selection keeps its place in the text.
    struct TextEdit {
        int start = 0, end = 0;
        std::string text;
    };
    void ReplaceRanges(const std::vector<TextEdit> &edits);
    void DeleteSelection();
    void DeleteRange(int start, int end);
    void Undo();
    const UndoList &UndoRecords() const { return undo_; }

    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    // --- Keyboard and mouse -------------------------------------------------------
    // Whether the editor handles a key itself (its own keys and typed
    // text); every other key belongs to the menus and the frame.
    static bool UsesKey(int key, int modifiers, bool typesText);
    // The key-down stage; true when the key was used up here (the character
    // stage then does not run).
    bool KeyDown(int key, int modifiers);
    // The character stage: a character code (CP1250 byte or control code).
    void KeyChar(int code, bool ctrl);
    // Left button down and moves with it held, at text positions.
    void MouseDown(int pos);
    void MouseMove(int pos);
    void MouseUp(bool leftButton, const QDateTime &when);

    // --- Caret --------------------------------------------------------------------
    void HideCaret();
    void ShowCaret();
    void BlinkTick();
    bool CaretShown() const { return caretShown_; }

    // --- State ------------------------------------------------------------------
    bool Modified() const { return modified_; }
    void SetModified();
    void ClearModified();

    bool PaintEnabled = true;
    bool UndoEnabled = true;
    bool InsertMode = true;
    bool DosLineEnds = true;
    // The file's encoding: UTF-8 (with a byte-order mark) or code page 1250.
    bool Utf8 = false, Utf8Bom = false;
    QString FileName;
    int Tag = 0; // serial number of the editor
    // Keys the editor does not handle; set `handled` to keep them from typing.
    std::function<void(EditorCore &, int shortcut, bool &handled)> OnShortCut;
    // The owner refreshes its caption from FileName.
    std::function<void()> OnCaptionChange;

    // --- Files --------------------------------------------------------------------
    bool LoadFromFile(const QString &fileName);
    // Before it writes, a file changed by another program since the document
    // read or wrote it leads to a question; false when the user kept it (no
    // message then) or the write failed.
    bool SaveToFile();
    // The text of the file read again, the caret on its line, as one undo step.
    bool ReloadFromFile();
    // Grows with every change of the text.
    unsigned long long Revision() const { return buffer_.revision(); }
    // Work for idle time: moves the text's gap a slice toward the caret, so
    // that the first key after a jump across a large document does not have
    // to move it all at once. True while more remains.
    bool MoveGapTowardCaret() { return !buffer_.moveGapToward(selStart_ - 1, 4 << 20); }
    // Appends n characters from the 0-based offset to `out`, the gap left where it is.
    void AppendText(int offset, int n, std::string &out) const { buffer_.appendTo(offset, n, out); }

    // What the document knows of its file on disk: who it is (device and
    // inode), its modification time and size when it was last read or written.
    struct DiskStamp {
        bool known = false;
        qint64 device = 0, inode = 0, mtimeNs = 0, size = 0;
        bool operator==(const DiskStamp &) const = default;
    };
    static DiskStamp StampOf(const QString &fileName);
    // What the document knows of its file (nothing when it has none yet).
    DiskStamp KnownDisk() const { return diskPath_ == FileName ? disk_ : DiskStamp{}; }
    // A document brought back from elsewhere (a recovery journal): its text
    // in the editor's form, its file name, and what its file was like then;
    // it is open as modified, the file untouched.
    void RecoverDocument(DocumentBytes doc, const QString &fileName, const DiskStamp &disk);
    enum class DiskState { Same, Changed, Missing };
    // The file compared with what the document remembers; Same for a document without a file.
    DiskState FileOnDisk() const;
    // The change now seen is the one the user has answered for (nothing is
    // asked again until the file changes once more).
    void AcceptFileOnDisk() { answered_ = StampOf(FileName); }
    // Asks about a file changed by another program (`saving`: before a save,
    // where Cancel keeps the file). False when the document must not be
    // written over the file now.
    bool ResolveChangedFile(bool saving);

    // --- View hooks -----------------------------------------------------------------
    virtual void Repaint() {}
    // True when it changed a scroll position.
    virtual bool ScrollToCaret() { return false; }
    virtual int VisibleLineCount() const { return 20; }
    // The automatic wrapping column; below 10 nothing wraps.
    virtual int WrapColumn() const { return 0; }
    virtual bool HasKeyboardFocus() const { return true; }

protected:
    virtual void CaretToggled() {}
    virtual void StopBlink() {}
    virtual void StartBlink() {}
    virtual void TakeFocus() {}

private:
    void RecordSelection();
    void ToggleCaret();
    void TypeChar(int code, bool ctrl);
    void RevealCaret();
    void AutoWrap(int caretBefore);
    void InsertAt(int pos, std::string_view text);
    void RemoveRange(int start, int end);
    bool IsPairAt(int pos) const { return CharAt(pos) == '\r' && CharAt(pos + 1) == '\n'; }
    int AtColumn(int lineStart, int column) const;
    int MovedPosition(int key, int modifiers, int p);
    void RefreshStamps();

    TextBuffer buffer_;
    UndoList undo_;
    DiskStamp disk_, answered_;
    QString diskPath_; // the file disk_ belongs to
    bool missingReported_ = false;
    void RememberDisk();
    int selStart_ = 1;
    int selEnd_ = 1;
    bool caretAtStart_ = false;
    bool caretShown_ = false;
    bool modified_ = false;
    bool captured_ = false;
};

} // namespace xo
