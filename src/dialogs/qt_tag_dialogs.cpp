#include "tag_dialogs.h"

namespace xo {

std::string TQtTagDialogs::ExecuteAlignDialog(int preselect) {
    auto *d = dialog<TfrmAlign>("TfrmAlign");
    return d ? d->Execute(preselect) : std::string();
}

bool TQtTagDialogs::ExecuteRuleDialog(RuleValues &v, bool prefill) {
    auto *d = dialog<TfrmTagHR>("TfrmTagHR");
    return d && d->Execute(v, prefill);
}

bool TQtTagDialogs::ExecuteFontDialog(FontValues &v, bool prefill) {
    auto *d = dialog<TfrmTagFont>("TfrmTagFont");
    return d && d->Execute(v, prefill);
}

bool TQtTagDialogs::ExecuteBodyDialog(const QString &documentFile, BodyValues &v, bool prefill) {
    auto *d = dialog<TfrmTagBody>("TfrmTagBody");
    return d && d->Execute(documentFile, v, prefill);
}

bool TQtTagDialogs::ExecuteBodyFixDialog(const QString &documentFile, BodyFixValues &v, bool prefill) {
    auto *d = dialog<TfrmTagBodyOprava>("TfrmTagBodyOprava");
    return d && d->Execute(documentFile, v, prefill);
}

bool TQtTagDialogs::ExecuteImageDialog(ImageValues &v, const QString &documentFile, bool prefill) {
    auto *d = dialog<TfrmTagImg>("TfrmTagImg");
    return d && d->Execute(v, documentFile, prefill);
}

bool TQtTagDialogs::ExecuteLinkDialog(LinkValues &v, bool prefill) {
    auto *d = dialog<TfrmAhref>("TfrmAhref");
    return d && d->Execute(v, prefill);
}

bool TQtTagDialogs::ExecuteULDialog(int &kind, bool prefill) {
    auto *d = dialog<TfrmTagUL>("TfrmTagUL");
    return d && d->Execute(kind, prefill);
}

bool TQtTagDialogs::ExecuteOLDialog(int &kind, int &start, bool prefill) {
    auto *d = dialog<TfrmTagOL>("TfrmTagOL");
    return d && d->Execute(kind, start, prefill);
}

bool TQtTagDialogs::ExecuteMarqueeDialog(MarqueeValues &v, bool prefill) {
    auto *d = dialog<TfrmTagMarquee>("TfrmTagMarquee");
    return d && d->Execute(v, prefill);
}

bool TQtTagDialogs::ExecuteBgSoundDialog(BgSoundValues &v, bool prefill) {
    auto *d = dialog<TfrmTagBgsound>("TfrmTagBgsound");
    return d && d->Execute(v, prefill);
}

bool TQtTagDialogs::ExecuteEmbedDialog(EmbedValues &v, bool prefill) {
    auto *d = dialog<TfrmTagEmbed>("TfrmTagEmbed");
    return d && d->Execute(v, prefill);
}

bool TQtTagDialogs::ExecuteAppletDialog(AppletValues &v, bool prefill) {
    auto *d = dialog<TfrmTagApplet>("TfrmTagApplet");
    return d && d->Execute(v, prefill);
}

} // namespace xo
