#include "command_line.h"
#include "single_instance.h"
#include "documents/about_dialogs.h"
#include "documents/application.h"
#include "documents/main_window.h"
#include "settings/settings.h"
#include "subsystems.h"
#include "tools/check_command.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// The program's icon: the desktop theme's once installed, else the pictures
// beside the program (the build) or below its prefix.
QIcon programIcon() {
    QIcon icon = QIcon::fromTheme(QStringLiteral("cz.xo.Xo"));
    if (!icon.isNull()) return icon;
    const QString dir = QCoreApplication::applicationDirPath();
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        for (const QString &file : {dir + QStringLiteral("/icons/%1x%1/apps/cz.xo.Xo.png").arg(size),
                                    dir + QStringLiteral("/../share/icons/hicolor/%1x%1/apps/cz.xo.Xo.png").arg(size)})
            if (QFileInfo::exists(file)) icon.addFile(file);
    return icon;
}

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
    QStringList files;
    for (const QString &f : c.files) files << QFileInfo(f).absoluteFilePath();
    // One window for every file of the session.
    if (!c.newInstance && xo::TSingleInstance::HandOver(files)) return 0;
    app.setWindowIcon(programIcon());
    xo::SetUpApplication(app);
    xo::SetDefaultSettings();
    xo::TfrmMain frmMain(app.arguments(), xo::AllSubsystems(), xo::ConfigOrder());
    frmMain.SetStartFiles(files);
    xo::TSingleInstance instance;
    if (!c.newInstance) instance.Listen([&frmMain](const QStringList &handed) { frmMain.OpenFromOutside(handed); });
    frmMain.show();
    return app.exec();
}
