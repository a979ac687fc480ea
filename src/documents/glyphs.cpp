#include "glyphs.h"

#include <QPainter>

namespace xo {

namespace {

QPixmap disc(QColor fill, bool star) {
    QPixmap p(14, 14);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(fill.darker(160));
    g.setBrush(fill);
    g.drawEllipse(1, 1, 12, 12);
    g.setPen(QPen(Qt::white, 1.6));
    if (star) { // an asterisk: changed
        g.drawLine(QPointF(7, 3.5), QPointF(7, 10.5));
        g.drawLine(QPointF(4, 5), QPointF(10, 9));
        g.drawLine(QPointF(4, 9), QPointF(10, 5));
    } else { // a tick: saved
        g.drawLine(QPointF(4, 7), QPointF(6.2, 9.5));
        g.drawLine(QPointF(6.2, 9.5), QPointF(10.2, 4.5));
    }
    return p;
}

} // namespace

QPixmap ModifiedGlyph() {
    static const QPixmap p = disc(QColor(200, 40, 40), true);
    return p;
}

QPixmap SavedGlyph() {
    static const QPixmap p = disc(QColor(40, 150, 60), false);
    return p;
}

} // namespace xo
