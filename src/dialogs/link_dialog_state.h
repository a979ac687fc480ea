#pragma once
#include <string>
#include <vector>

namespace xo {

class TCompressFile;

// "TagAHref": the hyperlink dialog's history of addresses, newest first.
struct TTagAHrefState {
    static constexpr int kStored = 100;
    std::vector<std::string> History;
    void Load(TCompressFile &f);
    void Save(TCompressFile &f) const;
};

extern TTagAHrefState TagAHrefState;

} // namespace xo
