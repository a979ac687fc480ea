#pragma once
// The editor's linear undo list: at most 99 records, the oldest lost first.

#include <deque>
#include <string>
#include <vector>

namespace xo {

struct UndoRecord {
    // Stamps: stretches replaced at once and undone together in one step (the
    // date and time values a save refreshed, the whole text of a reload); a
    // and b hold the selection before, each part a = start, b = end of the
    // new value and the old value as text.
    enum Kind { Empty = 0, Insertion = 1, Deletion = 2, Selection = 3, Stamps = 4 };
    Kind kind = Empty;
    int a = 0;           // insertion start / deletion place / SelStart
    int b = 0;           // insertion end / SelEnd
    std::string text;    // the deleted text
    bool caretAtStart = false;
    std::vector<UndoRecord> parts; // Stamps: in the order they were written
};

class UndoList {
public:
    static constexpr int kCapacity = 99;

    bool empty() const { return records_.empty(); }
    int count() const { return int(records_.size()); }
    // The top record; only when the list is not empty.
    UndoRecord &top() { return records_.back(); }
    UndoRecord::Kind topKind() const { return records_.empty() ? UndoRecord::Empty : records_.back().kind; }
    const UndoRecord &at(int i) const { return records_.at(size_t(i)); } // 0 = oldest

    void push(UndoRecord r) {
        if (records_.size() == kCapacity) records_.pop_front();
        records_.push_back(std::move(r));
    }
    void pop() {
        if (!records_.empty()) records_.pop_back();
    }
    void clear() { records_.clear(); }

private:
    std::deque<UndoRecord> records_;
};

} // namespace xo
