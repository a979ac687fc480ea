#include "subsystems.h"
#include "support/config_file.h"
#include "frame_test_util.h"
#include "settings/compress_file.h"
#include "settings/config_location.h"
#include "platform/safe_file.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QMdiArea>
#include <sys/stat.h>

using namespace xo;
using test::FrameTest;

// The whole program: the file holds every subsystem's sections.
class ConfigTest : public FrameTest {
protected:
    std::vector<Subsystem> defaultSubsystems() override { return AllSubsystems(); }
    QStringList configOrder() override { return ConfigOrder(); }
};

namespace {

test::ConfigFile readBack(const QString &path) {
    TCompressFile f(path, TCompressFile::fmOpenRead);
    test::ConfigFile c;
    c.Read(f);
    EXPECT_FALSE(c.damaged);
    EXPECT_TRUE(f.AtEnd()) << "the file holds more than its layout";
    return c;
}

void writeRaw(const QString &path, const std::vector<uint8_t> &content) {
    const auto file = TCompressFile::Pack(content);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(reinterpret_cast<const char *>(file.data()), qint64(file.size()));
}

} // namespace

TEST_F(ConfigTest, AFirstStartUsesDefaultsAndWritesTheWholeLayoutAtExit) {
    EXPECT_TRUE(frame->ConfigMissing);
    EXPECT_EQ(frame->ConfigPath, configFile());
    frame->close();
    ASSERT_TRUE(QFileInfo::exists(configFile()));
    const auto perms = QFileInfo(configFile()).permissions(); // owner only: it holds a password
    EXPECT_EQ(perms & 0x6000, 0x6000);
    EXPECT_EQ(perms & 0x0077, 0);
    // Byte by byte, as the layout says.
    TCompressFile f(configFile(), TCompressFile::fmOpenRead);
    EXPECT_EQ(f.ReadString(), "Con 8.1.0.02");
    EXPECT_EQ(f.ReadString(), "Main");
    for (int i = 0; i < 4; ++i) f.ReadInteger();
    EXPECT_EQ(f.ReadByte(), 0);
    std::vector<uint8_t> block(624);
    f.ReadBuffer(block.data(), 624);
    TSettings defaults;
    defaults.TipNumber = 1; // the first tip was shown at start
    EXPECT_EQ(block, SettingsToBytes(defaults));
    block.resize(64 + 7650 + 12500);
    f.ReadBuffer(block.data(), block.size());
    EXPECT_EQ(block[4], 0x00); // colour 1, aqua
    EXPECT_EQ(block[5], 0xFF);
    EXPECT_EQ(block[64], 17); // text style 1: "&Modrý tučný text"
    EXPECT_EQ(block[64 + 7650 + 250], 9); // user tag 2: "Copyright"
    const auto colors = f.ReadStrings();
    ASSERT_EQ(colors.size(), 16u);
    EXPECT_EQ(colors[15], "F00000");
    EXPECT_EQ(f.ReadInteger(), 0);
    EXPECT_EQ(f.ReadInteger(), 0);
    EXPECT_EQ(f.ReadInteger(), 0); // recent files
    EXPECT_EQ(f.ReadInteger(), 0); // windows
    f.ReadString();
    EXPECT_EQ(f.ReadInteger(), 1);
    f.ReadString();
    // Each section starts with its tag, in this order.
    const std::vector<uint8_t> &content = f.Content();
    auto at = content.begin();
    for (const std::string tag : {"FindDial", "ReplaceDial", "Hierarchie", "ChooseBrowser", "ChooseDir", "TagAHref",
                                  "SearchFiles"}) {
        at = std::search(at, content.end(), tag.begin(), tag.end());
        EXPECT_NE(at, content.end()) << tag;
    }
    const test::ConfigFile c = readBack(configFile());
    EXPECT_EQ(c.hierarchie.UserName, "anonymous");
    EXPECT_EQ(c.hierarchie.Port, "21");
    EXPECT_EQ(c.searchFiles.Mask, "*.htm*");
    EXPECT_TRUE(c.predefinedDirs.isEmpty());
    EXPECT_FALSE(c.specialOpenSave);
}

TEST_F(ConfigTest, TheNextStartReopensWindowsAndRemembersEverything) {
    const QString a = file("a.htm", "0123456789\r\nabc"), b = file("b.htm", "bbb"), gone = file("gone.htm");
    frame->OpenDocument(gone);
    frame->mnZavritClick(); // into the recent files
    TMDIChild *wa = frame->OpenDocument(a);
    wa->Editor->SetSelection(3, 8);
    TMDIChild *wb = frame->OpenDocument(b);
    wb->showMaximized();
    frame->NewDocumentWindow(QString()); // never saved: not reopened
    Settings.ShortTitle = true;
    Settings.RunTip = false;
    Settings.TipNumber = 7;
    UserTags[7] = {"Mine", "Q", "", "", true};
    findDialog()->cmbText->addItems({"one", "two"});
    HierarchieState.Server = "ftp.example.org";
    PredefinedDirs = {dir.path() + "/", dir.path() + "/sub"}; // kept as given, with or without "/"
    SpecialOpenSave = true;
    frame->OpenDirectory = dir.path();
    QFile::remove(gone);
    frame->close();

    startFrame();
    EXPECT_FALSE(frame->ConfigMissing);
    EXPECT_FALSE(frame->ConfigBad);
    EXPECT_TRUE(Settings.ShortTitle);
    EXPECT_EQ(Settings.TipNumber, 7);
    EXPECT_EQ(UserTags[7].Name.str(), "Mine");
    EXPECT_EQ(frame->RecentFiles(), QStringList({gone}));
    EXPECT_EQ(findDialog()->cmbText->count(), 2);
    EXPECT_EQ(HierarchieState.Server, "ftp.example.org");
    EXPECT_EQ(PredefinedDirs, QStringList({dir.path() + "/", dir.path() + "/sub"}));
    EXPECT_TRUE(SpecialOpenSave);
    EXPECT_EQ(frame->OpenDirectory, dir.path());
    const auto windows = frame->DocumentWindows();
    ASSERT_EQ(windows.size(), 2);
    TMDIChild *ra = nullptr;
    for (TMDIChild *w : windows)
        if (w->Editor->FileName == a) ra = w;
    ASSERT_NE(ra, nullptr);
    EXPECT_EQ(ra->Editor->SelStart(), 3);
    EXPECT_EQ(ra->Editor->SelEnd(), 8);
    EXPECT_EQ(ra->windowTitle(), "a.htm");
}

TEST_F(ConfigTest, AMaximisedWindowIsStoredWithItsNormalBounds) {
    TMDIChild *w = frame->OpenDocument(file("m.htm"));
    w->showNormal();
    w->setGeometry(10, 20, 300, 200);
    const QRect normal = w->geometry();
    w->showMaximized();
    frame->close();
    const test::ConfigFile c = readBack(configFile());
    ASSERT_TRUE(c.main);
    ASSERT_EQ(c.main->windows.size(), 1u);
    ASSERT_TRUE(c.main->windows[0]);
    EXPECT_EQ(QRect(c.main->windows[0]->left, c.main->windows[0]->top, c.main->windows[0]->width,
                    c.main->windows[0]->height),
              normal);
}

TEST_F(ConfigTest, RestoredWindowsKeepTheirPlaceAndTheHelpWindowClosesAtExit) {
    const QRect first(5, 6, 300, 200), second(50, 60, 320, 210);
    frame->OpenDocument(file("p.htm"))->setGeometry(first);
    frame->OpenDocument(file("q.htm"))->setGeometry(second);
    frame->close();
    EXPECT_EQ(services.helpQuits, 1); // the help window does not outlive the frame

    startFrame();
    QList<QRect> bounds;
    for (TMDIChild *w : frame->DocumentWindows()) bounds << w->geometry();
    EXPECT_TRUE(bounds.contains(first)) << bounds.size();
    EXPECT_TRUE(bounds.contains(second));
    frame->close();
    const test::ConfigFile c = readBack(configFile());
    ASSERT_TRUE(c.main);
    QList<QRect> stored;
    for (const auto &w : c.main->windows)
        if (w) stored << QRect(w->left, w->top, w->width, w->height);
    EXPECT_TRUE(stored.contains(first));
    EXPECT_TRUE(stored.contains(second));
}

TEST_F(ConfigTest, WithReadWinsOffNoWindowIsStoredOrReopened) {
    frame->OpenDocument(file("w.htm"));
    Settings.ReadWins = false;
    frame->close();
    const test::ConfigFile c = readBack(configFile());
    EXPECT_TRUE(c.main->windows.empty());
    startFrame();
    EXPECT_TRUE(frame->DocumentWindows().isEmpty());
}

TEST_F(ConfigTest, AFindHistoryOf150IsStoredAsItsFirst100) {
    for (int i = 0; i < 150; ++i) findDialog()->cmbText->addItem(QStringLiteral("text %1").arg(i));
    frame->close();
    const test::ConfigFile c = readBack(configFile());
    ASSERT_TRUE(c.find);
    ASSERT_EQ(c.find->history.size(), 100);
    EXPECT_EQ(c.find->history.front(), "text 0");
    EXPECT_EQ(c.find->history.back(), "text 99");
}

TEST_F(ConfigTest, AWrongSignatureIsReportedAndReplacedAtExit) {
    Settings.ShortTitle = true;
    frame->close();
    {
        TCompressFile f(configFile(), TCompressFile::fmCreate);
        f.WriteString("Con 8.1.0.03");
        f.WriteString("Main");
        ASSERT_TRUE(f.Close());
    }
    services.expectMessage(QStringLiteral("Chybný konfigurační soubor"));
    startFrame();
    EXPECT_TRUE(frame->ConfigBad);
    EXPECT_FALSE(Settings.ShortTitle);
    frame->close();
    EXPECT_TRUE(readBack(configFile()).signatureOk);
}

TEST_F(ConfigTest, ATruncatedOrHostileFileKeepsTheDefaults) {
    frame->OpenDocument(file("t.htm"));
    Settings.ShortTitle = true;
    frame->close();
    QFile f(configFile());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray whole = f.readAll();
    f.resize(whole.size() / 3);
    f.close();
    services.expectMessage(QStringLiteral("Chybný konfigurační soubor"));
    startFrame();
    EXPECT_TRUE(frame->ConfigBad);
    EXPECT_FALSE(Settings.ShortTitle); // defaults again after a bad file

    // A window count of a billion after a valid start.
    std::vector<uint8_t> content;
    auto put = [&](const std::string &s) {
        const uint32_t n = uint32_t(s.size());
        for (int i = 0; i < 4; ++i) content.push_back(uint8_t(n >> (8 * i)));
        if (n) {
            content.insert(content.end(), s.begin(), s.end());
            content.push_back(0);
        }
    };
    put("Con 8.1.0.02");
    put("Main");
    content.resize(content.size() + 17 + 624 + 64 + 7650 + 12500, 0);
    content.insert(content.end(), {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}); // colours, reserved, recent
    content.insert(content.end(), {0x00, 0xCA, 0x9A, 0x3B});                           // 10^9 windows
    frame->close();
    writeRaw(configFile(), content);
    services.expectMessage(QStringLiteral("Chybný konfigurační soubor"));
    startFrame();
    EXPECT_TRUE(frame->DocumentWindows().isEmpty());
    // Content that ends inside the fixed records would read as zeros (black on black).
    frame->close();
    TCompressFile written(configFile(), TCompressFile::fmOpenRead);
    std::vector<uint8_t> cut = written.Content();
    cut.resize(100);
    writeRaw(configFile(), cut);
    services.expectMessage(QStringLiteral("Chybný konfigurační soubor"));
    startFrame();
    EXPECT_NE(EditorColors[ecStdText], EditorColors[ecStdBackgr]);
}

TEST_F(ConfigTest, StoredMainBoundsAreShrunkToTheScreen) {
    frame->close();
    TCompressFile whole(configFile(), TCompressFile::fmOpenRead);
    const std::vector<uint8_t> good = whole.Content();
    const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
    const size_t bounds = 4 + 13 + 4 + 5; // after the signature and the "Main" tag
    for (int32_t v : {30000, INT32_MAX}) {
        std::vector<uint8_t> content = good;
        // 30000 x 30000 at the stored place; INT_MAX everywhere.
        for (size_t k = v == INT32_MAX ? 0 : 2; k < 4; ++k)
            for (int i = 0; i < 4; ++i) content[bounds + 4 * k + size_t(i)] = uint8_t(uint32_t(v) >> (8 * i));
        writeRaw(configFile(), content);
        startFrame();
        EXPECT_LE(frame->width(), avail.width());
        EXPECT_LE(frame->height(), avail.height());
        frame->close();
        const test::ConfigFile back = readBack(configFile());
        ASSERT_TRUE(back.main);
        EXPECT_LE(back.main->bounds.width(), avail.width());
    }
}

TEST_F(ConfigTest, AnOlderFileWithoutTheLastSectionsIsFine) {
    findDialog()->cmbText->addItem("kept");
    frame->close();
    // Cut the content right after the find section.
    TCompressFile r(configFile(), TCompressFile::fmOpenRead);
    std::vector<uint8_t> content = r.Content();
    const std::string tag = "ReplaceDial";
    auto at = std::search(content.begin(), content.end(), tag.begin(), tag.end());
    ASSERT_NE(at, content.end());
    content.erase(at - 4, content.end());
    writeRaw(configFile(), content);
    HierarchieState.Server = "before";
    startFrame(); // no message expected
    EXPECT_FALSE(frame->ConfigBad);
    EXPECT_EQ(findDialog()->cmbText->itemText(0), "kept");
    EXPECT_EQ(HierarchieState.Server, "before");
}

TEST_F(ConfigTest, RestoredSelectionsAreClampedToTheFileAsItIsNow) {
    const QString path = file("shrink.htm", "0123456789\r\n0123456789");
    TMDIChild *w = frame->OpenDocument(path);
    w->Editor->SetSelection(15, 22);
    frame->close();
    file("shrink.htm", "ab\r\ncd"); // shrank
    startFrame();
    ASSERT_EQ(frame->DocumentWindows().size(), 1);
    TEditor *e = frame->DocumentWindows().first()->Editor;
    EXPECT_EQ(e->SelStart(), 7);
    EXPECT_EQ(e->SelEnd(), 7);
    frame->close();
    file("shrink.htm", "ab\r\ncd");
    TCompressFile f(configFile(), TCompressFile::fmOpenRead);
    test::ConfigFile c;
    c.Read(f);
    // Between a CR and its LF a bound steps back before the CR.
    c.main->windows[0]->selStart = 4;
    c.main->windows[0]->selEnd = 4;
    {
        TCompressFile w2(configFile(), TCompressFile::fmCreate);
        c.Write(w2);
        ASSERT_TRUE(w2.Close());
    }
    startFrame();
    EXPECT_EQ(frame->DocumentWindows().first()->Editor->SelStart(), 3);
}

TEST_F(ConfigTest, OwnSwitchesFlatButtonsOffAndItIsWrittenSo) {
    Settings.ComCtl32Paint = true;
    frame->close();
    startFrame();
    EXPECT_TRUE(Settings.ComCtl32Paint);
    frame->close();
    startFrame({"xo", "/own"});
    EXPECT_FALSE(Settings.ComCtl32Paint);
    frame->close();
    EXPECT_FALSE(readBack(configFile()).main->settings.ComCtl32Paint);
    startFrame({"xo", "/OWN"}); // compared exactly
    EXPECT_FALSE(Settings.ComCtl32Paint);
}

TEST_F(ConfigTest, TheConfigurationIsWrittenWholeOrNotAtAllAndOnlyAsARegularFile) {
    frame->close();
    const QByteArray good = read(configFile());
    // A disk that fills up while the configuration is written.
    startFrame();
    Settings.ShortTitle = true;
    platform::FailWritesAfterForTests(10);
    services.expectMessage(QStringLiteral("Konfigurační soubor nelze vytvořit"));
    frame->close();
    platform::FailWritesAfterForTests(-1);
    EXPECT_EQ(read(configFile()), good);
    // A redirection to a FIFO: read as missing, never replaced.
    const QString fifo = dir.filePath("config.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    file("xo/xo.net", QFile::encodeName(fifo) + "\n");
    startFrame();
    EXPECT_TRUE(frame->ConfigMissing);
    services.expectMessage(QStringLiteral("Konfigurační soubor nelze vytvořit"));
    frame->close();
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}


TEST(ConfigLocation, RedirectionFileNamesTheConfiguration) {
    QTemporaryDir d;
    const QString stem = d.filePath("xo.");
    EXPECT_EQ(ConfigPathFor(stem), stem + "config");
    QFile net(stem + "net");
    ASSERT_TRUE(net.open(QIODevice::WriteOnly));
    net.write("/data/moje.cfg\r\nignored");
    net.close();
    EXPECT_EQ(ConfigPathFor(stem), "/data/moje.cfg");
    ASSERT_TRUE(net.open(QIODevice::WriteOnly | QIODevice::Truncate));
    net.write("relative/moje.cfg");
    net.close();
    EXPECT_EQ(ConfigPathFor(stem), d.filePath("relative/moje.cfg"));
    ASSERT_TRUE(net.open(QIODevice::WriteOnly | QIODevice::Truncate));
    net.write("\r\n");
    net.close();
    EXPECT_EQ(ConfigPathFor(stem), stem + "config");
}

TEST(ConfigLocation, PortableBesideTheProgramElseInTheUsersConfigDirectory) {
    QTemporaryDir d;
    qputenv("XDG_CONFIG_HOME", d.filePath("cfg").toLocal8Bit());
    QDir(d.path()).mkpath("bin");
    EXPECT_EQ(ConfigStem(d.filePath("bin/xo")), d.filePath("cfg/xo/xo."));
    QFile(d.filePath("bin/xo.config")).open(QIODevice::WriteOnly);
    EXPECT_EQ(ConfigStem(d.filePath("bin/xo")), d.filePath("bin/xo."));
}
