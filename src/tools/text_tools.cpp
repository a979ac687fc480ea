#include "text_tools.h"

#include "editor/editor_core.h"
#include "editor/utf8_text.h"
#include "platform/cp1250.h"
#include "platform/safe_file.h"
#include "platform/services.h"
#include "tags/insertion.h"

#include <QFileInfo>
#include <array>
#include <vector>

namespace xo {

namespace {

bool startsScript(std::string_view t, size_t p) {
    static const char word[] = "SCRIPT";
    for (size_t i = 0; i < 6; ++i) {
        if (p + i >= t.size()) return false;
        char c = t[p + i];
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
        if (c != word[i]) return false;
    }
    return true;
}

} // namespace

std::string ExportedText(std::string_view text, int &strays) {
    // One pass: what stays is copied, tags and scripts are skipped. A ">"
    // outside a tag waits until the next tag that is not a script: that tag
    // turns it into a space (with its message); a script or the end of the
    // text leaves it as it is.
    strays = 0;
    std::string out;
    out.reserve(text.size());
    std::vector<size_t> pending; // places in out of ">" not looked at yet
    auto flushStrays = [&] {
        for (size_t at : pending) out[at] = ' ';
        strays += int(pending.size());
        pending.clear();
    };
    size_t p = 0;
    while (p < text.size()) {
        const size_t open = text.find('<', p);
        const size_t until = open == std::string_view::npos ? text.size() : open;
        for (size_t i = p; i < until; ++i) {
            if (text[i] == '>') pending.push_back(out.size());
            out += text[i];
        }
        if (open == std::string_view::npos) break;
        if (startsScript(text, open + 1)) {
            // Up to the ">" of the first "</SCRIPT", or the end of the text.
            size_t close = open + 1;
            for (;;) {
                close = text.find("</", close);
                if (close == std::string_view::npos || startsScript(text, close + 2)) break;
                close += 2;
            }
            p = close == std::string_view::npos ? text.size() : std::min(text.size(), close + 9);
            continue;
        }
        flushStrays();
        const size_t end = text.find('>', open);
        if (end == std::string_view::npos) {
            ++strays; // a tag that never ends runs to the end of the text
            break;
        }
        p = end + 1;
    }
    // The entities one after the other, each as often as it occurs, also
    // where a replacement forms it anew ("&amp;amp;" ends as "&"): the text
    // is rebuilt on a stack whose end is looked at after every character.
    static const std::array<std::pair<std::string_view, std::string_view>, 7> entities = {
        {{"&gt;", ">"}, {"&lt;", "<"}, {"&amp;", "&"}, {"&quot;", "\""}, {"&reg;", "reg"}, {"&nbsp;", " "},
         {"&copy;", "(c)"}}};
    for (const auto &[entity, replacement] : entities) {
        if (out.find(entity) == std::string::npos) continue;
        std::string next;
        next.reserve(out.size());
        for (char c : out) {
            next += c;
            while (c == ';' && next.size() >= entity.size() &&
                   std::string_view(next).substr(next.size() - entity.size()) == entity) {
                next.resize(next.size() - entity.size());
                next += replacement;
                c = next.back();
            }
        }
        out = std::move(next);
    }
    return out;
}

void ExportActiveDocument() {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    int strays = 0;
    const std::string text = ExportedText(e->TextView(), strays);
    for (int i = 0; i < strays; ++i)
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Dokument má špatnou strukturu"),
                          platform::Icon::Exclamation);
    platform::FileRequest r;
    r.caption = QStringLiteral("Export do textového souboru");
    r.filter = QStringLiteral("Textové soubory (*.txt);;Všechny soubory (*)");
    r.defaultSuffix = QStringLiteral("txt");
    static QString lastName;
    if (!e->FileName.isEmpty()) {
        const QFileInfo info(e->FileName);
        lastName = info.absolutePath() + u'/' + info.completeBaseName() + QStringLiteral(".txt");
    }
    r.fileName = lastName;
    const platform::FileResult f = platform::services().saveFile(r);
    if (!f.accepted()) return;
    const QString name = f.files.first();
    if (QFileInfo::exists(name) &&
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Soubor ") + name + QStringLiteral(" existuje. Přepsat?"),
                          platform::Icon::Question, platform::Buttons::YesNo) != platform::Answer::Yes)
        return;
    lastName = name;
    // The export keeps the document's encoding.
    const std::string bytes = e->Utf8 ? (e->Utf8Bom ? "\xEF\xBB\xBF" : "") + Cp1250ToUtf8(text) : text;
    platform::SafeFile out(name);
    if (!out.open() || !out.write(bytes.data(), bytes.size()) || !out.commit())
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Chyba při ukládání souboru"), platform::Icon::Exclamation);
}

const std::array<char, 256> &DiacriticsTable() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int i = 0; i < 256; ++i) t[size_t(i)] = char(i);
        const char *const pairs[][2] = {{"A", "Á"}, {"a", "á"}, {"C", "Č"}, {"c", "č"}, {"D", "Ď"}, {"d", "ď"},
                                        {"E", "ĚÉ"}, {"e", "ěé"}, {"I", "Í"}, {"i", "í"}, {"N", "Ň"}, {"n", "ň"},
                                        {"O", "Ó"}, {"o", "ó"}, {"R", "Ř"}, {"r", "ř"}, {"S", "Š"}, {"s", "š"},
                                        {"T", "Ť"}, {"t", "ť"}, {"U", "ŮÚ"}, {"u", "ůú"}, {"Y", "Ý"}, {"y", "ý"},
                                        {"Z", "Ž"}, {"z", "ž"}};
        for (const auto &p : pairs)
            for (unsigned char accented : cp1250::fromUtf8(p[1])) t[accented] = p[0][0];
        return t;
    }();
    return table;
}

void RemoveDiacritics(std::string &text) {
    const auto &table = DiacriticsTable();
    for (char &c : text) c = table[static_cast<unsigned char>(c)];
}

void RemoveDiacriticsFromActiveDocument() {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    e->Buffer().mapBytes(DiacriticsTable());
    e->Repaint();
    e->SetModified();
}

void SwitchLineEndsOfActiveDocument() {
    if (EditorCore *e = ActiveEditor()) e->DosLineEnds = !e->DosLineEnds;
}

void SwitchEncodingOfActiveDocument() {
    EditorCore *e = ActiveEditor();
    if (!e) return;
    e->Utf8 = !e->Utf8;
    e->Utf8Bom = false;
    e->SetModified(); // the file on disk is in the other encoding now
}

} // namespace xo
