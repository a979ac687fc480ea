// libFuzzer target: the colouring of any text. The runs of a line cover it
// exactly; a part of it that starts where a run starts, coloured from the
// state there, gives the colours the whole line gives; the bounded backward
// scan looks no further than its limit.
#include "editor/html_coloring.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

std::string colours(std::string_view line, xo::ColorState st, int first, int last) {
    std::string out;
    for (const xo::ColorRun &r : xo::ColorLine(line, st, true, 0, 0, first, last)) {
        check(r.length > 0);
        out.append(size_t(r.length), char('0' + r.color));
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size < 2) return 0;
    const int cut = data[0], cut2 = data[1];
    const std::string line(reinterpret_cast<const char *>(data + 2), size - 2);
    const int n = int(line.size());
    const std::string all = colours(line, {}, 0, -1);
    check(int(all.size()) == n);
    xo::ColorState start;
    std::vector<int> boundaries{0};
    for (const xo::ColorRun &r : xo::ColorLine(line, start, true)) boundaries.push_back(boundaries.back() + r.length);
    const int from = boundaries[size_t(cut) % boundaries.size()];
    const int to = from + (n - from ? cut2 % (n - from + 1) : 0);
    xo::ColorState st;
    xo::ColorLine(line, st, true, 0, 0, 0, from);
    check(colours(line, st, from, to) == all.substr(size_t(from), size_t(to - from)));
    const int limit = 1 + cut2;
    int lowest = n + 1;
    auto at = [&](int p) {
        lowest = std::min(lowest, p);
        return p >= 1 && p <= n ? line[size_t(p - 1)] : '\0';
    };
    xo::ColorStateBefore(at, n + 1, limit);
    check(lowest >= n + 1 - limit - 1);
    return 0;
}
