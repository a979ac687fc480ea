// Inputs the fuzzers found or started from, read on every run: none may
// crash, hang or grow beyond the caps.
#include "support/config_file.h"
#include "settings/compress_file.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace xo;

namespace {
std::vector<uint8_t> readFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray b = f.readAll();
    return {b.begin(), b.end()};
}
} // namespace

TEST(FuzzInputs, ConfigurationContentsAreReadSafely) {
    const QDir dir(QStringLiteral(XO_SOURCE_DIR "/tests/fuzz_inputs"));
    const QStringList files = dir.entryList({"*.bin"}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString &name : files) {
        TCompressFile f(TCompressFile::Pack(readFile(dir.filePath(name))));
        test::ConfigFile c;
        c.Read(f);
        if (c.main) {
            EXPECT_LE(c.main->windows.size(), f.Content().size()) << name.toStdString();
        }
    }
}

TEST(FuzzInputs, CompressedImagesAreReadSafely) {
    const QDir dir(QStringLiteral(XO_SOURCE_DIR "/tests/fuzz_inputs"));
    for (const QString &name : dir.entryList({"*.lzh"}, QDir::Files)) {
        const auto image = readFile(dir.filePath(name));
        std::vector<uint8_t> content;
        if (TCompressFile::Unpack(image.data(), image.size(), content)) {
            EXPECT_LE(content.size(), TCompressFile::kMaxContent);
        }
    }
}

TEST(FuzzInputs, TheSeedIsAValidConfiguration) {
    TCompressFile f(TCompressFile::Pack(readFile(QStringLiteral(XO_SOURCE_DIR "/tests/fuzz_inputs/config_seed.bin"))));
    test::ConfigFile c;
    c.Read(f);
    EXPECT_TRUE(c.signatureOk);
    EXPECT_FALSE(c.damaged);
    ASSERT_TRUE(c.main);
    EXPECT_EQ(c.main->recentFiles, QStringList({"/home/u/a.htm"}));
    ASSERT_EQ(c.main->windows.size(), 2u);
    EXPECT_FALSE(c.main->windows[1]);
    EXPECT_TRUE(f.AtEnd());
}
