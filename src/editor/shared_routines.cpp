#include "shared_routines.h"

#include "platform/services.h"

#include <QLineEdit>
#include <limits>

namespace xo {
namespace {

const QString kCaption = QStringLiteral("Xo!");

// Parses an optional sign and decimal digits; false for anything else and
// for values a signed 32-bit integer cannot hold.
bool parseWhole(const QString &text, int &value) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == text.size()) return false;
    int64_t v = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return false;
        v = v * 10 + (c - u'0');
        if (v > int64_t(std::numeric_limits<int32_t>::max()) + 1) return false;
    }
    if (negative) v = -v;
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return false;
    value = int(v);
    return true;
}

bool refuse(QLineEdit *field, const QString &text) {
    platform::message(kCaption, text, platform::Icon::Exclamation);
    if (field) field->setFocus();
    return false;
}

int waitDepth = 0;

} // namespace

bool IsNumberText(const QString &text) {
    int v;
    return text.isEmpty() || parseWhole(text, v);
}

bool IsNumberOrInfiniteText(const QString &text) {
    return IsNumberText(text) || text.compare(QLatin1String("INFINITE"), Qt::CaseInsensitive) == 0;
}

bool CheckNumberField(QLineEdit *field) {
    if (IsNumberText(field ? field->text() : QString())) return true;
    return refuse(field, QStringLiteral("V tomto políčku zadejte číselnou hodnotu"));
}

bool CheckNumberOrInfiniteField(QLineEdit *field) {
    if (IsNumberOrInfiniteText(field ? field->text() : QString())) return true;
    return refuse(field, QStringLiteral("V tomto políčku zadejte číselnou hodnotu nebo klíčové slovo INFINITE"));
}

int IntFromText(const QString &text) {
    int v = -1;
    return parseWhole(text.left(255), v) ? v : -1;
}

QString DateTextOf(const QDateTime &t) {
    const QDate d = t.date();
    return QStringLiteral("%1.%2.%3").arg(d.day()).arg(d.month()).arg(d.year());
}

QString TimeTextOf(const QDateTime &t) {
    const QTime tm = t.time();
    return QStringLiteral("%1:%2:%3")
        .arg(tm.hour())
        .arg(tm.minute(), 2, 10, QLatin1Char('0'))
        .arg(tm.second(), 2, 10, QLatin1Char('0'));
}

QString DateText() { return DateTextOf(platform::services().now()); }
QString TimeText() { return TimeTextOf(platform::services().now()); }

QString FileTimeText(const QDateTime &t) { return DateTextOf(t) + QStringLiteral("  ") + TimeTextOf(t); }

QString FileSizeText(int64_t n, int decimals) {
    // QString::number always writes a point, whatever the locale; padding
    // to seven places and trimming it again leaves just the number.
    if (n < 1025) return QString::number(n) + QStringLiteral(" B");
    const bool mega = n >= 1048577;
    const double v = double(n) / (mega ? 1048576.0 : 1024.0);
    return QString::number(v, 'f', decimals) + (mega ? QStringLiteral(" MB") : QStringLiteral(" kB"));
}

bool FileNamesEqual(const QString &a, const QString &b) {
    return a.size() == b.size() && a.toUpper() == b.toUpper();
}

void EnterWait() {
    if (waitDepth >= 255) return;
    if (waitDepth++ == 0) platform::services().setWaitCursor(true);
}

void LeaveWait() {
    if (waitDepth == 0) return;
    if (--waitDepth == 0) platform::services().setWaitCursor(false);
}

int WaitDepth() { return waitDepth; }

} // namespace xo
