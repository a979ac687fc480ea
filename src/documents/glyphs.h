#pragma once
#include <QPixmap>

namespace xo {

// The modified and saved images of the document windows and the switch bar.
QPixmap ModifiedGlyph();
QPixmap SavedGlyph();

} // namespace xo
