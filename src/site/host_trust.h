#pragma once
// Which servers are trusted: SSH host keys in OpenSSH's known_hosts format,
// and TLS certificates the user accepted by their fingerprint although no
// authority vouches for them. Plain functions over files, so that tests
// and both transports share them.

#include <QByteArray>
#include <QString>

namespace xo {

// "ftp", "ftps" or "sftp" with a host and port, as the server field names them.
enum class TProtocol { Ftp, Ftps, Sftp };

struct TRemoteServer {
    TProtocol Protocol = TProtocol::Ftp;
    QString Host;
    int Port = 0;  // 0: none in the field
    QString User;  // "user@" of a URL, else empty
};

// "FTP", "FTPS" or "SFTP".
QString ProtocolName(TProtocol p);
int DefaultPort(TProtocol p);
// Reads the server field: "ftp://host[:port]", "ftps://…", "sftp://…" or a
// bare host (FTP). False with `error` set for another scheme, a path, or a
// host name that is not one.
bool ParseServer(const QString &field, TRemoteServer &out, QString &error);

// ---------------------------------------------------------------- SSH

enum class THostKeyMatch { Known, Unknown, Changed, Revoked };

// OpenSSH's "SHA256:" followed by the unpadded base64 of the key's hash.
QString SshFingerprint(const QByteArray &keyBlob);
// The key type named at the start of a public key blob ("ssh-ed25519").
QByteArray SshKeyType(const QByteArray &keyBlob);
// The name known_hosts files use: "host", or "[host]:port" off port 22.
QString KnownHostName(const QString &host, int port);

// Looks the key up in `knownHostsText` (plain and hashed names, patterns
// with "*", "?" and "!", the @revoked marker). A known host with another
// key of the same type is Changed; a host known only with keys of other
// types is Unknown.
THostKeyMatch MatchHostKey(const QByteArray &knownHostsText, const QString &host, int port, const QByteArray &keyBlob);
// Appends a hashed line for the key to the file (created with mode 0600 in
// a 0700 directory); false when it cannot be written.
bool AddKnownHost(const QString &file, const QString &host, int port, const QByteArray &keyBlob);

// ---------------------------------------------------------------- TLS

struct TCertificateInfo {
    QString Fingerprint; // SHA-256 of the DER form, "AB:CD:…"
    QString Subject, Issuer, NotBefore, NotAfter;
    QString Problem;     // why no authority vouches for it
};

enum class TCertificateTrust { Trusted, Unknown, Changed };

// The file lists "host:port fingerprint" lines; a host trusted with another
// fingerprint is Changed.
TCertificateTrust CertificateTrust(const QString &file, const QString &host, int port, const QString &fingerprint);
// Remembers the fingerprint for the host, replacing what was there.
bool TrustCertificate(const QString &file, const QString &host, int port, const QString &fingerprint);

// Where these files lie by default.
QString DefaultKnownHostsFile();       // ~/.ssh/known_hosts
QString DefaultTrustedCertificatesFile(); // $XDG_CONFIG_HOME/xo/trusted-certificates

} // namespace xo
