#include "editor/editor_test_util.h"
#include "platform/cp1250.h"
#include "platform/safe_file.h"
#include "settings/compress_file.h"
#include "settings/settings.h"
#include "support/scripted_services.h"
#include "dialogs/cell_data.h"
#include "tags/table_from_lines.h"
#include "tables/table_grid.h"
#include "tags/insertion.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;

TEST(CellOptions, BlockAttributesAndTableTag) {
    CellData d;
    EXPECT_EQ(CellAttributes(d), "");
    d.IsDefault = false;
    d.Valign = 0;
    EXPECT_EQ(CellAttributes(d), " valign=center");
    d = {false, 2, 1, true, 0x0000FF, true, 2, 3};
    EXPECT_EQ(CellAttributes(d), " align=center valign=top nowrap bgcolor=\"#ff0000\" rowspan=2 colspan=3");
    d.RowSpan = int8_t(200); // kept in a signed byte: negative, no attribute
    EXPECT_EQ(CellAttributes(d).find("rowspan"), std::string::npos);
    const auto block = d.Pack();
    EXPECT_EQ(block.size(), 12u);
    EXPECT_EQ(block[4], 0xFF);
    EXPECT_EQ(block[9], 200);
    EXPECT_EQ(CellData::Unpack(block.data()), d);

    EXPECT_EQ(TableTagOf({}), "<TABLE>");
    TableValues v;
    v.width = 50;
    v.color = 0x0000FF;
    EXPECT_EQ(TableTagOf(v), "<TABLE width=50% bgcolor=\"#ff0000\">");
    v = {1, 100, 2, 3};
    EXPECT_EQ(TableTagOf(v), "<TABLE border=1 cellspacing=2 cellpadding=3 width=100%>");
}

namespace {

std::string label(const char *utf8) { return cp1250::fromUtf8(utf8); }

TTableGrid abcd() {
    TTableGrid g;
    g.SetSize(2, 2);
    g.SetText(1, 1, "a");
    g.SetText(2, 1, "b");
    g.SetText(1, 2, "c");
    g.SetText(2, 2, "d");
    return g;
}

} // namespace

TEST(TableGrid, GenerationInsertDeleteAndOptions) {
    TTableGrid g = abcd();
    TableSettings s;
    EXPECT_EQ(g.Generate(s), "<TABLE>\r\n <TR> <TH>a <TH>b \r\n <TR> <TH>c <TD>d \r\n</TABLE>");
    s.firstColTit = false;
    s.endTags = true;
    s.border = "1";
    g.SetOptions(0, 1, 0, 1, CellData{false, 2});
    EXPECT_EQ(g.Generate(s), "<TABLE border=1>\r\n <TR align=center> <TH>a</TH> <TH>b</TH> </TR>\r\n"
                             " <TR> <TD>c</TD> <TD>d</TD> </TR>\r\n</TABLE>");

    // Inserting in row 2 of 3: rows 2 and 3 move down, row 2 is new and marked.
    g.SetSize(3, 2);
    g.SetText(1, 3, "e");
    g.SetOptions(0, 2, std::make_unique<TCellDataObject>(CellData{false, 1}));
    g.InsertRow(2);
    EXPECT_EQ(g.RowCount(), 5);
    EXPECT_EQ(g.Text(1, 2), "");
    EXPECT_EQ(g.Options(0, 2), nullptr);
    EXPECT_EQ(g.Text(1, 3), "c");
    EXPECT_EQ(g.Options(0, 3)->Data.Align, 1);
    EXPECT_EQ(g.Text(1, 4), "e");
    EXPECT_EQ(g.Text(0, 2), label("Řádek 2 *"));
    EXPECT_EQ(g.Text(0, 3), label("Řádek 3"));
    g.InsertCol(1);
    EXPECT_EQ(g.Text(1, 0), "Sloupec 1 *");
    EXPECT_EQ(g.Text(2, 1), "a");

    // Deleting: every row is refused; otherwise the rows below move up.
    QString refusal;
    EXPECT_FALSE(g.DeleteRows(1, 4, refusal));
    EXPECT_EQ(refusal, "Alespoň jeden řádek musí zůstat");
    EXPECT_TRUE(g.DeleteRows(2, 3, refusal));
    EXPECT_EQ(g.RowCount(), 3);
    EXPECT_EQ(g.Text(2, 2), "e");
    EXPECT_EQ(g.Text(0, 2), label("Řádek 2"));
    EXPECT_FALSE(g.DeleteCols(1, 3, refusal));
    EXPECT_EQ(refusal, "Alespoň jeden sloupec musí zůstat");
    EXPECT_TRUE(g.DeleteCols(1, 1, refusal));
    EXPECT_EQ(g.Text(1, 1), "a");

    // The options of a selection: equal fields kept, differing ones reset;
    // a cell without options after one with them makes them default.
    TTableGrid o = abcd();
    o.SetOptions(1, 1, std::make_unique<TCellDataObject>(CellData{false, 2, 1, true, 5, true, 2, 2}));
    o.SetOptions(1, 2, std::make_unique<TCellDataObject>(CellData{false, 2, 3, true, 6, true, 2, 4}));
    const CellData merged = o.GatherOptions(1, 1, 1, 2);
    EXPECT_EQ(merged, (CellData{false, 2, 255, false, 0, true, 2, -1}));
    EXPECT_TRUE(o.GatherOptions(1, 1, 2, 2).IsDefault); // (2,1) has none
    o.SetOptions(1, 1, 2, 2, CellData{false, 0});
    EXPECT_EQ(o.Options(2, 2)->Text, " align=left");
    EXPECT_EQ(o.Options(1, 2)->Text, " align=left");
}

TEST(TableFile, SavedTablesComeBackAndDamagedOnesAreRefused) {
    QTemporaryDir dir;
    const QString name = dir.filePath("t.tbh");
    TTableGrid g = abcd();
    g.SetOptions(2, 2, std::make_unique<TCellDataObject>(CellData{false, 1, 2, true, 0x123456, false, 3, -1}));
    g.SetOptions(0, 1, std::make_unique<TCellDataObject>(CellData{false, 2}));
    TableSettings s{"2", "2", "1", "50", "2", "", false, true, true, true, 0x00FF00};
    ApplyTableSize(g, s);
    g.InsertRow(1);
    s.numRows = "3";
    ASSERT_TRUE(SaveTableFile(name, g, s));

    TTableGrid back;
    TableSettings read;
    ASSERT_EQ(OpenTableFile(name, back, read), TableFileResult::Ok);
    EXPECT_EQ(read.numRows, "3");
    EXPECT_EQ(read.width, "50");
    EXPECT_EQ(read.color, 0x00FF00);
    EXPECT_FALSE(read.firstRowTit);
    EXPECT_TRUE(read.barva);
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 4; ++r) {
            EXPECT_EQ(back.Text(c, r), g.Text(c, r)) << c << "," << r;
            EXPECT_EQ(bool(back.Options(c, r)), bool(g.Options(c, r))) << c << "," << r;
        }
    EXPECT_EQ(back.Text(0, 1), label("Řádek 1 *"));
    EXPECT_EQ(back.Options(2, 3)->Text, g.Options(2, 3)->Text);
    EXPECT_EQ(back.Options(0, 2)->Text, " align=center");

    // A failed save leaves the old file whole.
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    platform::FailWritesAfterForTests(10);
    g.SetText(1, 1, std::string(5000, 'x'));
    EXPECT_FALSE(SaveTableFile(name, g, s));
    platform::FailWritesAfterForTests(-1);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    f.close();

    // One changed signature character, sizes beyond the caps, a truncated file.
    auto write = [&](const std::vector<uint8_t> &content) {
        QFile out(name);
        out.open(QIODevice::WriteOnly);
        const auto image = TCompressFile::Pack(content);
        out.write(reinterpret_cast<const char *>(image.data()), qint64(image.size()));
    };
    auto contentOf = [&](const std::string &signature, const std::string &rows) {
        TCompressFile w(dir.filePath("tmp"), TCompressFile::fmCreate);
        w.WriteString(signature);
        for (const std::string &t : {rows, std::string("2"), std::string(), std::string(), std::string(), std::string()})
            w.WriteString(t);
        for (int i = 0; i < 4; ++i) w.WriteBoolean(false);
        w.WriteInteger(0);
        return w.Content();
    };
    for (const auto &[signature, rows] : {std::pair<std::string, std::string>{"Xo! Table Fm2", "1"},
                                          {"Xo! Table Fm", "1"},
                                          {"Xo! Table Fm1", "10001"},
                                          {"Xo! Table Fm1", "2"}}) { // no cells follow: truncated
        write(contentOf(signature, rows));
        back = abcd();
        EXPECT_EQ(OpenTableFile(name, back, read), TableFileResult::BadFormat) << signature << " " << rows;
        EXPECT_EQ(back.Text(1, 1), ""); // cleared
    }
    EXPECT_EQ(OpenTableFile(dir.filePath("none.tbh"), back, read), TableFileResult::CannotOpen);

    // Typed sizes beyond the caps are clamped, invalid ones become 1.
    TableSettings big;
    big.numRows = "99999";
    big.numCols = "x";
    ApplyTableSize(back, big);
    EXPECT_EQ(big.numRows, "10000");
    EXPECT_EQ(big.numCols, "1");
    EXPECT_EQ(back.RowCount(), 10001);
}

namespace {

class TableFromLinesTest : public ::testing::Test, public DocumentHost {
protected:
    void SetUp() override {
        SetDefaultSettings();
        SetDocumentHost(this);
    }
    void TearDown() override { SetDocumentHost(nullptr); }
    EditorCore *ActiveEditor() override { return &m; }
    std::string convert(const std::string &text, const TableValues &v, int end = 0) {
        m.SetText(text);
        m.SetSelection(1, end ? end : int(text.size()) + 1);
        TableFromSelectedLines(v, TableTagOf(v));
        return m.Text();
    }
    test::ScriptedServices services;
    test::Model m;
};

} // namespace

TEST_F(TableFromLinesTest, LinesBecomeRowsAndSeparatorsStartCells) {
    EXPECT_EQ(convert("a b\r\nc d\r\n", {}), "<TABLE>\r\n <TR> <TH>a b\r\n <TR> <TD>c d\r\n\r\n</TABLE>\r\n");
    TableValues v;
    v.doubleSpace = false;
    v.endTags = true;
    EXPECT_EQ(convert("a b\r\nc d\r\n", v), "<TABLE>\r\n <TR> <TH>a </TH><TH>b</TH></TR>\r\n"
                                            " <TR> <TD>c </TD><TD>d</TD></TR>\r\n\r\n</TABLE>\r\n");
    // Tabs and double spaces separate; a tag with spaces stays in its cell.
    v = {};
    v.firstRow = false;
    EXPECT_EQ(convert("x\t<A HREF=x.html TARGET=_top>link</A>  y\r\n", v),
              "<TABLE>\r\n <TR> <TD>x\t<TD><A HREF=x.html TARGET=_top>link</A>  <TD>y\r\n\r\n</TABLE>\r\n");
    // A long line is read whole and wrapped; the next line is untouched.
    std::string line;
    for (int i = 0; i < 120; ++i) line += "cell\t"; // 603 characters
    line += "end";
    const std::string out = convert(line + "\r\nnext", v, int(line.size()) + 3);
    EXPECT_NE(out.find("<TD>end\r\n\r\n</TABLE>\r\nnext"), std::string::npos) << out;
    int cells = 0;
    for (size_t at = out.find("<TD>"); at != std::string::npos; at = out.find("<TD>", at + 1)) ++cells;
    EXPECT_EQ(cells, 121);
    EXPECT_NE(out.find("\r\n      <TD>cell"), std::string::npos);
    // A tag left open at the end of the selection ends the walk there.
    EXPECT_EQ(convert("a <B\r\nb c\r\nrest  d", {}, 12),
              "<TABLE>\r\n <TR> <TH>a <B\r\nb c\r\n\r\n</TABLE>\r\nrest  d");
}

TEST(TableFile, TheFuzzersInputsAreReadSafely) {
    const QDir dir(QStringLiteral(XO_SOURCE_DIR "/tests/fuzz_inputs"));
    const QStringList files = dir.entryList({"*.tbc"}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString &name : files) {
        QFile in(dir.filePath(name));
        ASSERT_TRUE(in.open(QIODevice::ReadOnly));
        const QByteArray b = in.readAll();
        TCompressFile f(TCompressFile::Unpacked{}, std::vector<uint8_t>(b.begin(), b.end()));
        TTableGrid grid;
        TableSettings s;
        const bool ok = ReadTableContent(f, grid, s);
        if (name == "table_seed.tbc") {
            EXPECT_TRUE(ok);
            // Written by hand from the file layout, not by this program.
            EXPECT_EQ(grid.Generate(s), "<TABLE border=1 width=50% bgcolor=\"#ff0000\">\r\n <TR> <TH align=center "
                                        "valign=top nowrap bgcolor=\"#ff0000\" rowspan=2>a <TH> \r\n <TR align=center "
                                        "valign=top nowrap bgcolor=\"#ff0000\" rowspan=2> <TH> <TD>d \r\n</TABLE>");
        }
        EXPECT_LE(grid.RowCount(), TTableGrid::kMaxRows + 1) << name.toStdString();
    }
}
