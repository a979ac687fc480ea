#include "editor/editor_test_util.h"
#include "settings/settings.h"
#include "support/scripted_services.h"
#include "tagedit/tag_location.h"
#include "tags/insertion.h"

#include <gtest/gtest.h>

using namespace xo;

namespace {

const QString kNoTag = QStringLiteral("Kurzor není umístěn na žádném tagu");

class TagLocationTest : public ::testing::Test {
protected:
    void SetUp() override { SetDefaultSettings(); }
    // The located tag's text, or "-" after the message.
    std::string locate(const std::string &text, int caret) {
        m.SetText(text);
        m.SetSelection(caret, caret);
        int s = 0, e = 0;
        if (!LocateTagAtCaret(m, s, e)) return "-";
        return text.substr(size_t(s - 1), size_t(e - s + 1));
    }
    // Every attribute of the tag at position 1 as "name=value;", up to the
    // first empty name.
    std::string attributes(const std::string &tag) {
        m.SetText(tag);
        int p = int(tag.find_first_of(" >")) + 1;
        std::string out, name, value;
        bool has = false;
        for (;;) {
            ParseNextAttribute(m, p, name, value, has);
            if (name.empty()) break;
            out += name + "=" + value + ";";
        }
        return out;
    }
    test::ScriptedServices services;
    test::Model m;
};

} // namespace

TEST_F(TagLocationTest, TheCaretMustStandBetweenTheAngleBrackets) {
    EXPECT_EQ(locate("x<B>y", 3), "<B>");
    EXPECT_EQ(locate("<HTML>", 1), "<HTML>");              // at the very start
    EXPECT_EQ(locate("<IMG SRC=\"a>b.gif\">", 5), "<IMG SRC=\"a>"); // quotes mean nothing
    for (auto [text, caret] : {std::pair<std::string, int>{"x<B>y", 5}, // right after ">"
                               {"x<B>y", 2},                            // right before "<"
                               {"", 1},                                 // an empty document
                               {"<B", 3},                               // no ">" before the end
                               {"a<B<I>", 4},                           // a "<" before the ">"
                               {"text>", 6}}) {                          // the end of the text
        services.expectMessage(kNoTag);
        EXPECT_EQ(locate(text, caret), "-") << text << " at " << caret;
    }
}

TEST_F(TagLocationTest, NamesAndAttributesAreTakenApart) {
    std::string t = "/TABLE>";
    EXPECT_TRUE(TagNameOf(t));
    EXPECT_EQ(t, "TABLE");
    t = "!-- x -->";
    EXPECT_FALSE(TagNameOf(t));
    EXPECT_EQ(t, "!");
    EXPECT_EQ(attributes("<TD ALIGN=Center nowrap>"), "align=Center;nowrap=;");
    EXPECT_EQ(attributes("<FONT size = \"+1\">"), "size=+1;");
    EXPECT_EQ(attributes("<A href=x.html target=_top>"), "href=x.html;target=_top;");
    EXPECT_EQ(attributes("<FONT data-x=1 size=2>"), "data=;"); // the hyphen ends the tag for the caller
    EXPECT_EQ(attributes("<P title=\"it's\"\r\nclass=a\tb>"), "title=it's;class=a\tb;");
    // Values of any length come whole.
    const std::string style(5000, 's');
    EXPECT_EQ(attributes("<DIV style=\"" + style + "\">"), "style=" + style + ";");
    bool has = false;
    std::string name, value;
    m.SetText("<BR>");
    int p = 4;
    ParseNextAttribute(m, p, name, value, has);
    EXPECT_FALSE(has);
}

TEST_F(TagLocationTest, UnknownAttributesAreKeptByteForByteAndPutBack) {
    const std::string unknownText = "onclick=\"" + std::string(1990, 'x') + "\"";
    m.SetText("<IMG src=a.gif  Data=\"Q\"\r\n " + unknownText + " >");
    int p = 5;
    std::string name, value, kept;
    bool has = false;
    for (;;) {
        const int from = p;
        ParseNextAttribute(m, p, name, value, has);
        if (name.empty()) break;
        if (name != "src") KeepUnknownAttribute(m, from, p, kept);
    }
    EXPECT_EQ(kept, " Data=\"Q\" \r\n " + unknownText);
    struct Host : DocumentHost {
        EditorCore *e;
        EditorCore *ActiveEditor() override { return e; }
    } host;
    host.e = &m;
    SetDocumentHost(&host);
    m.SetText("<IMG>");
    m.SetSelection(5, 5);
    ReinsertUnknownAttributes(kept);
    SetDocumentHost(nullptr);
    EXPECT_EQ(m.Text(), "<IMG" + kept + ">");
}

TEST_F(TagLocationTest, ColoursNumbersAndTables) {
    EXPECT_EQ(ColorFromHtml("#FF0000"), 255u);
    EXPECT_EQ(ColorFromHtml("#0080ff"), 0x80u * 256 + 0xFFu * 65536);
    EXPECT_EQ(ColorFromHtml("red"), 0u);
    EXPECT_EQ(ColorFromHtml("#ff00"), 0u);
    EXPECT_EQ(IntFromAttr("  42"), 42);
    EXPECT_EQ(IntFromAttr("-7"), -7);
    EXPECT_EQ(IntFromAttr("$FF"), 255);
    EXPECT_EQ(IntFromAttr("2147483647"), 2147483647);
    for (const char *bad : {"", "50%", "99999999999", "$80000000", "12 ", "1e3", "$", "-"})
        EXPECT_EQ(IntFromAttr(bad), -1) << bad;
    EXPECT_TRUE(InTable(EmptyTags, "!"));
    EXPECT_TRUE(InTable(NonNestingTags, "APPLET"));
    EXPECT_FALSE(InTable(TableInnerTags, "td")); // case counts
    EXPECT_TRUE(InTable(DefinitionInnerTags, "DT"));
}
