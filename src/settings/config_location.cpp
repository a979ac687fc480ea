#include "config_location.h"

#include "platform/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace xo {

QString ConfigStem(const QString &programFile) {
    const QFileInfo exe(programFile);
    QString base = exe.fileName();
    if (const qsizetype dot = base.lastIndexOf(u'.'); dot > 0) base.truncate(dot);
    const QString local = exe.absolutePath() + u'/' + base + u'.';
    if (QFileInfo::exists(local + QStringLiteral("net")) || QFileInfo::exists(local + QStringLiteral("config")))
        return local;
    return QDir::cleanPath(platform::UserConfigHome() + u'/' + base) + u'/' + base + u'.';
}

QString ConfigPathFor(const QString &stem) {
    const QString redirect = stem + QStringLiteral("net");
    QFile f(redirect);
    if (QFileInfo(redirect).isFile() && f.open(QIODevice::ReadOnly)) {
        const QByteArray head = f.read(4096);
        qsizetype end = 0;
        while (end < head.size() && static_cast<unsigned char>(head[end]) > 13) ++end;
        const QString line = QString::fromUtf8(head.left(end));
        if (!line.isEmpty()) return QDir::cleanPath(QFileInfo(redirect).absoluteDir().absoluteFilePath(line));
    }
    return stem + QStringLiteral("config");
}

} // namespace xo
