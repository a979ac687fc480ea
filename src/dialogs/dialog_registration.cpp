#include "dialog_registration.h"
#include "link_dialog_state.h"

#include "documents/about_dialogs.h"
#include "documents/help.h"
#include "documents/main_window.h"
#include "editor/editor_widget.h"
#include "platform/services.h"
#include "frameset_dialogs.h"
#include "tag_dialogs.h"

#include <memory>

namespace xo {

namespace {

// The frame as the dialogs' host.
class FrameDialogHost : public TDialogHost {
public:
    TfrmMain *frame = nullptr;
    bool HasDocument() override { return frame && frame->ActiveEditor(); }
    QString DocumentFileName() override {
        TEditor *e = frame ? frame->ActiveEditor() : nullptr;
        return e ? e->FileName : QString();
    }
    void SaveDocumentAs() override {
        if (frame) frame->mnUlozitJakoClick();
    }
    void ShowHelp(int context) override { ShowHelpContext(context); }
    bool DocumentIsUtf8() override {
        TEditor *e = frame ? frame->ActiveEditor() : nullptr;
        return e && e->Utf8;
    }
    void ShowZefoAdvert() override {
        if (frame && frame->dlgZefo) platform::services().runModal(*frame->dlgZefo);
    }
};

FrameDialogHost host;
std::unique_ptr<TQtTagDialogs> dialogs;

} // namespace

Subsystem DialogsSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("dialogs");
    s.config = {StateSection("TagAHref", TagAHrefState)};
    s.dialogs = {DialogOf<TfrmTagBody>("TfrmTagBody"),       DialogOf<TfrmAlign>("TfrmAlign"),
                 DialogOf<TfrmTagHR>("TfrmTagHR"),           DialogOf<TfrmTagFont>("TfrmTagFont"),
                 DialogOf<TfrmTagImg>("TfrmTagImg"),         DialogOf<TfrmAhref>("TfrmAhref"),
                 DialogOf<TfrmTagUL>("TfrmTagUL"),           DialogOf<TfrmTagOL>("TfrmTagOL"),
                 DialogOf<TfrmTagMarquee>("TfrmTagMarquee"), DialogOf<TfrmTagBgsound>("TfrmTagBgsound"),
                 DialogOf<TfrmTagEmbed>("TfrmTagEmbed"),     DialogOf<TfrmTagApplet>("TfrmTagApplet"),
                 DialogOf<TfrmTagBodyOprava>("TfrmTagBodyOprava"), DialogOf<TfrmFrameSet>("TfrmFrameSet"),
                 DialogOf<TfrmFrameParams>("TfrmFrameParams")};
    s.attached = [](TfrmMain &m) {
        host.frame = &m;
        SetDialogHost(&host);
        dialogs = std::make_unique<TQtTagDialogs>([&m](const QString &name) { return m.Dialog(name); });
        SetTagDialogs(dialogs.get());
    };
    s.detached = [](TfrmMain &m) {
        if (host.frame != &m) return;
        host.frame = nullptr;
        SetDialogHost(nullptr);
        SetTagDialogs(nullptr);
        dialogs.reset();
    };
    return s;
}

} // namespace xo
