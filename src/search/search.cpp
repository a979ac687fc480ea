#include "search.h"

#include "editor/editor_core.h"
#include "platform/cp1250.h"
#include "platform/services.h"

#include <algorithm>
#include <cstring>

namespace xo {

TEditSearchRec SearchRec;

namespace {

// Only A..Z fold; accented capitals match only themselves.
inline char fold(char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; }

} // namespace

int EditorCore::Search(int start, const std::string &text, bool matchCase) {
    if (start == -1) start = selEnd_;
    if (text.empty() || text.find("\r\n") != std::string::npos) return -1;
    std::string needle = text;
    if (!matchCase) std::transform(needle.begin(), needle.end(), needle.begin(), fold);
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
    int chunk = 4096;
    while (from <= TextLength() - n) {
        int at;
        if (matchCase) {
            at = buffer_.find(needle, from);
        } else {
            // Fold a growing window at a time: near matches stay cheap, far ones fast.
            const int len = std::min(TextLength() - from, chunk + n - 1);
            std::string window = buffer_.copy(from, len);
            std::transform(window.begin(), window.end(), window.begin(), fold);
            const size_t hit = window.find(needle);
            if (hit == std::string::npos) {
                from += std::max(1, len - n + 1);
                chunk = std::min(chunk * 2, 4 << 20);
                continue;
            }
            at = from + int(hit);
        }
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
