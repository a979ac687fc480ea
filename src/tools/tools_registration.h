#pragma once
// The document tools and the information window in the frame.

#include "documents/subsystem.h"

namespace xo {

Subsystem ToolsSubsystem();

} // namespace xo
