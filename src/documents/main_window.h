#pragma once
#include <QMainWindow>

namespace xo {

// The program's main window: a frame for the document windows.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget *parent = nullptr);
};

} // namespace xo
