#include "editor/editor_test_util.h"
#include "editor/editor_widget.h"
#include "editor/utf8_text.h"
#include "platform/cp1250.h"
#include "settings/settings.h"
#include "support/scripted_services.h"

#include <QCoreApplication>
#include <QFile>
#include <QInputMethodEvent>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;

namespace {

class Utf8DocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetDefaultSettings();
        Settings.BAKs = false;
    }
    QString write(const char *name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    }
    QByteArray read(const QString &name) {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    test::ScriptedServices services;
    QTemporaryDir dir;
};

bool validUtf8(const QByteArray &b) {
    bool bom = false;
    return IsUtf8Text(b.constData(), size_t(b.size()), bom) || !QString::fromUtf8(b).contains(QChar::ReplacementCharacter);
}

} // namespace

TEST_F(Utf8DocumentTest, EveryCodePageCharacterSurvivesAUtf8LoadAndSave) {
    std::string cp;
    for (int b = 32; b < 256; ++b) cp += char(b);
    cp += "\r\n";
    const QByteArray utf8 = QByteArray::fromStdString(Cp1250ToUtf8(cp));
    const QString file = write("all.htm", utf8);
    test::Model m;
    ASSERT_TRUE(m.LoadFromFile(file));
    EXPECT_TRUE(m.Utf8);
    EXPECT_FALSE(m.Utf8Bom);
    EXPECT_FALSE(m.Modified());
    EXPECT_EQ(m.Text(), cp);
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read(file), utf8);

    // A byte-order mark stays; an ASCII file and invalid UTF-8 are code page 1250 byte for byte.
    const QString marked = write("bom.htm", "\xEF\xBB\xBFplain");
    ASSERT_TRUE(m.LoadFromFile(marked));
    EXPECT_TRUE(m.Utf8 && m.Utf8Bom);
    EXPECT_EQ(m.Text(), "plain");
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read(marked), QByteArray("\xEF\xBB\xBFplain"));
    for (const QByteArray &bytes : {QByteArray("ascii only"), QByteArray("\xC5\xBE ok, then \xE8 alone"),
                                    QByteArray("\xC0\xAF overlong"), QByteArray("\xED\xA0\x80 surrogate")}) {
        const QString f = write("cp.htm", bytes);
        ASSERT_TRUE(m.LoadFromFile(f));
        EXPECT_FALSE(m.Utf8) << bytes.toStdString();
        EXPECT_EQ(m.Text(), bytes.toStdString());
        ASSERT_TRUE(m.SaveToFile());
        EXPECT_EQ(read(f), bytes);
    }
}

TEST_F(Utf8DocumentTest, CharactersTheCodePageLacksBecomeReferencesOnceAndSaid) {
    const QString file = write("emoji.htm", QString::fromUtf8("Ahoj 😀 Привет ž").toUtf8());
    services.expectMessage(QString("Soubor %1 je v kódování UTF-8. Znaky, které kódování CP1250 nemá (7), byly "
                                   "převedeny na číselné odkazy HTML (&#N;).")
                               .arg(file),
                           platform::Answer::Ok, platform::Icon::Information);
    test::Model m;
    ASSERT_TRUE(m.LoadFromFile(file));
    EXPECT_TRUE(m.Modified());
    EXPECT_EQ(m.Text(), "Ahoj &#128512; &#1055;&#1088;&#1080;&#1074;&#1077;&#1090; \x9E");
    // Typed code-page letters are saved as UTF-8.
    m.SetSelection(m.TextLength() + 1, m.TextLength() + 1);
    m.type(cp1250::fromUtf8("ž"));
    ASSERT_TRUE(m.SaveToFile());
    const QByteArray saved = read(file);
    EXPECT_EQ(QString::fromUtf8(saved), QString::fromUtf8("Ahoj &#128512; &#1055;&#1088;&#1080;&#1074;&#1077;&#1090; žž"));
    EXPECT_TRUE(validUtf8(saved));

    // The switch: the other encoding at the next save; the document is modified.
    m.Utf8 = false;
    ASSERT_TRUE(m.SaveToFile());
    EXPECT_EQ(read(file).right(2), QByteArray("\x9E\x9E"));
}

TEST_F(Utf8DocumentTest, TypedAndPastedCharactersOutsideTheCodePage) {
    TEditor e;
    e.Utf8 = true;
    QInputMethodEvent typed;
    typed.setCommitString(QString::fromUtf8("ω😀ž"));
    QCoreApplication::sendEvent(&e, &typed);
    EXPECT_EQ(e.Text(), "&#969;&#128512;\x9E");
    // A reference goes in and out whole.
    e.SetText("ab");
    e.SetSelection(2, 2);
    QInputMethodEvent one;
    one.setCommitString(QString::fromUtf8("ω"));
    QCoreApplication::sendEvent(&e, &one);
    EXPECT_EQ(e.Text(), "a&#969;b");
    e.Undo();
    EXPECT_EQ(e.Text(), "ab");
    services.clipboard = QString::fromUtf8("Ωx\n");
    e.PasteFromClipboard();
    EXPECT_EQ(e.Text(), "a&#937;x\r\nb");
    // A code-page document refuses them as before.
    TEditor plain;
    QCoreApplication::sendEvent(&plain, &typed);
    EXPECT_EQ(plain.Text(), "\x9E");
    EXPECT_EQ(services.beeps, 2);
    EXPECT_EQ(DocumentTextOf(QString::fromUtf8("ω"), false), "?");
}
