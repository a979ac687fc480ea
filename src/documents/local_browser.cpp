#include "local_browser.h"

#include "platform/safe_file.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTextDocument>
#include <QUrl>

namespace xo {

QVariant TLocalTextBrowser::loadResource(int type, const QUrl &name) {
    // Never a null value, nor an image that does not decode: for those the
    // document would open the file by its name itself.
    QImage blank(1, 1, QImage::Format_ARGB32);
    blank.fill(Qt::transparent);
    const QVariant refused = type == QTextDocument::ImageResource ? QVariant(blank) : QVariant(QByteArray(""));
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
    const QByteArray bytes = f.read(kMaxResource);
    if (type != QTextDocument::ImageResource) return bytes;
    const QImage image = QImage::fromData(bytes);
    return image.isNull() ? refused : QVariant(image);
}

} // namespace xo
