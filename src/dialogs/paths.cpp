#include "paths.h"

#include "platform/cp1250.h"
#include "platform/services.h"

#include <QStringDecoder>
#include <cctype>
#include <QStringList>

namespace xo {

bool HasUrlScheme(const QString &r) {
    qsizetype i = 0;
    while (i < r.size() && (r[i].isLetterOrNumber() || r[i] == u'+' || r[i] == u'-' || r[i] == u'.') &&
           r[i].unicode() < 128)
        ++i;
    return i >= 2 && i < r.size() && r[i] == u':' && r[0].isLetter();
}

namespace {

// Collapses "." and ".." segments and doubled slashes; ".." above the root stays at the root.
QString collapse(const QString &path) {
    const bool absolute = path.startsWith(u'/');
    QStringList out;
    for (const QString &part : path.split(u'/')) {
        if (part.isEmpty() || part == QLatin1String(".")) continue;
        if (part == QLatin1String("..")) {
            if (!out.isEmpty() && out.last() != QLatin1String(".."))
                out.removeLast();
            else if (!absolute)
                out << part;
            continue;
        }
        out << part;
    }
    QString result = out.join(u'/');
    if (absolute) result.prepend(u'/');
    if (path.endsWith(u'/') && !result.endsWith(u'/') && !result.isEmpty()) result += u'/';
    return result;
}

bool isHexDigit(QChar c) { return c.unicode() < 128 && std::isxdigit(c.unicode()); }

QString directoryOf(const QString &file) { return file.left(file.lastIndexOf(u'/') + 1); }

} // namespace

QString RelativePath(const QString &baseFile, const QString &file) {
    QString base = QString(baseFile).replace(u'\\', u'/');
    QString f = QString(file).replace(u'\\', u'/');
    if (HasUrlScheme(f)) return f;
    if (base.startsWith(u'/')) base = collapse(base);
    if (f.startsWith(u'/')) f = collapse(f);
    qsizetype common = 0;
    while (common < base.size() && common < f.size() && base[common] == f[common]) ++common;
    if (common == 0) {
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Relativní cesta neexistuje"),
                          platform::Icon::Information);
        QString url = QStringLiteral("file://") + (f.startsWith(u'/') ? f : u'/' + f);
        if (url.size() >= 10 && url[9] == u':') url[9] = u'|';
        return url;
    }
    // The common directory ends at the last "/" inside the common part.
    const qsizetype slash = base.left(common).lastIndexOf(u'/');
    QString result;
    for (qsizetype i = slash + 1; i < base.size(); ++i)
        if (base[i] == u'/') result += QLatin1String("../");
    return result + f.mid(slash + 1);
}

QString AbsolutePath(const QString &baseFile, const QString &path) {
    QString p = QString(path).replace(u'\\', u'/');
    if (p.startsWith(QLatin1String("file://"), Qt::CaseInsensitive)) return collapse(p.mid(7));
    if (HasUrlScheme(p)) return p;
    if (p.startsWith(u'/')) return collapse(p);
    while (p.startsWith(QLatin1String("./"))) p.remove(0, 2);
    const QString base = QString(baseFile).replace(u'\\', u'/');
    if (!base.startsWith(u'/')) return p.isEmpty() ? p : collapse(p);
    return p.isEmpty() ? p : collapse(directoryOf(collapse(base)) + p);
}

std::string ReferenceText(const QString &reference) {
    std::string out;
    const QList<uint> chars = reference.toUcs4();
    for (uint ch : chars) {
        const int b = cp1250::fromUnicode(ch);
        if (b >= 0) {
            out += char(b);
            continue;
        }
        const QByteArray utf8 = QString::fromUcs4(reinterpret_cast<const char32_t *>(&ch), 1).toUtf8();
        for (unsigned char c : utf8) {
            static const char hex[] = "0123456789ABCDEF";
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

QString ReferenceFromText(const std::string &text) {
    const QString decoded = cp1250::decode(text);
    QString out;
    for (qsizetype i = 0; i < decoded.size();) {
        // A run of %XX escapes that is UTF-8 for characters the code page
        // lacks is what ReferenceText wrote; anything else stays as it is.
        if (decoded[i] == u'%') {
            QByteArray bytes;
            qsizetype j = i;
            while (j + 2 < decoded.size() && decoded[j] == u'%') {
                const QString hex = decoded.mid(j + 1, 2);
                if (!isHexDigit(hex[0]) || !isHexDigit(hex[1])) break;
                const int v = hex.toInt(nullptr, 16);
                bytes += char(v);
                j += 3;
            }
            if (!bytes.isEmpty()) {
                QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
                const QString s = utf8(bytes);
                bool exact = !utf8.hasError() && s.toUtf8() == bytes;
                for (uint ch : s.toUcs4())
                    if (ch < 0x80 || cp1250::fromUnicode(ch) >= 0) exact = false;
                if (exact) {
                    out += s;
                    i = j;
                    continue;
                }
            }
        }
        out += decoded[i++];
    }
    return out;
}

} // namespace xo
