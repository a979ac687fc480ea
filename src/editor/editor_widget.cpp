#include "editor_widget.h"
#include "utf8_text.h"

#include "html_coloring.h"
#include "platform/cp1250.h"
#include "platform/services.h"
#include "settings/settings.h"

#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QInputMethodEvent>
#include <QRawFont>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace xo {

namespace {

// Lines longer than this are coloured from near their visible part.
constexpr int kLongLine = 4096;
constexpr int kLeadIn = 256;

int cellW = 8;
int cellH = 16;
bool cellMeasured = false;

QColor colorOf(uint32_t bgr) { return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF)); }

int modifiersOf(Qt::KeyboardModifiers m) {
    int r = 0;
    if (m & Qt::ShiftModifier) r |= kShift;
    if (m & Qt::ControlModifier) r |= kCtrl;
    if (m & Qt::AltModifier) r |= kAlt;
    return r;
}

constexpr int kRefused = -2; // a character the code page cannot hold

// A typed character as its CP1250 byte, or kRefused.
int byteOf(QChar c) {
    const int b = cp1250::fromUnicode(c.unicode());
    return b < 0 ? kRefused : b;
}

// The character a key types, from its code and modifiers rather than from
// the event text, which differs between platforms for control keys.
int characterOf(const QKeyEvent &e) {
    const bool ctrl = e.modifiers() & Qt::ControlModifier;
    const int key = e.key();
    const QString t = e.text();
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9; // Shift+Tab types what Tab types
    case Qt::Key_Return:
    case Qt::Key_Enter: return ctrl ? 10 : 13;
    case Qt::Key_Space:
        // AltGr+Space gives a no-break space in its text.
        if (!ctrl && t.size() == 1 && t[0] != u' ' && t[0].unicode() >= 32) return byteOf(t[0]);
        return 32;
    default: break;
    }
    if (ctrl) return key >= Qt::Key_A && key <= Qt::Key_Z ? key - Qt::Key_A + 1 : -1;
    if (t.isEmpty() || t[0].unicode() < 32 || t[0].unicode() == 127) return -1;
    return byteOf(t[0]);
}

bool typesText(const QKeyEvent &e) {
    const QString t = e.text();
    return !t.isEmpty() && t[0].unicode() >= 32 && t[0].unicode() != 127;
}

} // namespace

TEditor::TEditor(QWidget *parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_InputMethodEnabled);
    VertScroll = new QScrollBar(Qt::Vertical, this);
    HoriScroll = new QScrollBar(Qt::Horizontal, this);
    for (QScrollBar *s : {VertScroll, HoriScroll}) {
        s->setFocusPolicy(Qt::NoFocus);
        s->setCursor(Qt::ArrowCursor);
        connect(s, &QScrollBar::valueChanged, this, [this] { update(); });
    }
    VertScroll->setRange(0, 0);
    HoriScroll->setRange(0, 100);
    HoriScroll->setPageStep(8);
    blink_.setInterval(200);
    connect(&blink_, &QTimer::timeout, this, [this] { BlinkTick(); });
    blink_.start();
    gap_.setInterval(0);
    connect(&gap_, &QTimer::timeout, this, [this] {
        if (!MoveGapTowardCaret()) gap_.stop();
    });
    LayoutScrollBars();
}

TEditor::~TEditor() = default;

int TEditor::CellWidth() { return cellW; }
int TEditor::CellHeight() { return cellH; }

QFont TEditor::EditorFont() const {
    // "Courier" resolves here to a thin outline font whose acute accents
    // vanish when drawn without antialiasing (á looks like a). DejaVu Sans
    // Mono, hinted for such sizes, keeps every Czech accent crisp in its cell;
    // Courier stays the fallback.
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Courier")});
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    f.setPixelSize(12);
    f.setStyleStrategy(QFont::NoAntialias); // crisp cells, like the bitmap font it stands for
    return f;
}

void TEditor::MeasureCell(const QFont &f) {
    if (cellMeasured) return;
    const QFontMetrics m(f);
    cellW = std::max(1, m.horizontalAdvance(QLatin1Char('A')));
    cellH = std::max(1, m.height());
    cellMeasured = true;
}

void TEditor::LayoutScrollBars() {
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    VertScroll->setGeometry(width() - extent, 0, extent, std::max(0, height() - extent));
    HoriScroll->setGeometry(0, height() - extent, std::max(0, width() - extent), extent);
}

QRect TEditor::TextArea() const {
    return QRect(QPoint(2, 2), QPoint(VertScroll->x() - 2 - 1, HoriScroll->y() - 2 - 1));
}

int TEditor::VisibleLineCount() const { return (height() - 20) / cellH; }

int TEditor::WrapColumn() const { return VertScroll->x() / 8 - 6; }

bool TEditor::HasKeyboardFocus() const { return hasFocus(); }

void TEditor::TakeFocus() {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
}

bool TEditor::ColoringOn() const {
    return Settings.ColTags && IsHtmlDocument(FileName.toUpper().toStdString());
}

void TEditor::Repaint() {
    if (PaintEnabled) update();
}

// A blink repaints the caret's cell only, not the page.
void TEditor::CaretToggled() { update(CaretRect().adjusted(-1, -1, 1, 1)); }

void TEditor::resizeEvent(QResizeEvent *) {
    HideCaret();
    LayoutScrollBars();
    ScrollToCaret();
    ShowCaret();
}

void TEditor::paintEvent(QPaintEvent *) {
    if (!PaintEnabled) return;
    QPainter p(this);
    PaintText(p);
    // The highlighted selection stands for the caret.
    if (CaretShown() && SelStart() == SelEnd()) DrawCaret(p);
    const int n = VisibleLineCount();
    VertScroll->setPageStep(std::max(1, n - 1));
    VertScroll->setMaximum(std::max(0, LineCount() - n + 1));
}

void TEditor::PaintText(QPainter &p) {
    const QFont font = EditorFont();
    MeasureCell(font);
    p.setFont(font);
    const QFontMetrics fm(font);
    const QColor bg = colorOf(EditorColors[ecStdBackgr]);
    const QColor selBg = colorOf(EditorColors[ecSelBackgr]);
    QColor colors[6];
    for (int i = 0; i < 6; ++i) colors[i] = colorOf(EditorColors[size_t(i)]);
    // The margins and the corner between the scroll bars.
    p.fillRect(rect(), bg);
    const QRect area = TextArea();
    p.setClipRect(area);

    const bool coloring = ColoringOn();
    const int top = VertScroll->value() + 1;
    const int hpos = HoriScroll->value();
    const int n = VisibleLineCount();
    const int columns = area.width() / cellW + 2;
    const auto charAt = [this](int pos) { return CharAt(pos); };
    // The colouring state carried from line to line; after a long line it
    // is found backwards from the next line's start instead.
    ColorState state;
    bool stateKnown = true;
    if (coloring && top - 1 >= 2) state = ColorStateBefore(charAt, LineStart(top - 1), kColorScanLimit);
    const int selFrom = std::min(SelStart(), SelEnd()), selTo = std::max(SelStart(), SelEnd());
    std::string window;
    for (int L = std::max(1, top - 1); L <= top + n + 1; ++L) {
        const int y = 2 + (L - top) * cellH;
        if (L > LineCount()) {
            if (L >= top) p.fillRect(QRect(2, y, area.right() - 1, cellH), bg);
            continue;
        }
        const int start = LineStart(L);
        const int len = LineLength(L);
        if (!stateKnown) {
            state = coloring ? ColorStateBefore(charAt, start, kColorScanLimit) : ColorState{};
            stateKnown = true;
        }
        // Only what is visible of a line is copied and coloured. A long line
        // is coloured from its start only when the visible part is near it;
        // otherwise from a state found backwards, bounded like the page's.
        const bool isLong = len > kLongLine;
        if (isLong) stateKnown = false;
        if (L < top && isLong) continue;
        const int last = L < top ? len : std::min(len, hpos + columns);
        int from = 0;
        if (isLong && hpos > kLongLine) {
            // A lead-in before the visible part lets the runs settle as they
            // would from the line start.
            from = std::max(0, std::min(hpos, len) - kLeadIn);
            state = coloring ? ColorStateBefore(charAt, start + from, kColorScanLimit) : ColorState{};
        }
        // One character of context before and three after the coloured part.
        const int ctxFrom = std::max(0, from - 1);
        const int ctxTo = std::min(len, last + 3);
        window = Buffer().copy(start - 1 + ctxFrom, std::max(0, ctxTo - ctxFrom));
        const int lineEnd = start + len;
        // The selection runs on past this line end.
        const bool selPastEnd = L < LineCount() && selFrom <= lineEnd && selTo > lineEnd;
        const int base = start + ctxFrom;
        const auto runs = ColorLine(window, state, coloring, selFrom - base, selTo - base, from - ctxFrom,
                                    last - ctxFrom);
        if (L < top) continue;
        int col = from;
        for (const ColorRun &r : runs) {
            const int first = col;
            col += r.length;
            if (col <= hpos) continue;
            const int x = 2 + (first - hpos) * cellW;
            if (x > area.right()) break;
            QByteArray bytes(window.data() + (first - ctxFrom), r.length);
            for (char &c : bytes)
                if (static_cast<unsigned char>(c) < 32) c = ' ';
            const QRect cell(x, y, r.length * cellW, cellH);
            p.fillRect(cell, r.selected ? selBg : bg);
            p.setPen(r.selected ? colors[ciSelText] : colors[r.color]);
            DrawCells(p, x, y + fm.ascent(),
                      cp1250::decode(std::string_view(bytes.constData(), size_t(bytes.size()))));
        }
        const int endX = std::max(2, 2 + (len - hpos) * cellW);
        if (endX <= area.right()) p.fillRect(QRect(endX, y, area.right() - endX + 1, cellH), selPastEnd ? selBg : bg);
    }
    painted_ = {top, std::min(LineCount(), top + n)};
    if (LineMarks) DrawMarks(p, top, painted_.second);
}

void TEditor::DrawMarks(QPainter &p, int top, int last) {
    std::vector<TMark> marks;
    LineMarks(*this, top, last, marks);
    if (marks.empty()) return;
    // A wave in the cells' lowest pixels: the characters stay where they are.
    p.setPen(QPen(QColor(220, 0, 0), 1));
    const int hpos = HoriScroll->value();
    const int step = std::max(2, cellW / 4);
    for (const TMark &m : marks) {
        const int bottom = 2 + (m.line - top + 1) * cellH - 1;
        const int x0 = 2 + (m.from - hpos) * cellW, x1 = 2 + (m.to - hpos) * cellW;
        if (x1 <= 2) continue;
        QPolygon wave;
        for (int x = x0, i = 0; x <= x1; x += step, ++i) wave << QPoint(x, bottom - (i % 2 ? 2 : 0));
        p.drawPolyline(wave);
    }
}

void TEditor::DrawCells(QPainter &p, int x, int baseline, const QString &text) {
    // One glyph per cell: the font's real advance is fractional, so a run
    // drawn as one string would drift off its cells and be covered by the
    // next run. Glyphs the font lacks go through Qt's fallback, one by one.
    static QRawFont raw;
    static bool rawMade = false;
    if (!rawMade) {
        raw = QRawFont::fromFont(EditorFont());
        rawMade = true;
    }
    const QList<quint32> glyphs = raw.isValid() ? raw.glyphIndexesForString(text) : QList<quint32>();
    QList<quint32> found;
    QList<QPointF> positions;
    found.reserve(text.size());
    positions.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QPointF at(x + double(i) * cellW, baseline);
        if (text[i] == u' ') continue;
        if (i < glyphs.size() && glyphs[i] != 0) {
            found << glyphs[i];
            positions << at;
        } else {
            p.drawText(at, QString(text[i]));
        }
    }
    if (found.isEmpty()) return;
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(found);
    run.setPositions(positions);
    p.drawGlyphRun(QPointF(0, 0), run);
}

QRect TEditor::CaretRect() const {
    const int pos = SelStart();
    const int line = LineOfPos(pos);
    const int c = pos - LineStartOfPos(pos);
    const int x = (c - HoriScroll->value()) * cellW + 2;
    const int y = (line - VertScroll->value() - 1) * cellH + 4;
    const int bottom = std::min(y + cellH - 3, HoriScroll->y() - 2);
    return QRect(x, y, 2, std::max(0, bottom - y + 1));
}

void TEditor::DrawCaret(QPainter &p) {
    const QRect r = CaretRect();
    if (r.x() >= VertScroll->x() - 3 || r.height() <= 0) return;
    p.setClipping(false);
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(r, Qt::white);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

bool TEditor::ScrollToCaret() {
    const bool drawn = CaretShown();
    HideCaret();
    const int p = CaretPos();
    const int L = LineOfPos(p);
    const int c = p - LineStartOfPos(p);
    const int oldV = VertScroll->value(), oldH = HoriScroll->value();
    const int n = VisibleLineCount();
    if (L > VertScroll->value()) {
        if (L > n + VertScroll->value()) {
            VertScroll->setMaximum(std::max(VertScroll->maximum(), L - n));
            VertScroll->setValue(L - n);
        }
    } else {
        VertScroll->setValue(L - 1);
    }
    const int w = width();
    if (c * cellW >= w - 30) {
        if (c > HoriScroll->value()) {
            if (c > (w - 40) / cellW + HoriScroll->value()) {
                const int np = c - (w / 2) / cellW;
                HoriScroll->setMaximum(std::max(HoriScroll->maximum(), np));
                HoriScroll->setValue(np);
            }
        } else {
            HoriScroll->setValue(HoriScroll->value() - 8);
        }
    } else {
        HoriScroll->setValue(0);
    }
    if (drawn) ShowCaret();
    return VertScroll->value() != oldV || HoriScroll->value() != oldH;
}

int TEditor::PositionFromPoint(int x, int y) const {
    const int L = std::clamp(y / cellH + VertScroll->value() + 1, 1, LineCount());
    const int xp = x + HoriScroll->value() * cellW;
    // Every character is one cell wide, so the widest prefix that fits is xp / W.
    const int c = xp < 0 ? 0 : std::min(LineLength(L), xp / cellW);
    return std::min(LineStart(L) + c, TextLength() + 1);
}

bool TEditor::event(QEvent *e) {
    // The editor claims only the keys it handles itself, so that menu access
    // keys and menu shortcuts work whatever has the focus.
    if (e->type() == QEvent::ShortcutOverride) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (UsesKey(k->key(), modifiersOf(k->modifiers()), typesText(*k))) {
            e->accept();
            return true;
        }
    }
    return QWidget::event(e);
}

void TEditor::TypeCharacter(int ch, int mods, const QString &typed) {
    if (ch == kRefused) {
        // A UTF-8 document takes it as a reference "&#N;", one undo step each.
        if (Utf8 && !typed.isEmpty())
            for (char32_t cp : typed.toUcs4()) {
                ReplaceSelection(DocumentTextOf(QString::fromUcs4(&cp, 1), true));
                ScrollToCaret();
            }
        else
            platform::services().beep();
    } else if (ch >= 0 && !(mods & kAlt)) {
        KeyChar(ch, mods & kCtrl);
    }
}

void TEditor::inputMethodEvent(QInputMethodEvent *e) {
    // Dead keys and input methods commit their characters here.
    for (char32_t cp : e->commitString().toUcs4()) {
        if (cp < 32) continue;
        const QString one = QString::fromUcs4(&cp, 1);
        TypeCharacter(one.size() == 1 ? byteOf(one[0]) : kRefused, 0, one);
    }
    e->accept();
}

QVariant TEditor::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
    case Qt::ImEnabled: return true;
    case Qt::ImCursorRectangle: return CaretRect();
    case Qt::ImFont: return EditorFont();
    case Qt::ImHints: return int(Qt::ImhNoPredictiveText);
    default: return QWidget::inputMethodQuery(query);
    }
}

void TEditor::keyPressEvent(QKeyEvent *e) {
    const int key = e->key();
    if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
        key == Qt::Key_AltGr) {
        return;
    }
    int mods = modifiersOf(e->modifiers());
    if (key == Qt::Key_Backtab) mods &= ~kShift;
    if (KeyDown(key, mods)) return;
    TypeCharacter(characterOf(*e), mods, e->text());
}

void TEditor::mousePressEvent(QMouseEvent *e) {
    if (e->button() != Qt::LeftButton) return;
    MouseDown(PositionFromPoint(int(e->position().x()), int(e->position().y())));
}

void TEditor::mouseDoubleClickEvent(QMouseEvent *e) { mousePressEvent(e); }

void TEditor::mouseMoveEvent(QMouseEvent *e) {
    if (e->buttons() & Qt::LeftButton) MouseMove(PositionFromPoint(int(e->position().x()), int(e->position().y())));
}

void TEditor::mouseReleaseEvent(QMouseEvent *e) {
    MouseUp(e->button() == Qt::LeftButton, platform::services().now());
}

void TEditor::wheelEvent(QWheelEvent *e) {
    const int steps = e->angleDelta().y() / 40; // three lines a notch
    VertScroll->setValue(VertScroll->value() - steps);
}

void TEditor::contextMenuEvent(QContextMenuEvent *e) {
    if (!PopupMenu) return;
    if (BeforePopup) {
        const int pos = e->reason() == QContextMenuEvent::Mouse ? PositionFromPoint(e->pos().x(), e->pos().y())
                                                                : CaretPos();
        BeforePopup(*this, *PopupMenu, pos);
    }
    PopupMenu->popup(e->globalPos());
}

} // namespace xo
