#include "dialogs/dialog_services.h"
#include "editor/editor_core.h"
#include "platform/services.h"
#include "settings/settings.h"
#include "tag_edit.h"
#include "tag_location.h"
#include "tags/insertion.h"

namespace xo {

namespace {

bool isHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }
bool isColorChar(char c) { return c == '#' || isHex(c); }
bool isNameChar(char c) {
    return c == '!' || (c >= '1' && c <= '7') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

QColor qcolor(int c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

} // namespace

void ChooseColorAtCaret() {
    EditorCore *e = ActiveEditor();
    bool found = false;
    int initial = 0, from = 0, to = 0;
    if (e) {
        const int caret = e->SelStart();
        const int lineStart = e->LineStartOfPos(caret);
        std::string line;
        e->GetLine(e->LineOfPos(caret), line);
        // Columns from 1; the one before the caret first, then the one before that.
        auto at = [&](int column) { return column >= 1 && column <= int(line.size()) ? line[size_t(column - 1)] : '\0'; };
        int c = std::max(1, caret - lineStart);
        if (!line.empty() && !isColorChar(at(c))) --c;
        if (!line.empty() && isColorChar(at(c))) {
            int s = c, t = c;
            while (s > 1 && isHex(at(s))) --s;
            while (isColorChar(at(t + 1))) ++t;
            if (t - s + 1 == 7 && at(s) == '#') {
                found = true;
                initial = int(ColorFromHtml(line.substr(size_t(s - 1), 7)));
                from = lineStart + s - 1;
                to = lineStart + t;
            }
        }
    }
    const auto chosen = platform::services().chooseColor(qcolor(initial), CustomColors, nullptr);
    if (!chosen) return;
    const std::string text = ColorToHex(chosen->red() | chosen->green() << 8 | chosen->blue() << 16);
    platform::services().setClipboardText(QString::fromStdString(text));
    // The clipboard's own failures (memory, access) cannot reach us through
    // Qt; a clipboard that does not hold the text afterwards is reported.
    if (platform::services().clipboardText() != QString::fromStdString(text)) {
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Chyba při práci se schránkou"),
                          platform::Icon::Exclamation);
        return;
    }
    if (!found) {
        editorHost().ShowStatusText(QStringLiteral("Barva byla jako text uložena do schránky"));
        return;
    }
    e->SetSelection(from, to);
    e->DeleteSelection();
    InsertText(text, 0);
}

int HelpContextOfTag(const std::string &n) {
    auto any = [&](std::initializer_list<const char *> names) {
        for (const char *x : names)
            if (n == x) return true;
        return false;
    };
    if (n == "IMG") return 300;
    if (n == "BR") return 301;
    if (any({"P", "DIV"})) return 302;
    if (n == "HR") return 303;
    if (n == "A") return 304;
    if (any({"B", "I", "U", "TT", "BLINK"})) return 315;
    if (n.size() == 2 && n[0] == 'H' && n[1] >= '1' && n[1] <= '7') return 316;
    if (any({"CENTER", "BLOCKQUOTE"})) return 317;
    if (any({"PRE", "NOBR", "WBR"})) return 318;
    if (n == "FONT") return 305;
    if (n == "OL") return 306;
    if (n == "UL") return 307;
    if (n == "LI") return 311;
    if (any({"DL", "DD", "DT"})) return 312;
    if (any({"TABLE", "TR", "TD", "TH"})) return 308;
    if (n == "BODY") return 309;
    if (any({"FRAMESET", "FRAME"})) return 310;
    if (n == "MAP") return 313;
    if (n == "APPLET") return 314;
    if (n == "!") return 319;
    return 399;
}

void HelpOnTagUnderCaret() {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    int p = e->SelStart();
    for (;; --p) {
        const char c = e->CharAt(p);
        // A caret right before a tag's ">" is still inside that tag.
        if (p == e->SelStart() && c == '>') continue;
        if (p < 1 || c == '>') {
            platform::message(QStringLiteral("Xo!"), QStringLiteral("Kurzor není umístěn na žádném tagu"),
                              platform::Icon::Exclamation);
            return;
        }
        if (c == '<' || c == '/') break;
    }
    std::string name;
    for (int q = p + 1; q < e->TextLength() && isNameChar(e->CharAt(q)); ++q) {
        const char c = e->CharAt(q);
        name += c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    }
    if (TDialogHost *h = DialogHost()) h->ShowHelp(HelpContextOfTag(name));
}

} // namespace xo
