#include "editor/fold_search.h"
#include "editor/text_buffer.h"

#include <gtest/gtest.h>
#include <cctype>
#include <random>

using namespace xo;

namespace {

// Line starts computed the slow, obvious way: after every CR LF pair.
std::vector<int> naiveStarts(const std::string &s) {
    std::vector<int> v{0};
    for (size_t i = 0; i + 1 < s.size(); ++i)
        if (s[i] == '\r' && s[i + 1] == '\n') v.push_back(int(i) + 2);
    return v;
}

void expectSameAs(TextBuffer &b, const std::string &model) {
    ASSERT_EQ(b.size(), int(model.size()));
    ASSERT_EQ(b.copy(0, b.size()), model);
    const auto starts = naiveStarts(model);
    ASSERT_EQ(b.lineCount(), int(starts.size())) << "text: " << testing::PrintToString(model);
    for (size_t i = 0; i < starts.size(); ++i) ASSERT_EQ(b.lineStart(int(i)), starts[i]) << "line " << i;
    size_t line = 0;
    for (int off = 0; off <= int(model.size()) + 1; ++off) {
        while (line + 1 < starts.size() && starts[line + 1] <= off) ++line;
        ASSERT_EQ(b.lineOf(off), int(line)) << "offset " << off;
    }
}

} // namespace

TEST(TextBuffer, OnlyCrLfPairsStartLines) {
    TextBuffer b;
    b.assign("a\nb\rc\r\nd\n\r\n");
    EXPECT_EQ(b.lineCount(), 3);
    EXPECT_EQ(b.lineStart(1), 7);
    EXPECT_EQ(b.lineStart(2), 11);
    expectSameAs(b, "a\nb\rc\r\nd\n\r\n");
}

TEST(TextBuffer, EditsThatMakeAndBreakPairs) {
    TextBuffer b;
    std::string m = "ab\r\ncd";
    b.assign(m);
    b.insert(3, "x"); // between CR and LF: the pair is gone
    m.insert(3, "x");
    expectSameAs(b, m);
    b.erase(3, 1); // and back
    m.erase(3, 1);
    expectSameAs(b, m);
    b.insert(2, "\n"); // "ab\n\r\ncd"
    m.insert(2, "\n");
    expectSameAs(b, m);
    b.insert(2, "\r"); // the new CR pairs with the new LF
    m.insert(2, "\r");
    expectSameAs(b, m);
    b.erase(1, 5); // removes both pairs at once
    m.erase(1, 5);
    expectSameAs(b, m);
    b.assign("x\rmid\ny");
    m = "x\rmid\ny";
    b.erase(2, 3); // joins a CR and an LF into a pair
    m.erase(2, 3);
    expectSameAs(b, m);
}

TEST(TextBuffer, RandomEditsKeepTheLineIndexExact) {
    std::mt19937 rng(12345);
    const char alphabet[] = {'a', 'b', '\r', '\n', ' ', '<'};
    for (int round = 0; round < 40; ++round) {
        TextBuffer b;
        std::string m;
        for (int i = 0; i < 60; ++i) m.push_back(alphabet[rng() % 6]);
        b.assign(m);
        for (int step = 0; step < 150; ++step) {
            // Edits cluster around a moving place, as typing does, with jumps.
            const int at = m.empty() ? 0 : int(rng() % (m.size() + 1));
            if (rng() % 3 == 0 && !m.empty()) {
                const int n = std::min<int>(int(rng() % 6) + 1, int(m.size()) - std::min<int>(at, int(m.size())));
                if (n <= 0) continue;
                b.erase(at, n);
                m.erase(size_t(at), size_t(n));
            } else {
                std::string s;
                const int n = int(rng() % 5) + 1;
                for (int i = 0; i < n; ++i) s.push_back(alphabet[rng() % 6]);
                b.insert(at, s);
                m.insert(size_t(at), s);
            }
            if (step % 10 == 0) expectSameAs(b, m);
        }
        expectSameAs(b, m);
    }
}

TEST(TextBuffer, GrowsPastItsGapAndFindsAcrossIt) {
    TextBuffer b;
    std::string m;
    for (int i = 0; i < 3000; ++i) {
        const std::string piece = "line " + std::to_string(i) + "\r\n";
        b.insert(b.size() / 2, piece);
        m.insert(m.size() / 2, piece);
    }
    expectSameAs(b, m);
    b.insert(5, "<!--*DefDat*-->");
    m.insert(5, "<!--*DefDat*-->");
    // Put the gap inside the marker, then look for it.
    b.insert(12, "");
    b.erase(12, 1);
    b.insert(12, std::string(1, m[12]));
    EXPECT_EQ(b.find("<!--*DefDat*-->", 0), 5);
    EXPECT_EQ(b.find("<!--*DefDat*-->", 6), -1);
    EXPECT_EQ(b.find("line 2999", 0), int(m.find("line 2999")));
    EXPECT_EQ(b.contiguous(), m);
}

TEST(FoldSearch, AgreesWithAPlainFoldedScanEverywhere) {
    // Random texts over letters in both cases, accented letters and bytes one
    // case bit away from a letter ('@', '`', 0xC1/0xE1); needles taken from them.
    std::mt19937 rng(5);
    const std::string alphabet = std::string("aAbBzZ@`[{ \r\n") + "\xC1\xE1\x8A\x9A";
    for (int round = 0; round < 3000; ++round) {
        std::string hay(size_t(rng() % 90), ' ');
        for (char &c : hay) c = alphabet[rng() % alphabet.size()];
        const size_t m = 1 + rng() % 5;
        std::string needle = hay.size() >= m && rng() % 3 ? hay.substr(rng() % (hay.size() - m + 1), m) : "aB@";
        for (char &c : needle)
            if (rng() % 2) c = char(std::toupper(static_cast<unsigned char>(c)) == c ? std::tolower(c) : std::toupper(c));
        const std::string folded = xo::FoldAscii(needle), foldedHay = xo::FoldAscii(hay);
        EXPECT_EQ(xo::FindFolded(hay.data(), hay.size(), folded), foldedHay.find(folded)) << hay << " / " << needle;
        // And through the editor's buffer, a match across its gap included.
        xo::TextBuffer b;
        b.insert(0, hay);
        if (!hay.empty()) { // the gap somewhere inside
            const int at = int(rng() % hay.size());
            b.insert(at, "x");
            b.erase(at, 1);
        }
        const size_t want = foldedHay.find(folded);
        EXPECT_EQ(b.find(folded, 0, true), want == std::string::npos ? -1 : int(want));
    }
    EXPECT_EQ(xo::FindFolded("\xC1", 1, xo::FoldAscii("\xE1")), std::string_view::npos); // Á is not á
}
