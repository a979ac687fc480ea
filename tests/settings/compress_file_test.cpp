#include "settings/compress_file.h"
#include "settings/lzhuf.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>

using namespace xo;

namespace {

const char *const kVectors[] = {"empty",      "one_byte",        "three_bytes",    "spaces_60",
                                "czech_cp1250", "config_20k",    "html_100k",      "repetitive",
                                "all_byte_values", "binary_records", "mixed_256k"};

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::vector<uint8_t> bytes(const QByteArray &b) { return {b.begin(), b.end()}; }

} // namespace

// Pairs made by the published encoder: we must read every one and write
// every one byte for byte.
TEST(Lzhuf, ReferenceVectorsDecodeAndEncodeByteForByte) {
    const QString dir = QStringLiteral("../shared/testdata/lzhuf/");
    if (!QFile::exists(dir + "empty.lzh")) GTEST_SKIP() << "../shared/testdata/lzhuf is absent";
    for (const char *name : kVectors) {
        const auto bin = bytes(readAll(dir + name + ".bin"));
        const auto lzh = bytes(readAll(dir + name + ".lzh"));
        ASSERT_GE(lzh.size(), 4u) << name;
        std::vector<uint8_t> decoded;
        EXPECT_TRUE(TCompressFile::Unpack(lzh.data(), lzh.size(), decoded)) << name;
        EXPECT_TRUE(decoded == bin) << name << " does not decode to its .bin";
        EXPECT_TRUE(TCompressFile::Pack(bin) == lzh) << name << " does not encode to its .lzh";
    }
}

TEST(Lzhuf, RandomContentRoundTrips) {
    std::mt19937 rng(99);
    for (size_t size : {size_t(1), size_t(2), size_t(61), size_t(4097), size_t(70000)}) {
        std::vector<uint8_t> data(size);
        // Mostly a few letters, so matches of every length occur.
        for (auto &b : data) b = rng() % 4 == 0 ? uint8_t(rng()) : uint8_t('a' + rng() % 3);
        std::vector<uint8_t> back;
        const auto file = TCompressFile::Pack(data);
        ASSERT_TRUE(TCompressFile::Unpack(file.data(), file.size(), back));
        EXPECT_TRUE(back == data) << size;
    }
}

TEST(Lzhuf, DamagedHeadersAndCodesAreHarmless) {
    std::vector<uint8_t> out;
    // A length far beyond what four bytes of code can hold.
    const uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0x7F, 0x12, 0x34, 0x56, 0x78};
    EXPECT_FALSE(TCompressFile::Unpack(huge, sizeof huge, out));
    EXPECT_TRUE(out.empty());
    const uint8_t torn[] = {0x01, 0x00};
    EXPECT_FALSE(TCompressFile::Unpack(torn, sizeof torn, out));
    // A truncated code decodes to something of the declared length, no more.
    std::mt19937 rng(5);
    std::vector<uint8_t> text(5000);
    for (auto &b : text) b = uint8_t('a' + rng() % 26);
    auto file = TCompressFile::Pack(text);
    file.resize(file.size() / 2);
    EXPECT_TRUE(TCompressFile::Unpack(file.data(), file.size(), out));
    EXPECT_EQ(out.size(), 5000u);
    // Cut so short that the code cannot hold the declared length: damage.
    file = TCompressFile::Pack(std::vector<uint8_t>(5000, 'x'));
    file.resize(file.size() / 2);
    EXPECT_FALSE(TCompressFile::Unpack(file.data(), file.size(), out));
    EXPECT_LE(lzhuf::MaxDecodedSize(0), 60u);
}

class CompressFileTest : public ::testing::Test {
protected:
    QString path(const char *name = "c.dat") { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(CompressFileTest, ValuesComeBackInOrder) {
    {
        TCompressFile f(path(), TCompressFile::fmCreate);
        f.WriteInteger(-7);
        f.WriteBoolean(true);
        f.WriteString("Main");
        f.WriteString("");
        f.WriteStrings({"a", "", "\xE8\xE1"});
        const uint8_t block[5] = {1, 2, 3, 4, 5};
        f.WriteBuffer(block, 5);
        ASSERT_TRUE(f.Close());
    }
    TCompressFile f(path(), TCompressFile::fmOpenRead);
    EXPECT_EQ(f.ReadInteger(), -7);
    EXPECT_TRUE(f.ReadBoolean());
    EXPECT_EQ(f.ReadString(), "Main");
    f.UnreadLastString();
    EXPECT_EQ(f.ReadString(), "Main");
    EXPECT_EQ(f.ReadString(), "");
    EXPECT_EQ(f.ReadStrings(), (std::vector<std::string>{"a", "", "\xE8\xE1"}));
    uint8_t block[6] = {9, 9, 9, 9, 9, 9};
    f.ReadBuffer(block, 6); // past the end: the rest stays
    EXPECT_EQ(block[4], 5);
    EXPECT_EQ(block[5], 9);
    EXPECT_EQ(f.ReadInteger(), 0);
    EXPECT_FALSE(f.ReadBoolean());
    EXPECT_EQ(f.ReadString(), "");
    f.UnreadLastString(); // nothing was consumed
    EXPECT_TRUE(f.AtEnd());
    EXPECT_FALSE(f.Damaged());
}

TEST_F(CompressFileTest, StringEncodingSizes) {
    TCompressFile f(path(), TCompressFile::fmCreate);
    f.WriteString("");
    EXPECT_EQ(f.Content().size(), 4u);
    f.WriteString("x");
    EXPECT_EQ(f.Content().size(), 10u);
    f.WriteString(std::string("a\0b", 3));
    ASSERT_TRUE(f.Close());
    TCompressFile r(path(), TCompressFile::fmOpenRead);
    r.ReadString();
    r.ReadString();
    EXPECT_EQ(r.ReadString(), "a"); // cut at the 0 byte
    EXPECT_TRUE(r.AtEnd());
}

TEST_F(CompressFileTest, AnEmptyFileIsFourZeroBytes) {
    {
        TCompressFile f(path(), TCompressFile::fmCreate);
        ASSERT_TRUE(f.Close());
    }
    EXPECT_EQ(readAll(path()), QByteArray(4, '\0'));
    TCompressFile r(path(), TCompressFile::fmOpenRead);
    EXPECT_EQ(r.ReadInteger(), 0);
    EXPECT_EQ(r.ReadStrings().size(), 0u);
}

TEST_F(CompressFileTest, AWriterReplacesTheFileOnlyWhenItCloses) {
    QFile old(path());
    old.open(QIODevice::WriteOnly);
    old.write("old content");
    old.close();
    {
        TCompressFile f(path(), TCompressFile::fmCreate);
        f.WriteString("new");
        EXPECT_EQ(readAll(path()), "old content"); // nothing truncated yet
    } // not closed: discarded
    EXPECT_EQ(readAll(path()), "old content");
    TCompressFile f(path(), TCompressFile::fmCreate);
    f.WriteString("new");
    ASSERT_TRUE(f.Close());
    TCompressFile r(path(), TCompressFile::fmOpenRead);
    EXPECT_EQ(r.ReadString(), "new");
}

TEST_F(CompressFileTest, OpenFailuresAreReported) {
    EXPECT_THROW(TCompressFile(path("missing"), TCompressFile::fmOpenRead), ECompressFileError);
    EXPECT_THROW(TCompressFile(dir.filePath("no/dir/x"), TCompressFile::fmCreate), ECompressFileError);
    ASSERT_EQ(mkfifo(path("fifo").toLocal8Bit().constData(), 0600), 0);
    EXPECT_THROW(TCompressFile(path("fifo"), TCompressFile::fmOpenRead), ECompressFileError);
}

TEST_F(CompressFileTest, HostileLengthsAndCountsMarkTheFileDamaged) {
    auto writeContent = [&](const std::vector<uint8_t> &content) {
        const auto file = TCompressFile::Pack(content);
        QFile f(path());
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char *>(file.data()), qint64(file.size()));
    };
    writeContent({0xFF, 0xFF, 0xFF, 0xFF}); // string length -1
    {
        TCompressFile r(path(), TCompressFile::fmOpenRead);
        EXPECT_EQ(r.ReadString(), "");
        EXPECT_TRUE(r.Damaged());
    }
    writeContent({0x10, 0x00, 0x00, 0x00, 'a', 'b'}); // 16 characters announced, 2 present
    {
        TCompressFile r(path(), TCompressFile::fmOpenRead);
        EXPECT_EQ(r.ReadString(), "");
        EXPECT_TRUE(r.Damaged());
    }
    writeContent({0x00, 0x00, 0x00, 0x40, 0, 0, 0, 0}); // a list of a billion strings
    {
        TCompressFile r(path(), TCompressFile::fmOpenRead);
        EXPECT_TRUE(r.ReadStrings().empty());
        EXPECT_TRUE(r.Damaged());
    }
    QFile f(path());
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray::fromHex("ffffff7f00"));
    f.close();
    TCompressFile r(path(), TCompressFile::fmOpenRead);
    EXPECT_EQ(r.ReadInteger(), 0);
    EXPECT_TRUE(r.Damaged());
}
