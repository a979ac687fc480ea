#include "subsystems.h"

#include "editor/search_commands.h"

namespace xo {

std::vector<Subsystem> AllSubsystems() { return {SearchSubsystem()}; }

} // namespace xo
