// Upload throughput of a 100 MB file over SFTP (sshd) and FTPS (pyftpdlib
// with TLS) on 127.0.0.1, the program's client beside `curl -T` to the
// same server, each timed from the connection to the last byte confirmed.
#include "../tests/site/ftp_servers.h"
#include "site/curl_client.h"
#include "site/host_trust.h"
#include "support/scripted_services.h"

#include <QApplication>
#include <QSslCertificate>
#include <cstdio>

using namespace xo;

namespace {

double seconds(const std::function<void()> &run) {
    QElapsedTimer t;
    t.start();
    run();
    return double(t.nsecsElapsed()) / 1e9;
}

double curlUpload(const QStringList &arguments) {
    return seconds([&] {
        QProcess curl;
        curl.start(QStringLiteral("curl"), QStringList{QStringLiteral("-sS")} + arguments);
        curl.waitForFinished(-1);
        if (curl.exitCode() != 0) fprintf(stderr, "curl failed: %s\n", curl.readAllStandardError().constData());
    });
}

void report(const char *what, double mb, double ours, double theirs) {
    printf("%-6s %5.0f MB: xo %6.1f MB/s, curl -T %6.1f MB/s: %3.0f %%\n", what, mb, mb / ours, mb / theirs,
           100.0 * theirs / ours);
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::ScriptedServices services; // no question may wait for a person
    QTemporaryDir tmp;
    const QString file = tmp.filePath(QStringLiteral("big.bin"));
    {
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        QByteArray block(1 << 20, '\0');
        for (int i = 0; i < 100; ++i) {
            for (int j = 0; j < block.size(); j += 64) block[j] = char(i + j);
            f.write(block);
        }
    }
    const double mb = 100.0;
    QFile source(file);
    source.open(QIODevice::ReadOnly);

    test::ScriptServer sshd(QStringLiteral("sftp_server.py"), {QStringLiteral("--dir"), tmp.filePath(QStringLiteral("sshd"))});
    if (!sshd.error.isEmpty()) {
        printf("SFTP: skipped (%s)\n", qPrintable(sshd.error));
    } else {
        QDir().mkpath(tmp.filePath(QStringLiteral("remote")));
        TCurlClient c;
        c.Protocol = TProtocol::Sftp;
        c.Hostname = QStringLiteral("127.0.0.1");
        c.Port = sshd.port;
        c.Username = sshd.value("user");
        c.SshDirectory = tmp.filePath(QStringLiteral("sshd"));
        c.KnownHostsFile = tmp.filePath(QStringLiteral("known_hosts"));
        AddKnownHost(c.KnownHostsFile, c.Hostname, c.Port, QByteArray::fromBase64(sshd.value("hostkey").toLatin1()));
        const double theirs = curlUpload({QStringLiteral("--insecure"), QStringLiteral("--key"), sshd.value("key"),
                                          QStringLiteral("--pubkey"), QString(), QStringLiteral("-u"),
                                          sshd.value("user") + u':', QStringLiteral("-T"), file,
                                          QStringLiteral("sftp://127.0.0.1:%1%2").arg(sshd.port).arg(
                                              tmp.filePath(QStringLiteral("remote/curl.bin")))});
        const double ours = seconds([&] {
            c.Login();
            c.UploadFile(source, tmp.filePath(QStringLiteral("remote/xo.bin")));
            c.Logout();
        });
        report("SFTP", mb, ours, theirs);
    }

    const QString root = tmp.filePath(QStringLiteral("ftproot"));
    QDir().mkpath(root);
    test::ScriptServer ftps(QStringLiteral("ftps_server.py"),
                            {QStringLiteral("--dir"), tmp.filePath(QStringLiteral("ftps")), QStringLiteral("--root"), root});
    if (!ftps.error.isEmpty()) {
        printf("FTPS: skipped (%s)\n", qPrintable(ftps.error));
    } else {
        TCurlClient c;
        c.Protocol = TProtocol::Ftps;
        c.Hostname = QStringLiteral("127.0.0.1");
        c.Port = ftps.port;
        c.Username = QStringLiteral("xo");
        c.Password = QStringLiteral("heslo");
        c.TrustedCertificatesFile = tmp.filePath(QStringLiteral("trusted"));
        const QSslCertificate cert = QSslCertificate::fromPath(ftps.value("cert")).value(0);
        TrustCertificate(c.TrustedCertificatesFile, c.Hostname, c.Port,
                         QString::fromLatin1(cert.digest(QCryptographicHash::Sha256).toHex(':').toUpper()));
        const double theirs = curlUpload({QStringLiteral("-k"), QStringLiteral("--ssl-reqd"), QStringLiteral("-u"),
                                          QStringLiteral("xo:heslo"), QStringLiteral("-T"), file,
                                          QStringLiteral("ftp://127.0.0.1:%1/curl.bin").arg(ftps.port)});
        const double ours = seconds([&] {
            c.Login();
            c.UploadFile(source, QStringLiteral("/xo.bin"));
            c.Logout();
        });
        report("FTPS", mb, ours, theirs);
    }
    return 0;
}
