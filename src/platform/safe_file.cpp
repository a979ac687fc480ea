#include "safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xo::platform {

namespace {

long long failAfter = -1;
long long written = 0;

QByteArray nativeName(const QString &path) { return QFile::encodeName(path); }

// The path with its symbolic links resolved, also for a link whose target
// does not exist yet (writing then creates that target).
QString resolve(const QString &path) {
    QString p = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(p);
        if (!info.isSymLink()) break;
        const QString next = info.symLinkTarget();
        if (next.isEmpty()) break;
        p = next;
    }
    const QFileInfo dir(QFileInfo(p).absolutePath());
    const QString canonicalDir = dir.canonicalFilePath();
    return canonicalDir.isEmpty() ? p : QDir(canonicalDir).filePath(QFileInfo(p).fileName());
}

mode_t currentUmask() {
    const mode_t m = ::umask(0);
    ::umask(m);
    return m;
}

} // namespace

void FailWritesAfterForTests(long long bytes) {
    failAfter = bytes;
    written = 0;
}

bool IsRegularFile(const QString &path) {
    struct stat st {};
    return ::stat(nativeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsWritableTarget(const QString &path) {
    struct stat st {};
    if (::stat(nativeName(path).constData(), &st) == 0) return S_ISREG(st.st_mode);
    // Nothing there (or a link to nothing): a new file.
    return errno == ENOENT;
}

SafeFile::SafeFile(const QString &target) : target_(target) {}

SafeFile::~SafeFile() { cancel(); }

bool SafeFile::open() {
    cancel();
    failed_ = false;
    if (target_.isEmpty() || !IsWritableTarget(target_)) return false;
    resolved_ = resolve(target_);
    const QFileInfo info(resolved_);
    QByteArray pattern = nativeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                                    QStringLiteral(".xo-XXXXXX"));
    fd_ = ::mkstemp(pattern.data());
    if (fd_ < 0) return false;
    temp_ = QFile::decodeName(pattern);
    return true;
}

bool SafeFile::write(const char *data, size_t size) {
    if (fd_ < 0 || failed_) return false;
    while (size > 0) {
        size_t chunk = size;
        if (failAfter >= 0) {
            if (written >= failAfter) {
                failed_ = true;
                errno = ENOSPC;
                return false;
            }
            chunk = std::min<size_t>(chunk, size_t(failAfter - written));
        }
        const ssize_t n = ::write(fd_, data, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        data += n;
        size -= size_t(n);
        written += n;
    }
    return true;
}

bool SafeFile::commit(const std::function<void(const QString &)> &beforeReplace) {
    if (fd_ < 0 || failed_) {
        cancel();
        return false;
    }
    // The old file's owner, group and mode go to the new content where the
    // process may set them; a new file gets the usual mode.
    struct stat old {};
    const bool existed = ::stat(nativeName(resolved_).constData(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode)) { // replaced by something else meanwhile
        cancel();
        return false;
    }
    mode_t mode = existed ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    if (forcedMode_ >= 0) mode = mode_t(forcedMode_);
    if (existed && (old.st_uid != ::geteuid() || old.st_gid != ::getegid()))
        (void)::fchown(fd_, old.st_uid, old.st_gid);
    (void)::fchmod(fd_, mode);
    // Every write was checked; a file system that reports a full disk only
    // when the file is closed (NFS) is caught here. The content is on the
    // disk before it takes the old file's place: after a power cut the name
    // holds the old content or the new, never an empty or partial file.
    const bool synced = ::fsync(fd_) == 0 || errno == EINVAL; // EINVAL: a file system that cannot sync
    const bool closed = ::close(fd_) == 0 && synced;
    fd_ = -1;
    if (!closed) {
        cancel();
        return false;
    }
    if (beforeReplace) beforeReplace(resolved_);
    if (::rename(nativeName(temp_).constData(), nativeName(resolved_).constData()) != 0) {
        cancel();
        return false;
    }
    temp_.clear();
    // And the rename itself, recorded in the directory.
    const int dir = ::open(nativeName(QFileInfo(resolved_).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return true;
}

void SafeFile::cancel() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.isEmpty()) {
        ::unlink(nativeName(temp_).constData());
        temp_.clear();
    }
}

namespace {

QString xdgHome(const char *variable, const char *fallback) {
    QString dir = qEnvironmentVariable(variable);
    if (dir.isEmpty() || !QDir::isAbsolutePath(dir)) dir = QDir::homePath() + QLatin1String(fallback);
    return QDir::cleanPath(dir);
}

} // namespace

QString UserConfigHome() { return xdgHome("XDG_CONFIG_HOME", "/.config"); }
QString UserStateHome() { return xdgHome("XDG_STATE_HOME", "/.local/state"); }

bool WriteWholeFile(const QString &path, const QByteArray &content, mode_t newMode) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    SafeFile out(path);
    if (newMode && !QFileInfo::exists(path)) out.forceMode(newMode);
    return out.open() && out.write(content.constData(), size_t(content.size())) && out.commit();
}

bool AppendLine(const QString &path, const QByteArray &line, mode_t newMode, mode_t newDirMode) {
    const QString dir = QFileInfo(path).absolutePath();
    if (!QFileInfo::exists(dir)) {
        if (!QDir().mkpath(dir)) return false;
        if (newDirMode) ::chmod(QFile::encodeName(dir).constData(), newDirMode);
    }
    QByteArray content;
    if (QFileInfo::exists(path)) {
        QFile in(path);
        if (!IsRegularFile(path) || !in.open(QIODevice::ReadOnly)) return false;
        content = in.readAll();
        if (in.error() != QFileDevice::NoError) return false;
        if (!content.isEmpty() && !content.endsWith('\n')) content += '\n';
    }
    content += line;
    if (!content.endsWith('\n')) content += '\n';
    return WriteWholeFile(path, content, newMode);
}

} // namespace xo::platform
