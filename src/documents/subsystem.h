#pragma once
// What a subsystem adds to the frame. Each subsystem has one function that
// returns its Subsystem; main passes the list of them to the main window, so
// the frame names none of them and nothing relies on static registration.

#include "commands.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QDialog;

namespace xo {

class TfrmMain;
class TCompressFile;

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

// A section of the configuration file and its owner's plain data. All
// sections are read first, into copies; the copies become the program's
// state only when the whole file was good.
struct ConfigSection {
    QString name; // as the program's order of sections names it
    // Into the copy; a section the file lacks leaves the copy as the program's state was.
    std::function<void(TfrmMain &, TCompressFile &)> read;
    std::function<void(TfrmMain &)> apply; // the copy becomes the program's state
    std::function<void(TfrmMain &, TCompressFile &)> write;
};

// A section that is one program-wide value of type T, with Load and Save.
template <class T> ConfigSection StateSection(const char *name, T &state) {
    auto copy = std::make_shared<T>();
    return {QString::fromLatin1(name),
            [copy, &state](TfrmMain &, TCompressFile &f) {
                *copy = state;
                copy->Load(f);
            },
            [copy, &state](TfrmMain &) { state = *copy; },
            [&state](TfrmMain &, TCompressFile &f) { state.Save(f); }};
}

struct Subsystem {
    QString name;
    // Menu items, toolbar buttons and context-menu items.
    std::function<void(TfrmMain &, std::vector<CommandSpec> &)> commands;
    std::vector<DialogSpec> dialogs;
    // Once the frame is built, and when it goes.
    std::function<void(TfrmMain &)> attached;
    std::function<void(TfrmMain &)> detached;
    // Once the window shows and the start-up work (configuration, windows of
    // the last run) is done, before the tip of the day.
    std::function<void(TfrmMain &)> started;
    // After the settings were applied (start-up and the options dialog).
    std::function<void(TfrmMain &)> applySettings;
    // The subsystem's sections of the configuration file.
    std::vector<ConfigSection> config;
};

// The program's dialogs in the order they are created at start.
extern const char *const kDialogOrder[33];

} // namespace xo
