#include "documents/frame_test_util.h"
#include "dialogs/dialog_registration.h"
#include "dialogs/tag_dialogs.h"
#include "tables/table_registration.h"
#include "support/scripted_tag_dialogs.h"
#include <QLineEdit>
#include "tags/insertion.h"
#include "tags/list_conversion.h"
#include "tags/tag_commands.h"
#include "tags/user_tags.h"
#include "options/options_dialog.h"
#include "options/browser_choice_state.h"
#include "options/choose_browser.h"
#include "options/options_registration.h"
#include <QButtonGroup>
#include "documents/help.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using namespace xo;
using test::FrameTest;

namespace {

class TagCommandsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        startFrame({}, {SearchSubsystem(), TagsSubsystem()});
        LastInsertedText = {};
    }
    // Runs a command on "a sel b" with "sel" selected; the text with the caret as "|".
    std::string run(const QString &command, const std::string &text = "a sel b", int from = 3, int to = 6) {
        TEditor *e = document();
        e->SetText(text);
        e->SetSelection(from, to);
        QAction *a = frame->Action(command);
        EXPECT_NE(a, nullptr) << command.toStdString();
        if (!a) return "?";
        a->trigger();
        EXPECT_EQ(e->SelStart(), e->SelEnd()) << command.toStdString();
        std::string shown = e->Text();
        return shown.insert(size_t(e->SelStart() - 1), "|");
    }
    TEditor *document() {
        if (!frame->ActiveEditor()) frame->NewDocumentWindow(QString());
        return frame->ActiveEditor();
    }
};

const char *const kInfo = "Na pozici kurzoru zapište ";

} // namespace

TEST_F(TagCommandsTest, EveryCommandWithoutADialogWritesItsTextAndLeavesTheCaretWhereThePartSays) {
    services.clock = QDateTime(QDate(2000, 2, 1), QTime(9, 0, 10));
    struct Case {
        std::string command;
        std::string expected;
    };
    std::vector<Case> cases;
    for (const char *c : {"B", "I", "BLINK", "U", "DFN", "EM", "CITE", "CODE", "KBD", "SAMP", "STRONG", "VAR", "TT",
                          "STRIKE", "BIG", "SMALL", "SUB", "SUP", "H1", "H2", "H3", "H4", "H5", "H6", "ADDRESS",
                          "CENTER", "BLOCKQUOTE", "PRE", "NOBR", "CAPTION", "NOFRAMES", "P", "DD", "DT", "LI", "TR",
                          "TH", "TD"}) {
        static const std::map<std::string, const char *> names = {
            {"B", "mnB"}, {"I", "mnI"}, {"BLINK", "mnBlink"}, {"U", "mnU"}, {"ADDRESS", "mnAddress"},
            {"CENTER", "mnCenter"}, {"BLOCKQUOTE", "mnBQ"}, {"PRE", "mnPRE"}, {"NOBR", "mnNOBR"},
            {"CAPTION", "mnCaption"}, {"NOFRAMES", "mnNoFrame"}, {"P", "mnP"}, {"DD", "mnDD"}, {"DT", "mnDT"},
            {"LI", "mnLI"}, {"TR", "mnTR"}, {"TH", "mnTH"}, {"TD", "mnTD"}};
        const std::string tag = c;
        const std::string name =
            names.count(tag) ? names.at(tag) : (tag[0] == 'H' && tag.size() == 2 ? "mn" + tag : "mnStyl" + tag);
        cases.push_back({name, "a <" + tag + ">|sel</" + tag + "> b"});
    }
    const std::vector<Case> written = {
        {"mnBaseFont", "a <BASEFONT size=\"|4\">sel b"},
        {"mnComment", "a <!-- |sel --> b"},
        {"mnIsIndex", "a <ISINDEX action=\"|\" PROMPT=\"Text:\">sel b"},
        {"mnAName", "a <A name=\"|\">sel</A> b"},
        {"mnBR", "a <BR>|sel b"},
        {"mnBRExt", "a <BR clear=all>|sel b"},
        {"mnWBR", "a <WBR>|sel b"},
        {"mnAHrefEmail", "a <A HREF=\"mailto:|\">sel</A> b"},
        {"mnBaseHref", "a <BASE HREF=\"|\">sel b"},
        {"mnXoReference", "a <A HREF=\"http://xo.example.org/\"><IMG SRC=\"http://xo.example.org/xo-badge.gif\" "
                          "width=88 height=31 border=0></A>\r\n|sel b"},
        {"mnFrame", "a <FRAME src=\"|\" SCROLLING=\"YES\">sel b"},
        {"mnFrameExt", "a <FRAME target=| name= src=\"\" SCROLLING=\"YES\">sel b"},
        {"mnBase", "a <BASE TARGET=\"|_top\">sel b"},
        {"mnForm", "a <FORM ACTION=\"mailto:|\" METHOD=POST>sel</FORM> b"},
        {"mnInputText", "a <INPUT TYPE=\"text\" NAME=\"|\" SIZE=10 MAXLENGTH=8 VALUE=\"\" "
                        "onFocus=\"self.status='';return true\">sel b"},
        {"mnInputPasswd", "a <INPUT TYPE=\"password\" NAME=\"pass_|\" SIZE=30>sel b"},
        {"mnInputCheck", "a <INPUT TYPE=\"checkbox\" NAME=\"chck_|\" VALUE=\"off\">sel b"},
        {"mnInputRadio", "a <INPUT TYPE=\"radio\" NAME=\"radio_|\" VALUE=\"off\">sel b"},
        {"mnSelect", "a <SELECT NAME=\"menu_|\">\r\n <OPTION> \r\n</SELECT>sel b"},
        {"mnTextArea", "a <TEXTAREA NAME=\"tx_area_|\" ROWS=4 COLS=40>sel</TEXTAREA> b"},
        {"mnInputSend", "a <INPUT TYPE=\"submit\" VALUE=\"Odeslat\">|sel b"},
        {"mnInputClear", "a <INPUT TYPE=\"reset\" VALUE=\"Vymazat\">|sel b"},
        {"mnBackButton", "a <INPUT TYPE=\"button\" VALUE=\"Zp\xECt\" onClick=\"history.back()\">|sel b"},
        {"mnCharCopyright", "a &copy;|sel b"},     {"mnCharReg", "a &reg;|sel b"},
        {"mnCharLeft", "a &lt;|sel b"},            {"mnCharRight", "a &gt;|sel b"},
        {"mnCharAmpersand", "a &amp;|sel b"},      {"mnCharQuote", "a &quot;|sel b"},
        {"mnCharSvisla", "a &brvbar;|sel b"},      {"mnCharDoubleLeft", "a &laquo;|sel b"},
        {"mnCharDoubleRight", "a &raquo;|sel b"},  {"mnCharPlusMinus", "a &plusmn;|sel b"},
        {"mnCharMulti", "a &times;|sel b"},        {"mnCharDivid", "a &divide;|sel b"},
        {"mnCharMicro", "a &micro;|sel b"},        {"mnCharParagraf", "a &sect;|sel b"},
        {"mnCharNegace", "a &not;|sel b"},         {"mnCharStupne", "a &deg;|sel b"},
        {"mnCharPoint", "a &middot;|sel b"},       {"mnCharNBSP", "a &nbsp;|sel b"},
        {"mnLeftPairTag", "a <|>sel b"},           {"mnRightPairTag", "a </|>sel b"},
        {"mnGeneratedDate", "a <!--*DefDat*-->1.2.2000|sel b"},
        {"mnGeneratedTime", "a <!--*DefCas*-->9:00:10|sel b"},
        {"mnJavaScriptTag", "a <SCRIPT language=\"JavaScript\">|sel</SCRIPT> b"},
        {"mnDL", "a <DL>\r\n|sel</DL>\r\n b"},
    };
    cases.insert(cases.end(), written.begin(), written.end());
    for (const Case &c : cases) EXPECT_EQ(run(QString::fromStdString(c.command)), c.expected) << c.command;

    // The META commands leave the caret in content and say what to type there, every time.
    for (int round = 0; round < 2; ++round) {
        services.expectMessage(QString::fromUtf8(kInfo) + QStringLiteral("seznam klíčových slov"),
                               platform::Answer::Ok, platform::Icon::Information);
        EXPECT_EQ(run("mnMetaKeyWords"), "a <META http-equiv=\"KEYWORDS\" content=\"|\">sel b");
    }
    services.expectMessage(QString::fromUtf8(kInfo) + QStringLiteral("popis stránky"), platform::Answer::Ok,
                           platform::Icon::Information);
    EXPECT_EQ(run("mnMetaDescription"), "a <META http-equiv=\"DESCRIPTION\" content=\"|\">sel b");
    services.expectMessage(QStringLiteral("Na pozici kurzoru zapište URL, na které se má přejít.\r\n\r\n Parametr za "
                                          "Content určuje dobu ve vteřinách, po které se načtení nové stránky "
                                          "provede."),
                           platform::Answer::Ok, platform::Icon::Information);
    EXPECT_EQ(run("mnMetaAutoReload"), "a <META http-equiv=\"REFRESH\" content=\"10; URL=|\">sel b");
    services.expectMessage(QStringLiteral("Nyní vložte kompletní URL vašeho dokumentu na pozici kurzoru."),
                           platform::Answer::Ok, platform::Icon::Information);
    EXPECT_EQ(run("mnPocitadlo"),
              "a <IMG SRC=\"http://counter.example.org/cgi-bin/nph-count?width=5&link=|\" height=20 width=80 "
              "alt=\"Counter\">sel b");
    EXPECT_EQ(frame->Action("mnPocitadlo")->text(), "&Počítadlo (counter.example.org)");
    // Without a selection the optional end tags stand alone.
    EXPECT_EQ(run("mnP", "ab", 2, 2), "a<P>|b");
    EXPECT_EQ(run("mnLI", "ab", 2, 2), "a<LI>|b");
}

TEST_F(TagCommandsTest, ShortcutsButtonsAndDropDownsRunTheSameCommands) {
    TEditor *e = document();
    e->SetText("word");
    e->SetSelection(1, 5);
    QApplication::setActiveWindow(frame.get());
    e->setFocus();
    QTest::keyClick(e, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(e->Text(), "<B>word</B>");
    EXPECT_EQ(e->SelStart(), 4);
    for (int i = 0; i < 4 && e->Text() != "word"; ++i) QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e->Text(), "word");
    QTest::keyClick(e, Qt::Key_End);
    QTest::keyClick(e, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(e->Text(), "word<P>");
    // The toolbar button and its secondary click.
    auto *br = frame->findChild<QToolButton *>("btBR");
    ASSERT_NE(br, nullptr);
    br->click();
    QTest::mouseClick(br, Qt::RightButton);
    EXPECT_EQ(e->Text(), "word<P><BR><BR clear=all>");
    // A drop-down holds the items of its submenu, separators included, running the same handlers.
    auto *forms = frame->findChild<QToolButton *>("btFormMenuClick");
    ASSERT_NE(forms, nullptr);
    EXPECT_EQ(forms->toolTip(), QStringLiteral("Formulářové položky"));
    QMetaObject::invokeMethod(forms->menu(), "aboutToShow");
    const auto items = forms->menu()->actions();
    ASSERT_EQ(items.size(), 10);
    EXPECT_EQ(items[2]->text(), "&Heslo");
    items[8]->trigger(); // Vymazání dat
    EXPECT_EQ(e->Text(), "word<P><BR><BR clear=all><INPUT TYPE=\"reset\" VALUE=\"Vymazat\">");
    // With a document open every tag command is there to be used.
    int commands = 0;
    for (QAction *a : frame->findChildren<QAction *>())
        if (a->objectName().startsWith("mn") && !a->isSeparator() && a->property("tag").toInt() == tagNeedsDocument) {
            ++commands;
            EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
        }
    EXPECT_GT(commands, 100);
    EXPECT_TRUE(frame->findChild<QToolButton *>("btB")->isEnabled());
}

TEST_F(TagCommandsTest, ListsMapsAndNoDocument) {
    TEditor *e = document();
    e->SetText("one\r\n\r\nthree\r\nrest");
    e->SetSelection(1, e->LineStart(4));
    ListConversion('U', "");
    EXPECT_EQ(e->Text(), "<UL>\r\n <LI>one\r\n<P>\r\n <LI>three\r\n</UL>\r\nrest");
    EXPECT_EQ(e->SelStart(), e->LineStart(5));
    e->SetText("");
    ListConversion('O', " type=A");
    EXPECT_EQ(e->Text(), "<OL type=A>\r\n\r\n</OL>\r\n");
    EXPECT_EQ(e->SelStart(), e->LineStart(2));
    e->SetText("Term\r\n  Meaning\r\n");
    e->SetSelection(1, e->LineStart(3));
    frame->Action("mnDL")->trigger();
    EXPECT_EQ(e->Text(), "<DL>\r\n <DT>Term\r\n   <DD>Meaning\r\n</DL>\r\n");
    e->SetText("");
    InsertImageMap("<IMG src=\"a.gif\">");
    e->SetSelection(e->TextLength() + 1, e->TextLength() + 1);
    InsertImageMap("<IMG src=\"b.gif\">");
    const std::string text = e->Text();
    auto count = [&](const std::string &what) {
        int n = 0;
        for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("usemap=\"#map1\""), 2); // both maps are map1
    EXPECT_EQ(count("<MAP name=\"map1\">"), 2);
    EXPECT_NE(text.find("<IMG src=\"a.gif\" usemap=\"#map1\">\r\n\r\n<MAP name=\"map1\">\r\n <AREA href=\"\" alt=\"\" "
                        "coords=\"0,0,1,1\">\r\n</MAP>"),
              std::string::npos);
    // With no document open every command does nothing, and says nothing.
    e->ClearModified();
    frame->mnCloseAllClick();
    QApplication::processEvents();
    for (QAction *a : frame->findChildren<QAction *>())
        if (a->objectName().startsWith("mnMeta") || a->objectName() == "mnPocitadlo" || a->objectName() == "mnB")
            a->trigger();
    EXPECT_TRUE(frame->DocumentWindows().isEmpty());
}

TEST_F(TagCommandsTest, DialogCommandsWriteWhatTheirDialogsBuiltAndNothingWhenCancelled) {
    test::ScriptedTagDialogs dialogs;
    constexpr int kRed = 0x0000FF;
    dialogs.font = [](FontValues &v) {
        v = {"3", true, true, "Arial", kRed};
        return true;
    };
    EXPECT_EQ(run("mnFont"), "a <FONT size=\"3\" face=\"Arial\" color=\"#ff0000\"><B><I>|sel</I></B></FONT> b");
    dialogs.align = [](int preselect) {
        EXPECT_EQ(preselect, -1);
        return std::string(" align=left");
    };
    EXPECT_EQ(run("mnPExt", "ab", 2, 2), "a<P align=left>|</P>b");
    EXPECT_EQ(run("mnDIV"), "a <DIV align=left>|sel</DIV> b");
    // The heading buttons' secondary click asks for the alignment too.
    TEditor *e = document();
    e->SetText("a sel b");
    e->SetSelection(3, 6);
    QTest::mouseClick(frame->findChild<QToolButton *>("btH3"), Qt::RightButton);
    EXPECT_EQ(e->Text(), "a <H3 align=left>sel</H3> b");
    QTest::mouseClick(frame->findChild<QToolButton *>("btP"), Qt::RightButton);
    EXPECT_EQ(e->Text(), "a <H3 align=left><P align=left></P>sel</H3> b");
    // Cancelled dialogs write nothing.
    auto unchanged = [&](const char *command) {
        e->SetText("a sel b");
        e->SetSelection(3, 6);
        frame->Action(command)->trigger();
        return e->Text() == "a sel b" && e->SelStart() == 3 && e->SelEnd() == 6;
    };
    dialogs.align = [](int) { return std::string(); };
    EXPECT_TRUE(unchanged("mnPExt"));

    dialogs.rule = [](RuleValues &v) {
        v = {50, 2, true, 3, true};
        return true;
    };
    EXPECT_EQ(run("mnHR", "ab", 2, 2), "a<HR width=50% size=2 noshadow align=center>|b");
    dialogs.marquee = [](MarqueeValues &v) {
        v.loopText = "5";
        v.width = 300;
        v.hasColor = true;
        v.color = kRed;
        return true;
    };
    EXPECT_EQ(run("mnMarquee"),
              "a <MARQUEE behavior=scroll direction=left loop=5 width=300 align=top bgcolor=#ff0000>|sel</MARQUEE> b");
    dialogs.ol = [](int &kind, int &start) {
        kind = 3;
        start = 4;
        return true;
    };
    EXPECT_EQ(run("mnOL", "ab", 2, 2), "a<OL type=I start=4>\r\n|\r\n</OL>\r\nb");
    dialogs.ul = [](int &kind) { return kind = 1, true; };
    EXPECT_EQ(run("mnUL", "ab", 2, 2), "a<UL type=circle>\r\n|\r\n</UL>\r\nb");
    dialogs.bgSound = [](BgSoundValues &v) { return v.src = "s.wav", v.loopText = "", true; };
    EXPECT_EQ(run("mnBgSound"), "a <BGSOUND src=\"s.wav\">|sel b");
    dialogs.embed = [](EmbedValues &v) { return v.src = "m.avi", true; };
    EXPECT_EQ(run("mnEmbed"), "a <EMBED src=\"m.avi\" loop=infinite autostart=true>|sel b");
    dialogs.applet = [](AppletValues &v) { return v.code = "Hello.class", true; };
    EXPECT_EQ(run("mnApplet"), "a <APPLET code=\"Hello.class\">|sel</APPLET> b");

    // Links say whether they were written; images get the document's name.
    dialogs.link = [](LinkValues &v) { return v = {"a.htm", "_blank"}, true; };
    EXPECT_EQ(run("mnAHref"), "a <A href=\"a.htm\" target=\"_blank\">|sel</A> b");
    EXPECT_TRUE(LinkInserted);
    dialogs.link = [](LinkValues &) { return false; };
    EXPECT_TRUE(unchanged("mnAHref"));
    EXPECT_FALSE(LinkInserted);
    dialogs.image = [](ImageValues &v) { return v.src = "img/a.gif", v.width = 88, true; };
    dialogs.link = [](LinkValues &v) { return v = {"big.htm", ""}, true; };
    EXPECT_EQ(run("mnAHref_IMG", "ab", 2, 2), "a<A href=\"big.htm\">|<IMG src=\"img/a.gif\" width=88></A>b");
    EXPECT_EQ(dialogs.calls.back().dialog, "link");
    EXPECT_EQ(run("mnMap", "", 1, 1),
              "<IMG src=\"img/a.gif\" width=88 usemap=\"#map1\">\r\n\r\n<MAP name=\"map1\">\r\n <AREA href=\"|\" "
              "alt=\"\" coords=\"0,0,1,1\">\r\n</MAP>");
    EXPECT_EQ(dialogs.calls.back().documentFile, QString()); // unnamed
    document()->FileName = dir.filePath("web/index.htm");
    dialogs.image = [](ImageValues &) { return false; };
    const size_t asked = dialogs.calls.size();
    EXPECT_TRUE(unchanged("mnAHref_IMG")); // a cancelled image asks for no link
    EXPECT_EQ(dialogs.calls.size(), asked + 1);
    EXPECT_EQ(dialogs.calls.back().documentFile, dir.filePath("web/index.htm"));
    EXPECT_TRUE(unchanged("mnImg"));
    for (const auto &c : dialogs.calls) EXPECT_FALSE(c.prefill) << c.dialog;
}

namespace {
class RealDialogsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        startFrame({}, {SearchSubsystem(), DialogsSubsystem(), TablesSubsystem(), TagsSubsystem()});
    }
};
} // namespace

TEST_F(RealDialogsTest, TheDialogsAreMadeOnceInTheProgramsOrderAndServeTheCommands) {
    QStringList made;
    for (QObject *child : frame->children())
        if (auto *d = qobject_cast<TTagDialog *>(child)) {
            made << d->objectName();
            EXPECT_FALSE(d->isVisible());
        }
    EXPECT_EQ(made, QStringList({"TfrmTagBody", "TfrmAlign", "TfrmTagHR", "TfrmTagFont", "TfrmTagImg", "TfrmAhref",
                                 "TfrmTagUL", "TfrmTagOL", "TfrmTable", "TfrmTableInteractive", "TfrmCellOptions",
                                 "TfrmRowOptions", "TfrmTagMarquee", "TfrmTagBgsound", "TfrmTagEmbed",
                                 "TfrmTagApplet", "TfrmTagBodyOprava", "TfrmFrameSet", "TfrmFrameParams"}));
    frame->NewDocumentWindow(QString());
    TEditor *e = frame->ActiveEditor();
    services.onModal = [](QDialog &d) {
        auto &hr = dynamic_cast<TfrmTagHR &>(d);
        hr.edWidth->setText("10");
        d.accept();
        return d.result();
    };
    frame->Action("mnHR")->trigger();
    EXPECT_EQ(e->Text(), "<HR width=10>");
    // The commands of a closed frame find no dialogs and do nothing.
    frame.reset();
    FontValues v;
    EXPECT_FALSE(TagDialogs().ExecuteFontDialog(v, false));
}

TEST_F(TagCommandsTest, TableCommandsAndTheirSecondaryClicks) {
    test::ScriptedTagDialogs dialogs;
    dialogs.table = [](TableValues &v, bool) {
        v.border = 1;
        return true;
    };
    EXPECT_EQ(run("mnTable", "ab", 2, 2), "a<TABLE border=1>\r\n <TR><TH>|\r\n</TABLE>b");
    EXPECT_EQ(dialogs.calls.back().dialog, "table short");
    TEditor *e = document();
    e->SetText("a b\r\nc d\r\n");
    e->SetSelection(1, 11);
    frame->Action("mnTable")->trigger();
    EXPECT_EQ(dialogs.calls.back().dialog, "table full");
    EXPECT_EQ(e->Text(), "<TABLE border=1>\r\n <TR> <TH>a b\r\n <TR> <TD>c d\r\n\r\n</TABLE>\r\n");

    // New cells get no span warning; the setting comes back afterwards.
    dialogs.cell = [](CellData &d) {
        EXPECT_FALSE(WarnSpanChange);
        d = {false, 2, 255, false, 0, true};
        return true;
    };
    dialogs.row = [](CellData &d) {
        EXPECT_TRUE(WarnSpanChange);
        d.IsDefault = false; // confirmed without options
        return true;
    };
    EXPECT_EQ(run("mnTDExt"), "a <TD align=center nowrap>|sel</TD> b");
    EXPECT_TRUE(WarnSpanChange);
    EXPECT_EQ(run("mnTRExt", "ab", 2, 2), "a<TR>|b");
    e->SetText("x");
    e->SetSelection(1, 2);
    QTest::mouseClick(frame->findChild<QToolButton *>("btTH"), Qt::RightButton);
    EXPECT_EQ(e->Text(), "<TH align=center nowrap>x</TH>");
    // The grid editor's table goes in at the caret; an empty one writes nothing.
    dialogs.tableEditor = [](bool importDbf, std::string &result) {
        result = importDbf ? "<TABLE>\r\n</TABLE>" : "";
        return true;
    };
    QTest::mouseClick(frame->findChild<QToolButton *>("btTable"), Qt::RightButton);
    EXPECT_EQ(dialogs.calls.back().dialog, "table editor");
    EXPECT_EQ(run("mnImportDBF", "ab", 2, 2), "a<TABLE>\r\n</TABLE>|b");
}

TEST_F(TagCommandsTest, PageSkeletonsAndTheFramesetWizard) {
    test::ScriptedTagDialogs dialogs;
    const std::string closing = "</BODY></HTML>\r\n\r\n<!-- Created using Xo! HTML Editor (32bit version) -->";
    dialogs.body = [](BodyValues &v) {
        v.title = "Test";
        return true;
    };
    EXPECT_EQ(run("mnStruc", "", 1, 1), "<HTML>\r\n<TITLE>Test</TITLE>\r\n<BODY>\r\n|\r\n" + closing);
    dialogs.body = [](BodyValues &v) {
        v.title = "Test";
        v.baseFont = 5;
        v.colors.background = 0xFFFFFF;
        v.colors.text = 0;
        return true;
    };
    EXPECT_EQ(run("mnStruc", "", 1, 1), "<HTML>\r\n<TITLE>Test</TITLE>\r\n<BODY bgcolor=#ffffff text=#000000>\r\n\r\n"
                                        "<BASEFONT size=\"5\">\r\n|\r\n" +
                                            closing);
    // An image for an unnamed document, not saved: its full path.
    dialogs.body = [](BodyValues &v) {
        v.image = "/home/u/img/bg.gif";
        return true;
    };
    services.expectMessage("Pokud si přejete vložit relativní cestu k obrázku, je třeba HTML soubor nejpre uložit. "
                           "Uložit?",
                           platform::Answer::No, platform::Icon::Question);
    EXPECT_NE(run("mnStruc", "", 1, 1).find("<BODY background=\"/home/u/img/bg.gif\">"), std::string::npos);
    EXPECT_EQ(dialogs.calls.back().documentFile, QString());
    dialogs.body = [](BodyValues &) { return false; };
    EXPECT_EQ(run("mnStruc", "x", 2, 2), "x|");

    // The frames page, then the wizard at the caret; cancelled, the page stays.
    const std::string frames = "<!-- HTML PAGE -->\r\n<HTML>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n</HEAD>";
    const std::string after = "\r\n\r\n\r\n\r\n</HTML>\r\n\r\n<!-- Created using Xo! HTML Editor vs 8.1 -->";
    EXPECT_EQ(frames.size() + after.size(), 124u);
    dialogs.frameSet = [](std::string &) { return false; };
    EXPECT_EQ(run("mnFramesStruc", "", 1, 1), frames + "|" + after);
    dialogs.frameSet = [](std::string &t) { return t = "<FRAMESET COLS=\"*\">\r\n</FRAMESET>\r\n", true; };
    EXPECT_EQ(run("mnFramesStruc", "", 1, 1), frames + "<FRAMESET COLS=\"*\">\r\n</FRAMESET>\r\n|" + after);
}

namespace {
const std::string kPage = "<HTML>\r\n<HEAD>\r\n<TITLE>T</TITLE>\r\n</HEAD>\r\n<BODY>\r\nX\r\n</BODY></HTML>";
const char *const kNoScript = "Tag SCRIPT nenalezen! Vytvořit?";
} // namespace

TEST_F(TagCommandsTest, JavaScriptFeaturesGoToTheHeadTheBodyTagAndTheCaret) {
    test::ScriptedTagDialogs dialogs;
    TEditor *e = document();
    auto runAt = [&](const char *command, int caret) {
        e->SetSelection(caret, caret);
        frame->Action(command)->trigger();
        return e->Text();
    };
    const std::string clockForm = "\r\n<FORM name=\"clock\" onsubmit=\"0\">\r\n <INPUT type=\"text\" size=\"8\" "
                                  "name=\"face\">\r\n</FORM>\r\n";
    e->SetText(kPage);
    const int x = int(kPage.find('X')) + 1;
    services.expectMessage(kNoScript, platform::Answer::Yes, platform::Icon::Information);
    std::string t = runAt("mnJavaClock", x);
    EXPECT_EQ(t.substr(0, 81), "<HTML>\r\n<HEAD>\r\n\r\n<SCRIPT language=\"JavaScript\"><!-- \r\n\r\nvar timerID = null;\r\nvar");
    EXPECT_NE(t.find("timerRunning = true;\r\n}\r\n // -->\r\n</SCRIPT>\r\n\r\n<TITLE>T</TITLE>"), std::string::npos) << t;
    EXPECT_NE(t.find("<BODY onload=\"startclock()\">\r\n" + clockForm + "X\r\n"), std::string::npos) << t;
    EXPECT_EQ(e->SelStart(), int(t.find(clockForm + "X")) + 1 + int(clockForm.size()));
    // Again: no second function, no second onload; only a second form.
    const int x2 = int(t.find("X\r\n</BODY>")) + 1;
    const std::string again = runAt("mnJavaClock", x2);
    EXPECT_EQ(again, t.substr(0, size_t(x2 - 1)) + clockForm + t.substr(size_t(x2 - 1)));
    // The date's call goes into startclock; the BODY tag keeps one onload.
    const std::string dated = runAt("mnJavaDate", 1 + int(again.find("X\r\n</BODY>")));
    EXPECT_NE(dated.find("function startclock()\r\n{  showdate() // volani jineho Javascriptu\r\n\r\n  stopclock();"),
              std::string::npos);
    EXPECT_NE(dated.find("function showdate()"), std::string::npos);
    EXPECT_EQ(dated.find("showdate()\""), std::string::npos);

    // Lower-case tags count; with the caret in the head the form lands exactly there.
    e->SetText("<html><head><title>t</title><script><!--\r\n// -->\r\n</script></head><body>b</body></html>");
    const int inHead = 7; // before "<head>"
    t = runAt("mnJavaClock", inHead);
    EXPECT_EQ(t.substr(0, 6 + clockForm.size()), "<html>" + clockForm);
    EXPECT_NE(t.find("<script><!--\r\n\r\n\r\nvar timerID"), std::string::npos) << t;
    EXPECT_NE(t.find("<body onload=\"startclock()\">b"), std::string::npos);

    // No BODY: the functions, then the message; nothing at the caret.
    e->SetText("<TITLE>t</TITLE>\r\n<SCRIPT>\r\n</SCRIPT>\r\ntext");
    services.expectMessage("Tag BODY chybí!");
    t = runAt("mnJavaBackButton", 38);
    EXPECT_NE(t.find("function goback()"), std::string::npos);
    EXPECT_EQ(t.find("<FORM"), std::string::npos);
    // A SCRIPT start tag without its ">": the command ends cleanly.
    e->SetText("<SCRIPT language=x");
    services.expectMessage("Nelze určit místo, kam má být tag SCRIPT vložen!", platform::Answer::Ok,
                           platform::Icon::Exclamation, "Javascript");
    EXPECT_EQ(runAt("mnJavaClock", 19), "<SCRIPT language=x");

    // The button as a link, answered No: no TARGET.
    e->SetText("<BODY>");
    services.expectMessage(kNoScript, platform::Answer::No, platform::Icon::Information);
    e->SetSelection(7, 7);
    frame->Action("mnJavaButtonRefer")->trigger();
    EXPECT_EQ(e->Text(), "<BODY>");
    e->SetText("<SCRIPT></SCRIPT><BODY>");
    services.expectMessage("Zvolte ANO pro otevření dokumentu v novém okně.\r\n\r\nZvolte NE pro otevření dokumentu v "
                           "aktuálním okně.",
                           platform::Answer::No, platform::Icon::Question);
    EXPECT_EQ(runAt("mnJavaButtonRefer", 24), "<SCRIPT></SCRIPT><BODY>\r\n<FORM ACTION=\"_file_.htm\">\r\n<input "
                                              "type=\"submit\" name=\"startbutton\" value=\"Otev\xF8\xEDt\">\r\n</FORM>\r\n");
    // The link with a status-line text: through the link dialog, or a bare link when cancelled.
    dialogs.link = [](LinkValues &v) { return v = {"a.htm", ""}, true; };
    e->SetText("<SCRIPT></SCRIPT><BODY>");
    t = runAt("mnJavaReferenceTitle", 24);
    EXPECT_NE(t.find("<BODY onload=\"TitleBar('')\"><A href=\"a.htm\" onMouseOver=\"TitleBar('Text...');return "
                     "true\"></A>"),
              std::string::npos)
        << t;
    EXPECT_EQ(std::string(1, e->CharAt(e->SelStart())), "<"); // after the opening tag
    // An onload of another page part is no load handler: written into BODY anyway.
    e->SetText("<SCRIPT></SCRIPT><BODY onload=\"init()\">");
    services.expectMessage("Do tagu BODY bude vložen již druhý parametr ONLOAD, ale prohlížeče umí zohlednit jen jeden. "
                           "Problém bude třeba řešit ručně pomocí volání mezi funkcemi JavaScriptů.",
                           platform::Answer::Ok, platform::Icon::Exclamation, "JavaScript");
    t = runAt("mnJavaRollText", 40);
    EXPECT_NE(t.find("<BODY onload=\"init()\" onload=\"scrollit_r2l(100)\">"), std::string::npos) << t;

    // The help on the features, from the submenu, its button and the help menu.
    HelpFileName = QStringLiteral("/xo.hlp");
    frame->Action("mnJavaHelp")->trigger();
    frame->Action("mnNapovedaJava")->trigger();
    frame->findChild<QToolButton *>("btJava")->click();
    ASSERT_EQ(services.helpRequests.size(), 3u);
    for (const auto &r : services.helpRequests) EXPECT_EQ(r.second, 4101);
}

TEST_F(TagCommandsTest, UserTagsStylesAndTheirPopups) {
    services.clock = QDateTime(QDate(2000, 2, 1), QTime(9, 0, 10));
    // User tag 3: the pair with the dated text between, also in front of a selection.
    const std::string updated = "<CENTER>Posledn\xED aktualizace: <!--*DefDat*-->1.2.2000; <!--*DefCas*-->9:00:10|</CENTER>";
    TEditor *e = document();
    auto shown = [&] {
        std::string t = e->Text();
        return t.insert(size_t(e->SelStart() - 1), "|");
    };
    e->SetText("");
    InsertUserTag(3);
    EXPECT_EQ(shown(), updated);
    e->SetText("word");
    e->SetSelection(1, 5);
    InsertUserTag(3);
    EXPECT_EQ(shown(), updated + "word");
    // FONT with its Pars: the leading space is added, and kept in the list.
    UserTags[4] = {"Red", "FONT", "color=\"red\"", "", true};
    e->SetText("word");
    e->SetSelection(1, 5);
    InsertUserTag(4);
    EXPECT_EQ(shown(), "<FONT color=\"red\">|word</FONT>");
    EXPECT_EQ(UserTags[4].Pars.str(), " color=\"red\"");
    // A full Pars is written whole and stored only if it fits.
    UserTags[4].Pars = std::string(100, 'p');
    e->SetText("");
    InsertUserTag(4);
    EXPECT_EQ(e->Text(), "<FONT " + std::string(100, 'p') + "></FONT>");
    EXPECT_EQ(UserTags[4].Pars.str(), std::string(100, 'p'));
    // Macros.
    std::string bad;
    EXPECT_EQ(ExpandMacros("^COPY, ^COPY", services.clock, bad), "Copyright &copy; 2000, Copyright &copy; 2000");
    EXPECT_EQ(ExpandMacros("by ^XO!", services.clock, bad), "by Xo! HTML Editor vs 8.1");
    EXPECT_EQ(ExpandMacros("^DATUM!A ^CAS! ^COPY!", services.clock, bad),
              "<!--*DefDat*-->1.2.2000A <!--*DefCas*-->9:00:10 Copyright &copy; 2000");
    EXPECT_EQ(bad, "");
    EXPECT_EQ(ExpandMacros("^CAS ^datum", services.clock, bad), "<!--*DefCas*-->9:00:10 ^datum");
    EXPECT_EQ(bad, "^");
    UserTags[5] = {"Bad", "", "", "a ^datum b", false};
    services.expectMessage("Chybné makro: ^");
    e->SetText("");
    InsertUserTag(5);
    EXPECT_EQ(e->Text(), "a ^datum b");

    // Styles: style 1 around a word; a style without its end part.
    e->SetText("word");
    e->SetSelection(1, 5);
    ApplyStyle(1);
    EXPECT_EQ(shown(), "<FONT color=\"#0000ff\"><B>|word</B></FONT>");
    TextStyles[3] = {"Half", "<EM>", ""};
    LastInsertedText = {"<B>", 0};
    e->SetText("x");
    e->SetSelection(1, 2);
    ApplyStyle(3);
    EXPECT_EQ(e->Text(), "<EM>x");

    // The popups list the entries; an empty list leads to its options page.
    frame->Action("mnUserChooseTag")->trigger();
    auto *popup = frame->findChild<QMenu *>("menuUserPopup");
    ASSERT_NE(popup, nullptr);
    ASSERT_GE(popup->actions().size(), 5);
    EXPECT_EQ(popup->actions()[2]->statusTip(), QString::fromUtf8("Uživatelem definovaný tag »Poslední aktualizace«"));
    popup->hide();
    TextStyles = {};
    int opened = 0;
    OpenOptionsDialog = [&](int page) {
        EXPECT_EQ(page, pgStylyTextu);
        ++opened;
        return false;
    };
    services.expectMessage("Menu je prázdné.", platform::Answer::Ok, platform::Icon::Information);
    frame->findChild<QToolButton *>("btStyly")->click();
    EXPECT_EQ(opened, 1);
    QTest::mouseClick(frame->findChild<QToolButton *>("btStyly"), Qt::RightButton);
    EXPECT_EQ(opened, 2);
    OpenOptionsDialog = [](int) { return false; };
}

namespace {
class BrowserFrameTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        startFrame({}, {OptionsSubsystem(), SearchSubsystem(), DialogsSubsystem(), TagsSubsystem()});
    }
};
} // namespace

TEST_F(BrowserFrameTest, F12ShowsOnlyASavedDocumentInTheChosenBrowser) {
    Settings.BrowsersNetscape = "/usr/bin/first";
    Settings.BrowsersExplorer = "/usr/bin/second";
    frame->ApplySettings();
    EXPECT_EQ(frame->findChild<QToolButton *>("btBrowser")->property("image").toInt(), 3);
    frame->NewDocumentWindow(QString());
    // Unnamed, and the name not given: nothing is shown.
    services.fileResults.push_back({}); // the save dialog cancelled
    frame->Action("mnShowInBrowser")->trigger();
    EXPECT_TRUE(services.started.empty());
    // Saved: the choice dialog, preselected with the last choice.
    const QString file = dir.filePath("p.htm");
    services.fileResults.push_back({{file}, 0});
    ChooseBrowserState.Index = 1;
    services.onModal = [](QDialog &d) {
        auto &choose = dynamic_cast<TfrmChooseBrowser &>(d);
        EXPECT_EQ(choose.grpBrowser->checkedId(), 1);
        d.accept();
        return d.result();
    };
    frame->Action("mnShowInBrowser")->trigger();
    ASSERT_EQ(services.started.size(), 1u);
    EXPECT_EQ(services.started[0], std::make_pair(QString("/usr/bin/second"), QStringList{file}));
    Settings.BrowsersNetscape = "";
    frame->ApplySettings();
    EXPECT_EQ(frame->findChild<QToolButton *>("btBrowser")->property("image").toInt(), 4);
}
