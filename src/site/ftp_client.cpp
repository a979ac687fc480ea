#include "ftp_client.h"

#include <QEventLoop>
#include <QFileDevice>
#include <QHostInfo>
#include <QIODevice>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <vector>

namespace xo {

namespace {

// The number the system gave the socket, kept for the trace after it is closed.
QString socketId(const QTcpSocket &s) {
    const QVariant id = s.property("xoSocketId");
    return QString::number(id.isValid() ? id.toLongLong() : qlonglong(s.socketDescriptor()));
}

// CR, LF or NUL would end the command early and start one of the sender's choosing.
void requireSafe(const QString &argument) {
    if (!ftp::IsSafeArgument(argument)) throw ETcpIpError(QStringLiteral("Neplatný znak v příkazu"));
}

// Clears the busy flag however a transfer ends.
struct BusyGuard {
    bool &flag;
    ~BusyGuard() { flag = false; }
};

} // namespace

// ---------------------------------------------------------------- T_TcpIp

T_TcpIp::T_TcpIp(QObject *parent) : QObject(parent) {}
T_TcpIp::~T_TcpIp() = default;

void T_TcpIp::Trace(const QString &text, TTraceLevel level) {
    if (OnTrace) OnTrace(text, level);
}

void T_TcpIp::Stop() {
    stopped_ = true;
    if (waiting_) waiting_->quit();
}

// The loop a call waits in, known to Stop while it runs.
struct WaitingIn {
    QEventLoop *&slot;
    QEventLoop *before;
    WaitingIn(QEventLoop *&s, QEventLoop &loop) : slot(s), before(s) { slot = &loop; }
    ~WaitingIn() { slot = before; }
};

bool T_TcpIp::WaitFor(QObject &source, const std::function<bool()> &done, int timeout) {
    while (!done()) {
        if (stopped_) throw EStopped();
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        bool progress = false;
        auto wake = [&] {
            progress = true;
            loop.quit();
        };
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        if (auto *s = qobject_cast<QAbstractSocket *>(&source)) {
            connect(s, &QIODevice::readyRead, &loop, wake);
            connect(s, &QIODevice::bytesWritten, &loop, wake);
            connect(s, &QAbstractSocket::stateChanged, &loop, wake);
            connect(s, &QAbstractSocket::errorOccurred, &loop, wake);
        } else if (auto *server = qobject_cast<QTcpServer *>(&source)) {
            connect(server, &QTcpServer::newConnection, &loop, wake);
        }
        timer.start(timeout);
        {
            const WaitingIn in(waiting_, loop);
            loop.exec(UserInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        }
        if (stopped_) throw EStopped();
        if (!progress && !done()) return false;
    }
    return true;
}

QHostAddress T_TcpIp::Resolve(const QString &name) {
    const auto fail = [&] { return ETcpIpError(QStringLiteral("Nelze se připojit k serveru ") + name); };
    if (name.isEmpty()) throw fail();
    QHostAddress literal;
    if (literal.setAddress(name)) return literal;
    QHostInfo answer;
    bool arrived = false;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const int id = QHostInfo::lookupHost(name, &loop, [&](const QHostInfo &info) {
        answer = info;
        arrived = true;
        loop.quit();
    });
    timer.start(ConnectTimeout);
    if (!arrived && !stopped_) {
        const WaitingIn in(waiting_, loop);
        loop.exec(UserInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    if (!arrived) QHostInfo::abortHostLookup(id);
    if (stopped_) throw EStopped();
    if (!arrived || answer.error() != QHostInfo::NoError || answer.addresses().isEmpty()) throw fail();
    // The protocol's PORT and PASV speak IPv4: prefer such an address.
    for (const QHostAddress &a : answer.addresses())
        if (a.protocol() == QAbstractSocket::IPv4Protocol) return a;
    return answer.addresses().first();
}

std::unique_ptr<QTcpSocket> T_TcpIp::Connect(const QHostAddress &address, uint16_t port) {
    auto s = std::make_unique<QTcpSocket>();
    s->connectToHost(address, port);
    const bool done = WaitFor(*s, [&] { return s->state() == QAbstractSocket::ConnectedState ||
                                               s->state() == QAbstractSocket::UnconnectedState; },
                              ConnectTimeout);
    if (!done || s->state() != QAbstractSocket::ConnectedState) {
        const int code = done ? int(s->error()) : int(QAbstractSocket::SocketTimeoutError);
        s->abort();
        Trace(QStringLiteral("Chyba při otevírání výstupního socketu %1 na server %2").arg(port).arg(address.toString()),
              2);
        throw ESocketError(code);
    }
    s->setProperty("xoSocketId", qlonglong(s->socketDescriptor()));
    Trace(QStringLiteral("Výstupní socket %1 na server %2 úspěšně otevřen; ID %3")
              .arg(port)
              .arg(address.toString(), socketId(*s)),
          2);
    return s;
}

void T_TcpIp::CloseSocket(std::unique_ptr<QTcpSocket> &socket) {
    if (!socket) return;
    Trace(QStringLiteral("Uzavření socketu ID ") + socketId(*socket), 2);
    socket->abort();
    socket.reset();
}

void T_TcpIp::Login() {
    if (connected_) Logout();
    const QHostAddress address = Resolve(Hostname);
    socket_ = Connect(address, Port);
    connected_ = true;
}

void T_TcpIp::Logout() {
    CloseSocket(socket_);
    connected_ = false;
}

bool T_TcpIp::SendAll(QTcpSocket &s, const QByteArray &bytes) {
    if (s.state() != QAbstractSocket::ConnectedState || s.write(bytes) != bytes.size()) return false;
    return WaitFor(s, [&] { return s.bytesToWrite() == 0 || s.state() != QAbstractSocket::ConnectedState; },
                   IdleTimeout) &&
           s.bytesToWrite() == 0 && s.state() == QAbstractSocket::ConnectedState;
}

void T_TcpIp::TraceSent(const QTcpSocket &s, qint64 bytes) {
    Trace(QStringLiteral("Vysláno %1 bytů přes socket ID %2").arg(bytes).arg(socketId(s)), 2);
}

void T_TcpIp::SendCommand(const QString &text) {
    requireSafe(text);
    if (!socket_) throw ESocketError(int(QAbstractSocket::NetworkError));
    const QByteArray bytes = text.toUtf8() + "\r\n";
    if (SendAll(*socket_, bytes)) TraceSent(*socket_, bytes.size());
    Trace(text, 0);
}

QByteArray T_TcpIp::ReadLine(QTcpSocket &s, const QDeadlineTimer &deadline) {
    QByteArray line;
    for (;;) {
        char c;
        while (s.getChar(&c)) {
            if (c == '\n') return line;
            if (c != '\r') line += c;
            if (line.size() > ftp::kMaxReplyLine) throw ETcpIpError(QStringLiteral("Příliš dlouhá odpověď serveru"));
        }
        if (s.state() != QAbstractSocket::ConnectedState) return {};
        // A byte now and then does not keep a reply open for ever.
        const qint64 left = deadline.remainingTime();
        if (left == 0 ||
            !WaitFor(s, [&] { return s.bytesAvailable() > 0 || s.state() != QAbstractSocket::ConnectedState; },
                     int(std::min<qint64>(left < 0 ? IdleTimeout : left, IdleTimeout))))
            throw EProtocolBusy();
    }
}

void T_TcpIp::ReceiveUntilClosed(QTcpSocket &s, QByteArray &into, const std::function<void(int)> &onBlock) {
    for (;;) {
        while (s.bytesAvailable() > 0) {
            const QByteArray block = s.read(32512);
            into += block;
            if (onBlock) onBlock(int(block.size()));
        }
        if (s.state() != QAbstractSocket::ConnectedState) return;
        if (!WaitFor(s, [&] { return s.bytesAvailable() > 0 || s.state() != QAbstractSocket::ConnectedState; },
                     IdleTimeout))
            throw EProtocolBusy();
    }
}

void T_TcpIp::ReceiveAll() {
    buffer_.clear();
    if (socket_) ReceiveUntilClosed(*socket_, buffer_);
}

void T_TcpIp::LoadFromStream(QIODevice &stream) {
    buffer_ = stream.readAll();
    if (auto *file = qobject_cast<QFileDevice *>(&stream); file && file->error() != QFileDevice::NoError)
        throw ETcpIpError(file->errorString());
}

// ---------------------------------------------------------------- T_FTP

struct T_FTP::DataChannel {
    std::unique_ptr<QTcpSocket> socket;
    std::unique_ptr<QTcpServer> listener; // active mode until the server connects
};

T_FTP::T_FTP(QObject *parent) : T_TcpIp(parent) { Port = 21; }

T_FTP::~T_FTP() {
    if (socket_) socket_->abort();
}

void T_FTP::Drop() {
    if (socket_) socket_->abort();
    socket_.reset();
    connected_ = false;
    dropped_ = true;
}

void T_FTP::SendCommand(const QString &text) {
    if (!connected_ || !socket_) throw ESocketError(int(QAbstractSocket::NetworkError));
    T_TcpIp::SendCommand(text);
}

void T_FTP::ReadReplyLines() {
    if (!socket_) throw ESocketError(int(QAbstractSocket::NetworkError));
    // The whole reply within the time-out, and within bounds of lines and bytes.
    const QDeadlineTimer deadline(IdleTimeout);
    ftp::TReplyReader reply;
    replyLines_.clear();
    try {
        for (;;) {
            const QByteArray line = ReadLine(*socket_, deadline);
            const bool closed = socket_->state() != QAbstractSocket::ConnectedState && line.isEmpty();
            // A reply cut off by a lost connection is no reply ("226-" and then nothing).
            if (closed && reply.Lines() > 0) throw ETcpIpError(QStringLiteral("Spojení přerušeno uprostřed odpovědi"));
            Trace(QString::fromUtf8(line), 1);
            replyLines_ << line;
            const ftp::TReplyReader::State state = reply.Add(line);
            if (state == ftp::TReplyReader::TooLong) throw ETcpIpError(QStringLiteral("Příliš dlouhá odpověď serveru"));
            if (state == ftp::TReplyReader::Complete || closed) break;
        }
    } catch (const ETcpIpError &) {
        Drop();
        throw;
    }
    const QByteArray &first = reply.First();
    if (socket_->state() != QAbstractSocket::ConnectedState && first.isEmpty()) Drop();
    LastReplyCode = ftp::ReplyCode(first);
    LastReplyText = ftp::ReplyText(first);
}

void T_FTP::ReadReply() {
    ReadReplyLines();
    if (LastReplyCode >= 400) throw EProtocolError(QStringLiteral("FTP"), LastReplyCode, LastReplyText);
}

void T_FTP::Command(const QString &text) {
    SendCommand(text);
    ReadReply();
}

void T_FTP::OpenSession() {
    T_TcpIp::Login();
    try {
        ReadReply();
        Command(QStringLiteral("USER ") + Username);
        requireSafe(Password);
        // The password is sent without the trace of the command.
        const QByteArray pass = QStringLiteral("PASS ").toUtf8() + Password.toUtf8() + "\r\n";
        if (SendAll(*socket_, pass)) TraceSent(*socket_, pass.size());
        ReadReply();
        Command(QStringLiteral("TYPE I"));
        // Names go as UTF-8; a server that says it takes them is told so.
        SendCommand(QStringLiteral("FEAT"));
        ReadReplyLines();
        const bool utf8 = std::any_of(replyLines_.cbegin(), replyLines_.cend(),
                                      [](const QByteArray &l) { return l.trimmed().toUpper() == "UTF8"; });
        if (LastReplyCode == 211 && utf8) {
            SendCommand(QStringLiteral("OPTS UTF8 ON"));
            ReadReplyLines();
        }
    } catch (...) {
        if (socket_) CloseSocket(socket_);
        connected_ = false;
        throw;
    }
}

void T_FTP::Login() {
    if (busy_) throw EProtocolBusy();
    requireSafe(Username);
    if (connected_) Logout();
    stopped_ = false;
    directories_.clear();
    dropped_ = false;
    OpenSession();
}

void T_FTP::Begin() {
    if (busy_) throw EProtocolBusy();
    if (stopped_) throw EStopped();
    if (connected_) return;
    // A connection lost part-way: the files go on landing where they were
    // headed, or nowhere. Until the directories are reached again (the log-in
    // may fail too) the session stays one that must replay them.
    if (!dropped_) return OpenSession();
    try {
        OpenSession();
        for (const QString &dir : std::as_const(directories_)) Command(QStringLiteral("CWD ") + dir);
    } catch (const EStopped &) {
        throw;
    } catch (const ETcpIpError &) {
        Drop();
        throw ERemoteBaseLost(directories_.isEmpty() ? QStringLiteral(".") : directories_.join(u'/'));
    }
    dropped_ = false;
}

void T_FTP::Logout() {
    if (busy_) {
        try {
            Abort();
        } catch (const ETcpIpError &) {
        }
    }
    if (connected_ && socket_ && socket_->state() == QAbstractSocket::ConnectedState) {
        try {
            Command(QStringLiteral("QUIT"));
        } catch (const ETcpIpError &) {
        }
    }
    if (socket_) CloseSocket(socket_);
    connected_ = false;
    dropped_ = false;
    directories_.clear();
}

void T_FTP::ChangeDir(const QString &dir) {
    requireSafe(dir);
    Begin();
    Command(QStringLiteral("CWD ") + dir);
    if (dir.startsWith(u'/')) directories_.clear();
    directories_ << dir;
}

void T_FTP::MakeDir(const QString &dir) {
    requireSafe(dir);
    Begin();
    Command(QStringLiteral("MKD ") + dir);
}

void T_FTP::Rename(const QString &from, const QString &to) {
    requireSafe(from);
    requireSafe(to);
    Begin();
    Command(QStringLiteral("RNFR ") + from);
    Command(QStringLiteral("RNTO ") + to);
}

void T_FTP::Delete(const QString &path) {
    requireSafe(path);
    Begin();
    Command(QStringLiteral("DELE ") + path);
}

T_FTP::DataChannel T_FTP::OpenData() {
    DataChannel data;
    if (Passive && socket_->peerAddress().protocol() == QAbstractSocket::IPv6Protocol &&
        !socket_->peerAddress().toIPv4Address()) {
        // PASV can only name IPv4 addresses; EPSV names just the port.
        SendCommand(QStringLiteral("EPSV"));
        ReadReply();
        uint16_t port = 0;
        if (LastReplyCode != 229 || !ftp::ParseEpsv(LastReplyText, port))
            throw ESocketError(int(QAbstractSocket::UnknownSocketError));
        data.socket = Connect(socket_->peerAddress(), port);
        return data;
    }
    if (Passive) {
        SendCommand(QStringLiteral("PASV"));
        ReadReply();
        if (LastReplyCode != 227) throw EProtocolError(QStringLiteral("FTP"), LastReplyCode, LastReplyText);
        QString host;
        uint16_t port = 0;
        if (!ftp::ParsePasv(LastReplyText, host, port)) throw ESocketError(int(QAbstractSocket::UnknownSocketError));
        // The announced address is only read: the data goes to the server
        // we are talking to, never to a third machine it names.
        data.socket = Connect(socket_->peerAddress(), port);
        return data;
    }
    const QHostAddress local = socket_->localAddress();
    bool v4 = false;
    const uint32_t ip = local.toIPv4Address(&v4);
    if (!v4) throw ESocketError(int(QAbstractSocket::UnsupportedSocketOperationError));
    data.listener = std::make_unique<QTcpServer>();
    if (!data.listener->listen(local, 0)) throw ESocketError(int(data.listener->serverError()));
    Command(QStringLiteral("PORT ") + ftp::PortArgument(ip, data.listener->serverPort()));
    return data;
}

void T_FTP::AcceptData(DataChannel &data) {
    if (!data.listener) return;
    if (!data.listener->hasPendingConnections() &&
        !WaitFor(*data.listener, [&] { return data.listener->hasPendingConnections(); }, IdleTimeout))
        throw ESocketError(int(QAbstractSocket::SocketTimeoutError));
    data.socket.reset(data.listener->nextPendingConnection());
    data.socket->setParent(nullptr);
    data.socket->setProperty("xoSocketId", qlonglong(data.socket->socketDescriptor()));
    data.listener.reset();
}

void T_FTP::GetDir(const QString &path) {
    Begin();
    if (path.isEmpty()) return;
    requireSafe(path);
    DataChannel data = OpenData();
    Command(QStringLiteral("TYPE A"));
    Command(QStringLiteral("LIST ") + path);
    busy_ = true;
    BusyGuard guard{busy_};
    AcceptData(data);
    QByteArray listing;
    ReceiveUntilClosed(*data.socket, listing);
    ReadReply();
    CloseSocket(data.socket);
    Command(QStringLiteral("TYPE I"));
    DirectoryListing = QString::fromUtf8(listing).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    if (OnActionComplete) OnActionComplete(*this, tftp_getdir);
}

void T_FTP::Download() {
    Begin();
    if (URI.isEmpty()) return;
    requireSafe(URI);
    SendCommand(QStringLiteral("SIZE ") + URI);
    ReadReplyLines();
    bool number = false;
    size_ = LastReplyCode < 400 ? LastReplyText.trimmed().toLongLong(&number) : 0;
    if (!number) size_ = 0;
    DataChannel data = OpenData();
    Command(QStringLiteral("RETR ") + URI);
    busy_ = true;
    BusyGuard guard{busy_};
    AcceptData(data);
    buffer_.clear();
    ReceiveUntilClosed(*data.socket, buffer_, [this](int bytes) {
        if (OnDataReceived) OnDataReceived(*this, tftp_download, bytes);
    });
    ReadReply();
    CloseSocket(data.socket);
    if (OnActionComplete) OnActionComplete(*this, tftp_download);
}

void T_FTP::AbortAfterFailure() {
    // The server may still be inside the transfer or may already have ended
    // it; read until the abort is answered, and give up the connection when
    // that does not come, so that no stale reply answers a later command.
    // A NOOP after the ABOR marks the end: what comes before its 200 are the
    // transfer's and the abort's replies, however many the server sends.
    try {
        SendCommand(QStringLiteral("ABOR"));
        SendCommand(QStringLiteral("NOOP"));
        for (int replies = 0; replies < 4; ++replies) {
            ReadReplyLines();
            if (LastReplyCode == 200) return;
        }
    } catch (const EStopped &) {
        Drop();
        throw;
    } catch (const ETcpIpError &) {
    }
    Drop();
}

void T_FTP::Upload() {
    Begin();
    if (URI.isEmpty()) return;
    qint64 at = 0;
    Store(buffer_.size(), [this, &at](char *into, qint64 room) {
        const qint64 n = std::min<qint64>(room, buffer_.size() - at);
        memcpy(into, buffer_.constData() + at, size_t(n));
        at += n;
        return n;
    });
}

void T_FTP::Store(int64_t size, const std::function<qint64(char *, qint64)> &next) {
    requireSafe(URI);
    DataChannel data = OpenData();
    Command(QStringLiteral("STOR ") + URI);
    busy_ = true;
    BusyGuard guard{busy_};
    AcceptData(data);
    size_ = size;
    int64_t sent = 0;
    QTcpSocket &out = *data.socket;
    // The progress line at most ten times a second: a line per block made
    // the log, not the network, the slow part of a large upload.
    QElapsedTimer progress;
    std::vector<char> block(64 * 1024);
    qint64 filled = 0, used = 0;
    bool readFailed = false;
    while (sent < size_) {
        if (used == filled) {
            filled = next(block.data(), std::min<qint64>(qint64(block.size()), size_ - sent));
            used = 0;
            if (filled <= 0) {
                readFailed = true; // the file shrank or could not be read
                break;
            }
        }
        const qint64 n = std::min<qint64>(1024, filled - used);
        if (out.state() != QAbstractSocket::ConnectedState || out.write(block.data() + used, n) != n) break;
        // Keep a bounded amount in flight, so a stalled server is noticed.
        if (out.bytesToWrite() > 256 * 1024 &&
            !WaitFor(out, [&] { return out.bytesToWrite() <= 64 * 1024 || out.state() != QAbstractSocket::ConnectedState; },
                     IdleTimeout))
            break;
        used += n;
        sent += n;
        if (sent == n || sent == size_ || progress.elapsed() >= 100) {
            Trace(ftp::ProgressText(sent, size_), sent == n ? 2 : 4);
            progress.start();
        }
    }
    const bool flushed =
        sent == size_ && out.state() == QAbstractSocket::ConnectedState &&
        WaitFor(out, [&] { return out.bytesToWrite() == 0 || out.state() != QAbstractSocket::ConnectedState; },
                IdleTimeout) &&
        out.bytesToWrite() == 0 && out.state() == QAbstractSocket::ConnectedState && ServerTookEverything(out);
    if (!flushed) {
        const int code = out.error() == QAbstractSocket::UnknownSocketError ? int(QAbstractSocket::SocketTimeoutError)
                                                                              : int(out.error());
        CloseSocket(data.socket);
        AbortAfterFailure();
        if (readFailed) throw ETcpIpError(QStringLiteral("Chyba při čtení souboru"));
        throw ESocketError(code);
    }
    CloseSocket(data.socket);
    ReadReply();
    if (LastReplyCode < 200 || LastReplyCode >= 300)
        throw EProtocolError(QStringLiteral("FTP"), LastReplyCode, LastReplyText);
    // The server's own count is the proof that every byte arrived.
    SendCommand(QStringLiteral("SIZE ") + URI);
    ReadReplyLines();
    if (LastReplyCode == 213) {
        bool number = false;
        const qint64 stored = LastReplyText.trimmed().toLongLong(&number);
        if (!number || stored != size_) throw EProtocolError(QStringLiteral("FTP"), LastReplyCode, LastReplyText);
    }
    if (OnActionComplete) OnActionComplete(*this, tftp_upload);
}

bool T_FTP::ServerTookEverything(QTcpSocket &data) {
    // Our end of the data is said with a half-close; a server that read it
    // all then closes cleanly, one that stopped early resets the connection
    // on the bytes it never read. The socket is read here directly, its
    // notifier left alone, so that Qt cannot take the answer first.
    const int fd = int(data.socketDescriptor());
    if (fd < 0 || ::shutdown(fd, SHUT_WR) != 0) return false;
    QElapsedTimer quiet;
    quiet.start();
    for (;;) {
        if (stopped_) throw EStopped();
        pollfd p{fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, 50);
        if (ready < 0 && errno != EINTR) return false;
        if (ready > 0) {
            char sink[4096];
            const ssize_t got = ::recv(fd, sink, sizeof sink, 0);
            if (got == 0) return true; // the server's clean close
            if (got < 0 && errno != EINTR && errno != EAGAIN) return false;
            quiet.start(); // stray bytes from the server: read on
        } else if (quiet.elapsed() >= IdleTimeout) {
            return false;
        }
        QCoreApplication::processEvents((UserInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents) |
                                        QEventLoop::ExcludeSocketNotifiers);
    }
}

void T_FTP::UploadFile(QIODevice &file, const QString &uri) {
    if (busy_) throw EProtocolBusy();
    Begin();
    URI = uri;
    if (URI.isEmpty()) return;
    // Streamed from the file in blocks: a file of any size takes no more memory than a block.
    const qint64 size = file.isSequential() ? -1 : file.size() - file.pos();
    if (size < 0) {
        LoadFromStream(file);
        return Upload();
    }
    Store(size, [&file](char *into, qint64 room) {
        const qint64 n = file.read(into, room);
        if (auto *f = qobject_cast<QFileDevice *>(&file); f && f->error() != QFileDevice::NoError) return qint64(-1);
        return n;
    });
}

void T_FTP::Abort() {
    if (!busy_) return;
    SendCommand(QStringLiteral("ABOR"));
    try {
        ReadReply();
    } catch (const EProtocolError &e) {
        if (e.Code != 426) throw;
        ReadReplyLines();
        busy_ = false;
    }
}

void T_FTP::Action() {
    Login();
    switch (Mode) {
    case tftp_download: Download(); break;
    case tftp_upload: Upload(); break;
    case tftp_getdir: GetDir(QStringLiteral(".")); break;
    }
    Logout();
}

} // namespace xo
