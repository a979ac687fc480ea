#pragma once
// TEditor: the editor control as a window. It paints the visible lines with
// HTML colouring in a fixed character grid, draws its own caret, keeps two
// scroll bars and turns Qt's key and mouse events into the model's operations.

#include "editor_core.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

class QScrollBar;
class QMenu;

namespace xo {

class TEditor : public QWidget, public EditorCore {
    Q_OBJECT
public:
    explicit TEditor(QWidget *parent = nullptr);
    ~TEditor() override;

    QScrollBar *HoriScroll;
    QScrollBar *VertScroll;
    QMenu *PopupMenu = nullptr; // set by the main window

    // The character cell, measured once per program run at the first paint.
    static int CellWidth();
    static int CellHeight();

    void Repaint() override;
    bool ScrollToCaret() override;
    int VisibleLineCount() const override;
    int WrapColumn() const override;
    bool HasKeyboardFocus() const override;

    // The text position under a point of the control.
    int PositionFromPoint(int x, int y) const;
    // Whether this document is coloured now.
    bool ColoringOn() const;
    // The rectangle the text is drawn into.
    QRect TextArea() const;

    // Stretches of lines first..last (columns from, to within the line) to
    // underline with a red wave, such as misspelt words; asked while
    // painting, so it must answer from what it knows at once.
    struct TMark {
        int line, from, to;
    };
    static inline std::function<void(TEditor &, int first, int last, std::vector<TMark> &)> LineMarks;
    // Fills the context menu's first items for the text position under the
    // mouse (or the caret, from the keyboard) before it opens.
    static inline std::function<void(TEditor &, QMenu &, int pos)> BeforePopup;
    // The first and last line painted last time, for work done after the paint.
    std::pair<int, int> PaintedLines() const { return painted_; }

protected:
    bool event(QEvent *) override;
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void keyPressEvent(QKeyEvent *) override;
    void inputMethodEvent(QInputMethodEvent *) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery) const override;
    void mousePressEvent(QMouseEvent *) override;
    void mouseDoubleClickEvent(QMouseEvent *) override;
    void mouseMoveEvent(QMouseEvent *) override;
    void mouseReleaseEvent(QMouseEvent *) override;
    void wheelEvent(QWheelEvent *) override;
    void contextMenuEvent(QContextMenuEvent *) override;
    bool focusNextPrevChild(bool) override { return false; } // Tab belongs to the text

    void CaretToggled() override;
    void StopBlink() override { blink_.stop(); }
    void StartBlink() override {
        blink_.start();
        gap_.start(); // after every key and caret move
    }
    void TakeFocus() override;

private:
    void LayoutScrollBars();
    void PaintText(QPainter &p);
    void DrawCaret(QPainter &p);
    void DrawCells(QPainter &p, int x, int baseline, const QString &text);
    QRect CaretRect() const;
    void TypeCharacter(int ch, int modifiers, const QString &typed = {});
    static void MeasureCell(const QFont &f);
    QFont EditorFont() const;

    void DrawMarks(QPainter &p, int top, int last);
    std::pair<int, int> painted_{1, 0};
    QTimer blink_;
    QTimer gap_; // moves the text's gap toward the caret while the user does nothing
};

} // namespace xo
