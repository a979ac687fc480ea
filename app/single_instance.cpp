#include "single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <unistd.h>

namespace xo {

namespace {

constexpr char kHello[] = "XO-OPEN 1\n";

} // namespace

QString TSingleInstance::SocketPath() {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::tempPath() + QStringLiteral("/xo-%1").arg(::getuid());
    QDir().mkpath(dir);
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
    display.replace(u'/', u'_');
    return dir + QStringLiteral("/xo-%1-%2.socket").arg(::getuid()).arg(display);
}

bool TSingleInstance::HandOver(const QStringList &files, int timeoutMs) {
    QLocalSocket s;
    s.connectToServer(SocketPath());
    if (!s.waitForConnected(500)) return false; // nobody there, or only a stale socket
    QByteArray message = kHello;
    for (const QString &f : files) message += QUrl::toPercentEncoding(f) + '\n'; // a name may hold a line end
    message += '\n';
    s.write(message);
    if (!s.waitForBytesWritten(timeoutMs)) return false;
    // The answer says the files were taken; without it, this program opens them itself.
    while (!s.canReadLine())
        if (!s.waitForReadyRead(timeoutMs)) return false;
    return s.readLine() == "OK\n";
}

bool TSingleInstance::Listen(std::function<void(const QStringList &)> open) {
    open_ = std::move(open);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    const QString path = SocketPath();
    if (!server_.listen(path)) {
        // The hand-over found no one: what is there is left by a crashed program.
        QLocalServer::removeServer(path);
        if (!server_.listen(path)) return false;
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *s = server_.nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            connect(s, &QLocalSocket::readyRead, s, [this, s] {
                QByteArray all = s->property("xoReceived").toByteArray() + s->readAll();
                s->setProperty("xoReceived", all);
                if (!all.startsWith(kHello) || !all.endsWith("\n\n")) {
                    if (all.size() > 1 << 20 || (all.size() >= qsizetype(sizeof kHello) - 1 && !all.startsWith(kHello)))
                        s->abort(); // not one of ours
                    return;
                }
                QStringList files;
                for (const QByteArray &line : all.mid(qsizetype(sizeof kHello) - 1).split('\n'))
                    if (!line.isEmpty()) files << QString::fromUtf8(QByteArray::fromPercentEncoding(line));
                s->write("OK\n");
                s->flush();
                // Opened after the answer: a question while opening must not keep the other program waiting.
                QTimer::singleShot(0, this, [this, files] { open_(files); });
            });
        }
    });
    return true;
}

} // namespace xo
