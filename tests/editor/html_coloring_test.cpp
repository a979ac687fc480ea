#include "editor/html_coloring.h"

#include <gtest/gtest.h>

using namespace xo;

namespace {

// The colour of every character of a line, as a string of digits ('S' for selected).
std::string colorsOf(std::string_view line, ColorState &st, bool coloring = true, int selFrom = 0, int selTo = 0) {
    std::string out;
    for (const ColorRun &r : ColorLine(line, st, coloring, selFrom, selTo))
        out.append(size_t(r.length), r.selected ? 'S' : char('0' + r.color));
    return out;
}

std::string colorsOf(std::string_view line) {
    ColorState st;
    return colorsOf(line, st);
}

} // namespace

TEST(Coloring, TagAttributeStringAndText) {
    // <A HREF="x.htm">link</A>
    EXPECT_EQ(colorsOf("<A HREF=\"x.htm\">link</A>"), "111111112222222100001111");
}

TEST(Coloring, NumbersInsideTags) {
    EXPECT_EQ(colorsOf("<FONT color=#ff0000>"), std::string(12, '1') + std::string(7, '3') + "1");
    EXPECT_EQ(colorsOf("<TD width=100>"), "1111111111333" "1");
    EXPECT_EQ(colorsOf("<H1>"), "1111"); // the digit of a tag name
    EXPECT_EQ(colorsOf("<P a=\"100\">"), "11111222221");
    EXPECT_EQ(colorsOf("a=100 <B>"), "000000111"); // outside tags nothing is a number
}

TEST(Coloring, CommentsSpanLinesUntilDashAngle) {
    ColorState st;
    EXPECT_EQ(colorsOf("x<!-- a <B> b", st), "0" + std::string(12, '4'));
    EXPECT_TRUE(st.inComment);
    EXPECT_EQ(colorsOf("still > here -->after", st), std::string(16, '4') + "00000");
    EXPECT_FALSE(st.inComment);
    EXPECT_FALSE(st.inTag);
}

TEST(Coloring, DeclarationsEndAtTheirAngleLikeTags) {
    ColorState st;
    EXPECT_EQ(colorsOf("<!DOCTYPE html>", st), "111111111111111");
    EXPECT_FALSE(st.inTag);
    EXPECT_FALSE(st.inComment);
    EXPECT_EQ(colorsOf("<HTML>text", st), "1111110000");
}

TEST(Coloring, OffMeansPlainText) {
    ColorState st;
    EXPECT_EQ(colorsOf("<A HREF=\"x\">y</A>", st, false), "00000000000000000");
}

TEST(Coloring, SelectedCharactersAreDrawnAloneAndStillCarryTheState) {
    ColorState st;
    // "<B>x" with "B>" selected: the tag still closes.
    EXPECT_EQ(colorsOf("<B>x", st, true, 1, 3), "1SS0");
    EXPECT_FALSE(st.inTag);
    const auto runs = ColorLine("<B>x", st = {}, true, 1, 3);
    EXPECT_EQ(runs.size(), 4u);
}

TEST(Coloring, BackwardScanFindsTheNearestTagBoundary) {
    auto scan = [](const std::string &text, int pos) {
        return ColorStateBefore([&](int p) { return p >= 1 && p <= int(text.size()) ? text[size_t(p - 1)] : '\0'; },
                                pos);
    };
    const std::string doc = "<P>\r\n<!-- one\r\ntwo\r\nthree -->\r\n<A href=\"x\r\ny\">";
    // Inside the comment: the scan meets "<!--".
    const ColorState inComment = scan(doc, int(doc.find("two")) + 1);
    EXPECT_TRUE(inComment.inTag);
    EXPECT_TRUE(inComment.inComment);
    // After the comment's end.
    const ColorState after = scan(doc, int(doc.find("<A")) + 1);
    EXPECT_FALSE(after.inTag);
    // Inside a string that spans a line end.
    const ColorState inString = scan(doc, int(doc.find("y\"")) + 1);
    EXPECT_TRUE(inString.inTag);
    EXPECT_TRUE(inString.inString);
    // Near the start nothing is scanned.
    EXPECT_EQ(scan(doc, 1), ColorState{});
}

TEST(Coloring, WhichDocumentsAreHtml) {
    EXPECT_TRUE(IsHtmlDocument(""));
    EXPECT_TRUE(IsHtmlDocument("/HOME/A/INDEX.HTML"));
    EXPECT_TRUE(IsHtmlDocument("/HOME/HTMSTUFF/A.TXT"));
    EXPECT_FALSE(IsHtmlDocument("/HOME/A/README.TXT"));
}

TEST(Coloring, APartOfALineColoursAsItDoesWithinTheWholeLine) {
    // A line with tags, strings, numbers and a comment, cut where its runs
    // start: the part coloured alone (from the state at its start, with its
    // neighbours as context) gives the same colours as the whole line.
    const std::string line = "x <A href=\"a b\" size=+1 c=#fa0 w=%5>t -2</A><!-- c - > --> y<B>";
    ColorState whole;
    const std::string all = colorsOf(line, whole);
    std::vector<int> starts{0};
    ColorState st0;
    for (const ColorRun &r : ColorLine(line, st0, true)) starts.push_back(starts.back() + r.length);
    for (int from : starts) {
        for (int to = from; to <= int(line.size()); to += 5) {
            ColorState st;
            ColorLine(line, st, true, 0, 0, 0, from); // the state where the part starts
            std::string part;
            for (const ColorRun &r : ColorLine(line, st, true, 0, 0, from, to))
                part.append(size_t(r.length), char('0' + r.color));
            EXPECT_EQ(part, all.substr(size_t(from), size_t(to - from))) << from << ".." << to;
        }
    }
}

TEST(Coloring, TheBackwardScanStopsAtItsLimit) {
    std::string text = " <B" + std::string(100000, 'a'); // the first character is never looked at
    auto at = [&](int p) { return p >= 1 && p <= int(text.size()) ? text[size_t(p - 1)] : '\0'; };
    EXPECT_TRUE(ColorStateBefore(at, int(text.size()) + 1).inTag);
    int lowest = int(text.size());
    auto watched = [&](int p) {
        lowest = std::min(lowest, p);
        return at(p);
    };
    EXPECT_FALSE(ColorStateBefore(watched, int(text.size()) + 1, kColorScanLimit).inTag);
    EXPECT_GE(lowest, int(text.size()) - kColorScanLimit);
}
