// libFuzzer target: any file content given to the document loader. The
// normalised text must have no tab, Unix files must gain their CRs, the size
// must be what the size check predicted, and the line index built from the
// loader's line starts must agree with a plain scan; then edits at places
// the input chooses must keep the index right.
#include "editor/document_file.h"
#include "editor/text_buffer.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

void checkIndex(const xo::TextBuffer &b) {
    std::vector<int> starts{0};
    for (int i = 0; i + 1 < b.size(); ++i)
        if (b.at(i) == '\r' && b.at(i + 1) == '\n') starts.push_back(i + 2);
    check(b.lineCount() == int(starts.size()));
    for (size_t l = 0; l < starts.size(); ++l) {
        check(b.lineStart(int(l)) == starts[l]);
        check(b.lineOf(starts[l]) == int(l));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const size_t predicted = xo::NormalizedSize(reinterpret_cast<const char *>(data), size);
    const size_t capacity = size + size / 8 + 64;
    auto raw = std::make_unique<char[]>(capacity);
    std::memcpy(raw.get(), data, size);
    xo::DocumentBytes doc = xo::NormalizeDocument(std::move(raw), size, capacity);
    check(doc.size == predicted || (doc.size + 1 == predicted && predicted > 0));
    check(std::memchr(doc.data.get(), '\t', doc.size) == nullptr);
    if (!doc.dosLineEnds)
        for (size_t i = 0; i < doc.size; ++i) check(doc.data[i] != '\n' || (i > 0 && doc.data[i - 1] == '\r'));
    xo::TextBuffer b;
    const std::string text(doc.data.get(), doc.size);
    b.adopt(std::move(doc.data), doc.size, doc.capacity, std::move(doc.lineStarts));
    checkIndex(b);
    // A few edits where the input says, each followed by the full check.
    for (size_t k = 0; k + 2 < size && k < 24; k += 3) {
        const int at = b.size() ? data[k] % (b.size() + 1) : 0;
        if (data[k + 1] & 1) {
            b.insert(at, data[k + 2] & 2 ? "\r\n" : "\n\r");
        } else {
            b.erase(at, std::min(int(data[k + 2] % 4), b.size() - at));
        }
        checkIndex(b);
    }
    return 0;
}
