#pragma once
// The commands on the tag under the caret of the active document: delete it
// with its partner, re-edit it in its dialog, pick the colour written at the
// caret, and open help on the tag. Plain functions over the editor; every
// message, question, dialog, clipboard use and help request goes through
// the platform layer and the dialogs interface.

#include <string>

namespace xo {

class EditorCore;

void DeleteTagUnderCaret();   // Ctrl+D
void ReeditTagUnderCaret();   // Ctrl+E
void ChooseColorAtCaret();
void HelpOnTagUnderCaret();   // Ctrl+F1

// The help context for the tag name (upper case) the help command found.
int HelpContextOfTag(const std::string &name);

} // namespace xo
