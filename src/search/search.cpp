#include "search.h"

#include "editor/editor_core.h"
#include "editor/fold_search.h"
#include "platform/cp1250.h"
#include "platform/services.h"

#include <algorithm>
#include <cstring>

namespace xo {

TEditSearchRec SearchRec;

int EditorCore::Search(int start, const std::string &text, bool matchCase) {
    if (start == -1) start = selEnd_;
    if (text.empty() || text.find("\r\n") != std::string::npos) return -1;
    // Only A..Z fold; accented capitals match only themselves.
    const std::string needle = matchCase ? text : FoldAscii(text);
    const int line = LineOfPos(start);
    int from = std::max(start, LineStart(line)) - 1; // 0-based
    const bool mayHitLineEnds = needle.find_first_of("\r\n") != std::string::npos;
    const int n = int(needle.size());
    // A match may not take in a character of a CR LF line end.
    auto inLine = [&](int at) {
        for (int j = at; j < at + n; ++j) {
            const char c = buffer_.at(j);
            if ((c == '\r' && buffer_.at(j + 1) == '\n') || (c == '\n' && buffer_.at(j - 1) == '\r')) return false;
        }
        return true;
    };
    while (from <= TextLength() - n) {
        const int at = buffer_.find(needle, from, !matchCase);
        if (at < 0) return -1;
        if (!mayHitLineEnds || inLine(at)) {
            SetSelection(at + 1, at + 1 + n);
            ScrollToCaret();
            return at + 1;
        }
        from = at + 1;
    }
    return -1;
}

void FindNext(EditorCore &editor) {
    const QString caption = QStringLiteral("Xo!");
    TEditSearchRec &r = SearchRec;
    if (r.FindText.empty()) {
        platform::message(caption, QStringLiteral("Pro hledání je třeba specifikovat řetězec"),
                          platform::Icon::Exclamation);
        return;
    }
    bool anything = false;
    bool again = false;
    do {
        bool found = false;
        if (editor.Search(-1, r.FindText, r.MatchCase) >= 0) {
            found = anything = true;
            if (r.ReplaceMode) {
                if (r.PromptOnReplace) {
                    editor.Repaint();
                    const auto a = platform::message(caption, QStringLiteral("Zaměnit tento výskyt?"),
                                                     platform::Icon::Question, platform::Buttons::YesNoCancel);
                    if (a == platform::Answer::Yes)
                        editor.ReplaceSelection(r.ReplaceText);
                    else if (a != platform::Answer::No)
                        break;
                } else {
                    editor.ReplaceSelection(r.ReplaceText);
                }
            }
        } else {
            platform::message(caption,
                              QStringLiteral("Řetězec \"") + cp1250::decode(r.FindText) + QStringLiteral("\" nenalezen."),
                              platform::Icon::Exclamation);
        }
        again = found && r.ReplaceAll && r.ReplaceMode;
    } while (again);
    if (anything) editor.Repaint();
}

} // namespace xo
