#pragma once
// Access to the program's help file, opened at numbered topics.

#include <QString>

namespace xo {

// The help file; emptied for the rest of the run when it cannot be shown.
extern QString HelpFileName;

// Where the help file lies for a program file: beside it, in ../share/B/,
// in the XDG data directories; the first candidate when none exists.
QString LocateHelpFile(const QString &programFile);

void ShowHelpContext(int context);
void QuitHelp();

// The real help viewer: a window showing the HTML help file at the anchor
// "ctx<N>". False when the file cannot be read.
bool ShowHelpWindow(const QString &file, int context);
void CloseHelpWindow();

} // namespace xo
