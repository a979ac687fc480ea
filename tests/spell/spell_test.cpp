// What the spell check looks at, Hunspell's answers through the speller,
// the marks of a document, and the Czech non-breaking spaces.
#include "editor/editor_test_util.h"
#include "platform/cp1250.h"
#include "settings/compress_file.h"
#include "settings/settings.h"
#include "spell/document_spelling.h"
#include "spell/speller.h"
#include "spell/spell_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;
using namespace xo::spell;

namespace {

// "lang:word" for each word of a page given in UTF-8 (stored as the editor stores it, in CP1250).
std::vector<std::string> words(const char *utf8Page, TScanState state = TScanState()) {
    const std::string page = cp1250::encode(QString::fromUtf8(utf8Page));
    std::vector<std::string> out;
    FindWords(page, state, [&](const TWord &w) { out.push_back(w.lang + ':' + w.text.toStdString()); });
    return out;
}

bool haveCzech() { return QFile::exists(QStringLiteral("/usr/share/hunspell/cs_CZ.dic")); }

} // namespace

TEST(SpellText, WhatIsCheckedAndWhatIsSkipped) {
    using V = std::vector<std::string>;
    const std::pair<const char *, V> cases[] = {
        {"<p>Ahoj světe</p>", {"cs:Ahoj", "cs:světe"}},
        {"<a href=\"neco.htm\" class=\"trida\" id=x>odkaz</a>", {"cs:odkaz"}},
        {"<img alt=\"Obrázek koně\" src=\"kun.png\" title='Kůň' data-x=\"slovo\">", {"cs:Obrázek", "cs:koně", "cs:Kůň"}},
        {"<input placeholder=\"Hledat\" aria-label=\"Pole hledání\" value=\"nic\">", {"cs:Hledat", "cs:Pole", "cs:hledání"}},
        {"<!-- komentář --> text <!-- další\n řádek -->", {"cs:text"}},
        {"<script>var slovo = '<b>';</script><style>p{}</style><pre>kód <code>a</code> dál</pre> konec", {"cs:konec"}},
        {"<code>x <code>y</code> z</code> po", {"cs:po"}},
        {"P&#345;&iacute;li&scaron; &nbsp; &copy; Stra&#x00DF;e &#8220;citát&#8221;", {"cs:Příliš", "cs:Straße", "cs:citát"}},
        {"http://example.cz/cesta www.seznam.cz jan@example.cz slovo", {"cs:slovo"}},
        {"abc123 5 a v l'amour", {"cs:l'amour"}},
        {"<html lang=\"en\"><p>hello <span lang=\"cs\">ahoj <b>zde</b></span> world <div lang=\"de-AT\">Welt</div> end",
         {"en:hello", "cs:ahoj", "cs:zde", "en:world", "de:Welt", "en:end"}},
        {"<div lang=en>one <div>two</div> three</div> čtyři <br lang=en> pět", {"en:one", "en:two", "en:three", "cs:čtyři", "cs:pět"}},
        {"<p lang=\"en\" title=\"nice\">x</p><p title=\"hezký\">", {"en:nice", "cs:hezký"}},
        {"a < b a > c <!DOCTYPE html> slovo", {"cs:slovo"}},
    };
    for (const auto &[page, expected] : cases) EXPECT_EQ(words(page), expected) << page;

    // A scan continued from a state goes on as the whole text would.
    const std::string page = cp1250::encode(QStringLiteral(
        "<div lang=\"en\"><p title=\"long\nvalue\">first</p><!-- a\nb --><script>\nx</script>second</div> třetí"));
    std::vector<std::string> whole, parts;
    FindWords(page, TScanState(), [&](const TWord &w) { whole.push_back(w.text.toStdString()); });
    for (size_t cut = 0; cut < page.size(); ++cut) {
        if (page[cut] != '\n') continue; // the states are kept at line starts
        parts.clear();
        const TScanState mid = ScanText(page.substr(0, cut + 1), TScanState(), [](const TTextPart &) {});
        FindWords(page.substr(cut + 1), mid, [&](const TWord &w) { parts.push_back(w.text.toStdString()); });
        ASSERT_LE(parts.size(), whole.size());
        EXPECT_TRUE(std::equal(parts.begin(), parts.end(), whole.end() - long(parts.size()))) << cut;
    }
    EXPECT_EQ(whole, (std::vector<std::string>{"long", "value", "first", "second", "třetí"}));
}

TEST(Speller, AnswersSuggestionsThePersonalListAndMissingDictionaries) {
    if (!haveCzech()) GTEST_SKIP() << "the Czech dictionary is not installed (apt-get install hunspell-cs)";
    QTemporaryDir dir;
    TSpeller sp;
    sp.PersonalFile = dir.filePath(QStringLiteral("xo/slovnik.txt"));
    QStringList missing;
    sp.OnMissing = [&](const QString &lang, const QString &package) { missing << lang + u' ' + package; };

    EXPECT_EQ(sp.CheckNow("cs", QStringLiteral("Příliš")), TSpeller::Correct);
    EXPECT_EQ(sp.CheckNow("cs", QStringLiteral("Přílš")), TSpeller::Wrong);
    EXPECT_EQ(sp.Suggest("cs", QStringLiteral("Přílš")).value(0), QStringLiteral("Příliš"));
    EXPECT_LE(sp.Suggest("cs", QStringLiteral("lese")).size(), 6);
    EXPECT_EQ(sp.CheckNow("en", QStringLiteral("colour")), TSpeller::Wrong); // en_US
    // Known words answer at once; new ones wait for the idle work.
    EXPECT_EQ(sp.Check("cs", QStringLiteral("Příliš")), TSpeller::Correct);
    EXPECT_EQ(sp.Check("cs", QStringLiteral("kůň")), TSpeller::NotYet);
    while (sp.Pending()) sp.Work(50);
    EXPECT_EQ(sp.Check("cs", QStringLiteral("kůň")), TSpeller::Correct);
    // No dictionary: said once, never checked.
    EXPECT_EQ(sp.Check("xx", QStringLiteral("slovo")), TSpeller::NotChecked);
    EXPECT_EQ(sp.Check("xx", QStringLiteral("jiné")), TSpeller::NotChecked);
    EXPECT_EQ(missing, QStringList({"xx hunspell-xx"}));

    // The personal list: UTF-8, a word a line, kept by the next speller.
    ASSERT_TRUE(sp.AddToPersonal(QStringLiteral("Xóčko")));
    EXPECT_EQ(sp.CheckNow("cs", QStringLiteral("Xóčko")), TSpeller::Correct);
    QFile list(sp.PersonalFile);
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), QStringLiteral("Xóčko\n").toUtf8());
    list.close();
    TSpeller next;
    next.PersonalFile = sp.PersonalFile;
    EXPECT_EQ(next.Check("cs", QStringLiteral("Xóčko")), TSpeller::Correct);
    next.Ignore(QStringLiteral("Přílš"));
    EXPECT_EQ(next.Check("cs", QStringLiteral("Přílš")), TSpeller::Correct);

    // A damaged list is said, not used and not written over.
    ASSERT_TRUE(list.open(QIODevice::WriteOnly));
    list.write("slovo\n\xff\xfe\0junk", 14);
    list.close();
    QString problem;
    TSpeller damaged;
    damaged.PersonalFile = sp.PersonalFile;
    damaged.OnDamagedList = [&](const QString &p) { problem = p; };
    EXPECT_EQ(damaged.CheckNow("cs", QStringLiteral("Xóčko")), TSpeller::Wrong);
    EXPECT_TRUE(problem.contains(QStringLiteral("poškozený")));
    EXPECT_FALSE(damaged.AddToPersonal(QStringLiteral("nové")));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll().size(), 14);
}

TEST(DocumentSpelling, MarksFollowTheContextAcrossStatesAndEdits) {
    if (!haveCzech()) GTEST_SKIP() << "the Czech dictionary is not installed (apt-get install hunspell-cs)";
    // A script opened at line 2 and closed at line 600: its misspelt words are no words.
    std::string page = "<p>Přílš</p>\r\n<script>\r\n";
    for (int i = 3; i < 600; ++i) page += "var xyzzyq = 1; // Přílš\r\n";
    page += "</script>\r\n<p>dobrý Přílš den</p>\r\n";
    test::Model m;
    m.SetText(cp1250::encode(QString::fromUtf8(page.c_str())));
    TSpeller sp;
    sp.PersonalFile = QStringLiteral("/nonexistent/xo-words");
    TDocumentSpelling doc;
    const auto marks = [&](int first, int last) {
        std::vector<TEditor::TMark> out;
        for (int round = 0; round < 2; ++round) { // the second after the speller's work
            out.clear();
            EXPECT_TRUE(doc.Marks(m, sp, first, last, out));
            while (sp.Pending()) sp.Work(50);
        }
        std::vector<std::string> s;
        for (const auto &k : out) s.push_back(std::to_string(k.line) + ':' + std::to_string(k.from) + '-' + std::to_string(k.to));
        return s;
    };
    EXPECT_EQ(marks(1, 3), (std::vector<std::string>{"1:3-8"}));
    EXPECT_EQ(marks(300, 302), std::vector<std::string>());
    EXPECT_EQ(marks(600, 602), (std::vector<std::string>{"601:9-14"}));
    // The script now ends at line 3: line 300's word is page text.
    m.SetSelection(m.LineStart(3), m.LineStart(3));
    m.ReplaceSelection("</script>");
    EXPECT_EQ(marks(300, 300), (std::vector<std::string>{"300:4-10", "300:19-24"}));
}

TEST(Typography, NonBreakingSpacesInCzechTextOnlyAndOnce) {
    const auto run = [](const char *utf8, const std::string &nbsp = "&nbsp;") {
        std::string text = cp1250::encode(QString::fromUtf8(utf8));
        const auto changes = NonBreakingSpaces(text, 0, int(text.size()), nbsp);
        for (auto it = changes.rbegin(); it != changes.rend(); ++it) text.replace(size_t(it->start), size_t(it->length), it->text);
        return cp1250::decode(text).toStdString();
    };
    const std::pair<const char *, const char *> cases[] = {
        {"<p>Byl v lese a u řeky s 5 %</p>", "<p>Byl v&nbsp;lese a&nbsp;u&nbsp;řeky s&nbsp;5&nbsp;%</p>"},
        {"K domu, O tom i Z hradu", "K&nbsp;domu, O&nbsp;tom i&nbsp;Z&nbsp;hradu"},
        {"Vážil 12 kg, jel 90 km/h za 300 Kč", "Vážil 12&nbsp;kg, jel 90&nbsp;km/h za 300&nbsp;Kč"},
        {"auto v  lese; bav se; 5 koní; (v lese)", "auto v  lese; bav se; 5 koní; (v&nbsp;lese)"},
        {"<img alt=\"v lese\" src=\"a v b.gif\"> <!-- v lese --> <a href=\"x\" title=\"s ním\">k nám</a>",
         "<img alt=\"v&nbsp;lese\" src=\"a v b.gif\"> <!-- v lese --> <a href=\"x\" title=\"s&nbsp;ním\">k&nbsp;nám</a>"},
        {"<script>a = v + 1;</script><pre>v lese</pre><code>i j</code> o tom", "<script>a = v + 1;</script><pre>v lese</pre><code>i j</code> o&nbsp;tom"},
        {"<p lang=\"en\">a boy</p> <p lang=\"cs-CZ\">a on</p>", "<p lang=\"en\">a boy</p> <p lang=\"cs-CZ\">a&nbsp;on</p>"},
        {"a&nbsp;v lese", "a&nbsp;v&nbsp;lese"},
    };
    for (const auto &[in, out] : cases) {
        EXPECT_EQ(run(in), out) << in;
        EXPECT_EQ(run(out), out) << "twice: " << in;
    }
    EXPECT_EQ(run("k nám", "\xA0"), "k\u00A0nám");
    EXPECT_EQ(run("k\u00A0nám a v lese", "\xA0"), "k\u00A0nám a\u00A0v\u00A0lese");
    // Only within the given stretch.
    const std::string text = "a b a b a b";
    EXPECT_EQ(NonBreakingSpaces(text, 4, 7, "&nbsp;").size(), 1u);
}

TEST(Typography, ReplacedStretchesAreOneUndoStep) {
    test::Model m;
    m.SetText("a b a b");
    m.SetSelection(7, 8);
    m.ReplaceRanges({{2, 3, "&nbsp;"}, {6, 7, "&nbsp;"}});
    EXPECT_EQ(m.Text(), "a&nbsp;b a&nbsp;b");
    EXPECT_EQ(m.SelStart(), 17); // the selection moved with its text
    EXPECT_TRUE(m.Modified());
    m.Undo();
    EXPECT_EQ(m.Text(), "a b a b");
    EXPECT_EQ(m.SelStart(), 7);
    EXPECT_EQ(m.SelEnd(), 8);
}

TEST(SpellingSection, AnOlderConfigurationWithoutItChecksAndTheSectionIsKept) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("c"));
    {
        TCompressFile f(file, TCompressFile::fmCreate);
        f.WriteString("PredefinedDirs"); // the section before it, then the file's end
        ASSERT_TRUE(f.Close());
    }
    TSpellingState s;
    s.Check = true;
    {
        TCompressFile f(file, TCompressFile::fmOpenRead);
        f.ReadString();
        s.Load(f);
    }
    EXPECT_TRUE(s.Check);
    EXPECT_FALSE(s.NbspCharacter);
    {
        TCompressFile f(file, TCompressFile::fmCreate);
        TSpellingState{false, true}.Save(f);
        ASSERT_TRUE(f.Close());
    }
    TCompressFile f(file, TCompressFile::fmOpenRead);
    s.Load(f);
    EXPECT_FALSE(s.Check);
    EXPECT_TRUE(s.NbspCharacter);
}
