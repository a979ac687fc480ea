#pragma once
// The document check: one pass over the text that stops at the first fault
// of the tag structure (brackets, quotes, names, "=", pairs, nesting,
// FRAMESET with BODY).

#include <QString>
#include <string>

namespace xo {

class EditorCore;

struct CheckResult {
    int code = 0;      // 0: no fault; 1 to 13
    int position = 0;  // where the check stopped (an offset into the text)
    QString message;
};

CheckResult CheckDocument(const EditorCore &editor);
// The command: the check, the caret at the fault, the message, the status text.
void CheckActiveDocument();

} // namespace xo
