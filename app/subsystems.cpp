#include "subsystems.h"

#include "dialogs/dialog_registration.h"
#include "editor/search_commands.h"
#include "settings/settings_registration.h"
#include "site/site_registration.h"
#include "tables/table_registration.h"
#include "tagedit/tagedit_registration.h"
#include "tools/tools_registration.h"
#include "tags/tag_commands.h"

namespace xo {

std::vector<Subsystem> AllSubsystems() {
    return {SettingsSubsystem(), SearchSubsystem(), DialogsSubsystem(), TablesSubsystem(),
            TagsSubsystem(),     TagEditSubsystem(), ToolsSubsystem(),  SiteSubsystem()};
}

} // namespace xo
