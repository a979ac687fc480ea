// Publishing over SFTP (OpenSSH's sshd) and FTPS (pyftpdlib with TLS),
// both started here on 127.0.0.1 with fresh keys and certificates.
#include "ftp_servers.h"
#include "platform/secrets.h"
#include "settings/compress_file.h"
#include "site/curl_client.h"
#include "site/host_trust.h"
#include "site/publish_manifest.h"
#include "site/site_publish.h"
#include "site/site_state.h"
#include "support/scripted_services.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;
using platform::Answer;
using platform::Icon;

namespace {

class Publish : public ::testing::Test {
protected:
    QString put(const QString &name, const QByteArray &bytes) {
        const QString path = tmp.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString web(const QString &rel = {}) const { return tmp.filePath(QStringLiteral("web/")) + rel; }
    // Every regular file below `dir`, relative, with its content.
    static QMap<QString, QByteArray> tree(const QString &dir) {
        QMap<QString, QByteArray> out;
        QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            f.open(QIODevice::ReadOnly);
            out.insert(QDir(dir).relativeFilePath(f.fileName()), f.readAll());
        }
        return out;
    }
    // Uploads the given files of web/ to `remoteDir`; the log's lines.
    QStringList upload(TFtpClient &client, TPublishManifest &manifest, const QString &remoteDir,
                       const QStringList &files, bool everything = false) {
        QStringList log;
        TSiteUpload up;
        up.MainDirectory = web();
        up.Manifest = &manifest;
        up.Everything = everything;
        up.Trace = [&](const QString &t, TTraceLevel) { log << t; };
        QStringList paths;
        for (const QString &f : files) paths << web(f);
        up.Start(remoteDir, paths, {}, true, false, false);
        while (!up.Queue.empty()) up.FtpStep(client);
        return log;
    }
    QTemporaryDir tmp;
};

std::unique_ptr<test::ScriptServer> sshd(const QString &dir, bool newKey = false) {
    QStringList args{QStringLiteral("--dir"), dir};
    if (newKey) args << QStringLiteral("--new-host-key");
    return std::make_unique<test::ScriptServer>(QStringLiteral("sftp_server.py"), args);
}

} // namespace

TEST_F(Publish, SftpAsksAboutAnUnknownKeyRefusesAChangedOneAndSendsOnlyWhatChanged) {
    auto server = sshd(tmp.filePath(QStringLiteral("sshd")));
    if (!server->error.isEmpty()) GTEST_SKIP() << server->error.toStdString();
    test::ScriptedServices services;
    const QString remote = tmp.filePath(QStringLiteral("remote"));
    QDir().mkpath(remote + QStringLiteral("/www"));
    put("web/index.htm", "<a href=\"žluťoučký kůň.htm\">k</a>");
    put("web/žluťoučký kůň.htm", "<p>Příliš</p>");
    put("web/img/a.gif", QByteArray(70000, 'g'));
    put("remote/www/index.htm", "old");

    TCurlClient c;
    c.Protocol = TProtocol::Sftp;
    c.Hostname = QStringLiteral("127.0.0.1");
    c.Port = server->port;
    c.Username = server->value("user");
    c.SshDirectory = tmp.filePath(QStringLiteral("sshd")); // its id_ed25519 may log in
    c.KnownHostsFile = tmp.filePath(QStringLiteral("home/.ssh/known_hosts"));
    const QString fingerprint =
        SshFingerprint(QByteArray::fromBase64(server->value("hostkey").toLatin1()));

    // An unknown key is asked about with its fingerprint; "no" goes nowhere.
    const QString question = QStringLiteral("Server [127.0.0.1]:%1 není mezi známými servery (%2).\r\n\r\nTyp klíče: "
                                            "ssh-ed25519\r\nOtisk klíče: %3\r\n\r\nOvěřte otisk u správce serveru. "
                                            "Připojit se a klíč uložit mezi známé servery?")
                                 .arg(server->port)
                                 .arg(c.KnownHostsFile, fingerprint);
    services.expectMessage(question, Answer::No, Icon::Question, QStringLiteral("Ověření serveru"));
    EXPECT_THROW(c.Login(), EServerNotVerified);
    EXPECT_FALSE(QFile::exists(c.KnownHostsFile));
    services.expectMessage(question, Answer::Yes, Icon::Question, QStringLiteral("Ověření serveru"));
    c.Login();
    EXPECT_EQ(services.pendingMessages(), 0);
    QFile known(c.KnownHostsFile);
    ASSERT_TRUE(known.open(QIODevice::ReadOnly));
    const QByteArray line = known.readAll();
    EXPECT_TRUE(line.startsWith("|1|")) << line.constData(); // hashed, as Debian's ssh writes them
    EXPECT_EQ(QFileInfo(c.KnownHostsFile).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);

    // The whole site, the Czech name as UTF-8; nothing half-written or left over.
    TPublishManifest manifest(QStringLiteral("sftp://x@127.0.0.1"), remote + QStringLiteral("/www"),
                              tmp.filePath(QStringLiteral("state")));
    const QStringList site{"index.htm", "žluťoučký kůň.htm", "img/a.gif"};
    services.expectMessage(QStringLiteral("Pokusit se vytvořit potřebné adresáře pro vyslání souboru img/a.gif?"),
                           Answer::Yes, Icon::Question, QStringLiteral("FTP"));
    QStringList log = upload(c, manifest, remote + QStringLiteral("/www"), site);
    EXPECT_EQ(tree(remote + QStringLiteral("/www")), tree(web()));
    EXPECT_TRUE(log.contains(QStringLiteral("Nezměněné soubory vynechány: 0")));

    // Again: nothing is sent. One changed file: that one alone.
    log = upload(c, manifest, remote + QStringLiteral("/www"), site);
    EXPECT_TRUE(log.contains(QStringLiteral("Nezměněné soubory vynechány: 3")));
    EXPECT_FALSE(log.join(u'\n').contains(QStringLiteral("Odesílám")));
    put("web/img/a.gif", QByteArray(70000, 'h'));
    log = upload(c, manifest, remote + QStringLiteral("/www"), site);
    EXPECT_TRUE(log.contains(QStringLiteral("Nezměněné soubory vynechány: 2")));
    EXPECT_EQ(log.filter(QStringLiteral("Odesílám")).size(), 1);
    EXPECT_EQ(tree(remote + QStringLiteral("/www")), tree(web()));
    // The record survives the program: a new one still skips everything, unless all is asked for.
    TPublishManifest later(QStringLiteral("sftp://x@127.0.0.1"), remote + QStringLiteral("/www"),
                           tmp.filePath(QStringLiteral("state")));
    QString problem;
    ASSERT_TRUE(later.Load(problem));
    EXPECT_TRUE(upload(c, later, remote + QStringLiteral("/www"), site).contains(
        QStringLiteral("Nezměněné soubory vynechány: 3")));
    EXPECT_EQ(upload(c, later, remote + QStringLiteral("/www"), site, true).filter(QStringLiteral("Odesílám")).size(), 3);
    c.Logout();

    // A wrong password is refused as such.
    TCurlClient wrong;
    wrong.Protocol = TProtocol::Sftp;
    wrong.Hostname = c.Hostname;
    wrong.Port = c.Port;
    wrong.Username = c.Username;
    wrong.Password = QStringLiteral("nesprávné");
    wrong.KnownHostsFile = c.KnownHostsFile;
    wrong.SshDirectory = tmp.filePath(QStringLiteral("no-keys"));
    EXPECT_THROW(wrong.Login(), ETcpIpError);
    EXPECT_TRUE(wrong.LoginDenied());

    // The same address with another key: refused with a warning, never asked.
    server.reset();
    server = sshd(tmp.filePath(QStringLiteral("sshd")), true);
    ASSERT_TRUE(server->error.isEmpty());
    c.Port = server->port;
    c.KnownHostsFile = tmp.filePath(QStringLiteral("home/.ssh/known_hosts2"));
    ASSERT_TRUE(AddKnownHost(c.KnownHostsFile, c.Hostname, c.Port, QByteArray::fromBase64(line.split(' ')[2])));
    bool warned = false;
    services.answerAny = [&](const platform::Message &m) {
        warned = m.icon == Icon::Error && m.text.startsWith(QStringLiteral("POZOR: Klíč serveru [127.0.0.1]:"));
        return Answer::Ok;
    };
    EXPECT_THROW(c.Login(), EServerNotVerified);
    EXPECT_TRUE(warned);
}

TEST_F(Publish, ACutConnectionLeavesTheOldFileWholeAndTheNextUploadCompletesIt) {
    auto server = sshd(tmp.filePath(QStringLiteral("sshd")));
    if (!server->error.isEmpty()) GTEST_SKIP() << server->error.toStdString();
    test::ScriptedServices services;
    const QString remote = tmp.filePath(QStringLiteral("remote"));
    put("remote/big.bin", "the old file");
    QByteArray big(30 << 20, '\0');
    for (int i = 0; i < big.size(); i += 4096) big[i] = char(i >> 12);
    put("web/big.bin", big);
    const QString known = tmp.filePath(QStringLiteral("known_hosts"));
    TPublishManifest manifest(QStringLiteral("sftp://relay"), remote, tmp.filePath(QStringLiteral("state")));

    const auto through = [&](test::ScriptServer &relay) {
        auto c = std::make_unique<TCurlClient>();
        c->Protocol = TProtocol::Sftp;
        c->Hostname = QStringLiteral("127.0.0.1");
        c->Port = relay.port;
        c->Username = server->value("user");
        c->SshDirectory = tmp.filePath(QStringLiteral("sshd"));
        c->KnownHostsFile = known;
        c->IdleTimeout = 5000;
        return c;
    };
    {
        // Cut once 40 % of the file has gone through.
        test::ScriptServer relay(QStringLiteral("relay.py"),
                                 {QStringLiteral("--target"), QString::number(server->port), QStringLiteral("--cut-after"),
                                  QString::number(big.size() * 4 / 10)});
        ASSERT_TRUE(relay.error.isEmpty());
        auto c = through(relay);
        // The key is looked up under the relay's port.
        ASSERT_TRUE(AddKnownHost(known, c->Hostname, c->Port,
                                 QByteArray::fromBase64(server->value("hostkey").toLatin1())));
        c->Login();
        services.expectMessage(QStringLiteral("Chyba při přenosu souboru ") + web("big.bin"), Answer::Ok, Icon::Error);
        const QStringList log = upload(*c, manifest, remote, {"big.bin"});
        EXPECT_EQ(services.pendingMessages(), 0) << log.join(u'\n').toStdString();
    }
    QFile old(remote + QStringLiteral("/big.bin"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("the old file"));
    old.close();

    test::ScriptServer relay(QStringLiteral("relay.py"), {QStringLiteral("--target"), QString::number(server->port)});
    auto c = through(relay);
    ASSERT_TRUE(AddKnownHost(known, c->Hostname, c->Port, QByteArray::fromBase64(server->value("hostkey").toLatin1())));
    c->Login();
    const QStringList log = upload(*c, manifest, remote, {"big.bin"});
    EXPECT_TRUE(log.contains(QStringLiteral("Nezměněné soubory vynechány: 0")));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_TRUE(old.readAll() == big);
    EXPECT_EQ(QDir(remote).entryList(QDir::Files | QDir::Hidden), QStringList({"big.bin"}));
}

TEST_F(Publish, FtpsTrustsACertificateOnlyWhenAskedAndNeverFallsBackToClearText) {
    const QString root = tmp.filePath(QStringLiteral("ftproot"));
    QDir().mkpath(root);
    const QStringList args{QStringLiteral("--dir"), tmp.filePath(QStringLiteral("ftps")), QStringLiteral("--root"), root};
    auto server = std::make_unique<test::ScriptServer>(QStringLiteral("ftps_server.py"), args);
    if (!server->error.isEmpty()) GTEST_SKIP() << server->error.toStdString();
    test::ScriptedServices services;
    put("web/Příliš.htm", "<p>žluťoučký</p>");

    TCurlClient c;
    c.Protocol = TProtocol::Ftps;
    c.Hostname = QStringLiteral("127.0.0.1");
    c.Port = server->port;
    c.Username = QStringLiteral("xo");
    c.Password = QStringLiteral("heslo");
    c.TrustedCertificatesFile = tmp.filePath(QStringLiteral("config/trusted-certificates"));
    QString asked;
    Icon icon = Icon::None;
    Answer answer = Answer::No;
    services.answerAny = [&](const platform::Message &m) {
        asked = m.text;
        icon = m.icon;
        return answer;
    };
    EXPECT_THROW(c.Login(), EServerNotVerified);
    EXPECT_TRUE(asked.startsWith(QStringLiteral("Certifikát serveru 127.0.0.1:%1 nelze ověřit (").arg(c.Port)))
        << asked.toStdString();
    EXPECT_TRUE(asked.contains(QStringLiteral("Vydán pro: /CN=localhost")));
    const QString fingerprint = asked.section(QStringLiteral("Otisk SHA-256: "), 1).section(u'\r', 0, 0);
    EXPECT_EQ(fingerprint.size(), 95); // 32 bytes as "AB:" pairs
    EXPECT_FALSE(QFile::exists(c.TrustedCertificatesFile));

    answer = Answer::Yes;
    c.Login();
    asked.clear();
    c.MakeDir(QStringLiteral("www"));
    c.ChangeDir(QStringLiteral("www"));
    QFile page(web(QStringLiteral("Příliš.htm")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    c.UploadFile(page, QStringLiteral(".xo-upload-Příliš.htm"));
    c.Rename(QStringLiteral(".xo-upload-Příliš.htm"), QStringLiteral("Příliš.htm"));
    EXPECT_EQ(tree(root), (QMap<QString, QByteArray>{{QStringLiteral("www/Příliš.htm"), "<p>žluťoučký</p>"}}));
    EXPECT_THROW(c.ChangeDir(QStringLiteral("nowhere")), EProtocolError);
    c.Logout();
    c.Login(); // remembered: no question
    EXPECT_TRUE(asked.isEmpty());
    c.Logout();

    // Another certificate at the same address: a warning, and no is no.
    server.reset();
    server = std::make_unique<test::ScriptServer>(QStringLiteral("ftps_server.py"),
                                                  QStringList(args) << QStringLiteral("--new-cert") << QStringLiteral("--port")
                                                                    << QString::number(c.Port));
    ASSERT_TRUE(server->error.isEmpty());
    answer = Answer::No;
    EXPECT_THROW(c.Login(), EServerNotVerified);
    EXPECT_TRUE(asked.startsWith(QStringLiteral("POZOR: Server 127.0.0.1:%1 předložil jiný certifikát").arg(c.Port)));
    EXPECT_EQ(icon, Icon::Exclamation);

    // A server without TLS is not used in clear text instead.
    test::PyFtpServer plain(QStringLiteral("xo"), QStringLiteral("heslo"));
    ASSERT_TRUE(plain.error.isEmpty());
    c.Port = plain.port;
    try {
        c.Login();
        ADD_FAILURE() << "logged in without TLS";
    } catch (const ETcpIpError &e) {
        EXPECT_EQ(e.Message, QStringLiteral("Server nenabízí šifrované spojení (AUTH TLS); bez šifrování se nepřipojím."));
    }
}

TEST(SitePassword, AnOlderConfigurationsPasswordMovesToTheSecretStoreAndIsNeverWrittenAgain) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("old.config"));
    {
        TCompressFile f(file, TCompressFile::fmCreate);
        for (const char *s : {"Hierarchie", "ftp.example.org", "jan", "tajne", "21", "/www"}) f.WriteString(s);
        for (int i = 0; i < 3; ++i) f.WriteBoolean(true);
        ASSERT_TRUE(f.Close());
    }
    THierarchieState state;
    {
        TCompressFile f(file, TCompressFile::fmOpenRead);
        state.Load(f);
    }
    EXPECT_TRUE(state.Password.empty());
    EXPECT_EQ(RememberedPassword(QStringLiteral("ftp.example.org"), QStringLiteral("jan")), QStringLiteral("tajne"));
    state.Password = "still in memory";
    {
        TCompressFile f(file, TCompressFile::fmCreate);
        state.Save(f);
        ASSERT_TRUE(f.Close());
    }
    TCompressFile f(file, TCompressFile::fmOpenRead);
    std::vector<std::string> fields;
    for (int i = 0; i < 6; ++i) fields.push_back(f.ReadString());
    EXPECT_EQ(fields, (std::vector<std::string>{"Hierarchie", "ftp.example.org", "jan", "", "21", "/www"}));
    ForgetPassword(QStringLiteral("ftp.example.org"), QStringLiteral("jan"));
    EXPECT_TRUE(RememberedPassword(QStringLiteral("ftp.example.org"), QStringLiteral("jan")).isEmpty());
}
