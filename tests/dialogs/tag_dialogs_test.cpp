#include "dialogs/color_and_image_button.h"
#include "dialogs/link_dialog_state.h"
#include "dialogs/tag_dialogs.h"
#include "settings/settings.h"
#include "support/scripted_services.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace xo;
using platform::Answer;
using platform::Icon;

namespace {

class TestHost : public TDialogHost {
public:
    QString file;
    int saves = 0;
    QString nameOnSave;
    std::vector<int> help;
    int adverts = 0;
    bool HasDocument() override { return true; }
    QString DocumentFileName() override { return file; }
    void SaveDocumentAs() override {
        ++saves;
        file = nameOnSave;
    }
    void ShowHelp(int context) override { help.push_back(context); }
    void ShowZefoAdvert() override { ++adverts; }
    bool utf8 = false;
    bool DocumentIsUtf8() override { return utf8; }
};

class TagDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { SetDialogHost(&host); }
    void TearDown() override { SetDialogHost(nullptr); }
    // The next modal run: `fill` sets the fields, then OK is pressed (as often
    // as `fill` asks: it returns false to press OK again after a refusal).
    void okWith(std::function<void(QDialog &)> fill) {
        services.onModal = [fill](QDialog &d) {
            fill(d);
            d.accept();
            return d.result();
        };
    }
    void cancel() {
        services.onModal = [](QDialog &d) {
            d.reject();
            return d.result();
        };
    }
    QString file(const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    test::ScriptedServices services;
    TestHost host;
    QTemporaryDir dir;
};

const QByteArray kGif600x400("GIF89a\x58\x02\x90\x01\0\0", 12);

} // namespace

TEST_F(TagDialogsTest, AlignmentAndRule) {
    TfrmAlign align;
    okWith([&](QDialog &) {
        EXPECT_FALSE(align.btOk->isEnabled()); // nothing chosen yet
        align.rgAlign->button(1)->click();
        EXPECT_TRUE(align.btOk->isEnabled());
    });
    EXPECT_EQ(align.Execute(-1), " align=center");
    cancel();
    EXPECT_EQ(align.Execute(2), "");

    TfrmTagHR hr;
    EXPECT_EQ(hr.windowTitle(), "Vodorovná linka");
    EXPECT_TRUE(hr.btOk->isDefault());
    EXPECT_EQ(hr.btCancel->toolTip(), "Návrat");
    RuleValues v;
    int rounds = 0;
    services.expectMessage("V tomto políčku zadejte číselnou hodnotu");
    services.onModal = [&](QDialog &d) {
        if (rounds++ == 0) {
            hr.edWidth->setText("abc");
            d.accept();
            EXPECT_EQ(d.result(), QDialog::Rejected); // still open
            EXPECT_TRUE(hr.edWidth->hasFocus() || QApplication::focusWidget() == nullptr);
        }
        hr.edWidth->setText("50");
        hr.chkProcenta->setChecked(true);
        EXPECT_EQ(hr.stProcenta->text(), "%");
        hr.edSize->setText("2");
        hr.chkNoShadow->setChecked(true);
        hr.rg1->button(3)->click();
        d.accept();
        return d.result();
    };
    ASSERT_TRUE(hr.Execute(v, false));
    EXPECT_EQ(RuleTag, "<HR width=50% size=2 noshadow align=center>");
    EXPECT_EQ(v.width, 50);
    // Without prefill (a new rule) the fields keep what was left in them.
    okWith([](QDialog &) {});
    RuleValues kept;
    ASSERT_TRUE(hr.Execute(kept, false));
    EXPECT_EQ(RuleTag, "<HR width=50% size=2 noshadow align=center>");
    // A re-edit shows only the tag's own values.
    okWith([](QDialog &) {});
    RuleValues again{-1, 7, false, 0, false};
    ASSERT_TRUE(hr.Execute(again, true));
    EXPECT_EQ(RuleTag, "<HR size=7>");
}

TEST_F(TagDialogsTest, FontDialogSizesColourAndPrefill) {
    TfrmTagFont font;
    FontValues v;
    okWith([&](QDialog &) {
        EXPECT_FALSE(font.btOk->isEnabled());
        font.grpSize->button(13)->click();
        EXPECT_TRUE(font.btOk->isEnabled());
        font.chkBarva->setChecked(true); // no colour chosen: black is written
        EXPECT_EQ(font.btColor->FaceText(), "-");
    });
    ASSERT_TRUE(font.Execute(v, false));
    EXPECT_EQ(FontOpen, "<FONT size=\"-7\" color=\"#000000\">");
    // Prefill: an impossible size means no size; the inner tags are not re-edited.
    FontValues tag{"+9", true, false, "Arial", 0x0000FF};
    okWith([&](QDialog &) {
        EXPECT_TRUE(font.chkNoSize->isChecked());
        EXPECT_EQ(font.grpSize->checkedId(), -1);
        EXPECT_FALSE(font.chkBold->isEnabled());
        EXPECT_TRUE(font.chkBold->isChecked());
        EXPECT_EQ(font.btColor->FaceText(), "#ff0000");
    });
    ASSERT_TRUE(font.Execute(tag, true));
    EXPECT_EQ(FontOpen, "<FONT face=\"Arial\" color=\"#ff0000\"><B>");
    EXPECT_EQ(FontClose, "</B></FONT>");
    // Clicking a filled name field offers to empty it.
    services.expectMessage("Vymazat?", Answer::Yes, Icon::Question);
    font.edFontNameClick();
    EXPECT_EQ(font.edFontName->text(), "");
    // A UTF-8 document takes what the code page lacks as references.
    host.utf8 = true;
    okWith([&](QDialog &) { font.edFontName->setText(QString::fromUtf8("Ωmega")); });
    ASSERT_TRUE(font.Execute(v, false));
    EXPECT_EQ(v.face, "&#937;mega");
    cancel();
    EXPECT_FALSE(font.Execute(v, false));
    EXPECT_EQ(FontOpen + FontClose, "");
}

TEST_F(TagDialogsTest, BodyDialogsKeepPrefilledValuesWhole) {
    TfrmTagBodyOprava fix;
    BodyFixValues v;
    v.colors.background = 0xC0C0C0;
    v.onLoad = std::string(300, 'x');
    v.image = "../img/" + std::string(250, 'b') + ".gif";
    host.file = "/home/u/web/cz/index.htm";
    okWith([&](QDialog &) { EXPECT_EQ(fix.colors.btBgColor->FaceText(), "-"); });
    ASSERT_TRUE(fix.Execute(host.file, v, true));
    EXPECT_EQ(v.colors.background, -1);
    EXPECT_EQ(v.onLoad.size(), 300u);
    EXPECT_EQ(BodyTag, "<BODY background=\"" + v.image + "\" onLoad=\"" + std::string(300, 'x') + "\">");
    // Typing is still limited where a field was short.
    okWith([&](QDialog &) {
        fix.edOnLoad->clear();
        fix.edOnLoad->setFocus();
        QTest::keyClicks(fix.edOnLoad, QString(45, 'y'));
        EXPECT_EQ(fix.edOnLoad->text().size(), 40);
    });
    ASSERT_TRUE(fix.Execute(host.file, v, true));

    // An image in the document's folder comes back as its bare name; the button shows the path.
    TfrmTagBody body;
    const QString doc = dir.filePath("index.htm");
    const QString picture = file("bg.gif", kGif600x400);
    BodyValues values;
    okWith([&](QDialog &) {
        EXPECT_EQ(body.edBaseFont->text(), "3");
        services.fileResults.push_back({{picture}, 0});
        body.btImage->ChooseImage();
        EXPECT_EQ(body.btImage->ImageWidth, 600);
        body.edBaseFont->setText("x");
    });
    ASSERT_TRUE(body.Execute(doc, values, false));
    EXPECT_EQ(values.image, "bg.gif");
    EXPECT_EQ(body.btImage->ImageName(), picture);
    EXPECT_EQ(values.baseFont, 3);
    EXPECT_EQ(services.fileRequests.back().caption, "Výběr obrázku");
}

TEST_F(TagDialogsTest, ImageDialog) {
    TfrmTagImg img;
    const QString doc = dir.filePath("index.htm");
    const QString picture = file("logo.gif", kGif600x400);
    ImageValues v;
    int round = 0;
    services.expectMessage("Vložit do formuláře nalezené rozměry obrázku?", Answer::Yes, Icon::Question);
    services.expectMessage("V tomto políčku zadejte číselnou hodnotu");
    services.onModal = [&](QDialog &d) {
        if (round++ == 0) {
            EXPECT_FALSE(img.btOk->isEnabled());
            services.fileResults.push_back({{picture}, 0});
            img.btName->ChooseImage();
            EXPECT_EQ(img.edWidth->text(), "600");
            EXPECT_EQ(img.edHeight->text(), "400");
            img.edHeight->setText("12x");
            d.accept();
            EXPECT_EQ(d.result(), QDialog::Rejected);
        }
        img.edHeight->setText("");
        img.edWidth->setText("");
        img.grpAlign->button(9)->click();
        d.accept();
        return d.result();
    };
    ASSERT_TRUE(img.Execute(v, doc, false));
    EXPECT_EQ(ImageTag, "<IMG src=\"logo.gif\" align=absbottom>");
    // A prefilled relative source resolves against the document and comes back the same.
    ImageValues tag{"./img/a.gif", 88, 0, 1, -1, 5, 0};
    okWith([&](QDialog &) {
        EXPECT_EQ(img.btName->ImageName(), dir.filePath("img/a.gif"));
        EXPECT_EQ(img.edHeight->text(), "");
        EXPECT_EQ(img.edBorder->text(), "0");
        services.expectMessage("Aplikaci přiřazenou k tomuto typu souboru se nepodařilo spustit.");
        img.btShell->click();
    });
    services.urlsWork = false;
    ASSERT_TRUE(img.Execute(tag, doc, true));
    EXPECT_EQ(ImageTag, "<IMG src=\"img/a.gif\" width=88 border=0 vspace=5 align=left>");
    // Zefo gets the full path; when it cannot start, its advertisement shows.
    services.programsWork = false;
    okWith([&](QDialog &) { img.btZefo->click(); });
    ASSERT_TRUE(img.Execute(tag, doc, true));
    EXPECT_EQ(services.started.back(), std::make_pair(QString("zefo"), QStringList{dir.filePath("img/a.gif")}));
    EXPECT_EQ(host.adverts, 1);
    // Clearing the image empties the sizes without a question; a cancelled dialog changes nothing.
    services.onModal = [&](QDialog &d) {
        QTest::mousePress(img.btName, Qt::RightButton);
        EXPECT_EQ(img.edWidth->text(), "");
        EXPECT_FALSE(img.btOk->isEnabled());
        d.reject();
        return d.result();
    };
    EXPECT_FALSE(img.Execute(tag, doc, true));
    EXPECT_EQ(services.pendingMessages(), 0);
}

TEST_F(TagDialogsTest, LinkDialogHistoryTargetsAndRelativeFiles) {
    TfrmAhref link;
    TagAHrefState.History = {"old.htm"};
    LinkValues v;
    okWith([&](QDialog &) {
        EXPECT_EQ(link.cmbURL->count(), 1);
        link.cmbURL->setEditText("a.htm");
        link.findChild<QPushButton *>("btBlank")->click();
    });
    ASSERT_TRUE(link.Execute(v, false));
    EXPECT_EQ(LinkOpen, "<A href=\"a.htm\" target=\"_blank\">");
    EXPECT_EQ(TagAHrefState.History, (std::vector<std::string>{"a.htm", "old.htm"}));
    // A long prefilled address comes back whole.
    LinkValues long_{"http://host/" + std::string(500, 'p'), ""};
    okWith([](QDialog &) {});
    ASSERT_TRUE(link.Execute(long_, true));
    EXPECT_EQ(long_.url.size(), 512u);

    // The file button in an unnamed document asks to name it; Cancel leaves the URL.
    okWith([&](QDialog &) {
        link.cmbURL->setEditText("keep.htm");
        services.expectMessage(
            "Aktuální soubor zatím nemá jméno. Pojmenujete ho kvůli určení relativní cesty?", Answer::Cancel,
            Icon::Question);
        link.btChooseFile->click();
        EXPECT_EQ(link.cmbURL->currentText(), "keep.htm");
    });
    ASSERT_TRUE(link.Execute(v, false));
    EXPECT_EQ(v.url, "keep.htm");
    // Named on the question's OK, the chosen file comes back relative, its directory remembered.
    host.nameOnSave = dir.filePath("web/cz/index.htm");
    QString path = "../img/x.htm";
    services.expectMessage("Aktuální soubor zatím nemá jméno. Pojmenujete ho kvůli určení relativní cesty?",
                           Answer::Ok, Icon::Question);
    services.fileResults.push_back({{dir.filePath("web/pages/b.htm")}, 0});
    ChooseRelativeFile(path, 2);
    EXPECT_EQ(path, "../pages/b.htm");
    EXPECT_EQ(host.saves, 1);
    EXPECT_EQ(services.fileRequests.back().fileName, dir.filePath("web/img/x.htm"));
    EXPECT_TRUE(services.fileRequests.back().filter.startsWith("Html soubory (*.htm *.html);;Obrázky"));
    EXPECT_EQ(Settings.LastMediaDir.str(), dir.filePath("web/pages").toStdString());
    // Remote files are refused; a directory too long to store is not stored.
    path = "https://host/a.wav";
    services.expectMessage("Soubor určený cestou je na vzdáleném serveru");
    const QString deep = dir.filePath(QString(230, 'd') + "/s.wav");
    services.fileResults.push_back({{deep}, 0});
    ChooseRelativeFile(path, 1);
    EXPECT_EQ(services.fileRequests.back().fileName, "");
    EXPECT_TRUE(services.fileRequests.back().filter.startsWith("Multimediální (*.au"));
    EXPECT_EQ(path, "../../" + QString(230, 'd') + "/s.wav");
    EXPECT_EQ(Settings.LastMediaDir.str(), dir.filePath("web/pages").toStdString());

    cancel();
    v = {"a", "b"};
    EXPECT_FALSE(link.Execute(v, true));
    EXPECT_EQ(v.url + v.target + LinkOpen + LinkClose, "");
}

TEST_F(TagDialogsTest, ListMarqueeAndMediaDialogsResetAndCheck) {
    TfrmTagOL ol;
    int kind = 3, start = 4;
    okWith([](QDialog &) {});
    ASSERT_TRUE(ol.Execute(kind, start, true));
    EXPECT_EQ(OLAttributes, " type=I start=4");
    services.expectMessage("V tomto políčku zadejte číselnou hodnotu");
    services.onModal = [&](QDialog &d) {
        ol.edCountFrom->setText("abc");
        d.accept();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        d.reject();
        return d.result();
    };
    EXPECT_FALSE(ol.Execute(kind, start, false));
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(start, 1);
    TfrmTagUL ul;
    okWith([&](QDialog &) { ul.grpPrefix->button(1)->click(); });
    ASSERT_TRUE(ul.Execute(kind, false));
    EXPECT_EQ(ULAttributes, " type=circle");

    TfrmTagMarquee marquee;
    MarqueeValues m;
    okWith([](QDialog &) {});
    ASSERT_TRUE(marquee.Execute(m, false));
    EXPECT_EQ(MarqueeAttributes, " behavior=scroll direction=left loop=infinite align=top");
    okWith([&](QDialog &) {
        marquee.cmbPocet->setEditText("Infinite");
        marquee.chkBarva->setChecked(true);
        marquee.cmbSmer->setCurrentIndex(1);
    });
    ASSERT_TRUE(marquee.Execute(m, false));
    EXPECT_EQ(MarqueeAttributes, " behavior=scroll direction=right loop=Infinite align=top bgcolor=#ffffff");
    // Every use starts from the defaults; a prefill sets what it has.
    m = {};
    m.loop = 5;
    m.width = 300;
    m.hasColor = true;
    m.color = 0x0000FF;
    okWith([&](QDialog &) { EXPECT_EQ(marquee.cmbSmer->currentIndex(), 0); });
    ASSERT_TRUE(marquee.Execute(m, true));
    EXPECT_EQ(MarqueeAttributes, " behavior=scroll direction=left loop=5 width=300 align=top bgcolor=#ff0000");
    okWith([&](QDialog &) { marquee.cmbPocet->setEditText(""); });
    ASSERT_TRUE(marquee.Execute(m, false));
    EXPECT_EQ(MarqueeAttributes, " behavior=scroll direction=left align=top");

    TfrmTagBgsound sound;
    BgSoundValues s;
    okWith([&](QDialog &) {
        EXPECT_FALSE(sound.btOk->isEnabled());
        sound.edFile->setText("s.wav");
        sound.cmbLoop->setEditText("");
    });
    ASSERT_TRUE(sound.Execute(s, false));
    EXPECT_EQ(BgSoundTag, "<BGSOUND src=\"s.wav\">");

    TfrmTagEmbed embed;
    EmbedValues e;
    okWith([&](QDialog &) { embed.edFile->setText("m.avi"); });
    ASSERT_TRUE(embed.Execute(e, false));
    EXPECT_EQ(EmbedTag, "<EMBED src=\"m.avi\" loop=infinite autostart=true>");

    TfrmTagApplet applet;
    AppletValues a{"Hello.class", "", -1, "", "", -1};
    okWith([&](QDialog &) { EXPECT_EQ(applet.edWidth->text(), "-1"); applet.edWidth->clear(); applet.edHeight->clear(); });
    ASSERT_TRUE(applet.Execute(a, true));
    EXPECT_EQ(AppletAttributes, " code=\"Hello.class\"");
}

TEST_F(TagDialogsTest, ColorAndImageButtonsAndHelp) {
    TColorButton b;
    b.SetDefColor(0xC0C0C0);
    EXPECT_EQ(b.FaceText(), "-");
    EXPECT_FALSE(b.WhiteLettering());
    b.SetActColor(0xC0C0C0); // equal to the default: no colour
    EXPECT_EQ(b.ActColor(), -1);
    b.SetActColor(0x400000);
    EXPECT_EQ(b.ActColor(), 0x400000);
    EXPECT_EQ(b.FaceText(), "#000040");
    EXPECT_TRUE(b.WhiteLettering());
    int changes = 0;
    b.OnColorChange = [&] { ++changes; };
    services.colorResults.push_back(QColor(255, 0, 0));
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(b.ActColor(), 0x0000FF);
    QTest::mousePress(&b, Qt::RightButton);
    EXPECT_EQ(b.ActColor(), -1);
    EXPECT_EQ(changes, 2);

    auto width = [](const QString &t) { return int(t.size()) * 10; };
    const QString path = "/home/user/web/img/a.gif"; // 24 characters, 10 pixels each
    EXPECT_EQ(ElidedImagePath(path, 260, width), path);
    EXPECT_EQ(ElidedImagePath(path, 250, width), "/.../user/web/img/a.gif");
    EXPECT_EQ(ElidedImagePath(path, 240, width), "/.../.../web/img/a.gif");
    EXPECT_EQ(ElidedImagePath(path, 100, width), "a.gif");

    // F1 opens the focused control's topic: OK 1, Cancel 2.
    TfrmTagUL ul;
    services.onModal = [&](QDialog &d) {
        d.activateWindow();
        ul.btCancel->setFocus();
        QTest::keyClick(&d, Qt::Key_F1);
        ul.btOk->setFocus();
        QTest::keyClick(&d, Qt::Key_F1);
        d.reject();
        return d.result();
    };
    ul.show();
    QApplication::setActiveWindow(&ul);
    int kind = 0;
    ul.Execute(kind, false);
    EXPECT_EQ(host.help, (std::vector<int>{2, 1}));
}
