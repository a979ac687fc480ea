#include "dialogs/color_and_image_button.h"
#include "support/scripted_services.h"
#include "support/scripted_tag_dialogs.h"
#include "tables/table_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;
using platform::Answer;
using platform::Icon;

namespace {

class TableDialogsTest : public ::testing::Test {
protected:
    void okWith(std::function<void(QDialog &)> fill) {
        services.onModal = [fill](QDialog &d) {
            fill(d);
            d.accept();
            return d.result();
        };
    }
    test::ScriptedServices services;
};

const char *const kSpanWarning = "Nastavení počtu obsazených řádků nebo sloupců bude zřejmě vyžadovat ruční změny ve "
                                 "vygenerované tabulce!\r\n\r\nPřejete si toto upozornění zobrazovat i příště?";

} // namespace

TEST_F(TableDialogsTest, TableRowAndCellDialogs) {
    TfrmTable table;
    TableValues v;
    okWith([&](QDialog &) { EXPECT_FALSE(table.grpGenerate->isVisibleTo(&table)); });
    ASSERT_TRUE(table.ExecuteTable(v, false, false));
    EXPECT_EQ(TableTag, "<TABLE>");
    services.expectMessage("V tomto políčku zadejte číselnou hodnotu");
    services.onModal = [&](QDialog &d) {
        table.edWidth->setText("abc");
        d.accept();
        EXPECT_EQ(d.result(), QDialog::Rejected);
        table.edWidth->setText("50");
        table.chkBarva->setChecked(true);
        services.colorResults.push_back(QColor(255, 0, 0));
        table.btColor->ChooseColor();
        table.chkEndTags->setChecked(true);
        d.accept();
        return d.result();
    };
    ASSERT_TRUE(table.ExecuteTable(v, false, true));
    EXPECT_EQ(TableTag, "<TABLE width=50% bgcolor=\"#ff0000\">");
    EXPECT_TRUE(v.endTags && v.firstRow && v.doubleSpace && !v.firstCol);
    // Every opening starts from the defaults; a prefill fills what it has.
    TableValues tag{2, -1, -1, 4, 0x00FF00};
    okWith([&](QDialog &) {
        EXPECT_FALSE(table.chkEndTags->isChecked());
        EXPECT_EQ(table.edWidth->text(), "");
    });
    ASSERT_TRUE(table.ExecuteTable(tag, true, false));
    EXPECT_EQ(TableTag, "<TABLE border=2 cellpadding=4 bgcolor=\"#00ff00\">");

    TfrmCellOptions cell;
    CellData d;
    okWith([&](QDialog &) {
        cell.grpValign->button(0)->click();
        cell.edRows->setText("200");
    });
    WarnSpanChange = false;
    ASSERT_TRUE(cell.ExecuteCell(d));
    EXPECT_EQ(CellAttributes(d), " valign=center");
    EXPECT_LT(d.RowSpan, 0);
    // The span warning: Cancel stays, No closes and stops the warning.
    WarnSpanChange = true;
    services.expectMessage(kSpanWarning, Answer::Cancel, Icon::Exclamation);
    services.expectMessage(kSpanWarning, Answer::No, Icon::Exclamation);
    services.onModal = [&](QDialog &dlg) {
        EXPECT_EQ(cell.grpValign->checkedId(), 0); // loaded from the options
        cell.edCols->setText("2");
        dlg.accept();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        dlg.accept();
        return dlg.result();
    };
    ASSERT_TRUE(cell.ExecuteCell(d));
    EXPECT_FALSE(WarnSpanChange);
    EXPECT_EQ(CellAttributes(d), " valign=center colspan=2");
    WarnSpanChange = true;

    TfrmRowOptions row;
    EXPECT_EQ(row.edRows, nullptr);
    CellData r;
    okWith([&](QDialog &) { row.grpAlign->button(2)->click(); });
    ASSERT_TRUE(row.ExecuteCell(r));
    EXPECT_EQ(CellAttributes(r), " align=center");
}

TEST_F(TableDialogsTest, InteractiveEditorEditsSavesOpensImportsAndGenerates) {
    test::ScriptedTagDialogs dialogs;
    TfrmTableInteractive form;
    QTemporaryDir dir;
    const QString file = dir.filePath("t.tbh");
    std::string result;
    okWith([&](QDialog &) {
        EXPECT_EQ(form.Pages->currentWidget(), form.pgOptions);
        EXPECT_EQ(form.Model->rowCount(), 3);
        form.edNumCols->setText("2");
        form.ZmenaRozmeruTabulky();
        form.Model->setData(form.Model->index(0, 0), "a", Qt::EditRole);
        form.Model->setData(form.Model->index(1, 1), "d", Qt::EditRole);
        // Options over a selection, through the cell dialog.
        form.grTabulka->selectionModel()->select(QItemSelection(form.Model->index(0, 0), form.Model->index(1, 0)),
                                                 QItemSelectionModel::Select);
        dialogs.cell = [](CellData &c) {
            EXPECT_TRUE(c.IsDefault);
            c = {false, 2};
            return true;
        };
        form.mnOptionsClick();
        // Insert a row before row 2; save; open again.
        form.grTabulka->selectionModel()->clearSelection();
        form.grTabulka->setCurrentIndex(form.Model->index(1, 1));
        form.mnInsertRowClick();
        EXPECT_EQ(form.Model->headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), "Řádek 2 *");
        EXPECT_EQ(form.edNumRows->text(), "4");
        services.fileResults.push_back({{file}, 0});
        form.btSaveTableClick();
        form.Model->setData(form.Model->index(0, 0), "changed", Qt::EditRole);
        services.fileResults.push_back({{file}, 0});
        form.btOpenTableClick();
        EXPECT_EQ(form.Model->data(form.Model->index(0, 0), Qt::DisplayRole).toString(), "a");
        EXPECT_EQ(form.Model->headerData(1, Qt::Vertical, Qt::DisplayRole).toString(), "Řádek 2 *");
        // Deleting every column is refused.
        form.grTabulka->selectAll();
        services.expectMessage("Alespoň jeden sloupec musí zůstat");
        form.mnDelColsClick();
        services.expectMessage("Vygenerovat tabulku?", Answer::Yes, Icon::Question);
    });
    ASSERT_TRUE(form.ExecuteTableEditor(false, result));
    EXPECT_EQ(result, "<TABLE>\r\n <TR> <TH align=center>a <TH> \r\n <TR> <TH> <TD> \r\n"
                      " <TR> <TH align=center> <TD>d \r\n <TR> <TH> <TD> \r\n</TABLE>");
    EXPECT_EQ(form.Grid.RowCount(), 2); // cleared for the next use
    EXPECT_EQ(form.edNumRows->text(), "4");

    // A damaged file; "No" to the generation question closes with nothing.
    QFile bad(dir.filePath("bad.tbh"));
    bad.open(QIODevice::WriteOnly);
    bad.write("not a table");
    bad.close();
    services.expectMessage("Chybný formát");
    services.expectMessage("Vygenerovat tabulku?", Answer::No, Icon::Question);
    okWith([&](QDialog &) {
        services.fileResults.push_back({{bad.fileName()}, 0});
        form.btOpenTableClick();
        EXPECT_EQ(form.Model->data(form.Model->index(0, 0), Qt::DisplayRole).toString(), "");
    });
    EXPECT_TRUE(form.ExecuteTableEditor(false, result));
    EXPECT_EQ(result, "");

    // The DBF import fills the grid with the names in the first row.
    const QString dbf = QDir(QStringLiteral("../shared/testdata/dbf")).filePath("dbase_03.dbf");
    if (!QFile::exists(dbf)) GTEST_SKIP() << "../shared/testdata/dbf is absent: the import through the form was not run";
    services.onModal = [&](QDialog &d) {
        services.fileResults.push_back({{dbf}, 0});
        form.FormActivate(); // what showing the form does
        EXPECT_EQ(form.Grid.RowCount(), 16);
        EXPECT_EQ(form.Grid.ColCount(), 32);
        EXPECT_EQ(form.Model->data(form.Model->index(0, 0), Qt::DisplayRole).toString(), "Point_ID");
        EXPECT_TRUE(form.chkFirstRowTit->isChecked());
        EXPECT_EQ(form.edNumRows->text(), "15");
        d.reject();
        return d.result();
    };
    EXPECT_FALSE(form.ExecuteTableEditor(true, result));
    EXPECT_EQ(services.fileRequests.back().caption, "Import z DBF");
}
