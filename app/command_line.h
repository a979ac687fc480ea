#pragma once
// The program's command line: xo [/own] [FILE...], xo --check FILE...,
// xo --help, xo --version.

#include <QString>
#include <QStringList>

namespace xo {

struct CommandLine {
    enum Action { Run, Check, Help, Version, Error };
    Action action = Run;
    QStringList files;
    bool own = false;   // "/own": the program's own toolbar buttons
    bool newInstance = false; // a program of its own, not the files handed to a running one
    QString error;      // what was wrong, for Error
};

// The arguments without the program's name.
CommandLine ParseCommandLine(const QStringList &arguments);
// What --help prints.
QString UsageText();
// Whether the arguments ask for something that needs no window (so no display).
bool WantsNoWindow(const QStringList &arguments);

} // namespace xo
