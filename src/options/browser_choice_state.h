#pragma once

namespace xo {

class TCompressFile;

// "ChooseBrowser": the browser last chosen when both are defined.
struct TChooseBrowserState {
    int Index = 0;
    void Load(TCompressFile &f);
    void Save(TCompressFile &f) const;
};

extern TChooseBrowserState ChooseBrowserState;

} // namespace xo
