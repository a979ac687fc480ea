#pragma once
// Keeps the journal up to date: a modified document is written within two
// seconds after typing stops, and at least every thirty seconds while it
// goes on. The text is copied in slices between keystrokes (a slice that
// finds the text changed starts over later) and written in the background,
// so that no keystroke waits for the disk.

#include "journal.h"

#include <QDateTime>
#include <QObject>
#include <QRect>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace xo {

struct KeptDocument {
    int serial = 0; // unique for the program's run
    EditorCore *editor = nullptr;
    QRect place;
};

class TRecoveryKeeper : public QObject {
    Q_OBJECT
public:
    static constexpr int kQuietMs = 1500;    // after the last change seen
    static constexpr int kAtLeastMs = 30000; // while changes go on

    explicit TRecoveryKeeper(TRecoveryJournal &journal);
    ~TRecoveryKeeper() override; // waits for the writes under way

    std::function<std::vector<KeptDocument>()> Documents;
    size_t SliceBytes = 2 << 20;

    // Looks at every document (called a few times a second); starts a copy when one is due.
    void Tick(const QDateTime &now);
    // Copies the next slice of a copy under way; true while more remain.
    // Runs on its own from the event loop; tests call it directly.
    bool Slice();
    bool Copying() const { return copy_.has_value(); }
    // Until every write has ended and been taken note of.
    void WaitForWrites();
    // The documents whose entry is up to date.
    bool EntryCurrent(int serial) const;

private:
    struct Tracked {
        bool seenAny = false, hasEntry = false, writing = false;
        unsigned long long seen = 0, written = 0;
        QDateTime changedAt, dirtySince;
    };
    struct Copy {
        int serial = 0;
        unsigned long long revision = 0;
        JournalEntry header;
        std::string text;
        QDateTime at;
    };
    EditorCore *find(int serial) const;
    void written(int serial, unsigned long long revision, bool ok, const QDateTime &at);

    TRecoveryJournal &journal_;
    std::map<int, Tracked> tracked_;
    std::optional<Copy> copy_;
    int writes_ = 0;
};

} // namespace xo
