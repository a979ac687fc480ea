#include "options_registration.h"

#include "browser_choice_state.h"
#include "browsers.h"
#include "choose_browser.h"
#include "dialogs/dialog_services.h"
#include "documents/glyphs.h"
#include "documents/main_window.h"
#include "editor/editor_widget.h"
#include "options_dialog.h"

#include <QToolButton>

namespace xo {

namespace {

TfrmMain *frame = nullptr;

// The frame as the browsers' host.
class FrameBrowserHost : public TBrowserHost {
public:
    bool ChooseBrowser(int &choice) override {
        auto *d = frame ? qobject_cast<TfrmChooseBrowser *>(frame->Dialog(QStringLiteral("TfrmChooseBrowser"))) : nullptr;
        return d && d->Execute(choice);
    }
    bool EditBrowserPaths() override { return OpenOptionsDialog(pgBrowsers); }
    void ShowStatusText(const QString &t) override {
        if (frame) frame->ShowStatusText(t);
    }
    void ClearStatusText() override {
        if (frame) frame->ClearStatusText();
    }
};
FrameBrowserHost browserHost;

void showDocumentInBrowser(TfrmMain &m) {
    m.mnUlozitClick();
    TEditor *e = m.ActiveEditor();
    if (e && !e->Modified() && !e->FileName.isEmpty()) ShowInBrowser(e->FileName, browserHost);
}

void updateBrowserButton(TfrmMain &m) {
    if (auto *b = m.findChild<QToolButton *>(QStringLiteral("btBrowser"))) {
        const int image = BrowserImageIndex(Settings);
        b->setProperty("image", image);
        b->setIcon(TextGlyph(image == 4 ? QStringLiteral("WEB2") : QStringLiteral("WEB")));
    }
}

void commands(TfrmMain &m, std::vector<CommandSpec> &specs) {
    int save = 0;
    for (const CommandSpec &s : specs)
        if (s.name == QLatin1String("mnUlozitVse")) save = s.order;
    CommandSpec browser;
    browser.menu = QStringLiteral("&Soubor");
    browser.order = save + 1;
    browser.name = QStringLiteral("mnShowInBrowser");
    browser.caption = QStringLiteral("Uložit a zobrazit v &prohlížeči");
    browser.shortcut = QKeySequence(Qt::Key_F12);
    browser.hint = QStringLiteral("Prohlížeč|Uložit a zobrazit v prohlížeči");
    browser.tag = tagNeedsDocument;
    browser.toolbar = QStringLiteral("tbFile");
    browser.button = QStringLiteral("btBrowser");
    browser.icon = TextGlyph(QStringLiteral("WEB"));
    browser.handler = [&m] { showDocumentInBrowser(m); };
    specs.push_back(browser);
    specs.push_back(MenuCommand("&Nástroje", 90, "N_options", "", "", nullptr, tagAlways));
    specs.push_back(MenuCommand("&Nástroje", 91, "mnVolitelneParametry", "&Volitelné parametry",
                                "Volitelné parametry|Nastavení programu", [] { OpenOptionsDialog(-1); }, tagAlways));
}

} // namespace

Subsystem OptionsSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("options");
    s.config = {StateSection("ChooseBrowser", ChooseBrowserState)};
    s.commands = commands;
    s.dialogs = {DialogOf<TfrmOptions>("TfrmOptions"), DialogOf<TfrmChooseBrowser>("TfrmChooseBrowser")};
    s.attached = [](TfrmMain &m) {
        frame = &m;
        auto *options = qobject_cast<TfrmOptions *>(m.Dialog(QStringLiteral("TfrmOptions")));
        if (!options) return;
        options->RepaintEditors = [&m] {
            for (TMDIChild *c : m.DocumentWindows()) c->Editor->Repaint();
        };
        options->FontTags = [](std::string &open, std::string &close) {
            FontValues v;
            if (!TagDialogs().ExecuteFontDialog(v, false)) return false;
            open = FontOpen;
            close = FontClose;
            return true;
        };
        OpenOptionsDialog = [&m, options](int page) {
            if (!options->Execute(page)) return false;
            m.ApplySettings();
            return true;
        };
        ShowAddressInBrowser = [](const QString &address) { ShowInBrowser(address, browserHost); };
    };
    s.detached = [](TfrmMain &m) {
        if (frame != &m) return;
        frame = nullptr;
        OpenOptionsDialog = [](int) { return false; };
        ShowAddressInBrowser = nullptr;
    };
    s.applySettings = [](TfrmMain &m) {
        // The browsers are looked for once, at start, where no path is stored.
        static bool discovered = false;
        if (!discovered) {
            discovered = true;
            DiscoverBrowsers(Settings);
        }
        updateBrowserButton(m);
    };
    return s;
}

} // namespace xo
