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

namespace xo {

namespace {

// A sheet of paper with a folded corner, the base of several icons.
void page(QPainter &g, QRectF r) {
    const qreal f = 4;
    QPolygonF sheet{r.topLeft(), QPointF(r.right() - f, r.top()), QPointF(r.right(), r.top() + f), r.bottomRight(),
                    r.bottomLeft()};
    g.setBrush(Qt::white);
    g.drawPolygon(sheet);
    g.drawLine(QPointF(r.right() - f, r.top()), QPointF(r.right() - f, r.top() + f));
    g.drawLine(QPointF(r.right() - f, r.top() + f), QPointF(r.right(), r.top() + f));
}

} // namespace

QIcon DrawnIcon(const QString &name) {
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(40, 40, 40), 1));
    const QColor accent(50, 100, 190);
    if (name == QLatin1String("document-new")) {
        page(g, QRectF(3.5, 1.5, 9, 13));
    } else if (name == QLatin1String("document-open")) {
        g.setBrush(QColor(230, 190, 90));
        g.drawRect(QRectF(1.5, 4.5, 13, 9));
        g.drawRect(QRectF(1.5, 2.5, 5, 2));
    } else if (name == QLatin1String("document-save")) {
        g.setBrush(accent);
        g.drawRect(QRectF(1.5, 1.5, 13, 13));
        g.setBrush(Qt::white);
        g.drawRect(QRectF(4.5, 1.5, 7, 5));
        g.drawRect(QRectF(3.5, 9.5, 9, 5));
    } else if (name == QLatin1String("edit-cut")) {
        g.drawLine(QPointF(4, 1), QPointF(10.5, 10));
        g.drawLine(QPointF(12, 1), QPointF(5.5, 10));
        g.setBrush(Qt::NoBrush);
        g.setPen(QPen(accent, 1.5));
        g.drawEllipse(QPointF(4.5, 12), 2.5, 2.5);
        g.drawEllipse(QPointF(11.5, 12), 2.5, 2.5);
    } else if (name == QLatin1String("edit-copy")) {
        page(g, QRectF(1.5, 1.5, 8, 10));
        page(g, QRectF(6.5, 4.5, 8, 10));
    } else if (name == QLatin1String("edit-paste")) {
        g.setBrush(QColor(200, 160, 100));
        g.drawRect(QRectF(2.5, 2.5, 10, 12));
        g.setBrush(QColor(120, 120, 120));
        g.drawRect(QRectF(5.5, 1.5, 4, 2));
        page(g, QRectF(7.5, 6.5, 7, 8));
    } else if (name == QLatin1String("edit-undo")) {
        g.setPen(QPen(accent, 2));
        g.setBrush(Qt::NoBrush);
        g.drawArc(QRectF(4, 4, 9, 9), 90 * 16, -200 * 16);
        g.setBrush(accent);
        g.setPen(Qt::NoPen);
        g.drawPolygon(QPolygonF{QPointF(1, 4.5), QPointF(7, 0.5), QPointF(7, 8.5)});
    } else if (name == QLatin1String("edit-find")) {
        g.setPen(QPen(QColor(40, 40, 40), 2));
        g.setBrush(QColor(200, 225, 250));
        g.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        g.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
    } else {
        // Anything else: a plain square, so that no button is a bare text.
        g.setBrush(accent);
        g.drawRect(QRectF(3.5, 3.5, 9, 9));
    }
    return QIcon(p);
}

QIcon TextGlyph(const QString &label) {
    QPixmap p(24, 16);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::TextAntialiasing);
    QFont f = g.font();
    f.setPixelSize(label.size() > 2 ? 8 : 11);
    f.setBold(true);
    g.setFont(f);
    g.setPen(QColor(30, 60, 120));
    g.drawText(QRect(0, 0, 24, 16), Qt::AlignCenter, label);
    return QIcon(p);
}

} // namespace xo
