#include "main_window.h"

namespace xo {

TfrmMain::TfrmMain(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Xo!"));
    resize(1000, 700);
}

} // namespace xo
