#include "script_snippets.h"

#include "editor/editor_core.h"
#include "insertion.h"
#include "platform/cp1250.h"
#include "platform/services.h"

#include <algorithm>
#include <vector>

namespace xo {

namespace {

constexpr int kNoBody = 999999999;

std::string cp(const char *utf8) { return cp1250::fromUtf8(utf8); }

// The first match at or after `from`, any letter case; -1 for none.
int find(EditorCore &e, int from, const std::string &text) {
    if (from < 1 || from > e.TextLength()) return -1;
    const int caret = e.SelStart();
    const int at = e.Search(from, text, false);
    e.SetSelection(caret, caret);
    return at;
}

// Inserts at the caret; the offset moves when the text went in at or before it.
void insert(EditorCore &e, const std::string &text, int &offset, int caretBack = 0) {
    const int at = e.SelStart();
    InsertText(text, caretBack);
    if (at <= offset) offset += int(text.size());
}

void caretAt(EditorCore &e, int p) { e.SetSelection(p, p); }

void message(const char *caption, const char *text, platform::Icon icon = platform::Icon::Exclamation) {
    platform::message(QString::fromUtf8(caption), QString::fromUtf8(text), icon);
}

struct Functions {
    const char *name;
    std::vector<const char *> parts;
};

const Functions &functionsOf(int kind) {
    static const Functions none{nullptr, {}};
    static const Functions goback{"function goback()",
                                  {"function goback()\r\n{ alert (\"Nashledanou!\");\r\n  history.go (-1);\r\n}"}};
    static const Functions clock{
        "function showtime()",
        {"var timerID = null;\r\nvar timerRunning = false;\r\n\r\nfunction stopclock()\r\n{ if(timerRunning)\r\n     "
         "clearTimeout(timerID);\r\n  timerRunning = false;\r\n}",
         "function startclock()\r\n{ stopclock();\r\n  showtime();\r\n}",
         "function showtime()\r\n{ var now = new Date();\r\n  var hours = now.getHours();\r\n  var minutes = "
         "now.getMinutes();\r\n  var seconds = now.getSeconds();",
         "  var timeValue = \"\" + ((hours >12) ? hours -0 :hours);\r\n  timeValue += ((minutes < 10) ? \":0\" : \":\") "
         "+ minutes;\r\n  timeValue += ((seconds < 10) ? \":0\" : \":\") + seconds;\r\n  timeValue += (hours >= 12) ? \" "
         "\" : \" \";",
         "  document.clock.face.value = timeValue;\r\n   // if you want to have clock on status line,\r\n   // exchange "
         "the line above with this:\r\n   // window.status = timeValue;\r\n\r\n  timerID = "
         "setTimeout(\"showtime()\",1000);\r\n  timerRunning = true;\r\n}"}};
    static const Functions date{
        "function showdate()",
        {"function showdate()\r\n{ var now = new Date();\r\n  var str = \"\" + now;\r\n  var denstr = str.substring "
         "(10,8);\r\n  if (str.substring (9,8)==\"0\")\r\n      denstr = str.substring (10,9);",
         "  var den = denstr;\r\n  var mesic = now.getMonth()+1;\r\n  var rok = now.getYear();\r\n  var dateValue= \"\" + "
         "den + \".\" + mesic + \".\" + rok + \"  \";\r\n  document.date.face.value = dateValue;\r\n}"}};
    static const Functions roll{
        "function scrollit_r2l(seed)",
        {"function scrollit_r2l(seed)\r\n{ var m1  = \"Welcome on our WWW page.      \";\r\n  var m2  = \"We're glad to "
         "see you here.      \";\r\n  var msg=m1+m2\r\n  var out = \" \";\r\n  var c   = 1;",
         "  if (seed > 100)\r\n   { seed--;\r\n     var cmd=\"scrollit_r2l(\" + seed + \")\";\r\n     "
         "timerTwo=window.setTimeout(cmd,100);\r\n   }\r\n  else\r\n   if (seed <= 100 && seed > 0)\r\n     { for (c=0 ; c < "
         "seed ; c++)\r\n           { out+=\" \"; }",
         "       out+=msg;\r\n       seed--;\r\n       var cmd=\"scrollit_r2l(\" + seed + \")\";\r\n       "
         "window.status=out;\r\n       timerTwo=window.setTimeout(cmd,100);\r\n     }",
         "    else\r\n     if (seed <= 0)\r\n       { if (-seed < msg.length)\r\n           { "
         "out+=msg.substring(-seed,msg.length);\r\n             seed--;\r\n             var cmd=\"scrollit_r2l(\" + seed + "
         "\")\";",
         "             window.status=out;\r\n             timerTwo=window.setTimeout(cmd,100);\r\n           }\r\n        "
         "  else\r\n           { window.status=\" \";\r\n             "
         "timerTwo=window.setTimeout(\"scrollit_r2l(100)\",75);\r\n           }\r\n       }\r\n}"}};
    static const Functions title{
        "function TitleBar(banTxt)",
        {"function TitleBar(banTxt)\r\n{ var stnd=\"Standardní text\";  // kdyz neni mys nad nicim\r\n  "
         "window.defaultStatus = stnd; // standardni text\r\n  if (banTxt=='')\r\n    {window.status=stnd;}\r\n   "
         "else\r\n    {window.status = banTxt;}\r\n}"}};
    static const Functions image{
        "function OverImage(imageName)",
        {"browserName = navigator.appName;\r\nbrowserVer = parseInt(navigator.appVersion);\r\n\r\nif (browserName == "
         "\"Netscape\" && browserVer >= 3) version = \"Ver3\";\r\n   else version = \"n2\"\r\n\r\nif (version == "
         "\"Ver3\")",
         "  {\r\n   Button1Off = new Image();\r\n   Button1Off.src = \"picname1.gif\";  // odkaz na první soubor\r\n   "
         "Button1On = new Image();\r\n   Button1On.src = \"picname2.gif\";   // odkaz na druhý soubor\r\n  }\r\n",
         "function OverImage(imageName)\r\n{ if (version == \"Ver3\")\r\n  { gotFocus = eval(imageName + "
         "\"On.src\");\r\n    document [imageName].src = gotFocus;\r\n  }\r\n}\r\n",
         "function OffImage(imageName)\r\n{ if (version == \"Ver3\")\r\n  { lostFocus = eval(imageName + "
         "\"Off.src\");\r\n    document [imageName].src = lostFocus;\r\n  }\r\n}"}};
    static const Functions confirm{
        "function ConfirmTest()",
        {"function ConfirmTest()\r\n { if (!confirm (\"Pokračovat?\\n\\nStiskněte Ok pro pokračování\"))\r\n      "
         "history.go(-1);\r\n      return \" \";\r\n }\r\n document.writeln (ConfirmTest())"}};
    switch (kind) {
    case kBackButton: return goback;
    case kClock: return clock;
    case kDate: return date;
    case kRollText: return roll;
    case kReferenceTitle: return title;
    case kDynamicImageLink: return image;
    case kDialToContinue: return confirm;
    default: return none;
    }
}

const char *onLoadOf(int kind) {
    switch (kind) {
    case kClock: return "startclock()";
    case kDate: return "showdate()";
    case kRollText: return "scrollit_r2l(100)";
    case kReferenceTitle: return "TitleBar('')";
    default: return nullptr;
    }
}

const char *const kMouseOver = " onMouseOver=\"TitleBar('Text...');return true\"";

void caretHtml(int kind, const std::function<bool()> &linkCommand) {
    switch (kind) {
    case kBackButton:
        InsertText(cp("\r\n<FORM name=\"buttonbar\">\r\n<INPUT TYPE=\"button\" VALUE=\"Zpět\" "
                      "onClick=\"goback()\">\r\n</FORM>\r\n"),
                   0);
        break;
    case kClock:
    case kDate:
        InsertText(std::string("\r\n<FORM name=\"") + (kind == kClock ? "clock" : "date") +
                       "\" onsubmit=\"0\">\r\n <INPUT type=\"text\" size=\"8\" name=\"face\">\r\n</FORM>\r\n",
                   0);
        break;
    case kReferenceTitle:
        if (linkCommand && linkCommand()) {
            CaretLeft();
            InsertText(kMouseOver, 0);
            CaretRight();
        } else {
            InsertText(std::string("<A HREF=\"\"") + kMouseOver + "></A>", 4);
        }
        break;
    case kDynamicImageLink:
        InsertText(cp("\r\n<A HREF=\"\" TARGET=\"_top\"\r\n onMouseOver=\"window.status='Komentář';OverImage('Button1'); "
                      "return true\"\r\n onMouseOut=\"window.status='';OffImage('Button1'); return true\">\r\n"),
                   0);
        InsertText("  <IMG NAME=\"Button1\" VSPACE=0 SRC=\"picname1.gif\" BORDER=0 ALT=\"\"></A>\r\n", 0);
        break;
    case kButtonReference: {
        const bool newWindow =
            platform::message(QStringLiteral("Xo!"),
                              QStringLiteral("Zvolte ANO pro otevření dokumentu v novém okně.\r\n\r\nZvolte NE pro "
                                             "otevření dokumentu v aktuálním okně."),
                              platform::Icon::Question, platform::Buttons::YesNo) == platform::Answer::Yes;
        InsertText(cp(newWindow ? "\r\n<FORM ACTION=\"_file_.htm\" TARGET=\"HLAVNI\">\r\n<input type=\"submit\" "
                                  "name=\"startbutton\" value=\"Otevřít\">\r\n</FORM>\r\n"
                                : "\r\n<FORM ACTION=\"_file_.htm\">\r\n<input type=\"submit\" name=\"startbutton\" "
                                  "value=\"Otevřít\">\r\n</FORM>\r\n"),
                   0);
        break;
    }
    case kHelloByTime:
        InsertText(cp("\r\n<SCRIPT language=\"JavaScript\"> <!-- \r\n\r\n var now = new Date();\r\n var hours = "
                      "now.getHours();\r\n\r\n if (hours < 7)\r\n   document.write ('Dobré brzké ráno!');\r\n  else\r\n"),
                   0);
        InsertText(cp("   if (hours < 12)\r\n     document.write ('Dobré dopoledne!');\r\n    else\r\n     if (hours < "
                      "18)\r\n       document.write ('Dobré odpoledne!');\r\n"),
                   0);
        InsertText(cp("      else\r\n       document.write ('Dobrý večer!');\r\n// -->\r\n</SCRIPT>\r\n"), 0);
        break;
    default:
        break;
    }
}

// Where the functions go: into a new SCRIPT element before the TITLE, or
// after the start tag (and its comment opener) of the first one in the head.
bool placeFunctions(EditorCore &e, int &offset) {
    const int body = [&] {
        const int at = find(e, 1, "<BODY");
        return at < 0 ? kNoBody : at;
    }();
    const int script = find(e, 1, "<SCRIPT");
    if (script < 0 || script > body) {
        if (platform::message(QStringLiteral("Xo!"), QStringLiteral("Tag SCRIPT nenalezen! Vytvořit?"),
                              platform::Icon::Information, platform::Buttons::YesNoCancel) != platform::Answer::Yes)
            return false;
        const int title = find(e, 1, "<TITLE>");
        if (title < 0) {
            message("Javascript", "Nelze určit místo, kam má být tag SCRIPT vložen!");
            return false;
        }
        caretAt(e, title);
        const std::string element = "\r\n<SCRIPT language=\"JavaScript\"><!--  // -->\r\n</SCRIPT>\r\n\r\n";
        insert(e, element, offset, 22);
        return true;
    }
    const int close = find(e, script, ">");
    if (close < 0) {
        message("Javascript", "Nelze určit místo, kam má být tag SCRIPT vložen!");
        return false;
    }
    int p1 = close + 1;
    const int open = find(e, p1, "<");
    if (open > 0 && e.CharAt(open + 1) == '!') {
        while (p1 <= e.TextLength() && static_cast<unsigned char>(e.CharAt(p1)) > ' ') ++p1;
        if (e.CharAt(p1) == '\r' && e.CharAt(p1 + 1) == '\n') p1 += 2;
    }
    caretAt(e, p1);
    return true;
}

} // namespace

bool AddScriptFunction(const std::string &name, const std::string &code, int &offset) {
    EditorCore *e = ActiveEditor();
    if (!e) return false;
    if (!name.empty() && find(*e, 1, name) > 0) return false;
    if (!name.empty()) insert(*e, "\r\n\r\n", offset);
    insert(*e, code, offset);
    insert(*e, "\r\n", offset);
    return true;
}

void AddOnLoadCall(const std::string &call, int &offset) {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    const std::string attribute = " onload=\"" + call + "\"";
    if (find(*e, 1, attribute) > 0) return;
    const int body = find(*e, 1, "<BODY");
    const int bodyEnd = body > 0 ? find(*e, body, ">") : -1;
    if (bodyEnd < 0) return;
    // Only an onload inside the BODY tag is the page's load handler.
    const int onload = find(*e, body, "onload");
    if (onload > 0 && onload < bodyEnd) {
        const std::string after = e->GetTextRange(onload + 6, std::min(onload + 6 + 34, e->TextLength() + 1));
        const size_t quote = after.find('"');
        const size_t stop = quote == std::string::npos ? quote : after.find_first_of("\"(", quote + 1);
        const std::string function =
            quote == std::string::npos ? std::string() : after.substr(quote + 1, stop == std::string::npos ? stop : stop - quote - 1);
        const int named = function.empty() ? -1 : find(*e, 1, function);
        const int end = named + int(function.size());
        const int brace = named > 0 ? find(*e, end, "{") : -1;
        if (brace > 0 && brace - end < 100 && e->LineOfPos(brace) - e->LineOfPos(named) <= 1) {
            caretAt(*e, brace + 1);
            insert(*e, "  " + call + " // volani jineho Javascriptu" + "\r\n\r\n ", offset);
            return;
        }
        message("JavaScript", "Do tagu BODY bude vložen již druhý parametr ONLOAD, ale prohlížeče umí zohlednit jen "
                              "jeden. Problém bude třeba řešit ručně pomocí volání mezi funkcemi JavaScriptů.");
    }
    caretAt(*e, bodyEnd);
    insert(*e, attribute, offset);
}

void InsertScriptSnippet(int kind, const std::function<bool()> &linkCommand) {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    e->PaintEnabled = false;
    int offset = e->SelStart();
    if (placeFunctions(*e, offset)) {
        const Functions &f = functionsOf(kind);
        if (!f.parts.empty() && AddScriptFunction(f.name, cp(f.parts[0]), offset))
            for (size_t i = 1; i < f.parts.size(); ++i) AddScriptFunction({}, cp(f.parts[i]), offset);
        const int body = find(*e, 1, "<BODY");
        const int bodyEnd = body > 0 ? find(*e, body, ">") : -1;
        if (bodyEnd < 0) {
            message("Xo!", "Tag BODY chybí!");
        } else {
            if (const char *call = onLoadOf(kind)) AddOnLoadCall(call, offset);
            caretAt(*e, std::clamp(offset, 1, e->TextLength() + 1));
            caretHtml(kind, linkCommand);
        }
    }
    e->PaintEnabled = true;
    const int s = e->SelStart();
    e->SetSelection(s, s);
    e->ScrollToCaret();
    e->Repaint();
}

} // namespace xo
