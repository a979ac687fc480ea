#include "documents/about_dialogs.h"
#include "documents/glyphs.h"
#include "documents/help.h"
#include "documents/new_document.h"
#include "documents/title_preview.h"
#include "editor/document_file.h"
#include "search/find_dialogs.h"
#include <QComboBox>
#include <QLineEdit>
#include "frame_test_util.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QCheckBox>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QStatusBar>
#include <sys/stat.h>
#include <QTextDocument>
#include "documents/local_browser.h"

using namespace xo;
using test::FrameTest;
using platform::Answer;
using platform::Icon;

namespace {

QAction *topMenu(TfrmMain &f, const QString &caption) {
    for (QAction *a : f.menuBar()->actions())
        if (a->text() == caption) return a;
    return nullptr;
}

QAction *toolButton(TfrmMain &f, const QString &name) {
    for (QToolBar *t : f.toolbars)
        for (QAction *a : t->actions())
            if (a->objectName() == name) return a;
    return nullptr;
}

// Typing through the editor's own key handling.
void type(TMDIChild *c, const char *text) {
    for (const char *p = text; *p; ++p) c->Editor->KeyChar(static_cast<unsigned char>(*p), false);
}

QString changedQuestion(const QString &name) {
    return QStringLiteral("Soubor »") + name + QStringLiteral("« byl změněn.\r\n\r\nUložit?");
}

} // namespace

TEST_F(FrameTest, MenusAndButtonsFollowThePresenceOfDocuments) {
    // "&Entity" and "&Nástroje" hold nothing yet: a menu without items stays out of sight.
    const QStringList always = {"&Soubor", "&Reklama", QStringLiteral("Ná&pověda")};
    const QStringList needDocument = {"E&ditace", QStringLiteral("&Vyhledávání"), "&Okna"};
    auto check = [&](bool documents) {
        EXPECT_FALSE(topMenu(*frame, "&Entity")->isVisible());
        for (const QString &m : always) EXPECT_TRUE(topMenu(*frame, m)->isVisible()) << m.toStdString();
        for (const QString &m : needDocument)
            EXPECT_EQ(topMenu(*frame, m)->isVisible(), documents) << m.toStdString();
        EXPECT_EQ(frame->Action("mnUlozit")->isVisible(), documents);
        EXPECT_TRUE(frame->Action("mnNovySoubor")->isVisible());
        EXPECT_TRUE(frame->Action("mnKonec")->isVisible());
        EXPECT_EQ(toolButton(*frame, "btSaveFile")->isEnabled(), documents);
        EXPECT_TRUE(toolButton(*frame, "btOpenFile")->isEnabled());
    };
    check(false);
    TMDIChild *a = frame->NewDocumentWindow(QString());
    check(true);
    frame->NewDocumentWindow(QString());
    a->close();
    check(true);
    frame->mnCloseAllClick();
    check(false);
}

TEST_F(FrameTest, AFileTooLargeOrUnreadableLeavesNoWindowBehind) {
    const QString huge = dir.filePath("huge.htm");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize((qint64(1) << 30) + 1)); // sparse: no disk space used
    }
    services.expectMessage(QStringLiteral("Soubor ") + huge +
                           QStringLiteral(" je příliš velký. Editor pojme nejvýše 1 GB textu."));
    EXPECT_EQ(frame->OpenDocument(huge), nullptr);
    services.expectMessage(QStringLiteral("Soubor nenalezen nebo odepřen přístup"));
    EXPECT_EQ(frame->OpenDocument(dir.filePath("missing.htm")), nullptr);
    QApplication::processEvents();
    EXPECT_TRUE(frame->DocumentWindows().isEmpty());
    EXPECT_FALSE(frame->Action("mnUlozit")->isVisible());
    // Tabs and Unix line ends count as the text they become.
    EXPECT_EQ(NormalizedSize("a\tb\nc\n", 6), 6u + 3 + 2);
    EXPECT_EQ(NormalizedSize("a\r\nb\n", 6), 6u);
}

TEST_F(FrameTest, OpeningAnOpenFileBringsItsWindowToTheFront) {
    const QString a = file("a.htm", "A"), b = file("b.htm", "B");
    answerFile(a);
    frame->mnOtevritClick();
    TMDIChild *first = frame->ActiveChild();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), a);
    frame->OpenDocument(b);
    EXPECT_NE(frame->ActiveChild(), first);
    EXPECT_EQ(frame->OpenDocument(a), nullptr);
    EXPECT_EQ(frame->ActiveChild(), first);
    EXPECT_EQ(frame->DocumentWindows().size(), 2);
    EXPECT_EQ(frame->OpenDirectory, dir.path());
}

TEST_F(FrameTest, RecentFilesShowTheNewestClosedFirstWithoutDuplicates) {
    const QString a = file("a.htm"), b = file("b.htm"), c = file("c.htm");
    for (const QString &f : {a, b, c}) frame->OpenDocument(f);
    for (const QString &f : {a, b, c}) {
        for (TMDIChild *w : frame->DocumentWindows())
            if (w->Editor->FileName == f) w->close();
    }
    EXPECT_EQ(frame->RecentFiles(), QStringList({c, b, a}));
    EXPECT_EQ(frame->mnSoubor[0]->text(), "&1  c.htm");
    EXPECT_EQ(frame->mnSoubor[2]->text(), "&3  a.htm");
    EXPECT_EQ(frame->mnSoubor[0]->statusTip(), c);
    EXPECT_FALSE(frame->mnSoubor[3]->isVisible());
    EXPECT_TRUE(frame->mnOldFilesSeparator->isVisible());
    frame->menuStarySouborVybran(2); // b
    EXPECT_EQ(frame->RecentFiles(), QStringList({c, a}));
    frame->mnZavritClick();
    EXPECT_EQ(frame->RecentFiles(), QStringList({b, c, a}));
    EXPECT_EQ(frame->mnSoubor[1]->text(), "&2  c.htm");
    // Ten names: the oldest leaves item 9.
    for (int i = 0; i < 10; ++i) frame->AddRecentFile(dir.filePath(QStringLiteral("f%1.htm").arg(i)));
    EXPECT_EQ(frame->RecentFiles().size(), 9);
    EXPECT_EQ(frame->RecentFiles().first(), dir.filePath("f9.htm"));
    EXPECT_EQ(frame->RecentFiles().last(), dir.filePath("f1.htm"));
    for (const QString &f : frame->RecentFiles()) frame->RemoveRecentFile(f);
    EXPECT_FALSE(frame->mnOldFilesSeparator->isVisible());
}

TEST_F(FrameTest, SaveAsAppendsTheExtensionOfTheFilterAndAsksBeforeOverwriting) {
    TMDIChild *c = frame->NewDocumentWindow(QString());
    c->Editor->SetText("<P>x");
    answerFile(dir.filePath("page"), 1);
    frame->mnUlozitJakoClick(TfrmMain::SaveAs::Unix);
    EXPECT_EQ(c->Editor->FileName, dir.filePath("page.htm"));
    EXPECT_EQ(read(dir.filePath("page.htm")), "<P>x\n");
    EXPECT_EQ(frame->RecentFiles(), QStringList()); // an unnamed document leaves no name behind
    answerFile(dir.filePath("other"), 0);
    frame->mnUlozitJakoClick(TfrmMain::SaveAs::Dos);
    EXPECT_EQ(c->Editor->FileName, dir.filePath("other.html"));
    EXPECT_EQ(read(dir.filePath("other.html")), "<P>x");
    EXPECT_EQ(frame->RecentFiles(), QStringList({dir.filePath("page.htm")}));
    // Refusing to overwrite ends the command; the line-end choice stays.
    const QString taken = file("taken.htm", "keep");
    answerFile(taken, 2);
    services.expectMessage(QStringLiteral("Soubor ") + taken + QStringLiteral(" existuje. Přepsat?"), Answer::No,
                           Icon::Question);
    frame->mnUlozitJakoClick(TfrmMain::SaveAs::Unix);
    EXPECT_EQ(read(taken), "keep");
    EXPECT_FALSE(c->Editor->DosLineEnds);
    EXPECT_EQ(c->Editor->FileName, dir.filePath("other.html"));
    // A file that exists but cannot be read is still asked about.
    const QString locked = file("locked.htm", "x");
    QFile::setPermissions(locked, QFileDevice::Permissions());
    answerFile(locked, 2);
    services.expectMessage(QStringLiteral("Soubor ") + locked + QStringLiteral(" existuje. Přepsat?"), Answer::No,
                           Icon::Question);
    frame->mnUlozitJakoClick();
}

TEST_F(FrameTest, SaveAllAsksForEachUnnamedDocumentAndStopsAtTheFirstCancel) {
    TMDIChild *one = frame->NewDocumentWindow(QString());
    TMDIChild *two = frame->NewDocumentWindow(QString());
    one->Editor->SetText("one");
    two->Editor->SetText("two");
    cancelFile();
    frame->mnUlozitVseClick();
    EXPECT_EQ(services.fileRequests.size(), 1u);
    EXPECT_TRUE(one->Editor->FileName.isEmpty());
    EXPECT_TRUE(two->Editor->FileName.isEmpty());
    answerFile(dir.filePath("x.html"));
    answerFile(dir.filePath("y.html"));
    frame->mnUlozitVseClick();
    EXPECT_EQ(services.fileRequests.size(), 3u);
    EXPECT_EQ(read(dir.filePath("x.html")), "two"); // the active window comes first
    EXPECT_EQ(read(dir.filePath("y.html")), "one");
}

TEST_F(FrameTest, ClosingAModifiedWindowAsksAndObeysEachAnswer) {
    TMDIChild *c = frame->NewDocumentWindow(QString());
    type(c, "x");
    services.expectMessage(changedQuestion(QStringLiteral("Nepojmenovaný")), Answer::Cancel, Icon::Question);
    EXPECT_FALSE(c->close());
    // Yes without a name, and the name dialog cancelled: the window stays.
    services.expectMessage(changedQuestion(QStringLiteral("Nepojmenovaný")), Answer::Yes, Icon::Question);
    cancelFile();
    EXPECT_FALSE(c->close());
    // Yes with a name: saved and closed.
    services.expectMessage(changedQuestion(QStringLiteral("Nepojmenovaný")), Answer::Yes, Icon::Question);
    answerFile(dir.filePath("saved.htm"));
    EXPECT_TRUE(c->close());
    EXPECT_EQ(read(dir.filePath("saved.htm")), "x");
    // No: closed without saving.
    const QString kept = file("kept.htm", "old");
    TMDIChild *d = frame->OpenDocument(kept);
    type(d, "new ");
    services.expectMessage(changedQuestion(kept), Answer::No, Icon::Question);
    EXPECT_TRUE(d->close());
    EXPECT_EQ(read(kept), "old");
    // Nothing changed: nothing asked.
    TMDIChild *e = frame->OpenDocument(kept);
    EXPECT_TRUE(e->close());
}

TEST_F(FrameTest, AWindowWhoseSaveFailedStaysOpen) {
    TMDIChild *c = frame->NewDocumentWindow(QString());
    type(c, "precious");
    c->Editor->FileName = dir.filePath("gone/missing.htm");
    services.expectMessage(changedQuestion(dir.filePath("gone/missing.htm")), Answer::Yes, Icon::Question);
    services.expectMessage(QStringLiteral("Chyba při ukládání souboru"));
    EXPECT_FALSE(c->close());
    EXPECT_EQ(frame->DocumentWindows().size(), 1);
    // At exit the same counts as Cancel.
    services.expectMessage(changedQuestion(dir.filePath("gone/missing.htm")), Answer::Yes, Icon::Question);
    services.expectMessage(QStringLiteral("Chyba při ukládání souboru"));
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(c->Editor->Text(), "precious");
}

namespace {

// A subsystem as a later issue adds one: commands with a secondary click, a
// drop-down, a context-menu item, an unknown menu, a dialog and a reaction
// to applied settings.
struct FakeLog {
    int runs = 0, secondary = 0, dropDowns = 0, applied = 0;
    bool available = true;
};

class FakeDialog : public QDialog {
public:
    using QDialog::QDialog;
};

Subsystem fakeSubsystem(FakeLog &log) {
    Subsystem s;
    s.name = "fake";
    s.commands = [&log](TfrmMain &, std::vector<CommandSpec> &specs) {
        CommandSpec c;
        c.menu = "&Vyhledávání";
        c.name = "mnFakeFind";
        c.caption = "&Hledat jinak";
        c.shortcut = QKeySequence(Qt::CTRL | Qt::Key_K);
        c.handler = [&log] { ++log.runs; };
        c.available = [&log] { return log.available; };
        c.toolbar = "tbText";
        c.button = "btFake";
        c.iconName = "edit-find";
        c.secondaryClick = [&log] { ++log.secondary; };
        c.dropDown = [&log](QMenu &m) {
            ++log.dropDowns;
            m.addAction("one");
        };
        c.popup = 35;
        specs.push_back(c);
        CommandSpec always;
        always.menu = "&Tabulky/&Import";
        always.name = "mnFakeImport";
        always.caption = "&DBF";
        always.tag = tagAlways;
        specs.push_back(always);
    };
    s.dialogs = {{"TfrmTable", [](TfrmMain &m) { return new FakeDialog(&m); }}};
    s.applySettings = [&log](TfrmMain &) { ++log.applied; };
    return s;
}

} // namespace

TEST_F(FrameTest, ASubsystemAddsCommandsButtonsMenusDialogsAndSettingsReactions) {
    FakeLog log;
    startFrame({}, {SearchSubsystem(), fakeSubsystem(log)});
    EXPECT_EQ(log.applied, 1);
    frame->ApplySettings();
    EXPECT_EQ(log.applied, 2);
    // The dialog takes its place in the creation order, between the find dialogs and the about box.
    QStringList order;
    for (QObject *o : frame->children())
        if (qobject_cast<QDialog *>(o)) order << o->objectName();
    EXPECT_LT(order.indexOf("TdlgReplace"), order.indexOf("TfrmTable"));
    EXPECT_LT(order.indexOf("TfrmTable"), order.indexOf("TfrmGotoLine"));
    EXPECT_NE(dynamic_cast<FakeDialog *>(frame->Dialog("TfrmTable")), nullptr);
    // A new top-level menu stands before the help menu; holding an always-available item, it stays without documents.
    const QList<QAction *> tops = frame->menuBar()->actions();
    QStringList titles;
    for (QAction *a : tops) titles << a->text();
    EXPECT_EQ(titles.indexOf("&Tabulky") + 1, titles.indexOf("Ná&pověda"));
    EXPECT_TRUE(tops[titles.indexOf("&Tabulky")]->isVisible());
    EXPECT_FALSE(tops[titles.indexOf("&Vyhledávání")]->isVisible());

    TMDIChild *c = frame->NewDocumentWindow(QString());
    c->Editor->setFocus();
    QTest::keyClick(c->Editor, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(log.runs, 1);
    log.available = false;
    QTest::keyClick(c->Editor, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(log.runs, 1);
    log.available = true;
    EXPECT_EQ(c->Editor->TextLength(), 0);

    auto *button = frame->findChild<QToolButton *>("btFake");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::RightButton);
    EXPECT_EQ(log.secondary, 1);
    ASSERT_NE(button->menu(), nullptr);
    EXPECT_EQ(button->popupMode(), QToolButton::MenuButtonPopup);
    QMetaObject::invokeMethod(button->menu(), "aboutToShow");
    EXPECT_EQ(log.dropDowns, 1);
    EXPECT_EQ(button->menu()->actions().size(), 1);

    QStringList popup;
    for (QAction *a : frame->menuEditorPopup->actions()) popup << a->objectName();
    EXPECT_EQ(popup, QStringList({"mnpCut", "mnpCopy", "mnpPaste", "mnpFakeFind", "mnpFind", "mnpGotoLine"}));
    frame->findChild<QAction *>("mnpFakeFind")->trigger();
    EXPECT_EQ(log.runs, 2);
}

TEST_F(FrameTest, MenuAccessKeysAndShortcutsWorkWhileTheEditorHasTheFocus) {
    const QString path = file("doc.htm", "abc");
    TMDIChild *c = frame->OpenDocument(path);
    QApplication::setActiveWindow(frame.get());
    c->Editor->setFocus();
    QTest::keyClick(c->Editor, Qt::Key_S, Qt::AltModifier);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), "&Soubor");
    menu->close();
    QTest::keyClicks(c->Editor, "xy");
    QTest::keyClick(c->Editor, Qt::Key_Z, Qt::ControlModifier); // undoes like Alt+Backspace
    QTest::keyClick(c->Editor, Qt::Key_X);
    EXPECT_EQ(c->Editor->Text(), "xabc");
    QTest::keyClick(c->Editor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(read(path), "xabc");
    // Delete is the editor's own key although a menu item carries it too.
    QTest::keyClick(c->Editor, Qt::Key_Delete);
    EXPECT_EQ(c->Editor->Text(), "xbc");
    // Ctrl+F runs the find command from the menu.
    int finds = 0;
    services.onModal = [&finds](QDialog &d) {
        finds += dynamic_cast<TdlgFind *>(&d) != nullptr;
        return int(QDialog::Rejected);
    };
    QTest::keyClick(c->Editor, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(finds, 1);
    EXPECT_EQ(c->Editor->PopupMenu, frame->menuEditorPopup);
}

TEST_F(FrameTest, TheSwitchBarHasAPanelPerDocumentWithItsGlyph) {
    const QString a = file("a.htm"), b = file("b.html");
    frame->OpenDocument(a);
    frame->OpenDocument(b);
    TMDIChild *unnamed = frame->NewDocumentWindow(QString());
    frame->RebuildSwitchBar();
    auto panels = frame->SwitchBar->findChildren<QFrame *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_EQ(panels.size(), 3);
    std::sort(panels.begin(), panels.end(), [](QFrame *x, QFrame *y) { return x->x() < y->x(); });
    EXPECT_EQ(panels[0]->toolTip(), a); // the oldest window leftmost
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(panels[0], &enter); // the pointer over it: its hint in the status bar
    EXPECT_EQ(frame->StatusText(), a);
    EXPECT_EQ(panels[0]->findChildren<QLabel *>().last()->text(), "a.htm  ");
    EXPECT_EQ(panels[2]->findChildren<QLabel *>().last()->text(), QStringLiteral("Nepojmenovaný  "));
    EXPECT_EQ(panels[2]->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(panels[0]->frameShadow(), QFrame::Raised);
    auto glyphOf = [](QFrame *p) { return p->findChildren<QLabel *>().first()->pixmap().cacheKey(); };
    EXPECT_EQ(glyphOf(panels[2]), SavedGlyph().cacheKey());
    type(unnamed, "x");
    EXPECT_EQ(glyphOf(panels[2]), ModifiedGlyph().cacheKey());
    // A click on a panel brings its document forward.
    QTest::mouseClick(panels[0], Qt::LeftButton);
    EXPECT_EQ(frame->ActiveChild()->Editor->FileName, a);
    EXPECT_EQ(panels[0]->frameShadow(), QFrame::Sunken);
    Settings.ShortSwitch = true;
    frame->RebuildSwitchBar();
    panels = frame->SwitchBar->findChildren<QFrame *>(QString(), Qt::FindDirectChildrenOnly);
    QStringList texts;
    for (QFrame *p : panels) texts << p->findChildren<QLabel *>().last()->text();
    EXPECT_TRUE(texts.contains("b  "));
}

TEST_F(FrameTest, NewDocumentFromATemplate) {
    const QString tpl = file("tpl.htm", "<HTML>template</HTML>");
    services.onModal = [](QDialog &d) {
        static_cast<TfrmNewDocument &>(d).SetItemIndex(TfrmNewDocument::UseTemplate);
        return int(QDialog::Accepted);
    };
    answerFile(tpl);
    frame->mnNovySouborClick();
    TMDIChild *copy = frame->ActiveChild();
    EXPECT_TRUE(copy->Editor->FileName.isEmpty());
    EXPECT_EQ(copy->windowTitle(), QStringLiteral("Nepojmenovaný"));
    EXPECT_EQ(copy->Editor->Text(), "<HTML>template</HTML>");
    EXPECT_FALSE(copy->Editor->Modified());
    // The template open in a window: an unnamed, modified copy of its text.
    TMDIChild *open = frame->OpenDocument(tpl);
    type(open, "edited ");
    answerFile(tpl);
    frame->mnNovySouborClick();
    TMDIChild *second = frame->ActiveChild();
    EXPECT_NE(second, open);
    EXPECT_EQ(second->Editor->Text(), "edited <HTML>template</HTML>");
    EXPECT_TRUE(second->Editor->Modified());
    EXPECT_EQ(frame->DocumentWindows().size(), 3);
}

TEST_F(FrameTest, NewEmptyOrStructuredDocumentsAskForANameFirst) {
    services.onModal = [](QDialog &d) {
        EXPECT_EQ(static_cast<TfrmNewDocument &>(d).ItemIndex(), TfrmNewDocument::BasicStructure); // preselected
        static_cast<TfrmNewDocument &>(d).SetItemIndex(TfrmNewDocument::EmptyDocument);
        return int(QDialog::Accepted);
    };
    answerFile(dir.filePath("empty"));
    frame->mnNovySouborClick();
    EXPECT_EQ(frame->ActiveEditor()->FileName, dir.filePath("empty.html"));
    EXPECT_EQ(read(dir.filePath("empty.html")), "");
    services.onModal = [](QDialog &d) {
        static_cast<TfrmNewDocument &>(d).SetItemIndex(TfrmNewDocument::BasicStructure);
        return int(QDialog::Accepted);
    };
    cancelFile();
    frame->mnNovySouborClick();
    EXPECT_TRUE(frame->ActiveEditor()->FileName.isEmpty());
    EXPECT_EQ(frame->ActiveEditor()->TextLength(), 0);
    EXPECT_EQ(frame->Action("mnStruc"), nullptr); // the skeletons come with the tag commands
    services.onModal = [](QDialog &) { return int(QDialog::Rejected); };
    frame->mnNovySouborClick();
    EXPECT_EQ(frame->DocumentWindows().size(), 2);
}

TEST_F(FrameTest, TheBrowserPageSavesFirstAndNeedsAName) {
    const QString path = file("view.htm", "old");
    TMDIChild *c = frame->OpenDocument(path);
    type(c, "new ");
    frame->mnpSwitchEditorExplorerClick(); // F7
    EXPECT_EQ(c->Pages->currentWidget(), c->pgWebBrowser);
    EXPECT_EQ(read(path), "new old");
    EXPECT_EQ(navigations, QStringList({path}));
    frame->mnpSwitchEditorExplorerClick();
    EXPECT_EQ(c->Pages->currentWidget(), c->pgEditor);
    EXPECT_EQ(c->WebBrowser(), nullptr);

    TMDIChild *unnamed = frame->NewDocumentWindow(QString());
    type(unnamed, "x");
    cancelFile();
    services.expectMessage(QStringLiteral("Soubor musí mít jméno"));
    unnamed->ShowPage(unnamed->pgWebBrowser);
    EXPECT_EQ(navigations.size(), 1);

    browserFails = true;
    TMDIChild *third = frame->OpenDocument(file("third.htm"));
    services.expectMessage(QStringLiteral(
        "Je třeba nainstalovat 32bitovou verzi Internet Exploreru. Bez toho není možné náhled provádět!\r\n\r\nMůže "
        "se stát, že při příštím pokusu o komunikaci s prohlížečem program zatuhne. V takovém případě doporučujeme "
        "počítač restartovat a se stávající verzí Internet Exploreru záložku \"IExplorer\" nepoužívat. V případě "
        "přetrvávajících problémů se prosím obraťte na autora."));
    third->ShowPage(third->pgWebBrowser);
    EXPECT_EQ(third->Pages->currentWidget(), third->pgEditor);
    // Without the browser tab F7 only beeps.
    Settings.IExpNahled = false;
    frame->ApplySettings();
    frame->mnpSwitchEditorExplorerClick();
    EXPECT_EQ(services.beeps, 1);
}

TEST_F(FrameTest, TheOlePagePreviewsTheSavedFile) {
    const QString path = file("ole.htm", "<HTML><BODY><B>Tu\xe8n\xfd</B></BODY></HTML>");
    TMDIChild *c = frame->OpenDocument(path);
    c->ShowPage(c->pgBrowser);
    EXPECT_TRUE(c->oleBrowser->toPlainText().contains(QStringLiteral("Tučný")));
    c->ShowPage(c->pgEditor);
    EXPECT_TRUE(c->oleBrowser->toPlainText().isEmpty());
    // Images load from regular files only: /dev/zero or a FIFO neither grow
    // the program without end nor block it.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.png")).constData(), 0644), 0);
    const QByteArray png = QByteArray::fromBase64(
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");
    file("dot.png", png);
    const QString hostile = file("hostile.htm", "<IMG src=\"file:///dev/zero\"><IMG src=\"pipe.png\"><IMG src=\"dot.png\">");
    // From the document's directory, where a fallback by the bare name would find the FIFO.
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TMDIChild *h = frame->OpenDocument(hostile);
    h->ShowPage(h->pgBrowser);
    QApplication::processEvents();
    QDir::setCurrent(cwd);
    const QUrl base = QUrl::fromLocalFile(hostile);
    const QImage dot = h->oleBrowser->loadResource(QTextDocument::ImageResource, base.resolved(QUrl("dot.png"))).value<QImage>();
    EXPECT_EQ(dot.size(), QSize(1, 1));
    EXPECT_GT(dot.pixelColor(0, 0).alpha(), 0); // the real image, not the blank of a refused one
    EXPECT_EQ(h->oleBrowser->loadResource(QTextDocument::ImageResource, QUrl("file:///dev/zero")).value<QImage>().pixelColor(0, 0).alpha(), 0);
}

TEST_F(FrameTest, TheInformationPageAndThePositionText) {
    const QString path = file("info.htm", QByteArray(2048, 'x'));
    TMDIChild *c = frame->OpenDocument(path);
    c->ShowPage(c->pgInfo);
    EXPECT_EQ(c->stFileName->text(), path);
    EXPECT_EQ(c->stSize->text(), "2.00 kB");
    EXPECT_EQ(c->stSizeMem->text(), "2.00 kB");
    EXPECT_FALSE(c->stLastUpdate->text().contains('?'));
    TMDIChild *u = frame->NewDocumentWindow(QString());
    u->ShowPage(u->pgInfo);
    EXPECT_EQ(u->stFileName->text(), QStringLiteral("Nepojmenovaný"));
    EXPECT_EQ(u->stSize->text(), "?");
    EXPECT_EQ(u->stSizeMem->text(), "0 B");

    EXPECT_EQ(TMDIChild::CaretPositionText(5, 12), "   5:12 ");
    EXPECT_EQ(TMDIChild::CaretPositionText(12345, 1), "12345:1 ");
    u->ShowPage(u->pgEditor);
    u->Editor->SetText("ab\r\ncd");
    u->Editor->SetSelection(6, 6);
    u->UpdateEditorPosition();
    EXPECT_EQ(u->EditorPosText->text(), "   2:2  "); // between "c" and "d"
    u->Editor->SetSelection(1, 3);
    u->UpdateEditorPosition();
    EXPECT_EQ(u->EditorPosText->text(), "");
    // Shown right of the tabs in a wide window; never over them in a narrow one.
    auto clearOfTabs = [](TMDIChild *w) {
        const QTabBar *bar = w->Pages->tabBar();
        const QRect last = bar->tabRect(bar->count() - 1).translated(bar->mapTo(w->widget(), QPoint(0, 0)));
        return !w->EditorPosText->isVisible() || w->EditorPosText->geometry().left() > last.right();
    };
    u->showNormal();
    u->resize(900, 400);
    EXPECT_TRUE(u->EditorPosText->isVisible());
    EXPECT_TRUE(clearOfTabs(u));
    u->resize(420, 400);
    EXPECT_TRUE(clearOfTabs(u));
}

TEST_F(FrameTest, StatusBarHasASingleTextModeAndShowsHints) {
    EXPECT_FALSE(frame->SingleStatusMode());
    frame->ShowStatusText("Ukládám...");
    EXPECT_TRUE(frame->SingleStatusMode());
    EXPECT_EQ(frame->StatusText(), QStringLiteral("Ukládám..."));
    frame->ShowStatusText("");
    EXPECT_FALSE(frame->SingleStatusMode());
    QAction *open = frame->Action("mnOtevrit");
    open->showStatusText(frame.get());
    EXPECT_EQ(frame->StatusText(), "Otevřít soubory");
    EXPECT_EQ(open->toolTip(), QStringLiteral("Otevřít"));
    // The first panel takes all but the second panel's text.
    frame->ShowStatusText("");
    frame->resize(1200, 700);
    QApplication::processEvents();
    const int second = frame->statusPanels[1]->fontMetrics().horizontalAdvance(frame->statusPanels[1]->text());
    EXPECT_EQ(frame->statusPanels[0]->width(), frame->statusBar()->width() - second - 20);
    // Every toolbar button shows an image, none a bare caption.
    for (QToolBar *t : frame->toolbars)
        for (QAction *b : t->actions()) EXPECT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
}

TEST_F(FrameTest, TheFileDialogsPreviewTheTitleOfTheSelectedFile) {
    const QString titled = file("t.htm", "<html><head><title>Moje str\xe1nka</title>");
    const QString plain = file("p.htm", "no title here");
    QString title;
    EXPECT_TRUE(ReadHtmlTitle(titled, title));
    EXPECT_EQ(title, QStringLiteral("Moje stránka"));
    EXPECT_EQ(TitlePreviewText(titled, true), QStringLiteral("Titulek souboru:  »Moje stránka«"));
    EXPECT_EQ(TitlePreviewText(plain, true), QStringLiteral("Otevření souborů"));
    EXPECT_EQ(TitlePreviewText(plain, false), QStringLiteral("Uložení souboru"));
    EXPECT_EQ(TitlePreviewText(dir.path(), false), QStringLiteral("Uložení souboru"));
    const QString fifo = dir.filePath("fifo.htm");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_FALSE(ReadHtmlTitle(fifo, title)); // would block for ever if it were read
    // The dialog's selection changes reach the status bar.
    services.fileResults.push_back({});
    frame->mnOtevritClick();
    ASSERT_EQ(services.fileRequests.size(), 1u);
    services.fileRequests[0].onSelectionChanged(titled);
    EXPECT_EQ(frame->StatusText(), QStringLiteral("Titulek souboru:  »Moje stránka«"));
    EXPECT_EQ(services.fileRequests[0].caption, QStringLiteral("Otevřít soubory"));
}

TEST_F(FrameTest, HelpOpensNumberedTopicsAndGivesUpAfterAFailure) {
    HelpFileName = dir.filePath("xo.hlp");
    frame->Action("mnNapoveda")->trigger();
    ASSERT_EQ(services.helpRequests.size(), 1u);
    EXPECT_EQ(services.helpRequests[0].second, 299);
    frame->Action("mnFAQ")->trigger();
    EXPECT_EQ(services.helpRequests[1].second, 401);
    services.helpWorks = false;
    services.expectMessage(QStringLiteral("Soubor s nápovědou nenalezen."));
    ShowHelpContext(299);
    services.expectMessage(QStringLiteral("Soubor s nápovědou nenalezen."));
    ShowHelpContext(401);
    EXPECT_EQ(services.helpRequests.size(), 3u); // not asked again
    EXPECT_TRUE(HelpFileName.isEmpty());
}

TEST(HelpFile, LiesBesideTheProgramOrInItsShareDirectory) {
    QTemporaryDir d;
    QDir(d.path()).mkpath("bin");
    QDir(d.path()).mkpath("share/xo");
    EXPECT_EQ(LocateHelpFile(d.filePath("bin/xo")), d.filePath("bin/xo.hlp")); // none exists: the first
    QFile(d.filePath("share/xo/xo.hlp")).open(QIODevice::WriteOnly);
    EXPECT_EQ(LocateHelpFile(d.filePath("bin/xo")), d.filePath("share/xo/xo.hlp"));
    QFile(d.filePath("bin/xo.hlp")).open(QIODevice::WriteOnly);
    EXPECT_EQ(LocateHelpFile(d.filePath("bin/xo.exe")), d.filePath("bin/xo.hlp"));
}

TEST(HelpFile, TheShippedFileHasTheTopicsItIsOpenedAt) {
    QFile f(QStringLiteral(XO_SOURCE_DIR "/resources/xo.hlp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.contains("name=\"ctx299\""));
    EXPECT_TRUE(text.contains("name=\"ctx401\""));
    EXPECT_TRUE(ShowHelpWindow(QFileInfo(f).absoluteFilePath(), 401));
    CloseHelpWindow();
    EXPECT_FALSE(ShowHelpWindow("/nonexistent/xo.hlp", 299));
}

TEST_F(FrameTest, TipsCycleThroughTheTwentyFourAndRememberTheLast) {
    Settings.TipNumber = 9999;
    frame->frmTips->NextTip();
    EXPECT_EQ(Settings.TipNumber, 1);
    EXPECT_EQ(frame->frmTips->lbTip->text(), TfrmTips::TipText(1));
    Settings.TipNumber = 24;
    frame->frmTips->NextTip();
    EXPECT_EQ(Settings.TipNumber, 1);
    QStringList all;
    for (int i = 1; i <= TfrmTips::kTipCount; ++i) all << TfrmTips::TipText(i);
    all.removeDuplicates();
    EXPECT_EQ(all.size(), 24);
    frame->frmTips->chkShowAtStart->setChecked(false);
    frame->frmTips->accept();
    EXPECT_FALSE(Settings.RunTip);
}

TEST_F(FrameTest, SearchCommandsRunTheirDialogsOnTheActiveDocument) {
    TMDIChild *c = frame->NewDocumentWindow(QString());
    c->Editor->SetText("alpha\r\nbeta\r\nalpha");
    services.onModal = [](QDialog &d) {
        auto &find = dynamic_cast<TdlgFind &>(d);
        find.cmbText->setEditText("ALPHA");
        find.accept();
        return int(QDialog::Accepted);
    };
    frame->Action("mnFind")->trigger();
    EXPECT_EQ(c->Editor->SelStart(), 1);
    frame->Action("mnFindNext")->trigger(); // F3
    EXPECT_EQ(c->Editor->SelStart(), 14);
    services.onModal = [](QDialog &d) {
        auto &go = dynamic_cast<TfrmGotoLine &>(d);
        go.edLine->setText("2");
        go.accept();
        return int(QDialog::Accepted);
    };
    frame->Action("mnGotoLine")->trigger();
    EXPECT_EQ(c->Editor->SelStart(), 8);
    services.onModal = [](QDialog &d) {
        auto &rep = dynamic_cast<TdlgReplace &>(d);
        rep.cmbFindText->setEditText("alpha");
        rep.cmbReplaceText->setEditText("omega");
        rep.chkReplaceAll->setChecked(true);
        rep.accept();
        return int(QDialog::Accepted);
    };
    services.expectMessage(QStringLiteral("Řetězec \"alpha\" nenalezen."));
    c->Editor->SetSelection(1, 1);
    frame->Action("mnReplace")->trigger();
    EXPECT_EQ(c->Editor->Text(), "omega\r\nbeta\r\nomega");
}
