#pragma once
// The whole configuration file as the tests read it: every section of the
// layout in its order, from the plain data types of their owners.

#include "dialogs/link_dialog_state.h"
#include "documents/config_content.h"
#include "options/browser_choice_state.h"
#include "search/find_dialogs.h"
#include "site/site_state.h"

#include <optional>

namespace xo::test {

struct ConfigFile {
    bool signatureOk = false;
    std::optional<ConfigMain> main; // absent when the "Main" tag was not found
    std::optional<FindSection> find;
    std::optional<ReplaceSection> replace;
    THierarchieState hierarchie;
    TChooseBrowserState chooseBrowser;
    TChooseDirState chooseDir;
    TTagAHrefState tagAHref;
    TSearchFilesState searchFiles;
    QStringList predefinedDirs;
    bool specialOpenSave = false;
    TSpellingState spelling;
    bool damaged = false;

    // Stops after the signature when it is wrong.
    void Read(TCompressFile &f);
    void Write(TCompressFile &f) const;
};

} // namespace xo::test
