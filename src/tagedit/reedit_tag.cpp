#include "dialogs/dialog_services.h"
#include "editor/editor_core.h"
#include "platform/services.h"
#include "tag_edit.h"
#include "tag_location.h"
#include "tags/insertion.h"

#include <functional>
#include <map>

namespace xo {

namespace {

void warn(const char *text) {
    platform::message(QStringLiteral("Xo!"), QString::fromUtf8(text), platform::Icon::Exclamation);
}

// The index of a keyword among `words` (compared as written), or `none`.
int keyword(const std::string &value, std::initializer_list<const char *> words, int none) {
    int i = 0;
    for (const char *w : words) {
        if (value == w) return i;
        ++i;
    }
    return none;
}

int color(const std::string &v) { return int(ColorFromHtml(v)); }

std::string withoutPercent(std::string v, bool *had = nullptr) {
    const bool percent = !v.empty() && v.back() == '%';
    if (percent) v.pop_back();
    if (had) *had = percent;
    return v;
}

enum class WriteBack { WholeTag, Attributes };

// One family: how its attributes are read, and the dialog that makes the result.
struct Family {
    WriteBack writeBack;
    // Reads one attribute; false for a name the family does not know.
    std::function<bool(const std::string &name, const std::string &value)> read;
    // Runs the dialog; false when cancelled. `result` is the text written back.
    std::function<bool(std::string &result)> edit;
};

class Reedit {
public:
    explicit Reedit(EditorCore &e) : e_(e) {}

    void run() {
        int start = 0, end = 0;
        if (!LocateTagAtCaret(e_, start, end)) return;
        if (e_.CharAt(start + 1) == '/') return warn("Na koncovém tagu parametry opravovat nelze.");
        std::string name = e_.GetTextRange(start + 1, end - start <= 15 ? end : start + 15);
        for (size_t i = 1; i < name.size(); ++i)
            if (name[i] == '\0' || name[i] == '\n' || name[i] == '\r' || name[i] == ' ') {
                name.resize(i);
                break;
            }
        for (char &c : name)
            if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        const int attributes = start + 1 + int(name.size());
        Family family;
        if (!familyOf(name, family)) return warn("Oprava tohoto tagu není podporována.");
        for (int p = attributes;;) {
            const int from = p;
            std::string attribute, value;
            ParseNextAttribute(e_, p, attribute, value, hasAttributes_);
            if (attribute.empty()) break;
            if (stop_) return;
            if (!family.read(attribute, value)) KeepUnknownAttribute(e_, from, p, unknown_);
            if (stop_) return;
        }
        std::string result;
        if (!family.edit(result)) return;
        if (family.writeBack == WriteBack::WholeTag) {
            e_.DeleteRange(start, end + 1);
            e_.SetSelection(start, start);
            InsertText(result, 1);
        } else {
            if (hasAttributes_)
                e_.DeleteRange(attributes, end);
            e_.SetSelection(attributes, attributes);
            if (!result.empty())
                InsertText(result, 0);
            else
                e_.Repaint();
        }
        ReinsertUnknownAttributes(unknown_);
    }

private:
    bool familyOf(const std::string &name, Family &f);

    EditorCore &e_;
    bool hasAttributes_ = false, stop_ = false;
    std::string unknown_;
    // The working values.
    FontValues font_;
    BodyFixValues body_;
    ImageValues image_;
    int align_ = -1;
    TableValues table_;
    int listType_ = 0, start_ = -1;
    RuleValues rule_{-1, -1, false, 0, true};
    CellData cell_{false, 255, 255, false, 0, false, -1, -1};
    BgSoundValues sound_;
    EmbedValues embed_{{}, -1, -1, {}, {}, -1};
    MarqueeValues marquee_;
    LinkValues link_;
};

bool Reedit::familyOf(const std::string &name, Family &f) {
    TTagDialogs &d = TagDialogs();
    auto number = [](int &to) { return [&to](const std::string &v) { to = IntFromAttr(v); }; };
    using Readers = std::map<std::string, std::function<void(const std::string &)>>;
    auto reader = [](Readers readers) {
        return [readers = std::move(readers)](const std::string &n, const std::string &v) {
            const auto it = readers.find(n);
            if (it == readers.end()) return false;
            it->second(v);
            return true;
        };
    };
    if (name == "FONT") {
        font_.color = -1;
        f = {WriteBack::WholeTag,
             reader({{"size", [this](const std::string &v) { font_.size = v; }},
                     {"face", [this](const std::string &v) { font_.face = v; }},
                     {"color", [this](const std::string &v) { font_.color = color(v); }}}),
             [this, &d](std::string &r) { return d.ExecuteFontDialog(font_, true) && (r = FontOpen, true); }};
        return true;
    }
    if (name == "BODY") {
        BodyColors &c = body_.colors;
        f = {WriteBack::WholeTag,
             reader({{"bgcolor", [&c](const std::string &v) { c.background = color(v); }},
                     {"text", [&c](const std::string &v) { c.text = color(v); }},
                     {"link", [&c](const std::string &v) { c.link = color(v); }},
                     {"vlink", [&c](const std::string &v) { c.visited = color(v); }},
                     {"alink", [&c](const std::string &v) { c.pressed = color(v); }},
                     {"background", [this](const std::string &v) { body_.image = v; }},
                     {"onload", [this](const std::string &v) { body_.onLoad = v; }}}),
             [this, &d](std::string &r) {
                 return d.ExecuteBodyFixDialog(e_.FileName, body_, true) && (r = BodyTag, true);
             }};
        return true;
    }
    if (name == "IMG") {
        image_.align = -1;
        f = {WriteBack::WholeTag,
             reader({{"src", [this](const std::string &v) { image_.src = v; }},
                     {"width", number(image_.width)},
                     {"height", number(image_.height)},
                     {"border", number(image_.border)},
                     {"hspace", number(image_.hspace)},
                     {"vspace", number(image_.vspace)},
                     {"align",
                      [this](const std::string &v) {
                          const int k = keyword(v,
                                                {"left", "right", "top", "texttop", "middle", "absmiddle", "baseline",
                                                 "bottom", "absbottom"},
                                                -1);
                          if (k >= 0) image_.align = k + 1;
                      }}}),
             [this, &d](std::string &r) {
                 return d.ExecuteImageDialog(image_, e_.FileName, true) && (r = ImageTag, true);
             }};
        return true;
    }
    if (name == "P" || name == "DIV" || (name.size() == 2 && name[0] == 'H' && name[1] >= '1' && name[1] <= '6')) {
        f = {WriteBack::Attributes,
             reader({{"align", [this](const std::string &v) { align_ = keyword(v, {"left", "center", "right"}, align_); }}}),
             [this, &d](std::string &r) {
                 r = d.ExecuteAlignDialog(align_);
                 return !r.empty();
             }};
        return true;
    }
    if (name == "TABLE") {
        f = {WriteBack::WholeTag,
             reader({{"width", [this](const std::string &v) { table_.width = IntFromAttr(withoutPercent(v)); }},
                     {"border", number(table_.border)},
                     {"cellspacing", number(table_.cellSpacing)},
                     {"cellpadding", number(table_.cellPadding)},
                     {"bgcolor", [this](const std::string &v) { table_.color = color(v); }}}),
             [this, &d](std::string &r) {
                 return d.ExecuteTableDialog(table_, true, false) && (r = TableTag, true);
             }};
        return true;
    }
    if (name == "OL") {
        f = {WriteBack::Attributes,
             reader({{"type",
                      [this](const std::string &v) {
                          listType_ = v.empty() ? 0 : keyword(v.substr(0, 1), {"", "A", "a", "I", "i"}, 0);
                      }},
                     {"start", number(start_)}}),
             [this, &d](std::string &r) {
                 return d.ExecuteOLDialog(listType_, start_, true) && (r = OLAttributes, true);
             }};
        return true;
    }
    if (name == "UL") {
        f = {WriteBack::Attributes,
             reader({{"type", [this](const std::string &v) { listType_ = keyword(v, {"", "circle", "square"}, 0); }}}),
             [this, &d](std::string &r) { return d.ExecuteULDialog(listType_, true) && (r = ULAttributes, true); }};
        return true;
    }
    if (name == "HR") {
        f = {WriteBack::WholeTag,
             reader({{"width",
                      [this](const std::string &v) { rule_.width = IntFromAttr(withoutPercent(v, &rule_.percent)); }},
                     {"size", number(rule_.size)},
                     {"align",
                      [this](const std::string &v) {
                          const int k = keyword(v, {"left", "right", "center"}, -1);
                          if (k >= 0) rule_.align = k + 1;
                      }},
                     {"noshadow", [this](const std::string &) { rule_.noShadow = true; }}}),
             [this, &d](std::string &r) { return d.ExecuteRuleDialog(rule_, true) && (r = RuleTag, true); }};
        return true;
    }
    if (name == "TR" || name == "TD" || name == "TH") {
        const bool row = name == "TR";
        f = {WriteBack::Attributes,
             reader({{"rowspan", [this](const std::string &v) { cell_.RowSpan = int8_t(IntFromAttr(v)); }},
                     {"colspan", [this](const std::string &v) { cell_.ColSpan = int8_t(IntFromAttr(v)); }},
                     {"align",
                      [this](const std::string &v) {
                          cell_.Align = uint8_t(keyword(v, {"left", "right", "center"}, cell_.Align));
                      }},
                     {"valign",
                      [this](const std::string &v) {
                          cell_.Valign = uint8_t(keyword(v, {"center", "top", "bottom", "baseline"}, cell_.Valign));
                      }},
                     {"nowrap", [this](const std::string &) { cell_.NoWrap = true; }},
                     {"bgcolor",
                      [this](const std::string &v) {
                          cell_.Color = color(v);
                          cell_.HasColor = true;
                      }}}),
             [this, &d, row](std::string &r) {
                 // Re-editing a cell never warns about its spans.
                 const bool warn = WarnSpanChange;
                 WarnSpanChange = false;
                 const bool ok = row ? d.ExecuteRowDialog(cell_) : d.ExecuteCellDialog(cell_);
                 WarnSpanChange = warn;
                 if (ok) r = CellAttributes(cell_);
                 return ok;
             }};
        return true;
    }
    if (name == "BGSOUND") {
        f = {WriteBack::WholeTag,
             reader({{"src", [this](const std::string &v) { sound_.src = v; }}, {"loop", number(sound_.loop)}}),
             [this, &d](std::string &r) { return d.ExecuteBgSoundDialog(sound_, true) && (r = BgSoundTag, true); }};
        return true;
    }
    if (name == "EMBED") {
        f = {WriteBack::WholeTag,
             reader({{"src", [this](const std::string &v) { embed_.src = v; }},
                     {"loop", number(embed_.loop)},
                     {"width", number(embed_.width)},
                     {"height", number(embed_.height)},
                     {"align", [this](const std::string &v) { embed_.align = v; }},
                     {"autostart", [this](const std::string &v) { embed_.autoStart = v; }}}),
             [this, &d](std::string &r) { return d.ExecuteEmbedDialog(embed_, true) && (r = EmbedTag, true); }};
        return true;
    }
    if (name == "MARQUEE") {
        marquee_.direction = -1;
        f = {WriteBack::Attributes,
             reader({{"width", number(marquee_.width)},
                     {"height", number(marquee_.height)},
                     {"vspace", number(marquee_.vspace)},
                     {"hspace", number(marquee_.hspace)},
                     {"scrollamount", number(marquee_.scrollAmount)},
                     {"scrolldelay", number(marquee_.scrollDelay)},
                     {"loop", number(marquee_.loop)},
                     {"align",
                      [this](const std::string &v) { marquee_.align = keyword(v, {"top", "middle", "bottom"}, marquee_.align); }},
                     {"bgcolor",
                      [this](const std::string &v) {
                          marquee_.color = color(v);
                          marquee_.hasColor = true;
                      }},
                     {"behavior",
                      [this](const std::string &v) {
                          marquee_.behavior = keyword(v, {"scroll", "slide", "alternate"}, marquee_.behavior);
                      }},
                     {"direction",
                      [this](const std::string &v) {
                          marquee_.direction = keyword(v, {"left", "right"}, marquee_.direction);
                      }}}),
             [this, &d](std::string &r) {
                 return d.ExecuteMarqueeDialog(marquee_, true) && (r = MarqueeAttributes, true);
             }};
        return true;
    }
    if (name == "A") {
        f = {WriteBack::WholeTag,
             reader({{"href", [this](const std::string &v) { link_.url = v; }},
                     {"target", [this](const std::string &v) { link_.target = v; }},
                     {"name",
                      [this](const std::string &) {
                          warn("Oprava tagu A s parametrem NAME není podporována.");
                          stop_ = true;
                      }}}),
             [this, &d](std::string &r) { return d.ExecuteLinkDialog(link_, true) && (r = LinkOpen, true); }};
        return true;
    }
    return false;
}

} // namespace

void ReeditTagUnderCaret() {
    if (EditorCore *e = ActiveEditor()) Reedit(*e).run();
}

} // namespace xo
