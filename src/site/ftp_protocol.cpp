#include "ftp_protocol.h"

#include <QStringList>

namespace xo::ftp {

int ReplyCode(const QByteArray &line) {
    if (line.size() < 3) return 999;
    int code = 0;
    for (int i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9') return 999;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

QString ReplyText(const QByteArray &line) { return QString::fromUtf8(line.mid(4)); }

bool ReplyContinues(const QByteArray &first, const QByteArray &line) {
    if (first.size() < 4 || first[3] != '-' || ReplyCode(first) == 999) return false;
    return !(line.size() >= 4 && line.left(3) == first.left(3) && line[3] == ' ') &&
           !(line.size() == 3 && line == first.left(3));
}

TReplyReader::State TReplyReader::Add(const QByteArray &line) {
    if (lines_ == 0) first_ = line;
    ++lines_;
    bytes_ += line.size() + 2;
    if (lines_ > 1 && !ReplyContinues(first_, line)) return Complete;
    if (lines_ == 1 && !ReplyContinues(first_, QByteArray())) return Complete;
    return lines_ >= kMaxReplyLines || bytes_ > kMaxReplyBytes ? TooLong : More;
}

bool ParseEpsv(const QString &text, uint16_t &port) {
    const qsizetype open = text.indexOf(u'(');
    const qsizetype close = open < 0 ? -1 : text.indexOf(u')', open + 1);
    if (close < 0 || close - open < 6) return false;
    const QString inner = text.mid(open + 1, close - open - 1);
    // "<d><d><d>port<d>", the delimiter any printable character but a digit.
    const QChar d = inner[0];
    if (d.isDigit() || d.unicode() < 33 || d.unicode() > 126) return false;
    if (inner[1] != d || inner[2] != d || !inner.endsWith(d)) return false;
    const QString number = inner.mid(3, inner.size() - 4);
    if (number.isEmpty() || number.size() > 5) return false;
    for (QChar c : number)
        if (!c.isDigit() || c.unicode() > '9') return false;
    const int n = number.toInt();
    if (n < 1 || n > 65535) return false;
    port = uint16_t(n);
    return true;
}

bool ParsePasv(const QString &text, QString &host, uint16_t &port) {
    const qsizetype open = text.indexOf(u'(');
    const qsizetype close = open < 0 ? -1 : text.indexOf(u')', open + 1);
    if (close < 0) return false;
    const QStringList parts = text.mid(open + 1, close - open - 1).split(u',');
    if (parts.size() != 6) return false;
    int n[6];
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        n[i] = parts[i].trimmed().toInt(&ok);
        if (!ok || n[i] < 0 || n[i] > 255) return false;
    }
    host = QStringLiteral("%1.%2.%3.%4").arg(n[0]).arg(n[1]).arg(n[2]).arg(n[3]);
    port = uint16_t(n[4] * 256 + n[5]);
    return port != 0;
}

QString PortArgument(uint32_t ipv4, uint16_t port) {
    return QStringLiteral("%1,%2,%3,%4,%5,%6")
        .arg(ipv4 >> 24)
        .arg((ipv4 >> 16) & 255)
        .arg((ipv4 >> 8) & 255)
        .arg(ipv4 & 255)
        .arg(port >> 8)
        .arg(port & 255);
}

bool IsSafeArgument(const QString &argument) {
    for (QChar c : argument)
        if (c == u'\r' || c == u'\n' || c == u'\0') return false;
    return true;
}

QString ProgressText(int64_t sent, int64_t size) {
    const int64_t percent = size > 0 ? sent * 100 / size : 100;
    return QStringLiteral("  Přeneseno %1 z %2  (%3%)").arg(sent).arg(size).arg(percent);
}

} // namespace xo::ftp
