#include "list_conversion.h"

#include "editor/editor_core.h"
#include "insertion.h"

namespace xo {

namespace {

// Opening and closing texts around the selection; `prefix` names what each
// selected line but the last gets, given its first position.
template <class Prefix> void convert(const std::string &open, const std::string &close, Prefix prefix) {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    e->PaintEnabled = false;
    e->HideCaret();
    int s = 0, end = 0;
    e->GetSelection(s, end);
    e->SetSelection(s, s);
    const bool selected = s != end;
    e->SetSelection(end, end);
    InsertText(selected ? close : "\r\n" + close, 0);
    e->SetSelection(s, s);
    InsertText(open, 0);
    s += int(open.size());
    end += int(open.size());
    if (selected) {
        const int l1 = e->LineOfPos(s), l2 = e->LineOfPos(end);
        for (int line = l1; line < l2; ++line) {
            int p = e->LineStart(line);
            const std::string text = prefix(*e, p);
            if (text.empty()) continue;
            e->SetSelection(p, p);
            InsertText(text, 0);
        }
        const int to = e->LineStart(l1 < l2 ? l2 : l1);
        e->SetSelection(to, to);
    } else {
        e->SetSelection(s, s);
    }
    e->PaintEnabled = true;
    e->ShowCaret();
    e->Repaint();
}

} // namespace

void ListConversion(char letter, std::string_view attributes) {
    const std::string x(1, letter);
    convert("<" + x + "L" + std::string(attributes) + ">\r\n", "</" + x + "L>\r\n",
            [](EditorCore &e, int &p) -> std::string { return e.CharAt(p) == '\r' ? "<P>" : " <LI>"; });
}

void DefinitionListConversion() {
    convert("<DL>\r\n", "</DL>\r\n", [](EditorCore &e, int &p) -> std::string {
        if (e.CharAt(p) == ' ') {
            while (e.CharAt(p) == ' ') ++p; // after the last leading space
            return " <DD>";
        }
        return e.CharAt(p) == '\r' ? "<P>" : " <DT>";
    });
}

void InsertImageMap(std::string imageTag) {
    if (!ActiveEditor() || imageTag.empty()) return;
    const std::string number = std::to_string(kMapNumber);
    imageTag.insert(imageTag.size() - 1, " usemap=\"#map" + number + "\"");
    InsertText(imageTag, 0);
    InsertText("\r\n\r\n<MAP name=\"map" + number + "\">\r\n <AREA href=\"\" alt=\"\" coords=\"0,0,1,1\">\r\n</MAP>", 34);
}

} // namespace xo
