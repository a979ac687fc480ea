#pragma once
// A window-less editor for tests, with a view the test can shape.

#include "editor/editor_core.h"

#include <Qt>
#include <string>

namespace xo::test {

class Model : public EditorCore {
public:
    int wrap = 0;
    int visible = 20;
    int repaints = 0;
    int WrapColumn() const override { return wrap; }
    int VisibleLineCount() const override { return visible; }
    void Repaint() override {
        if (PaintEnabled) ++repaints;
    }

    void type(const std::string &s) {
        for (char c : s) KeyChar(static_cast<unsigned char>(c), false);
    }
    void key(int k, int mods = 0) { KeyDown(k, mods); }
    void caret(int pos) { SetSelection(pos, pos); }
};

} // namespace xo::test
