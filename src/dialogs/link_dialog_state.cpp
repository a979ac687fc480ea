#include "link_dialog_state.h"

#include "settings/compress_file.h"

#include <algorithm>

namespace xo {

TTagAHrefState TagAHrefState;

void TTagAHrefState::Load(TCompressFile &f) {
    if (!ReadSectionTag(f, "TagAHref")) return;
    History = f.ReadStrings();
}

void TTagAHrefState::Save(TCompressFile &f) const {
    f.WriteString("TagAHref");
    const int n = std::min<int>(int(History.size()), kStored);
    f.WriteInteger(n);
    for (int i = 0; i < n; ++i) f.WriteString(History[size_t(i)]);
}

} // namespace xo
