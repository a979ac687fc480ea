#pragma once
// The recovery journal: a copy of every modified document, kept while the
// program runs, so that a crash, a killed process or a power cut loses at
// most the last two seconds of typing. Each running program has a folder of
// its own below the user's state directory, locked while it runs; a folder
// whose program is gone is offered back at the next start.

#include "editor/editor_core.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace xo {

struct JournalEntry {
    QString fileName; // empty: a document never saved
    bool utf8 = false, bom = false, dosLineEnds = true;
    int selStart = 1, selEnd = 1;
    QRect place; // the window's bounds; empty when it had none of its own
    EditorCore::DiskStamp disk; // the file as the document last knew it
    std::string text;           // as the document's file holds it: its encoding and line ends
};

// $XDG_STATE_HOME/xo/recovery, else ~/.local/state/xo/recovery.
QString RecoveryRoot();

// Atomically, readable by its owner only. `first` and `second` are the
// document's text in the editor's form (code page 1250, CR LF).
bool WriteJournalEntry(const QString &path, const JournalEntry &header, std::string_view first,
                       std::string_view second);
// False, with the reason, for a file that is not a whole entry.
bool ReadJournalEntry(const QString &path, JournalEntry &entry, QString &why);

// What a journal folder says of the program that wrote it.
struct JournalOwner {
    qint64 pid = 0;
    qint64 started = 0; // the process's start time (/proc), so a new process with the same number is not it
};
// This process.
JournalOwner CurrentOwner();
// Whether that process still runs.
bool OwnerRuns(const JournalOwner &owner);

class TRecoveryJournal {
public:
    explicit TRecoveryJournal(QString root = RecoveryRoot());
    ~TRecoveryJournal(); // the locks go; the folders stay (a normal exit calls RemoveAll)
    TRecoveryJournal(const TRecoveryJournal &) = delete;
    TRecoveryJournal &operator=(const TRecoveryJournal &) = delete;

    // Makes this program's folder and locks it; false when it cannot.
    bool Open();
    const QString &Folder() const { return folder_; }
    QString EntryPath(int serial) const;
    void Remove(int serial);
    // At a normal exit: nothing is left to recover.
    void RemoveAll();

    // A folder left by a program that no longer runs, taken (locked) by this one.
    struct Orphan {
        QString folder;
        int lock = -1;
        std::vector<JournalEntry> entries;
        QStringList damaged; // entries that could not be read
    };
    // Every such folder with entries; folders without any are removed.
    std::vector<Orphan> TakeOrphans();
    // Gives a taken folder back, to be offered again next time.
    static void Release(Orphan &o);
    // Removes it with its entries.
    static void Discard(Orphan &o);

private:
    QString root_, folder_;
    int lock_ = -1;
};

} // namespace xo
