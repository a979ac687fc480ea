#include "dialog_services.h"

namespace xo {

namespace {

// Every dialog cancelled: what commands meet before the frame installs the real ones.
class NoDialogs : public TTagDialogs {
public:
    std::string ExecuteAlignDialog(int) override { return {}; }
    bool ExecuteRuleDialog(RuleValues &, bool) override { return false; }
    bool ExecuteFontDialog(FontValues &, bool) override { return false; }
    bool ExecuteBodyDialog(const QString &, BodyValues &, bool) override { return false; }
    bool ExecuteBodyFixDialog(const QString &, BodyFixValues &, bool) override { return false; }
    bool ExecuteImageDialog(ImageValues &, const QString &, bool) override { return false; }
    bool ExecuteLinkDialog(LinkValues &, bool) override { return false; }
    bool ExecuteULDialog(int &, bool) override { return false; }
    bool ExecuteOLDialog(int &, int &, bool) override { return false; }
    bool ExecuteMarqueeDialog(MarqueeValues &, bool) override { return false; }
    bool ExecuteBgSoundDialog(BgSoundValues &, bool) override { return false; }
    bool ExecuteEmbedDialog(EmbedValues &, bool) override { return false; }
    bool ExecuteAppletDialog(AppletValues &, bool) override { return false; }
    bool ExecuteTableDialog(TableValues &, bool, bool) override { return false; }
    bool ExecuteRowDialog(CellData &) override { return false; }
    bool ExecuteCellDialog(CellData &) override { return false; }
    bool ExecuteTableEditor(bool, std::string &) override { return false; }
    bool ExecuteFrameSetWizard(std::string &) override { return false; }
    bool ExecuteFrameParams(FrameParams &) override { return false; }
};

NoDialogs noDialogs;
TTagDialogs *current = &noDialogs;
TDialogHost *host = nullptr;

} // namespace

TTagDialogs &TagDialogs() { return *current; }

TTagDialogs *SetTagDialogs(TTagDialogs *d) {
    TTagDialogs *previous = current == &noDialogs ? nullptr : current;
    current = d ? d : &noDialogs;
    return previous;
}

TDialogHost *DialogHost() { return host; }
void SetDialogHost(TDialogHost *h) { host = h; }

} // namespace xo
