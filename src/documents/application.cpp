#include "application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace xo {

void SetUpApplication(QApplication &app) {
    // The name, not the display name: Qt would append a display name to
    // every window caption, and the captions are part of the program.
    QApplication::setApplicationName(QStringLiteral("Xo!"));
    static QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_cs"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
}

} // namespace xo
