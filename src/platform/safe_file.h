#pragma once
// Writing a file so that it is either whole or untouched. Every writer of
// the program (documents, configuration, tables, exports, site copies) goes
// through SafeFile: the content goes to a temporary file beside the target,
// every write and the close are checked, and only then does it take the
// target's place. Only
// regular files (through symbolic links) and names that do not exist yet
// are ever written; a replaced file keeps its owner, group and mode.

#include <QString>
#include <functional>
#include <sys/types.h>

namespace xo::platform {

// A regular file, possibly behind symbolic links: the only files the program reads.
bool IsRegularFile(const QString &path);
// The name may be written: it does not exist yet, or it is (a link to) a regular file.
bool IsWritableTarget(const QString &path);

// $XDG_CONFIG_HOME and $XDG_STATE_HOME, or their defaults (~/.config,
// ~/.local/state) when unset or not absolute; without a final "/".
QString UserConfigHome();
QString UserStateHome();

// Writes `content` as the whole file through SafeFile, making its directory;
// `newMode` applies to a file that did not exist (0: the usual mode).
bool WriteWholeFile(const QString &path, const QByteArray &content, mode_t newMode = 0);
// Appends one line (with its "\n") to a regular file, whole or not at all;
// a new file and a new directory get the given modes (0: the usual ones).
bool AppendLine(const QString &path, const QByteArray &line, mode_t newMode = 0, mode_t newDirMode = 0);

class SafeFile {
public:
    explicit SafeFile(const QString &target);
    ~SafeFile(); // an uncommitted file is discarded, the target untouched
    SafeFile(const SafeFile &) = delete;
    SafeFile &operator=(const SafeFile &) = delete;

    // False when the target may not be written (not a regular file) or no
    // temporary file can be made beside it.
    bool open();
    // Mode for the new content whatever the old file had (0600 for private files).
    void forceMode(mode_t mode) { forcedMode_ = int(mode); }
    // False when any byte did not reach the file; later writes then fail too.
    bool write(const char *data, size_t size);
    // Checks and puts the content in place. `beforeReplace` runs once
    // the content is safe on disk and before the old file is replaced, with
    // the path of the file actually replaced (a backup copy is made there).
    bool commit(const std::function<void(const QString &replaced)> &beforeReplace = {});
    void cancel();
    // The file that is really replaced: the target with its links resolved.
    const QString &resolvedTarget() const { return resolved_; }

private:
    QString target_, resolved_, temp_;
    int fd_ = -1;
    bool failed_ = false;
    int forcedMode_ = -1;
};

// For tests: every write fails (as on a full disk) once this many bytes in
// all were written; a negative value turns the failure off.
void FailWritesAfterForTests(long long bytes);

} // namespace xo::platform
