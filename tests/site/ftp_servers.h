#pragma once
// FTP servers for the tests: a real one (Debian's pyftpdlib over a
// temporary directory) and an in-process fake whose replies each test
// scripts, to play a broken or hostile server.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>

#include <ostream>

// Readable failures for lists of file names.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }

namespace xo::test {

inline uint16_t freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

// A server from tests/servers (sshd for SFTP, pyftpdlib with TLS, a relay):
// it prints one JSON line when it listens and stops when its stdin closes.
class ScriptServer {
public:
    ScriptServer(const QString &script, const QStringList &arguments) {
        process.setProgram(QStringLiteral("/usr/bin/python3"));
        process.setArguments(QStringList{QStringLiteral(XO_SOURCE_DIR "/tests/servers/") + script} + arguments);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start();
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 20000 && !process.canReadLine() && process.state() != QProcess::NotRunning)
            process.waitForReadyRead(100);
        info = QJsonDocument::fromJson(process.readLine()).object();
        if (info.isEmpty()) error = script + QStringLiteral(" did not start");
        else if (info.contains(QStringLiteral("error"))) error = info.value(QStringLiteral("error")).toString();
        port = uint16_t(info.value(QStringLiteral("port")).toInt());
    }
    ~ScriptServer() { stop(); }
    void stop() {
        if (process.state() == QProcess::NotRunning) return;
        process.closeWriteChannel();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(3000);
        }
    }
    QString value(const char *key) const { return info.value(QLatin1String(key)).toString(); }
    QProcess process;
    QJsonObject info;
    uint16_t port = 0;
    QString error;
};

class PyFtpServer {
public:
    // Starts the server; `error` says why when it cannot run here.
    PyFtpServer(const QString &user, const QString &password) {
        port = freePort();
        process.setProgram(QStringLiteral("/usr/bin/python3"));
        process.setArguments({QStringLiteral("-m"), QStringLiteral("pyftpdlib"), QStringLiteral("-i"),
                              QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(port),
                              QStringLiteral("-w"), QStringLiteral("-d"), root.path(), QStringLiteral("-u"), user,
                              QStringLiteral("-P"), password});
        // Its log of every command would bury the test output.
        process.setStandardErrorFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start();
        if (!process.waitForStarted(5000)) {
            error = QStringLiteral("/usr/bin/python3 cannot be started");
            return;
        }
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000) {
            if (process.state() != QProcess::Running) {
                error = QStringLiteral("pyftpdlib is not installed for /usr/bin/python3 (apt-get install python3-pyftpdlib)");
                return;
            }
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port);
            if (probe.waitForConnected(200)) return;
            QThread::msleep(50);
        }
        error = QStringLiteral("pyftpdlib did not listen in time");
    }
    ~PyFtpServer() {
        process.kill();
        process.waitForFinished(3000);
    }
    QTemporaryDir root;
    QProcess process;
    uint16_t port = 0;
    QString error;
};

// One control connection at a time; `onCommand` answers each line.
class FakeFtpServer : public QObject {
public:
    FakeFtpServer() {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, this, [this] {
            control = server.nextPendingConnection();
            if (!greeting.isEmpty()) control->write(greeting);
            QObject::connect(control, &QTcpSocket::readyRead, this, [this] {
                while (control && control->canReadLine()) {
                    QByteArray line = control->readLine();
                    line.chop(line.endsWith("\r\n") ? 2 : 1);
                    commands << QString::fromUtf8(line);
                    if (onCommand) onCommand(line);
                }
            });
        });
    }
    uint16_t port() const { return server.serverPort(); }
    // Answers every command starting with `verb` with `text` (nothing when empty).
    void answer(const QByteArray &verb, const QByteArray &text) {
        override = [this, verb, text](const QByteArray &c) {
            if (!c.startsWith(verb)) return false;
            reply(text);
            return true;
        };
    }
    void reply(const QByteArray &text) {
        if (control) control->write(text);
    }

    // A passive data port that stores what arrives and says "226" when the
    // client closes it (unless `onDataClosed` says otherwise).
    QByteArray openData() {
        data.reset(new QTcpServer);
        data->listen(QHostAddress::LocalHost, 0);
        received.clear();
        QObject::connect(data.get(), &QTcpServer::newConnection, this, [this] {
            QTcpSocket *s = data->nextPendingConnection();
            dataSocket = s;
            QObject::connect(s, &QTcpSocket::readyRead, this, [this, s] {
                if (dataLimit < 0) {
                    received += s->readAll();
                } else {
                    // Takes only so much, then drops the connection with the rest unread.
                    received += s->read(std::max<qint64>(0, dataLimit - received.size()));
                    if (received.size() >= dataLimit) s->abort();
                }
                if (onData && s->isOpen()) onData(*s);
            });
            QObject::connect(s, &QTcpSocket::disconnected, this, [this, s] {
                if (s->isOpen()) received += s->readAll();
                if (onDataClosed)
                    onDataClosed();
                else
                    reply("226 Transfer complete.\r\n");
            });
        });
        const uint16_t p = data->serverPort();
        return QByteArray::number(p >> 8) + ',' + QByteArray::number(p & 255);
    }

    // A well-behaved session; tests override single commands.
    void standard(const QByteArray &pasvHost = "127,0,0,1") {
        greeting = "220 Ready\r\n";
        onCommand = [this, pasvHost](const QByteArray &c) {
            if (override && override(c)) return;
            const QByteArray verb = c.left(4).trimmed();
            if (verb == "USER") reply("331 Password required\r\n");
            else if (verb == "PASS") reply("230 Logged in\r\n");
            else if (verb == "TYPE" || verb == "NOOP") reply("200 OK\r\n");
            else if (verb == "CWD") reply("250 OK\r\n");
            else if (verb == "MKD") reply("257 Created\r\n");
            else if (verb == "PASV") reply("227 Entering Passive Mode (" + pasvHost + ',' + openData() + ")\r\n");
            else if (verb == "STOR") reply("150 Go ahead\r\n");
            else if (verb == "SIZE") reply("213 " + QByteArray::number(received.size() + sizeSkew) + "\r\n");
            else if (verb == "ABOR") reply("226 Abort done\r\n");
            else if (verb == "QUIT") reply("221 Bye\r\n");
            else reply("502 Not implemented\r\n");
        };
    }

    QTcpServer server;
    QTcpSocket *control = nullptr;
    QByteArray greeting;
    std::function<void(const QByteArray &)> onCommand;
    std::function<bool(const QByteArray &)> override; // true when it answered
    std::unique_ptr<QTcpServer> data;
    QTcpSocket *dataSocket = nullptr;
    std::function<void(QTcpSocket &)> onData;
    std::function<void()> onDataClosed;
    QByteArray received;
    qint64 dataLimit = -1; // a server that closes early
    qint64 sizeSkew = 0;
    QStringList commands;
};

} // namespace xo::test
