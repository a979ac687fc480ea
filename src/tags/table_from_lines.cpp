#include "table_from_lines.h"

#include "editor/editor_core.h"
#include "tags/insertion.h"

namespace xo {

namespace {

// Lines longer than this get their next cell on a new, indented line.
constexpr int kWrapLength = 120;

class LineConverter {
public:
    LineConverter(EditorCore &e, const TableValues &v) : e_(e), v_(v) {}

    void run(const std::string &tableTag) {
        e_.GetSelection(s_, end_);
        s_ = insertAt(s_, tableTag + "\r\n");
        while (s_ < end_) {
            ++row_;
            lineEnd_ = e_.LineEndOfPos(s_);
            const bool header = (row_ == 1 && v_.firstRow) || v_.firstCol;
            int p = insertAt(s_, header ? " <TR> <TH>" : " <TR> <TD>");
            kind_ = header ? 'H' : 'D';
            p = skipBlanks(p);
            walk(p);
            if (v_.endTags) insertAt(insertAt(lineEnd_, std::string("</T") + kind_ + ">"), "</TR>");
            s_ = nextLineStart(lineEnd_);
        }
        insertAt(end_, "\r\n</TABLE>\r\n");
    }

private:
    // Inserts at q; every tracked position at or after q moves with the text.
    int insertAt(int q, const std::string &text) {
        e_.SetSelection(q, q);
        InsertText(text, 0);
        const int n = int(text.size());
        if (end_ >= q) end_ += n;
        if (lineEnd_ >= q) lineEnd_ += n;
        return q + n;
    }

    int skipBlanks(int p) const {
        while (p < lineEnd_ && (e_.CharAt(p) == ' ' || static_cast<unsigned char>(e_.CharAt(p)) < 9)) ++p;
        return p;
    }

    int nextLineStart(int lineEnd) const {
        return lineEnd > e_.TextLength() ? lineEnd : lineEnd + 2; // past the CR LF
    }

    int separatorAt(int p) const {
        const char c = e_.CharAt(p);
        if (c == '\t') return 1;
        if (c != ' ') return 0;
        if (p + 1 < lineEnd_ && e_.CharAt(p + 1) == ' ') return 2;
        return v_.doubleSpace ? 0 : 1;
    }

    // The cells of one row; a tag left open at a line's end continues on
    // the next line, but never beyond the selection.
    void walk(int p) {
        bool inTag = false;
        for (;;) {
            while (p < lineEnd_) {
                const char c = e_.CharAt(p);
                if (inTag || c == '<') {
                    inTag = c != '>';
                    ++p;
                    continue;
                }
                const int separator = separatorAt(p);
                if (!separator) {
                    ++p;
                    continue;
                }
                p += separator;
                if (p < lineEnd_ && e_.CharAt(p) == ' ') ++p;
                if (p < lineEnd_) p = startCell(p);
            }
            const int next = nextLineStart(lineEnd_);
            if (!inTag || next >= end_) return;
            ++row_;
            p = next;
            lineEnd_ = e_.LineEndOfPos(p);
        }
    }

    int startCell(int p) {
        if (e_.LineLength(e_.LineOfPos(p)) > kWrapLength) p = insertAt(p, "\r\n      ");
        if (v_.endTags) p = insertAt(p, std::string("</T") + kind_ + ">");
        const bool header = row_ == 1 && v_.firstRow;
        p = insertAt(p, header ? "<TH>" : "<TD>");
        kind_ = header ? 'H' : 'D';
        return skipBlanks(p);
    }

    EditorCore &e_;
    const TableValues &v_;
    int s_ = 0, end_ = 0, lineEnd_ = 0, row_ = 0;
    char kind_ = 'D';
};

} // namespace

void InsertTableSkeleton(const std::string &tableTag) {
    if (!ActiveEditor()) return;
    InsertText(tableTag, 0);
    InsertText("\r\n <TR><TH>\r\n</TABLE>", 10);
}

void TableFromSelectedLines(const TableValues &v, const std::string &tableTag) {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    e->PaintEnabled = false;
    e->HideCaret();
    LineConverter(*e, v).run(tableTag);
    e->PaintEnabled = true;
    e->ShowCaret();
    e->Repaint();
}

} // namespace xo
