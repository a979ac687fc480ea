#include "documents/main_window.h"
#include "editor/document_file.h"
#include "editor/utf8_text.h"
#include "editor/editor_test_util.h"
#include "editor/editor_widget.h"
#include "recovery/journal.h"
#include "recovery/keeper.h"
#include "settings/settings.h"
#include "subsystems.h"
#include "support/scripted_services.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace xo;
using test::Model;

namespace {

class RecoveryTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSettings();
        qputenv("XDG_STATE_HOME", dir.filePath("state").toLocal8Bit());
    }
    QString root() const { return dir.filePath("state/xo/recovery"); }
    // A folder as a program now gone left it.
    QString leftBehind(const QString &name, const std::vector<std::pair<JournalEntry, std::string>> &docs) {
        const QString folder = root() + u'/' + name;
        QDir().mkpath(folder);
        const pid_t child = ::fork();
        if (child == 0) ::_exit(0);
        ::waitpid(child, nullptr, 0); // its number belongs to no process now
        QFile lock(folder + QStringLiteral("/lock"));
        EXPECT_TRUE(lock.open(QIODevice::WriteOnly));
        lock.write(QByteArray::number(child) + " 1\n");
        int n = 0;
        for (const auto &[header, text] : docs)
            EXPECT_TRUE(WriteJournalEntry(folder + QStringLiteral("/doc-%1.xoj").arg(++n), header, text, {}));
        return folder;
    }
    QTemporaryDir dir;
    test::ScriptedServices services;
};

JournalEntry named(const QString &file, bool utf8, bool dos) {
    JournalEntry e;
    e.fileName = file;
    e.utf8 = e.bom = utf8;
    e.dosLineEnds = dos;
    e.selStart = 3;
    e.selEnd = 5;
    e.place = QRect(10, 20, 300, 200);
    return e;
}

} // namespace

TEST_F(RecoveryTest, EntriesKeepTextEncodingLineEndsAndPlaceAndADamagedOneIsKnown) {
    const std::string text = "P\xF8\xEDli\x9A\r\n&#128512; end"; // "Příliš" in code page 1250
    const QString path = dir.filePath("e.xoj");
    for (bool utf8 : {false, true})
        for (bool dos : {false, true}) {
            const JournalEntry header = named(QStringLiteral("/srv/a b\nc.htm"), utf8, dos);
            ASSERT_TRUE(WriteJournalEntry(path, header, text.substr(0, 5), text.substr(5)));
            EXPECT_EQ(QFile::permissions(path) & 0x0077, 0); // the owner's alone
            JournalEntry back;
            QString why;
            ASSERT_TRUE(ReadJournalEntry(path, back, why)) << why.toStdString();
            EXPECT_EQ(back.fileName, header.fileName);
            EXPECT_EQ(back.utf8, utf8);
            EXPECT_EQ(back.dosLineEnds, dos);
            EXPECT_EQ(back.place, header.place);
            EXPECT_EQ(back.selStart, 3);
            // The text as the document's file would hold it.
            std::string file = dos ? text : "P\xF8\xEDli\x9A\n&#128512; end";
            if (utf8) file = "\xEF\xBB\xBF" + Cp1250ToUtf8(file);
            EXPECT_EQ(back.text, file);
            DocumentBytes doc;
            ASSERT_EQ(DocumentFromBytes(back.text, utf8, doc), ReadStatus::Ok);
            EXPECT_EQ(std::string(doc.data.get(), doc.size), text);
        }
    // Cut short, or a byte changed: never taken for a whole entry.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray all = f.readAll();
    JournalEntry back;
    QString why;
    for (const QByteArray &bad : {all.left(all.size() - 9), QByteArray(all).replace("end", "End"), QByteArray("junk")}) {
        f.resize(0);
        f.seek(0);
        f.write(bad);
        f.flush();
        EXPECT_FALSE(ReadJournalEntry(path, back, why)) << bad.toStdString();
        EXPECT_FALSE(why.isEmpty());
    }
}

TEST_F(RecoveryTest, OnlyFoldersOfProgramsThatAreGoneAreTakenAndByOneProgramOnly) {
    TRecoveryJournal running;
    ASSERT_TRUE(running.Open());
    ASSERT_TRUE(WriteJournalEntry(running.EntryPath(1), named(QString(), false, true), "mine", {}));
    EXPECT_TRUE(OwnerRuns(CurrentOwner()));
    const QString gone = leftBehind(QStringLiteral("gone"), {{named(QString(), false, true), "lost text"}});
    // A folder whose lock names this very process is alive, though its file lock is free.
    const QString alive = root() + QStringLiteral("/alive");
    QDir().mkpath(alive);
    QFile lock(alive + QStringLiteral("/lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(CurrentOwner().pid) + ' ' + QByteArray::number(CurrentOwner().started) + '\n');
    lock.close();
    ASSERT_TRUE(WriteJournalEntry(alive + QStringLiteral("/doc-1.xoj"), named(QString(), false, true), "x", {}));

    TRecoveryJournal next, another;
    ASSERT_TRUE(next.Open());
    std::vector<TRecoveryJournal::Orphan> taken = next.TakeOrphans();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].folder, gone);
    ASSERT_EQ(taken[0].entries.size(), 1u);
    EXPECT_EQ(taken[0].entries[0].text, "lost text");
    EXPECT_TRUE(another.TakeOrphans().empty()); // held by the one that took it
    TRecoveryJournal::Release(taken[0]);
    taken = another.TakeOrphans(); // given back: the next start may take it
    ASSERT_EQ(taken.size(), 1u);
    TRecoveryJournal::Discard(taken[0]);
    EXPECT_FALSE(QDir(gone).exists());
    EXPECT_TRUE(QFile::exists(running.EntryPath(1)));
    running.RemoveAll();
    EXPECT_FALSE(QDir(running.Folder()).exists());
}

TEST_F(RecoveryTest, TheKeeperWritesAfterAPauseAtLeastEveryHalfMinuteAndForgetsSavedDocuments) {
    TRecoveryJournal journal;
    ASSERT_TRUE(journal.Open());
    TRecoveryKeeper keeper(journal);
    Model a, b;
    a.SetText("alpha");
    b.SetText("beta");
    std::vector<KeptDocument> open{{1, &a, QRect(1, 2, 3, 4)}, {2, &b, {}}};
    keeper.Documents = [&] { return open; };
    const auto entry = [&](int serial) {
        keeper.WaitForWrites();
        JournalEntry e;
        QString why;
        return ReadJournalEntry(journal.EntryPath(serial), e, why) ? e.text : std::string("<none>");
    };
    QDateTime t(QDate(2026, 12, 7), QTime(10, 0));
    keeper.Tick(t);
    EXPECT_EQ(entry(1), "<none>"); // not modified: nothing to keep
    a.caret(6);
    a.type("!");
    keeper.Tick(t);
    keeper.Tick(t = t.addMSecs(1400));
    EXPECT_EQ(entry(1), "<none>"); // still typing, as far as it knows
    keeper.Tick(t = t.addMSecs(200));
    EXPECT_EQ(entry(1), "alpha!");
    EXPECT_TRUE(keeper.EntryCurrent(1));
    // Typing that never pauses for long is kept at least every 30 seconds.
    for (int s = 1; s <= 31; ++s) {
        a.type("x");
        keeper.Tick(t = t.addSecs(1));
    }
    keeper.WaitForWrites();
    EXPECT_GE(entry(1).size(), std::string("alpha!").size() + 29);
    // Saved: gone. Closed without saving: gone.
    a.ClearModified();
    b.type("?");
    keeper.Tick(t = t.addSecs(2));
    keeper.Tick(t = t.addSecs(2));
    EXPECT_EQ(entry(1), "<none>");
    EXPECT_EQ(entry(2), "?beta");
    open.pop_back();
    keeper.Tick(t = t.addSecs(1));
    EXPECT_EQ(entry(2), "<none>");
}

TEST_F(RecoveryTest, ACopyInSlicesThatFindsTheTextChangedStartsOver) {
    TRecoveryJournal journal;
    ASSERT_TRUE(journal.Open());
    TRecoveryKeeper keeper(journal);
    keeper.SliceBytes = 10;
    Model a;
    a.SetText(std::string(100, 'a'));
    std::vector<KeptDocument> open{{1, &a, {}}};
    keeper.Documents = [&] { return open; };
    a.type("b");
    QDateTime t(QDate(2026, 12, 7), QTime(10, 0));
    keeper.Tick(t);
    keeper.Tick(t = t.addSecs(2)); // the first slice
    ASSERT_TRUE(keeper.Copying());
    a.type("c"); // a key between two slices
    EXPECT_FALSE(keeper.Slice());
    EXPECT_FALSE(keeper.Copying());
    keeper.Tick(t = t.addSecs(1)); // the change is seen; due after a pause
    keeper.Tick(t = t.addSecs(2));
    EXPECT_TRUE(keeper.Copying());
    while (keeper.Slice()) {
    }
    keeper.WaitForWrites();
    JournalEntry e;
    QString why;
    ASSERT_TRUE(ReadJournalEntry(journal.EntryPath(1), e, why));
    EXPECT_EQ(e.text, "bc" + std::string(100, 'a'));
}

TEST_F(RecoveryTest, TheNextStartOffersTheDocumentsBackAsTheyWere) {
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    TfrmMain::ProgramFile = dir.filePath("bin/xo");
    Settings.RunTip = false;
    const QString page = dir.filePath("page.htm");
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old text on disk");
    file.close();
    JournalEntry n = named(page, true, false);
    n.disk = EditorCore::StampOf(page);
    n.selStart = n.selEnd = 2;
    leftBehind(QStringLiteral("crashed"), {{n, "new\r\ntext \x9A"}, {named(QString(), false, true), "never saved"}});
    services.expectMessage(QStringLiteral("Program minule neskončil řádně. Tyto dokumenty mají neuložené změny, které "
                                          "lze obnovit:\n\n%1\n(nepojmenovaný dokument)\n\nObnovit je? (Soubory na "
                                          "disku se změní až uložením.)")
                               .arg(page),
                           platform::Answer::Yes, platform::Icon::Question);
    services.onModal = [](QDialog &) { return int(QDialog::Rejected); };
    auto frame = std::make_unique<TfrmMain>(QStringList(), AllSubsystems(), ConfigOrder());
    frame->show();
    const QDeadlineTimer deadline(10000);
    while (!frame->StartupDone() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_EQ(frame->DocumentWindows().size(), 2);
    TEditor *named = nullptr, *unnamed = nullptr;
    for (TMDIChild *c : frame->DocumentWindows()) (c->Editor->FileName.isEmpty() ? unnamed : named) = c->Editor;
    ASSERT_TRUE(named && unnamed);
    EXPECT_EQ(named->Text(), "new\r\ntext \x9A");
    EXPECT_TRUE(named->Utf8);
    EXPECT_FALSE(named->DosLineEnds);
    EXPECT_TRUE(named->Modified());
    EXPECT_EQ(named->SelStart(), 2);
    EXPECT_EQ(unnamed->Text(), "never saved");
    EXPECT_TRUE(unnamed->Modified());
    QFile again(page);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("old text on disk")); // untouched until saved
    EXPECT_FALSE(QDir(root() + QStringLiteral("/crashed")).exists());
    // The file changed since the entry was written: the save asks first.
    again.close();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("changed by another program");
    file.close();
    services.expectMessage(QStringLiteral("Soubor %1 byl změněn jiným programem a dokument obsahuje neuložené změny."
                                          "\n\nAno: přepsat soubor dokumentem z editoru\nNe: načíst soubor znovu "
                                          "(změny v dokumentu se ztratí)\nStorno: neukládat")
                               .arg(page),
                           platform::Answer::Cancel, platform::Icon::Question);
    EXPECT_FALSE(named->SaveToFile());
    frame.reset();
}
