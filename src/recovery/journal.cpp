#include "journal.h"

#include "editor/document_file.h"
#include "platform/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace xo {

namespace {

constexpr char kMagic[] = "XO-JOURNAL 1\n";
constexpr char kEnd[] = "\nXO-END ";

QByteArray nativeName(const QString &path) { return QFile::encodeName(path); }

// A folder only its owner may enter, with the folders above it.
bool makePrivateFolder(const QString &path) {
    if (!QDir().mkpath(path)) return false;
    return ::chmod(nativeName(path).constData(), 0700) == 0;
}

QByteArray ownerLine(const JournalOwner &o) { return QByteArray::number(o.pid) + ' ' + QByteArray::number(o.started) + '\n'; }

// A lock held for the life of the process; -1 when another holds it (or it cannot be had).
int takeLock(const QString &path) {
    const int fd = ::open(nativeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

JournalOwner readOwner(const QString &lockFile) {
    QFile f(lockFile);
    JournalOwner o;
    if (!f.open(QIODevice::ReadOnly)) return o;
    const QList<QByteArray> parts = f.readLine(64).trimmed().split(' ');
    if (parts.size() == 2) {
        o.pid = parts[0].toLongLong();
        o.started = parts[1].toLongLong();
    }
    return o;
}

qint64 startTimeOf(qint64 pid) {
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray stat = f.readAll();
    // The name in parentheses may hold spaces: the fields count from its end.
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0) return -1;
    const QList<QByteArray> fields = stat.mid(close + 2).split(' ');
    return fields.size() > 19 ? fields[19].toLongLong() : -1; // field 22, the start time
}

} // namespace

QString RecoveryRoot() { return platform::UserStateHome() + QStringLiteral("/xo/recovery"); }

JournalOwner CurrentOwner() { return {qint64(::getpid()), startTimeOf(::getpid())}; }

bool OwnerRuns(const JournalOwner &owner) {
    if (owner.pid <= 0) return false;
    if (::kill(pid_t(owner.pid), 0) != 0 && errno == ESRCH) return false;
    return startTimeOf(owner.pid) == owner.started;
}

bool WriteJournalEntry(const QString &path, const JournalEntry &e, std::string_view first, std::string_view second) {
    platform::SafeFile f(path);
    f.forceMode(0600);
    if (!f.open()) return false;
    QByteArray head = kMagic;
    head += "file " + (e.fileName.isEmpty() ? QByteArray("-") : e.fileName.toUtf8().toPercentEncoding("/")) + '\n';
    head += QByteArray("encoding ") + (e.utf8 ? (e.bom ? "utf8-bom" : "utf8") : "cp1250") + '\n';
    head += QByteArray("lines ") + (e.dosLineEnds ? "dos" : "unix") + '\n';
    // A Unix file's last line always ends with LF; one the text lacks is not the user's.
    const std::string_view last = !second.empty() ? second : first;
    const bool lfAdded = !e.dosLineEnds && (first.size() + second.size()) > 0 &&
                         !(last.size() >= 2 ? last.substr(last.size() - 2) == "\r\n"
                                            : (first.size() + second.size() >= 2 && last == "\n" && !first.empty() &&
                                               first.back() == '\r'));
    head += QByteArray("lastline ") + (lfAdded ? "added" : "own") + '\n';
    head += "selection " + QByteArray::number(e.selStart) + ' ' + QByteArray::number(e.selEnd) + '\n';
    head += "place " + QByteArray::number(e.place.x()) + ' ' + QByteArray::number(e.place.y()) + ' ' +
            QByteArray::number(e.place.width()) + ' ' + QByteArray::number(e.place.height()) + '\n';
    head += "disk " + QByteArray::number(e.disk.known ? 1 : 0) + ' ' + QByteArray::number(e.disk.device) + ' ' +
            QByteArray::number(e.disk.inode) + ' ' + QByteArray::number(e.disk.mtimeNs) + ' ' +
            QByteArray::number(e.disk.size) + "\n\n";
    if (!f.write(head.constData(), size_t(head.size()))) return false;
    TextTally tally;
    if (!WriteDocumentText(f, first, second, e.dosLineEnds, e.utf8, e.bom, &tally)) return false;
    // The end says how much text there was and what it was: a torn or
    // altered entry is known as such.
    const QByteArray end = kEnd + QByteArray::number(qulonglong(tally.bytes)) + ' ' +
                           QByteArray::number(qulonglong(tally.fnv), 16) + '\n';
    return f.write(end.constData(), size_t(end.size())) && f.commit();
}

bool ReadJournalEntry(const QString &path, JournalEntry &e, QString &why) {
    QFile f(path);
    if (!platform::IsRegularFile(path) || !f.open(QIODevice::ReadOnly)) return why = QStringLiteral("nelze číst"), false;
    const QByteArray all = f.readAll();
    if (!all.startsWith(kMagic)) return why = QStringLiteral("není to záznam obnovy"), false;
    const qsizetype headEnd = all.indexOf("\n\n");
    const qsizetype endAt = all.lastIndexOf(kEnd);
    if (headEnd < 0 || endAt < headEnd + 1) return why = QStringLiteral("záznam je neúplný"), false;
    const qsizetype textAt = headEnd + 2;
    const QList<QByteArray> end = all.mid(endAt + qsizetype(sizeof kEnd) - 1).trimmed().split(' ');
    bool sizeOk = false, hashOk = false;
    const qulonglong size = end.value(0).toULongLong(&sizeOk);
    const qulonglong hash = end.value(1).toULongLong(&hashOk, 16);
    if (end.size() != 2 || !sizeOk || !hashOk || size != qulonglong(endAt - textAt))
        return why = QStringLiteral("záznam je neúplný"), false;
    TextTally tally;
    tally.add(all.constData() + textAt, size_t(size));
    if (tally.fnv != hash) return why = QStringLiteral("text záznamu je poškozený"), false;
    e = JournalEntry();
    bool lfAdded = false;
    for (const QByteArray &line : all.mid(qsizetype(sizeof kMagic) - 1, headEnd - qsizetype(sizeof kMagic) + 1).split('\n')) {
        const qsizetype space = line.indexOf(' ');
        const QByteArray key = line.left(space), value = space < 0 ? QByteArray() : line.mid(space + 1);
        const QList<QByteArray> n = value.split(' ');
        if (key == "file") {
            e.fileName = value == "-" ? QString() : QString::fromUtf8(QByteArray::fromPercentEncoding(value));
        } else if (key == "encoding") {
            e.utf8 = value.startsWith("utf8");
            e.bom = value == "utf8-bom";
        } else if (key == "lines") {
            e.dosLineEnds = value != "unix";
        } else if (key == "lastline") {
            lfAdded = value == "added";
        } else if (key == "selection" && n.size() == 2) {
            e.selStart = n[0].toInt();
            e.selEnd = n[1].toInt();
        } else if (key == "place" && n.size() == 4) {
            e.place = QRect(n[0].toInt(), n[1].toInt(), n[2].toInt(), n[3].toInt());
        } else if (key == "disk" && n.size() == 5) {
            e.disk.known = n[0] == "1";
            e.disk.device = n[1].toLongLong();
            e.disk.inode = n[2].toLongLong();
            e.disk.mtimeNs = n[3].toLongLong();
            e.disk.size = n[4].toLongLong();
        }
    }
    e.text.assign(all.constData() + textAt, size_t(size));
    if (lfAdded && !e.text.empty() && e.text.back() == '\n') e.text.pop_back();
    return true;
}

TRecoveryJournal::TRecoveryJournal(QString root) : root_(std::move(root)) {}

TRecoveryJournal::~TRecoveryJournal() {
    if (lock_ >= 0) ::close(lock_);
}

bool TRecoveryJournal::Open() {
    if (lock_ >= 0) return true;
    const JournalOwner me = CurrentOwner();
    static int journals = 0; // one a program, but tests make more
    folder_ = root_ + QStringLiteral("/%1-%2-%3").arg(me.pid).arg(me.started).arg(++journals);
    if (!makePrivateFolder(root_) || !makePrivateFolder(folder_)) return false;
    lock_ = takeLock(folder_ + QStringLiteral("/lock"));
    if (lock_ < 0) return false;
    const QByteArray line = ownerLine(me);
    return ::ftruncate(lock_, 0) == 0 && ::pwrite(lock_, line.constData(), size_t(line.size()), 0) == line.size();
}

QString TRecoveryJournal::EntryPath(int serial) const { return folder_ + QStringLiteral("/doc-%1.xoj").arg(serial); }

void TRecoveryJournal::Remove(int serial) { QFile::remove(EntryPath(serial)); }

void TRecoveryJournal::RemoveAll() {
    if (folder_.isEmpty()) return;
    QDir(folder_).removeRecursively();
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
}

std::vector<TRecoveryJournal::Orphan> TRecoveryJournal::TakeOrphans() {
    std::vector<Orphan> out;
    const QFileInfoList folders = QDir(root_).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &info : folders) {
        const QString folder = info.absoluteFilePath();
        if (folder == QFileInfo(folder_).absoluteFilePath()) continue;
        const QString lockFile = folder + QStringLiteral("/lock");
        // A running program holds its lock; a process of the number written
        // there that started when it says is alive too.
        if (OwnerRuns(readOwner(lockFile))) continue;
        Orphan o;
        o.folder = folder;
        o.lock = takeLock(lockFile);
        if (o.lock < 0) continue; // another program has just taken it
        for (const QFileInfo &entry : QDir(folder).entryInfoList({QStringLiteral("*.xoj")}, QDir::Files, QDir::Name)) {
            JournalEntry e;
            QString why;
            if (ReadJournalEntry(entry.absoluteFilePath(), e, why))
                o.entries.push_back(std::move(e));
            else
                o.damaged << entry.fileName() + QStringLiteral(" (") + why + u')';
        }
        if (o.entries.empty() && o.damaged.isEmpty())
            Discard(o);
        else
            out.push_back(std::move(o));
    }
    return out;
}

void TRecoveryJournal::Release(Orphan &o) {
    if (o.lock >= 0) ::close(o.lock);
    o.lock = -1;
}

void TRecoveryJournal::Discard(Orphan &o) {
    QDir(o.folder).removeRecursively();
    Release(o);
}

} // namespace xo
