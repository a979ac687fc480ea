#include "dialogs/image_info.h"
#include "dialogs/paths.h"
#include "dialogs/tag_builders.h"
#include "support/scripted_services.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;

TEST(TagBuilders, RuleFontAndBodyTags) {
    EXPECT_EQ(ColorToHex(0xFF0000), "#0000ff");
    EXPECT_EQ(ColorToHex(0x0080FF), "#ff8000");
    EXPECT_EQ(RuleTagOf({50, 2, true, 3, true}), "<HR width=50% size=2 noshadow align=center>");
    EXPECT_EQ(RuleTagOf({}), "<HR>");
    EXPECT_EQ(RuleTagOf({0, -1, false, 1, true}), "<HR align=left>");

    std::string open, close;
    FontTagsOf({"3", true, true, "Arial", 0x0000FF}, open, close);
    EXPECT_EQ(open, "<FONT size=\"3\" face=\"Arial\" color=\"#ff0000\"><B><I>");
    EXPECT_EQ(close, "</I></B></FONT>");
    FontTagsOf({"+2"}, open, close);
    EXPECT_EQ(open + close, "<FONT size=\"+2\"></FONT>");
    FontTagsOf({"", false, false, "", -1, true, true}, open, close);
    EXPECT_EQ(open + close, "<FONT><U><BLINK></BLINK></U></FONT>");
    EXPECT_EQ(FontSizeText(0), "+1");
    EXPECT_EQ(FontSizeText(13), "-7");
    EXPECT_EQ(FontSizeText(20), "7");
    for (int i = 0; i < 21; ++i) EXPECT_EQ(FontSizeIndex(FontSizeText(i)), i);
    for (const char *none : {"", "+9", "0", "-", "x3"}) EXPECT_EQ(FontSizeIndex(none), -1) << none;

    BodyFixValues body;
    body.colors.background = 0xFFFFFF;
    body.onLoad = "init()";
    EXPECT_EQ(BodyTagOf(body), "<BODY bgcolor=#ffffff onLoad=\"init()\">");
    body = {"img/bg.gif", "", {1, 2, 3, 4, 5}};
    EXPECT_EQ(BodyTagOf(body), "<BODY bgcolor=#050000 text=#040000 link=#030000 vlink=#020000 alink=#010000 "
                               "background=\"img/bg.gif\">");
}

TEST(TagBuilders, ImageLinkListAndMediaTags) {
    const std::string none[5];
    EXPECT_EQ(ImageTagOf("a.gif", none, 0), "<IMG src=\"a.gif\">");
    const std::string numbers[5] = {"88", "31", "0", "", ""};
    EXPECT_EQ(ImageTagOf("img/logo.gif", numbers, 1), "<IMG src=\"img/logo.gif\" width=88 height=31 border=0 align=left>");
    // Numbers outside 32 bits and anything else are not numbers.
    EXPECT_EQ(NumAttr("width", "  +12"), " width=12");
    EXPECT_EQ(NumAttr("width", "-2147483648"), " width=-2147483648");
    for (const char *bad : {"2147483648", "-2147483649", "99999999999999999999", "12x", "", " ", "+"})
        EXPECT_EQ(NumAttr("width", bad), "") << bad;

    std::string open, close;
    LinkTagsOf({"a.htm", "_blank"}, open, close);
    EXPECT_EQ(open + close, "<A href=\"a.htm\" target=\"_blank\"></A>");
    LinkTagsOf({"a.htm", ""}, open, close);
    EXPECT_EQ(open, "<A href=\"a.htm\">");

    EXPECT_EQ(ULAttributesOf(1), " type=circle");
    EXPECT_EQ(OLAttributesOf(3, 4), " type=I start=4");
    EXPECT_EQ(OLAttributesOf(0, 1), "");

    MarqueeValues m;
    EXPECT_EQ(MarqueeAttributesOf(m), " behavior=scroll direction=left loop=infinite align=top");
    m.loopText = "5";
    m.width = 300;
    m.hasColor = true;
    m.color = 0x0000FF;
    EXPECT_EQ(MarqueeAttributesOf(m), " behavior=scroll direction=left loop=5 width=300 align=top bgcolor=#ff0000");
    m = {};
    m.loopText = ""; // no "loop=" to swallow the next attribute
    m.scrollAmount = 4;
    m.behavior = 2;
    EXPECT_EQ(MarqueeAttributesOf(m), " behavior=alternate direction=left scrollamount=4 align=top");

    EXPECT_EQ(BgSoundTagOf({"s.wav", -1, ""}), "<BGSOUND src=\"s.wav\">");
    EXPECT_EQ(BgSoundTagOf({"s.wav", -1, "Infinite"}), "<BGSOUND src=\"s.wav\" loop=Infinite>");
    EmbedValues embed{"m.avi", 100, -1, "true", "left", -1};
    EXPECT_EQ(EmbedTagOf(embed), "<EMBED src=\"m.avi\" width=100 align=left loop=infinite autostart=true>");
    embed.loop = 3;
    embed.autoStart.clear();
    EXPECT_EQ(EmbedTagOf(embed), "<EMBED src=\"m.avi\" width=100 align=left loop=3>");
    EXPECT_EQ(AppletAttributesOf({"Hello.class"}), " code=\"Hello.class\"");
    EXPECT_EQ(AppletAttributesOf({"A.class", "classes/", 200, "ap", "top", 0}),
              " code=\"A.class\" codebase=\"classes/\" width=200 align=top name=\"ap\"");
}

TEST(Paths, RelativePathBetweenRealPaths) {
    test::ScriptedServices services;
    const QString home = QDir::homePath();
    EXPECT_EQ(RelativePath(home + "/web/cz/index.htm", home + "/web/img/logo.gif"), "../img/logo.gif");
    EXPECT_EQ(RelativePath("/a/b/c.htm", "/a/d.gif"), "../d.gif");
    EXPECT_EQ(RelativePath("/web/a.htm", "/web/b.gif"), "b.gif");
    EXPECT_EQ(RelativePath("/web/a.htm", "/web/sub/b.gif"), "sub/b.gif");
    // A shared name prefix is not a shared directory.
    EXPECT_EQ(RelativePath("/web/a.htm", "/web2/x.gif"), "../web2/x.gif");
    // Letter case matters.
    EXPECT_EQ(RelativePath("/web/a.htm", "/Web/b.gif"), "../Web/b.gif");
    EXPECT_EQ(RelativePath("/a/./b/../c.htm", "/a/d//e.gif"), "d/e.gif");
    EXPECT_EQ(RelativePath("/a/b.htm", "https://host/x.gif"), "https://host/x.gif");
    // Nothing in common: a base that is not absolute.
    services.expectMessage("Relativní cesta neexistuje", platform::Answer::Ok, platform::Icon::Information);
    EXPECT_EQ(RelativePath("web/a.htm", "/x/a.gif"), "file:///x/a.gif");
    EXPECT_EQ(services.pendingMessages(), 0);
}

TEST(Paths, AbsolutePathOfReferences) {
    const QString base = "/home/u/web/cz/index.htm";
    EXPECT_EQ(AbsolutePath("/a/b/c.htm", "../d.gif"), "/a/d.gif");
    EXPECT_EQ(AbsolutePath(base, "./img/a.gif"), "/home/u/web/cz/img/a.gif");
    EXPECT_EQ(AbsolutePath(base, ".thumbs/a.gif"), "/home/u/web/cz/.thumbs/a.gif");
    EXPECT_EQ(AbsolutePath(base, "..\\img\\a.gif"), "/home/u/web/img/a.gif");
    EXPECT_EQ(AbsolutePath(base, "img/./x/../a.gif"), "/home/u/web/cz/img/a.gif");
    EXPECT_EQ(AbsolutePath(base, "../../../../../../a.gif"), "/a.gif");
    EXPECT_EQ(AbsolutePath(base, "...gif"), "/home/u/web/cz/...gif");
    for (const char *url : {"http://host/a.gif", "https://host/a.gif", "ftp://h/a", "mailto:a@b.cz"})
        EXPECT_EQ(AbsolutePath(base, url), url);
    EXPECT_EQ(AbsolutePath(base, "file:///srv/a.gif"), "/srv/a.gif");
    EXPECT_EQ(AbsolutePath(base, "file:///C|/x/a.gif"), "/C|/x/a.gif"); // no such file here
    EXPECT_EQ(AbsolutePath(base, "/srv//a.gif"), "/srv/a.gif");
    // An unnamed document keeps relative references as they are.
    EXPECT_EQ(AbsolutePath("", "./img/a.gif"), "img/a.gif");
    EXPECT_EQ(AbsolutePath("", ""), "");
}

TEST(Paths, ReferencesKeepCharactersTheCodePageLacks) {
    const QString name = QStringLiteral("/web/фото €ž.gif");
    const std::string text = ReferenceText(name);
    EXPECT_EQ(text, "/web/%D1%84%D0%BE%D1%82%D0%BE \x80\x9E.gif");
    EXPECT_EQ(ReferenceFromText(text), name);
    // Escapes the program did not write stay as they are.
    for (const char *kept : {"a%41.gif", "100%", "a%4", "%C3%A1.gif", "%zz", "%-1"})
        EXPECT_EQ(ReferenceFromText(kept), QString::fromLatin1(kept)) << kept;
}

namespace {

QByteArray jpeg(bool progressive, QSize size = {37, 21}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter w(&buffer, "jpeg");
    w.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(w.write(image)) << w.errorString().toStdString();
    return bytes;
}

ImageInfo info(ImageKind kind, const QByteArray &b) {
    return ImageInfoFromBytes(kind, std::string_view(b.constData(), size_t(b.size())));
}

} // namespace

TEST(ImageInfo, GifAndJfifSizes) {
    QByteArray gif("GIF89a\x58\x02\x90\x01\0\0", 12);
    EXPECT_EQ(info(ImageKind::Gif, gif).width, 600);
    EXPECT_EQ(info(ImageKind::Gif, gif).height, 400);
    EXPECT_EQ(info(ImageKind::Gif, "PNG89a\x58\x02\x90\x01").width, 0);
    EXPECT_TRUE(info(ImageKind::Gif, "GIF89a\x58").damaged);

    for (bool progressive : {false, true}) {
        const QByteArray j = jpeg(progressive);
        ASSERT_EQ(uchar(j[5]), 16) << "the writer made no 16-byte JFIF header";
        const ImageInfo i = info(ImageKind::Jpeg, j);
        EXPECT_EQ(i.width, 37) << progressive;
        EXPECT_EQ(i.height, 21);
        EXPECT_FALSE(i.damaged);
    }
    // Without the JFIF header nothing is found, and nothing is wrong.
    QByteArray exif = jpeg(false);
    exif[6] = 'X';
    EXPECT_EQ(info(ImageKind::Jpeg, exif).width, 0);
    EXPECT_FALSE(info(ImageKind::Jpeg, exif).damaged);
    // Cut before the frame header: damaged, sizes unknown.
    const QByteArray cut = jpeg(false).left(40);
    EXPECT_TRUE(info(ImageKind::Jpeg, cut).damaged);
    EXPECT_EQ(info(ImageKind::Jpeg, cut).width, 0);
    // Segments that never reach a frame header stop at the walk's limit.
    QByteArray endless = jpeg(false).left(20);
    while (endless.size() < 30000) endless += QByteArray("\xFF\xFE\x00\x10", 4) + QByteArray(14, 'c');
    EXPECT_FALSE(info(ImageKind::Jpeg, endless).damaged);
    EXPECT_EQ(info(ImageKind::Other, gif).width, 0);
}

TEST(ImageInfo, FilesThatAreDamagedOrNoFilesAtAllGiveTheMessage) {
    test::ScriptedServices services;
    QTemporaryDir dir;
    QFile truncated(dir.filePath("t.JPG"));
    ASSERT_TRUE(truncated.open(QIODevice::WriteOnly));
    truncated.write(jpeg(true).left(30));
    truncated.close();
    services.expectMessage("Chyba při dekódování souboru");
    EXPECT_EQ(ReadImageInfo(truncated.fileName()).width, 0);
    QDir(dir.path()).mkdir("d.gif");
    services.expectMessage("Chyba při dekódování souboru");
    EXPECT_EQ(ReadImageInfo(dir.filePath("d.gif")).width, 0);
    QFile good(dir.filePath("g.jpeg"));
    ASSERT_TRUE(good.open(QIODevice::WriteOnly));
    good.write(jpeg(false, {640, 480}));
    good.close();
    const ImageInfo i = ReadImageInfo("file://" + good.fileName());
    EXPECT_EQ(i.width, 640);
    EXPECT_EQ(i.height, 480);
    EXPECT_EQ(ReadImageInfo(dir.filePath("none.png")).width, 0); // not a kind it reads: no message
    EXPECT_EQ(services.pendingMessages(), 0);
}
