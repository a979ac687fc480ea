#pragma once
// The site tools in the frame.

#include "documents/subsystem.h"

namespace xo {

Subsystem SiteSubsystem();

} // namespace xo
