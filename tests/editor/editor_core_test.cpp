#include "editor_test_util.h"
#include "settings/settings.h"
#include "support/scripted_services.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace xo;
using test::Model;

namespace {

class EditorCoreTest : public ::testing::Test {
protected:
    void SetUp() override { SetDefaultSettings(); }
    test::ScriptedServices services;
    Model m;
};

} // namespace

TEST_F(EditorCoreTest, AnEmptyTextHasOneEmptyLineAndKeysDoNothingButBeep) {
    EXPECT_EQ(m.LineCount(), 1);
    EXPECT_EQ(m.LineStart(1), 1);
    EXPECT_EQ(m.LineLength(1), 0);
    std::string line = "x";
    EXPECT_TRUE(m.GetLine(1, line));
    EXPECT_EQ(line, "");
    for (int k : {Qt::Key_Right, Qt::Key_End, Qt::Key_Down, Qt::Key_Delete, Qt::Key_PageDown}) m.key(k);
    EXPECT_EQ(m.SelStart(), 1);
    EXPECT_EQ(m.TextLength(), 0);
    m.KeyChar(8, false);
    EXPECT_EQ(services.beeps, 1);
    EXPECT_FALSE(m.Modified());
}

TEST_F(EditorCoreTest, LineQueries) {
    m.SetText("ab\r\ncde\r\n\r\nf\ng");
    EXPECT_EQ(m.LineCount(), 4);
    EXPECT_EQ(m.LineStart(0), -1);
    EXPECT_EQ(m.LineStart(2), 5);
    EXPECT_EQ(m.LineStart(4), 12);
    EXPECT_EQ(m.LineStart(5), m.TextLength() + 1);
    EXPECT_EQ(m.LineOfPos(1), 1);
    EXPECT_EQ(m.LineOfPos(3), 1);  // on the CR
    EXPECT_EQ(m.LineOfPos(4), 2);  // between CR and LF counts the next line
    EXPECT_EQ(m.LineOfPos(5), 2);
    EXPECT_EQ(m.LineOfPos(100), 4);
    EXPECT_EQ(m.LineStartOfPos(7), 5);
    EXPECT_EQ(m.LineStartOfPos(14), 12); // a lone LF does not start a line
    EXPECT_EQ(m.LineEndOfPos(1), 3);
    EXPECT_EQ(m.LineEndOfPos(3), 3);
    EXPECT_EQ(m.LineEndOfPos(12), m.TextLength() + 1);
    EXPECT_EQ(m.LineLength(2), 3);
    EXPECT_EQ(m.LineLength(3), 0);
    EXPECT_EQ(m.LineLength(4), 3);
    std::string line;
    EXPECT_FALSE(m.GetLine(0, line));
    EXPECT_TRUE(m.GetLine(9, line));
    EXPECT_EQ(line, "");
    EXPECT_TRUE(m.GetLine(4, line));
    EXPECT_EQ(line, "f\ng");
    EXPECT_EQ(m.CharAt(0), '\0');
    EXPECT_EQ(m.CharAt(m.TextLength() + 1), '\0');
}

TEST_F(EditorCoreTest, TextRangesAreCutAndClamped) {
    m.SetText(std::string(300, 'x'));
    EXPECT_EQ(m.GetTextRange(1, 301).size(), 255u);
    EXPECT_EQ(m.GetTextRange(5, 5), "");
    EXPECT_EQ(m.GetTextRange(299, 400), "xx");
    EXPECT_EQ(m.GetTextRange(-5, 3), "xx");
    EXPECT_EQ(m.GetTextRange(10, 4), "");
}

TEST_F(EditorCoreTest, LineEndsGoInOneStepWithBackspaceAndDelete) {
    m.SetText("ab\r\ncd");
    m.caret(5);
    m.KeyChar(8, false);
    EXPECT_EQ(m.Text(), "abcd");
    EXPECT_EQ(m.SelStart(), 3);
    m.SetText("ab\r\ncd");
    m.caret(3);
    m.key(Qt::Key_Delete);
    EXPECT_EQ(m.Text(), "abcd");
    EXPECT_TRUE(m.Modified());
}

TEST_F(EditorCoreTest, TypingMergesIntoOneUndoStepAndCaretMovesSplitIt) {
    m.type("abc");
    EXPECT_EQ(m.UndoRecords().count(), 1); // typing records no selection state
    m.Undo();
    EXPECT_EQ(m.Text(), "");

    Model n;
    n.type("ab");
    const int before = n.UndoRecords().count();
    n.key(Qt::Key_Left);
    n.type("c");
    EXPECT_EQ(n.Text(), "acb");
    EXPECT_EQ(n.UndoRecords().count(), before + 2); // selection state, insertion
    n.Undo();
    EXPECT_EQ(n.Text(), "ab");
    EXPECT_EQ(n.SelStart(), 2);
    n.Undo();
    EXPECT_EQ(n.SelStart(), 3); // back where the caret was before Left
    n.Undo();
    EXPECT_EQ(n.Text(), "");
}

TEST_F(EditorCoreTest, BackspacesInARowAreOneDeletion) {
    m.SetText("hello");
    m.caret(6);
    const int before = m.UndoRecords().count();
    for (int i = 0; i < 3; ++i) m.KeyChar(8, false);
    EXPECT_EQ(m.Text(), "he");
    EXPECT_EQ(m.UndoRecords().count(), before + 1);
    m.Undo();
    EXPECT_EQ(m.Text(), "hello");
    EXPECT_EQ(m.SelStart(), 6);
    // Delete keys extend forwards.
    m.caret(1);
    m.key(Qt::Key_Delete);
    m.key(Qt::Key_Delete);
    EXPECT_EQ(m.Text(), "llo");
    m.Undo();
    EXPECT_EQ(m.Text(), "hello");
}

TEST_F(EditorCoreTest, OnlyTheLast99ChangesCanBeUndone) {
    for (int i = 0; i < 100; ++i) {
        m.type("x");
        m.key(Qt::Key_Home); // a selection record between insertions
    }
    EXPECT_EQ(m.UndoRecords().count(), 99);
    for (int i = 0; i < 120; ++i) m.Undo();
    EXPECT_FALSE(m.Text().empty());
    EXPECT_LT(m.TextLength(), 100);
    const std::string left = m.Text();
    m.Undo(); // on an empty list nothing changes
    EXPECT_EQ(m.Text(), left);
}

TEST_F(EditorCoreTest, OverwriteModeReplacesLettersButInsertsAtLineEnds) {
    m.SetText("ab\r\ncd");
    m.key(Qt::Key_Insert);
    EXPECT_FALSE(m.InsertMode);
    m.caret(1);
    m.type("X");
    EXPECT_EQ(m.Text(), "Xb\r\ncd");
    m.caret(3);
    m.type("Y"); // at the CR: inserted before it
    EXPECT_EQ(m.Text(), "XbY\r\ncd");
    m.caret(2);
    m.KeyChar(13, false); // Enter only moves to the next line
    EXPECT_EQ(m.Text(), "XbY\r\ncd");
    EXPECT_EQ(m.SelStart(), 6);
    m.Undo();
    m.Undo();
    m.Undo();
    EXPECT_EQ(m.Text(), "Xb\r\ncd");
}

TEST_F(EditorCoreTest, OverwritingASelectionTakesOnlyTheSelection) {
    m.SetText("xaay");
    m.key(Qt::Key_Insert);
    m.SetSelection(2, 4);
    m.type("Z");
    EXPECT_EQ(m.Text(), "xZy");
    m.SetText("a1b a1b");
    for (int p : {6, 2}) { // as replace-all does it, from the back
        m.SetSelection(p, p + 1);
        m.ReplaceSelection("2");
    }
    EXPECT_EQ(m.Text(), "a2b a2b");
}

TEST_F(EditorCoreTest, BareLineFeedsAndTabsAreOrdinaryCharactersForTheKeys) {
    m.SetText("a\nb\r\nc");
    m.caret(1);
    for (int i = 0; i < 3; ++i) m.key(Qt::Key_Down);
    EXPECT_EQ(m.SelStart(), 7); // line 2, not stuck in front of the LF
    m.caret(1);
    m.key(Qt::Key_End);
    EXPECT_EQ(m.SelStart(), 4);
    m.caret(1);
    m.key(Qt::Key_Right);
    m.key(Qt::Key_Right);
    EXPECT_EQ(m.SelStart(), 3);
    m.caret(2);
    m.key(Qt::Key_Delete);
    EXPECT_EQ(m.Text(), "ab\r\nc");
    m.SetText("x\ty\r\n12345\r\n\t\t\t");
    m.visible = 1;
    m.caret(4);
    m.key(Qt::Key_PageDown);
    EXPECT_EQ(m.SelStart(), 9); // column 3 of line 2
    m.key(Qt::Key_PageDown);
    EXPECT_EQ(m.SelStart(), 16); // over the tabs of line 3
    m.key(Qt::Key_PageUp);
    EXPECT_EQ(m.SelStart(), 9);
    m.caret(2);
    m.key(Qt::Key_Delete);
    EXPECT_EQ(m.Text(), "xy\r\n12345\r\n\t\t\t");
}

TEST_F(EditorCoreTest, SpecialCharacters) {
    m.KeyChar(9, false);
    EXPECT_EQ(m.Text(), "        ");
    m.SetText("");
    m.KeyChar(' ', true);
    EXPECT_EQ(m.Text(), "&nbsp;");
    m.KeyChar(10, true);
    EXPECT_EQ(m.Text(), "&nbsp;<BR>");
    m.KeyChar(13, false);
    EXPECT_EQ(m.Text(), "&nbsp;<BR>\r\n");
    m.KeyChar(9, true); // Ctrl+Tab
    m.KeyChar(3, true); // other control codes
    EXPECT_EQ(m.Text(), "&nbsp;<BR>\r\n");
    m.KeyChar(0xE8, false); // č
    EXPECT_EQ(m.Text().back(), '\xE8');
}

TEST_F(EditorCoreTest, CtrlYDeletesTheLineButTheLastKeepsThePreviousLineEnd) {
    m.SetText("one\r\ntwo\r\nthree");
    m.caret(7);
    m.KeyChar(25, true);
    EXPECT_EQ(m.Text(), "one\r\nthree");
    m.caret(8);
    m.KeyChar(25, true);
    EXPECT_EQ(m.Text(), "one\r\n");
    EXPECT_EQ(m.SelStart(), 6);
}

TEST_F(EditorCoreTest, CtrlTDeletesToTheNextWord) {
    m.SetText("word  next");
    m.caret(1);
    m.KeyChar(20, true);
    EXPECT_EQ(m.Text(), "next");
    m.SetText("ab.c");
    m.caret(1);
    m.KeyChar(20, true); // over "ab", then the "." as the one further character
    EXPECT_EQ(m.Text(), "c");
    m.SetText("end");
    m.caret(2);
    m.KeyChar(20, true);
    EXPECT_EQ(m.Text(), "e");
    m.SetSelection(1, 2);
    m.KeyChar(20, true); // not with a selection
    EXPECT_EQ(m.Text(), "e");
}

TEST_F(EditorCoreTest, CursorMovementOverLines) {
    m.SetText("abcdef\r\nxy\r\n123456");
    m.caret(6); // column 5 of line 1
    m.key(Qt::Key_Down);
    EXPECT_EQ(m.SelStart(), 11); // end of "xy"
    m.key(Qt::Key_Down);
    EXPECT_EQ(m.SelStart(), 15); // column 2 of line 3: Down keeps the column it has now
    m.key(Qt::Key_Up);
    EXPECT_EQ(m.SelStart(), 11);
    m.key(Qt::Key_Up);
    EXPECT_EQ(m.SelStart(), 3);
    m.key(Qt::Key_Up); // line 1: no move
    EXPECT_EQ(m.SelStart(), 3);
    m.key(Qt::Key_End);
    EXPECT_EQ(m.SelStart(), 7);
    m.key(Qt::Key_Right); // over the CR LF
    EXPECT_EQ(m.SelStart(), 9);
    m.key(Qt::Key_Left);
    EXPECT_EQ(m.SelStart(), 7);
    m.key(Qt::Key_Home);
    EXPECT_EQ(m.SelStart(), 1);
    m.key(Qt::Key_End, kCtrl);
    EXPECT_EQ(m.SelStart(), m.TextLength() + 1);
    m.key(Qt::Key_Down); // last line: to its end
    EXPECT_EQ(m.SelStart(), m.TextLength() + 1);
    m.key(Qt::Key_PageUp, kCtrl);
    EXPECT_EQ(m.SelStart(), 1);
    m.key(Qt::Key_Up, kCtrl); // moves nothing
    m.key(Qt::Key_Right, kAlt);
    EXPECT_EQ(m.SelStart(), 1);
}

TEST_F(EditorCoreTest, PageKeysMoveByTheVisibleLines) {
    std::string text;
    for (int i = 1; i <= 30; ++i) text += "line" + std::to_string(i) + "\r\n";
    m.SetText(text);
    m.visible = 10;
    m.caret(3);
    m.key(Qt::Key_PageDown);
    EXPECT_EQ(m.LineOfPos(m.SelStart()), 11);
    EXPECT_EQ(m.SelStart() - m.LineStartOfPos(m.SelStart()), 2);
    m.key(Qt::Key_PageUp);
    EXPECT_EQ(m.LineOfPos(m.SelStart()), 1);
    m.caret(m.LineStart(15) + 3);
    m.key(Qt::Key_PageUp);
    EXPECT_EQ(m.SelStart(), m.LineStart(5) + 3);
}

TEST_F(EditorCoreTest, WordJumps) {
    m.SetText("<A href=\"x\">link text</A>");
    m.caret(1);
    m.key(Qt::Key_Right, kCtrl);
    EXPECT_EQ(m.SelStart(), 4); // after "<A " at "href"
    m.key(Qt::Key_Right, kCtrl);
    EXPECT_EQ(m.SelStart(), 10); // stops at '=', then over '=' and '"' to "x"
    const int end = m.TextLength() + 1;
    m.caret(end);
    m.key(Qt::Key_Left, kCtrl);
    EXPECT_EQ(m.SelStart(), 23); // back over ">", then over "A/" to the "<" before them
    m.key(Qt::Key_Left, kCtrl);
    EXPECT_EQ(m.SelStart(), 18); // "text"
    m.caret(1);
    m.key(Qt::Key_Left, kCtrl);
    EXPECT_EQ(m.SelStart(), 1);
}

TEST_F(EditorCoreTest, ShiftExtendsFromTheAnchorAndBackwardsSelectionsRememberTheirEnd) {
    m.SetText("abcdef");
    m.caret(4);
    m.key(Qt::Key_Right, kShift);
    m.key(Qt::Key_Right, kShift);
    EXPECT_EQ(m.SelStart(), 4);
    EXPECT_EQ(m.SelEnd(), 6);
    EXPECT_FALSE(m.CaretAtStart());
    m.key(Qt::Key_Left, kShift);
    m.key(Qt::Key_Left, kShift);
    m.key(Qt::Key_Left, kShift);
    EXPECT_EQ(m.SelStart(), 3);
    EXPECT_EQ(m.SelEnd(), 4);
    EXPECT_TRUE(m.CaretAtStart());
    m.key(Qt::Key_Left, kShift);
    EXPECT_EQ(m.SelStart(), 2);
    EXPECT_EQ(m.SelEnd(), 4);
    m.key(Qt::Key_Right); // collapses at the moving end
    EXPECT_EQ(m.SelStart(), 3);
    EXPECT_EQ(m.SelEnd(), 3);
    m.SetSelection(2, 5);
    m.key(Qt::Key_Delete);
    EXPECT_EQ(m.Text(), "aef");
}

TEST_F(EditorCoreTest, DoubleClickSelectsTagOrWordAndTripleClickTheLine) {
    m.SetText("x\r\n<B>bold</B> end");
    const QDateTime t0(QDate(2026, 12, 5), QTime(10, 0, 0));
    auto click = [&](int pos, const QDateTime &at) {
        m.MouseDown(pos);
        m.MouseUp(true, at);
    };
    click(5, t0); // on "B" of "<B>"
    click(5, t0.addMSecs(100));
    EXPECT_EQ(m.GetTextRange(m.SelStart(), m.SelEnd()), "<B>");
    click(8, t0.addSecs(10)); // on "o" of "bold"
    click(8, t0.addSecs(10).addMSecs(100));
    EXPECT_EQ(m.GetTextRange(m.SelStart(), m.SelEnd()), "bold");
    click(8, t0.addSecs(10).addMSecs(200)); // third click
    EXPECT_EQ(m.GetTextRange(m.SelStart(), m.SelEnd()), "<B>bold</B> end");
    click(8, t0.addSecs(20));
    click(8, t0.addSecs(20).addMSecs(250)); // too slow for a double click
    EXPECT_EQ(m.SelLength(), 0);
    // Clicks on another day do not count.
    click(8, QDateTime(QDate(2026, 12, 6), QTime(0, 0, 0)));
    EXPECT_EQ(m.SelLength(), 0);
}

TEST_F(EditorCoreTest, DraggingSelectsInBothDirections) {
    m.SetText("abcdefgh");
    m.MouseDown(5);
    m.MouseMove(7);
    EXPECT_EQ(m.SelStart(), 5);
    EXPECT_EQ(m.SelEnd(), 7);
    m.MouseMove(2);
    EXPECT_EQ(m.SelStart(), 2);
    EXPECT_EQ(m.SelEnd(), 5);
    EXPECT_TRUE(m.CaretAtStart());
    m.MouseUp(true, QDateTime(QDate(2026, 1, 1), QTime(1, 0)));
    EXPECT_FALSE(m.CaretAtStart());
    m.MouseMove(8); // no longer captured
    EXPECT_EQ(m.SelEnd(), 5);
}

TEST_F(EditorCoreTest, AutomaticWrappingBreaksBeforeTheSpaceRun) {
    m.wrap = 20;
    m.type("aaaa bbbb cccc dddd  eee");
    // The line grew past column 20 with "e"; the break goes before the two spaces.
    EXPECT_EQ(m.Text(), "aaaa bbbb cccc dddd\r\n  eee");
    EXPECT_EQ(m.SelStart(), m.TextLength() + 1);
    m.type("f");
    EXPECT_EQ(m.Text(), "aaaa bbbb cccc dddd\r\n  eeef");
    // Typing within the first 20 columns does not wrap.
    m.SetText("aaaa bbbb cccc dddd eeee");
    m.caret(3);
    m.type("X");
    EXPECT_EQ(m.Text(), "aaXaa bbbb cccc dddd eeee");
    // Typing further right breaks the line and keeps the caret with its text.
    m.SetText("aaaa bbbb cccc dddd eeee ffff");
    m.caret(24);
    m.type("X");
    EXPECT_EQ(m.Text(), "aaaa bbbb cccc dddd\r\n eeeXe ffff");
    EXPECT_EQ(m.SelStart(), 27);
    EXPECT_EQ(m.CharAt(m.SelStart() - 1), 'X');
    // Off when the option is off or the column is too small.
    Settings.Format = false;
    m.SetText("");
    m.type(std::string(30, 'a') + " b");
    EXPECT_EQ(m.LineCount(), 1);
}

TEST_F(EditorCoreTest, ClipboardConvertsLineEndsAndTakesAllOfIt) {
    m.SetText("one\r\ntwo");
    m.SetSelection(1, 9);
    m.CopyToClipboard();
    EXPECT_EQ(services.clipboard, QStringLiteral("one\ntwo"));
    services.clipboard = QStringLiteral("a\nb\r\nč") + QString(150000, u'x');
    m.SetSelection(4, 6); // the CR LF goes first
    m.PasteFromClipboard();
    EXPECT_EQ(m.Text(), "onea\r\nb\r\n\xE8" + std::string(150000, 'x') + "two");
    m.SetSelection(1, 4);
    m.CutToClipboard();
    EXPECT_EQ(services.clipboard, QStringLiteral("one"));
    EXPECT_EQ(m.Text().substr(0, 2), "a\r");
    services.clipboard.reset();
    services.expectMessage(QStringLiteral("Schránka nepodporuje textový formát"));
    m.PasteFromClipboard();
}

TEST_F(EditorCoreTest, SelectionPropertiesRecordOneStateAndDoNotClamp) {
    m.SetText("abcdef");
    const int before = m.UndoRecords().count();
    m.SetSelStart(3);
    m.SetSelLength(2);
    EXPECT_EQ(m.SelEnd(), 5);
    m.SetSelEnd(6);
    EXPECT_EQ(m.SelLength(), 3);
    EXPECT_EQ(m.UndoRecords().count(), before + 1);
    m.DeleteRange(2, 4);
    EXPECT_EQ(m.Text(), "adef");
    EXPECT_EQ(m.SelStart(), 2);
    EXPECT_EQ(m.SelEnd(), 2);
}

TEST_F(EditorCoreTest, TheHostHearsOfEveryModifiedChange) {
    struct Host : EditorHost {
        std::vector<bool> states;
        void ModifiedChanged(EditorCore &e) override { states.push_back(e.Modified()); }
    } host;
    SetEditorHost(&host);
    m.type("a");
    m.SetText("");
    SetEditorHost(nullptr);
    ASSERT_GE(host.states.size(), 2u);
    EXPECT_TRUE(host.states.front());
    EXPECT_FALSE(host.states.back());
}

TEST_F(EditorCoreTest, UnhandledKeysGoToTheShortcutHandler) {
    std::vector<int> seen;
    m.OnShortCut = [&](EditorCore &, int shortcut, bool &handled) {
        seen.push_back(shortcut);
        handled = shortcut == (int(Qt::Key_F) | int(Qt::ControlModifier));
    };
    EXPECT_TRUE(m.KeyDown(Qt::Key_F, kCtrl));
    EXPECT_FALSE(m.KeyDown(Qt::Key_A, 0));
    EXPECT_FALSE(m.KeyDown(Qt::Key_F3, kShift));
    m.KeyDown(Qt::Key_Left, 0); // the editor's own key
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[2], int(Qt::Key_F3) | int(Qt::ShiftModifier));
    m.type("ab");
    EXPECT_TRUE(m.KeyDown(Qt::Key_Backspace, kAlt)); // Alt+Backspace undoes
    EXPECT_EQ(m.Text(), "");
}
