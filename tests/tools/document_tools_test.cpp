#include "editor/editor_test_util.h"
#include "platform/cp1250.h"
#include "platform/safe_file.h"
#include "settings/settings.h"
#include "support/scripted_services.h"
#include "tags/insertion.h"
#include "tools/document_check.h"
#include "tools/system_info.h"
#include "tools/text_tools.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;

namespace {

std::string check(const std::string &text, int *position = nullptr) {
    test::Model m;
    m.SetText(text);
    const CheckResult r = CheckDocument(m);
    if (position) *position = r.position;
    return r.message.toStdString();
}

const char *const kOk = "Kontrola proběhla v pořádku. Dokument je Ok.";

} // namespace

TEST(DocumentCheck, FaultsAndTheirPlaces) {
    EXPECT_EQ(check(""), kOk);
    EXPECT_EQ(check("<BODY><P>a<P>b</BODY>"), kOk);
    EXPECT_EQ(check("<!DOCTYPE html>\r\n<HTML><BODY><A HREF = \"x.html\">x</A></BODY></HTML>"), kOk);
    EXPECT_EQ(check("<!-- a -- b --><B>x</B>"), kOk);
    EXPECT_EQ(check("<!-- <B> -->"), "Přebytečná závorka <.");
    EXPECT_EQ(check("<B><I>x</B>"), "Tag I (řádek 1) by na tomto místě měl mít koncovou část.");
    EXPECT_EQ(check("</BR>"), "Tento tag nemá mít koncovou část.");
    EXPECT_EQ(check("</B>"), "Tento tag nemá uvozovací část.");
    EXPECT_EQ(check("<A href=x><A href=y>"), "Tento tag již v tomto místě platí (chybí koncová část nebo přebývá tato "
                                            "počáteční).");
    EXPECT_EQ(check("<FONT><FONT></FONT></FONT>"), kOk);
    // A closed A may open again; one still open deeper down may not.
    EXPECT_EQ(check("<UL><A href=x></A><A href=y></A><LI><A href=z></A></UL>"), kOk);
    EXPECT_EQ(check("<A href=x><LI><B>y</B><A href=z>"), "Tento tag již v tomto místě platí (chybí koncová část nebo "
                                                         "přebývá tato počáteční).");
    EXPECT_EQ(check("<H8>"), "Chybný název tagu.");
    EXPECT_EQ(check("<A HREF=../x.html></A>"), "Chybný znak za rovnítkem.");
    EXPECT_EQ(check("<A HREF=  \"x\"></A>"), "Chybný znak za rovnítkem.");
    EXPECT_EQ(check("<IMG ALT \"x\">"), "Uvozovky v tagu by měly následovat za rovnítkem.");
    EXPECT_EQ(check("<TD WIDTH  =2>"), "Chybný znak před rovnítkem.");
    EXPECT_EQ(check("x > y"), "Chybně umístěná koncová závorka.");
    EXPECT_EQ(check("<SCRIPT>if (x > y && a<b) {}</SCRIPT>"), kOk);
    EXPECT_EQ(check("<script>x > y</script>"), kOk);
    EXPECT_EQ(check("</BODY>\r\n<FRAMESET></FRAMESET>"), "Tento tag nemá uvozovací část.");
    EXPECT_EQ(check("<FRAMESET></FRAMESET><BODY></BODY>"), "Při použití tagu FRAMESET nelze použít zároveň tag BODY.");
    EXPECT_EQ(check("a\r\n<TABLE>\r\nx"), "Tag TABLE (řádek 2) by na tomto místě měl mít koncovou část.");
    int at = 0;
    EXPECT_EQ(check("<IMG ALT=\"abc>", &at), "Uvozovky bez ukončení.");
    EXPECT_EQ(at, 10); // just after the opening quote
    EXPECT_EQ(check("<IMG ALT=\"abc", &at), "Uvozovky bez ukončení.");
    EXPECT_EQ(at, 10);
    // An open quote is reported before the tag it stands in, which is still open too.
    EXPECT_EQ(check("<P>\r\n<A href=\"x", &at), "Uvozovky bez ukončení.");
    EXPECT_EQ(at, 14);
    // Whole lines are examined.
    const std::string line(300, 'x');
    EXPECT_EQ(check("ok\r\n" + line + ">y", &at), "Chybně umístěná koncová závorka.");
    EXPECT_EQ(at, 4 + 300);
}

TEST(TextTools, ExportDiacriticsAndLineEnds) {
    int strays = 0;
    EXPECT_EQ(ExportedText(cp1250::fromUtf8("<P>Cena &lt; 100 &amp; víc</P>"), strays), cp1250::fromUtf8("Cena < 100 & víc"));
    EXPECT_EQ(strays, 0);
    EXPECT_EQ(ExportedText("a > b <B>c</B>", strays), "a   b c");
    EXPECT_EQ(strays, 1);
    // Only a later tag finds a stray ">"; a script after it does not look.
    EXPECT_EQ(ExportedText("a > b <SCRIPT>x</SCRIPT>", strays), "a > b ");
    EXPECT_EQ(strays, 0);
    EXPECT_EQ(ExportedText("a > b <SCRIPT>x</SCRIPT> c > <I>d", strays), "a   b  c   d");
    EXPECT_EQ(strays, 2);
    EXPECT_EQ(ExportedText("a > <B", strays), "a   ");
    EXPECT_EQ(strays, 2);
    EXPECT_EQ(ExportedText("x<script>a</b> if (a<b) c;</SCRIPT>y<SCRIPT>z", strays), "xy");
    EXPECT_EQ(ExportedText("a<BR>b &amp;amp; &&reg;; &copy;&nbsp;&quot; c > d", strays), "ab & reg (c) \" c > d");
    EXPECT_EQ(ExportedText("text <B never ends", strays), "text ");
    EXPECT_EQ(strays, 1);

    std::string long_ = std::string(70000, 'x') + cp1250::fromUtf8("Žluťoučký kůň");
    RemoveDiacritics(long_);
    EXPECT_EQ(long_.substr(70000), "Zlutoucky kun");
    std::string other = cp1250::fromUtf8("ĽĹÄÖÜ");
    RemoveDiacritics(other);
    EXPECT_EQ(other, cp1250::fromUtf8("ĽĹÄÖÜ"));
}

namespace {
class ToolCommandsTest : public ::testing::Test, public DocumentHost {
protected:
    void SetUp() override {
        SetDefaultSettings();
        SetDocumentHost(this);
    }
    void TearDown() override { SetDocumentHost(nullptr); }
    EditorCore *ActiveEditor() override { return &m; }
    test::ScriptedServices services;
    test::Model m;
    QTemporaryDir dir;
};
} // namespace

TEST_F(ToolCommandsTest, CommandsOnTheActiveDocument) {
    m.SetText(cp1250::fromUtf8("Žluťoučký kůň\r\n<B>x</B>"));
    RemoveDiacriticsFromActiveDocument();
    EXPECT_EQ(m.Text(), "Zlutoucky kun\r\n<B>x</B>");
    EXPECT_TRUE(m.Modified());
    EXPECT_EQ(m.LineStart(2), 16);
    SwitchLineEndsOfActiveDocument();
    EXPECT_FALSE(m.DosLineEnds);

    // The export proposes the document's name; a failed write keeps the old file.
    m.FileName = dir.filePath("page.htm");
    const QString txt = dir.filePath("page.txt");
    services.fileResults.push_back({{txt}, 0});
    ExportActiveDocument();
    EXPECT_EQ(services.fileRequests.back().fileName, txt);
    EXPECT_EQ(services.fileRequests.back().caption, "Export do textového souboru");
    QFile f(txt);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Zlutoucky kun\r\nx"));
    f.close();
    services.fileResults.push_back({{txt}, 0});
    services.expectMessage("Soubor " + txt + " existuje. Přepsat?", platform::Answer::Yes, platform::Icon::Question);
    services.expectMessage("Chyba při ukládání souboru");
    platform::FailWritesAfterForTests(2);
    ExportActiveDocument();
    platform::FailWritesAfterForTests(-1);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Zlutoucky kun\r\nx"));

    // A UTF-8 document exports in UTF-8; the switch goes both ways and marks the document.
    m.SetText(cp1250::fromUtf8("<P>žluť</P>"));
    m.ClearModified();
    SwitchEncodingOfActiveDocument();
    EXPECT_TRUE(m.Utf8);
    EXPECT_TRUE(m.Modified());
    services.fileResults.push_back({{dir.filePath("utf8.txt")}, 0});
    ExportActiveDocument();
    QFile u(dir.filePath("utf8.txt"));
    ASSERT_TRUE(u.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(u.readAll()), QString::fromUtf8("žluť"));
    SwitchEncodingOfActiveDocument();
    EXPECT_FALSE(m.Utf8);

    // The check's command: caret at the fault, the message with its caption.
    m.SetText("<B>x");
    services.expectMessage("Tag B (řádek 1) by na tomto místě měl mít koncovou část.", platform::Answer::Ok,
                           platform::Icon::Exclamation, "Kontrola dokumentu");
    CheckActiveDocument();
    EXPECT_EQ(services.pendingMessages(), 0);
}

TEST(SystemInfo, KernelTextsAndSizes) {
    const char *const meminfo = "MemTotal:       16303444 kB\nMemFree:         1020304 kB\nMemAvailable:    8154812 kB\n"
                                "SwapTotal:      12582908 kB\nSwapFree:       12582908 kB\n";
    const MemInfo m = ParseMemInfo(meminfo);
    EXPECT_EQ(m.total, 16303444ull * 1024); // beyond 32 bits
    EXPECT_EQ(m.available, 8154812ull * 1024);
    EXPECT_EQ(m.swapFree, 12582908ull * 1024);
    EXPECT_EQ(SizeText(m.total), "15921.3 MB");
    EXPECT_EQ(SizeText(1023), "1023 B");
    EXPECT_EQ(SizeText(1536), "1.5 kB");
    const char *const cpuinfo = "processor\t: 0\nvendor_id\t: GenuineIntel\nmodel name\t: X\n\nprocessor\t: 1\n"
                                "vendor_id\t: GenuineIntel\n";
    EXPECT_EQ(ProcessorText(cpuinfo, "x86_64"), "586 (GenuineIntel)");
    EXPECT_EQ(ProcessorText(cpuinfo, "arm64"), "");
    EXPECT_EQ(ProcessorCount(cpuinfo), 2);
    EXPECT_EQ(KernelVersionText("6.1.0-18-amd64"), "6.1.0");
    EXPECT_EQ(KernelVersionText("5.10.102.1-microsoft"), "5.10.102");
    EXPECT_EQ(ScreenText(1280, 1024, 32), "1280 x 1024 x 4294967296");
}
