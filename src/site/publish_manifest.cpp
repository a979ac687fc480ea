#include "publish_manifest.h"

#include "platform/safe_file.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace xo {

namespace {

const QByteArray kHeader = "xo-publish-manifest 1\t";

QString publishDirectory() { return platform::UserStateHome() + QStringLiteral("/xo/publish"); }

QByteArray sha256Of(const QString &file) {
    QFile in(file);
    if (!platform::IsRegularFile(file) || !in.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&in) || in.error() != QFileDevice::NoError) return {};
    return hash.result().toHex();
}

// Tabs and line ends cannot be in a recorded path; such names are never uploaded.
bool recordable(const QString &path) {
    return !path.isEmpty() && !path.contains(u'\t') && !path.contains(u'\n') && !path.contains(u'\r');
}

} // namespace

TPublishManifest::TPublishManifest(const QString &site, const QString &remoteDir)
    : TPublishManifest(site, remoteDir, publishDirectory()) {}

TPublishManifest::TPublishManifest(const QString &site, const QString &remoteDir, const QString &directory)
    : key_(site + u'\t' + remoteDir) {
    const QByteArray name = QCryptographicHash::hash(key_.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    file_ = directory + u'/' + QString::fromLatin1(name) + QStringLiteral(".manifest");
}

QByteArray TPublishManifest::line(const QString &path, const Entry &e) {
    return e.sha256 + '\t' + QByteArray::number(e.size) + '\t' + QByteArray::number(e.modified) + '\t' +
           path.toUtf8() + '\n';
}

bool TPublishManifest::Load(QString &problem) {
    entries_.clear();
    lines_ = 0;
    problem.clear();
    if (!QFileInfo::exists(file_)) return true;
    QFile in(file_);
    if (!platform::IsRegularFile(file_) || !in.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("Záznam o odeslaných souborech ") + file_ + QStringLiteral(" nelze přečíst");
        return false;
    }
    QByteArray text = in.read(256 << 20);
    // A line cut short by a crash while it was appended is not a record.
    if (!text.endsWith('\n')) text.truncate(text.lastIndexOf('\n') + 1);
    const QList<QByteArray> lines = text.split('\n');
    bool damaged = lines.isEmpty() || lines.first() != kHeader + key_.toUtf8().replace('\t', ' ');
    for (qsizetype i = 1; i + 1 < lines.size() && !damaged; ++i) {
        const QList<QByteArray> f = lines[i].split('\t');
        Entry e;
        bool sizeOk = false, timeOk = false;
        if (f.size() == 4) {
            e.sha256 = f[0];
            e.size = f[1].toLongLong(&sizeOk);
            e.modified = f[2].toLongLong(&timeOk);
        }
        const QString path = f.size() == 4 ? QString::fromUtf8(f[3]) : QString();
        if (!sizeOk || !timeOk || e.sha256.size() != 64 || !recordable(path)) {
            damaged = true;
            break;
        }
        entries_.insert(path, e);
        ++lines_;
    }
    if (damaged) {
        entries_.clear();
        lines_ = 0;
        problem = QStringLiteral("Záznam o odeslaných souborech ") + file_ +
                  QStringLiteral(" je poškozený; odešlou se všechny soubory");
        return false;
    }
    // Records only ever get appended: a file of mostly replaced lines is written anew.
    if (lines_ > 2 * entries_.size() + 100) rewrite();
    return true;
}

bool TPublishManifest::Unchanged(const QString &path, const QString &localFile) {
    const auto it = entries_.constFind(path);
    if (it == entries_.cend()) return false;
    const QFileInfo info(localFile);
    if (info.size() != it->size) return false;
    if (info.lastModified().toMSecsSinceEpoch() == it->modified) return true;
    QByteArray &hash = hashed_[localFile];
    if (hash.isEmpty()) hash = sha256Of(localFile);
    return !hash.isEmpty() && hash == it->sha256;
}

bool TPublishManifest::Record(const QString &path, const QString &localFile) {
    if (!recordable(path)) return false;
    Entry e;
    const QFileInfo info(localFile);
    e.size = info.size();
    e.modified = info.lastModified().toMSecsSinceEpoch();
    e.sha256 = hashed_.value(localFile);
    if (e.sha256.isEmpty()) e.sha256 = sha256Of(localFile);
    if (e.sha256.isEmpty()) return false;
    entries_.insert(path, e);
    if (!QFileInfo::exists(file_)) return rewrite();
    // One line appended per file: the record keeps up with a large site.
    QFile out(file_);
    if (!platform::IsRegularFile(file_) || !out.open(QIODevice::Append)) return false;
    const QByteArray l = line(path, e);
    ++lines_;
    return out.write(l) == l.size() && out.flush();
}

bool TPublishManifest::rewrite() {
    QByteArray content = kHeader + key_.toUtf8().replace('\t', ' ') + '\n';
    for (auto it = entries_.cbegin(); it != entries_.cend(); ++it) content += line(it.key(), *it);
    if (!platform::WriteWholeFile(file_, content, 0600)) return false;
    lines_ = int(entries_.size());
    return true;
}

} // namespace xo
