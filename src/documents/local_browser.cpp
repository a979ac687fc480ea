#include "local_browser.h"

#include "platform/safe_file.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace xo {

QVariant TLocalTextBrowser::loadResource(int, const QUrl &name) {
    // An empty value, not a null one: for a null value the document would
    // read the file itself.
    const QVariant refused = QByteArray("");
    QUrl url = name;
    if (url.isRelative()) {
        const QUrl base = document()->baseUrl().isEmpty() ? source() : document()->baseUrl();
        url = base.resolved(name);
    }
    // Only local files: nothing is fetched from the network here.
    if (!url.isLocalFile()) return refused;
    const QString path = url.toLocalFile();
    if (!platform::IsRegularFile(path) || QFileInfo(path).size() > kMaxResource) return refused;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return refused;
    return f.read(kMaxResource);
}

} // namespace xo
