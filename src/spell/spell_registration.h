#pragma once
// Spelling while typing (the wavy marks, the suggestions in the editor's
// context menu, "Kontrola pravopisu") and the Czech non-breaking spaces.

#include "documents/subsystem.h"

namespace xo {

Subsystem SpellSubsystem();

} // namespace xo
