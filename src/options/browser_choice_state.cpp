#include "browser_choice_state.h"

#include "settings/compress_file.h"

namespace xo {

TChooseBrowserState ChooseBrowserState;

void TChooseBrowserState::Load(TCompressFile &f) {
    if (ReadSectionTag(f, "ChooseBrowser")) Index = f.ReadInteger();
}

void TChooseBrowserState::Save(TCompressFile &f) const {
    f.WriteString("ChooseBrowser");
    f.WriteInteger(Index);
}

} // namespace xo
