#pragma once
// The options dialog's working copies of the text styles and the user tags:
// one entry shown at a time, stepped through, inserted and deleted, with the
// rules for the buttons and for leaving the page.

#include "settings/settings.h"

#include <QString>

namespace xo {

struct StyleFields {
    QString name, before, after;
};

class TStyleEditor {
public:
    static constexpr int kLast = 50;
    TTextStyles Items;
    int Index = 1;

    void Load(const TTextStyles &styles);
    StyleFields Shown() const;
    void Store(const StyleFields &f);
    // The buttons for the name now in the field.
    bool PreviousEnabled(const QString &name) const;
    bool NextEnabled(const QString &name) const { return !name.isEmpty(); }
    bool InsertEnabled(const QString &name) const { return !name.isEmpty(); }
    // OK and switching pages: a named entry, or an empty table.
    bool LeaveAllowed(const QString &name) const;
    void Previous(const StyleFields &f);
    void Next(const StyleFields &f);
    void Insert();
    void Delete();
};

struct UserTagFields {
    QString name, tag, pars, text;
    bool pair = false;
};

// The tag field's content once it is left: digits and capitals only.
QString FilterTagName(const QString &typed);

class TUserTagEditor {
public:
    static constexpr int kLast = 49; // the page reaches entries 1 to 49
    TUserTags Items;
    int Index = 1;

    void Load(const TUserTags &tags);
    UserTagFields Shown() const;
    void Store(const UserTagFields &f);
    bool PreviousEnabled(const QString &name) const;
    bool NextEnabled(const QString &name) const { return !name.isEmpty(); }
    bool InsertEnabled(const QString &name) const { return !name.isEmpty(); }
    bool LeaveAllowed(const QString &name) const;
    void Previous(const UserTagFields &f);
    void Next(const UserTagFields &f);
    void Insert(const UserTagFields &f); // stores the shown entry first
    void Delete();
};

} // namespace xo
