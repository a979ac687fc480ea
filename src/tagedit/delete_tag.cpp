#include "tag_edit.h"

#include "editor/editor_core.h"
#include "platform/services.h"
#include "tag_location.h"
#include "tags/insertion.h"

namespace xo {

namespace {

void warn(const char *text) {
    platform::message(QStringLiteral("Xo!"), QString::fromUtf8(text), platform::Icon::Exclamation);
}

bool ask(const char *text) {
    return platform::message(QStringLiteral("Xo!"), QString::fromUtf8(text), platform::Icon::Question,
                             platform::Buttons::YesNo) == platform::Answer::Yes;
}

class PartnerDeletion {
public:
    explicit PartnerDeletion(EditorCore &e) : e_(e) {}

    void run() {
        int start = 0, end = 0;
        if (!LocateTagAtCaret(e_, start, end)) return;
        std::string name = e_.GetTextRange(start + 1, end - start > 15 ? start + 15 : end);
        e_.DeleteRange(start, end + 1);
        p_ = start;
        editorHost().ShowStatusText(QStringLiteral("Hledám párový tag..."));
        const bool isEnd = TagNameOf(name);
        name_ = name;
        if (name_ == "TABLE") tables_ = ask("Vymazat všechny tagy tabulky ?");
        if (name_ == "DL") definitions_ = ask("Vymazat všechny tagy seznamu ?");
        if (name_ == "OL" || name_ == "UL") items_ = ask("Vymazat všechny tagy seznamu?");
        // A comment or a declaration has no partner.
        const bool alone = !name_.empty() && name_[0] == '!';
        bool found = false;
        if (isEnd)
            found = backward();
        else if (!alone && !InTable(EmptyTags, name_))
            found = forward();
        else
            found = false;
        if (stopped_) return;
        if (found) deleteTagAt(p_);
        e_.ScrollToCaret();
    }

private:
    // The tag whose "<" stands at p, if it ends before any other tag starts.
    bool deleteTagAt(int p) {
        if (e_.CharAt(p) != '<') {
            warn("Tag nemá konec");
            return false;
        }
        for (int q = p + 1; q <= e_.TextLength(); ++q) {
            if (e_.CharAt(q) == '<') break;
            if (e_.CharAt(q) == '>') {
                e_.DeleteRange(p, q + 1);
                e_.SetSelection(p, p);
                return true;
            }
        }
        warn("Tag nemá konec");
        return false;
    }

    bool deleteInnerTag(const std::string &s) {
        if ((tables_ && InTable(TableInnerTags, s)) || (definitions_ && InTable(DefinitionInnerTags, s)) ||
            (items_ && IsListItemTag(s))) {
            deleteTagAt(p_);
            return true;
        }
        return false;
    }

    void stop(const char *text) {
        if (text) warn(text);
        e_.SetSelection(p_ + 1, p_ + 1);
        stopped_ = true;
    }

    bool backward() {
        std::string s;
        while (p_ >= 0 && s != name_) {
            const char c = e_.CharAt(p_);
            s = p_ >= 1 && p_ <= e_.TextLength() ? std::string(1, c) : std::string();
            if (c == '<' && p_ >= 1) {
                s = e_.GetTextRange(p_ + 1, p_ + 15);
                const bool isEnd = TagNameOf(s);
                if (isEnd && s == name_) return stop("Tagy jsou zřejmě vloženy rekurentně"), false;
                if (deleteInnerTag(s)) p_ += 2;
            }
            p_ -= 1;
        }
        if (s == name_) {
            // A one-letter name matched the letter after the start tag's "<".
            p_ = name_.size() > 1 ? p_ + 1 : p_;
            return true;
        }
        if (!InTable(OptionalEndTags, name_)) warn("Párový tag nenalezen");
        return false;
    }

    bool forward() {
        std::string s;
        while (p_ < e_.TextLength() && s != name_) {
            s.clear();
            if (e_.CharAt(p_) == '<') {
                s = e_.GetTextRange(p_ + 1, p_ + 15);
                const bool isEnd = TagNameOf(s);
                if (!isEnd && s == name_) {
                    if (InTable(NonNestingTags, name_))
                        stop("Tagy jsou zřejmě vloženy rekurentně, což pro tento tag není přípustné.");
                    else if (!InTable(EmptyTags, name_) && !InTable(OptionalEndTags, name_))
                        stop("Tagy jsou vloženy rekurentně");
                    else
                        stop(nullptr);
                    return false;
                }
                if (deleteInnerTag(s)) p_ -= 2;
            }
            p_ += 1;
        }
        if (s == name_) {
            p_ -= 1;
            return true;
        }
        if (!InTable(OptionalEndTags, name_)) warn("Párový tag nenalezen.");
        return false;
    }

    EditorCore &e_;
    std::string name_;
    int p_ = 0;
    bool tables_ = false, definitions_ = false, items_ = false, stopped_ = false;
};

} // namespace

void DeleteTagUnderCaret() {
    if (EditorCore *e = ActiveEditor()) PartnerDeletion(*e).run();
}

} // namespace xo
