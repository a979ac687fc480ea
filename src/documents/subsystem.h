#pragma once
// What a subsystem adds to the frame. Each subsystem has one function that
// returns its Subsystem; main passes the list of them to the main window, so
// the frame names none of them and nothing relies on static registration.

#include "commands.h"

#include <QString>
#include <functional>
#include <vector>

class QDialog;

namespace xo {

class TfrmMain;
struct ConfigContent;

// One of the program's dialogs, created once, hidden, in the program's
// creation order (kDialogOrder), and kept for the whole run.
struct DialogSpec {
    QString name; // its class name, e.g. "TdlgFind"
    std::function<QDialog *(TfrmMain &)> create; // parented to the main window
};

// The dialog class T under `name`, made with the main window as its parent
// (the registration that uses it includes main_window.h).
template <class T> DialogSpec DialogOf(const char *name) {
    return {QString::fromLatin1(name), [](TfrmMain &m) -> QDialog * { return new T(&m); }};
}

struct Subsystem {
    QString name;
    // Menu items, toolbar buttons and context-menu items.
    std::function<void(TfrmMain &, std::vector<CommandSpec> &)> commands;
    std::vector<DialogSpec> dialogs;
    // Once the frame is built, and when it goes.
    std::function<void(TfrmMain &)> attached;
    std::function<void(TfrmMain &)> detached;
    // After the settings were applied (start-up and the options dialog).
    std::function<void(TfrmMain &)> applySettings;
    // The subsystem's sections of the configuration file.
    std::function<void(TfrmMain &, const ConfigContent &)> readConfig;
    std::function<void(TfrmMain &, ConfigContent &)> writeConfig;
};

// The program's dialogs in the order they are created at start.
extern const char *const kDialogOrder[33];

} // namespace xo
