#include "curl_client.h"

#include "platform/services.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QIODevice>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <curl/curl.h>
#include <mutex>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace xo {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

QString asn1Time(const ASN1_TIME *t) {
    struct tm tm {};
    if (!t || ASN1_TIME_to_tm(t, &tm) != 1) return QStringLiteral("?");
    return QStringLiteral("%1. %2. %3").arg(tm.tm_mday).arg(tm.tm_mon + 1).arg(tm.tm_year + 1900);
}

QString nameOf(X509_NAME *name) {
    if (!name) return {};
    char *text = X509_NAME_oneline(name, nullptr, 0);
    const QString s = QString::fromUtf8(text);
    OPENSSL_free(text);
    return s;
}

} // namespace

// What the worker thread found out about the server's identity.
struct TIdentity {
    bool failed = false;
    // SFTP
    THostKeyMatch keyMatch = THostKeyMatch::Unknown;
    QByteArray key;
    // FTPS
    TCertificateTrust certTrust = TCertificateTrust::Unknown;
    TCertificateInfo cert;
};

struct TCurlClient::Handle {
    CURL *easy = nullptr;
    ~Handle() {
        if (easy) curl_easy_cleanup(easy);
    }
};

struct TCurlClient::Call {
    TCurlClient *client = nullptr;
    QIODevice *source = nullptr;
    bool readFailed = false;
    qint64 downloaded = 0;
    qint64 downloadLimit = -1; // more is a failed check, not data wanted
    std::atomic<qint64> sent{0}, moved{0};
    std::atomic<bool> stalled{false};
    qint64 lastMoved = -1;
    qint64 lastMove = 0;
    QByteArray replies; // FTP reply lines
    TIdentity identity;
    char error[CURL_ERROR_SIZE] = {};
};

namespace {

size_t readBlock(char *into, size_t size, size_t n, void *p) {
    auto *call = static_cast<TCurlClient::Call *>(p);
    const qint64 got = call->source->read(into, qint64(size * n));
    if (got < 0) {
        call->readFailed = true;
        return CURL_READFUNC_ABORT;
    }
    call->sent += got;
    return size_t(got);
}

size_t writeBlock(char *, size_t size, size_t n, void *p) {
    auto *call = static_cast<TCurlClient::Call *>(p);
    call->downloaded += qint64(size * n);
    if (call->downloadLimit >= 0 && call->downloaded > call->downloadLimit) return 0;
    return size * n;
}

size_t replyLine(char *data, size_t size, size_t n, void *p) {
    auto *call = static_cast<TCurlClient::Call *>(p);
    if (call->replies.size() < 64 * 1024) call->replies.append(data, qsizetype(size * n));
    return size * n;
}

} // namespace

// A friend of the call: libcurl's callbacks see only a void pointer.
struct TCurlCallbacks {
    static int progress(void *p, curl_off_t, curl_off_t dlnow, curl_off_t, curl_off_t ulnow);
    static int hostKey(void *p, int, const char *key, size_t len);
    static CURLcode sslContext(CURL *, void *ctx, void *p);
    static int verifyCertificate(X509_STORE_CTX *store, void *p);
};

int TCurlCallbacks::progress(void *p, curl_off_t, curl_off_t dlnow, curl_off_t, curl_off_t ulnow) {
    auto *call = static_cast<TCurlClient::Call *>(p);
    if (call->client->stopped_) return 1;
    const qint64 moved = qint64(dlnow + ulnow);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (moved != call->lastMoved) {
        call->lastMoved = moved;
        call->lastMove = now;
    } else if (now - call->lastMove > call->client->IdleTimeout) {
        call->stalled = true;
        return 1;
    }
    call->moved = moved;
    return 0;
}

int TCurlCallbacks::hostKey(void *p, int, const char *key, size_t len) {
    auto *call = static_cast<TCurlClient::Call *>(p);
    const TCurlClient &c = *call->client;
    const QByteArray blob(key, qsizetype(len));
    QFile file(c.KnownHostsFile);
    QByteArray known;
    if (file.open(QIODevice::ReadOnly)) known = file.read(16 << 20);
    const THostKeyMatch match = MatchHostKey(known, c.Hostname, c.Port, blob);
    if (match == THostKeyMatch::Known) return CURLKHMATCH_OK;
    call->identity.failed = true;
    call->identity.keyMatch = match;
    call->identity.key = blob;
    return CURLKHMATCH_MISMATCH;
}

CURLcode TCurlCallbacks::sslContext(CURL *, void *ctx, void *p) {
    SSL_CTX_set_cert_verify_callback(static_cast<SSL_CTX *>(ctx), &TCurlCallbacks::verifyCertificate, p);
    return CURLE_OK;
}

int TCurlCallbacks::verifyCertificate(X509_STORE_CTX *store, void *p) {
    auto *call = static_cast<TCurlClient::Call *>(p);
    const TCurlClient &c = *call->client;
    X509 *leaf = X509_STORE_CTX_get0_cert(store);
    if (!leaf) return 0;
    const bool chainOk = X509_verify_cert(store) == 1;
    const QByteArray host = c.Hostname.toUtf8();
    const bool hostOk = X509_check_host(leaf, host.constData(), size_t(host.size()), 0, nullptr) == 1 ||
                        X509_check_ip_asc(leaf, host.constData(), 0) == 1;
    unsigned char md[EVP_MAX_MD_SIZE];
    unsigned int mdLen = 0;
    X509_digest(leaf, EVP_sha256(), md, &mdLen);
    const QString fingerprint =
        QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(md), int(mdLen)).toHex(':').toUpper());
    if (chainOk && hostOk) return 1;
    const TCertificateTrust trust = CertificateTrust(c.TrustedCertificatesFile, c.Hostname, c.Port, fingerprint);
    if (trust == TCertificateTrust::Trusted) {
        X509_STORE_CTX_set_error(store, X509_V_OK);
        return 1;
    }
    TIdentity &id = call->identity;
    id.failed = true;
    id.certTrust = trust;
    id.cert.Fingerprint = fingerprint;
    id.cert.Subject = nameOf(X509_get_subject_name(leaf));
    id.cert.Issuer = nameOf(X509_get_issuer_name(leaf));
    id.cert.NotBefore = asn1Time(X509_get0_notBefore(leaf));
    id.cert.NotAfter = asn1Time(X509_get0_notAfter(leaf));
    id.cert.Problem = !chainOk ? QString::fromUtf8(X509_verify_cert_error_string(X509_STORE_CTX_get_error(store)))
                               : QStringLiteral("certifikát nepatří jménu ") + c.Hostname;
    return 0;
}

TCurlClient::TCurlClient(QObject *parent) : QObject(parent), SshDirectory(QDir::homePath() + QStringLiteral("/.ssh")) {
    globalInit();
}

TCurlClient::~TCurlClient() = default;

void TCurlClient::Stop() { stopped_ = true; }

QString TCurlClient::absolute(const QString &path) const {
    QString p = path.startsWith(u'/') ? path : cwd_ + u'/' + path;
    p = QDir::cleanPath(p);
    return p.isEmpty() ? QStringLiteral("/") : p;
}

QString TCurlClient::url(const QString &path) const {
    const QString scheme = Protocol == TProtocol::Sftp ? QStringLiteral("sftp") : QStringLiteral("ftp");
    QString host = Hostname.contains(u':') ? u'[' + Hostname + u']' : Hostname;
    QString out = scheme + QStringLiteral("://") + host + u':' + QString::number(Port);
    // FTP paths in a URL count from the log-in directory; "%2F" makes them absolute.
    if (Protocol != TProtocol::Sftp) out += QStringLiteral("/%2F");
    const QStringList parts = path.split(u'/', Qt::SkipEmptyParts);
    for (const QString &part : parts) out += u'/' + QString::fromLatin1(QUrl::toPercentEncoding(part));
    if (path.endsWith(u'/') || parts.isEmpty()) out += u'/';
    return out;
}

QString TCurlClient::quoted(const QString &path) const {
    QString s = path;
    s.replace(u'\\', QStringLiteral("\\\\")).replace(u'"', QStringLiteral("\\\""));
    return u'"' + s + u'"';
}

void TCurlClient::performOnce(const QString &path, const std::function<void(Call &)> &setup, Call &call) {
    if (!h_) {
        h_ = std::make_unique<Handle>();
        h_->easy = curl_easy_init();
        if (!h_->easy) throw ETcpIpError(QStringLiteral("Knihovnu pro přenos nelze spustit."));
    }
    CURL *e = h_->easy;
    // Options start afresh each call; the connection itself is kept.
    curl_easy_reset(e);
    call.client = this;
    const QByteArray u = url(path).toUtf8();
    curl_easy_setopt(e, CURLOPT_URL, u.constData());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, Protocol == TProtocol::Sftp ? "sftp" : "ftp");
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, call.error);
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(ConnectTimeout));
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, &TCurlCallbacks::progress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &call);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &writeBlock);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &call);
    const QByteArray user = Username.toUtf8(), pass = Password.toUtf8();
    curl_easy_setopt(e, CURLOPT_USERNAME, user.constData());
    if (Protocol == TProtocol::Sftp) {
        curl_easy_setopt(e, CURLOPT_SSH_HOSTKEYFUNCTION, &TCurlCallbacks::hostKey);
        curl_easy_setopt(e, CURLOPT_SSH_HOSTKEYDATA, &call);
        // As ssh does: the agent and the key files first, then the password.
        long types = CURLSSH_AUTH_AGENT;
        for (const char *name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
            const QString key = SshDirectory + u'/' + QLatin1String(name);
            if (!QFile::exists(key)) continue;
            curl_easy_setopt(e, CURLOPT_SSH_PRIVATE_KEYFILE, QFile::encodeName(key).constData());
            // libssh2 derives the public key from the private one.
            curl_easy_setopt(e, CURLOPT_SSH_PUBLIC_KEYFILE, "");
            types |= CURLSSH_AUTH_PUBLICKEY;
            break;
        }
        if (!Password.isEmpty()) {
            curl_easy_setopt(e, CURLOPT_PASSWORD, pass.constData());
            types |= CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD;
        }
        curl_easy_setopt(e, CURLOPT_SSH_AUTH_TYPES, types);
    } else {
        curl_easy_setopt(e, CURLOPT_PASSWORD, pass.constData());
        curl_easy_setopt(e, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
        curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
        // The name is checked with the chain in the callback, which also
        // knows the certificates the user chose to trust.
        curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 0L);
        curl_easy_setopt(e, CURLOPT_SSL_CTX_FUNCTION, &TCurlCallbacks::sslContext);
        curl_easy_setopt(e, CURLOPT_SSL_CTX_DATA, &call);
        curl_easy_setopt(e, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_SINGLECWD));
        // A passive reply's address is the server's, never another host.
        curl_easy_setopt(e, CURLOPT_FTP_SKIP_PASV_IP, 1L);
        curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &replyLine);
        curl_easy_setopt(e, CURLOPT_HEADERDATA, &call);
    }
    setup(call);

    CURLcode rc = CURLE_OK;
    busy_ = true;
    std::unique_ptr<QThread> worker(QThread::create([&] { rc = curl_easy_perform(e); }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer tick;
    qint64 size = call.source ? call.source->size() : 0;
    qint64 shown = -1;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        const qint64 sent = call.sent;
        if (!call.source || sent == shown || sent == 0) return;
        trace(ftp::ProgressText(sent, size), shown < 0 ? 2 : 4);
        shown = sent;
    });
    tick.start(100);
    worker->start();
    loop.exec(UserInput ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    busy_ = false;
    if (call.source && call.sent != shown && call.sent > 0) trace(ftp::ProgressText(call.sent, size), shown < 0 ? 2 : 4);
    // An FTP session whose connection was made anew lost its options.
    long connects = 0;
    curl_easy_getinfo(e, CURLINFO_NUM_CONNECTS, &connects);
    if (connects > 0 && Protocol == TProtocol::Ftps) utf8_ = false;
    if (rc == CURLE_OK) return;

    const QString protocol = xo::ProtocolName(Protocol);
    long code = 0;
    curl_easy_getinfo(e, CURLINFO_RESPONSE_CODE, &code);
    QString detail = QString::fromUtf8(call.error).trimmed();
    if (detail.isEmpty()) detail = QString::fromUtf8(curl_easy_strerror(rc));
    if (!call.identity.failed) trace(QStringLiteral("» ") + protocol + QStringLiteral(": ") + detail, 1);
    if (rc == CURLE_ABORTED_BY_CALLBACK && stopped_) throw EStopped();
    if (rc == CURLE_ABORTED_BY_CALLBACK && call.stalled) throw EProtocolBusy();
    if (call.readFailed) throw ETcpIpError(QStringLiteral("Chyba při čtení souboru"));
    if (call.identity.failed) throw EServerNotVerified();
    switch (rc) {
    case CURLE_LOGIN_DENIED:
        denied_ = true;
        throw ETcpIpError(QStringLiteral("Server odmítl jméno nebo heslo."));
    case CURLE_COULDNT_RESOLVE_HOST:
        throw ETcpIpError(QStringLiteral("Nelze se připojit k serveru ") + Hostname);
    case CURLE_USE_SSL_FAILED:
        throw ETcpIpError(QStringLiteral("Server nenabízí šifrované spojení (AUTH TLS); bez šifrování se nepřipojím."));
    case CURLE_QUOTE_ERROR:
    case CURLE_REMOTE_ACCESS_DENIED:
    case CURLE_UPLOAD_FAILED:
    case CURLE_REMOTE_FILE_NOT_FOUND:
    case CURLE_BAD_DOWNLOAD_RESUME:
    case CURLE_WRITE_ERROR:
    case CURLE_FTP_COULDNT_RETR_FILE:
        throw EProtocolError(protocol, int(code ? code : 550), detail);
    default:
        throw ESocketError(int(rc));
    }
}

void TCurlClient::perform(const QString &path, const std::function<void(Call &)> &setup, Call &call) {
    if (busy_) throw EProtocolBusy();
    if (stopped_) throw EStopped();
    for (;;) {
        call.identity = TIdentity();
        try {
            return performOnce(path, setup, call);
        } catch (const ETcpIpError &) {
            if (!call.identity.failed || !askAboutIdentity(call.identity)) throw;
            // Trusted now: the same request again on a new connection.
            if (call.source) call.source->seek(0);
            call.sent = 0;
            call.replies.clear();
        }
    }
}

bool TCurlClient::askAboutIdentity(const TIdentity &id) {
    // Asked here, on the window's thread, between two attempts: the worker
    // only records what it saw.
    const QString caption = QStringLiteral("Ověření serveru");
    if (Protocol == TProtocol::Sftp) {
        const QString name = KnownHostName(Hostname, Port);
        const QString key = QStringLiteral("Typ klíče: ") + QString::fromLatin1(SshKeyType(id.key)) +
                            QStringLiteral("\r\nOtisk klíče: ") + SshFingerprint(id.key);
        if (id.keyMatch == THostKeyMatch::Revoked) {
            platform::message(caption, QStringLiteral("Klíč serveru ") + name +
                                           QStringLiteral(" je v souboru known_hosts zneplatněn. Spojení bylo odmítnuto."),
                              Icon::Error);
            return false;
        }
        if (id.keyMatch == THostKeyMatch::Changed) {
            platform::message(caption,
                              QStringLiteral("POZOR: Klíč serveru ") + name +
                                  QStringLiteral(" se liší od klíče uloženého v ") + KnownHostsFile +
                                  QStringLiteral("!\r\n\r\n") + key +
                                  QStringLiteral("\r\n\r\nNěkdo se může vydávat za server, nebo správce klíč změnil. "
                                                 "Spojení bylo odmítnuto. Je-li změna v pořádku, odstraňte starý "
                                                 "klíč příkazem ssh-keygen -R \"") +
                                  name + QStringLiteral("\"."),
                              Icon::Error);
            return false;
        }
        if (platform::message(caption,
                              QStringLiteral("Server ") + name + QStringLiteral(" není mezi známými servery (") +
                                  KnownHostsFile + QStringLiteral(").\r\n\r\n") + key +
                                  QStringLiteral("\r\n\r\nOvěřte otisk u správce serveru. Připojit se a klíč uložit "
                                                 "mezi známé servery?"),
                              Icon::Question, Buttons::YesNo) != Answer::Yes)
            return false;
        if (AddKnownHost(KnownHostsFile, Hostname, Port, id.key)) return true;
        platform::message(caption, QStringLiteral("Klíč serveru nelze uložit do ") + KnownHostsFile, Icon::Error);
        return false;
    }
    const TCertificateInfo &c = id.cert;
    const QString server = Hostname + u':' + QString::number(Port);
    const QString details = QStringLiteral("Vydán pro: ") + c.Subject + QStringLiteral("\r\nVydal: ") + c.Issuer +
                            QStringLiteral("\r\nPlatnost: od ") + c.NotBefore + QStringLiteral(" do ") + c.NotAfter +
                            QStringLiteral("\r\nOtisk SHA-256: ") + c.Fingerprint;
    const bool changed = id.certTrust == TCertificateTrust::Changed;
    const QString text =
        changed ? QStringLiteral("POZOR: Server ") + server +
                      QStringLiteral(" předložil jiný certifikát než ten, kterému jste dříve důvěřovali. Někdo se "
                                     "může vydávat za server.\r\n\r\n") +
                      details + QStringLiteral("\r\n\r\nDůvěřovat novému certifikátu?")
                : QStringLiteral("Certifikát serveru ") + server + QStringLiteral(" nelze ověřit (") + c.Problem +
                      QStringLiteral(").\r\n\r\n") + details +
                      QStringLiteral("\r\n\r\nOvěřte otisk u správce serveru. Důvěřovat tomuto certifikátu i příště?");
    if (platform::message(caption, text, changed ? Icon::Exclamation : Icon::Question, Buttons::YesNo) != Answer::Yes)
        return false;
    if (TrustCertificate(TrustedCertificatesFile, Hostname, Port, c.Fingerprint)) return true;
    platform::message(caption, QStringLiteral("Důvěru k certifikátu nelze uložit do ") + TrustedCertificatesFile,
                      Icon::Error);
    return false;
}

void TCurlClient::quote(const QStringList &commands) {
    Call call;
    struct curl_slist *list = nullptr;
    for (const QString &c : commands) {
        if (!ftp::IsSafeArgument(c)) throw ETcpIpError(QStringLiteral("Neplatné jméno souboru"));
        list = curl_slist_append(list, c.toUtf8().constData());
    }
    const std::unique_ptr<curl_slist, void (*)(curl_slist *)> guard(list, curl_slist_free_all);
    perform(cwd_.isEmpty() ? QStringLiteral("/") : cwd_ + u'/', [&](Call &) {
        curl_easy_setopt(h_->easy, CURLOPT_QUOTE, list);
        curl_easy_setopt(h_->easy, CURLOPT_NOBODY, 1L);
    }, call);
}

void TCurlClient::Login() {
    if (busy_) throw EProtocolBusy();
    if (!ftp::IsSafeArgument(Username) || !ftp::IsSafeArgument(Password))
        throw ETcpIpError(QStringLiteral("Neplatné jméno nebo heslo"));
    Logout();
    stopped_ = false;
    denied_ = false;
    utf8_ = false;
    cwd_.clear();
    trace(QStringLiteral("Připojuji se k ") + Hostname + QStringLiteral(" (") + xo::ProtocolName(Protocol) +
              QStringLiteral(")..."),
          2);
    Call call;
    const bool ftps = Protocol == TProtocol::Ftps;
    struct curl_slist *feat = ftps ? curl_slist_append(nullptr, "FEAT") : nullptr;
    const std::unique_ptr<curl_slist, void (*)(curl_slist *)> guard(feat, curl_slist_free_all);
    // SFTP: "/~/" is the home directory, where a relative remote directory starts.
    perform(ftps ? QStringLiteral("/") : QStringLiteral("/~/"), [&](Call &) {
        curl_easy_setopt(h_->easy, CURLOPT_NOBODY, 1L);
        if (feat) curl_easy_setopt(h_->easy, CURLOPT_QUOTE, feat);
    }, call);
    const char *entry = nullptr;
    curl_easy_getinfo(h_->easy, CURLINFO_FTP_ENTRY_PATH, &entry);
    cwd_ = entry && *entry ? QString::fromUtf8(entry) : QStringLiteral("/");
    if (!cwd_.startsWith(u'/')) cwd_.prepend(u'/');
    if (ftps) {
        // Names go as UTF-8; a server that says it takes them is told so.
        for (const QByteArray &line : call.replies.split('\n'))
            if (line.trimmed().toUpper() == "UTF8") utf8_ = true;
        if (utf8_) {
            try {
                // "*": a refusal leaves the connection as it is.
                quote({QStringLiteral("*OPTS UTF8 ON")});
            } catch (const ESessionEnded &) {
                throw;
            } catch (const ETcpIpError &) {
            }
        }
    }
    trace(QStringLiteral("Přihlášeno (") + xo::ProtocolName(Protocol) + QStringLiteral("), adresář ") + cwd_, 2);
}

void TCurlClient::Logout() {
    if (!h_ || busy_) return;
    // Closing says goodbye to the server; it waits no longer than a call would.
    std::unique_ptr<Handle> h = std::move(h_);
    std::unique_ptr<QThread> worker(QThread::create([&h] { h.reset(); }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
}

void TCurlClient::ChangeDir(const QString &dir) {
    const QString path = absolute(dir);
    Call call;
    // A listing proves the directory exists; its text is not needed.
    perform(path + u'/', [&](Call &) {
        curl_easy_setopt(h_->easy, CURLOPT_DIRLISTONLY, 1L);
        if (Protocol == TProtocol::Ftps) curl_easy_setopt(h_->easy, CURLOPT_NOBODY, 1L);
    }, call);
    cwd_ = path;
}

void TCurlClient::MakeDir(const QString &dir) {
    const QString path = absolute(dir);
    quote({Protocol == TProtocol::Sftp ? QStringLiteral("mkdir ") + quoted(path) : QStringLiteral("MKD ") + path});
}

void TCurlClient::Rename(const QString &from, const QString &to) {
    const QString a = absolute(from), b = absolute(to);
    if (Protocol != TProtocol::Sftp) {
        quote({QStringLiteral("RNFR ") + a, QStringLiteral("RNTO ") + b});
        return;
    }
    try {
        quote({QStringLiteral("rename ") + quoted(a) + u' ' + quoted(b)});
    } catch (const ESessionEnded &) {
        throw;
    } catch (const EProtocolError &) {
        // SFTP version 3 (OpenSSH) renames only onto a free name.
        quote({QStringLiteral("rm ") + quoted(b), QStringLiteral("rename ") + quoted(a) + u' ' + quoted(b)});
    }
}

void TCurlClient::Delete(const QString &path) {
    const QString p = absolute(path);
    quote({Protocol == TProtocol::Sftp ? QStringLiteral("rm ") + quoted(p) : QStringLiteral("DELE ") + p});
}

void TCurlClient::UploadFile(QIODevice &file, const QString &uri) {
    if (!ftp::IsSafeArgument(uri)) throw ETcpIpError(QStringLiteral("Neplatné jméno souboru"));
    const QString path = absolute(uri);
    const qint64 size = file.size();
    file.seek(0);
    {
        Call call;
        call.source = &file;
        perform(path, [&](Call &c) {
            curl_easy_setopt(h_->easy, CURLOPT_UPLOAD, 1L);
            curl_easy_setopt(h_->easy, CURLOPT_READFUNCTION, &readBlock);
            curl_easy_setopt(h_->easy, CURLOPT_READDATA, &c);
            curl_easy_setopt(h_->easy, CURLOPT_INFILESIZE_LARGE, curl_off_t(size));
            // Large blocks: fewer callbacks and TLS records for a large file.
            curl_easy_setopt(h_->easy, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024);
        }, call);
        if (call.sent != size) throw ETcpIpError(QStringLiteral("Chyba při čtení souboru"));
    }
    // The server's own count is the proof that every byte arrived: FTP's
    // SIZE, or for SFTP a read from the expected end, which fails on a
    // shorter file and yields bytes for a longer one.
    Call check;
    if (Protocol == TProtocol::Sftp) check.downloadLimit = 0;
    perform(path, [&](Call &) {
        if (Protocol == TProtocol::Sftp) {
            const QByteArray range = QByteArray::number(size) + '-';
            curl_easy_setopt(h_->easy, CURLOPT_RANGE, range.constData());
        } else {
            curl_easy_setopt(h_->easy, CURLOPT_NOBODY, 1L);
        }
    }, check);
    curl_off_t remote = -1;
    if (Protocol == TProtocol::Sftp) remote = check.downloaded == 0 ? size : -1;
    else curl_easy_getinfo(h_->easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &remote);
    if (remote != size)
        throw EProtocolError(xo::ProtocolName(Protocol), 550,
                             QStringLiteral("Server uložil jinou velikost souboru, než byla odeslána."));
}

} // namespace xo
