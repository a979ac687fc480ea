#include "title_preview.h"

#include "platform/cp1250.h"

#include <QFile>
#include <QFileInfo>

namespace xo {

bool ReadHtmlTitle(const QString &path, QString &title) {
    // A FIFO or device could block the dialog for ever.
    if (path.isEmpty() || !QFileInfo(path).isFile()) return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(10000);
    const qsizetype n = head.size();
    for (qsizetype i = 0; i + 6 < n; ++i) {
        if (head[i] != '<' || qstrnicmp(head.constData() + i + 1, "TITLE>", 6) != 0) continue;
        qsizetype e = i + 7;
        while (e < n && head[e] != '<' && head[e] != '>') ++e;
        title = cp1250::decode(std::string_view(head.constData() + i + 7, size_t(e - i - 7)));
        return true;
    }
    return false;
}

QString TitlePreviewText(const QString &path, bool openDialog) {
    QString title;
    if (ReadHtmlTitle(path, title)) return QStringLiteral("Titulek souboru:  »") + title + QStringLiteral("«");
    return openDialog ? QStringLiteral("Otevření souborů") : QStringLiteral("Uložení souboru");
}

} // namespace xo
