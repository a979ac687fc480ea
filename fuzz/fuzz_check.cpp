// libFuzzer target: the document check over any text, by the old rules or,
// after the HTML5 doctype, by the HTML5 rules. It must end in one pass with a
// known fault code and its message; an open quote's place lies in the text.
#include "editor/editor_core.h"
#include "tools/document_check.h"

#include <cstdint>
#include <string>

namespace {

class Editor : public xo::EditorCore {
public:
    int WrapColumn() const override { return 0; }
    int VisibleLineCount() const override { return 20; }
    void Repaint() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static Editor e; // one editor: the Qt objects it owns are made once
    e.SetText(std::string(reinterpret_cast<const char *>(data), size));
    const xo::CheckResult r = xo::CheckDocument(e);
    // 1 to 13 by the old rules, 100 by the HTML5 rules.
    if (r.code < 0 || (r.code > 13 && r.code != 100) || r.message.isEmpty()) __builtin_trap();
    if ((r.code == 100) != (r.html5 && r.code != 0)) __builtin_trap();
    if (r.position < 0 || (r.code == 7 && r.position > e.TextLength() + 1)) __builtin_trap();
    return 0;
}
