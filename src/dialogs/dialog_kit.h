#pragma once
// Building blocks of the tag dialogs' forms.

#include "platform/cp1250.h"

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <string>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace xo::kit {

// Document text into a field and back; a UTF-8 document gets "&#N;" for
// what the code page lacks, others "?".
inline QString text(const std::string &bytes) { return cp1250::decode(bytes); }
std::string bytes(const QString &text);

QLineEdit *Field(const char *name, const QString &hint, int limit);
QCheckBox *Check(const char *name, const QString &caption, const QString &hint);
// A fixed or editable list.
QComboBox *List(const char *name, const QString &hint, const QStringList &items, bool editable, int limit = 0);
// Radio buttons in a titled group, `columns` side by side, filled column by column.
QGroupBox *RadioGroup(const char *name, const QString &title, const QString &hint, const QStringList &items,
                      int columns, QButtonGroup *&group);
// Chooses item i (-1: none, allowed even in an exclusive group).
void Choose(QButtonGroup *group, int i);
// A label whose access key focuses `buddy`.
QLabel *Label(const QString &caption, QWidget *buddy);
// A number as field text; -1 and below (or at most `floor`) as the empty text.
QString NumberText(int n, int floor = 0);

} // namespace xo::kit
