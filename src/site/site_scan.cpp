#include "site_scan.h"

#include "dialogs/paths.h"
#include "editor/utf8_text.h"
#include "platform/safe_file.h"
#include "platform/services.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <vector>

namespace xo {

QString TSiteScan::Counts() const { return QStringLiteral("%1+%2").arg(HtmlFiles.size()).arg(Multimedia.size()); }

QString SitePath(const QString &directory, const QString &file) {
    if (!directory.endsWith(u'/') || !file.startsWith(directory)) return {};
    const QString rest = file.mid(directory.size());
    if (rest.isEmpty()) return {};
    for (const QString &name : rest.split(u'/'))
        if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) return {};
    // Where it really is, links resolved: a link in the site (a page, or a
    // folder on its way) to a file outside it would publish that file. A
    // path not there yet is judged by the nearest part of it that is.
    QString there = file;
    while (there.size() > directory.size() && !QFileInfo::exists(there) && !QFileInfo(there).isSymLink())
        there = there.left(there.lastIndexOf(u'/'));
    const QString real = QFileInfo(there).canonicalFilePath();
    const QString base = QFileInfo(directory).canonicalFilePath();
    if (real.isEmpty() || base.isEmpty()) return {}; // a broken link, or no site folder at all
    if (real != base && !real.startsWith(base.endsWith(u'/') ? base : base + u'/')) return {};
    return rest;
}

namespace {

bool isLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Up to 10 letters from p, in capitals; p ends on the last one taken.
QByteArray letters(const std::vector<char> &b, size_t &p) {
    QByteArray name;
    while (name.size() < 10 && isLetter(b[p])) name += char(b[p++] & ~0x20);
    if (!name.isEmpty()) --p;
    return name;
}

char kindOf(const QByteArray &tag) {
    if (tag == "IMG" || tag == "EMBED" || tag == "BGSOUND") return 'I';
    if (tag == "FRAME") return 'F';
    if (tag == "ISINDEX") return 'S';
    if (tag == "APPLET") return 'P';
    if (tag == "A" || tag == "AREA") return 'A';
    if (tag == "BODY") return 'B';
    return 0;
}

enum class Follow { None, Link, Multimedia };

Follow followOf(char kind, const QByteArray &attr) {
    switch (kind) {
    case 'I': return attr == "SRC" || attr == "LOWSRC" || attr == "USEMAP" ? Follow::Multimedia : Follow::None;
    case 'F': return attr == "SRC" ? Follow::Link : Follow::None;
    case 'S': return attr == "ACTION" ? Follow::Link : Follow::None;
    case 'P': return attr == "CODE" ? Follow::Multimedia : Follow::None;
    case 'A': return attr == "HREF" ? Follow::Link : Follow::None;
    case 'B': return attr == "BACKGROUND" ? Follow::Multimedia : Follow::None;
    default: return Follow::None;
    }
}

class Scanner {
public:
    explicit Scanner(TSiteScan &r) : r_(r) {}

    // Each list is kept free of doubles on its own: a file both linked and
    // embedded belongs to both.
    struct Listed {
        QSet<QString> paths, canonicals;
    };

    void add(QStringList &list, Listed &listed, const QString &path) {
        if (listed.paths.contains(path)) return;
        // A file reached by another name (a symbolic link, a loop of them) is listed once.
        const QString canonical = QFileInfo(path).canonicalFilePath();
        if (!canonical.isEmpty() && listed.canonicals.contains(canonical)) return;
        if (list.size() >= kMaxSiteList) {
            ++r_.Errors;
            return;
        }
        list << path;
        listed.paths.insert(path);
        if (!canonical.isEmpty()) listed.canonicals.insert(canonical);
    }

    void addHtml(const QString &path) { add(r_.HtmlFiles, html_, path); }

    void scan(const QString &file, const std::vector<char> &b, size_t size, bool utf8) {
        char kind = 0;
        for (size_t p = 0; p < size && b[p] != 0; ++p) {
            const unsigned char c = b[p];
            if (c == '>') {
                kind = 0;
            } else if (c == '<') {
                ++p;
                const QByteArray name = letters(b, p);
                if (name.isEmpty()) {
                    --p;
                    kind = 0;
                    continue;
                }
                ++r_.Tags;
                kind = kindOf(name);
            } else if (kind && p > 0 && b[p - 1] == ' ') {
                const QByteArray attr = letters(b, p);
                if (attr.isEmpty()) continue;
                const Follow follow = followOf(kind, attr);
                if (follow == Follow::None) continue;
                ++p;
                p = value(file, b, size, p, follow, utf8);
            }
        }
    }

private:
    // Collects the value from p and returns the position of the byte it ended on.
    size_t value(const QString &file, const std::vector<char> &b, size_t size, size_t p, Follow follow, bool utf8) {
        while (p < size && (b[p] == '\n' || b[p] == '\r' || b[p] == ' ' || b[p] == '=')) ++p;
        const bool quoted = p < size && b[p] == '"';
        if (quoted) ++p;
        std::string v;
        bool discard = false;
        for (; p < size && b[p] != 0; ++p) {
            const char c = b[p];
            if (quoted ? c == '"'
                       : (c == '\n' || c == '\r' || c == ' ' || c == '"' || c == '#' || c == '=' || c == '>'))
                break;
            v += c;
            if (c == ':' || c == '|' || c == '\\') discard = true;
        }
        // An unquoted value ends on a byte the scan must still see (">" ends the tag).
        const size_t resume = quoted || p >= size ? p : p - 1;
        if (discard || v.empty() || v[0] == '#' || v[0] == '/') return resume;
        const size_t hash = v.find('#', 1);
        if (hash != std::string::npos) v.erase(hash);
        const QString ref = utf8 ? QString::fromUtf8(v.data(), qsizetype(v.size())) : ReferenceFromText(v);
        const QString path = AbsolutePath(file, ref);
        if (path.isEmpty()) return resume;
        if (follow == Follow::Link)
            add(r_.HtmlFiles, html_, path);
        else
            add(r_.Multimedia, multimedia_, path);
        return resume;
    }

    TSiteScan &r_;
    Listed html_, multimedia_;
};

} // namespace

TSiteScan ScanHierarchy(const QString &mainFile) {
    TSiteScan r;
    r.MainFile = QDir::cleanPath(QFileInfo(mainFile).absoluteFilePath());
    r.MainDirectory = r.MainFile.left(r.MainFile.lastIndexOf(u'/') + 1);
    platform::services().setWaitCursor(true);
    Scanner scanner(r);
    scanner.addHtml(r.MainFile);
    for (int i = 0; i < r.HtmlFiles.size(); ++i) {
        const QString f = r.HtmlFiles[i];
        const QString ext = QFileInfo(f).suffix().toUpper();
        if (ext != QLatin1String("HTM") && ext != QLatin1String("HTML")) continue;
        QFile in(f);
        if (!platform::IsRegularFile(f) || !in.open(QIODevice::ReadOnly)) {
            ++r.Errors;
            continue;
        }
        const qint64 size = in.size();
        if (size > kMaxScannedPage) {
            // Read whole, a huge page would take its size in memory, or more than there is.
            ++r.Errors;
            r.Notes << QStringLiteral("Soubor %1 je větší než %2 MB, odkazy v něm nebyly hledány.")
                           .arg(f)
                           .arg(kMaxScannedPage >> 20);
            continue;
        }
        std::vector<char> buffer(size_t(size) + 10, 0);
        const qint64 got = size > 0 ? in.read(buffer.data(), size) : 0;
        if (got < 10) {
            ++r.Errors;
            continue;
        }
        bool bom = false;
        const bool utf8 = IsUtf8Text(buffer.data(), size_t(got), bom);
        scanner.scan(f, buffer, size_t(got), utf8);
    }
    platform::services().setWaitCursor(false);
    return r;
}

} // namespace xo
