#include "editor/editor_widget.h"
#include "settings/settings.h"
#include "support/scripted_services.h"

#include <QImage>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace xo;

namespace {

class EditorWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSettings();
        ed.resize(400, 300);
        ed.show();
        ed.setFocus();
        QApplication::setActiveWindow(&ed);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&ed));
        ed.grab(); // the first paint measures the character cell
    }
    void keys(const QString &s) { QTest::keyClicks(&ed, s); }
    QColor pixelAtCell(const QImage &img, int line, int col) const {
        // The middle of the cell's left half avoids the glyph's edges.
        const int x = 2 + col * TEditor::CellWidth() + 1;
        const int y = 2 + (line - 1) * TEditor::CellHeight() + 1;
        return img.pixelColor(x, y);
    }

    test::ScriptedServices services;
    TEditor ed;
};

// The colour a character is drawn in: the colour of the cell's pixels that
// differ from the background.
QColor inkOf(const QImage &img, int line, int col, QColor bg) {
    const int w = TEditor::CellWidth(), h = TEditor::CellHeight();
    const int x0 = 2 + col * w, y0 = 2 + (line - 1) * h;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            if (img.pixelColor(x, y) != bg) return img.pixelColor(x, y);
    return bg;
}

} // namespace

TEST_F(EditorWidgetTest, TypingWithRealKeyEvents) {
    keys("ab");
    QTest::keyClick(&ed, Qt::Key_Return);
    QTest::keyClick(&ed, Qt::Key_Tab);
    QKeyEvent czech(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("č"));
    QApplication::sendEvent(&ed, &czech);
    QTest::keyClick(&ed, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(&ed, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(ed.Text(), "ab\r\n        \xE8<BR>&nbsp;");
    QTest::keyClick(&ed, Qt::Key_Home);
    QTest::keyClick(&ed, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ed.Text(), "ab\r\n");
    QTest::keyClick(&ed, Qt::Key_Backspace);
    EXPECT_EQ(ed.Text(), "ab");
    // Deletions in a row are one undo step: the line end and the line come back together.
    QTest::keyClick(&ed, Qt::Key_Backspace, Qt::AltModifier);
    EXPECT_EQ(ed.Text(), "ab\r\n        \xE8<BR>&nbsp;");
    EXPECT_TRUE(ed.hasFocus()); // Tab stayed in the editor
}

TEST_F(EditorWidgetTest, KeysTheEditorDoesNotUseReachTheShortcutHandler) {
    std::vector<int> seen;
    ed.OnShortCut = [&](EditorCore &, int shortcut, bool &handled) {
        seen.push_back(shortcut);
        handled = shortcut == (int(Qt::Key_F) | int(Qt::ControlModifier));
    };
    QTest::keyClick(&ed, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(&ed, Qt::Key_F3);
    keys("q");
    EXPECT_EQ(ed.Text(), "q"); // not handled: typed
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0], int(Qt::Key_F) | int(Qt::ControlModifier));
    EXPECT_EQ(seen[1], int(Qt::Key_F3));
}

TEST_F(EditorWidgetTest, MouseClicksPlaceTheCaretAndDragsSelect) {
    ed.SetText("hello world\r\nsecond line");
    const int w = TEditor::CellWidth(), h = TEditor::CellHeight();
    // The right half of a character places the caret before it.
    QTest::mouseClick(&ed, Qt::LeftButton, {}, QPoint(3 * w + w / 2 + 1, h + h / 2));
    EXPECT_EQ(ed.SelStart(), ed.LineStart(2) + 3);
    QTest::mousePress(&ed, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseMove(&ed, QPoint(5 * w, 1));
    QTest::mouseRelease(&ed, Qt::LeftButton, {}, QPoint(5 * w, 1));
    EXPECT_EQ(ed.SelStart(), 1);
    EXPECT_EQ(ed.SelEnd(), 6);
    // Below the last line: the last line.
    EXPECT_EQ(ed.LineOfPos(ed.PositionFromPoint(5, 250)), 2);
    EXPECT_EQ(ed.PositionFromPoint(-50, 0), 1);
}

TEST_F(EditorWidgetTest, ScrollingFollowsTheCaret) {
    std::string text;
    for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + "\r\n";
    ed.SetText(text);
    const int n = ed.VisibleLineCount();
    ASSERT_GT(n, 3);
    ed.SetSelection(ed.LineStart(n), ed.LineStart(n));
    EXPECT_FALSE(ed.ScrollToCaret());
    QTest::keyClick(&ed, Qt::Key_Down); // from the last visible line: one line
    EXPECT_EQ(ed.VertScroll->value(), 1);
    ed.SetSelection(ed.LineStart(50), ed.LineStart(50));
    EXPECT_TRUE(ed.ScrollToCaret());
    EXPECT_EQ(ed.VertScroll->value(), 50 - n);
    ed.SetSelection(ed.LineStart(10), ed.LineStart(10));
    EXPECT_TRUE(ed.ScrollToCaret()); // above the top: its line becomes the top line
    EXPECT_EQ(ed.VertScroll->value(), 9);
    // A long line scrolls sideways and back.
    ed.SetText(std::string(300, 'x'));
    ed.SetSelection(250, 250);
    EXPECT_TRUE(ed.ScrollToCaret());
    EXPECT_GT(ed.HoriScroll->value(), 0);
    ed.SetSelection(1, 1);
    ed.ScrollToCaret();
    EXPECT_EQ(ed.HoriScroll->value(), 0);
}

TEST_F(EditorWidgetTest, ThePaintedColoursFollowTheMarkup) {
    ed.SetText("<A HREF=\"x\">link</A>\r\nplain");
    ed.SetSelection(ed.LineStart(2), ed.LineStart(2) + 2);
    const QImage img = ed.grab().toImage();
    const QColor bg(0, 0, 0);
    auto rgb = [](uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); };
    EXPECT_EQ(inkOf(img, 1, 1, bg), rgb(EditorColors[ecTagText]));   // A
    EXPECT_EQ(inkOf(img, 1, 9, bg), rgb(EditorColors[ecStrText]));   // x in quotes
    EXPECT_EQ(inkOf(img, 1, 12, bg), rgb(EditorColors[ecStdText]));  // link
    EXPECT_EQ(pixelAtCell(img, 2, 0), rgb(EditorColors[ecSelBackgr])); // selected "pl"
    EXPECT_EQ(pixelAtCell(img, 2, 3), bg);
    // A text file is not coloured.
    ed.FileName = "/tmp/readme.txt";
    ed.SetSelection(1, 1);
    const QImage plain = ed.grab().toImage();
    EXPECT_EQ(inkOf(plain, 1, 1, bg), rgb(EditorColors[ecStdText]));
}

TEST_F(EditorWidgetTest, ASelectionPastALineEndFillsTheRestOfTheRow) {
    ed.SetText("ab\r\ncd\r\nef");
    const QColor selBg(128, 128, 128);
    ed.SetSelection(2, ed.LineStart(2)); // across the first line end
    QImage img = ed.grab().toImage();
    EXPECT_EQ(pixelAtCell(img, 1, 10), selBg);
    ed.SetSelection(2, 3); // ends exactly at the line end
    img = ed.grab().toImage();
    EXPECT_NE(pixelAtCell(img, 1, 10), selBg);
}


namespace {
// The pixels of one character cell.
QImage cellImage(const QImage &img, int line, int col) {
    const int w = TEditor::CellWidth(), h = TEditor::CellHeight();
    return img.copy(2 + col * w, 2 + (line - 1) * h, w, h);
}
} // namespace

TEST_F(EditorWidgetTest, EveryCharacterIsDrawnInItsOwnCell) {
    // Each character drawn after a long run looks as it does alone at the
    // start of a line: nothing drifts off its cell or is covered.
    const std::string title = "<title>\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2</title>"; // Žluťoučký kůň
    // Empty lines keep the ring of "ů" above its cell out of the cell above.
    ed.SetText("<p>" + std::string(60, 'a') + "5</p>\r\n5\r\n" + title + "\r\n\xF2\r\n\r\n\xF9\r\n\r\naeiou\r\n\r\n\xE1\xE9\xED\xF3\xFA");
    ed.resize(900, 300);
    const QImage img = ed.grab().toImage();
    EXPECT_EQ(cellImage(img, 1, 63), cellImage(img, 2, 0));  // the "5"
    EXPECT_EQ(cellImage(img, 3, 19), cellImage(img, 4, 0));  // the "ň"
    EXPECT_EQ(cellImage(img, 3, 18), cellImage(img, 6, 0));  // the "ů"
    EXPECT_NE(cellImage(img, 4, 0), cellImage(img, 6, 0));
    // Every accent shows: á é í ó ú drawn unlike a e i o u (an accent is two pixels at this size).
    for (int col = 0; col < 5; ++col) {
        const QImage plain = cellImage(img, 8, col), accented = cellImage(img, 10, col);
        int differing = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x) differing += plain.pixel(x, y) != accented.pixel(x, y);
        EXPECT_GE(differing, 2) << "column " << col;
    }
}

TEST_F(EditorWidgetTest, TheCaretShowsAfterEveryKeyAndNeverInASelection) {
    ed.SetText("hello world");
    for (int i = 0; i < 6; ++i) {
        if (ed.CaretShown()) ed.BlinkTick(); // the blink has just hidden it
        QTest::keyClick(&ed, Qt::Key_X);
        EXPECT_TRUE(ed.CaretShown());
    }
    ed.SetText("hello world");
    services.clock = services.clock.addSecs(1); // not a double click
    const int w = TEditor::CellWidth(), h = TEditor::CellHeight();
    QTest::mousePress(&ed, Qt::LeftButton, {}, QPoint(2 + 2 * w, h / 2));
    QTest::mouseMove(&ed, QPoint(2 + 8 * w, h / 2));
    QTest::mouseRelease(&ed, Qt::LeftButton, {}, QPoint(2 + 8 * w, h / 2));
    ASSERT_EQ(ed.SelLength(), 6);
    for (int tick = 0; tick < 2; ++tick) {
        const QImage img = ed.grab().toImage();
        // The caret's two columns at each end of the selection hold no inverted pixels.
        for (int col : {2, 8})
            for (int y = 4; y < h; ++y) EXPECT_NE(img.pixelColor(2 + col * w, y), QColor(Qt::white)) << col << y;
        ed.BlinkTick();
    }
}

TEST_F(EditorWidgetTest, InputMethodsAndDeadKeysTypeTheirCharacters) {
    QInputMethodEvent dead;
    dead.setCommitString(QStringLiteral("ďŤ"));
    QApplication::sendEvent(&ed, &dead);
    QTest::keyClick(&ed, Qt::Key_Backtab, Qt::ShiftModifier);
    QKeyEvent nbsp(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QString(QChar(0xA0)));
    QApplication::sendEvent(&ed, &nbsp);
    QInputMethodEvent foreign;
    foreign.setCommitString(QStringLiteral("€ж"));
    QApplication::sendEvent(&ed, &foreign);
    EXPECT_EQ(ed.Text(), "\xEF\x8D        \xA0\x80");
    EXPECT_EQ(services.beeps, 1); // "ж" has no code
    EXPECT_TRUE(static_cast<QWidget &>(ed).inputMethodQuery(Qt::ImEnabled).toBool());
}
