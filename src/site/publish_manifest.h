#pragma once
// What was last uploaded to one server and remote directory: for every
// file its path below the site, size, modification time and SHA-256. An
// upload sends only what is new or differs; each confirmed file is added
// at once, so an interrupted upload goes on where it stopped.

#include <QByteArray>
#include <QHash>
#include <QString>

namespace xo {

class TPublishManifest {
public:
    // The manifest of `site` (protocol, user, host and port) and `remoteDir`
    // in $XDG_STATE_HOME/xo/publish (~/.local/state/xo/publish).
    TPublishManifest(const QString &site, const QString &remoteDir);
    // Another place, for tests.
    TPublishManifest(const QString &site, const QString &remoteDir, const QString &directory);

    // Reads the file; a damaged one is ignored (everything is sent again)
    // and `problem` says so. A missing one is simply empty.
    bool Load(QString &problem);
    // The file at `localFile` is what was uploaded as `path`: the same size
    // and time, or else the same content.
    bool Unchanged(const QString &path, const QString &localFile);
    // Records the file as uploaded; false when the manifest cannot be written.
    bool Record(const QString &path, const QString &localFile);
    QString FileName() const { return file_; }
    int Count() const { return int(entries_.size()); }

private:
    struct Entry {
        qint64 size = 0;
        qint64 modified = 0; // ms since the epoch
        QByteArray sha256;   // hex
    };
    bool rewrite();
    static QByteArray line(const QString &path, const Entry &e);

    QString key_, file_;
    QHash<QString, Entry> entries_;
    QHash<QString, QByteArray> hashed_; // local file -> its hash, computed once per upload
    int lines_ = 0;
};

} // namespace xo
