#include "ftp_servers.h"
#include "site/ftp_client.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <gtest/gtest.h>

using namespace xo;
using xo::test::FakeFtpServer;
using xo::test::PyFtpServer;

namespace {

struct Trace {
    QStringList lines;
    QList<int> levels;
    QStringList at(int level) const {
        QStringList out;
        for (int i = 0; i < lines.size(); ++i)
            if (levels[i] == level) out << lines[i];
        return out;
    }
};

std::unique_ptr<T_FTP> clientFor(uint16_t port, Trace &trace, int idle = 400) {
    auto c = std::make_unique<T_FTP>();
    c->Hostname = QStringLiteral("127.0.0.1");
    c->Port = port;
    c->Username = QStringLiteral("u");
    c->Password = QStringLiteral("secret");
    c->ConnectTimeout = 3000;
    c->IdleTimeout = idle;
    c->OnTrace = [&trace](const QString &t, TTraceLevel l) {
        trace.lines << t;
        trace.levels << l;
    };
    return c;
}

QByteArray pattern(int size) {
    QByteArray b(size, 0);
    for (int i = 0; i < size; ++i) b[i] = char((i * 7 + i / 251) & 0xff);
    return b;
}

void upload(T_FTP &c, const QByteArray &bytes, const QString &uri) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    c.UploadFile(buffer, uri);
}

} // namespace

TEST(FtpProtocol, RepliesPassiveAddressesPortsAndProgress) {
    EXPECT_EQ(ftp::ReplyCode("530 Login incorrect."), 530);
    EXPECT_EQ(ftp::ReplyText("530 Login incorrect."), QStringLiteral("Login incorrect."));
    EXPECT_EQ(ftp::ReplyCode("hello"), 999);
    EXPECT_EQ(ftp::ReplyCode("5x0 no"), 999);
    EXPECT_EQ(ftp::ReplyCode("22"), 999);

    const QByteArray first = "220-Welcome";
    EXPECT_TRUE(ftp::ReplyContinues(first, " second line"));
    EXPECT_TRUE(ftp::ReplyContinues(first, "2201 not the end"));
    EXPECT_TRUE(ftp::ReplyContinues(first, "221 another code"));
    EXPECT_TRUE(ftp::ReplyContinues(first, "220-still going"));
    EXPECT_FALSE(ftp::ReplyContinues(first, "220 Ready"));
    EXPECT_FALSE(ftp::ReplyContinues("220 Ready", "220 Ready"));

    QString host;
    uint16_t port = 0;
    ASSERT_TRUE(ftp::ParsePasv(QStringLiteral("Entering Passive Mode (192,168,1,2,19,137)."), host, port));
    EXPECT_EQ(host, QStringLiteral("192.168.1.2"));
    EXPECT_EQ(port, 5001);
    for (const char *bad : {"Entering Passive Mode", "(1,2,3,4,5)", "(1,2,3,4,256,1)", "(a,b,c,d,e,f)", "(1,2,3,4,0,0)"})
        EXPECT_FALSE(ftp::ParsePasv(QString::fromLatin1(bad), host, port)) << bad;
    EXPECT_EQ(ftp::PortArgument(0x7F000001, 5001), QStringLiteral("127,0,0,1,19,137"));

    EXPECT_EQ(ftp::ProgressText(1024, 2500), QStringLiteral("  Přeneseno 1024 z 2500  (40%)"));
    EXPECT_EQ(ftp::ProgressText(2048, 2500), QStringLiteral("  Přeneseno 2048 z 2500  (81%)"));
    EXPECT_EQ(ftp::ProgressText(2500, 2500), QStringLiteral("  Přeneseno 2500 z 2500  (100%)"));
    // Files above 21 MB overflowed a 32-bit product.
    EXPECT_TRUE(ftp::ProgressText(3000000000LL, 4000000000LL).endsWith(QStringLiteral("(75%)")));
}

TEST(FtpFake, ThreeLineGreetingThenLogInWithoutThePasswordInTheTrace) {
    FakeFtpServer server;
    server.standard();
    server.greeting = "220-Welcome\r\n to the test\r\n220 Ready\r\n";
    // A server that takes UTF-8 names is told they come so.
    server.override = [&](const QByteArray &c) {
        if (c == "FEAT") server.reply("211-Features:\r\n MDTM\r\n UTF8\r\n211 End\r\n");
        else if (c == "OPTS UTF8 ON") server.reply("200 OK\r\n");
        return c == "FEAT" || c == "OPTS UTF8 ON";
    };
    Trace trace;
    auto c = clientFor(server.port(), trace);
    c->Login();
    EXPECT_EQ(server.commands, QStringList({"USER u", "PASS secret", "TYPE I", "FEAT", "OPTS UTF8 ON"}));
    EXPECT_EQ(trace.at(1).mid(0, 3), QStringList({"220-Welcome", " to the test", "220 Ready"}));
    EXPECT_EQ(trace.at(0), QStringList({"USER u", "TYPE I", "FEAT", "OPTS UTF8 ON"}));
    for (const QString &l : trace.lines) EXPECT_FALSE(l.contains(QStringLiteral("secret"))) << l.toStdString();
    EXPECT_TRUE(trace.at(2).first().startsWith(QStringLiteral("Výstupní socket %1 na server 127.0.0.1 úspěšně otevřen; ID ")
                                                   .arg(server.port())));
    EXPECT_TRUE(trace.lines.contains(QStringLiteral("Vysláno 8 bytů přes socket ID %1")
                                         .arg(trace.at(2).first().section(u' ', -1))));
}

TEST(FtpFake, RefusalsGarbageAndOddMultiLineReplies) {
    {
        FakeFtpServer server;
        server.standard();
        server.answer("PASS", "530 Login incorrect.\r\n");
        Trace trace;
        auto c = clientFor(server.port(), trace);
        try {
            c->Login();
            FAIL() << "a refused log-in passed";
        } catch (const EProtocolError &e) {
            EXPECT_EQ(e.Code, 530);
            EXPECT_EQ(e.Protocol, QStringLiteral("FTP"));
            EXPECT_EQ(e.Message, QStringLiteral("Login incorrect."));
        }
        EXPECT_FALSE(c->Connected());
    }
    {
        FakeFtpServer server;
        server.standard();
        server.greeting = "hello there\r\n";
        Trace trace;
        auto c = clientFor(server.port(), trace);
        try {
            c->Login();
            FAIL() << "a code-less reply passed";
        } catch (const EProtocolError &e) {
            EXPECT_EQ(e.Code, 999);
        }
    }
    {
        // Middle lines that look like ends must not end the reply, or MKD
        // would read the rest of CWD's reply as its own.
        FakeFtpServer server;
        server.standard();
        server.answer("CWD", "250-first\r\n  250 indented\r\n2501 glued\r\n250-again\r\n250 done\r\n");
        Trace trace;
        auto c = clientFor(server.port(), trace);
        c->Login();
        c->ChangeDir(QStringLiteral("www"));
        EXPECT_EQ(c->LastReplyText, QStringLiteral("first"));
        c->MakeDir(QStringLiteral("img"));
        EXPECT_EQ(c->LastReplyCode, 257);
        EXPECT_EQ(c->LastReplyText, QStringLiteral("Created"));
    }
}

TEST(FtpFake, NothingWaitsForEver) {
    QElapsedTimer clock;
    clock.start();
    {
        FakeFtpServer silent; // accepts, never greets
        Trace trace;
        auto c = clientFor(silent.port(), trace);
        EXPECT_THROW(c->Login(), EProtocolBusy);
    }
    {
        FakeFtpServer server;
        server.standard();
        server.answer("CWD", ""); // swallowed
        Trace trace;
        auto c = clientFor(server.port(), trace);
        c->Login();
        EXPECT_THROW(c->ChangeDir(QStringLiteral("x")), EProtocolBusy);
        EXPECT_FALSE(c->Connected()); // its late reply can no longer answer a later command
    }
    {
        FakeFtpServer server;
        server.greeting = QByteArray(20000, 'x');
        Trace trace;
        auto c = clientFor(server.port(), trace);
        try {
            c->Login();
            FAIL() << "an endless line passed";
        } catch (const EProtocolBusy &) {
            FAIL() << "an endless line was waited for";
        } catch (const ETcpIpError &) {
        }
    }
    {
        Trace trace;
        auto c = clientFor(test::freePort(), trace);
        EXPECT_THROW(c->Login(), ESocketError);
        EXPECT_TRUE(trace.lines.last().startsWith(QStringLiteral("Chyba při otevírání výstupního socketu ")));
        c->Hostname.clear();
        try {
            c->Login();
            FAIL();
        } catch (const ETcpIpError &e) {
            EXPECT_EQ(e.Message, QStringLiteral("Nelze se připojit k serveru "));
        }
    }
    EXPECT_LT(clock.elapsed(), 10000);
}

TEST(FtpFake, UploadsTraceTheirProgressAndReachTheServerNotTheAnnouncedAddress) {
    FakeFtpServer server;
    server.standard("10,1,2,3"); // a foreign address: the data must still go to the server
    Trace trace;
    auto c = clientFor(server.port(), trace);
    c->Login();
    const QByteArray data = pattern(2500);
    upload(*c, data, QStringLiteral("page.htm"));
    EXPECT_EQ(server.received, data);
    QStringList progress;
    QList<int> levels;
    for (int i = 0; i < trace.lines.size(); ++i)
        if (trace.lines[i].contains(QStringLiteral("Přeneseno"))) {
            progress << trace.lines[i];
            levels << trace.levels[i];
        }
    // The first block and the last, and between them at most ten lines a second.
    EXPECT_EQ(progress, QStringList({"  Přeneseno 1024 z 2500  (40%)", "  Přeneseno 2500 z 2500  (100%)"}));
    EXPECT_EQ(levels, QList<int>({2, 4}));
    EXPECT_TRUE(server.commands.contains(QStringLiteral("SIZE page.htm")));

    const int before = int(trace.lines.size());
    upload(*c, QByteArray(), QStringLiteral("empty.htm"));
    EXPECT_TRUE(server.commands.contains(QStringLiteral("STOR empty.htm")));
    EXPECT_TRUE(server.received.isEmpty());
    for (int i = before; i < trace.lines.size(); ++i) EXPECT_FALSE(trace.lines[i].contains(QStringLiteral("Přeneseno")));
}

TEST(FtpFake, AnUploadThatDidNotArriveWholeIsAnError) {
    const auto session = [](FakeFtpServer &server, Trace &trace) {
        auto c = clientFor(server.port(), trace, 1500);
        c->Login();
        return c;
    };
    const uint16_t closed = test::freePort();
    for (const QByteArray &pasv : {QByteArray("227 Entering Passive Mode (garbage)\r\n"),
                                   "227 Entering Passive Mode (127,0,0,1," + QByteArray::number(closed >> 8) + ',' +
                                       QByteArray::number(closed & 255) + ")\r\n"}) {
        FakeFtpServer server;
        server.standard();
        server.answer("PASV", pasv);
        Trace trace;
        auto c = session(server, trace);
        EXPECT_THROW(upload(*c, "abc", QStringLiteral("a.htm")), ESocketError);
        EXPECT_FALSE(server.commands.contains(QStringLiteral("STOR a.htm")));
    }
    {
        // The server drops the data connection part-way through.
        FakeFtpServer server;
        server.standard();
        server.onData = [&](QTcpSocket &s) {
            if (server.received.size() > 65536) s.abort();
        };
        server.onDataClosed = [&] { server.reply("426 Connection closed; transfer aborted.\r\n"); };
        Trace trace;
        auto c = session(server, trace);
        EXPECT_THROW(upload(*c, pattern(16 << 20), QStringLiteral("big.gif")), ETcpIpError);
        EXPECT_TRUE(server.commands.contains(QStringLiteral("ABOR")));
        // The session is still in step: the next command gets its own reply.
        server.onDataClosed = nullptr;
        server.onData = nullptr;
        c->ChangeDir(QStringLiteral("www"));
        EXPECT_EQ(c->LastReplyCode, 250);
    }
    {
        FakeFtpServer server;
        server.standard();
        server.sizeSkew = -1;
        Trace trace;
        auto c = session(server, trace);
        EXPECT_THROW(upload(*c, pattern(3000), QStringLiteral("a.htm")), EProtocolError);
        // A server without SIZE is trusted on its transfer reply.
        server.sizeSkew = 0;
        server.answer("SIZE", "502 Not implemented\r\n");
        EXPECT_NO_THROW(upload(*c, pattern(3000), QStringLiteral("b.htm")));
    }
}

TEST(FtpFake, LineBreaksInArgumentsAreRefusedBeforeAnythingIsSent) {
    FakeFtpServer server;
    server.standard();
    Trace trace;
    auto c = clientFor(server.port(), trace);
    c->Login();
    const int sent = int(server.commands.size());
    EXPECT_THROW(c->ChangeDir(QStringLiteral("www\r\nDELE index.htm")), ETcpIpError);
    EXPECT_THROW(c->MakeDir(QStringLiteral("a\nb")), ETcpIpError);
    EXPECT_THROW(upload(*c, "x", QStringLiteral("a") + QChar(0) + QStringLiteral("b")), ETcpIpError);
    QCoreApplication::processEvents();
    EXPECT_EQ(server.commands.size(), sent);
    c->Logout();
    c->Username = QStringLiteral("u\r\nSITE x");
    EXPECT_THROW(c->Login(), ETcpIpError);
}

TEST(FtpReal, LogInDirectoriesAndUploadsCheckedOnDisk) {
    PyFtpServer server(QStringLiteral("xo"), QStringLiteral("heslo"));
    if (!server.error.isEmpty()) GTEST_SKIP() << server.error.toStdString();
    Trace trace;
    auto c = clientFor(server.port, trace, 20000);
    c->Username = QStringLiteral("xo");
    c->Password = QStringLiteral("heslo");
    {
        Trace refusedTrace;
        auto refused = clientFor(server.port, refusedTrace, 20000);
        refused->Username = QStringLiteral("xo");
        refused->Password = QStringLiteral("wrong");
        try {
            refused->Login();
            FAIL() << "a wrong password logged in";
        } catch (const EProtocolError &e) {
            EXPECT_EQ(e.Code, 530);
        }
    }
    c->Login();
    c->MakeDir(QStringLiteral("sub"));
    c->ChangeDir(QStringLiteral("sub"));
    const QByteArray small = pattern(2500), big = pattern(30 << 20);
    upload(*c, small, QStringLiteral("a.htm"));
    upload(*c, QByteArray(), QStringLiteral("empty.htm"));
    upload(*c, big, QStringLiteral("big.bin"));
    c->Passive = false; // active mode on an ephemeral port
    upload(*c, small, QStringLiteral("active.htm"));
    c->Passive = true;
    c->GetDir(QStringLiteral("."));
    EXPECT_EQ(c->DirectoryListing.size(), 4);
    EXPECT_THROW(c->ChangeDir(QStringLiteral("missing")), EProtocolError);
    c->Logout();
    const auto onDisk = [&](const char *name) {
        QFile f(server.root.filePath(QStringLiteral("sub/") + QString::fromLatin1(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("missing");
    };
    EXPECT_EQ(onDisk("a.htm"), small);
    EXPECT_EQ(onDisk("empty.htm"), QByteArray());
    EXPECT_TRUE(onDisk("big.bin") == big);
    EXPECT_EQ(onDisk("active.htm"), small);
}

TEST(FtpFake, AfterALostConnectionFilesGoWhereTheyBelongOrNowhere) {
    FakeFtpServer server;
    server.standard();
    Trace trace;
    auto c = clientFor(server.port(), trace);
    c->Login();
    c->ChangeDir(QStringLiteral("www"));
    server.control->abort();
    EXPECT_THROW(upload(*c, "lost", QStringLiteral("a.htm")), ETcpIpError); // the loss is noticed here
    // A refused log-in, then a refused directory: nothing is stored, however often it is tried.
    server.answer("PASS", "530 Login incorrect.\r\n");
    EXPECT_THROW(upload(*c, "one", QStringLiteral("b.htm")), ERemoteBaseLost);
    server.answer("CWD", "550 No such directory.\r\n");
    EXPECT_THROW(upload(*c, "two", QStringLiteral("c.htm")), ERemoteBaseLost);
    EXPECT_THROW(upload(*c, "three", QStringLiteral("d.htm")), ERemoteBaseLost);
    for (const QString &command : server.commands) EXPECT_FALSE(command.startsWith(QStringLiteral("STOR")));
    // Once the directory is reached again, files land in it.
    server.override = nullptr;
    upload(*c, "four", QStringLiteral("e.htm"));
    const qsizetype stor = server.commands.indexOf(QStringLiteral("STOR e.htm"));
    ASSERT_GT(stor, 0);
    EXPECT_EQ(server.commands.lastIndexOf(QStringLiteral("CWD www"), stor), stor - 2); // CWD, PASV, STOR
    EXPECT_EQ(server.received, QByteArray("four"));
}

TEST(FtpFake, EndlessTricklingAndCutRepliesEndInTime) {
    QElapsedTimer clock;
    clock.start();
    {
        // A greeting without end: bounded by lines and bytes, not by time.
        FakeFtpServer server;
        server.standard();
        QByteArray endless;
        for (int i = 0; i < 5000; ++i) endless += "220-more\r\n";
        server.greeting = endless;
        Trace trace;
        auto c = clientFor(server.port(), trace, 30000);
        try {
            c->Login();
            FAIL() << "an endless reply passed";
        } catch (const EProtocolBusy &) {
            FAIL() << "an endless reply was waited for";
        } catch (const ETcpIpError &e) {
            EXPECT_EQ(e.Message, QStringLiteral("Příliš dlouhá odpověď serveru"));
        }
        EXPECT_LE(trace.at(1).size(), ftp::kMaxReplyLines);
    }
    {
        // One line now and then: the reply as a whole has the time-out.
        FakeFtpServer server;
        server.standard();
        server.greeting = "220-hello\r\n";
        QTimer drip;
        QObject::connect(&drip, &QTimer::timeout, [&] { server.reply("220-still here\r\n"); });
        drip.start(100);
        Trace trace;
        auto c = clientFor(server.port(), trace, 700);
        QElapsedTimer t;
        t.start();
        EXPECT_THROW(c->Login(), EProtocolBusy);
        EXPECT_LT(t.elapsed(), 3000);
    }
    {
        // "226-" and then the connection is gone: not a success.
        FakeFtpServer server;
        server.standard();
        server.onDataClosed = [&] {
            server.reply("226-Transfer complete\r\n");
            server.control->flush();
            server.control->disconnectFromHost();
        };
        Trace trace;
        auto c = clientFor(server.port(), trace, 1500);
        c->Login();
        EXPECT_THROW(upload(*c, pattern(3000), QStringLiteral("a.htm")), ETcpIpError);
    }
    EXPECT_LT(clock.elapsed(), 10000);
}

TEST(FtpFake, ADataConnectionClosedEarlyIsAFailureEvenWhenTheServerSaysOtherwise) {
    // The server takes a part, drops the data connection, says 226 and has no SIZE.
    FakeFtpServer server;
    server.standard();
    server.dataLimit = 1000;
    server.answer("SIZE", "502 Not implemented\r\n");
    Trace trace;
    auto c = clientFor(server.port(), trace, 1500);
    c->Login();
    EXPECT_THROW(upload(*c, pattern(60000), QStringLiteral("a.htm")), ETcpIpError);
    // A server that takes it all, with the same missing SIZE, is believed.
    server.dataLimit = -1;
    EXPECT_NO_THROW(upload(*c, pattern(60000), QStringLiteral("b.htm")));
    EXPECT_EQ(server.received, pattern(60000));
}

namespace {

// A large file made up as it is read, which remembers the largest read asked for.
class MadeUpFile : public QIODevice {
public:
    explicit MadeUpFile(qint64 size) : size_(size) { open(QIODevice::ReadOnly); }
    qint64 size() const override { return size_; }
    bool isSequential() const override { return false; }
    qint64 largestRead = 0;

protected:
    qint64 readData(char *data, qint64 max) override {
        largestRead = std::max(largestRead, max);
        const qint64 n = std::min(max, size_ - pos());
        for (qint64 i = 0; i < n; ++i) data[i] = char((pos() + i) % 251);
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 size_;
};

} // namespace

TEST(FtpFake, UploadsStreamFromTheFileAndCanBeStopped) {
    FakeFtpServer server;
    server.standard();
    Trace trace;
    auto c = clientFor(server.port(), trace, 5000);
    c->Login();
    MadeUpFile file(8 << 20);
    c->UploadFile(file, QStringLiteral("big.bin"));
    EXPECT_EQ(server.received.size(), 8 << 20);
    EXPECT_EQ(server.received.at((8 << 20) - 1), char(((8 << 20) - 1) % 251));
    EXPECT_LE(file.largestRead, 64 * 1024); // never the whole file in memory

    // A server that never answers STOR: Stop ends the wait at once, and every later call.
    server.answer("STOR", "");
    server.onDataClosed = [] {}; // its "226" would go to the next session (this server has one at a time)
    QTimer::singleShot(100, [&] { c->Stop(); });
    QElapsedTimer t;
    t.start();
    EXPECT_THROW(upload(*c, "x", QStringLiteral("a.htm")), EStopped);
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_THROW(c->ChangeDir(QStringLiteral("www")), EStopped);
    server.override = nullptr;
    c->Login(); // a new session goes again
    c->ChangeDir(QStringLiteral("www"));
    EXPECT_EQ(c->LastReplyCode, 250);
}

TEST(FtpProtocol, RepliesAreBoundedAndEpsvIsRead) {
    ftp::TReplyReader one;
    EXPECT_EQ(one.Add("200 OK"), ftp::TReplyReader::Complete);
    ftp::TReplyReader many;
    EXPECT_EQ(many.Add("220-a"), ftp::TReplyReader::More);
    EXPECT_EQ(many.Add("220 b"), ftp::TReplyReader::Complete);
    EXPECT_EQ(many.First(), QByteArray("220-a"));
    ftp::TReplyReader endless;
    int lines = 1;
    ftp::TReplyReader::State s = endless.Add("220-a");
    while (s == ftp::TReplyReader::More && lines < 5000) s = endless.Add("220-again"), ++lines;
    EXPECT_EQ(s, ftp::TReplyReader::TooLong);
    EXPECT_EQ(lines, ftp::kMaxReplyLines);
    ftp::TReplyReader wide;
    s = wide.Add("220-a");
    while (s == ftp::TReplyReader::More) s = wide.Add(QByteArray(8000, 'w'));
    EXPECT_EQ(s, ftp::TReplyReader::TooLong);
    EXPECT_LE(wide.Lines(), 10);

    uint16_t port = 0;
    ASSERT_TRUE(ftp::ParseEpsv(QStringLiteral("Entering Extended Passive Mode (|||6446|)"), port));
    EXPECT_EQ(port, 6446);
    ASSERT_TRUE(ftp::ParseEpsv(QStringLiteral("(!!!1!)"), port));
    EXPECT_EQ(port, 1);
    for (const char *bad : {"(|||0|)", "(|||65536|)", "(||1.2.3.4|21|)", "(|||x|)", "(1111)", "(|||21)", "|||21|", "(|||-1|)"})
        EXPECT_FALSE(ftp::ParseEpsv(QString::fromLatin1(bad), port)) << bad;
}
