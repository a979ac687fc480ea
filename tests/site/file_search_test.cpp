#include "platform/cp1250.h"
#include "site/file_search.h"
#include "site/search_dialogs.h"
#include "site/site_state.h"
#include "support/scripted_services.h"

#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace xo;

namespace {

class FileSearchTest : public ::testing::Test {
protected:
    QString put(const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QStringList search(const QString &mask, const std::string &text, FileSearchOutcome *outcome = nullptr,
                       std::function<bool()> key = {}) {
        QStringList found;
        FileSearchHooks h;
        h.found = [&](const QString &p) { found << QDir(dir.path()).relativeFilePath(p); };
        h.keyPressed = std::move(key);
        h.unreadable = [&](const QString &p) { unreadable << p; };
        int n = 0;
        const FileSearchOutcome o = SearchFiles(dir.path(), mask, text, h, n);
        if (outcome) *outcome = o;
        found.sort();
        return found;
    }
    QTemporaryDir dir;
    QStringList unreadable;
};

} // namespace

TEST_F(FileSearchTest, NamesTextsAndWhatIsNeverEntered) {
    put("a.htm", "<p>a table</p>");
    put("sub/b.HTML", "no");
    put("sub/deeper/c.html", "<TABLE>");
    put(".hidden.htm", "table");
    put(".git/d.htm", "table");
    put("e.txt", "table");
    put("czech.htm", cp1250::fromUtf8("malé č").c_str());
    ::mkfifo(QFile::encodeName(dir.filePath("pipe.htm")).constData(), 0600);
    QFile::link(dir.path(), dir.filePath("sub/loop"));

    EXPECT_EQ(search("*.htm*", "TABLE"), QStringList({"a.htm", "sub/deeper/c.html"}));
    EXPECT_EQ(search("*.htm*", ""), QStringList({"a.htm", "czech.htm", "sub/b.HTML", "sub/deeper/c.html"}));
    EXPECT_EQ(search("*.*", "table").size(), 3);
    FileSearchOutcome o;
    EXPECT_TRUE(search("*.htm", cp1250::fromUtf8("Č"), &o).isEmpty()); // only ASCII letters ignore case
    EXPECT_EQ(o, FileSearchOutcome::NoneFound);
    EXPECT_TRUE(unreadable.isEmpty());
}

TEST_F(FileSearchTest, BlocksLimitsAndKeys) {
    // Across the block border, and as the file's last bytes.
    QByteArray big(int(kSearchBlock) - 3, 'x');
    put("border.htm", big + "NEEDLE" + QByteArray(100, 'y'));
    put("end.htm", QByteArray(int(kSearchBlock) * 2, 'z') + "needle");
    put("none.htm", QByteArray(int(kSearchBlock) * 2, 'n'));
    EXPECT_EQ(search("*.htm", "Needle"), QStringList({"border.htm", "end.htm"}));
    // A text as long as a block (never typed, but stored) still ends, and is found.
    EXPECT_EQ(search("*.htm", std::string(kSearchBlock, 'n')), QStringList({"none.htm"}));
    EXPECT_EQ(search("*.htm", std::string(kSearchBlock, 'q')), QStringList());

    for (int i = 0; i < 120; ++i) put(QStringLiteral("many/f%1.txt").arg(i), "x");
    FileSearchOutcome o;
    EXPECT_EQ(search("*.txt", "", &o).size(), kMaxFound);
    EXPECT_EQ(o, FileSearchOutcome::TooMany);
    // A key while a file is read interrupts; between directories it just ends.
    int calls = 0;
    search("*.htm", "needle", &o, [&] { return ++calls > 2; });
    EXPECT_EQ(o, FileSearchOutcome::Interrupted);
    bool exclamation = false;
    EXPECT_EQ(FileSearchMessage(o, exclamation), "Hledání přerušeno!");
    EXPECT_TRUE(exclamation);
}

TEST_F(FileSearchTest, TheDialogSearchesAndOpensTheTickedFiles) {
    test::ScriptedServices services;
    put("a.htm", "x");
    put("b.htm", "x");
    put("c.htm", "x");
    TfrmSearchFiles dlg;
    QStringList opened;
    dlg.OpenDocument = [&](const QString &f) { opened << f; };
    SearchFilesState = {cp1250::encode(dir.path()), "*.htm", ""};
    services.expectMessage("Hotovo", platform::Answer::Ok, platform::Icon::Information);
    services.onModal = [&](QDialog &d) {
        dlg.btSearch->click();
        EXPECT_EQ(dlg.boxResults->count(), 3);
        for (int i = 0; i < 3; ++i) dlg.boxResults->item(i)->setCheckState(Qt::Checked);
        dlg.btOpenFiles->click();
        EXPECT_EQ(dlg.boxResults->item(0)->checkState(), Qt::Unchecked);
        d.reject();
        return d.result();
    };
    dlg.Execute();
    EXPECT_EQ(opened, QStringList({dir.filePath("a.htm"), dir.filePath("b.htm"), dir.filePath("c.htm")}));
    EXPECT_EQ(dlg.boxResults->count(), 0); // closing empties the list
    // Closed without a search, the dialog keeps what was typed; a text the
    // configuration cannot hold is not stored changed.
    services.onModal = [&](QDialog &d) {
        // Typing stops at the field's limit.
        dlg.edRetezec->clear();
        QTest::keyClicks(dlg.edRetezec, QString(60, u'x'));
        EXPECT_EQ(dlg.edRetezec->text().size(), 50);
        dlg.edDirectory->setText(dir.filePath("sub"));
        dlg.cmbSpecifikace->setEditText("*.txt");
        dlg.edRetezec->setText(QStringLiteral("日本"));
        d.reject();
        return d.result();
    };
    SearchFilesState.Text = "old";
    dlg.Execute();
    EXPECT_EQ(SearchFilesState.Directory, cp1250::encode(dir.filePath("sub")));
    EXPECT_EQ(SearchFilesState.Mask, "*.txt");
    EXPECT_EQ(SearchFilesState.Text, "");
}

TEST_F(FileSearchTest, AMessageDuringTheSearchGetsTheKeys) {
    test::ScriptedServices services;
    put("a.htm", "table");
    // Even for root a read of this fails.
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), dir.filePath("mem.htm")));
    TfrmSearchFiles dlg;
    SearchFilesState = {cp1250::encode(dir.path()), "*.htm", "table"};
    QLineEdit messageBox; // stands for the message's own window
    services.expectMessage(QStringLiteral("Chyba při práci se souborem ") + dir.filePath("mem.htm"));
    services.onMessage = [&](const platform::Message &m) {
        if (m.text.startsWith(QStringLiteral("Chyba"))) QTest::keyClick(&messageBox, Qt::Key_X);
    };
    services.expectMessage("Hotovo", platform::Answer::Ok, platform::Icon::Information);
    services.onModal = [&](QDialog &d) {
        dlg.btSearch->click();
        d.reject();
        return d.result();
    };
    dlg.Execute();
    EXPECT_EQ(messageBox.text(), "x");
}
