#include "browsers.h"

#include "platform/cp1250.h"
#include "platform/services.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace xo {

namespace {

QString path(const ShortString<200> &s) { return cp1250::decode(s.str()); }

// A path the stored setting holds exactly, or nothing.
bool store(ShortString<200> &to, const QString &file) {
    const std::string bytes = cp1250::encode(file);
    if (bytes.size() > 200 || cp1250::decode(bytes) != file) return false;
    to = bytes;
    return true;
}

void discover(ShortString<200> &field, std::initializer_list<const char *> programs, const BrowserLookup &lookup) {
    if (!field.empty()) return;
    for (const char *program : programs) {
        const QString found = lookup.findOnPath(QString::fromLatin1(program));
        if (found.isEmpty()) continue;
        if (lookup.isExecutable(found) && store(field, found)) return;
        return; // the first one found decides; not executable leaves the path empty
    }
}

} // namespace

BrowserLookup SystemBrowserLookup() {
    return {[](const QString &program) { return QStandardPaths::findExecutable(program); },
            [](const QString &file) {
                const QFileInfo info(file);
                return info.isFile() && info.isExecutable();
            }};
}

void DiscoverBrowsers(TSettings &s, const BrowserLookup &lookup) {
    discover(s.BrowsersNetscape, {"x-www-browser", "firefox"}, lookup);
    discover(s.BrowsersExplorer, {"chromium", "xdg-open"}, lookup);
}

int BrowserImageIndex(const TSettings &s) { return s.BrowsersNetscape.empty() && !s.BrowsersExplorer.empty() ? 4 : 3; }


bool OpenByDde(int, const QString &) { return false; }

void ShowInBrowser(const QString &address, TBrowserHost &host) {
    if (OpenByDde(0, address) || OpenByDde(1, address)) return;
    while (Settings.BrowsersNetscape.empty() && Settings.BrowsersExplorer.empty()) {
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Je třeba nadefinovat cestu k prohlížeči"),
                          platform::Icon::Information);
        if (!host.EditBrowserPaths()) return;
    }
    int choice = 0;
    if (!Settings.BrowsersNetscape.empty() && !Settings.BrowsersExplorer.empty()) {
        if (!host.ChooseBrowser(choice)) return;
    } else if (Settings.BrowsersNetscape.empty()) {
        choice = 1;
    }
    LaunchBrowser(choice, address, host);
}

bool LaunchBrowser(int index, const QString &address, TBrowserHost &host) {
    auto browser = [index] { return path(index == 0 ? Settings.BrowsersNetscape : Settings.BrowsersExplorer); };
    while (browser().isEmpty())
        if (!host.EditBrowserPaths()) return false;
    host.ShowStatusText(QStringLiteral("Spouští se prohlížeč..."));
    // The address is one argument, whatever blanks it holds: no shell, no splitting.
    const bool started = platform::services().startProgram(browser(), address.isEmpty() ? QStringList()
                                                                                        : QStringList{address});
    if (!started)
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Prohlížeč se nepodařilo spustit"),
                          platform::Icon::Exclamation);
    host.ClearStatusText();
    return started;
}

} // namespace xo
