#pragma once
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace xo {

// The modified and saved images of the document windows and the switch bar.
QPixmap ModifiedGlyph();
QPixmap SavedGlyph();

// Our own drawing of a theme icon, for desktops whose theme lacks it.
QIcon DrawnIcon(const QString &themeName);
// A toolbar glyph of a few letters ("B", "H1", "BR"), for the tag buttons.
QIcon TextGlyph(const QString &label);

} // namespace xo
