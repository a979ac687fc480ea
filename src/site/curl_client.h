#pragma once
// FTPS (explicit TLS on the control and the data connection) and SFTP
// through libcurl, behind the upload queue's client interface. Each call is
// synchronous for its caller, as the FTP client's are: the transfer runs on
// a worker thread while the caller waits in a local event loop, so the
// window repaints and Stop (from a close or Escape) is heard at once.
// The server's identity is always verified; an unknown one is asked about
// and never answered by falling back to clear text.

#include "ftp_client.h"
#include "host_trust.h"

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>

namespace xo {

struct TIdentity;

// The server did not prove who it is and the user did not accept it; the
// question or the warning has said so already.
class EServerNotVerified : public ETcpIpError {
public:
    EServerNotVerified() : ETcpIpError(QStringLiteral("Server se neprokázal")) {}
};

class TCurlClient : public QObject, public TFtpClient {
    Q_OBJECT
public:
    explicit TCurlClient(QObject *parent = nullptr);
    ~TCurlClient() override;

    TProtocol Protocol = TProtocol::Sftp; // Ftps or Sftp
    QString Hostname;
    uint16_t Port = 0;
    QString Username;
    QString Password; // SFTP: empty logs in with the SSH agent or the key files
    QString KnownHostsFile = DefaultKnownHostsFile();
    QString SshDirectory;                // key files; ~/.ssh
    QString TrustedCertificatesFile = DefaultTrustedCertificatesFile();
    int ConnectTimeout = 30000;          // milliseconds
    int IdleTimeout = 60000;             // without a byte moving
    bool UserInput = false;              // as T_TcpIp::UserInput
    TTraceProc OnTrace;

    // Ends the running call and every later one with EStopped, until the next log-in.
    void Stop();

    bool Busy() const override { return busy_; }
    void Login() override;
    void Logout() override;
    void ChangeDir(const QString &dir) override;
    void MakeDir(const QString &dir) override;
    // Stores the file and checks that the server holds exactly its size.
    void UploadFile(QIODevice &file, const QString &uri) override;
    void Rename(const QString &from, const QString &to) override;
    void Delete(const QString &path) override;
    QString ProtocolName() const override { return xo::ProtocolName(Protocol); }

    // After a failed log-in: the server refused the name or password.
    bool LoginDenied() const { return denied_; }

    struct Call; // one request; libcurl's callbacks see it

private:
    friend struct TCurlCallbacks;
    struct Handle;
    // Runs one libcurl request against `path` (absolute); throws on failure.
    void perform(const QString &path, const std::function<void(Call &)> &setup, Call &call);
    void performOnce(const QString &path, const std::function<void(Call &)> &setup, Call &call);
    // A quote command list run without a transfer.
    void quote(const QStringList &commands);
    QString absolute(const QString &path) const;
    QString url(const QString &path) const;
    QString quoted(const QString &path) const; // an argument of an SFTP quote command
    // Asks about the identity the last call could not verify; true to retry.
    bool askAboutIdentity(const TIdentity &id);
    void trace(const QString &t, TTraceLevel l) {
        if (OnTrace) OnTrace(t, l);
    }

    std::unique_ptr<Handle> h_;
    QString cwd_; // the absolute directory relative names count from
    bool busy_ = false;
    bool denied_ = false;
    bool utf8_ = false;
    std::atomic<bool> stopped_{false};
};

} // namespace xo
