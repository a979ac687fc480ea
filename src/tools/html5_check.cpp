#include "html5_check.h"

#include <QString>
#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

namespace xo {

namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

bool in(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool isVoid(std::string_view n) {
    return in(n, {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr",
                  "param", "keygen"});
}

// Elements whose end tag may be left out.
bool endOptional(std::string_view n) {
    return in(n, {"p", "li", "dt", "dd", "rt", "rp", "optgroup", "option", "colgroup", "caption", "thead", "tbody",
                  "tfoot", "tr", "td", "th", "html", "head", "body"});
}

// Start tags that close an open p (the standard's "close a p element").
bool closesP(std::string_view n) {
    return in(n, {"address", "article", "aside", "blockquote", "center", "details", "dialog", "dir", "div", "dl",
                  "fieldset", "figcaption", "figure", "footer", "form", "h1", "h2", "h3", "h4", "h5", "h6", "header",
                  "hgroup", "hr", "listing", "main", "menu", "nav", "ol", "p", "pre", "search", "section", "summary",
                  "table", "ul", "xmp", "plaintext"});
}

// Where the search for an element to close stops.
bool scopeBoundary(std::string_view n) {
    return in(n, {"html", "table", "td", "th", "caption", "marquee", "object", "applet", "template", "svg", "math",
                  "button"});
}

struct Open {
    std::string name;
    int line = 0;
    size_t at = 0;
    bool foreign = false;
};

class Checker {
public:
    explicit Checker(std::string_view t) : t_(t) {}

    CheckResult run() {
        size_t i = 0;
        while (i < t_.size() && !fault_) {
            const size_t lt = t_.find('<', i);
            if (lt == std::string_view::npos) break;
            i = tag(lt);
        }
        if (!fault_) {
            for (auto it = stack_.rbegin(); it != stack_.rend(); ++it)
                if (!endOptional(it->name) && !it->foreign) {
                    fail(it->at, QStringLiteral("Tag %1 (řádek %2) nemá koncovou značku.").arg(name(it->name)).arg(it->line));
                    break;
                }
        }
        if (!fault_) r_.message = QStringLiteral("Kontrola proběhla v pořádku. Dokument je Ok.");
        return r_;
    }

private:
    static QString name(const std::string &n) { return QString::fromLatin1(n.c_str()).toUpper(); }

    void fail(size_t at, const QString &message) {
        if (fault_) return;
        fault_ = true;
        r_.code = 100;
        r_.position = int(at) + 1;
        r_.message = message;
    }

    int lineOf(size_t at) {
        // Counted forwards as the scan goes: the positions only grow.
        for (; lineScan_ < at && lineScan_ < t_.size(); ++lineScan_)
            if (t_[lineScan_] == '\n') ++line_;
        return line_;
    }

    // A tag, comment or other markup at `lt`; where the scan goes on.
    size_t tag(size_t lt) {
        const char next = lt + 1 < t_.size() ? t_[lt + 1] : '\0';
        if (t_.substr(lt, 4) == "<!--") {
            // "<!-->" and "<!--->" end at once, as the standard reads them.
            const size_t end = t_.find("-->", lt + 2);
            if (t_.substr(lt, 5) == "<!-->") return lt + 5;
            if (t_.substr(lt, 6) == "<!--->") return lt + 6;
            if (end == std::string_view::npos) return fail(lt, QStringLiteral("Komentář bez ukončení.")), t_.size();
            return end + 3;
        }
        if (t_.substr(lt, 9) == "<![CDATA[" && inForeign()) {
            const size_t end = t_.find("]]>", lt);
            return end == std::string_view::npos ? t_.size() : end + 3;
        }
        if (next == '!' || next == '?') { // the doctype, and what the standard reads as a comment
            const size_t end = t_.find('>', lt);
            return end == std::string_view::npos ? t_.size() : end + 1;
        }
        if (next == '/') {
            if (lt + 2 < t_.size() && isAlpha(t_[lt + 2])) return endTag(lt);
            const size_t end = t_.find('>', lt);
            return end == std::string_view::npos ? t_.size() : end + 1; // "</>" and the like: nothing
        }
        if (isAlpha(next)) return startTag(lt);
        return lt + 1; // a "<" that starts no tag is text
    }

    bool inForeign() const { return !stack_.empty() && stack_.back().foreign; }

    std::string readName(size_t &p) {
        std::string n;
        while (p < t_.size() && !isSpace(t_[p]) && t_[p] != '/' && t_[p] != '>') n += lower(t_[p++]);
        return n;
    }

    // The attributes up to the tag's ">"; false after a fault. `selfClosing` for "/>".
    bool attributes(size_t &p, size_t lt, bool endTag, bool &selfClosing) {
        std::vector<std::string> seen;
        selfClosing = false;
        for (;;) {
            while (p < t_.size() && (isSpace(t_[p]) || t_[p] == '/')) {
                selfClosing = t_[p] == '/' && p + 1 < t_.size() && t_[p + 1] == '>';
                ++p;
            }
            if (p >= t_.size()) return fail(lt, QStringLiteral("Tag nemá koncovou závorku >.")), false;
            if (t_[p] == '>') {
                ++p;
                return true;
            }
            selfClosing = false;
            const size_t nameAt = p;
            std::string attr;
            do attr += lower(t_[p++]);
            while (p < t_.size() && !isSpace(t_[p]) && t_[p] != '/' && t_[p] != '>' && t_[p] != '=');
            if (!endTag) {
                if (std::find(seen.begin(), seen.end(), attr) != seen.end())
                    return fail(nameAt, QStringLiteral("Atribut %1 je v tagu uveden dvakrát.").arg(QString::fromLatin1(attr.c_str()))),
                           false;
                seen.push_back(attr);
            }
            size_t q = p;
            while (q < t_.size() && isSpace(t_[q])) ++q;
            if (q >= t_.size() || t_[q] != '=') continue;
            p = q + 1;
            while (p < t_.size() && isSpace(t_[p])) ++p;
            if (p >= t_.size()) continue;
            std::string value;
            const size_t valueAt = p;
            if (t_[p] == '"' || t_[p] == '\'') {
                const size_t close = t_.find(t_[p], p + 1);
                if (close == std::string_view::npos) return fail(p, QStringLiteral("Uvozovky bez ukončení.")), false;
                value.assign(t_.substr(p + 1, close - p - 1));
                p = close + 1;
            } else {
                while (p < t_.size() && !isSpace(t_[p]) && t_[p] != '>') {
                    const char c = t_[p];
                    if (c == '"' || c == '\'' || c == '=' || c == '<' || c == '`')
                        return fail(p, QStringLiteral("Hodnota atributu bez uvozovek obsahuje nepovolený znak %1.")
                                           .arg(QChar::fromLatin1(c))),
                               false;
                    value += c;
                    ++p;
                }
            }
            if (attr == "id" && !endTag && !value.empty()) {
                const auto [it, added] = ids_.emplace(value, lineOf(valueAt));
                if (!added)
                    return fail(valueAt, QStringLiteral("Identifikátor %1 je v dokumentu již použit (řádek %2).")
                                             .arg(QString::fromLatin1(value.c_str()))
                                             .arg(it->second)),
                           false;
            }
        }
    }

    // Pops elements whose end tags may be left out, from the top, while `closes` says so.
    template <class F> void closeImplied(F closes) {
        while (!stack_.empty() && endOptional(stack_.back().name) && closes(stack_.back().name)) stack_.pop_back();
    }

    // An open element of this name above any boundary (the standard's scopes, simplified).
    bool openInScope(std::string_view n, std::initializer_list<std::string_view> stops = {}) const {
        for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
            if (it->name == n) return true;
            if (scopeBoundary(it->name) || in(it->name, stops)) return false;
        }
        return false;
    }

    // Pops up to and including the nearest n; with `optionalOnly`, only across
    // elements whose end tag may be left out.
    void popTo(std::string_view n, bool optionalOnly = false) {
        while (!stack_.empty() && (!optionalOnly || endOptional(stack_.back().name))) {
            const bool last = stack_.back().name == n;
            stack_.pop_back();
            if (last) return;
        }
    }

    size_t startTag(size_t lt) {
        size_t p = lt + 1;
        const std::string n = readName(p);
        bool selfClosing = false;
        if (!attributes(p, lt, false, selfClosing)) return t_.size();
        const bool foreign = inForeign() || n == "svg" || n == "math";
        if (!foreign) impliedEnds(n);
        if (in(n, {"html", "head", "body"})) return p; // always there, opened or not
        if (isVoid(n) && !foreign) return p;
        if (foreign && selfClosing) return p;
        // Raw text: nothing but its own end tag ends it.
        if (!foreign && in(n, {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"})) {
            const size_t end = findEnd(p, n);
            if (end == std::string_view::npos)
                return fail(lt, QStringLiteral("Tag %1 (řádek %2) nemá koncovou značku.").arg(name(n)).arg(lineOf(lt))),
                       t_.size();
            const size_t close = t_.find('>', end);
            return close == std::string_view::npos ? t_.size() : close + 1;
        }
        stack_.push_back({n, lineOf(lt), lt, foreign});
        return p;
    }

    size_t findEnd(size_t from, const std::string &n) const {
        for (size_t at = t_.find("</", from); at != std::string_view::npos; at = t_.find("</", at + 2)) {
            size_t k = 0;
            while (k < n.size() && at + 2 + k < t_.size() && lower(t_[at + 2 + k]) == n[k]) ++k;
            if (k < n.size()) continue;
            const size_t after = at + 2 + k;
            if (after >= t_.size() || isSpace(t_[after]) || t_[after] == '/' || t_[after] == '>') return at;
        }
        return std::string_view::npos;
    }

    // What a start tag closes by itself.
    void impliedEnds(const std::string &n) {
        if (closesP(n) && openInScope("p")) popTo("p", true);
        if (n == "li" && openInScope("li", {"ul", "ol"})) popTo("li", true);
        if ((n == "dt" || n == "dd") && (openInScope("dt", {"dl"}) || openInScope("dd", {"dl"})))
            closeImplied([](std::string_view o) { return o == "dt" || o == "dd" || o == "p"; });
        if (n == "option" || n == "optgroup")
            closeImplied([&](std::string_view o) { return o == "option" || (n == "optgroup" && o == "optgroup"); });
        if (n == "rt" || n == "rp") closeImplied([](std::string_view o) { return o == "rt" || o == "rp"; });
        if (in(n, {"tr", "tbody", "thead", "tfoot", "td", "th", "caption", "colgroup", "col", "table"})) {
            // Table parts close the open parts below their own level.
            auto level = [](std::string_view o) {
                if (o == "td" || o == "th") return 1;
                if (o == "tr") return 2;
                if (o == "tbody" || o == "thead" || o == "tfoot") return 3;
                if (o == "caption" || o == "colgroup") return 4;
                return 9;
            };
            const int mine = n == "table" ? 0 : n == "col" ? 4 : level(n);
            if (n != "table")
                closeImplied([&](std::string_view o) { return level(o) <= mine || o == "caption" || o == "colgroup" || o == "p"; });
        }
        if (n == "body" || n == "head") closeImplied([](std::string_view) { return true; });
    }

    size_t endTag(size_t lt) {
        size_t p = lt + 2;
        const std::string n = readName(p);
        bool selfClosing = false;
        if (!attributes(p, lt, true, selfClosing)) return t_.size();
        if (in(n, {"html", "head", "body"})) return p;
        if (isVoid(n) && !inForeign())
            return fail(lt, QStringLiteral("Element %1 je prázdný a nemá mít koncovou značku.").arg(name(n))), t_.size();
        // The nearest open element of the name; what stands above it must be
        // elements whose end may be left out.
        auto it = std::find_if(stack_.rbegin(), stack_.rend(), [&](const Open &o) { return o.name == n; });
        if (it == stack_.rend()) {
            if (n == "p" || n == "br") return p; // the standard makes an empty p of it
            return fail(lt, QStringLiteral("Koncová značka </%1> nemá počáteční značku.").arg(QString::fromLatin1(n.c_str()))),
                   t_.size();
        }
        for (auto above = stack_.rbegin(); above != it; ++above)
            if (!endOptional(above->name) && !(above->foreign && it->foreign))
                return fail(lt, QStringLiteral("Tag %1 (řádek %2) má být ukončen před </%3>.")
                                    .arg(name(above->name))
                                    .arg(above->line)
                                    .arg(QString::fromLatin1(n.c_str()))),
                       t_.size();
        popTo(n);
        return p;
    }

    std::string_view t_;
    std::vector<Open> stack_;
    std::unordered_map<std::string, int> ids_;
    CheckResult r_;
    bool fault_ = false;
    size_t lineScan_ = 0;
    int line_ = 1;
};

} // namespace

bool IsHtml5Document(std::string_view t) {
    size_t p = t.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    for (;;) {
        while (p < t.size() && isSpace(t[p])) ++p;
        if (t.substr(p, 4) != "<!--") break;
        const size_t end = t.find("-->", p + 4);
        if (end == std::string_view::npos) return false;
        p = end + 3;
    }
    static constexpr std::string_view kDoctype = "<!doctype";
    if (t.size() < p + kDoctype.size()) return false;
    for (size_t k = 0; k < kDoctype.size(); ++k)
        if (lower(t[p + k]) != kDoctype[k]) return false;
    p += kDoctype.size();
    if (p >= t.size() || !isSpace(t[p])) return false;
    while (p < t.size() && isSpace(t[p])) ++p;
    if (t.size() < p + 4 || lower(t[p]) != 'h' || lower(t[p + 1]) != 't' || lower(t[p + 2]) != 'm' || lower(t[p + 3]) != 'l')
        return false;
    p += 4;
    while (p < t.size() && isSpace(t[p])) ++p;
    if (p < t.size() && t[p] == '>') return true;
    // The standard's one other form: SYSTEM "about:legacy-compat".
    std::string rest;
    for (; p < t.size() && t[p] != '>'; ++p) rest += lower(t[p]);
    return p < t.size() && (rest.starts_with("system") && rest.find("about:legacy-compat") != std::string::npos);
}

CheckResult CheckHtml5(std::string_view text) { return Checker(text).run(); }

} // namespace xo
