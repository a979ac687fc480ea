#pragma once
// The recovery journal in the frame: kept while the program runs, offered
// back at the next start after a crash, removed at a normal exit.

#include "documents/subsystem.h"

namespace xo {

Subsystem RecoverySubsystem();

} // namespace xo
