#pragma once
// Test double for the tag dialogs: records what each dialog was given and
// answers with what the test chose, building the result the real dialog
// would. An unscripted dialog fails the test and is cancelled.

#include "dialogs/dialog_services.h"
#include "dialogs/frameset_dialogs.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace xo::test {

class ScriptedTagDialogs : public TTagDialogs {
public:
    ScriptedTagDialogs() : previous_(SetTagDialogs(this)) {}
    ~ScriptedTagDialogs() override { SetTagDialogs(previous_); }

    struct Call {
        std::string dialog;
        bool prefill = false;
        QString documentFile;
    };
    std::vector<Call> calls;

    // The answers: edit the values and say whether OK was pressed.
    std::function<std::string(int)> align;
    std::function<bool(RuleValues &)> rule;
    std::function<bool(FontValues &)> font;
    std::function<bool(BodyValues &)> body;
    std::function<bool(BodyFixValues &)> bodyFix;
    std::function<bool(ImageValues &)> image;
    std::function<bool(LinkValues &)> link;
    std::function<bool(int &)> ul;
    std::function<bool(int &, int &)> ol;
    std::function<bool(MarqueeValues &)> marquee;
    std::function<bool(BgSoundValues &)> bgSound;
    std::function<bool(EmbedValues &)> embed;
    std::function<bool(AppletValues &)> applet;
    std::function<bool(TableValues &, bool fullForm)> table;
    std::function<bool(CellData &)> row, cell;
    std::function<bool(bool importDbf, std::string &result)> tableEditor;
    std::function<bool(std::string &text)> frameSet;
    std::function<bool(FrameParams &)> frameParams;

    std::string ExecuteAlignDialog(int preselect) override {
        record("align", false);
        return answered(align, "align") ? align(preselect) : std::string();
    }
    bool ExecuteRuleDialog(RuleValues &v, bool prefill) override {
        return run("rule", rule, v, prefill) && (RuleTag = RuleTagOf(v), true);
    }
    bool ExecuteFontDialog(FontValues &v, bool prefill) override {
        if (run("font", font, v, prefill)) return FontTagsOf(v, FontOpen, FontClose), true;
        FontOpen.clear();
        FontClose.clear();
        return false;
    }
    bool ExecuteBodyDialog(const QString &file, BodyValues &v, bool prefill) override {
        return run("body", body, v, prefill, file);
    }
    bool ExecuteBodyFixDialog(const QString &file, BodyFixValues &v, bool prefill) override {
        return run("bodyFix", bodyFix, v, prefill, file) && (BodyTag = BodyTagOf(v), true);
    }
    bool ExecuteImageDialog(ImageValues &v, const QString &file, bool prefill) override {
        return run("image", image, v, prefill, file) && (ImageTag = ImageTagOf(v), true);
    }
    bool ExecuteLinkDialog(LinkValues &v, bool prefill) override {
        if (run("link", link, v, prefill)) return LinkTagsOf(v, LinkOpen, LinkClose), true;
        v = {};
        LinkOpen.clear();
        LinkClose.clear();
        return false;
    }
    bool ExecuteULDialog(int &kind, bool prefill) override {
        record("ul", prefill);
        return answered(ul, "ul") && ul(kind) && (ULAttributes = ULAttributesOf(kind), true);
    }
    bool ExecuteOLDialog(int &kind, int &start, bool prefill) override {
        record("ol", prefill);
        return answered(ol, "ol") && ol(kind, start) && (OLAttributes = OLAttributesOf(kind, start), true);
    }
    bool ExecuteMarqueeDialog(MarqueeValues &v, bool prefill) override {
        return run("marquee", marquee, v, prefill) && (MarqueeAttributes = MarqueeAttributesOf(v), true);
    }
    bool ExecuteBgSoundDialog(BgSoundValues &v, bool prefill) override {
        return run("bgSound", bgSound, v, prefill) && (BgSoundTag = BgSoundTagOf(v), true);
    }
    bool ExecuteEmbedDialog(EmbedValues &v, bool prefill) override {
        return run("embed", embed, v, prefill) && (EmbedTag = EmbedTagOf(v), true);
    }
    bool ExecuteAppletDialog(AppletValues &v, bool prefill) override {
        return run("applet", applet, v, prefill) && (AppletAttributes = AppletAttributesOf(v), true);
    }

    bool ExecuteTableDialog(TableValues &v, bool prefill, bool fullForm) override {
        record(fullForm ? "table full" : "table short", prefill);
        return answered(table, "table") && table(v, fullForm) && (TableTag = TableTagOf(v), true);
    }
    bool ExecuteRowDialog(CellData &d) override { return run("row", row, d, !d.IsDefault); }
    bool ExecuteCellDialog(CellData &d) override { return run("cell", cell, d, !d.IsDefault); }
    bool ExecuteTableEditor(bool importDbf, std::string &result) override {
        record(importDbf ? "table editor import" : "table editor", false);
        return answered(tableEditor, "table editor") && tableEditor(importDbf, result);
    }
    bool ExecuteFrameSetWizard(std::string &text) override {
        record("frameset", false);
        return answered(frameSet, "frameset") && frameSet(text) && (FramesetText = text, true);
    }
    bool ExecuteFrameParams(FrameParams &p) override { return run("frame params", frameParams, p, true); }

private:
    void record(const char *name, bool prefill, const QString &file = {}) { calls.push_back({name, prefill, file}); }
    template <class F> bool answered(const F &f, const char *name) {
        if (!f) ADD_FAILURE() << "unexpected " << name << " dialog";
        return bool(f);
    }
    template <class V> bool run(const char *name, std::function<bool(V &)> &answer, V &v, bool prefill,
                                const QString &file = {}) {
        record(name, prefill, file);
        return answered(answer, name) && answer(v);
    }
    TTagDialogs *previous_;
};

} // namespace xo::test
