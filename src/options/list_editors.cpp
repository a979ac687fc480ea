#include "list_editors.h"

#include "platform/cp1250.h"

namespace xo {

namespace {
QString text(const std::string &s) { return cp1250::decode(s); }
std::string bytes(const QString &s) { return cp1250::encode(s); }

// Entries from..last-1 move one place up (the last is lost); `from` is emptied.
template <class Table> void openAt(Table &t, int from, int last) {
    for (int i = last; i > from; --i) t[i] = t[i - 1];
    t[from] = {};
}
// Entries from+1..last move one place down; the last is emptied.
template <class Table> void closeAt(Table &t, int from, int last) {
    for (int i = from; i < last; ++i) t[i] = t[i + 1];
    t[last] = {};
}
} // namespace

void TStyleEditor::Load(const TTextStyles &styles) {
    Items = styles;
    Index = 1;
}

StyleFields TStyleEditor::Shown() const {
    const TTextStyle &s = Items[Index];
    return {text(s.Nazev), text(s.Pred), text(s.Za)};
}

void TStyleEditor::Store(const StyleFields &f) {
    TTextStyle &s = Items[Index];
    s.Nazev = bytes(f.name);
    s.Pred = bytes(f.before);
    s.Za = bytes(f.after);
}

bool TStyleEditor::PreviousEnabled(const QString &name) const {
    return Index > 1 && (!name.isEmpty() || Index == kLast || Items[Index + 1].Nazev.empty());
}

bool TStyleEditor::LeaveAllowed(const QString &name) const {
    return !name.isEmpty() || (Index == 1 && Items[2].Nazev.empty());
}

void TStyleEditor::Previous(const StyleFields &f) {
    if (Index <= 1) return;
    Store(f);
    --Index;
}

void TStyleEditor::Next(const StyleFields &f) {
    if (Index >= kLast || f.name.isEmpty()) return;
    Store(f);
    ++Index;
}

void TStyleEditor::Insert() {
    if (Index <= kLast - 1) openAt(Items, Index, kLast);
}

void TStyleEditor::Delete() { closeAt(Items, Index, kLast); }

QString FilterTagName(const QString &typed) {
    QString out;
    for (QChar c : typed.toUpper())
        if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')) out += c;
    return out;
}

void TUserTagEditor::Load(const TUserTags &tags) {
    Items = tags;
    Index = 1;
}

UserTagFields TUserTagEditor::Shown() const {
    const TUserTag &t = Items[Index];
    return {text(t.Name), text(t.Tag), text(t.Pars), text(t.Text), t.Pair};
}

void TUserTagEditor::Store(const UserTagFields &f) {
    TUserTag &t = Items[Index];
    t.Name = bytes(f.name);
    t.Tag = bytes(f.tag);
    t.Pars = bytes(f.pars);
    t.Text = bytes(f.text);
    t.Pair = f.pair;
}

bool TUserTagEditor::PreviousEnabled(const QString &name) const {
    return Index > 1 && (!name.isEmpty() || Items[Index + 1].Name.empty());
}

bool TUserTagEditor::LeaveAllowed(const QString &name) const {
    return !name.isEmpty() || (Index == 1 && Items[2].Name.empty());
}

void TUserTagEditor::Previous(const UserTagFields &f) {
    if (Index <= 1) return;
    Store(f);
    --Index;
}

void TUserTagEditor::Next(const UserTagFields &f) {
    if (Index >= kLast || f.name.isEmpty()) return;
    Store(f);
    ++Index;
}

void TUserTagEditor::Insert(const UserTagFields &f) {
    Store(f);
    if (Index <= TUserTags::kCount - 1) openAt(Items, Index, TUserTags::kCount);
}

void TUserTagEditor::Delete() { closeAt(Items, Index, TUserTags::kCount); }

} // namespace xo
