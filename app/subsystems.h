#pragma once
// The subsystems that make up the program, in the order they join the frame.

#include "documents/subsystem.h"

#include <QStringList>

namespace xo {

std::vector<Subsystem> AllSubsystems();

// The sections of the configuration file in the file's order, by name:
// the frame's "Main" and "PredefinedDirs" and the subsystems' sections.
QStringList ConfigOrder();

} // namespace xo
