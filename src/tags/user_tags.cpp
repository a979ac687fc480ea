#include "user_tags.h"

#include "editor/editor_core.h"
#include "editor/shared_routines.h"
#include "insertion.h"
#include "platform/services.h"
#include "settings/settings.h"

namespace xo {

std::string ExpandMacros(const std::string &text, const QDateTime &now, std::string &bad) {
    std::string out = text;
    bad.clear();
    for (size_t at = out.find('^'); at != std::string::npos; at = out.find('^')) {
        size_t end = at + 1;
        while (end < out.size() && ((out[end] >= 'A' && out[end] <= 'Z') || out[end] == '^')) ++end;
        // A "!" right after the capitals ends the macro and belongs to it
        // ("^XO!", "^DATUM!"), so that capitals may follow a macro directly.
        if (end < out.size() && out[end] == '!' && end > at + 1) ++end;
        const std::string macro = out.substr(at, end - at);
        const std::string name = macro.back() == '!' && macro != "^XO!" ? macro.substr(0, macro.size() - 1) : macro;
        std::string replacement;
        if (name == "^COPY")
            replacement = "Copyright &copy; " + now.toString(QStringLiteral("yyyy")).toStdString();
        else if (name == "^DATUM")
            replacement = "<!--*DefDat*-->" + DateTextOf(now).toStdString();
        else if (name == "^CAS")
            replacement = "<!--*DefCas*-->" + TimeTextOf(now).toStdString();
        else if (macro == "^XO!")
            replacement = "Xo! HTML Editor vs 8.1";
        else {
            bad = macro;
            return out;
        }
        out.replace(at, macro.size(), replacement);
    }
    return out;
}

void InsertUserTag(int u) {
    EditorCore *e = ActiveEditor();
    if (!e || u < 1 || u > TUserTags::kCount) return;
    TUserTag &t = UserTags[u];
    if (e->SelStart() != e->SelEnd() && t.Pair && !t.Text.empty()) e->SetSelection(e->SelStart(), e->SelStart());
    if (!t.Tag.empty()) {
        if (t.Pair)
            WrapSelectionInTag(t.Tag.str(), 0);
        else
            InsertText("<" + t.Tag.str() + ">", 0);
        if (!t.Pars.empty()) {
            CaretLeft();
            std::string pars = t.Pars.str();
            if (pars[0] != ' ') {
                pars.insert(0, 1, ' ');
                // Kept with its space only when it still fits the record.
                if (pars.size() <= 100) t.Pars = pars;
            }
            InsertText(pars, 0);
            CaretRight();
        }
    }
    if (!t.Text.empty()) {
        std::string bad;
        const std::string text = ExpandMacros(t.Text.str(), platform::services().now(), bad);
        if (!bad.empty())
            platform::message(QStringLiteral("Xo!"), QStringLiteral("Chybné makro: ") + QString::fromLatin1(bad.c_str()),
                              platform::Icon::Exclamation);
        InsertText(text, 0);
    }
}

void ApplyStyle(int s) {
    if (!ActiveEditor() || s < 1 || s > TTextStyles::kCount) return;
    // An empty part is left out (an empty text would repeat the last insertion).
    WrapSelection(TextStyles[s].Pred.str(), TextStyles[s].Za.str());
}

} // namespace xo
