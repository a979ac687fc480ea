#include "ftp_servers.h"
#include "platform/cp1250.h"
#include "site/hierarchy_dialogs.h"
#include "site/site_publish.h"
#include "site/site_scan.h"
#include "site/site_state.h"
#include "support/scripted_services.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSet>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace xo;
using platform::Answer;
using platform::Icon;

namespace {

class Site : public ::testing::Test {
protected:
    QString put(const QString &name, const QByteArray &bytes) {
        const QString path = root.path() + u'/' + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString web(const QString &rel = {}) const { return root.path() + QStringLiteral("/web/") + rel; }
    QStringList relative(const QStringList &paths, const QString &folder = QStringLiteral("/web/")) const {
        const QString base = root.path() + folder;
        QStringList out;
        for (const QString &p : paths) out << (p.startsWith(base) ? p.mid(base.size()) : QStringLiteral("!") + p);
        return out;
    }
    QTemporaryDir root;
};

// Records the session; a store fails while its directory is not made.
class ScriptedFtp : public TFtpClient {
public:
    bool Busy() const override { return busy; }
    void Login() override { calls << QStringLiteral("login"); }
    void Logout() override { calls << QStringLiteral("logout"); }
    void ChangeDir(const QString &d) override {
        calls << QStringLiteral("CWD ") + d;
        if (missingDirs.contains(d)) throw EProtocolError(QStringLiteral("FTP"), 550, QStringLiteral("No such"));
    }
    void MakeDir(const QString &d) override {
        calls << QStringLiteral("MKD ") + d;
        if (made.contains(d)) throw EProtocolError(QStringLiteral("FTP"), 550, QStringLiteral("Exists"));
        made.insert(d);
    }
    void UploadFile(QIODevice &file, const QString &name) override {
        calls << QStringLiteral("STOR ") + name;
        const QString uri = QString(name).remove(QStringLiteral(".xo-upload-")); // what the target is
        const qsizetype slash = uri.lastIndexOf(u'/');
        if (slash > 0 && !made.contains(uri.left(slash)))
            throw EProtocolError(QStringLiteral("FTP"), 553, QStringLiteral("No directory"));
        if (refused.contains(uri)) throw EProtocolError(QStringLiteral("FTP"), 553, QStringLiteral("Refused"));
        if (lostAt == uri) throw ERemoteBaseLost(QStringLiteral("www"));
        if (stopAt == uri) throw EStopped();
        stored[name] = file.readAll();
    }
    void Rename(const QString &from, const QString &to) override {
        calls << QStringLiteral("RN ") + to;
        if (!renames) throw EProtocolError(QStringLiteral("FTP"), 502, QStringLiteral("No"));
        stored[to] = stored.take(from);
    }
    void Delete(const QString &path) override {
        calls << QStringLiteral("DELE ") + path;
        stored.remove(path);
    }
    QString ProtocolName() const override { return protocol; }
    bool renames = true;
    QString protocol = QStringLiteral("FTP");
    bool busy = false;
    QStringList calls;
    QSet<QString> made, missingDirs, refused;
    QString lostAt, stopAt; // the session ends here
    QHash<QString, QByteArray> stored;
};

} // namespace

TEST_F(Site, ScanFollowsLinksOnceAndListsMediaInsideAndOutside) {
    put("web/index.htm",
        "<HTML><BODY BACKGROUND=\"img/bg.gif\">\r\n"
        "<A HREF=\"sub/page.htm#part\">p</A> <IMG SRC=\"img/a.gif\" LOWSRC=\"img/low.gif\">\r\n"
        "<a href=\"http://example.cz/\">w</a> <a href=\"mailto:a@b.cz\">m</a> <a href=\"#top\">t</a>\r\n"
        "<img src=\"/abs.gif\"> <a href=\"C:\\web\\x.htm\">c</a> <a href=unq.htm>u</a>\r\n"
        "<a href=\"x/../page2.htm\">2</a> <a href=\"sub/../../outside/x.htm\">o</a>\r\n"
        "<a\r\nhref=\"newline.htm\">n</a> <img\tsrc=\"tab.gif\"> <img alt=\"x\"src=\"glued.gif\">\r\n"
        "<VERYLONGTAGNAME src=\"long.gif\"> <a href=\"cr\r\nlf.htm\">q</a> <a href=\"fifo.htm\">f</a>\r\n"
        "<a href=\"loop/page2.htm\">l</a> <a href=\"index.htm\">self</a></BODY></HTML>\r\n");
    put("web/sub/page.htm", "<p>Up: <a href=../up.html>up</a> <a href=\"../index.htm\">home</a></p>");
    put("web/page2.htm", "<a href=\"index.htm\">home</a> <a href=\"sub/page.htm\">sub</a>");
    put("web/up.html", "short");
    put("web/unq.htm", "<frame src=\"frame.htm\"> <applet code=\"A.class\"> <isindex action=\"find.htm\">");
    ::mkfifo(QFile::encodeName(web("fifo.htm")).constData(), 0600);
    QFile::link(web(), web("loop"));

    const TSiteScan s = ScanHierarchy(web("index.htm"));
    EXPECT_EQ(s.MainDirectory, web());
    EXPECT_EQ(relative(s.HtmlFiles),
              QStringList({"index.htm", "sub/page.htm", "unq.htm", "page2.htm", "!" + root.path() + "/outside/x.htm",
                           "cr\r\nlf.htm", "fifo.htm", "up.html", "frame.htm", "find.htm"}));
    EXPECT_EQ(relative(s.Multimedia), QStringList({"img/bg.gif", "img/a.gif", "img/low.gif", "A.class"}));
    // The short file, the FIFO (not opened, so not waited on) and the missing ones.
    EXPECT_EQ(s.Errors, 6);

    put("small/main.htm", "<a href=\"other.htm\">o</a> <img src=\"one.gif\"> <img src=\"two.gif\">");
    put("small/other.htm", "<a href=\"main.htm\">back</a> <img src=\"one.gif\">");
    const TSiteScan small = ScanHierarchy(root.path() + QStringLiteral("/small/main.htm"));
    EXPECT_EQ(small.Counts(), QStringLiteral("2+2"));
    EXPECT_EQ(small.Tags, 5);
    // A file both linked and embedded belongs to both lists.
    put("small/big.gif", "GIF89a picture");
    put("small/main.htm", "<A HREF=\"big.gif\">b</A> <IMG SRC=\"big.gif\"> <img src=\"one.gif\">");
    const TSiteScan both = ScanHierarchy(root.path() + QStringLiteral("/small/main.htm"));
    EXPECT_EQ(relative(both.HtmlFiles, "/small/"), QStringList({"main.htm", "big.gif"}));
    EXPECT_EQ(relative(both.Multimedia, "/small/"), QStringList({"big.gif", "one.gif"}));
    EXPECT_EQ(small.Errors, 0);
}

TEST_F(Site, AHugePageIsListedButNotRead) {
    put("web/index.htm", "<a href=\"huge.htm\">h</a> <a href=\"small.htm\">s</a>");
    put("web/small.htm", "<img src=\"s.gif\"> and more text");
    QFile huge(put("web/huge.htm", "<img src=\"h.gif\">"));
    ASSERT_TRUE(huge.resize(100ll << 30)); // sparse: 100 GB that take no room
    const TSiteScan s = ScanHierarchy(web("index.htm"));
    EXPECT_EQ(relative(s.HtmlFiles), QStringList({"index.htm", "huge.htm", "small.htm"}));
    EXPECT_EQ(relative(s.Multimedia), QStringList({"s.gif"}));
    EXPECT_EQ(s.Errors, 1);
    ASSERT_EQ(s.Notes.size(), 1);
    EXPECT_TRUE(s.Notes[0].contains(web("huge.htm")));
}

TEST_F(Site, ScanListsAreBounded) {
    // A page naming more files than a list holds: the rest counts as errors.
    QByteArray page;
    for (int i = 0; i < kMaxSiteList + 5; ++i) page += "<img src=\"i" + QByteArray::number(i) + ".gif\">";
    put("web/index.htm", page);
    const TSiteScan s = ScanHierarchy(web("index.htm"));
    EXPECT_EQ(s.Multimedia.size(), kMaxSiteList);
    EXPECT_EQ(s.Errors, 5);
}

TEST_F(Site, InstallCopiesBelowTheTargetAndNothingOutsideIt) {
    test::ScriptedServices services;
    services.clock = QDateTime::currentDateTime();
    put("web/index.htm", "<html>index</html>");
    put("web/img/a.gif", QByteArray("GIF89a\0\1\2", 9));
    put("web/old.htm", "<html>old</html>");
    put("outside/x.htm", "<html>x</html>");
    QFile old(web("old.htm"));
    old.open(QIODevice::ReadWrite);
    old.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime);
    old.close();
    const QString target = root.path() + QStringLiteral("/target/");
    QDir().mkpath(target + QStringLiteral("index.htm")); // a directory where a file goes: that copy fails
    const QString outside = web("sub/../../outside/x.htm");

    services.expectMessage(QStringLiteral("Soubor ") + web("index.htm") + QStringLiteral(" se nepodařilo nainstalovat."),
                           Answer::Ok, Icon::Error);
    services.expectMessage(QStringLiteral("Soubor ") + outside +
                           QStringLiteral(" nelze instalovat, protože není v podadresáři hlavního souboru"));
    QStringList status;
    InstallList({web("index.htm"), outside, web("img/a.gif"), web("old.htm")}, true, web(), target,
                [&](const QString &t) { status << t; });
    EXPECT_EQ(status.last(), QString());
    EXPECT_TRUE(status.contains(QStringLiteral("Instaluji ") + web("img/a.gif") + QStringLiteral("...")));
    QFile copied(target + QStringLiteral("img/a.gif"));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("GIF89a\0\1\2", 9));
    EXPECT_FALSE(QFile::exists(target + QStringLiteral("old.htm"))); // yesterday's, with only today's asked for
    EXPECT_FALSE(QFile::exists(root.path() + QStringLiteral("/x.htm")));
    EXPECT_EQ(QDir(target).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList({"img", "index.htm"}));

    // A main directory is a whole name: /web2 is not below /web.
    EXPECT_EQ(SitePath(web(), root.path() + QStringLiteral("/web2/a.htm")), QString());
    EXPECT_EQ(SitePath(web(), web("a/../../b.htm")), QString());
    EXPECT_EQ(SitePath(QStringLiteral("/Web/"), QStringLiteral("/web/a.htm")), QString());
    EXPECT_EQ(SitePath(web(), web("img/a.gif")), QStringLiteral("img/a.gif"));

    // Links inside the site that lead out of it are refused like "../"; a
    // link that stays inside is an ordinary file.
    put("secret/id_rsa", "key");
    QFile::link(QStringLiteral("../../secret/id_rsa"), web("img/logo.gif"));
    QFile::link(QStringLiteral("../secret"), web("docs"));
    QFile::link(QStringLiteral("img/a.gif"), web("alias.gif"));
    QFile::link(QStringLiteral("missing.gif"), web("dangling.gif"));
    const QString target2 = root.path() + QStringLiteral("/target2/");
    for (const char *name : {"img/logo.gif", "docs/id_rsa", "docs/new.htm", "dangling.gif"})
        services.expectMessage(QStringLiteral("Soubor ") + web(QString::fromLatin1(name)) +
                               QStringLiteral(" nelze instalovat, protože není v podadresáři hlavního souboru"));
    InstallList({web("img/logo.gif"), web("docs/id_rsa"), web("docs/new.htm"), web("dangling.gif"), web("alias.gif")},
                false, web(), target2, {});
    EXPECT_EQ(QDir(target2).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList({"alias.gif"}));
}

TEST_F(Site, UploadQueueChangesDirectoryMakesDirectoriesOnceAndReportsEveryFailure) {
    test::ScriptedServices services;
    services.clock = QDateTime::currentDateTime();
    put("web/index.htm", "<html>index</html>");
    put("web/img/a.gif", "GIF89a-a");
    put("web/img/icons/b.gif", "GIF89a-b");
    put("web/bad.htm", "refused");
    put("outside/x.htm", "x");
    const QString outside = root.path() + QStringLiteral("/outside/x.htm");
    ScriptedFtp ftp;
    ftp.refused.insert(QStringLiteral("bad.htm"));
    ftp.refused.insert(QStringLiteral("img/icons/b.gif")); // fails again once its directories are made
    TSiteUpload up;
    up.MainDirectory = web();
    QStringList log, status;
    up.Trace = [&](const QString &t, TTraceLevel) { log << t; };
    up.Status = [&](const QString &t) { status << t; };
    int busyOff = 0;
    up.BusyCursor = [&](bool on) { busyOff += on ? 0 : 1; };
    up.Start(QStringLiteral("/www"), {web("index.htm"), outside, web("bad.htm")},
             {web("img/a.gif"), web("img/icons/b.gif"), outside}, true, true, false);

    services.expectMessage(QStringLiteral("Soubor ") + outside +
                               QStringLiteral(" nelze instalovat. Možné důvody:\r\n\r\n- soubor není v podadresáři "
                                              "hlavního souboru\r\n- soubor neexistuje.\r\n\r\nZobrazovat tuto hlášku "
                                              "i příště?"),
                           Answer::No, Icon::Exclamation);
    services.expectMessage(QStringLiteral("Chyba při přenosu souboru ") + web("bad.htm"), Answer::Ok, Icon::Error);
    services.expectMessage(QStringLiteral("Pokusit se vytvořit potřebné adresáře pro vyslání souboru img/a.gif?"),
                           Answer::Yes, Icon::Question, QStringLiteral("FTP"));
    services.expectMessage(QStringLiteral("Pokusit se vytvořit potřebné adresáře pro vyslání souboru img/icons/b.gif?"),
                           Answer::Yes, Icon::Question, QStringLiteral("FTP"));
    services.expectMessage(QStringLiteral("Chyba při přenosu souboru ") + web("img/icons/b.gif"), Answer::Ok,
                           Icon::Error);
    services.expectMessage(QStringLiteral("Konec instalace"), Answer::Ok, Icon::Information);
    ftp.busy = true;
    up.FtpStep(ftp); // a transfer still running: the entry waits
    EXPECT_EQ(status.last(), QStringLiteral("Čekám..."));
    ftp.busy = false;
    for (int guard = 0; guard < 40 && !up.Queue.empty(); ++guard) up.FtpStep(ftp);
    ASSERT_TRUE(up.Queue.empty());
    up.FtpStep(ftp);
    // Each file goes under a temporary name renamed over the target; a
    // failed one is deleted, so the server keeps no half of it.
    EXPECT_EQ(ftp.calls, QStringList({"CWD /www", "STOR .xo-upload-index.htm", "RN index.htm",
                                      "STOR .xo-upload-bad.htm", "DELE .xo-upload-bad.htm",
                                      "STOR img/.xo-upload-a.gif", "DELE img/.xo-upload-a.gif", "MKD img",
                                      "STOR img/.xo-upload-a.gif", "RN img/a.gif", "STOR img/icons/.xo-upload-b.gif",
                                      "DELE img/icons/.xo-upload-b.gif", "MKD img", "MKD img/icons",
                                      "STOR img/icons/.xo-upload-b.gif", "DELE img/icons/.xo-upload-b.gif", "logout"}));
    EXPECT_TRUE(ftp.stored.contains(QStringLiteral("index.htm")));
    EXPECT_EQ(ftp.stored.value(QStringLiteral("img/a.gif")), QByteArray("GIF89a-a"));
    EXPECT_EQ(ftp.stored.size(), 2);
    EXPECT_TRUE(log.contains(QStringLiteral("Vytvářím adresář img...")));
    EXPECT_TRUE(log.contains(QStringLiteral("» Chyba: Adresář img se nepodařilo vytvořit...")));
    EXPECT_TRUE(log.contains(QStringLiteral("Soubor ") + outside + QStringLiteral(" neinstalován!")));
    EXPECT_EQ(log.count(QStringLiteral("» Chyba: Přenos souboru se nepodařil!")), 2);
    EXPECT_EQ(log.last(), QStringLiteral("Odlogováno."));
    EXPECT_EQ(services.pendingMessages(), 0);

    // The base with or without "/", "/" alone, "." alone; a missing base is reported and the queue goes on.
    for (const auto &[field, cwd] : std::vector<std::pair<QString, QString>>{
             {"/www/", "CWD /www"}, {"www", "CWD www"}, {"/", "CWD /"}, {".", ""}}) {
        ScriptedFtp f;
        up.Start(field, {}, {web("img/a.gif")}, false, true, false);
        EXPECT_EQ(up.Queue.back().RemotePath, QStringLiteral("img/a.gif")); // from the main directory, not the first file's
        up.FtpStep(f);
        EXPECT_EQ(f.calls.value(0), cwd) << field.toStdString();
    }
    ScriptedFtp missing;
    missing.missingDirs.insert(QStringLiteral("/nowhere"));
    services.expectMessage(QStringLiteral("Adresář /nowhere neexistuje."), Answer::Ok, Icon::Error);
    up.Start(QStringLiteral("/nowhere"), {web("index.htm")}, {}, true, false, false);
    up.FtpStep(missing);
    up.FtpStep(missing);
    EXPECT_EQ(missing.calls, QStringList({"CWD /nowhere", "STOR .xo-upload-index.htm", "RN index.htm"}));

    // A plain FTP server that renames nothing gets the files under their own
    // names, said once in the log; a secure one's refusal is a failure.
    ScriptedFtp norename;
    norename.renames = false;
    log.clear();
    up.Start(QStringLiteral("/www"), {web("index.htm")}, {web("img/a.gif")}, true, true, false);
    norename.made.insert(QStringLiteral("img"));
    for (int i = 0; i < 3; ++i) up.FtpStep(norename);
    EXPECT_EQ(norename.calls, QStringList({"CWD /www", "STOR .xo-upload-index.htm", "RN index.htm",
                                           "DELE .xo-upload-index.htm", "STOR index.htm", "STOR img/a.gif"}));
    EXPECT_EQ(log.count(QStringLiteral("Server neumí přejmenovat soubor; soubory se vysílají přímo pod svými jmény.")), 1);
    ScriptedFtp secure;
    secure.renames = false;
    secure.protocol = QStringLiteral("SFTP");
    up.Renames = true;
    services.expectMessage(QStringLiteral("Chyba při přenosu souboru ") + web("index.htm"), Answer::Ok, Icon::Error);
    up.Start(QStringLiteral("/www"), {web("index.htm")}, {}, true, false, false);
    for (int i = 0; i < 2; ++i) up.FtpStep(secure);
    EXPECT_EQ(secure.calls, QStringList({"CWD /www", "STOR .xo-upload-index.htm", "RN index.htm",
                                         "DELE .xo-upload-index.htm"}));
    EXPECT_TRUE(secure.stored.isEmpty());

    // Only today's files are queued.
    QFile old(web("index.htm"));
    old.open(QIODevice::ReadWrite);
    old.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime);
    old.close();
    up.Start(QStringLiteral("/www"), {web("index.htm"), web("bad.htm")}, {}, true, false, true);
    ASSERT_EQ(up.Queue.size(), 2u);
    EXPECT_EQ(up.Queue.back().RemotePath, QStringLiteral("bad.htm"));

    // A session that cannot reach its directory again stops the queue with a
    // message; one the user stopped stops it quietly. Nothing is stored after.
    for (const bool stopped : {false, true}) {
        ScriptedFtp f;
        (stopped ? f.stopAt : f.lostAt) = QStringLiteral("img/a.gif");
        f.made.insert(QStringLiteral("img"));
        if (!stopped)
            services.expectMessage(QStringLiteral("Spojení se serverem bylo přerušeno a adresář www se po novém "
                                                  "přihlášení nepodařilo nastavit. Přenos byl zastaven."),
                                   Answer::Ok, Icon::Error);
        up.Start(QStringLiteral("www"), {}, {web("img/a.gif"), web("img/b.gif")}, false, true, false);
        for (int i = 0; i < 2; ++i) up.FtpStep(f);
        EXPECT_TRUE(up.Queue.empty());
        EXPECT_EQ(f.calls, QStringList({"CWD www", "STOR img/.xo-upload-a.gif", "DELE img/.xo-upload-a.gif"}));
        EXPECT_TRUE(f.stored.isEmpty());
    }
    services.expectMessage(QStringLiteral("Konec instalace"), Answer::Ok, Icon::Information);
    ScriptedFtp last;
    up.FtpStep(last);
    EXPECT_EQ(last.calls, QStringList({"logout"}));
}

TEST_F(Site, TheDialogLogsInAndUploadsTheWholeSite) {
    test::PyFtpServer server(QStringLiteral("xo"), QStringLiteral("heslo"));
    if (!server.error.isEmpty()) GTEST_SKIP() << server.error.toStdString();
    QDir(server.root.path()).mkdir(QStringLiteral("www"));
    put("web/index.htm", "<html><a href=\"page.htm\">p</a> <img src=\"img/a.gif\"></html>");
    put("web/page.htm", "<html><a href=\"index.htm\">home</a></html>");
    const QByteArray gif(2500, 'g');
    put("web/img/a.gif", gif);

    test::ScriptedServices services;
    TfrmHierarchie dialog;
    TfrmHierarchiePwd password;
    dialog.PasswordDialog = &password;
    dialog.tmrFtp->setInterval(10);
    HierarchieState = THierarchieState();
    HierarchieState.Server = "127.0.0.1";
    HierarchieState.Port = std::to_string(server.port);
    HierarchieState.UserName = "xo";
    HierarchieState.Password.clear();
    HierarchieState.Directory = "www";
    dialog.Fill(ScanHierarchy(web("index.htm")));
    dialog.Ftp->IdleTimeout = 20000;

    // An empty password is asked for every time; cancelling ends there.
    int asked = 0;
    services.onModal = [&](QDialog &d) {
        EXPECT_EQ(&d, &password);
        EXPECT_TRUE(password.edPassword->text().isEmpty());
        EXPECT_FALSE(password.btOk->isEnabled());
        password.edPassword->setText(QStringLiteral("heslo"));
        return ++asked == 1 ? QDialog::Rejected : QDialog::Accepted;
    };
    dialog.btConnect->click();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(dialog.btFTP->isEnabled());

    services.expectMessage(QStringLiteral("Přihlášení proběhlo úspěšně. Spustit vysílání souborů?"), Answer::Yes,
                           Icon::Question, QStringLiteral("Ftp"));
    services.expectMessage(QStringLiteral("Pokusit se vytvořit potřebné adresáře pro vyslání souboru img/a.gif?"),
                           Answer::Yes, Icon::Question, QStringLiteral("FTP"));
    services.expectMessage(QStringLiteral("Konec instalace"), Answer::Ok, Icon::Information);
    dialog.btConnect->click();
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(dialog.BusyCursorOn());
    for (int i = 0; i < 500 && services.pendingMessages() > 0; ++i) QTest::qWait(20);
    EXPECT_EQ(services.pendingMessages(), 0);
    EXPECT_FALSE(dialog.BusyCursorOn());
    EXPECT_FALSE(dialog.btFTP->isEnabled());

    const auto onServer = [&](const char *name) {
        QFile f(server.root.filePath(QStringLiteral("www/") + QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
    };
    EXPECT_EQ(onServer("index.htm"), QByteArray("<html><a href=\"page.htm\">p</a> <img src=\"img/a.gif\"></html>"));
    EXPECT_EQ(onServer("page.htm"), QByteArray("<html><a href=\"index.htm\">home</a></html>"));
    EXPECT_EQ(onServer("img/a.gif"), gif);
    QStringList log;
    for (int i = 0; i < dialog.ResultList->count(); ++i) log << dialog.ResultList->item(i)->text();
    EXPECT_TRUE(log.contains(QStringLiteral("Přihlašeno k 127.0.0.1 (FTP)...")));
    EXPECT_TRUE(log.contains(QStringLiteral("Změna adresáře: www...")));
    EXPECT_TRUE(log.contains(QStringLiteral("Vytvářím adresář img...")));
    EXPECT_TRUE(log.contains(QStringLiteral("    Přeneseno 2500 z 2500  (100%)")));
    EXPECT_EQ(log.last(), QStringLiteral("Odlogováno."));

    dialog.reject();
    EXPECT_EQ(dialog.boxHtmlFiles->count(), 0);
    EXPECT_EQ(dialog.ResultList->count(), 0);
    EXPECT_EQ(HierarchieState.Directory, "www");
}

TEST_F(Site, TheDialogRefusesABadPortAndItsCloseStopsTheRunningStep) {
    put("web/index.htm", "<html>x</html>");
    test::ScriptedServices services;
    test::FakeFtpServer server;
    server.standard();
    TfrmHierarchie dialog;
    dialog.tmrFtp->setInterval(10);
    HierarchieState = THierarchieState();
    HierarchieState.Server = "127.0.0.1";
    HierarchieState.Port = "65536";
    dialog.Fill(ScanHierarchy(web("index.htm")));
    services.expectMessage(QStringLiteral("Je třeba vyplnit všechna data potřebná pro navázání spojení"));
    dialog.btConnect->click();
    EXPECT_TRUE(server.commands.isEmpty());

    dialog.edPort->setText(QString::number(server.port()));
    int listedDuringStep = -1;
    server.override = [&](const QByteArray &c) {
        if (c.startsWith("STOR")) {
            dialog.reject(); // the window closed while the file is on its way
            listedDuringStep = dialog.boxHtmlFiles->count();
        }
        return false;
    };
    services.expectMessage(QStringLiteral("Přihlášení proběhlo úspěšně. Spustit vysílání souborů?"), Answer::Yes,
                           Icon::Question, QStringLiteral("Ftp"));
    dialog.btConnect->click();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 250 && dialog.boxHtmlFiles->count() > 0; ++i) QTest::qWait(20);
    EXPECT_LT(clock.elapsed(), 2000); // not after the server's time-out
    EXPECT_EQ(listedDuringStep, 1);   // the step was stopped, then the dialog closed
    EXPECT_EQ(dialog.boxHtmlFiles->count(), 0);
    EXPECT_TRUE(server.received.isEmpty());
    EXPECT_FALSE(dialog.tmrFtp->isActive());
}
