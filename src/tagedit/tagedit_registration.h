#pragma once
// The commands on the tag under the caret in the frame.

#include "documents/subsystem.h"

namespace xo {

Subsystem TagEditSubsystem();

} // namespace xo
