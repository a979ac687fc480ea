#pragma once
// The ready-made JavaScript features: functions in the SCRIPT element of the
// page head (each added once), a call in the BODY tag's onload (merged into
// an existing onload function where possible), and HTML at the caret.

#include <functional>
#include <string>

namespace xo {

enum ScriptSnippet {
    kBackButton = 1,
    kClock = 2,
    kDate = 3,
    kRollText = 4,
    kReferenceTitle = 6,
    kDynamicImageLink = 7,
    kDialToContinue = 8,
    kButtonReference = 9,
    kHelloByTime = 10,
};

// `linkCommand` runs the link command at the caret and says whether it
// wrote a link (used by the link with a status-line text).
void InsertScriptSnippet(int kind, const std::function<bool()> &linkCommand = {});

// Both work at the active editor's caret; `offset`, where the caret HTML
// goes, moves with every insertion made at or before it.
bool AddScriptFunction(const std::string &name, const std::string &code, int &offset);
void AddOnLoadCall(const std::string &call, int &offset);

} // namespace xo
