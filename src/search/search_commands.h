#pragma once
// The search subsystem's part in the frame: find, replace, find next and go
// to line, with their dialogs and configuration sections.

#include "documents/subsystem.h"

namespace xo {

Subsystem SearchSubsystem();

} // namespace xo
