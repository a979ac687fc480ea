#include "editor/editor_test_util.h"
#include "settings/settings.h"
#include "support/scripted_services.h"
#include "tags/insertion.h"

#include <gtest/gtest.h>

using namespace xo;

namespace {

// A document host holding one bare editor, or none.
class InsertionTest : public ::testing::Test, public DocumentHost {
protected:
    void SetUp() override {
        SetDefaultSettings();
        LastInsertedText = {};
        SetDocumentHost(this);
    }
    void TearDown() override { SetDocumentHost(nullptr); }
    EditorCore *ActiveEditor() override { return open ? &m : nullptr; }
    // The text with the caret shown as "|".
    std::string shown() const {
        std::string t = m.Text();
        EXPECT_EQ(m.SelStart(), m.SelEnd());
        return t.insert(size_t(m.SelStart() - 1), "|");
    }

    test::ScriptedServices services;
    test::Model m;
    bool open = true;
};

} // namespace

TEST_F(InsertionTest, WrappingPutsTheTagsAroundTheSelectionAndTheCaretAfterTheOpeningTag) {
    m.SetText("a word b");
    m.SetSelection(3, 7);
    WrapSelectionInTag("B", 0);
    EXPECT_EQ(shown(), "a <B>|word</B> b");
    EXPECT_EQ(LastInsertedText.text, "</B>");
    // Undo steps bring the original text back.
    while (!m.UndoRecords().empty()) m.Undo();
    EXPECT_EQ(m.Text(), "a word b");

    m.SetText("");
    WrapSelectionInTag("B", 0);
    EXPECT_EQ(shown(), "<B>|</B>");
    m.SetText("");
    WrapSelectionInTag("A", 1);
    InsertText(" name=\"\"", 1);
    EXPECT_EQ(shown(), "<A name=\"|\"></A>");
    // Several lines are wrapped as a whole, with no line break added.
    m.SetText("x\r\ny");
    m.SetSelection(1, 5);
    WrapSelectionInTag("PRE", 0);
    EXPECT_EQ(shown(), "<PRE>|x\r\ny</PRE>");
}

TEST_F(InsertionTest, TheClosingTagOnlyWithASelectionAndTheOtherWraps) {
    WrapSelectionInTagIfAny("P", 0);
    EXPECT_EQ(shown(), "<P>|");
    m.SetText("text");
    m.SetSelection(1, 5);
    WrapSelectionInTagIfAny("P", 0);
    EXPECT_EQ(shown(), "<P>|text</P>");
    m.SetText("x");
    m.SetSelection(1, 2);
    WrapSelection("<!-- ", " -->");
    EXPECT_EQ(shown(), "<!-- |x -->");
    EXPECT_EQ(LastInsertedText.text, "<!-- ");
    // The compound pattern of a tag with dialog attributes.
    m.SetText("t");
    m.SetSelection(1, 2);
    WrapSelectionInTag("DIV", 1);
    InsertText(" align=center", 0);
    CaretRight();
    EXPECT_EQ(shown(), "<DIV align=center>|t</DIV>");
    m.SetText("ab");
    CaretLeft();
    EXPECT_EQ(shown(), "|ab");
}

TEST_F(InsertionTest, InsertTextKeepsTheSelectionBehindAndRepeatsTheLastText) {
    InsertText("", 0); // nothing to repeat yet
    EXPECT_EQ(m.TextLength(), 0);
    m.SetText("sel");
    m.SetSelection(1, 4);
    InsertText("<BR>", 0);
    EXPECT_EQ(shown(), "<BR>|sel");
    InsertText("", 0);
    EXPECT_EQ(shown(), "<BR><BR>|sel");
    InsertText("<IMG src=\"\">", 2);
    EXPECT_EQ(shown(), "<BR><BR><IMG src=\"|\">sel");
    EXPECT_TRUE(m.PaintEnabled);
    // With no document open nothing changes, and the text is still remembered.
    open = false;
    const std::string before = m.Text();
    InsertText("<HR>", 0);
    WrapSelectionInTag("B", 0);
    WrapSelection("a", "b");
    CaretRight();
    EXPECT_EQ(m.Text(), before);
    EXPECT_EQ(LastInsertedText.text, "<HR>");
}
