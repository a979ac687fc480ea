#pragma once
// One window for every file: a program started while another runs in the
// same session (the same user and display) hands its files to it through a
// local socket and ends.

#include <QLocalServer>
#include <QObject>
#include <QStringList>
#include <functional>

namespace xo {

class TSingleInstance : public QObject {
public:
    // In the user's runtime directory, named after the display.
    static QString SocketPath();
    // True when a running program took the files (absolute paths): this one ends.
    static bool HandOver(const QStringList &files, int timeoutMs = 3000);

    // Takes later programs' files; a socket left by a program that crashed is replaced.
    bool Listen(std::function<void(const QStringList &files)> open);

private:
    QLocalServer server_;
    std::function<void(const QStringList &)> open_;
};

} // namespace xo
