#pragma once
// The tag dialogs in the frame: created once at their places in the
// program's dialog order, reachable through the dialogs interface.

#include "documents/subsystem.h"

namespace xo {

Subsystem DialogsSubsystem();

} // namespace xo
