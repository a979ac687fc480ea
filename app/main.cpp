#include "command_line.h"
#include "documents/about_dialogs.h"
#include "documents/application.h"
#include "documents/main_window.h"
#include "settings/settings.h"
#include "subsystems.h"
#include "tools/check_command.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// What needs no window runs without a display.
int withoutWindow(const xo::CommandLine &c) {
    QTextStream out(stdout), err(stderr);
    switch (c.action) {
    case xo::CommandLine::Help: out << xo::UsageText(); return 0;
    case xo::CommandLine::Version: out << QString::fromUtf8(xo::kVersionText) << Qt::endl; return 0;
    case xo::CommandLine::Check: return xo::CheckFilesCommand(c.files, out, err);
    default: err << c.error << Qt::endl << Qt::endl << xo::UsageText(); return 2;
    }
}

} // namespace

int main(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (xo::WantsNoWindow(arguments)) {
        QCoreApplication app(argc, argv);
        return withoutWindow(xo::ParseCommandLine(arguments));
    }
    // The embedded browser of the preview page refuses to start as root
    // without this, and wants shared GL contexts set before the application.
    if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    // Qt has taken its own options (-platform and the like); anything else unknown is a mistake.
    const xo::CommandLine c = xo::ParseCommandLine(app.arguments().mid(1));
    if (c.action != xo::CommandLine::Run) return withoutWindow(c);
    xo::SetUpApplication(app);
    xo::SetDefaultSettings();
    xo::TfrmMain frmMain(app.arguments(), xo::AllSubsystems(), xo::ConfigOrder());
    frmMain.show();
    return app.exec();
}
