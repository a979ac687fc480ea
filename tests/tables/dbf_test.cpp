#include "tables/dbf_reader.h"
#include "tables/table_grid.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;

namespace {

struct Imported {
    TTableGrid grid;
    TableSettings settings;
    QStringList messages;
};

// The table editor's import without its window: the grid starts at 2 × 2.
void import(Imported &out, const std::function<void(const DbfCellSink &, const DbfMessageSink &)> &read) {
    out.settings.numRows = out.settings.numCols = "2";
    ApplyTableSize(out.grid, out.settings);
    read([&](int c, int r, std::string t) { return DbfValueToGrid(out.grid, out.settings, c, r, std::move(t)); },
         [&](const QString &m) { out.messages << m; });
}

QByteArray readAll(const QString &name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string unescape(const QByteArray &cell) {
    std::string out;
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (cell[i] == '\\' && i + 1 < cell.size()) {
            const char c = cell[++i];
            out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        } else {
            out += cell[i];
        }
    }
    return out;
}

} // namespace

TEST(DbfImport, EveryRealTableGivesItsExpectedGridAndMessages) {
    const QDir dir(QStringLiteral("../shared/testdata/dbf"));
    if (!dir.exists()) GTEST_SKIP() << "../shared/testdata/dbf is absent: the real DBF tables were not checked";
    const QStringList tables = dir.entryList({"*.dbf"}, QDir::Files);
    ASSERT_GE(tables.size(), 13);
    for (const QString &file : tables) {
        const QString name = file.left(file.size() - 4);
        // With the deleted first record read right, the second copy of the cars table reads as the first.
        const QString expected = name == "dbase3plus_cars_del2" ? QStringLiteral("dbase3plus_cars_del") : name;
        QString stem = dir.filePath(expected + ".expected.fullwidth");
        if (!QFile::exists(stem + ".tsv")) stem = dir.filePath(expected + ".expected");
        Imported got;
        import(got, [&](const DbfCellSink &cell, const DbfMessageSink &message) {
            ImportDbf(dir.filePath(file), cell, message);
        });
        const QString messages = QString::fromUtf8(readAll(stem + ".msg")).trimmed();
        EXPECT_EQ(got.messages.join('\n'), messages) << name.toStdString();
        const QList<QByteArray> lines = readAll(stem + ".tsv").split('\n');
        int lastRow = 0, lastCol = 0;
        for (int r = 0; r < lines.size(); ++r) {
            if (lines[r].isEmpty()) continue;
            const QList<QByteArray> cells = lines[r].split('\t');
            for (int c = 0; c < cells.size(); ++c) {
                const std::string want = unescape(cells[c]);
                if (!want.empty()) lastRow = std::max(lastRow, r + 1), lastCol = std::max(lastCol, c + 1);
                ASSERT_EQ(got.grid.Text(c + 1, r + 1), want) << name.toStdString() << " row " << r << " column " << c;
            }
        }
        EXPECT_EQ(got.grid.RowCount() - 1, std::max(2, lastRow)) << name.toStdString();
        EXPECT_EQ(got.grid.ColCount() - 1, std::max(2, lastCol)) << name.toStdString();
    }
}

namespace {

struct Field {
    std::string name;
    char type;
    int length;
};

// A dBASE III table: header, descriptors, terminator, records, end mark.
std::string makeDbf(const std::vector<Field> &fields, const std::vector<std::string> &records, uint32_t count,
                    char firstFlag = ' ') {
    std::string d(32, '\0');
    d[0] = 3;
    for (int i = 0; i < 4; ++i) d[size_t(4 + i)] = char(count >> (8 * i));
    for (const Field &f : fields) {
        std::string desc(32, '\0');
        desc.replace(0, f.name.size(), f.name);
        desc[11] = f.type;
        desc[16] = char(f.length);
        d += desc;
    }
    d += '\x0D';
    for (size_t i = 0; i < records.size(); ++i) d += (i == 0 ? firstFlag : ' ') + records[i];
    return d + '\x1A';
}

std::string makeFpt(int blockSize, const std::vector<std::pair<int, std::string>> &memos, uint32_t lengthBoost = 0) {
    std::string f(size_t(blockSize) * 8, '\0');
    f[6] = char(blockSize >> 8);
    f[7] = char(blockSize);
    for (const auto &[block, text] : memos) {
        std::string head(8, '\0');
        head[3] = 1;
        const uint32_t n = uint32_t(text.size()) + lengthBoost;
        for (int i = 0; i < 4; ++i) head[size_t(4 + i)] = char(n >> (8 * (3 - i)));
        f.resize(std::max(f.size(), size_t(block) * size_t(blockSize)));
        f.replace(size_t(block) * size_t(blockSize), std::string::npos, head + text);
    }
    return f;
}

Imported readBytes(const std::string &dbf, const std::string *fpt = nullptr) {
    Imported out;
    import(out, [&](const DbfCellSink &cell, const DbfMessageSink &message) {
        TMemorySource d(dbf);
        std::optional<TMemorySource> m;
        if (fpt) m.emplace(*fpt);
        ReadDbf(d, m ? &*m : nullptr, cell, message);
    });
    return out;
}

} // namespace

TEST(DbfImport, CraftedTablesForWhatTheRealOnesLack) {
    // Values as stored, trimmed; a deleted first record is read in place.
    Imported t = readBytes(makeDbf({{"CITY", 'C', 10}, {"CODE", 'N', 3}}, {"Praha      42", "Brno        7"}, 2, '*'));
    EXPECT_TRUE(t.messages.isEmpty()) << t.messages.join('|').toStdString();
    EXPECT_EQ(t.grid.Text(1, 1), "CITY");
    EXPECT_EQ(t.grid.Text(1, 2), "Praha");
    EXPECT_EQ(t.grid.Text(2, 2), "42");
    EXPECT_EQ(t.grid.Text(2, 3), "7");

    // A field of type F stops the import right after its name is placed.
    t = readBytes(makeDbf({{"A", 'C', 1}, {"F", 'F', 4}, {"B", 'C', 1}}, {"x1.5 y"}, 1));
    EXPECT_EQ(t.messages, QStringList{"Chybná struktura souboru DBF"});
    EXPECT_EQ(t.grid.Text(2, 1), "F");
    EXPECT_EQ(t.grid.Text(3, 1), "");

    // 200 fields are refused at the 200th.
    std::vector<Field> many;
    for (int i = 0; i < 200; ++i) many.push_back({"F" + std::to_string(i), 'C', 1});
    t = readBytes(makeDbf(many, {std::string(200, 'v')}, 1));
    EXPECT_EQ(t.messages, QStringList{"Tabulka obsahuje příliš mnoho sloupců"});
    EXPECT_EQ(t.grid.Text(200, 1), "F199");
    EXPECT_EQ(t.grid.Text(1, 2), "");

    // More records counted than the file holds: what is there stays.
    t = readBytes(makeDbf({{"A", 'C', 2}}, {"r1", "r2"}, 1000000));
    EXPECT_EQ(t.messages, QStringList{"Chyba při čtení souboru DBF"});
    EXPECT_EQ(t.grid.Text(1, 3), "r2");

    // Memos: two lines joined by <BR>, block 0, a block past the memo file,
    // a length beyond the memo file, a missing memo file.
    const std::vector<Field> memo{{"N", 'C', 1}, {"M", 'M', 10}};
    std::string fpt = makeFpt(64, {{8, "one\r\ntwo"}});
    t = readBytes(makeDbf(memo, {"a         8", "b         0"}, 2), &fpt);
    EXPECT_TRUE(t.messages.isEmpty());
    EXPECT_EQ(t.grid.Text(2, 2), "one<BR>two");
    EXPECT_EQ(t.grid.Text(2, 3), "(Memo)");
    Imported lines;
    EXPECT_TRUE(DbfValueToGrid(lines.grid, lines.settings, 0, 0, "\r\na\r\r\n\r\nb\r"));
    EXPECT_EQ(lines.grid.Text(1, 1), "<BR>a\r<BR><BR>b\r");
    // Many fields pointing at one memo block: the text an import may create is capped.
    std::vector<Field> memos;
    for (int i = 0; i < 50; ++i) memos.push_back({"M" + std::to_string(i), 'M', 10});
    const std::string big = makeFpt(64, {{8, std::string(4000, 'm')}});
    std::string record;
    for (int i = 0; i < 50; ++i) record += "         8";
    const std::string table = makeDbf(memos, std::vector<std::string>(100, record), 100);
    TMemorySource d(table), m(big);
    uint64_t kept = 0;
    QStringList said;
    ReadDbf(
        d, &m, [&](int, int row, std::string text) { return kept += row > 0 ? text.size() : 0, true; },
        [&](const QString &text) { said << text; }, 1000000);
    EXPECT_EQ(said, QStringList{"Tabulka obsahuje příliš mnoho textu"});
    EXPECT_LE(kept, 1000000u);
    EXPECT_GT(kept, 1000000u - 4000);
    t = readBytes(makeDbf(memo, {"a       9999"}, 1), &fpt);
    EXPECT_EQ(t.messages, QStringList{"Chybná struktura souboru FPT nebo DBF"});
    std::string lying = makeFpt(64, {{8, "text"}}, 1u << 30);
    t = readBytes(makeDbf(memo, {"a         8"}, 1), &lying);
    EXPECT_EQ(t.messages, QStringList{"Chybná struktura souboru FPT"});
    t = readBytes(makeDbf(memo, {"a         8"}, 1));
    EXPECT_EQ(t.messages, QStringList{"Soubor FPT neexistuje"});
    EXPECT_EQ(t.grid.Text(2, 2), "8");

    // A truncated header, a table without records, a memo file without its header.
    t = readBytes(makeDbf(memo, {}, 1).substr(0, 20));
    EXPECT_EQ(t.messages, QStringList{"Chyba při čtení souboru DBF"});
    t = readBytes(makeDbf(memo, {}, 0));
    EXPECT_EQ(t.messages, QStringList{"Tabulka neobsahuje žádné záznamy"});
    const std::string shortFpt = "abc";
    t = readBytes(makeDbf(memo, {"a         8"}, 1), &shortFpt);
    EXPECT_EQ(t.messages, QStringList{"Chyba při čtení souboru FPT"});

    // The grid's rows are capped.
    TTableGrid g;
    TableSettings s;
    EXPECT_TRUE(DbfValueToGrid(g, s, 0, 9999, "x"));
    EXPECT_FALSE(DbfValueToGrid(g, s, 0, 10000, "y"));
    EXPECT_EQ(g.RowCount(), 10001);
}

TEST(DbfImport, TheMemoFileIsFoundInAnyLetterCase) {
    QTemporaryDir dir;
    QFile(dir.filePath("a.fpt")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("B.FPT")).open(QIODevice::WriteOnly);
    QFile(dir.filePath("c.Fpt")).open(QIODevice::WriteOnly);
    EXPECT_EQ(MemoFileOf(dir.filePath("a.dbf")), dir.filePath("a.fpt"));
    EXPECT_EQ(MemoFileOf(dir.filePath("B.DBF")), dir.filePath("B.FPT"));
    EXPECT_EQ(MemoFileOf(dir.filePath("c.dbf")), dir.filePath("c.Fpt"));
    EXPECT_EQ(MemoFileOf(dir.filePath("C.dbf")), dir.filePath("C.fpt")); // the stem's case counts
    Imported t;
    import(t, [&](const DbfCellSink &cell, const DbfMessageSink &message) {
        ImportDbf(dir.filePath("none.dbf"), cell, message);
        ImportDbf(dir.path(), cell, message);
    });
    EXPECT_EQ(t.messages, QStringList({"Soubor DBF se nepodařilo otevřít", "Soubor DBF se nepodařilo otevřít"}));
}

// The fuzzer's inputs: two bytes for the DBF's length (high bit: no memo
// file), the DBF, then the memo file. Each must end, and end soon.
TEST(DbfImport, TheFuzzersInputsEndSoon) {
    const QDir dir(QStringLiteral(XO_SOURCE_DIR "/tests/fuzz_inputs"));
    const QStringList files = dir.entryList({"*.dbfz"}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString &name : files) {
        const QByteArray b = readAll(dir.filePath(name));
        ASSERT_GE(b.size(), 2);
        const size_t length = std::min<size_t>(size_t(b.size() - 2), size_t((uchar(b[0]) & 0x7F) << 8 | uchar(b[1])));
        const std::string dbf(b.constData() + 2, length), fpt(b.constData() + 2 + length, size_t(b.size()) - 2 - length);
        int values = 0;
        TMemorySource d(dbf), m(fpt);
        ReadDbf(d, (uchar(b[0]) & 0x80) ? nullptr : &m, [&](int, int, std::string) { return ++values < 1000000; },
                [](const QString &) {});
        EXPECT_LT(values, 1000000) << name.toStdString();
    }
}
