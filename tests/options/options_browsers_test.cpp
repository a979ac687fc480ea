#include "platform/cp1250.h"
#include "platform/qt_services.h"
#include "options/browser_choice_state.h"
#include "options/browsers.h"
#include "options/list_editors.h"
#include "options/options_dialog.h"
#include "settings/settings.h"
#include "support/scripted_services.h"

#include <QCheckBox>
#include <QDeadlineTimer>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

using namespace xo;
using platform::Answer;
using platform::Icon;

TEST(ListEditors, StylesAndUserTags) {
    SetDefaultSettings();
    TStyleEditor styles;
    TTextStyles table{};
    for (int i = 1; i <= 50; ++i) table[i].Nazev = "S" + std::to_string(i);
    styles.Load(table);
    styles.Index = 3;
    styles.Insert();
    EXPECT_EQ(styles.Items[3].Nazev.str(), "");
    EXPECT_EQ(styles.Items[4].Nazev.str(), "S3");
    EXPECT_EQ(styles.Items[50].Nazev.str(), "S49"); // S50 is lost
    EXPECT_FALSE(styles.LeaveAllowed(""));
    EXPECT_TRUE(styles.LeaveAllowed("new"));
    EXPECT_FALSE(styles.NextEnabled(""));

    TTextStyles one{};
    one[1].Nazev = "only";
    styles.Load(one);
    styles.Delete();
    EXPECT_EQ(styles.Items[1].Nazev.str(), "");
    EXPECT_TRUE(styles.LeaveAllowed("")); // an empty table may be left

    EXPECT_EQ(FilterTagName("h-1 x"), "H1X");
    TUserTagEditor tags;
    tags.Load(UserTags);
    tags.Index = 49;
    tags.Next({"x", "B", "", "", false});
    EXPECT_EQ(tags.Index, 49); // the page ends at 49
    tags.Index = 1;
    tags.Insert({"changed", "I", "", "", true});
    EXPECT_EQ(tags.Items[2].Name.str(), "changed"); // stored before moving
    EXPECT_EQ(tags.Items[1].Name.str(), "");
}

TEST(OptionsDialog, WarningsColoursPagesAndDirectories) {
    test::ScriptedServices services;
    SetDefaultSettings();
    PredefinedDirs = {"/a/", "/b/", "/c/"};
    SpecialOpenSave = true;
    Settings.ComCtl32Paint = true;
    TfrmOptions dlg;
    int repaints = 0;
    dlg.RepaintEditors = [&] { ++repaints; };
    const TEditorColors before = EditorColors;
    services.onModal = [&](QDialog &d) {
        EXPECT_EQ(dlg.Pages->currentIndex(), pgGlobal); // the first time
        // The warnings come for the user's clicks only, not for filling the dialog.
        EXPECT_TRUE(dlg.chkComCtl32Paint->isChecked());
        const QString restart = "Pro korektní provedení změn doporučujeme restartovat program.";
        services.expectMessage(restart, Answer::Ok, Icon::Exclamation, "Upozornění");
        dlg.chkComCtl32Paint->click();
        services.expectMessage("Toto nastavení může způsobit, že tlačítka na lištách se nebudou zobrazovat (pro správné "
                               "fungování je třeba, aby v systému byla instalována knihovna COMCTL32 ve verzi 4.70 nebo "
                               "vyšší). Odškrtnutím tohoto pole se můžete kdykoliv vrátit do současného stavu.\r\n\r\n" +
                                   restart,
                               Answer::Ok, Icon::Exclamation, "Upozornění");
        dlg.chkComCtl32Paint->click();
        // Colours change at once; Cancel brings them back.
        services.colorResults.push_back(QColor(1, 2, 3));
        services.colorResults.push_back(QColor(4, 5, 6));
        dlg.colorButtons[0]->click();
        dlg.colorButtons[3]->click();
        EXPECT_EQ(EditorColors[0], 0x030201u);
        dlg.btColorsImplicitni2->click();
        EXPECT_EQ(EditorColors[ecStdBackgr], 0xFFFFFFu);
        d.reject();
        return d.result();
    };
    EXPECT_FALSE(dlg.Execute(-1));
    EXPECT_EQ(EditorColors, before);
    EXPECT_GE(repaints, 4);

    services.onModal = [&](QDialog &d) {
        EXPECT_EQ(dlg.Pages->currentIndex(), pgGlobal); // the page last shown
        // A style page whose entry has no name may not be left.
        dlg.Pages->setCurrentIndex(pgStylyTextu);
        dlg.btVlozit->click();
        EXPECT_FALSE(dlg.btOk->isEnabled());
        services.expectMessage("Nejprve prosím dokončete operaci v této záložce");
        dlg.Pages->setCurrentIndex(pgPredefinedDirs);
        EXPECT_EQ(dlg.Pages->currentIndex(), pgStylyTextu);
        dlg.edNazevStylu->setText("Nový");
        EXPECT_TRUE(dlg.btOk->isEnabled());
        dlg.Pages->setCurrentIndex(pgPredefinedDirs);
        dlg.lbPredefinedList->item(0)->setSelected(true);
        dlg.lbPredefinedList->item(2)->setSelected(true);
        dlg.btEraseSelectedPredefined->click();
        dlg.edBrowsersExplorer->setText("/usr/bin/chromium");
        d.accept();
        return d.result();
    };
    ASSERT_TRUE(dlg.Execute(-1));
    EXPECT_EQ(PredefinedDirs, QStringList{"/b/"});
    EXPECT_EQ(cp1250::decode(TextStyles[1].Nazev.str()), "Nový");
    EXPECT_EQ(cp1250::decode(TextStyles[2].Nazev.str()), "&Modrý tučný text");
    EXPECT_EQ(Settings.BrowsersExplorer.str(), "/usr/bin/chromium");
    EXPECT_EQ(services.pendingMessages(), 0);
}

namespace {

class TestBrowserHost : public TBrowserHost {
public:
    int choices = 0, edits = 0;
    int choice = 0;
    std::function<bool()> edit = [] { return false; };
    QStringList status;
    bool ChooseBrowser(int &c) override {
        ++choices;
        c = choice;
        return true;
    }
    bool EditBrowserPaths() override {
        ++edits;
        return edit();
    }
    void ShowStatusText(const QString &t) override { status << t; }
    void ClearStatusText() override { status << QString(); }
};

} // namespace

TEST(Browsers, DiscoveryChoiceAndOneArgument) {
    test::ScriptedServices services;
    SetDefaultSettings();
    // Discovery fills only the empty path; a result that is no program stays empty.
    Settings.BrowsersNetscape = "/opt/mine";
    BrowserLookup lookup{[](const QString &p) { return p == "chromium" ? QString() : "/usr/bin/" + p; },
                         [](const QString &f) { return f != "/usr/bin/xdg-open"; }};
    DiscoverBrowsers(Settings, lookup);
    EXPECT_EQ(Settings.BrowsersNetscape.str(), "/opt/mine");
    EXPECT_EQ(Settings.BrowsersExplorer.str(), "");
    Settings.BrowsersNetscape = "";
    DiscoverBrowsers(Settings, lookup);
    EXPECT_EQ(Settings.BrowsersNetscape.str(), "/usr/bin/x-www-browser");
    EXPECT_EQ(BrowserImageIndex(Settings), 3);

    TestBrowserHost host;
    // Only the second browser: started without asking, the path as one argument.
    Settings.BrowsersNetscape = "";
    Settings.BrowsersExplorer = "/usr/bin/chromium";
    EXPECT_EQ(BrowserImageIndex(Settings), 4);
    ShowInBrowser("/home/u/my page.htm", host);
    EXPECT_EQ(host.choices, 0);
    ASSERT_EQ(services.started.size(), 1u);
    EXPECT_EQ(services.started[0], std::make_pair(QString("/usr/bin/chromium"), QStringList{"/home/u/my page.htm"}));
    EXPECT_EQ(host.status, QStringList({"Spouští se prohlížeč...", ""}));
    // Both: the choice dialog decides.
    Settings.BrowsersNetscape = "/usr/bin/firefox";
    host.choice = 0;
    ShowInBrowser("a.htm", host);
    EXPECT_EQ(host.choices, 1);
    EXPECT_EQ(services.started.back().first, "/usr/bin/firefox");
    // None: the message, then the options page; a failed start is reported.
    Settings.BrowsersNetscape = Settings.BrowsersExplorer = "";
    services.expectMessage("Je třeba nadefinovat cestu k prohlížeči", Answer::Ok, Icon::Information);
    host.edit = [] {
        Settings.BrowsersNetscape = "/usr/bin/broken";
        return true;
    };
    services.programsWork = false;
    services.expectMessage("Prohlížeč se nepodařilo spustit");
    ShowInBrowser("a.htm", host);
    EXPECT_EQ(host.edits, 1);
    EXPECT_EQ(services.pendingMessages(), 0);
}

TEST(Browsers, ARealBrowserGetsThePathAsOneArgument) {
    QTemporaryDir dir;
    const QString record = dir.filePath("args.txt");
    const QString script = dir.filePath("browser.sh");
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > '%1'\n").arg(record).toUtf8());
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    platform::QtServices real;
    platform::Services *previous = platform::setServices(&real);
    SetDefaultSettings();
    Settings.BrowsersNetscape = cp1250::encode(script);
    TestBrowserHost host;
    ShowInBrowser("/home/u/my page.htm", host);
    platform::setServices(previous);
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(record) && !deadline.hasExpired()) QThread::msleep(20);
    QThread::msleep(100);
    QFile r(record);
    ASSERT_TRUE(r.open(QIODevice::ReadOnly)) << "the browser script did not run";
    EXPECT_EQ(r.readAll(), QByteArray("1\n/home/u/my page.htm\n"));
}
