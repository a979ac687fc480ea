#pragma once
// The external browsers: finding them on the system, choosing one, and
// starting it with an address as its one argument.

#include "settings/settings.h"

#include <QString>
#include <functional>

namespace xo {

// How the system is asked: a program's full path on PATH (empty when
// absent), and whether a file is an executable one.
struct BrowserLookup {
    std::function<QString(const QString &program)> findOnPath;
    std::function<bool(const QString &file)> isExecutable;
};
BrowserLookup SystemBrowserLookup();

// Fills only the empty paths: the first browser from x-www-browser or
// firefox, the second from chromium or xdg-open; a result that is no
// executable file stays empty.
void DiscoverBrowsers(TSettings &s, const BrowserLookup &lookup = SystemBrowserLookup());

// The browser button's image: 4 when only the second browser is known, else 3.
int BrowserImageIndex(const TSettings &s);

// What showing an address needs from the program around it.
class TBrowserHost {
public:
    virtual ~TBrowserHost() = default;
    // The choice between the two browsers; false when cancelled.
    virtual bool ChooseBrowser(int &choice) = 0;
    // The options dialog on its browser page; true when confirmed.
    virtual bool EditBrowserPaths() = 0;
    virtual void ShowStatusText(const QString &text) = 0;
    virtual void ClearStatusText() = 0;
};

// Linux has no DDE to a running browser: always false.
bool OpenByDde(int index, const QString &address);
void ShowInBrowser(const QString &address, TBrowserHost &host);

// Starts browser `index` (0 first, 1 second) with the address; false when
// it could not be started or no path was given.
bool LaunchBrowser(int index, const QString &address, TBrowserHost &host);

} // namespace xo
