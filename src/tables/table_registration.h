#pragma once
// The table dialogs and the interactive table editor in the frame, created
// once at their places in the program's dialog order.

#include "documents/subsystem.h"

namespace xo {

Subsystem TablesSubsystem();

} // namespace xo
