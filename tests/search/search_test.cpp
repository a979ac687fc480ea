#include "search/find_dialogs.h"
#include "search/search.h"
#include "editor/editor_test_util.h"
#include "settings/compress_file.h"
#include "settings/settings.h"
#include "support/scripted_services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;
using platform::Answer;
using platform::Icon;
using test::Model;

namespace {

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSettings();
        SearchRec = TEditSearchRec{};
    }
    void find(const std::string &text, bool matchCase = false) {
        SearchRec.FindText = text;
        SearchRec.MatchCase = matchCase;
        SearchRec.ReplaceMode = false;
        FindNext(m);
    }
    void replace(const std::string &text, const std::string &by, bool all, bool prompt) {
        SearchRec = {text, by, false, all, prompt, true};
        FindNext(m);
    }
    QString notFound(const QString &t) { return QStringLiteral("Řetězec \"") + t + QStringLiteral("\" nenalezen."); }
    test::ScriptedServices services;
    Model m;
};

} // namespace

TEST_F(SearchTest, FindsInAOneLineDocumentAndSelectsTheMatch) {
    m.SetText("just one line");
    find("one");
    EXPECT_EQ(m.SelStart(), 6);
    EXPECT_EQ(m.SelEnd(), 9);
}

TEST_F(SearchTest, FindNextDoesNotWrapAround) {
    m.SetText("ab ab\r\nab");
    find("ab");
    EXPECT_EQ(m.SelStart(), 1);
    FindNext(m);
    EXPECT_EQ(m.SelStart(), 4);
    FindNext(m);
    EXPECT_EQ(m.SelStart(), 8);
    services.expectMessage(notFound("ab"));
    FindNext(m);
    EXPECT_EQ(m.SelStart(), 8); // the last match stays selected
}

TEST_F(SearchTest, CaseFoldsOnlyPlainLetters) {
    m.SetText("text TEXT \xC8" "esko \xE8" "esko");
    find("TEXT");
    EXPECT_EQ(m.SelStart(), 1);
    FindNext(m);
    EXPECT_EQ(m.SelStart(), 6);
    m.SetSelection(1, 1);
    find("TEXT", true);
    EXPECT_EQ(m.SelStart(), 6);
    m.SetSelection(7, 7);
    services.expectMessage(notFound("text"));
    find("text", true); // case sensitive: "TEXT" is not it
    m.SetSelection(1, 1);
    find("\xE8" "esko"); // č matches only č, never Č
    EXPECT_EQ(m.SelStart(), 17);
}

TEST_F(SearchTest, AMatchNeverCrossesALineBreakButALoneLfIsText) {
    m.SetText("ab\r\ncd a\nb");
    services.expectMessage(notFound("b\r\nc"));
    find("b\r\nc");
    find("a\nb");
    EXPECT_EQ(m.SelStart(), 8);
    m.SetSelection(1, 1);
    services.expectMessage(notFound("b\r"));
    find("b\r"); // the CR of a line end is not in the line
    m.SetText("a\r\n\nb"); // a lone LF after a line end
    find("\nb");
    EXPECT_EQ(m.SelStart(), 4);
}

TEST_F(SearchTest, EmptyTextIsRefused) {
    m.SetText("x");
    services.expectMessage(QStringLiteral("Pro hledání je třeba specifikovat řetězec"));
    find("");
}

TEST_F(SearchTest, ReplaceAllWithoutAskingEndsWithTheNotFoundMessage) {
    m.SetText("a-a-A\r\na");
    services.expectMessage(notFound("a"));
    replace("a", "bb", true, false);
    EXPECT_EQ(m.Text(), "bb-bb-bb\r\nbb");
}

TEST_F(SearchTest, PromptedReplaceAllHonoursNoAndCancel) {
    m.SetText("x x x x");
    services.expectMessage(QStringLiteral("Zaměnit tento výskyt?"), Answer::Yes, Icon::Question);
    services.expectMessage(QStringLiteral("Zaměnit tento výskyt?"), Answer::No, Icon::Question);
    services.expectMessage(QStringLiteral("Zaměnit tento výskyt?"), Answer::Yes, Icon::Question);
    services.expectMessage(QStringLiteral("Zaměnit tento výskyt?"), Answer::Cancel, Icon::Question);
    replace("x", "Y", true, true);
    EXPECT_EQ(m.Text(), "Y x Y x");
    // F3 after a replace command replaces the next occurrence too.
    SearchRec.ReplaceAll = false;
    SearchRec.PromptOnReplace = false;
    m.SetSelection(2, 2);
    FindNext(m);
    EXPECT_EQ(m.Text(), "Y Y Y x");
    m.SetSelection(1, 1);
    services.expectMessage(QStringLiteral("Zaměnit tento výskyt?"), Answer::No, Icon::Question);
    services.expectMessage(notFound("x"));
    replace("x", "Z", true, true); // No goes on to the next; none is left
    EXPECT_EQ(m.Text(), "Y Y Y x");
}

TEST_F(SearchTest, GoToLineClampsAndRefusesNonNumbers) {
    m.SetText("one\r\ntwo\r\nthree");
    TfrmGotoLine dlg;
    dlg.edLine->setText("2");
    dlg.Apply(m);
    EXPECT_EQ(m.SelStart(), 6);
    for (const char *t : {"0", ""}) {
        dlg.edLine->setText(t);
        dlg.Apply(m);
        EXPECT_EQ(m.SelStart(), 1) << t;
    }
    dlg.edLine->setText("9999");
    dlg.Apply(m);
    EXPECT_EQ(m.SelStart(), m.TextLength() + 1);
    EXPECT_EQ(dlg.edLine->maxLength(), 4);
    dlg.edLine->setText("1a");
    services.expectMessage(QStringLiteral("V tomto políčku zadejte číselnou hodnotu"));
    dlg.setResult(-1);
    dlg.done(QDialog::Accepted);
    EXPECT_EQ(dlg.result(), -1); // refused: the dialog stays open
}

TEST_F(SearchTest, HistoriesAndTheirConfigurationSections) {
    TdlgFind find;
    find.cmbText->addItems({"a", "b"});
    find.cmbText->setEditText("b");
    find.done(QDialog::Accepted);
    EXPECT_EQ(find.cmbText->itemText(0), "b"); // moved to the top, not doubled
    EXPECT_EQ(find.cmbText->count(), 2);
    EXPECT_EQ(find.FindText, "b");
    TdlgReplace rep;
    rep.cmbFindText->addItems({"a", "b"});
    rep.cmbFindText->setEditText("b");
    rep.cmbReplaceText->setEditText("new");
    rep.done(QDialog::Accepted);
    EXPECT_EQ(rep.cmbFindText->itemText(1), "b"); // an existing entry keeps its place
    EXPECT_EQ(rep.cmbReplaceText->itemText(0), "new");
    rep.chkPromptOnReplace->setChecked(true);

    QTemporaryDir dir;
    const QString path = dir.filePath("s.dat");
    {
        TCompressFile f(path, TCompressFile::fmCreate);
        f.WriteString("Other");
        find.Collect().Write(f);
        rep.Collect().Write(f);
        ASSERT_TRUE(f.Close());
    }
    TCompressFile f(path, TCompressFile::fmOpenRead);
    FindSection fs;
    EXPECT_FALSE(fs.Read(f)); // a foreign tag is pushed back
    EXPECT_EQ(f.ReadString(), "Other");
    ASSERT_TRUE(fs.Read(f));
    ReplaceSection rs;
    ASSERT_TRUE(rs.Read(f));
    TdlgFind find2;
    find2.Apply(fs);
    EXPECT_EQ(find2.cmbText->itemText(0), "b");
    TdlgReplace rep2;
    rep2.Apply(rs);
    EXPECT_TRUE(rep2.chkPromptOnReplace->isChecked());
    EXPECT_FALSE(rep2.chkReplaceAll->isChecked());
    EXPECT_EQ(rep2.cmbReplaceText->itemText(0), "new");
}
