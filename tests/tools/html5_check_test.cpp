#include "tools/check_command.h"
#include "tools/html5_check.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

using namespace xo;

namespace {

const std::string kDoctype = "<!DOCTYPE html>\r\n";

// The message, and the text right after the caret, of a page's first fault.
std::pair<std::string, std::string> fault(const std::string &body) {
    const std::string text = kDoctype + body;
    const CheckResult r = CheckHtml5(text);
    if (r.code == 0) return {"Ok", ""};
    return {r.message.toStdString(), text.substr(size_t(r.position) - 1, 12)};
}

} // namespace

TEST(Html5Check, TheDoctypeChoosesTheRules) {
    EXPECT_TRUE(IsHtml5Document("<!DOCTYPE html>"));
    EXPECT_TRUE(IsHtml5Document("\xEF\xBB\xBF  <!-- a -->\r\n<!-- b --><!doctype HTML >"));
    EXPECT_TRUE(IsHtml5Document("<!DOCTYPE html SYSTEM \"about:legacy-compat\">"));
    EXPECT_FALSE(IsHtml5Document("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">"));
    EXPECT_FALSE(IsHtml5Document("<html><!DOCTYPE html>"));
    EXPECT_FALSE(IsHtml5Document("<!DOCTYPE htmlx>"));
}

TEST(Html5Check, TodaysPagesPass) {
    for (const char *page : {
             // Void elements, with and without "/>"; any quoting; names in any case; custom elements.
             "<html lang=cs><head><meta charset=utf-8><link rel='stylesheet' href=a.css><title>a < b</title></head>"
             "<BODY><img src=x.png alt=\"\"/><br><input disabled><my-card data-x=1></my-card></body></html>",
             // Raw text: "</" in a script string, markup in a style.
             "<script>var s = '</div>'; if (a<b && c>d) {}</script><style>ul > li { x: y }</style>"
             "<textarea><b>not markup</textarea>",
             // Optional end tags.
             "<p>one<p>two<div>block</div><ul><li>a<li>b</ul><dl><dt>t<dd>d<dt>u</dl>"
             "<table><caption>c<colgroup><col><thead><tr><th>h<tbody><tr><td>1<td>2<tr><td>3<tfoot><tr><td>f</table>"
             "<select><optgroup label=a><option>x<option>y<optgroup label=b><option>z</select><ruby>a<rt>b<rp>c</ruby>",
             // Foreign content.
             "<svg viewBox=\"0 0 1 1\"><path d=\"M0 0\"/><g><circle r=1 /></g></svg><math><mi>x</mi></math>",
             // Comments, an empty p from "</p>".
             "<!-- a -- b --><!----><p>x</p></p>"}) {
        EXPECT_EQ(fault(page).first, "Ok") << page;
    }
}

TEST(Html5Check, EachFaultAndItsPlace) {
    using P = std::pair<std::string, std::string>;
    EXPECT_EQ(fault("<p>x</span>"), P("Koncová značka </span> nemá počáteční značku.", "</span>"));
    EXPECT_EQ(fault("<div>\r\n<span>x"), P("Tag SPAN (řádek 3) nemá koncovou značku.", "<span>x"));
    EXPECT_EQ(fault("<b><i>x</b></i>"), P("Tag I (řádek 2) má být ukončen před </b>.", "</b></i>"));
    EXPECT_EQ(fault("a<br></br>"), P("Element BR je prázdný a nemá mít koncovou značku.", "</br>"));
    EXPECT_EQ(fault("<a href=\"x>y</a>"), P("Uvozovky bez ukončení.", "\"x>y</a>"));
    EXPECT_EQ(fault("<p>x<!-- open"), P("Komentář bez ukončení.", "<!-- open"));
    EXPECT_EQ(fault("<p title=a TITLE=b>x"), P("Atribut title je v tagu uveden dvakrát.", "TITLE=b>x"));
    EXPECT_EQ(fault("<p id=a>\r\n<i id=\"a\">x</i>"), P("Identifikátor a je v dokumentu již použit (řádek 2).", "\"a\">x</i>"));
    EXPECT_EQ(fault("<p class=a\"b>"), P("Hodnota atributu bez uvozovek obsahuje nepovolený znak \".", "\"b>"));
    EXPECT_EQ(fault("<script>never ends"), P("Tag SCRIPT (řádek 2) nemá koncovou značku.", "<script>neve"));
    EXPECT_EQ(fault("<div><li>x</div>"), P("Ok", "")); // an li in a div ends with the div
    EXPECT_EQ(fault("<div><span>x</div>"), P("Tag SPAN (řádek 2) má být ukončen před </div>.", "</div>"));
}

TEST(Html5Check, TheCommandPrintsEachFileAndExitsByTheWorst) {
    QTemporaryDir dir;
    const auto put = [&](const char *name, const QByteArray &bytes) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return f.fileName();
    };
    // UTF-8 with a byte-order mark and a comment before the doctype; a fault on line 3, column 8.
    const QString bad = put("bad.html", "\xEF\xBB\xBF<!-- x -->\n<!DOCTYPE html>\n<p>Žluť</span>\n");
    const QString good = put("good.html", "<!doctype html><p>ok");
    const QString old = put("old.htm", "<B><I>x</B>"); // the old rules, their message unchanged
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    EXPECT_EQ(CheckFilesCommand({good}, out, err), 0);
    EXPECT_EQ(CheckFilesCommand({bad, good}, out, err), 1);
    EXPECT_EQ(CheckFilesCommand({old}, out, err), 1);
    EXPECT_EQ(CheckFilesCommand({good, dir.filePath("none.html"), bad}, out, err), 2);
    out.flush();
    err.flush();
    EXPECT_EQ(outText.toStdString(),
              QStringList({good + ": Ok", bad + ":3:8: Koncová značka </span> nemá počáteční značku. (pravidla HTML5)",
                           good + ": Ok",
                           old + ":1:10: Tag I (řádek 1) by na tomto místě měl mít koncovou část.", good + ": Ok",
                           bad + ":3:8: Koncová značka </span> nemá počáteční značku. (pravidla HTML5)", ""})
                  .join(u'\n')
                  .toStdString());
    EXPECT_EQ(errText, dir.filePath("none.html") + ": soubor neexistuje\n");
}
