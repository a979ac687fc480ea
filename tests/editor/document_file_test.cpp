#include "editor/document_file.h"
#include "editor/shared_routines.h"
#include "platform/safe_file.h"
#include "editor_test_util.h"
#include "settings/settings.h"
#include "support/scripted_services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace xo;
using test::Model;

namespace {

class DocumentFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSettings();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    void write(const QString &name, const std::string &bytes) {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes.data(), qint64(bytes.size()));
    }
    std::string read(const QString &name) {
        QFile f(path(name));
        if (!f.open(QIODevice::ReadOnly)) return "<missing>";
        return f.readAll().toStdString();
    }
    bool load(Model &m, const std::string &bytes, const QString &name = "doc.htm") {
        write(name, bytes);
        return m.LoadFromFile(path(name));
    }

    QTemporaryDir dir;
    test::ScriptedServices services;
};

} // namespace

TEST_F(DocumentFileTest, LineEndsAreDetectedAndNormalised) {
    Model m;
    ASSERT_TRUE(load(m, ""));
    EXPECT_TRUE(m.DosLineEnds);
    EXPECT_EQ(m.TextLength(), 0);

    ASSERT_TRUE(load(m, "a\nb\n"));
    EXPECT_FALSE(m.DosLineEnds);
    EXPECT_EQ(m.Text(), "a\r\nb\r\n");
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("doc.htm"), "a\nb\n");

    ASSERT_TRUE(load(m, "a\nb"));
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("doc.htm"), "a\nb\n"); // gains the final LF

    ASSERT_TRUE(load(m, "a\r\nb\nc"));
    EXPECT_TRUE(m.DosLineEnds);
    EXPECT_EQ(m.Text(), "a\r\nb\nc"); // later bare LFs stay ordinary characters
    EXPECT_EQ(m.LineCount(), 2);

    ASSERT_TRUE(load(m, "only\n"));
    EXPECT_TRUE(m.DosLineEnds); // an LF as the very last character does not count

    ASSERT_TRUE(load(m, "x\r\ny\n")); // a CR before an LF in a Unix file stays in front of the new pair
    ASSERT_TRUE(load(m, "p\nq\r\n"));
    EXPECT_EQ(m.Text(), "p\r\nq\r\r\n");
}

TEST_F(DocumentFileTest, TabsBecomeFourSpacesAndAFinalCtrlZGoes) {
    Model m;
    ASSERT_TRUE(load(m, "\tx\t\x1a"));
    EXPECT_EQ(m.Text(), "    x    ");
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("doc.htm"), "    x    ");
    ASSERT_TRUE(load(m, "a\n\tb\n\x1a"));
    EXPECT_EQ(m.Text(), "a\r\n    b\r\n");
}

TEST_F(DocumentFileTest, LoadingResetsCaretUndoAndModified) {
    Model m;
    m.type("junk");
    ASSERT_TRUE(load(m, "new text"));
    EXPECT_EQ(m.SelStart(), 1);
    EXPECT_EQ(m.SelEnd(), 1);
    EXPECT_FALSE(m.Modified());
    EXPECT_TRUE(m.UndoRecords().empty());
    EXPECT_EQ(m.FileName, path("doc.htm"));
    EXPECT_EQ(WaitDepth(), 0);
}

TEST_F(DocumentFileTest, UnreadableFilesLoadNothing) {
    Model m;
    services.expectMessage(QStringLiteral("Soubor nenalezen nebo odepřen přístup"));
    EXPECT_FALSE(m.LoadFromFile(path("missing.htm")));
    // A FIFO would block a reader for ever; it is refused like a missing file.
    ASSERT_EQ(mkfifo(path("fifo").toLocal8Bit().constData(), 0600), 0);
    services.expectMessage(QStringLiteral("Soubor nenalezen nebo odepřen přístup"));
    EXPECT_FALSE(m.LoadFromFile(path("fifo")));
    services.expectMessage(QStringLiteral("Soubor nenalezen nebo odepřen přístup"));
    EXPECT_FALSE(m.LoadFromFile(dir.path()));
    if (geteuid() != 0) {
        write("secret.htm", "x");
        QFile::setPermissions(path("secret.htm"), QFileDevice::WriteOwner);
        services.expectMessage(QStringLiteral("Soubor nenalezen nebo odepřen přístup"));
        EXPECT_FALSE(m.LoadFromFile(path("secret.htm")));
    }
    EXPECT_TRUE(m.FileName.isEmpty());
    EXPECT_EQ(WaitDepth(), 0);
}

TEST_F(DocumentFileTest, DosDocumentsAreWrittenExactlyAsTheText) {
    Model m;
    m.SetText("a\r\nb\nc\r");
    m.FileName = path("new.htm");
    m.type("z");
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("new.htm"), "za\r\nb\nc\r");
    EXPECT_FALSE(m.Modified());
    EXPECT_EQ(read("new.bak"), "<missing>"); // no backup of a file that did not exist
    m.FileName.clear();
    EXPECT_FALSE(m.SaveToFile());
}

TEST_F(DocumentFileTest, BackupsKeepThePreviousContent) {
    Model m;
    ASSERT_TRUE(load(m, "first", "page.htm"));
    m.type("1");
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("page.bak"), "first");
    m.type("2");
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("page.bak"), "1first");
    EXPECT_EQ(read("page.htm"), "12first");
    // A document that is itself the backup name is saved without a backup of itself.
    ASSERT_TRUE(load(m, "bak text", "x.bak"));
    m.type("!");
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("x.bak"), "!bak text");
    // No backups when the option is off; the name without extension gets ".bak" appended.
    EXPECT_EQ(BackupFileName("/a/b.c/name"), "/a/b.c/name.bak");
    Settings.BAKs = false;
    ASSERT_TRUE(load(m, "v1", "plain.txt"));
    m.type("v2");
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("plain.bak"), "<missing>");
}

TEST_F(DocumentFileTest, AFailedSaveIsReportedAndKeepsTheOldFileAndTheModifiedText) {
    auto failsToSave = [&](Model &m) {
        m.type("new ");
        services.expectMessage(QStringLiteral("Chyba při ukládání souboru"));
        EXPECT_FALSE(m.SaveToFile());
        EXPECT_TRUE(m.Modified());
        EXPECT_EQ(WaitDepth(), 0);
    };
    Model missing;
    missing.SetText("text");
    missing.FileName = path("no/such/dir/a.htm");
    failsToSave(missing);
    Model m;
    if (geteuid() == 0) {
        // Root writes into read-only directories; /proc refuses even root.
        m.SetText("old");
        m.FileName = "/proc/xo-test-save.htm";
        failsToSave(m);
        return;
    }
    ASSERT_TRUE(load(m, "old", "ro.htm"));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    failsToSave(m);
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(read("ro.htm"), "old");
}

TEST_F(DocumentFileTest, StampsAreRefreshedAndTheSelectionFollowsItsText) {
    services.clock = QDateTime(QDate(2026, 12, 5), QTime(9, 5, 7));
    Model m;
    const std::string text = "<!--*DefDat*-->1.1.1999 x <!--*DefCas*-->12:00:00 tail <!--*DefDat*-->";
    ASSERT_TRUE(load(m, text));
    const int tail = int(text.find("tail")) + 1;
    m.SetSelection(tail, tail + 4);
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("doc.htm"), "<!--*DefDat*-->5.12.2026 x <!--*DefCas*-->9:05:07 tail <!--*DefDat*-->5.12.2026");
    EXPECT_EQ(m.GetTextRange(m.SelStart(), m.SelEnd()), "tail");
    EXPECT_FALSE(m.Modified());
}

TEST_F(DocumentFileTest, UndoAfterASaveNeverMakesATextThatNeverExisted) {
    services.clock = QDateTime(QDate(2026, 12, 5), QTime(9, 5, 7));
    Model m;
    ASSERT_TRUE(load(m, "<!--*DefDat*-->1.1.1999 hello"));
    m.caret(m.TextLength() + 1);
    m.KeyChar(8, false); // Backspace
    ASSERT_TRUE(m.SaveToFile());
    std::vector<std::string> seen;
    std::vector<int> carets;
    for (int i = 0; i < 4; ++i) {
        m.Undo();
        seen.push_back(m.Text());
        carets.push_back(m.SelStart());
    }
    EXPECT_EQ(seen[0], "<!--*DefDat*-->1.1.1999 hell");  // the stamp goes back in one step
    EXPECT_EQ(carets[0], int(seen[0].size()) + 1);        // with the caret where it was
    EXPECT_EQ(seen[1], "<!--*DefDat*-->1.1.1999 hello"); // the next press: the user's Backspace
    // A stamp that had no value yet, then typing after the save.
    ASSERT_TRUE(load(m, "x <!--*DefDat*--> <!--*DefCas*--> hello"));
    m.caret(m.TextLength() + 1);
    m.type("abc");
    ASSERT_TRUE(m.SaveToFile());
    m.type("d");
    m.Undo();
    EXPECT_EQ(m.Text(), "x <!--*DefDat*-->5.12.2026 <!--*DefCas*-->9:05:07 helloabc");
    m.Undo();
    EXPECT_EQ(m.Text(), "x <!--*DefDat*--> <!--*DefCas*--> helloabc");
    while (!m.UndoRecords().empty()) m.Undo();
    EXPECT_EQ(m.Text(), "x <!--*DefDat*--> <!--*DefCas*--> hello");
}

TEST_F(DocumentFileTest, ASaveThatChangesNothingVisibleAddsNoUndoStep) {
    services.clock = QDateTime(QDate(2026, 12, 5), QTime(9, 5, 7));
    Model m;
    // Type "ab", Left, "c", save, undo, save: the file holds the text before the "c".
    ASSERT_TRUE(load(m, ""));
    m.type("ab");
    m.key(Qt::Key_Left);
    m.type("c");
    const int before = m.UndoRecords().count();
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(m.UndoRecords().count(), before);
    m.Undo();
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("doc.htm"), "ab");
    // Stamps that already hold today's values are not rewritten either.
    ASSERT_TRUE(load(m, "<!--*DefDat*-->5.12.2026 <!--*DefCas*-->9:05:07 x"));
    m.caret(m.TextLength() + 1);
    m.type("y");
    const int typed = m.UndoRecords().count();
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(m.UndoRecords().count(), typed);
    m.Undo();
    EXPECT_EQ(m.Text(), "<!--*DefDat*-->5.12.2026 <!--*DefCas*-->9:05:07 x");
}

TEST_F(DocumentFileTest, AStampNearTheEndAfterAnEarlierOneGrewIsComplete) {
    services.clock = QDateTime(QDate(2026, 12, 25), QTime(23, 59, 59));
    Model m;
    // The first stamp grows by four characters; the last one sits at the very end.
    ASSERT_TRUE(load(m, "<!--*DefDat*-->1.1.1 <!--*DefDat*-->1.1.1999"));
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("doc.htm"), "<!--*DefDat*-->25.12.2026 <!--*DefDat*-->25.12.2026");
}

TEST_F(DocumentFileTest, UnixFilesSplitAcrossTheEditingGapAreWrittenRight) {
    Model m;
    ASSERT_TRUE(load(m, "ab\ncd\n"));
    // Leave the gap between the CR and the LF of the first line end.
    m.SetSelection(4, 4);
    m.type("x");
    m.KeyChar(8, false);
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("doc.htm"), "ab\ncd\n");
    // The same for pieces given directly.
    write("p.htm", "");
    ASSERT_TRUE(WriteDocumentFile(path("p.htm"), "a\r", "\nb\r\n", false, false));
    EXPECT_EQ(read("p.htm"), "a\nb\n");
    ASSERT_TRUE(WriteDocumentFile(path("p.htm"), "a\r", "b", false, false));
    EXPECT_EQ(read("p.htm"), "a\rb\n");
    ASSERT_TRUE(WriteDocumentFile(path("p.htm"), "", "", false, false));
    EXPECT_EQ(read("p.htm"), "");
}

TEST_F(DocumentFileTest, ASaveThatCannotCompleteKeepsTheOldFileWhole) {
    Settings.BAKs = false;
    Model m;
    ASSERT_TRUE(load(m, "old content", "full.htm"));
    m.type("x");
    // A disk that fills up: the first bytes still fit, the rest does not.
    platform::FailWritesAfterForTests(3);
    services.expectMessage(QStringLiteral("Chyba při ukládání souboru"));
    EXPECT_FALSE(m.SaveToFile());
    platform::FailWritesAfterForTests(-1);
    EXPECT_TRUE(m.Modified());
    EXPECT_EQ(read("full.htm"), "old content");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temporary left

    // A FIFO or a device is never replaced by a regular file.
    const QString fifo = path("pipe.htm");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    m.FileName = fifo;
    services.expectMessage(QStringLiteral("Chyba při ukládání souboru"));
    EXPECT_FALSE(m.SaveToFile());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(DocumentFileTest, ASaveOnARealFullDiskIsReported) {
    const QString mnt = path("small");
    QDir().mkpath(mnt);
    if (::mount("tmpfs", QFile::encodeName(mnt).constData(), "tmpfs", 0, "size=16k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): the injected failure covers this";
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount(at.constData()); }
    } unmount{QFile::encodeName(mnt)};
    {
        QFile doc(mnt + "/doc.htm");
        ASSERT_TRUE(doc.open(QIODevice::WriteOnly));
        doc.write("41 bytes of a small document, nearly done");
        doc.close();
        QFile fill(mnt + "/fill");
        ASSERT_TRUE(fill.open(QIODevice::WriteOnly));
        while (fill.write(QByteArray(4096, 'f')) > 0 && fill.flush()) {
        }
    }
    Model m;
    ASSERT_TRUE(m.LoadFromFile(mnt + "/doc.htm"));
    m.type("more ");
    services.expectMessage(QStringLiteral("Chyba při ukládání souboru"));
    EXPECT_FALSE(m.SaveToFile());
    EXPECT_TRUE(m.Modified());
    QFile doc(mnt + "/doc.htm");
    ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
    EXPECT_EQ(doc.readAll(), "41 bytes of a small document, nearly done");
}

TEST_F(DocumentFileTest, SavingThroughALinkKeepsTheLinkTheOwnerAndABackupOfTheOldText) {
    Settings.BAKs = true;
    write("real.htm", "old");
    const QString link = path("link.htm");
    ASSERT_TRUE(QFile::link(path("real.htm"), link));
    ::chmod(QFile::encodeName(path("real.htm")).constData(), 0640);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(path("real.htm")).constData(), 1000, 1000), 0);
    }
    Model m;
    ASSERT_TRUE(m.LoadFromFile(link));
    m.type("new ");
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(read("real.htm"), "new old");
    EXPECT_EQ(read("link.bak"), "old");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path("real.htm")).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    if (root) {
        EXPECT_EQ(st.st_uid, 1000u);
        EXPECT_EQ(st.st_gid, 1000u);
    }
}

TEST_F(DocumentFileTest, AFileChangedByAnotherProgramIsNeverWrittenOverWithoutAYes) {
    using platform::Answer;
    using platform::Icon;
    const QString doc = path("doc.htm");
    const QString reload = QStringLiteral("Soubor %1 byl změněn jiným programem. Načíst znovu?").arg(doc);
    Model m;
    ASSERT_TRUE(load(m, "one\r\ntwo\r\nthree"));
    m.caret(m.LineStart(2) + 2);
    EXPECT_TRUE(m.ResolveChangedFile(false)); // nothing changed: nothing asked

    // Unmodified: reload, the caret on its line, one undo step back; asked once per change.
    write("doc.htm", "ONE\nTWO\nTHREE\nFOUR");
    services.expectMessage(reload, Answer::Yes, Icon::Question);
    m.ResolveChangedFile(false);
    EXPECT_EQ(m.Text(), "ONE\r\nTWO\r\nTHREE\r\nFOUR");
    EXPECT_FALSE(m.DosLineEnds);
    EXPECT_EQ(m.SelStart(), m.LineStart(2));
    EXPECT_FALSE(m.Modified());
    m.Undo();
    EXPECT_EQ(m.Text(), "one\r\ntwo\r\nthree");
    ASSERT_TRUE(load(m, "one"));
    write("doc.htm", "changed");
    services.expectMessage(reload, Answer::No, Icon::Question);
    m.ResolveChangedFile(false);
    m.ResolveChangedFile(false); // the same change: not asked again
    EXPECT_EQ(m.Text(), "one");

    // The save asks all the same; Cancel keeps the other program's bytes.
    const QString modified = QStringLiteral("Soubor %1 byl změněn jiným programem.\n\nAno: přepsat soubor dokumentem z "
                                            "editoru\nNe: načíst soubor znovu (změny v dokumentu se ztratí)\nStorno: "
                                            "neukládat")
                                 .arg(doc);
    services.expectMessage(modified, Answer::Cancel, Icon::Question);
    EXPECT_FALSE(m.SaveToFile());
    EXPECT_EQ(read("doc.htm"), "changed");
    // Modified: No, then not sure: nothing happens; No, then sure: reloaded.
    m.type("!");
    const QString withEdits = QStringLiteral("Soubor %1 byl změněn jiným programem a dokument obsahuje neuložené změny."
                                             "\n\nAno: přepsat soubor dokumentem z editoru\nNe: načíst soubor znovu "
                                             "(změny v dokumentu se ztratí)\nStorno: neukládat")
                                 .arg(doc);
    const QString sure = QStringLiteral("Neuložené změny dokumentu %1 se ztratí. Opravdu načíst soubor znovu?").arg(doc);
    services.expectMessage(withEdits, Answer::No, Icon::Question);
    services.expectMessage(sure, Answer::No, Icon::Question);
    EXPECT_FALSE(m.SaveToFile());
    EXPECT_EQ(m.Text(), "!one");
    services.expectMessage(withEdits, Answer::No, Icon::Question);
    services.expectMessage(sure, Answer::Yes, Icon::Question);
    EXPECT_FALSE(m.SaveToFile());
    EXPECT_EQ(m.Text(), "changed");
    // Yes writes over it.
    m.type("?");
    write("doc.htm", "third version");
    services.expectMessage(withEdits, Answer::Yes, Icon::Question);
    EXPECT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("doc.htm"), "?changed");
    EXPECT_TRUE(m.SaveToFile()); // its own file now: no question

    // A removed file is said once; the document stays, modified, and a save makes the file again.
    QFile::remove(doc);
    services.expectMessage(QStringLiteral("Soubor %1 byl smazán nebo přejmenován jiným programem. Dokument zůstává "
                                          "otevřený; uložením se soubor vytvoří znovu.")
                               .arg(doc));
    m.ResolveChangedFile(false);
    m.ResolveChangedFile(false);
    EXPECT_TRUE(m.Modified());
    EXPECT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("doc.htm"), "?changed");
    // Saved under another name: a new target, not a changed file.
    write("other.htm", "someone else's");
    m.FileName = path("other.htm");
    EXPECT_TRUE(m.SaveToFile());
    EXPECT_EQ(read("other.htm"), "?changed");
}
