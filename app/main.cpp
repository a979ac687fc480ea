#include "documents/application.h"
#include "documents/main_window.h"
#include "settings/settings.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    xo::SetUpApplication(app);
    xo::SetDefaultSettings();
    xo::TfrmMain frmMain(app.arguments());
    frmMain.show();
    return app.exec();
}
