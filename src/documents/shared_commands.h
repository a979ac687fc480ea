#pragma once
// Commands one subsystem offers the others through the frame. The subsystem
// that has them sets them when it is attached; until then they do nothing.

#include <QString>
#include <functional>

namespace xo {

// The pages of the options dialog.
enum OptionsPage { pgGlobal = 0, pgColors, pgBrowsers, pgStylyTextu, pgUserTag, pgPredefinedDirs };

// Opens the program's options dialog on a page (-1: the one last shown);
// true when it was confirmed.
extern std::function<bool(int page)> OpenOptionsDialog;

// Shows a web address in the user's browser.
extern std::function<void(const QString &address)> ShowAddressInBrowser;

} // namespace xo
