// The status bar: two panels (the hint, the encoding), or one with a text
// that a command shows until it is cleared.
#include "main_window.h"

#include <QLabel>
#include <QResizeEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <algorithm>

namespace xo {

void TfrmMain::ShowStatusText(const QString &text) {
    if (text.isEmpty()) {
        ClearStatusText();
        return;
    }
    statusPanels[0]->hide();
    statusPanels[1]->hide();
    statusSingle->setText(text);
    statusSingle->show();
    statusBar()->repaint();
}

void TfrmMain::ClearStatusText() {
    statusSingle->clear();
    statusSingle->hide();
    statusPanels[0]->show();
    statusPanels[1]->show();
    statusBar()->repaint();
}

QString TfrmMain::StatusText() const { return statusSingle->isHidden() ? QString() : statusSingle->text(); }
bool TfrmMain::SingleStatusMode() const { return !statusSingle->isHidden(); }

bool TfrmMain::event(QEvent *e) {
    if (e->type() == QEvent::StatusTip) {
        // The long part of a hint goes to the status bar's single panel.
        ShowStatusText(static_cast<QStatusTipEvent *>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TfrmMain::resizeEvent(QResizeEvent *e) {
    QMainWindow::resizeEvent(e);
    const int second = statusPanels[1]->fontMetrics().horizontalAdvance(statusPanels[1]->text());
    statusPanels[0]->setFixedWidth(std::max(0, statusBar()->width() - second - 20));
}

} // namespace xo
