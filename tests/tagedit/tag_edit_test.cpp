#include "dialogs/dialog_services.h"
#include "editor/editor_test_util.h"
#include "settings/settings.h"
#include "support/scripted_services.h"
#include "support/scripted_tag_dialogs.h"
#include "tagedit/tag_edit.h"
#include "tags/insertion.h"

#include <gtest/gtest.h>

using namespace xo;
using platform::Answer;
using platform::Icon;

namespace {

class TagEditTest : public ::testing::Test, public DocumentHost, public TDialogHost {
protected:
    void SetUp() override {
        SetDefaultSettings();
        SetDocumentHost(this);
        SetDialogHost(this);
    }
    void TearDown() override {
        SetDocumentHost(nullptr);
        SetDialogHost(nullptr);
    }
    EditorCore *ActiveEditor() override { return &m; }
    bool HasDocument() override { return true; }
    QString DocumentFileName() override { return m.FileName; }
    void SaveDocumentAs() override {}
    void ShowHelp(int context) override { help.push_back(context); }
    void ShowZefoAdvert() override {}

    // The text with the caret as "|", after a command run with the caret
    // before the first occurrence of `at` (plus `shift`).
    std::string runAt(void (*command)(), const std::string &text, const std::string &at, int shift = 1) {
        m.SetText(text);
        const int p = int(text.find(at)) + 1 + shift;
        m.SetSelection(p, p);
        command();
        std::string t = m.Text();
        return t.insert(size_t(m.SelStart() - 1), "|");
    }

    test::ScriptedServices services;
    test::ScriptedTagDialogs dialogs;
    test::Model m;
    std::vector<int> help;
};

const char *const kNoEnd = "Tag nemá konec";

} // namespace

TEST_F(TagEditTest, DeletingATagTakesItsPartner) {
    EXPECT_EQ(runAt(DeleteTagUnderCaret, "a<B>bold</B>c", "</B>", 2), "a|boldc");
    services.expectMessage(kNoEnd);
    EXPECT_EQ(runAt(DeleteTagUnderCaret, "<B>Bold</B>", "</B>", 2), "<B>Bold|");
    // The partner's scan never deletes text.
    services.expectMessage(kNoEnd);
    EXPECT_EQ(runAt(DeleteTagUnderCaret, "<B>Bold</B> a > b", "</B>", 2), "<B>Bold| a > b");
    EXPECT_EQ(runAt(DeleteTagUnderCaret, "<P>one<P>two", "<P>"), "one<|P>two");
    services.expectMessage("Tagy jsou zřejmě vloženy rekurentně, což pro tento tag není přípustné.");
    EXPECT_EQ(runAt(DeleteTagUnderCaret, "<A href=x><A href=y>t</A></A>", "<A"), "<|A href=y>t</A></A>");
    services.expectMessage("Tagy jsou vloženy rekurentně");
    runAt(DeleteTagUnderCaret, "<FONT><FONT>", "<FONT>");
    EXPECT_EQ(runAt(DeleteTagUnderCaret, "x<HR>y", "<HR>"), "x|y");
    EXPECT_EQ(runAt(DeleteTagUnderCaret, "<!DOCTYPE html><P>", "<!D"), "|<P>");
    // A whole table, or just its two TABLE tags.
    const std::string table = "<TABLE>\r\n<TR><TD>a</TD></TR>\r\n<CAPTION>c</CAPTION></TABLE>";
    services.expectMessage("Vymazat všechny tagy tabulky ?", Answer::Yes, Icon::Question);
    EXPECT_EQ(runAt(DeleteTagUnderCaret, table, "</TABLE>", 3), "|\r\na\r\nc");
    services.expectMessage("Vymazat všechny tagy tabulky ?", Answer::No, Icon::Question);
    EXPECT_EQ(runAt(DeleteTagUnderCaret, table, "</TABLE>", 3), "|\r\n<TR><TD>a</TD></TR>\r\n<CAPTION>c</CAPTION>");
    services.expectMessage("Párový tag nenalezen."); // names are compared as written
    EXPECT_EQ(runAt(DeleteTagUnderCaret, "<table>x</TABLE>", "<table>"), "|x</TABLE>");
    EXPECT_EQ(services.pendingMessages(), 0);
}

TEST_F(TagEditTest, ReeditingWritesTheDialogsTagAndKeepsWhatItDoesNotKnow) {
    dialogs.font = [](FontValues &v) {
        EXPECT_EQ(v.size, "+1");
        EXPECT_EQ(v.color, 0x00FF00);
        v.face = "Arial";
        return true;
    };
    EXPECT_EQ(runAt(ReeditTagUnderCaret, "<font size=+1 color=#00FF00 class=x>t", "font"),
              "<FONT size=\"+1\" face=\"Arial\" color=\"#00ff00\" class=x|>t");
    EXPECT_TRUE(dialogs.calls.back().prefill);
    dialogs.align = [](int preselect) {
        EXPECT_EQ(preselect, 1);
        return std::string(" align=right");
    };
    EXPECT_EQ(runAt(ReeditTagUnderCaret, "<P align=center>x", "P"), "<P align=right|>x");
    dialogs.align = [](int preselect) {
        EXPECT_EQ(preselect, -1);
        return std::string(" align=left");
    };
    EXPECT_EQ(runAt(ReeditTagUnderCaret, "<P>x", "P"), "<P align=left|>x");
    dialogs.cell = [](CellData &d) {
        EXPECT_EQ(d.Align, 255); // ALIGN=RIGHT is no keyword
        EXPECT_FALSE(WarnSpanChange);
        d.Valign = 1;
        return true;
    };
    EXPECT_EQ(runAt(ReeditTagUnderCaret, "<TD ALIGN=RIGHT>", "TD"), "<TD valign=top|>");
    EXPECT_TRUE(WarnSpanChange);
    dialogs.table = [](TableValues &v, bool full) {
        EXPECT_FALSE(full);
        EXPECT_EQ(v.width, 600);
        return true;
    };
    EXPECT_EQ(runAt(ReeditTagUnderCaret, "<TABLE width=600>", "TABLE"), "<TABLE width=600%|>");
    dialogs.rule = [](RuleValues &v) {
        EXPECT_TRUE(v.percent);
        return true;
    };
    EXPECT_EQ(runAt(ReeditTagUnderCaret, "<HR>", "HR"), "<HR|>");
    dialogs.marquee = [](MarqueeValues &) { return true; };
    EXPECT_EQ(runAt(ReeditTagUnderCaret, "<MARQUEE>", "MARQUEE"),
              "<MARQUEE behavior=scroll direction=left loop=infinite align=top|>");
    // A long unknown attribute comes back byte for byte.
    const std::string style = "style=\"" + std::string(3000, 's') + "\"";
    dialogs.image = [](ImageValues &v) {
        EXPECT_EQ(v.src, "a.gif");
        return true;
    };
    EXPECT_EQ(runAt(ReeditTagUnderCaret, "<IMG src=a.gif " + style + " 3d=1>", "IMG"),
              "<IMG src=\"a.gif\" " + style + "|>");

    // Refusals leave the text as it is.
    services.expectMessage("Oprava tagu A s parametrem NAME není podporována.");
    EXPECT_EQ(runAt(ReeditTagUnderCaret, "<A NAME=top HREF=x.html>", "A", 1), "<A| NAME=top HREF=x.html>");
    services.expectMessage("Na koncovém tagu parametry opravovat nelze.");
    runAt(ReeditTagUnderCaret, "</B>", "B");
    services.expectMessage("Oprava tohoto tagu není podporována.");
    runAt(ReeditTagUnderCaret, "<BR>", "BR");
    dialogs.link = [](LinkValues &) { return false; };
    EXPECT_EQ(runAt(ReeditTagUnderCaret, "<A HREF=x.html>", "A"), "<A| HREF=x.html>");
}

TEST_F(TagEditTest, ColourAtTheCaretAndHelpOnTheTag) {
    const std::string page = "<BODY bgcolor=\"#FF8000\">";
    for (int shift : {1, 4, 8}) { // just after "#", inside, after the closing quote
        services.colorResults.push_back(QColor(0, 0, 255));
        EXPECT_EQ(runAt(ChooseColorAtCaret, page, "#", shift), "<BODY bgcolor=\"#0000ff|\">") << shift;
        EXPECT_EQ(services.clipboard, QStringLiteral("#0000ff"));
    }
    services.colorResults.push_back(QColor(255, 0, 0));
    EXPECT_EQ(runAt(ChooseColorAtCaret, "color=\"red\"", "red"), "color=\"r|ed\"");
    EXPECT_EQ(services.clipboard, QStringLiteral("#ff0000"));
    services.colorResults.push_back(std::nullopt);
    EXPECT_EQ(runAt(ChooseColorAtCaret, "#FF80 x", " "), "#FF80 |x"); // four digits: nothing found, cancelled

    for (const auto &[text, at, context] : std::vector<std::tuple<std::string, std::string, int>>{
             {"a</TD>", "TD", 308}, {"<H3 align=center>", "align", 316}, {"<HTML>", "TM", 399}, {"<!-- x -->", "x", 319},
             {"x<B>", "<", 315}, {"<TD>", ">", 308}}) {
        runAt(HelpOnTagUnderCaret, text, at, 0);
        EXPECT_EQ(help.back(), context) << text;
    }
    services.expectMessage("Kurzor není umístěn na žádném tagu");
    runAt(HelpOnTagUnderCaret, "<B>text", "ext");
    services.expectMessage("Kurzor není umístěn na žádném tagu");
    runAt(HelpOnTagUnderCaret, "plain", "p", 0);
    services.expectMessage("Kurzor není umístěn na žádném tagu");
    runAt(HelpOnTagUnderCaret, "<B>>x", ">x", 0); // right before a stray ">" after the tag
}
