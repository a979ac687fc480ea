#pragma once
// Small routines shared by the editor, the document windows and the dialogs:
// number field checks, texts for dates, times and sizes, the wait cursor.

#include <QDateTime>
#include <QString>
#include <cstdint>

class QLineEdit;

namespace xo {

// A whole number in decimal with an optional sign that fits a signed 32-bit
// integer; the empty text counts as valid (an empty field means "not set").
bool IsNumberText(const QString &text);
bool IsNumberOrInfiniteText(const QString &text);

// Dialog field checks: on a refusal they show their message, focus the field
// and return false.
bool CheckNumberField(QLineEdit *field);
bool CheckNumberOrInfiniteField(QLineEdit *field);

// The whole number the text holds, or -1 (also for an empty text and for
// numbers outside the signed 32-bit range).
int IntFromText(const QString &text);

// "5.12.2026" and "9:05:07" for the current moment of the platform clock.
QString DateText();
QString TimeText();
QString DateTextOf(const QDateTime &t);
QString TimeTextOf(const QDateTime &t);
// The date text, two spaces, the time text.
QString FileTimeText(const QDateTime &t);
// "1024 B", "1.00 kB", "1.00 MB".
QString FileSizeText(int64_t n, int decimals);

bool FileNamesEqual(const QString &a, const QString &b);

// A program-wide nesting wait cursor (0..255).
void EnterWait();
void LeaveWait();
int WaitDepth();

} // namespace xo
