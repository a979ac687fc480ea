#include "dialogs/frameset_dialogs.h"
#include "support/scripted_services.h"
#include "support/scripted_tag_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace xo;

TEST(FrameTree, SplitsDivisionsSizesAndText) {
    TFrameTree columns;
    EXPECT_EQ(columns.Split(columns.Base(), 100, 0, true), TFrameTree::Result::Ok);
    EXPECT_EQ(columns.FramesetText(), "<FRAMESET COLS=\"200,*\">\r\n <FRAME src=\"\" name=\"Ramec1\">\r\n"
                                      " <FRAME src=\"\" name=\"Ramec2\">\r\n</FRAMESET>\r\n");
    TFrameTree rows;
    rows.Split(rows.Base(), 0, 50, false);
    EXPECT_EQ(rows.FramesetText().substr(0, 24), "<FRAMESET ROWS=\"90,*\">\r\n");
    EXPECT_EQ(TFrameTree::Caption(*rows.Base().Children[1]), "Ramec2 *");

    // The second column split the same way: a third column in the same frameset
    // (the divided column keeps its Rest).
    TFrm &second = *columns.Base().Children[1];
    columns.Split(second, 100, 10, true);
    ASSERT_EQ(columns.Base().ChildCount(), 3);
    EXPECT_EQ(columns.FramesetText(), "<FRAMESET COLS=\"200,*,300\">\r\n <FRAME src=\"\" name=\"Ramec1\">\r\n"
                                      " <FRAME src=\"\" name=\"Ramec2\">\r\n <FRAME src=\"\" name=\"Ramec3\">\r\n"
                                      "</FRAMESET>\r\n");
    // Split the other way: a nested ROWS frameset that takes the rest.
    TFrm &third = *columns.Base().Children[2];
    columns.Split(third, 0, 100, false);
    EXPECT_EQ(columns.FramesetText(), "<FRAMESET COLS=\"200,200,*\">\r\n <FRAME src=\"\" name=\"Ramec1\">\r\n"
                                      " <FRAME src=\"\" name=\"Ramec2\">\r\n <FRAMESET ROWS=\"180,*\">\r\n"
                                      "  <FRAME src=\"\" name=\"Ramec3_1\">\r\n  <FRAME src=\"\" name=\"Ramec3_2\">\r\n"
                                      " </FRAMESET>\r\n</FRAMESET>\r\n");
    // A new division inside a named frameset gets the frameset's name and its number.
    columns.Split(*third.Children[0], 0, 50, false);
    EXPECT_EQ(third.Children[1]->FrameName, "Ramec3_3");

    // Parameters: target and scrolling in this order; Rest moves between siblings.
    TFrm &first = *columns.Base().Children[0];
    columns.Apply(first, {"a.htm", "menu", "_top", 2, 150, false});
    EXPECT_EQ(first.Size, 150);
    columns.Apply(first, {"a.htm", "menu", "_top", 2, 999, true});
    EXPECT_EQ(first.Size, 150); // Rest keeps the size it had
    EXPECT_FALSE(third.Rest);
    EXPECT_NE(columns.FramesetText().find("<FRAMESET COLS=\"*,200,300\">\r\n <FRAME src=\"a.htm\" name=\"menu\" "
                                          "target=\"_top\" scrolling=NO>"),
              std::string::npos)
        << columns.FramesetText();
    columns.Apply(first, {"dir/page.htm", "", "", 1, 10, false});
    EXPECT_EQ(TFrameTree::Caption(first), "page.htm");

    // Nineteen frames in one frameset, and no more.
    TFrameTree many;
    many.Split(many.Base(), 340, 0, true);
    for (int i = 0; i < 17; ++i)
        ASSERT_EQ(many.Split(*many.Base().Children[0], 10, 0, true), TFrameTree::Result::Ok) << i;
    EXPECT_EQ(many.Base().ChildCount(), 19);
    EXPECT_EQ(many.Split(*many.Base().Children[0], 10, 0, true), TFrameTree::Result::TooManyFrames);
    EXPECT_EQ(many.Base().ChildCount(), 19);
    TFrm stranger;
    EXPECT_EQ(many.NewDivision(many.Base(), stranger, 1, 1), TFrameTree::Result::InternalError);
}

TEST(FrameSetWizard, SplitsByMenuParametersByClickAndCancel) {
    test::ScriptedServices services;
    test::ScriptedTagDialogs dialogs;
    TfrmFrameSet wizard;
    std::string text = "unchanged";
    services.onModal = [&](QDialog &d) {
        EXPECT_FALSE(wizard.btOk->isEnabled());
        d.accept(); // refused while nothing is split
        EXPECT_EQ(d.result(), QDialog::Rejected);
        services.expectMessage("Parametry Základního rámce editovat nelze");
        wizard.FrameClicked(wizard.Tree->Base());
        wizard.SplitFrame(wizard.Tree->Base(), 100, 0, true);
        EXPECT_TRUE(wizard.btOk->isEnabled());
        EXPECT_NE(wizard.PanelOf(*wizard.Tree->Base().Children[1]), nullptr);
        d.reject();
        return d.result();
    };
    EXPECT_FALSE(wizard.Execute(text));
    EXPECT_EQ(text, "unchanged");

    services.onModal = [&](QDialog &d) {
        EXPECT_EQ(wizard.Tree->Base().ChildCount(), 0); // a new layout every time
        wizard.SplitFrame(wizard.Tree->Base(), 0, 50, false);
        TFrm &top = *wizard.Tree->Base().Children[0];
        dialogs.frameParams = [](FrameParams &p) {
            EXPECT_EQ(p.frameName, "Ramec1");
            EXPECT_EQ(p.size, 90);
            p.targetName = "_top";
            p.scrolling = 2;
            return true;
        };
        wizard.FrameClicked(top);
        auto *label = wizard.PanelOf(top)->findChild<QLabel *>();
        EXPECT_EQ(label->text(), "Ramec1");
        d.accept();
        return d.result();
    };
    ASSERT_TRUE(wizard.Execute(text));
    EXPECT_EQ(text, "<FRAMESET ROWS=\"90,*\">\r\n <FRAME src=\"\" name=\"Ramec1\" target=\"_top\" scrolling=NO>\r\n"
                    " <FRAME src=\"\" name=\"Ramec2\">\r\n</FRAMESET>\r\n");
    EXPECT_EQ(FramesetText, text);
}

TEST(FrameParamsDialog, RestAndTheRequiredSize) {
    test::ScriptedServices services;
    TfrmFrameParams dlg;
    FrameParams p{"a.htm", "Ramec1", "", 0, 120, false};
    services.expectMessage("V tomto políčku zadejte číselnou hodnotu");
    services.onModal = [&](QDialog &d) {
        EXPECT_EQ(dlg.edFrameSize->text(), "120");
        dlg.chkClientSize->setChecked(true);
        EXPECT_EQ(dlg.edFrameSize->text(), "*");
        EXPECT_FALSE(dlg.edFrameSize->isEnabled());
        dlg.chkClientSize->setChecked(false);
        EXPECT_EQ(dlg.edFrameSize->text(), "120");
        dlg.edFrameSize->clear(); // no size without Rest
        d.accept();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        dlg.edFrameSize->setText("80");
        d.accept();
        return d.result();
    };
    ASSERT_TRUE(dlg.ExecuteFrameParams(p));
    EXPECT_EQ(p.size, 80);
    EXPECT_FALSE(p.rest);
}
