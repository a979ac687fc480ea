#include "host_trust.h"

#include "platform/safe_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QUrl>

namespace xo {

QString ProtocolName(TProtocol p) {
    switch (p) {
    case TProtocol::Ftps: return QStringLiteral("FTPS");
    case TProtocol::Sftp: return QStringLiteral("SFTP");
    case TProtocol::Ftp: break;
    }
    return QStringLiteral("FTP");
}

int DefaultPort(TProtocol p) { return p == TProtocol::Sftp ? 22 : 21; }

bool ParseServer(const QString &field, TRemoteServer &out, QString &error) {
    out = TRemoteServer();
    const QString text = field.trimmed();
    const qsizetype sep = text.indexOf(QStringLiteral("://"));
    if (sep < 0) {
        // A bare host: no scheme, path, user or port of its own.
        out.Host = text;
        if (text.isEmpty() || text.contains(QRegularExpression(QStringLiteral("[\\s/@?#\\[\\]]"))) ||
            (text.count(u':') == 1)) {
            error = QStringLiteral("Server musí být jméno nebo adresa, případně ftp://, ftps:// nebo sftp:// s nimi.");
            return false;
        }
        return true;
    }
    const QString scheme = text.left(sep).toLower();
    if (scheme == QLatin1String("ftp")) out.Protocol = TProtocol::Ftp;
    else if (scheme == QLatin1String("ftps")) out.Protocol = TProtocol::Ftps;
    else if (scheme == QLatin1String("sftp")) out.Protocol = TProtocol::Sftp;
    else {
        error = QStringLiteral("Protokol ") + text.left(sep) +
                QStringLiteral(" není podporován; použijte ftp://, ftps:// nebo sftp://.");
        return false;
    }
    const QUrl url(text, QUrl::StrictMode);
    const QString path = url.path();
    if (!url.isValid() || url.host().isEmpty() || (!path.isEmpty() && path != QLatin1String("/")) ||
        url.hasQuery() || url.hasFragment() || !url.password().isEmpty()) {
        error = QStringLiteral("Adresu serveru ") + text +
                QStringLiteral(" nelze přečíst; zadejte ji jako sftp://server:port (adresář patří do pole Adresář, "
                               "heslo do pole Heslo).");
        return false;
    }
    out.Host = url.host();
    out.Port = url.port(0);
    out.User = url.userName();
    return true;
}

// ---------------------------------------------------------------- SSH

QString SshFingerprint(const QByteArray &keyBlob) {
    QByteArray b64 = QCryptographicHash::hash(keyBlob, QCryptographicHash::Sha256).toBase64();
    while (b64.endsWith('=')) b64.chop(1);
    return QStringLiteral("SHA256:") + QString::fromLatin1(b64);
}

QByteArray SshKeyType(const QByteArray &keyBlob) {
    if (keyBlob.size() < 4) return {};
    const auto *p = reinterpret_cast<const unsigned char *>(keyBlob.constData());
    const quint32 n = quint32(p[0]) << 24 | quint32(p[1]) << 16 | quint32(p[2]) << 8 | p[3];
    if (n > quint32(keyBlob.size() - 4) || n > 64) return {};
    return keyBlob.mid(4, int(n));
}

QString KnownHostName(const QString &host, int port) {
    return port == 22 || port <= 0 ? host : QStringLiteral("[%1]:%2").arg(host).arg(port);
}

namespace {

bool globMatch(const QString &pattern, const QString &text) {
    // '*' any run, '?' one character, as in OpenSSH's host patterns.
    qsizetype p = 0, t = 0, star = -1, mark = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p].toLower() == text[t].toLower())) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            mark = t;
        } else if (star >= 0) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

bool hashedMatch(const QByteArray &field, const QString &name) {
    const QList<QByteArray> parts = field.split('|'); // "", "1", salt, hash
    if (parts.size() != 4 || parts[1] != "1") return false;
    const QByteArray salt = QByteArray::fromBase64(parts[2]);
    const QByteArray hash = QByteArray::fromBase64(parts[3]);
    return !salt.isEmpty() &&
           QMessageAuthenticationCode::hash(name.toUtf8(), salt, QCryptographicHash::Sha1) == hash;
}

// Whether the host list of a line names `name`; a negated pattern that
// matches excludes the host whatever else matches.
bool hostsMatch(const QByteArray &hosts, const QString &name) {
    if (hosts.startsWith("|1|")) return hashedMatch(hosts, name);
    bool matched = false;
    for (const QByteArray &raw : hosts.split(',')) {
        const bool negated = raw.startsWith('!');
        const QString pattern = QString::fromUtf8(negated ? raw.mid(1) : raw);
        if (!globMatch(pattern, name)) continue;
        if (negated) return false;
        matched = true;
    }
    return matched;
}

} // namespace

THostKeyMatch MatchHostKey(const QByteArray &knownHostsText, const QString &host, int port, const QByteArray &keyBlob) {
    const QString name = KnownHostName(host, port);
    const QByteArray type = SshKeyType(keyBlob);
    bool known = false, changed = false;
    for (QByteArray line : knownHostsText.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        QList<QByteArray> f = line.simplified().split(' ');
        QByteArray marker;
        if (f.first().startsWith('@')) marker = f.takeFirst();
        if (f.size() < 3) continue;
        const QByteArray key = QByteArray::fromBase64(f[2]);
        if (marker == "@revoked") {
            if (key == keyBlob) return THostKeyMatch::Revoked;
            continue;
        }
        if (!marker.isEmpty() || !hostsMatch(f[0], name)) continue; // certificate authorities are not used
        if (key == keyBlob) known = true;
        else if (f[1] == type) changed = true;
    }
    if (changed) return THostKeyMatch::Changed; // another line with the same key does not outweigh it
    return known ? THostKeyMatch::Known : THostKeyMatch::Unknown;
}

namespace {

} // namespace

bool AddKnownHost(const QString &file, const QString &host, int port, const QByteArray &keyBlob) {
    QByteArray salt(20, '\0');
    QRandomGenerator::system()->generate(salt.begin(), salt.end());
    const QByteArray hash =
        QMessageAuthenticationCode::hash(KnownHostName(host, port).toUtf8(), salt, QCryptographicHash::Sha1);
    const QByteArray line =
        "|1|" + salt.toBase64() + '|' + hash.toBase64() + ' ' + SshKeyType(keyBlob) + ' ' + keyBlob.toBase64() + '\n';
    return platform::AppendLine(file, line, 0600, 0700);
}

// ---------------------------------------------------------------- TLS

namespace {

QByteArray certificateHost(const QString &host, int port) { return (host + u':' + QString::number(port)).toUtf8(); }

QList<QByteArray> trustLines(const QString &file) {
    QFile in(file);
    if (!platform::IsRegularFile(file) || !in.open(QIODevice::ReadOnly)) return {};
    return in.readAll().split('\n');
}

} // namespace

TCertificateTrust CertificateTrust(const QString &file, const QString &host, int port, const QString &fingerprint) {
    const QByteArray who = certificateHost(host, port);
    bool other = false;
    for (const QByteArray &line : trustLines(file)) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() != 2 || f[0] != who) continue;
        if (f[1] == fingerprint.toLatin1()) return TCertificateTrust::Trusted;
        other = true;
    }
    return other ? TCertificateTrust::Changed : TCertificateTrust::Unknown;
}

bool TrustCertificate(const QString &file, const QString &host, int port, const QString &fingerprint) {
    const QByteArray who = certificateHost(host, port);
    QByteArray content;
    for (const QByteArray &line : trustLines(file)) {
        const QList<QByteArray> f = line.simplified().split(' ');
        if (f.size() == 2 && f[0] != who) content += line.trimmed() + '\n';
    }
    content += who + ' ' + fingerprint.toLatin1() + '\n';
    return platform::WriteWholeFile(file, content, 0600);
}

QString DefaultKnownHostsFile() { return QDir::homePath() + QStringLiteral("/.ssh/known_hosts"); }

QString DefaultTrustedCertificatesFile() { return platform::UserConfigHome() + QStringLiteral("/xo/trusted-certificates"); }

} // namespace xo
