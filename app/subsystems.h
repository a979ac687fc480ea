#pragma once
// The subsystems that make up the program, in the order they join the frame.

#include "documents/subsystem.h"

namespace xo {

std::vector<Subsystem> AllSubsystems();

} // namespace xo
