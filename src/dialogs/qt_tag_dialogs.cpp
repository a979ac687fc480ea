#include "frameset_dialogs.h"
#include "tag_dialogs.h"

namespace xo {

std::string TQtTagDialogs::ExecuteAlignDialog(int preselect) {
    auto *d = dialog<TfrmAlign>("TfrmAlign");
    return d ? d->Execute(preselect) : std::string();
}

bool TQtTagDialogs::ExecuteRuleDialog(RuleValues &v, bool prefill) {
    return run<TfrmTagHR>("TfrmTagHR", v, prefill);
}

bool TQtTagDialogs::ExecuteFontDialog(FontValues &v, bool prefill) {
    return run<TfrmTagFont>("TfrmTagFont", v, prefill);
}

bool TQtTagDialogs::ExecuteBodyDialog(const QString &documentFile, BodyValues &v, bool prefill) {
    return run<TfrmTagBody>("TfrmTagBody", documentFile, v, prefill);
}

bool TQtTagDialogs::ExecuteBodyFixDialog(const QString &documentFile, BodyFixValues &v, bool prefill) {
    return run<TfrmTagBodyOprava>("TfrmTagBodyOprava", documentFile, v, prefill);
}

bool TQtTagDialogs::ExecuteImageDialog(ImageValues &v, const QString &documentFile, bool prefill) {
    return run<TfrmTagImg>("TfrmTagImg", v, documentFile, prefill);
}

bool TQtTagDialogs::ExecuteLinkDialog(LinkValues &v, bool prefill) {
    return run<TfrmAhref>("TfrmAhref", v, prefill);
}

bool TQtTagDialogs::ExecuteULDialog(int &kind, bool prefill) {
    return run<TfrmTagUL>("TfrmTagUL", kind, prefill);
}

bool TQtTagDialogs::ExecuteOLDialog(int &kind, int &start, bool prefill) {
    return run<TfrmTagOL>("TfrmTagOL", kind, start, prefill);
}

bool TQtTagDialogs::ExecuteMarqueeDialog(MarqueeValues &v, bool prefill) {
    return run<TfrmTagMarquee>("TfrmTagMarquee", v, prefill);
}

bool TQtTagDialogs::ExecuteBgSoundDialog(BgSoundValues &v, bool prefill) {
    return run<TfrmTagBgsound>("TfrmTagBgsound", v, prefill);
}

bool TQtTagDialogs::ExecuteEmbedDialog(EmbedValues &v, bool prefill) {
    return run<TfrmTagEmbed>("TfrmTagEmbed", v, prefill);
}

bool TQtTagDialogs::ExecuteAppletDialog(AppletValues &v, bool prefill) {
    return run<TfrmTagApplet>("TfrmTagApplet", v, prefill);
}

bool TQtTagDialogs::ExecuteTableDialog(TableValues &v, bool prefill, bool fullForm) {
    auto *d = dynamic_cast<TTableDialogExecute *>(find_(QStringLiteral("TfrmTable")));
    return d && d->ExecuteTable(v, prefill, fullForm);
}

bool TQtTagDialogs::ExecuteRowDialog(CellData &data) {
    auto *d = dynamic_cast<TCellDialogExecute *>(find_(QStringLiteral("TfrmRowOptions")));
    return d && d->ExecuteCell(data);
}

bool TQtTagDialogs::ExecuteCellDialog(CellData &data) {
    auto *d = dynamic_cast<TCellDialogExecute *>(find_(QStringLiteral("TfrmCellOptions")));
    return d && d->ExecuteCell(data);
}

bool TQtTagDialogs::ExecuteTableEditor(bool importDbf, std::string &result) {
    auto *d = dynamic_cast<TInteractiveTableExecute *>(find_(QStringLiteral("TfrmTableInteractive")));
    return d && d->ExecuteTableEditor(importDbf, result);
}

bool TQtTagDialogs::ExecuteFrameSetWizard(std::string &text) {
    return run<TfrmFrameSet>("TfrmFrameSet", text);
}

bool TQtTagDialogs::ExecuteFrameParams(FrameParams &p) {
    auto *d = dialog<TfrmFrameParams>("TfrmFrameParams");
    return d && d->ExecuteFrameParams(p);
}

} // namespace xo
