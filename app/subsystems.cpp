#include "subsystems.h"

#include "dialogs/dialog_registration.h"
#include "search/search_commands.h"
#include "options/options_registration.h"
#include "recovery/recovery_registration.h"
#include "site/site_registration.h"
#include "spell/spell_registration.h"
#include "tables/table_registration.h"
#include "tagedit/tagedit_registration.h"
#include "tools/tools_registration.h"
#include "tags/tag_commands.h"

namespace xo {

std::vector<Subsystem> AllSubsystems() {
    return {OptionsSubsystem(), SearchSubsystem(), DialogsSubsystem(), TablesSubsystem(),
            TagsSubsystem(),     TagEditSubsystem(), ToolsSubsystem(),  SiteSubsystem(), RecoverySubsystem(),
            SpellSubsystem()};
}

QStringList ConfigOrder() {
    return {QStringLiteral("Main"),       QStringLiteral("Find"),          QStringLiteral("Replace"),
            QStringLiteral("Hierarchie"), QStringLiteral("ChooseBrowser"), QStringLiteral("ChooseDir"),
            QStringLiteral("TagAHref"),   QStringLiteral("SearchFiles"),   QStringLiteral("PredefinedDirs"),
            QStringLiteral("Spelling")};
}

} // namespace xo
