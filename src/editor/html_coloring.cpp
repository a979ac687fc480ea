#include "html_coloring.h"

#include <algorithm>

namespace xo {
namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool opensTag(char next) { return next == '!' || next == '/' || isLetter(next); }
bool isNumberChar(char c) {
    return c == '#' || c == '%' || c == '+' || c == '-' || isDigit(c) || (c >= 'A' && c <= 'F') ||
           (c >= 'a' && c <= 'f');
}
// Inside a tag a plain run stops before these.
bool breaksTagRun(char c) { return c == '"' || c == '#' || c == '+' || c == '-' || isDigit(c) || c == '<' || c == '>'; }

} // namespace

std::vector<ColorRun> ColorLine(std::string_view line, ColorState &st, bool coloring, int selFrom, int selTo,
                                int first, int last) {
    std::vector<ColorRun> runs;
    const int size = int(line.size());
    const int n = last < 0 ? size : std::min(last, size);
    auto at = [&](int i) { return i >= 0 && i < size ? line[size_t(i)] : '\0'; };
    auto selected = [&](int i) { return i >= selFrom && i < selTo; };
    int i = std::max(0, first);
    while (i < n) {
        const char c = line[size_t(i)];
        if (c == '<' && opensTag(at(i + 1)) && !st.inComment) {
            st.inTag = true;
            st.inString = false;
            st.inNumber = false;
            // Only "<!--" opens a comment; "<!DOCTYPE ...>" is an ordinary tag.
            st.inComment = at(i + 1) == '!' && at(i + 2) == '-' && at(i + 3) == '-';
        }
        if (st.inTag && c == '"') st.inString = !st.inString;
        if (st.inTag && !st.inString) {
            if (c == '#') st.inNumber = true;
            else if ((c == '%' || c == '+' || c == '-' || isDigit(c)) && (at(i - 1) == ' ' || at(i - 1) == '='))
                st.inNumber = true;
        }
        if (!isNumberChar(c)) st.inNumber = false;

        int color = ciText;
        if (coloring) {
            if (st.inComment && st.inTag) color = ciComment;
            else if (st.inTag && (st.inString || c == '"')) color = ciString;
            else if (st.inTag && st.inNumber) color = ciNumber;
            else if (st.inTag) color = ciTag;
        }

        int end = i + 1;
        if (selected(i)) {
            runs.push_back({1, ciSelText, true});
        } else {
            if (!st.inTag) {
                while (end < n && line[size_t(end)] != '<' && !selected(end)) ++end;
            } else if (!st.inString && !st.inNumber && c != '"' && c != '>') {
                while (end < n && !breaksTagRun(line[size_t(end)]) && !selected(end)) ++end;
            }
            runs.push_back({end - i, color, false});
        }
        // A '>' ends the tag, and a comment only right after '-'.
        if (line[size_t(end - 1)] == '>' && (!st.inComment || at(end - 2) == '-')) {
            st.inTag = false;
            st.inComment = false;
        }
        i = end;
    }
    return runs;
}

ColorState ColorStateBefore(const std::function<char(int)> &charAt, int pos, int limit) {
    ColorState st;
    const int stop = std::max(2, pos - limit);
    for (int p = pos - 1; p >= stop; --p) {
        const char c = charAt(p);
        if (c == '"') {
            st.inString = !st.inString;
        } else if (c == '<' && opensTag(charAt(p + 1))) {
            st.inTag = true;
            st.inComment = charAt(p + 1) == '!' && charAt(p + 2) == '-' && charAt(p + 3) == '-';
            return st;
        } else if (c == '>' && p >= 3 && charAt(p - 1) != ' ' && charAt(p - 1) != '=') {
            st.inString = false;
            st.inTag = false;
            return st;
        }
    }
    return st;
}

bool IsHtmlDocument(const std::string &fileNameUpper) {
    return fileNameUpper.empty() || fileNameUpper.find("HTM") != std::string::npos;
}

} // namespace xo
