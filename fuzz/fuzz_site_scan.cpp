// libFuzzer target: the site scan over any page. Whatever the page holds,
// every listed path must be absolute and clean (no "." or ".." names, no
// doubled "/"), so that the install and upload tests on them are sound.
#include "site/site_scan.h"

#include <QDir>
#include <QGuiApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>

// The scan shows the wait cursor, which needs a (headless) application.
extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_site_scan";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static QTemporaryDir dir;
    static const QString page = dir.path() + QStringLiteral("/site/sub/index.htm");
    static const bool made = QDir().mkpath(dir.path() + QStringLiteral("/site/sub"));
    (void)made;
    QFile f(page);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    f.write(reinterpret_cast<const char *>(data), qint64(size));
    f.close();
    const xo::TSiteScan scan = xo::ScanHierarchy(page);
    for (const QStringList *list : {&scan.HtmlFiles, &scan.Multimedia}) {
        if (list->size() > xo::kMaxSiteList) __builtin_trap();
        for (const QString &p : *list) {
            if (!p.startsWith(u'/') || p.contains(QStringLiteral("//")) || p.contains(QStringLiteral("/./")) ||
                p.contains(QStringLiteral("/../")) || p.endsWith(QStringLiteral("/..")) || p.endsWith(QStringLiteral("/.")))
                __builtin_trap();
            const QString rel = xo::SitePath(scan.MainDirectory, p);
            if (rel.startsWith(u'/') || rel.split(u'/').contains(QStringLiteral(".."))) __builtin_trap();
        }
    }
    return 0;
}
