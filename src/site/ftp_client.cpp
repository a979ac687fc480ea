#include "ftp_client.h"

#include <QEventLoop>
#include <QFileDevice>
#include <QHostInfo>
#include <QIODevice>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

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

bool T_TcpIp::WaitFor(QObject &source, const std::function<bool()> &done, int timeout) {
    while (!done()) {
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
        loop.exec(QEventLoop::ExcludeUserInputEvents);
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
    if (!arrived) loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!arrived) QHostInfo::abortHostLookup(id);
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

QByteArray T_TcpIp::ReadLine(QTcpSocket &s) {
    QByteArray line;
    for (;;) {
        char c;
        while (s.getChar(&c)) {
            if (c == '\n') return line;
            if (c != '\r') line += c;
            if (line.size() > ftp::kMaxReplyLine) throw ETcpIpError(QStringLiteral("Příliš dlouhá odpověď serveru"));
        }
        if (s.state() != QAbstractSocket::ConnectedState) return {};
        if (!WaitFor(s, [&] { return s.bytesAvailable() > 0 || s.state() != QAbstractSocket::ConnectedState; },
                     IdleTimeout))
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
    QByteArray first;
    try {
        first = ReadLine(*socket_);
        Trace(QString::fromUtf8(first), 1);
        QByteArray line = first;
        while (ftp::ReplyContinues(first, line)) {
            line = ReadLine(*socket_);
            if (socket_->state() != QAbstractSocket::ConnectedState && line.isEmpty()) break;
            Trace(QString::fromUtf8(line), 1);
        }
    } catch (const ETcpIpError &) {
        Drop();
        throw;
    }
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
    dropped_ = false;
    try {
        ReadReply();
        Command(QStringLiteral("USER ") + Username);
        requireSafe(Password);
        // The password is sent without the trace of the command.
        const QByteArray pass = QStringLiteral("PASS ").toUtf8() + Password.toUtf8() + "\r\n";
        if (SendAll(*socket_, pass)) TraceSent(*socket_, pass.size());
        ReadReply();
        Command(QStringLiteral("TYPE I"));
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
    directories_.clear();
    OpenSession();
}

void T_FTP::Begin() {
    if (busy_) throw EProtocolBusy();
    if (connected_) return;
    const bool replay = dropped_;
    OpenSession();
    // A connection lost part-way: the files go on landing where they were headed.
    if (replay)
        for (const QString &dir : std::as_const(directories_)) Command(QStringLiteral("CWD ") + dir);
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

T_FTP::DataChannel T_FTP::OpenData() {
    DataChannel data;
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
    try {
        SendCommand(QStringLiteral("ABOR"));
        for (int replies = 0; replies < 3; ++replies) {
            ReadReplyLines();
            if (LastReplyCode < 400 || LastReplyCode >= 500) return;
        }
    } catch (const ETcpIpError &) {
    }
    Drop();
}

void T_FTP::Upload() {
    Begin();
    if (URI.isEmpty()) return;
    requireSafe(URI);
    DataChannel data = OpenData();
    Command(QStringLiteral("STOR ") + URI);
    busy_ = true;
    BusyGuard guard{busy_};
    AcceptData(data);
    size_ = buffer_.size();
    int64_t sent = 0;
    QTcpSocket &out = *data.socket;
    while (sent < size_) {
        const int64_t n = std::min<int64_t>(1024, size_ - sent);
        if (out.state() != QAbstractSocket::ConnectedState || out.write(buffer_.constData() + sent, n) != n) break;
        // Keep a bounded amount in flight, so a stalled server is noticed.
        if (out.bytesToWrite() > 256 * 1024 &&
            !WaitFor(out, [&] { return out.bytesToWrite() <= 64 * 1024 || out.state() != QAbstractSocket::ConnectedState; },
                     IdleTimeout))
            break;
        sent += n;
        Trace(ftp::ProgressText(sent, size_), sent == n ? 2 : 4);
    }
    const bool flushed =
        sent == size_ && out.state() == QAbstractSocket::ConnectedState &&
        WaitFor(out, [&] { return out.bytesToWrite() == 0 || out.state() != QAbstractSocket::ConnectedState; },
                IdleTimeout) &&
        out.bytesToWrite() == 0 && out.state() == QAbstractSocket::ConnectedState;
    if (!flushed) {
        const int code = out.error() == QAbstractSocket::UnknownSocketError ? int(QAbstractSocket::SocketTimeoutError)
                                                                              : int(out.error());
        CloseSocket(data.socket);
        AbortAfterFailure();
        throw ESocketError(code);
    }
    out.disconnectFromHost();
    if (out.state() != QAbstractSocket::UnconnectedState)
        WaitFor(out, [&] { return out.state() == QAbstractSocket::UnconnectedState; }, IdleTimeout);
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

void T_FTP::UploadFile(QIODevice &file, const QString &uri) {
    if (busy_) throw EProtocolBusy();
    LoadFromStream(file);
    URI = uri;
    Upload();
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
