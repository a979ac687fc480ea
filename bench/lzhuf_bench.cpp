// LZHUF throughput: compresses and decompresses generated HTML and prints MB/s.
//   build/bench/xo_bench_lzhuf [megabytes]
#include "settings/lzhuf.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

int main(int argc, char **argv) {
    const size_t mb = argc > 1 ? size_t(std::atol(argv[1])) : 4;
    std::string s;
    std::mt19937 rng(1);
    const char *words[] = {"<P>", "<A href=\"index.htm\">", "</A>", "tabulka", "stránka", "Xo", "<TD width=100>",
                           "\r\n", "obrázek", "<B>", "</B>"};
    while (s.size() < (mb << 20)) {
        s += words[rng() % 11];
        s += ' ';
    }
    const auto *data = reinterpret_cast<const uint8_t *>(s.data());
    using Clock = std::chrono::steady_clock;
    auto t = Clock::now();
    const auto code = xo::lzhuf::Encode(data, s.size());
    const double enc = std::chrono::duration<double>(Clock::now() - t).count();
    std::vector<uint8_t> back;
    t = Clock::now();
    xo::lzhuf::Decode(code.data(), code.size(), s.size(), back);
    const double dec = std::chrono::duration<double>(Clock::now() - t).count();
    const double size = double(s.size()) / 1048576.0;
    std::printf("content %.1f MB, code %.1f MB (%.0f%%)\n", size, double(code.size()) / 1048576.0,
                100.0 * double(code.size()) / double(s.size()));
    std::printf("compress   %8.2f MB/s\n", size / enc);
    std::printf("decompress %8.2f MB/s\n", size / dec);
    if (back.size() != s.size() || !std::equal(back.begin(), back.end(), data)) {
        std::puts("round trip failed!");
        return 1;
    }
    return 0;
}
