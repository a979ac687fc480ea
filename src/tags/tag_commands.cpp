#include "tag_commands.h"

#include "documents/main_window.h"
#include "editor/editor_widget.h"
#include "editor/shared_routines.h"
#include "dialogs/dialog_services.h"
#include "documents/glyphs.h"
#include "editor/editor_core.h"
#include "insertion.h"
#include "list_conversion.h"
#include "script_snippets.h"
#include "user_tags.h"
#include "documents/shared_commands.h"
#include "settings/settings.h"
#include "platform/cp1250.h"
#include <QToolButton>
#include "dialogs/paths.h"
#include "documents/help.h"
#include "platform/services.h"
#include "tags/table_from_lines.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace xo {

const char *const kHomePage = "http://xo.example.org/";
const char *const kBadgeImage = "http://xo.example.org/xo-badge.gif";
const char *const kCounterService = "http://counter.example.org";
const char *const kCounterName = "counter.example.org";

bool LinkInserted = false;

namespace {

const QString kCaption = QStringLiteral("Xo!");

// The frame as the host of the insertion operations.
class FrameHost : public DocumentHost {
public:
    TfrmMain *frame = nullptr;
    EditorCore *ActiveEditor() override { return frame ? frame->ActiveEditor() : nullptr; }
};
FrameHost frameHost;

// Compound patterns of the catalogue.
auto wrap(const char *tag, int back = 0) {
    return [=] { WrapSelectionInTag(tag, back); };
}
auto wrapIfAny(const char *tag) {
    return [=] { WrapSelectionInTagIfAny(tag, 0); };
}
auto insert(const char *text, int back = 0) {
    return [=] { InsertText(text, back); };
}
auto wrapWith(const char *tag, const char *attributes, int back) {
    return [=] {
        if (!ActiveEditor()) return;
        WrapSelectionInTag(tag, 1);
        InsertText(attributes, back);
    };
}

void information(const QString &text) {
    platform::message(kCaption, text, platform::Icon::Information);
}

// A META tag with the caret inside its content, then what to type there.
auto meta(const char *text, const char *message) {
    return [=] {
        if (!ActiveEditor()) return;
        InsertText(text, 2);
        information(QString::fromUtf8(message));
    };
}

void javaScriptTag() {
    if (!ActiveEditor()) return;
    WrapSelectionInTag("SCRIPT", 1);
    InsertText(" language=\"JavaScript\"", 0);
    CaretRight();
}

void generated(const char *marker, const QString &value) {
    InsertText(std::string(marker) + value.toStdString(), 0);
}

void counter() {
    if (!ActiveEditor()) return;
    InsertText(std::string("<IMG SRC=\"") + kCounterService +
                   "/cgi-bin/nph-count?width=5&link=\" height=20 width=80 alt=\"Counter\">",
               35);
    information(QStringLiteral("Nyní vložte kompletní URL vašeho dokumentu na pozici kurzoru."));
}

void xoReference() {
    InsertText(std::string("<A HREF=\"") + kHomePage + "\"><IMG SRC=\"" + kBadgeImage +
                   "\" width=88 height=31 border=0></A>\r\n",
               0);
}

// The commands that build their tag in a dialog.

void font() {
    FontValues v;
    if (ActiveEditor() && TagDialogs().ExecuteFontDialog(v, false)) WrapSelection(FontOpen, FontClose);
}

void marquee() {
    MarqueeValues v;
    if (!ActiveEditor() || !TagDialogs().ExecuteMarqueeDialog(v, false)) return;
    WrapSelectionInTag("MARQUEE", 1);
    InsertText(MarqueeAttributes, 0);
    CaretRight();
}

// A pair of tags whose opening tag gets the alignment chosen in the dialog.
void alignedPair(const std::string &tag) {
    if (!ActiveEditor()) return;
    const std::string alignment = TagDialogs().ExecuteAlignDialog(-1);
    if (alignment.empty()) return;
    WrapSelectionInTag(tag, 1);
    InsertText(alignment, 0);
    CaretRight();
}

void rule() {
    RuleValues v;
    if (ActiveEditor() && TagDialogs().ExecuteRuleDialog(v, false)) InsertText(RuleTag, 0);
}

void link() {
    if (!ActiveEditor()) return;
    LinkValues v;
    LinkInserted = TagDialogs().ExecuteLinkDialog(v, false);
    if (LinkInserted) WrapSelection(LinkOpen, LinkClose);
}

// The image dialog for the active document; false when cancelled.
bool imageDialog() {
    EditorCore *e = ActiveEditor();
    ImageValues v;
    return e && TagDialogs().ExecuteImageDialog(v, e->FileName, false);
}

void image() {
    if (imageDialog()) InsertText(ImageTag, 0);
}

void linkedImage() {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    const int start = e->SelStart();
    image();
    if (e->SelStart() == start) return;
    e->SetSelection(start, e->SelEnd());
    link();
}

void imageMap() {
    if (imageDialog()) InsertImageMap(ImageTag);
}

void unorderedList() {
    int kind = 0;
    if (ActiveEditor() && TagDialogs().ExecuteULDialog(kind, false)) ListConversion('U', ULAttributes);
}

void orderedList() {
    int kind = 0, start = 1;
    if (ActiveEditor() && TagDialogs().ExecuteOLDialog(kind, start, false)) ListConversion('O', OLAttributes);
}

void backgroundSound() {
    BgSoundValues v;
    if (ActiveEditor() && TagDialogs().ExecuteBgSoundDialog(v, false)) InsertText(BgSoundTag, 0);
}

void embed() {
    EmbedValues v;
    if (ActiveEditor() && TagDialogs().ExecuteEmbedDialog(v, false)) InsertText(EmbedTag, 0);
}

// A new table: a skeleton at the caret, or a table made of the selected lines.
void table() {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    const bool lines = e->SelStart() != e->SelEnd();
    TableValues v;
    if (!TagDialogs().ExecuteTableDialog(v, false, lines)) return;
    if (lines)
        TableFromSelectedLines(v, TableTag);
    else
        InsertTableSkeleton(TableTag);
}

void tableEditor(bool importDbf) {
    std::string result;
    if (ActiveEditor() && TagDialogs().ExecuteTableEditor(importDbf, result) && !result.empty())
        InsertText(result, 0);
}

// A row or cell with the options of its dialog; new cells get no span warning.
void withOptions(const char *tag) {
    if (!ActiveEditor()) return;
    CellData d;
    bool ok;
    if (std::string_view(tag) == "TR") {
        ok = TagDialogs().ExecuteRowDialog(d);
    } else {
        const bool warn = WarnSpanChange;
        WarnSpanChange = false;
        ok = TagDialogs().ExecuteCellDialog(d);
        WarnSpanChange = warn;
    }
    if (!ok) return;
    const std::string attributes = CellAttributes(d);
    WrapSelectionInTagIfAny(tag, 1);
    if (!attributes.empty()) InsertText(attributes, 0);
    CaretRight();
}

void frameSet() {
    std::string text;
    if (ActiveEditor() && TagDialogs().ExecuteFrameSetWizard(text)) InsertText(text, 0);
}

// A whole page from the body dialog, the caret on the empty line of its body.
void pageStructure(TfrmMain &m) {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    BodyValues v;
    v.baseFont = 3;
    if (!TagDialogs().ExecuteBodyDialog(e->FileName, v, false)) return;
    std::string s = "<HTML>\r\n<TITLE>" + v.title + "</TITLE>\r\n<BODY" + BodyColorAttributes(v.colors);
    if (!v.image.empty()) {
        std::string image = v.image;
        if (e->FileName.isEmpty() &&
            platform::message(kCaption,
                              QStringLiteral("Pokud si přejete vložit relativní cestu k obrázku, je třeba HTML soubor "
                                             "nejpre uložit. Uložit?"),
                              platform::Icon::Question, platform::Buttons::YesNo) == platform::Answer::Yes) {
            m.mnUlozitJakoClick();
            if (m.ActiveEditor() == e && !e->FileName.isEmpty())
                image = ReferenceText(RelativePath(e->FileName, ReferenceFromText(image)));
        }
        s += " background=\"" + image + "\"";
    }
    s += ">\r\n\r\n";
    if (v.baseFont != 3) s += "<BASEFONT size=\"" + std::to_string(v.baseFont) + "\">\r\n\r\n";
    const size_t caret = s.size() - 2;
    s += "</BODY></HTML>\r\n\r\n<!-- Created using Xo! HTML Editor (32bit version) -->";
    if (m.ActiveEditor() == e) InsertText(s, int(s.size() - caret));
}

void framesStructure() {
    if (!ActiveEditor()) return;
    InsertText("<!-- HTML PAGE -->\r\n<HTML>\r\n<HEAD>\r\n<TITLE></TITLE>\r\n</HEAD>\r\n\r\n\r\n\r\n</HTML>\r\n\r\n<!-- "
               "Created using Xo! HTML Editor vs 8.1 -->",
               64);
    frameSet();
}

auto snippet(int kind) {
    return [kind] {
        InsertScriptSnippet(kind, [] {
            link();
            return LinkInserted;
        });
    };
}

// The popups of the user's tags and styles, rebuilt at every use and shown
// at their toolbar button.
void userPopup(TfrmMain &m, bool styles) {
    auto name = [styles](int i) { return styles ? TextStyles[i].Nazev.str() : UserTags[i].Name.str(); };
    if (name(1).empty()) {
        platform::message(kCaption, styles ? QStringLiteral("Menu je prázdné.") : QStringLiteral("Menu je prázdné"),
                          platform::Icon::Information);
        OpenOptionsDialog(styles ? pgStylyTextu : pgUserTag);
        if (name(1).empty()) return;
    }
    const QString menuName = styles ? QStringLiteral("menuStylyPopup") : QStringLiteral("menuUserPopup");
    auto *menu = m.findChild<QMenu *>(menuName);
    if (!menu) {
        menu = new QMenu(&m);
        menu->setObjectName(menuName);
    }
    menu->clear();
    const int count = styles ? TTextStyles::kCount : TUserTags::kCount;
    for (int i = 1; i <= count && !name(i).empty(); ++i) {
        const QString caption = cp1250::decode(name(i));
        QAction *a = menu->addAction(caption);
        a->setData(i);
        const QString plain = QString(caption).remove(u'&');
        a->setStatusTip((styles ? QStringLiteral("Uživatelem definovaný styl »") : QStringLiteral("Uživatelem definovaný tag »")) +
                        plain + QStringLiteral("«"));
        a->setToolTip(a->statusTip());
        QObject::connect(a, &QAction::triggered, a, [i, styles] {
            if (styles)
                ApplyStyle(i);
            else
                InsertUserTag(i);
        });
    }
    QWidget *button = m.findChild<QToolButton *>(styles ? QStringLiteral("btStyly") : QStringLiteral("btUserDef"));
    menu->popup(button && button->isVisible() ? button->mapToGlobal(QPoint(0, button->height())) : QCursor::pos());
}

void applet() {
    AppletValues v;
    if (!ActiveEditor() || !TagDialogs().ExecuteAppletDialog(v, false)) return;
    WrapSelectionInTag("APPLET", 1);
    InsertText(AppletAttributes, 0);
    CaretRight();
}

} // namespace

// The secondary click of the heading buttons: the heading with an alignment.
void RightClickHx(const QString &button) {
    if (!ActiveEditor()) return;
    const std::string alignment = TagDialogs().ExecuteAlignDialog(-1);
    if (alignment.empty()) return;
    if (button.size() != 4) {
        platform::message(kCaption, QStringLiteral("Internal error RightClickHx"), platform::Icon::Error);
        return;
    }
    WrapSelectionInTag(button.mid(2).toStdString(), 1);
    InsertText(alignment, 0);
    CaretRight();
}

namespace {

struct Command {
    const char *menu;   // below "&Entity"
    const char *name;
    const char *caption;
    std::function<void()> run; // empty: its dialog comes later
    const char *button = nullptr;
    const char *glyph = nullptr;
    QKeySequence key = {};
};

const char *const kTextMenu = "&Text";

std::vector<Command> catalogue() {
    const char *styles = "&Text/&Logické a fyzické styly";
    const char *heads = "&Text/&Hlavičky";
    const char *format = "&Formát";
    const char *breaks = "&Zalomení řádek";
    const char *refs = "&Reference";
    const char *images = "&Obrazy";
    const char *lists = "&Seznamy";
    const char *tables = "Ta&bulky";
    const char *frames = "Rá&mce";
    const char *forms = "Formu&láře";
    const char *media = "Multimediální";
    const char *chars = "Sp&eciální znaky";
    const char *user = "&Uživatelské tagy";
    const char *metas = "Metainstrukce";
    const char *js = "&Javascripty";
    std::vector<Command> c = {
        {kTextMenu, "mnB", "&Tučný", wrap("B"), "btB", "B", QKeySequence(Qt::CTRL | Qt::Key_B)},
        {kTextMenu, "mnI", "&Kurzíva", wrap("I"), "btI", "I", QKeySequence(Qt::CTRL | Qt::Key_I)},
        {kTextMenu, "mnBlink", "&Blikání", wrap("BLINK")},
        {kTextMenu, "mnU", "&Podtržení", wrap("U")},
        {styles, "mnStylDFN", "&Definování", wrap("DFN")},
        {styles, "mnStylEM", "Dů&ležitost", wrap("EM")},
        {styles, "mnStylCITE", "&Citace", wrap("CITE")},
        {styles, "mnStylCODE", "&Počítačový kód", wrap("CODE")},
        {styles, "mnStylKBD", "&Vstup z klávesnice", wrap("KBD")},
        {styles, "mnStylSAMP", "Počítačová &zpráva", wrap("SAMP")},
        {styles, "mnStylSTRONG", "&Silná důležitost", wrap("STRONG")},
        {styles, "mnStylVAR", "P&roměnná", wrap("VAR")},
        {styles, "N_styles", "", nullptr},
        {styles, "mnStylTT", "&Fixní font", wrap("TT"), "btTT", "TT"},
        {styles, "mnStylSTRIKE", "Pr&oškrtnutý text", wrap("STRIKE")},
        {styles, "mnStylBIG", "Velký te&xt", wrap("BIG")},
        {styles, "mnStylSMALL", "&Malý text", wrap("SMALL")},
        {styles, "mnStylSUB", "Su&bscript", wrap("SUB")},
        {styles, "mnStylSUP", "Sup&erscript", wrap("SUP")},
        {heads, "mnH1", "H&1", wrap("H1"), "btH1", "H1"},
        {heads, "mnH2", "H&2", wrap("H2"), "btH2", "H2"},
        {heads, "mnH3", "H&3", wrap("H3"), "btH3", "H3"},
        {heads, "mnH4", "H&4", wrap("H4"), "btH4", "H4"},
        {heads, "mnH5", "H&5", wrap("H5"), "btH5", "H5"},
        {heads, "mnH6", "H&6", wrap("H6"), "btH6", "H6"},
        {kTextMenu, "mnFont", "&Font", font, "btFont", "F"},
        {kTextMenu, "mnBaseFont", "&Základní font", insert("<BASEFONT size=\"4\">", 3)},
        {kTextMenu, "mnMarquee", "Běžící te&xt", marquee},
        {format, "mnStruc", "&Struktura dokumentu", nullptr, "btStructure", "HTM"},
        {format, "mnFramesStruc", "Struktura pro &rámce", framesStructure},
        {format, "mnAddress", "A&dresa", wrap("ADDRESS"), "btAddress", "@"},
        {format, "mnComment", "&Komentář", [] { WrapSelection("<!-- ", " -->"); }, "btComment", "<!>"},
        {format, "mnIsIndex", "&Vyhledávání v dokumentu", insert("<ISINDEX action=\"\" PROMPT=\"Text:\">", 17)},
        {format, "mnP", "&Odstavec", wrapIfAny("P"), "btP", "P", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {format, "mnPExt", "&Rozšířený odstavec", [] { alignedPair("P"); }},
        {format, "mnCenter", "&Centrování", wrap("CENTER"), "btCenter", "C"},
        {format, "mnDIV", "Zarovnání &bloku", [] { alignedPair("DIV"); }},
        {format, "mnBQ", "Odsa&zení od okrajů", wrap("BLOCKQUOTE"), "btBQ", "BQ"},
        {format, "mnPRE", "Ne&formátovaný text", wrap("PRE"), "btPRE", "PRE"},
        {format, "mnHR", "&Vodorovná čára", rule, "btHR", "HR", QKeySequence(Qt::CTRL | Qt::Key_H)},
        {format, "mnAName", "&Anchor (ukotvení)", wrapWith("A", " name=\"\"", 1), "btAnchor", "#"},
        {breaks, "mnBR", "&Zalomení řádky", insert("<BR>"), "btBR", "BR"},
        {breaks, "mnBRExt", "&Rozšířené zalomení řádky", insert("<BR clear=all>")},
        {breaks, "mnNOBR", "&Bez zalomení", wrap("NOBR")},
        {breaks, "mnWBR", "&Umožnit zalomení", insert("<WBR>")},
        {refs, "mnAHref", "&Reference", link, "btLink", "A"},
        {refs, "mnAHref_IMG", "Reference &obrazem", linkedImage},
        {refs, "mnAHrefEmail", "Reference na &e-mail", wrapWith("A", " HREF=\"mailto:\"", 1)},
        {refs, "mnBaseHref", "&Kořenové URL", insert("<BASE HREF=\"\">", 2)},
        {refs, "mnXoReference", "Reference na &Xo!", xoReference},
        {images, "mnImg", "&Obraz", image, "btImg", "IMG"},
        {images, "mnMap", "&Klikovací mapa", imageMap},
        {images, "mnPocitadlo", "", counter},
        {lists, "mnDL", "&Seznam definic", DefinitionListConversion, "btDList", "DL"},
        {lists, "mnUL", "&Nečíslovaný seznam", unorderedList, "btUList", "UL"},
        {lists, "mnOL", "&Číslovaný seznam", orderedList, "btOList", "OL"},
        {lists, "mnDD", "&Definice v <DL>", wrapIfAny("DD"), "btDD", "DD"},
        {lists, "mnDT", "&Termín v <DL>", wrapIfAny("DT"), "btDT", "DT"},
        {lists, "mnLI", "&Položka v <OL>, <UL>", wrapIfAny("LI"), "btLI", "LI"},
        {tables, "mnTable", "&Tabulka", table, "btTable", "TAB"},
        {tables, "mnTableInterActive", "&Interaktivní tabulka", [] { tableEditor(false); }},
        {tables, "mnImportDBF", "Import z &DBF", [] { tableEditor(true); }, "btDbf_To_Html", "DBF"},
        {tables, "mnTR", "&Řádek", wrapIfAny("TR"), "btTR", "TR"},
        {tables, "mnTH", "&Nadpis v tabulce", wrapIfAny("TH"), "btTH", "TH"},
        {tables, "mnTD", "&Buňka v tabulce", wrapIfAny("TD"), "btTD", "TD"},
        {tables, "mnCaption", "Nadpis tabuky", wrap("CAPTION")},
        {tables, "mnTRExt", "Rozšíření definice řádku", [] { withOptions("TR"); }},
        {tables, "mnTHExt", "Rozšíření definice nadpisu", [] { withOptions("TH"); }},
        {tables, "mnTDExt", "Rozšíření definice buňky", [] { withOptions("TD"); }},
        {frames, "mnFrameSet", "&Definice rámců (průvodce)", frameSet, "btFrameSet", "FS"},
        {frames, "mnFrame", "&Rámec", insert("<FRAME src=\"\" SCROLLING=\"YES\">", 18), "btFrame", "FR"},
        {frames, "mnFrameExt", "Ro&zšířený rámec", insert("<FRAME target= name= src=\"\" SCROLLING=\"YES\">", 30)},
        {frames, "mnNoFrame", "&Text bez rámců", wrap("NOFRAMES")},
        {frames, "mnBase", "&Předdefinované cílové okno", insert("<BASE TARGET=\"_top\">", 6)},
        {forms, "mnForm", "&Formulář", wrapWith("FORM", " ACTION=\"mailto:\" METHOD=POST", 13)},
        {forms, "mnInputText", "&Text",
         insert("<INPUT TYPE=\"text\" NAME=\"\" SIZE=10 MAXLENGTH=8 VALUE=\"\" onFocus=\"self.status='';return "
                "true\">",
                68)},
        {forms, "mnInputPasswd", "&Heslo", insert("<INPUT TYPE=\"password\" NAME=\"pass_\" SIZE=30>", 10)},
        {forms, "mnInputCheck", "&Zaškrtávání (CheckBox)",
         insert("<INPUT TYPE=\"checkbox\" NAME=\"chck_\" VALUE=\"off\">", 14)},
        {forms, "mnInputRadio", "&Volba (RadioButton)", insert("<INPUT TYPE=\"radio\" NAME=\"radio_\" VALUE=\"off\">", 14)},
        {forms, "mnSelect", "Výběr (&Select)", insert("<SELECT NAME=\"menu_\">\r\n <OPTION> \r\n</SELECT>", 25)},
        {forms, "mnTextArea", "Te&xtové pole", wrapWith("TEXTAREA", " NAME=\"tx_area_\" ROWS=4 COLS=40", 16)},
        {forms, "mnInputSend", "&Odeslání dat", insert("<INPUT TYPE=\"submit\" VALUE=\"Odeslat\">")},
        {forms, "mnInputClear", "Vymazání &dat", insert("<INPUT TYPE=\"reset\" VALUE=\"Vymazat\">")},
        {forms, "mnBackButton", "T&lačítko zpět",
         insert("<INPUT TYPE=\"button\" VALUE=\"Zp\xEC" "t\" onClick=\"history.back()\">")},
        {media, "mnBgSound", "&Zvuk na pozadí (BGSOUND)", backgroundSound},
        {media, "mnEmbed", "&Objekt (EMBED)", embed},
        {media, "mnApplet", "&Java applet (APPLET)", applet},
        {chars, "mnCharCopyright", "&Copyright", insert("&copy;")},
        {chars, "mnCharReg", "&Reg. ochranná známka", insert("&reg;")},
        {chars, "mnCharLeft", "Znak   <", insert("&lt;")},
        {chars, "mnCharRight", "Znak   >", insert("&gt;")},
        {chars, "mnCharAmpersand", "Znak   &&", insert("&amp;")},
        {chars, "mnCharQuote", "Znak   \"", insert("&quot;")},
        {chars, "mnCharSvisla", "Znak   |", insert("&brvbar;")},
        {chars, "mnCharDoubleLeft", "Znak   «", insert("&laquo;")},
        {chars, "mnCharDoubleRight", "Znak   »", insert("&raquo;")},
        {chars, "mnCharPlusMinus", "Znak   +/-", insert("&plusmn;")},
        {chars, "mnCharMulti", "Znak pro &násobení", insert("&times;")},
        {chars, "mnCharDivid", "Znak pro &dělení", insert("&divide;")},
        {chars, "mnCharMicro", "Znak &micro", insert("&micro;")},
        {chars, "mnCharParagraf", "&Paragraf", insert("&sect;")},
        {chars, "mnCharNegace", "Ne&gace", insert("&not;")},
        {chars, "mnCharStupne", "&Stupně", insert("&deg;")},
        {chars, "mnCharPoint", "&Puntík", insert("&middot;")},
        {chars, "mnCharNBSP", "&Tvrdá mezera    Alt+Spc", insert("&nbsp;")},
        {chars, "mnLeftPairTag", "Levý párový tag     <>", insert("<>", 1)},
        {chars, "mnRightPairTag", "Pravý párový tag   </>", insert("</>", 1)},
        {chars, "mnGeneratedDate", "Generované datum", [] { generated("<!--*DefDat*-->", DateText()); }},
        {chars, "mnGeneratedTime", "Generovaný čas", [] { generated("<!--*DefCas*-->", TimeText()); }},
        {user, "mnUserChooseTag", "&Výběr tagu", nullptr, "btUserDef", "UT"},
        {user, "mnUserTagsDefine", "&Definice uživatelských tagů", nullptr},
        {metas, "mnMetaAutoReload", "&Automatické načtení",
         meta("<META http-equiv=\"REFRESH\" content=\"10; URL=\">",
              "Na pozici kurzoru zapište URL, na které se má přejít.\r\n\r\n Parametr za Content určuje dobu ve "
              "vteřinách, po které se načtení nové stránky provede.")},
        {metas, "mnMetaKeyWords", "&Klíčová slova",
         meta("<META http-equiv=\"KEYWORDS\" content=\"\">", "Na pozici kurzoru zapište seznam klíčových slov")},
        {metas, "mnMetaDescription", "&Popis stránky",
         meta("<META http-equiv=\"DESCRIPTION\" content=\"\">", "Na pozici kurzoru zapište popis stránky")},
        {js, "mnJavaScriptTag", "&Javascript tag", javaScriptTag},
        {js, "N_js1", "", nullptr},
        {js, "mnJavaBackButton", "&Tlačítko ZPĚT s pozdravem", snippet(kBackButton)},
        {js, "mnJavaButtonRefer", "Tlačítko jako &odkaz", snippet(kButtonReference)},
        {js, "mnJavaClock", "&Hodiny", snippet(kClock)},
        {js, "mnJavaDate", "&Datum", snippet(kDate)},
        {js, "mnJavaRollText", "&Rolující se text", snippet(kRollText)},
        {js, "mnJavaReferenceTitle", "Odkaz s &popiskem", snippet(kReferenceTitle)},
        {js, "mnJavaDynamicImgLink", "Od&kaz dynamickým obrazem", snippet(kDynamicImageLink)},
        {js, "mnJavaDialToContinue", "Dialo&g pro pokračování", snippet(kDialToContinue)},
        {js, "mnJavaHelloByTime", "Pozdrav dle &času", snippet(kHelloByTime)},
        {js, "N_js2", "", nullptr},
        {js, "mnJavaHelp", "&Nápověda k JavaScriptům", [] { ShowHelpContext(4101); }, "btJava", "JS?"},
    };
    return c;
}

// Which toolbar a tag button stands on: text and headings; structure,
// lists and tables; frames, forms, objects and the drop-downs.
QString toolbarOf(const QString &menu) {
    if (menu.startsWith(QLatin1String("&Text"))) return QStringLiteral("tbText");
    if (menu == QLatin1String("&Formát") || menu == QLatin1String("&Zalomení řádek") ||
        menu == QLatin1String("&Seznamy") || menu == QLatin1String("Ta&bulky"))
        return QStringLiteral("tbFormat");
    return QStringLiteral("tbObjects");
}

// Copies a submenu's items into a drop-down: caption, hint, handler, separators.
std::function<void(QMenu &)> mirror(TfrmMain &m, const QString &submenu) {
    return [&m, submenu](QMenu &drop) {
        QMenu *source = nullptr;
        for (QMenu *menu : m.menuBar()->findChildren<QMenu *>())
            if (menu->title() == submenu) source = menu;
        if (!source) return;
        for (QAction *a : source->actions()) {
            if (a->isSeparator()) {
                drop.addSeparator();
                continue;
            }
            QAction *copy = drop.addAction(a->text());
            copy->setStatusTip(a->statusTip());
            copy->setToolTip(a->toolTip());
            copy->setEnabled(a->isEnabled());
            QObject::connect(copy, &QAction::triggered, a, &QAction::trigger);
        }
    };
}

void commands(TfrmMain &m, std::vector<CommandSpec> &specs) {
    int order = 20000;
    for (const Command &c : catalogue()) {
        CommandSpec s;
        s.menu = QStringLiteral("&Entity/") + QString::fromUtf8(c.menu);
        s.order = order++;
        s.name = QString::fromLatin1(c.name);
        s.caption = QString::fromUtf8(c.caption);
        if (s.name == QLatin1String("mnPocitadlo"))
            s.caption = QStringLiteral("&Počítadlo (%1)").arg(QString::fromLatin1(kCounterName));
        if (s.name.startsWith(QLatin1String("N_"))) s.caption.clear();
        s.shortcut = c.key;
        if (!s.caption.isEmpty()) {
            const QString plain = QString(s.caption).remove(u'&');
            s.hint = plain + u'|' + plain;
        }
        s.enabled = bool(c.run);
        s.handler = c.run;
        if (c.button) {
            s.toolbar = toolbarOf(QString::fromUtf8(c.menu));
            s.button = QString::fromLatin1(c.button);
            s.icon = TextGlyph(QString::fromLatin1(c.glyph));
            s.iconInMenu = false;
        }
        specs.push_back(std::move(s));
    }
    // Secondary clicks of the buttons whose other command needs no dialog.
    auto secondary = [&](const char *button, const char *item) {
        for (CommandSpec &s : specs)
            if (s.button == QLatin1String(button))
                s.secondaryClick = [&m, item] {
                    if (QAction *a = m.Action(QString::fromLatin1(item)); a && a->isEnabled()) a->trigger();
                };
    };
    int helpOrder = 0, helpTag = 0;
    for (CommandSpec &s : specs) {
        if (s.name == QLatin1String("mnStruc")) {
            s.handler = [&m] { pageStructure(m); };
            s.enabled = true;
            s.hint = QStringLiteral("Struktura|Základní struktura dokumentu");
        }
        if (s.name == QLatin1String("mnFAQ")) helpOrder = s.order, helpTag = s.tag;
    }
    // The JavaScript help also stands in the help menu, after the FAQ.
    CommandSpec jsHelp;
    jsHelp.menu = QStringLiteral("Ná&pověda");
    jsHelp.order = helpOrder + 1;
    jsHelp.tag = helpTag;
    jsHelp.name = QStringLiteral("mnNapovedaJava");
    jsHelp.caption = QStringLiteral("Nápověda k &Javascriptům");
    jsHelp.hint = QStringLiteral("Nápověda k Javascriptům|Co vkládají příkazy nabídky Javascripty");
    jsHelp.handler = [] { ShowHelpContext(4101); };
    specs.push_back(std::move(jsHelp));
    secondary("btP", "mnPExt");
    secondary("btBR", "mnBRExt");
    secondary("btTable", "mnTableInterActive");
    secondary("btTR", "mnTRExt");
    secondary("btTH", "mnTHExt");
    secondary("btTD", "mnTDExt");
    for (CommandSpec &s : specs)
        if (s.button.size() == 4 && s.button.startsWith(QLatin1String("btH")) && s.button[3].isDigit())
            s.secondaryClick = [name = s.button] { RightClickHx(name); };
    secondary("btFrame", "mnFrameExt");
    for (CommandSpec &s : specs) {
        if (s.name == QLatin1String("mnUserChooseTag")) {
            s.hint = QStringLiteral("Uživatelské tagy|Uživatelské tagy / Definice uživatelských tagů");
            s.handler = [&m] { userPopup(m, false); };
            s.enabled = true;
            s.secondaryClick = [] { OpenOptionsDialog(pgUserTag); };
        }
        if (s.name == QLatin1String("mnUserTagsDefine")) {
            s.handler = [] { OpenOptionsDialog(pgUserTag); };
            s.enabled = true;
        }
    }
    // The user styles' button: its popup, and the options page on a secondary click.
    CommandSpec styles;
    styles.menu = QStringLiteral("&Entity/&Uživatelské tagy");
    styles.order = order++;
    styles.name = QStringLiteral("mnStyly");
    styles.toolbar = QStringLiteral("tbObjects");
    styles.button = QStringLiteral("btStyly");
    styles.hint = QStringLiteral("Styly|Uživatelské styly / Definice uživatelských stylů");
    styles.icon = TextGlyph(QStringLiteral("ST"));
    styles.handler = [&m] { userPopup(m, true); };
    styles.secondaryClick = [] { OpenOptionsDialog(pgStylyTextu); };
    styles.toolbarOnly = true;
    specs.push_back(std::move(styles));
    // The drop-down buttons of the right-hand toolbar.
    const struct {
        const char *name, *button, *hint, *submenu, *glyph;
    } drops[] = {{"mnFormMenu", "btFormMenuClick", "Formulářové položky", "Formu&láře", "FRM"},
                 {"mnSpecialMenu", "btSpecialMenuClick", "Speciální znaky", "Sp&eciální znaky", "&&"},
                 {"mnMediaMenu", "btMediaMenuClick", "Multimediální tagy", "Multimediální", "MM"}};
    for (const auto &d : drops) {
        CommandSpec s;
        s.menu = QStringLiteral("&Entity/") + QString::fromUtf8(d.submenu);
        s.order = order++;
        s.name = QString::fromLatin1(d.name);
        s.toolbar = QStringLiteral("tbObjects");
        s.button = QString::fromLatin1(d.button);
        s.hint = QString::fromUtf8(d.hint) + u'|' + QString::fromUtf8(d.hint);
        s.icon = TextGlyph(QString::fromUtf8(d.glyph));
        s.dropDown = mirror(m, QString::fromUtf8(d.submenu));
        s.toolbarOnly = true;
        specs.push_back(std::move(s));
    }
}

} // namespace

Subsystem TagsSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("tags");
    s.commands = commands;
    s.attached = [](TfrmMain &m) {
        frameHost.frame = &m;
        SetDocumentHost(&frameHost);
    };
    s.detached = [](TfrmMain &m) {
        if (frameHost.frame != &m) return;
        frameHost.frame = nullptr;
        SetDocumentHost(nullptr);
    };
    return s;
}

} // namespace xo
