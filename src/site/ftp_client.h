#pragma once
// A small FTP client for the site upload. Every call is synchronous for its
// caller: it waits for its replies in a local event loop that leaves user
// input alone, so the window repaints and the log grows, but no second
// command can start. Nothing waits for ever: the time-outs below end a
// silent connect, reply or transfer.

#include "ftp_protocol.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHostAddress>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QEventLoop;
class QIODevice;
class QTcpServer;
class QTcpSocket;

namespace xo {

// What the upload queue needs from an FTP session; the real client and the
// tests' scripted one provide it.
class TFtpClient {
public:
    virtual ~TFtpClient() = default;
    virtual bool Busy() const = 0;
    virtual void Login() = 0;
    virtual void Logout() = 0;
    virtual void ChangeDir(const QString &dir) = 0;
    virtual void MakeDir(const QString &dir) = 0;
    // Stores the whole content of `file` as `uri`.
    virtual void UploadFile(QIODevice &file, const QString &uri) = 0;
    // Gives `from` the name `to`, replacing a file of that name.
    virtual void Rename(const QString &from, const QString &to) = 0;
    virtual void Delete(const QString &path) = 0;
    // "FTP", "FTPS" or "SFTP", for the log.
    virtual QString ProtocolName() const = 0;
};

using TTraceProc = std::function<void(const QString &text, TTraceLevel level)>;

class T_TcpIp : public QObject {
    Q_OBJECT
public:
    explicit T_TcpIp(QObject *parent = nullptr);
    ~T_TcpIp() override;

    QString Hostname;
    uint16_t Port = 0;
    TTraceProc OnTrace;
    // Milliseconds; tests use short ones.
    int ConnectTimeout = 30000;
    int IdleTimeout = 60000; // a whole reply; data without progress
    // While waiting, the user's keys and clicks reach the window too (its
    // owner keeps them from starting a second operation), so that Stop can
    // be pressed; otherwise they wait until the call returns.
    bool UserInput = false;

    // Ends the running call and every later one with EStopped, until the next log-in.
    void Stop();

    virtual void Login();
    virtual void Logout();
    virtual void SendCommand(const QString &text);
    // Reads the current socket until the peer closes it, into the transfer buffer.
    void ReceiveAll();
    // The transfer buffer becomes the whole content of `stream`.
    void LoadFromStream(QIODevice &stream);
    const QByteArray &TransferBuffer() const { return buffer_; }
    bool Connected() const { return connected_; }

protected:
    void Trace(const QString &text, TTraceLevel level);
    // ETcpIpError "Nelze se připojit k serveru " + name when it cannot be resolved.
    QHostAddress Resolve(const QString &name);
    // A connected socket, or ESocketError (traced either way).
    std::unique_ptr<QTcpSocket> Connect(const QHostAddress &address, uint16_t port);
    void CloseSocket(std::unique_ptr<QTcpSocket> &socket);
    // Writes every byte; false when the connection failed or stalled.
    bool SendAll(QTcpSocket &socket, const QByteArray &bytes);
    void TraceSent(const QTcpSocket &socket, qint64 bytes);
    // One line without CR and LF; empty when the peer closed before an LF.
    // EProtocolBusy when it is not whole by `deadline` (or after the idle
    // time-out without a byte), ETcpIpError for an overlong line.
    QByteArray ReadLine(QTcpSocket &socket, const QDeadlineTimer &deadline);
    // Everything until the peer closes; EProtocolBusy when it stalls.
    void ReceiveUntilClosed(QTcpSocket &socket, QByteArray &into, const std::function<void(int)> &onBlock = {});
    // Processes events (no user input) until `done` holds; false when
    // nothing happened on the socket for `timeout` ms.
    bool WaitFor(QObject &source, const std::function<bool()> &done, int timeout);

    std::unique_ptr<QTcpSocket> socket_;
    QByteArray buffer_;
    bool connected_ = false;
    bool stopped_ = false;
    QEventLoop *waiting_ = nullptr; // the loop a call waits in, woken by Stop
};

class T_FTP : public T_TcpIp, public TFtpClient {
    Q_OBJECT
public:
    explicit T_FTP(QObject *parent = nullptr);
    ~T_FTP() override;

    QString URI;
    QString Username = QStringLiteral("ftp");
    QString Password = QStringLiteral("xo@example.org");
    bool Passive = true;
    t_ftp_mode Mode = tftp_download;
    bool Async = false; // kept for the callers; the transfers are always synchronous
    std::function<void(T_FTP &, t_ftp_mode, int bytes)> OnDataReceived;
    std::function<void(T_FTP &, t_ftp_mode)> OnActionComplete;
    QStringList DirectoryListing;
    int LastReplyCode = 0;
    QString LastReplyText;

    void Login() override;
    void Logout() override;
    void SendCommand(const QString &text) override;
    void ChangeDir(const QString &dir) override;
    void MakeDir(const QString &dir) override;
    void GetDir(const QString &path);
    void Download();
    void Upload();
    void Abort();
    void Action();
    bool Busy() const override { return busy_; }
    void UploadFile(QIODevice &file, const QString &uri) override;
    void Rename(const QString &from, const QString &to) override;
    void Delete(const QString &path) override;
    QString ProtocolName() const override { return QStringLiteral("FTP"); }

private:
    struct DataChannel;
    // Refuses a second operation and logs in again after a lost connection.
    void Begin();
    void Command(const QString &text);
    // The whole reply; EProtocolError from 400 on.
    void ReadReply();
    void ReadReplyLines();
    void OpenSession();
    // Forgets a control connection whose replies can no longer be trusted.
    void Drop();
    DataChannel OpenData();
    void AcceptData(DataChannel &data);
    void AbortAfterFailure();
    // Stores `size` bytes from `next` (which fills a block and returns its
    // length) as URI; the server must confirm them all.
    void Store(int64_t size, const std::function<qint64(char *, qint64)> &next);
    // After the last byte: half-closes the data connection and reads until
    // the server closes it; false when it reset it instead (it did not take
    // every byte) or did not close in time.
    bool ServerTookEverything(QTcpSocket &data);

    bool busy_ = false;
    QList<QByteArray> replyLines_; // of the last reply
    int64_t size_ = 0;
    QStringList directories_; // changed to since the log-in, replayed after a lost connection
    bool dropped_ = false;
};

} // namespace xo
