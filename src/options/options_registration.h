#pragma once
// The options dialog and the external browsers in the frame.

#include "documents/subsystem.h"

namespace xo {

Subsystem OptionsSubsystem();

} // namespace xo
