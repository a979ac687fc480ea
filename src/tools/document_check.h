#pragma once
// The document check: one pass over the text that stops at the first fault
// of the tag structure (brackets, quotes, names, "=", pairs, nesting,
// FRAMESET with BODY).

#include <QString>
#include <string>

namespace xo {

class EditorCore;

struct CheckResult {
    int code = 0;      // 0: no fault; 1 to 13 (100 for a fault under HTML5 rules)
    int position = 0;  // where the check stopped (an offset into the text)
    QString message;
    bool html5 = false; // checked by the HTML5 rules
};

// The check of a document by the rules its first tag chooses (the HTML5
// doctype, or the old rules); the command and `xo --check` both use it.
CheckResult CheckDocument(const EditorCore &editor);
// "MESSAGE" or "MESSAGE (pravidla HTML5)", as the result box shows it.
QString CheckResultText(const CheckResult &r);
// The command: the check, the caret at the fault, the message, the status text.
void CheckActiveDocument();

} // namespace xo
