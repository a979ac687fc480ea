#pragma once
// The tag commands in the frame: the "&Entity" menu with its submenus, the
// three tag toolbars with their secondary clicks and drop-downs. Commands
// whose dialogs come later stand in place, disabled.

#include "documents/subsystem.h"

namespace xo {

Subsystem TagsSubsystem();

// Set by the link command: true when its dialog was confirmed.
extern bool LinkInserted;
// The heading buttons' secondary click; `button` is the button's name ("btH3").
void RightClickHx(const QString &button);

// The addresses the reference and counter commands write (our own, under
// the reserved example domain).
extern const char *const kHomePage;
extern const char *const kBadgeImage;
extern const char *const kCounterService;
extern const char *const kCounterName;

} // namespace xo
