#include "document_check.h"
#include "html5_check.h"

#include "editor/editor_core.h"
#include "platform/services.h"
#include "tagedit/tag_location.h"
#include "tags/insertion.h"

#include <algorithm>
#include <vector>
#include <array>

namespace xo {

namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isNameChar(char c) { return c == '!' || (c >= '1' && c <= '7') || isLetter(c); }
char upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
bool allowedAfterEquals(char c) {
    return c == '\0' || isLetter(c) || isDigit(c) || c == '"' || c == '#' || c == '+' || c == '-';
}

const char *const kMessages[] = {
    "Kontrola proběhla v pořádku. Dokument je Ok.",
    "Chybně umístěná koncová závorka.",
    "Chybně umístěné uvozovky.",
    "Chybný název tagu.",
    "Tento tag nemá mít koncovou část.",
    nullptr, // names the open tag
    "Tento tag nemá uvozovací část.",
    "Uvozovky bez ukončení.",
    "Přebytečná závorka <.",
    "Uvozovky v tagu by měly následovat za rovnítkem.",
    "Chybný znak před rovnítkem.",
    "Chybný znak za rovnítkem.",
    "Tento tag již v tomto místě platí (chybí koncová část nebo přebývá tato počáteční).",
    "Při použití tagu FRAMESET nelze použít zároveň tag BODY.",
};

class Checker {
public:
    explicit Checker(const EditorCore &e) : e_(e) {}

    CheckResult run() {
        for (int l = 1; l <= e_.LineCount() && !fault_; ++l) {
            e_.GetLine(l, line_);
            lineNumber_ = l;
            col_ = 0;
            while (!fault_ && at(col_) != '\0') step();
            if (!fault_) offset_ += int(line_.size()) + 2;
        }
        // An open quote outranks an open tag: the quote is where the text went wrong.
        if (!fault_ && inQuotes_) fail(7, 0);
        if (!fault_ && stack_.size() > 1) fail(5, 0);
        CheckResult r;
        r.code = fault_;
        r.position = fault_ == 7 ? quoteStart_ : offset_ + col_;
        if (fault_ == 5)
            r.message = QStringLiteral("Tag %1 (řádek %2) by na tomto místě měl mít koncovou část.")
                            .arg(QString::fromLatin1(faultNode_.name.c_str()))
                            .arg(faultNode_.line);
        else
            r.message = QString::fromUtf8(kMessages[fault_]);
        return r;
    }

private:
    struct Node {
        std::string name;
        bool needsEnd = false;
        int line = 0;
        int counted = -1; // its place among the tags that may not nest
    };

    // The line's characters; NUL beyond its end.
    char at(int c) const { return c >= 0 && c < int(line_.size()) ? line_[size_t(c)] : '\0'; }
    void fail(int code, int) {
        fault_ = code;
        if (code == 5) faultNode_ = stack_.back();
    }

    void step() {
        if (!inTag_) return outside();
        if (!inQuotes_) return inside();
        const char c = at(col_);
        if (c == '"') {
            ++col_;
            inQuotes_ = false;
        } else if (c == '>') {
            fail(7, 0);
        } else {
            ++col_;
        }
    }

    void outside() {
        const char c = at(col_);
        if (!inScript_ && c == '>') return fail(1, 0);
        if (!inScript_ && c == '"') return fail(2, 0);
        if (c != '<') {
            ++col_;
            return;
        }
        inTag_ = true;
        comment_ = at(col_ + 1) == '!';
        // Only "<!--" opens a comment; "<!DOCTYPE ...>" and the like end at their ">".
        declaration_ = comment_ && !(at(col_ + 2) == '-' && at(col_ + 3) == '-');
        ++col_;
        start_ = at(col_) != '/';
        if (!start_) ++col_;
        std::string name;
        while (name.size() < 10 && isNameChar(at(col_))) {
            name += upper(at(col_));
            ++col_;
            if (name.back() == '!') break;
        }
        const char after = at(col_);
        if (!inScript_ && (name.empty() || (name != "!" && static_cast<unsigned char>(after) > 32 && after != '>')))
            return fail(3, 0);
        if (name == "SCRIPT") {
            if (start_)
                scriptPending_ = true;
            else
                inScript_ = scriptPending_ = false;
        } else if (inScript_) {
            inTag_ = comment_ = declaration_ = false;
            return;
        }
        stackStep(name);
    }

    void inside() {
        const char c = at(col_);
        const bool commentLike = comment_; // comments and declarations alike: no quotes, no "="
        if (c == '"' && !commentLike) {
            const bool placed = col_ <= 1 || at(col_ - 1) == '=' || (at(col_ - 1) == ' ' && at(col_ - 2) == '=');
            if (!placed) return fail(9, 0);
            ++col_;
            inQuotes_ = true;
            quoteStart_ = offset_ + col_;
            return;
        }
        if (c == '<') {
            if (!commentLike) {
                ++col_;
                return fail(8, 0);
            }
            const char n = at(col_ + 1);
            if (n == '!' || n == '/' || isLetter(n)) return fail(8, 0);
            ++col_;
            return;
        }
        if (c == '>' && (!comment_ || declaration_ || at(col_ - 1) == '-')) {
            ++col_;
            inTag_ = comment_ = declaration_ = false;
            inScript_ = scriptPending_;
            scriptPending_ = false;
            return;
        }
        if (c == '=' && !commentLike && col_ != 0) {
            const char before = at(col_ - 1);
            if (!(isLetter(before) || (before == ' ' && isLetter(at(col_ - 2))))) return fail(10, 0);
            const char next = at(col_ + 1);
            if (!(allowedAfterEquals(next) || (next == ' ' && allowedAfterEquals(at(col_ + 2))))) {
                col_ += 2;
                return fail(11, 0);
            }
        }
        ++col_;
    }

    void stackStep(const std::string &name) {
        if (!start_) {
            if (InTable(EmptyTags, name)) return fail(4, 0);
            if (stack_.size() == 1) return fail(6, 0);
            while (stack_.back().name != name) {
                if (stack_.back().needsEnd) return fail(5, 0);
                pop();
                if (stack_.size() == 1) return fail(6, 0);
            }
            pop();
        } else if (!InTable(EmptyTags, name)) {
            const bool optional = InTable(OptionalEndTags, name);
            const int k = optional ? -1 : nonNesting(name); // only these are counted
            if (k >= 0 && open_[size_t(k)] > 0) return fail(12, 0);
            stack_.push_back({name, !optional, lineNumber_, k});
            if (k >= 0) ++open_[size_t(k)];
        }
        sawBody_ = sawBody_ || name == "BODY";
        sawFrameset_ = sawFrameset_ || name == "FRAMESET";
        if (sawBody_ && sawFrameset_) fail(13, 0);
    }

    void pop() {
        if (stack_.back().counted >= 0) --open_[size_t(stack_.back().counted)];
        stack_.pop_back();
    }

    const EditorCore &e_;
    std::string line_;
    int lineNumber_ = 0, col_ = 0, offset_ = 0, quoteStart_ = 0, fault_ = 0;
    bool inTag_ = false, inQuotes_ = false, comment_ = false, declaration_ = false, start_ = false;
    bool inScript_ = false, scriptPending_ = false, sawBody_ = false, sawFrameset_ = false;
    std::vector<Node> stack_{{"-", false, 0}};
    // How often each name is open: a tag that may not nest is looked up here,
    // not along the whole stack, so deep nesting stays linear.
    std::array<int, NonNestingTags.size()> open_{};
    static int nonNesting(const std::string &name) {
        for (size_t i = 0; i < NonNestingTags.size(); ++i)
            if (NonNestingTags[i] == name) return int(i);
        return -1;
    }
    Node faultNode_;
};

} // namespace

CheckResult CheckDocument(const EditorCore &editor) {
    // The doctype stands at the start, after comments at most.
    std::string head;
    editor.AppendText(0, std::min(editor.TextLength(), 1 << 20), head);
    if (!IsHtml5Document(head)) return Checker(editor).run();
    std::string text;
    editor.AppendText(0, editor.TextLength(), text);
    CheckResult r = CheckHtml5(text);
    r.html5 = true;
    return r;
}

QString CheckResultText(const CheckResult &r) {
    return r.html5 ? r.message + QStringLiteral(" (pravidla HTML5)") : r.message;
}

void CheckActiveDocument() {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    const CheckResult r = CheckDocument(*e);
    if (r.code) {
        e->SetSelection(r.position, r.position);
        e->ScrollToCaret();
        e->Repaint();
    }
    platform::message(QStringLiteral("Kontrola dokumentu"), CheckResultText(r),
                      r.code ? platform::Icon::Exclamation : platform::Icon::Information);
    if (r.code) editorHost().ShowStatusText(CheckResultText(r));
}

} // namespace xo
