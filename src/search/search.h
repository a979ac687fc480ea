#pragma once
// Find, replace and find next over the active editor, with the one search
// request the whole program shares.

#include <string>

namespace xo {

class EditorCore;

struct TEditSearchRec {
    std::string FindText;    // code page 1250
    std::string ReplaceText;
    bool MatchCase = false;
    bool ReplaceAll = false;
    bool PromptOnReplace = false;
    bool ReplaceMode = false;
};

extern TEditSearchRec SearchRec;

// Runs the request in SearchRec from the caret: finds, or replaces (all,
// with or without asking), reporting what it did not find.
void FindNext(EditorCore &editor);

} // namespace xo
