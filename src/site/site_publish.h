#pragma once
// Publishing a scanned site: a local copy with its directory structure, or
// an upload queue that an FTP session drains one entry per step. Nothing is
// ever written outside the install directory or the remote base.

#include "ftp_client.h"

#include <QString>
#include <QStringList>

class QFile;
#include <deque>
#include <functional>

namespace xo {

class TPublishManifest;

// The file's modification day (local time) is today's.
bool ChangedToday(const QString &fileName);

// Copies a regular file through a temporary file renamed over the target,
// creating the target's directories.
bool CopySiteFile(const QString &from, const QString &to);

// Copies each listed file below `installDirectory` (ending with "/") where it
// lies below `mainDirectory`; reports each refusal and failure.
void InstallList(const QStringList &list, bool onlyToday, const QString &mainDirectory,
                 const QString &installDirectory, const std::function<void(const QString &)> &status);

struct TFtpItem {
    QString LocalFile;  // empty: change to the base; kMakeDirs: create directories
    QString RemotePath; // "/" separators
    bool Retried = false;
    static inline const QString kMakeDirs = QString(QChar(1));
};

class TSiteUpload {
public:
    QString MainDirectory;        // ends with "/"
    bool WarnNotInstalled = true; // until the next scan
    std::deque<TFtpItem> Queue;
    // What was sent before: unchanged files are skipped, unless Everything.
    TPublishManifest *Manifest = nullptr;
    bool Everything = false;
    int Skipped = 0; // by the last Start
    // Files go under a temporary name renamed over the target; false once
    // a plain FTP server refused a rename.
    bool Renames = true;

    std::function<void(const QString &text, TTraceLevel level)> Trace;
    std::function<void(const QString &text)> Status;
    std::function<void(bool on)> BusyCursor;

    // The change to `remoteBase`, then the chosen lists.
    void Start(const QString &remoteBase, const QStringList &html, const QStringList &multimedia, bool withHtml,
               bool withMultimedia, bool onlyToday);
    void AddFtpItem(const QString &fileName, bool onlyToday);
    // Processes the head of the queue; with the queue empty, logs out.
    void FtpStep(TFtpClient &client);

private:
    void status(const QString &t) {
        if (Status) Status(t);
    }
    void trace(const QString &t, TTraceLevel level = 3) {
        if (Trace) Trace(t, level);
    }
    void busy(bool on) {
        if (BusyCursor) BusyCursor(on);
    }
    // The head of a queue that is not empty; ESessionEnded stops the queue.
    void step(TFtpClient &client);
    // False when the entry stays at the head (directories are made first).
    bool fileStep(TFtpClient &client, TFtpItem &item);
    // Sends the file so that the target is never half written.
    void send(TFtpClient &client, QFile &file, const QString &target);
};

} // namespace xo
