// The configuration file is the old program's format, byte for byte: the
// whole program, set to known values, writes exactly the file kept here.
#include "dialogs/link_dialog_state.h"
#include "documents/main_window.h"
#include "options/browser_choice_state.h"
#include "settings/compress_file.h"
#include "settings/settings.h"
#include "site/site_state.h"
#include "subsystems.h"
#include "support/scripted_services.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;

namespace {

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(ConfigBytes, TheWholeProgramWritesTheKnownFile) {
    test::ScriptedServices services;
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    qputenv("XDG_STATE_HOME", dir.filePath("state").toLocal8Bit());
    TfrmMain::ProgramFile = dir.filePath("bin/xo");
    SetDefaultSettings();
    services.onModal = [](QDialog &) { return int(QDialog::Rejected); }; // the tip of the day
    auto frame = std::make_unique<TfrmMain>(QStringList(), AllSubsystems(), ConfigOrder());
    frame->setGeometry(40, 30, 1000, 700);
    frame->show();
    const QDeadlineTimer deadline(10000);
    while (!frame->StartupDone() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(frame->StartupDone());
    services.onModal = nullptr;

    // Every section with values of its own.
    Settings.ShortTitle = true;
    Settings.TipNumber = 7;
    UserTags[7] = {"Mine", "Q", " a=1", "text", true};
    TextStyles[3] = {"Styl", "<B>", "</B>"};
    EditorColors[2] = 0x123456;
    frame->AddRecentFile(QStringLiteral("/srv/web/old.htm"));
    frame->AddRecentFile(QStringLiteral("/srv/web/new.htm"));
    frame->OpenDirectory = QStringLiteral("/srv/web");
    frame->SaveDirectory = QStringLiteral("/srv/out");
    auto *find = frame->Dialog("TdlgFind")->findChild<QComboBox *>(QStringLiteral("cmbText"));
    ASSERT_TRUE(find);
    find->addItems({"one", "two"});
    HierarchieState.Server = "ftp.example.org";
    HierarchieState.Directory = "/www";
    HierarchieState.OnlyToday = true;
    ChooseBrowserState.Index = 1;
    ChooseDirState.Directory = "/srv/chosen/";
    TagAHrefState.History = {"a.htm", "b.htm"};
    SearchFilesState = {"/srv/search/", "*.txt", "needle"};
    PredefinedDirs = {"/srv/web/", "/srv/other"};
    SpecialOpenSave = true;
    frame->close();
    frame.reset();

    const QString written = dir.filePath("xo/xo.config");
    const QString known = QStringLiteral(XO_SOURCE_DIR "/tests/app/known.config");
    if (qEnvironmentVariableIsSet("XO_WRITE_KNOWN_CONFIG")) QFile::copy(written, known); // to make it anew, on purpose
    const QByteArray expected = readAll(known);
    ASSERT_FALSE(expected.isEmpty()) << "tests/app/known.config is missing";
    const QByteArray got = readAll(written);
    EXPECT_TRUE(got == expected) << "the configuration differs from the known file: " << got.size() << " bytes, "
                                 << expected.size() << " expected";
    // Its content, unpacked, for a readable difference.
    TCompressFile a(written, TCompressFile::fmOpenRead), b(known, TCompressFile::fmOpenRead);
    EXPECT_EQ(a.Content(), b.Content());
}
