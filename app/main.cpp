#include "documents/application.h"
#include "documents/main_window.h"
#include "settings/settings.h"
#include "subsystems.h"

#include <QApplication>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char *argv[]) {
    // The embedded browser of the preview page refuses to start as root
    // without this, and wants shared GL contexts set before the application.
    if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    xo::SetUpApplication(app);
    xo::SetDefaultSettings();
    xo::TfrmMain frmMain(app.arguments(), xo::AllSubsystems(), xo::ConfigOrder());
    frmMain.show();
    return app.exec();
}
