#include "subsystems.h"

#include "editor/search_commands.h"
#include "tags/tag_commands.h"

namespace xo {

std::vector<Subsystem> AllSubsystems() { return {SearchSubsystem(), TagsSubsystem()}; }

} // namespace xo
