#include "keeper.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <QTimer>
#include <set>

namespace xo {

TRecoveryKeeper::TRecoveryKeeper(TRecoveryJournal &journal) : journal_(journal) {}

TRecoveryKeeper::~TRecoveryKeeper() { WaitForWrites(); }

EditorCore *TRecoveryKeeper::find(int serial) const {
    if (!Documents) return nullptr;
    for (const KeptDocument &d : Documents())
        if (d.serial == serial) return d.editor;
    return nullptr;
}

bool TRecoveryKeeper::EntryCurrent(int serial) const {
    const auto it = tracked_.find(serial);
    EditorCore *e = find(serial);
    return it != tracked_.end() && e && it->second.hasEntry && it->second.written == e->Revision();
}

void TRecoveryKeeper::Tick(const QDateTime &now) {
    if (!Documents) return;
    std::set<int> open;
    for (const KeptDocument &d : Documents()) {
        open.insert(d.serial);
        Tracked &t = tracked_[d.serial];
        if (!d.editor->Modified()) {
            // Saved, or never changed: nothing to recover.
            if (t.hasEntry && !t.writing) journal_.Remove(d.serial);
            t = Tracked();
            continue;
        }
        const unsigned long long revision = d.editor->Revision();
        if (t.hasEntry && revision == t.written) continue;
        if (!t.seenAny || revision != t.seen) {
            if (t.dirtySince.isNull()) t.dirtySince = now;
            t.seenAny = true;
            t.seen = revision;
            t.changedAt = now;
        }
        const bool due = t.changedAt.msecsTo(now) >= kQuietMs || t.dirtySince.msecsTo(now) >= kAtLeastMs;
        if (!due || t.writing || copy_) continue;
        Copy c;
        c.serial = d.serial;
        c.revision = revision;
        c.at = now;
        JournalEntry &h = c.header;
        h.fileName = d.editor->FileName;
        h.utf8 = d.editor->Utf8;
        h.bom = d.editor->Utf8Bom;
        h.dosLineEnds = d.editor->DosLineEnds;
        h.selStart = d.editor->SelStart();
        h.selEnd = d.editor->SelEnd();
        h.place = d.place;
        h.disk = d.editor->KnownDisk();
        c.text.reserve(size_t(d.editor->TextLength()));
        copy_ = std::move(c);
        if (Slice()) {
            // The rest between keystrokes.
            auto more = std::make_shared<std::function<void()>>();
            *more = [this, more] {
                if (Slice()) QTimer::singleShot(0, this, *more);
            };
            QTimer::singleShot(0, this, *more);
        }
    }
    // Closed documents (saved or given up on the user's answer) leave nothing behind.
    for (auto it = tracked_.begin(); it != tracked_.end();) {
        if (open.count(it->first)) {
            ++it;
            continue;
        }
        if (it->second.hasEntry && !it->second.writing) journal_.Remove(it->first);
        if (it->second.writing) {
            ++it; // its write removes it when it ends
            continue;
        }
        it = tracked_.erase(it);
    }
}

bool TRecoveryKeeper::Slice() {
    if (!copy_) return false;
    EditorCore *e = find(copy_->serial);
    // Closed, or changed under the copy: a later tick starts again.
    if (!e || e->Revision() != copy_->revision) {
        copy_.reset();
        return false;
    }
    const int done = int(copy_->text.size());
    const int n = int(std::min<size_t>(SliceBytes, size_t(e->TextLength() - done)));
    e->AppendText(done, n, copy_->text);
    if (int(copy_->text.size()) < e->TextLength()) return true;
    // Whole: the disk's part runs in the background.
    Copy c = std::move(*copy_);
    copy_.reset();
    tracked_[c.serial].writing = true;
    ++writes_;
    const QString path = journal_.EntryPath(c.serial);
    auto job = std::make_shared<Copy>(std::move(c));
    QThreadPool::globalInstance()->start([this, path, job] {
        const bool ok = WriteJournalEntry(path, job->header, job->text, std::string_view());
        QMetaObject::invokeMethod(
            this, [this, job, ok] { written(job->serial, job->revision, ok, job->at); }, Qt::QueuedConnection);
    });
    return false;
}

void TRecoveryKeeper::written(int serial, unsigned long long revision, bool ok, const QDateTime &at) {
    --writes_;
    Tracked &t = tracked_[serial];
    t.writing = false;
    EditorCore *e = find(serial);
    if (!e || !e->Modified()) {
        // Saved or closed while it was written: the entry must not outlive it.
        journal_.Remove(serial);
        tracked_.erase(serial);
        return;
    }
    if (!ok) return; // tried again at the next tick
    t.hasEntry = true;
    t.written = revision;
    if (revision == e->Revision()) t.dirtySince = QDateTime();
    else t.dirtySince = at;
}

void TRecoveryKeeper::WaitForWrites() {
    while (writes_ > 0) {
        QThreadPool::globalInstance()->waitForDone(100);
        QCoreApplication::sendPostedEvents(this);
    }
}

} // namespace xo
