#include "document_file.h"
#include "utf8_text.h"

#include "platform/safe_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <utility>
#include <string>
#include <unistd.h>

namespace xo {

namespace {

// Editing room left after a loaded text: enough that typing never has to
// reallocate a large document at once.
size_t editingRoom(size_t size) { return size / 32 + 65536; }

const char *findByte(const char *p, const char *end, char c) {
    return static_cast<const char *>(std::memchr(p, c, size_t(end - p)));
}


size_t countByte(const char *p, const char *end, char c) {
    size_t n = 0;
    for (const char *t = findByte(p, end, c); t; t = findByte(t + 1, end, c)) ++n;
    return n;
}

// Expands, from the back and in place, each tab to four spaces and (for a
// Unix file) each LF to CR LF. The buffer must hold the grown text. Returns
// the line starts the LFs make, in ascending order.
std::vector<int> expandInPlace(char *b, size_t size, size_t newSize, bool unixFile, size_t lfs) {
    std::vector<int> starts;
    if (unixFile) starts.reserve(lfs + 1);
    size_t src = size, dst = newSize;
    const char *lf = unixFile ? static_cast<const char *>(memrchr(b, '\n', src)) : nullptr;
    const char *tab = static_cast<const char *>(memrchr(b, '\t', src));
    while (lf || tab) {
        const bool isTab = tab && (!lf || tab > lf);
        const size_t k = size_t((isTab ? tab : lf) - b);
        const size_t tail = src - k - 1;
        dst -= tail;
        std::memmove(b + dst, b + k + 1, tail);
        if (isTab) {
            dst -= 4;
            std::memcpy(b + dst, "    ", 4);
            tab = k ? static_cast<const char *>(memrchr(b, '\t', k)) : nullptr;
        } else {
            dst -= 2;
            b[dst] = '\r';
            b[dst + 1] = '\n';
            starts.push_back(int(dst + 2));
            lf = k ? static_cast<const char *>(memrchr(b, '\n', k)) : nullptr;
        }
        src = k;
    }
    if (unixFile) {
        starts.push_back(0);
        std::reverse(starts.begin(), starts.end());
    }
    return starts;
}

} // namespace

namespace {

// The first line end decides; a lone LF as the very last character does not count.
bool isDos(const char *b, size_t size) {
    if (size < 2) return true;
    const char *lf = findByte(b, b + size - 1, '\n');
    return !(lf && !(lf > b && lf[-1] == '\r'));
}

} // namespace

size_t NormalizedSize(const char *b, size_t size) {
    const size_t lfs = isDos(b, size) ? 0 : countByte(b, b + size, '\n');
    return size + lfs + 3 * countByte(b, b + size, '\t');
}

DocumentBytes NormalizeDocument(std::unique_ptr<char[]> raw, size_t size, size_t capacity) {
    DocumentBytes out;
    const char *b = raw.get();
    const char *end = b + size;
    const bool dos = isDos(b, size);
    const size_t tabs = countByte(b, end, '\t');
    const size_t lfs = dos ? 0 : countByte(b, end, '\n');
    const size_t newSize = size + lfs + 3 * tabs;
    if (newSize + editingRoom(newSize) / 2 > capacity) {
        // Short lines grew the text beyond the room read ahead for it.
        const size_t cap = newSize + editingRoom(newSize);
        auto bigger = std::make_unique_for_overwrite<char[]>(cap);
        std::memcpy(bigger.get(), raw.get(), size);
        raw = std::move(bigger);
        capacity = cap;
    }
    if (lfs || tabs) out.lineStarts = expandInPlace(raw.get(), size, newSize, !dos, lfs);
    out.data = std::move(raw);
    out.size = newSize;
    out.capacity = capacity;
    if (out.size > 0 && out.data[out.size - 1] == 26) --out.size;
    out.dosLineEnds = dos;
    return out;
}

ReadStatus DocumentFromBytes(std::string_view bytes, bool utf8, DocumentBytes &out) {
    if (bytes.size() > kMaxDocumentText) return ReadStatus::TooLarge;
    const size_t size = bytes.size();
    const size_t cap = size + size / 8 + editingRoom(size);
    auto data = std::make_unique_for_overwrite<char[]>(cap);
    memcpy(data.get(), bytes.data(), size);
    size_t n = size, room = cap;
    bool bom = false;
    int references = 0;
    if (utf8 && !ConvertUtf8Document(data, size, room, editingRoom, n, bom, references)) n = size; // plain ASCII
    if (NormalizedSize(data.get(), n) > kMaxDocumentText) return ReadStatus::TooLarge;
    out = NormalizeDocument(std::move(data), n, room);
    out.utf8 = utf8;
    out.bom = bom;
    out.references = references;
    return ReadStatus::Ok;
}

ReadStatus ReadDocumentFile(const QString &fileName, DocumentBytes &out) {
    const QFileInfo info(fileName);
    // Never a FIFO or a device: reading one could block for ever.
    if (!info.isFile()) return ReadStatus::Failed;
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return ReadStatus::Failed;
    const qint64 size = f.size();
    if (size < 0) return ReadStatus::Failed;
    if (size_t(size) > kMaxDocumentText) return ReadStatus::TooLarge;
    // Room for the growth of a Unix file or of tabs; pages never written
    // cost no memory.
    const size_t cap = size_t(size) + size_t(size) / 8 + editingRoom(size_t(size));
    auto data = std::make_unique_for_overwrite<char[]>(cap);
    qint64 done = 0;
    while (done < size) {
        const qint64 got = f.read(data.get() + done, size - done);
        if (got <= 0) break;
        done += got;
    }
    // A file that shrank or failed underway is not loaded half.
    if (done != size) return ReadStatus::Failed;
    {
        // A UTF-8 file becomes code page 1250 first; line ends and tabs then as always.
        size_t n = 0, room = cap;
        bool bom = false;
        int references = 0;
        if (ConvertUtf8Document(data, size_t(size), room, editingRoom, n, bom, references)) {
            if (n > kMaxDocumentText || NormalizedSize(data.get(), n) > kMaxDocumentText) return ReadStatus::TooLarge;
            out = NormalizeDocument(std::move(data), n, room);
            out.utf8 = true;
            out.bom = bom;
            out.references = references;
            return ReadStatus::Ok;
        }
    }
    // Tabs and Unix line ends grow the text: checked before anything grows.
    if (NormalizedSize(data.get(), size_t(size)) > kMaxDocumentText) return ReadStatus::TooLarge;
    out = NormalizeDocument(std::move(data), size_t(size), cap);
    return ReadStatus::Ok;
}

QString BackupFileName(const QString &fileName) {
    const qsizetype slash = fileName.lastIndexOf(u'/');
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot > slash) return fileName.left(dot) + QStringLiteral(".bak");
    return fileName + QStringLiteral(".bak");
}

namespace {

// Collects output in large pieces so a document of many lines is not
// written with millions of small calls.
class ChunkWriter {
public:
    ChunkWriter(platform::SafeFile &f, bool utf8, TextTally *tally) : f_(f), utf8_(utf8), tally_(tally) {
        buf_.reserve(kChunk + 3);
    }
    void put(const char *p, size_t n) {
        if (utf8_) return putUtf8(p, n);
        if (n >= kChunk) {
            flush();
            write(p, n);
            return;
        }
        if (buf_.size() + n > kChunk) flush();
        buf_.append(p, n);
    }
    void flush() {
        if (!buf_.empty()) write(buf_.data(), buf_.size());
        buf_.clear();
    }
    bool ok() const { return ok_; }

private:
    // Each code-page byte as its UTF-8 sequence.
    void putUtf8(const char *p, size_t n) {
        char seq[3];
        for (size_t i = 0; i < n; ++i) {
            const unsigned char c = static_cast<unsigned char>(p[i]);
            if (c < 0x80)
                buf_ += char(c);
            else
                buf_.append(seq, size_t(Cp1250ByteToUtf8(c, seq)));
            if (buf_.size() >= kChunk) flush();
        }
    }
    void write(const char *p, size_t n) {
        if (ok_ && !f_.write(p, n)) ok_ = false;
        if (tally_) tally_->add(p, n);
    }
    static constexpr size_t kChunk = 1 << 20;
    platform::SafeFile &f_;
    bool utf8_;
    TextTally *tally_;
    std::string buf_;
    bool ok_ = true;
};

void writeUnix(ChunkWriter &w, std::string_view first, std::string_view second) {
    // Offsets run over the two pieces as one text.
    const size_t split = first.size();
    const size_t n = first.size() + second.size();
    auto at = [&](size_t i) { return i < split ? first[i] : second[i - split]; };
    auto copyOut = [&](size_t from, size_t to) {
        if (from < split) {
            const size_t e = std::min(to, split);
            w.put(first.data() + from, e - from);
            from = e;
        }
        if (from < to) w.put(second.data() + (from - split), to - from);
    };
    size_t p = 0;
    for (const auto &[part, base] : {std::pair{first, size_t(0)}, std::pair{second, split}}) {
        if (part.empty()) continue;
        const char *end = part.data() + part.size();
        for (const char *lf = findByte(part.data(), end, '\n'); lf; lf = findByte(lf + 1, end, '\n')) {
            const size_t i = base + size_t(lf - part.data());
            if (i > 0 && at(i - 1) == '\r') {
                copyOut(p, i - 1);
                w.put("\n", 1);
                p = i + 1;
            }
        }
    }
    copyOut(p, n);
    // Every line ends with an LF, the last one too.
    if (n > 0 && !(n >= 2 && at(n - 1) == '\n' && at(n - 2) == '\r')) w.put("\n", 1);
}

// The backup takes the document's name with ".bak" and holds the old
// content of the file really replaced (behind a symbolic link, the link's target).
void keepBackup(const QString &fileName, const QString &replaced) {
    const QString bak = BackupFileName(fileName);
    if (bak == fileName || !platform::IsRegularFile(replaced)) return;
    QFile::remove(bak);
    // A second name for the old file costs nothing; copy where links are not possible.
    if (::link(QFile::encodeName(replaced).constData(), QFile::encodeName(bak).constData()) != 0)
        QFile::copy(replaced, bak);
}

} // namespace

void TextTally::add(const char *p, size_t n) {
    bytes += n;
    for (size_t i = 0; i < n; ++i) {
        fnv ^= static_cast<unsigned char>(p[i]);
        fnv *= 1099511628211ull;
    }
}

bool WriteDocumentText(platform::SafeFile &f, std::string_view first, std::string_view second, bool dosLineEnds,
                       bool utf8, bool bom, TextTally *tally) {
    if (utf8 && bom) {
        if (!f.write("\xEF\xBB\xBF", 3)) return false;
        if (tally) tally->add("\xEF\xBB\xBF", 3);
    }
    ChunkWriter w(f, utf8, tally);
    if (dosLineEnds) {
        w.put(first.data(), first.size());
        w.put(second.data(), second.size());
    } else {
        writeUnix(w, first, second);
    }
    w.flush();
    return w.ok();
}

bool WriteDocumentFile(const QString &fileName, std::string_view first, std::string_view second, bool dosLineEnds,
                       bool backup, bool utf8, bool bom) {
    platform::SafeFile f(fileName);
    if (!f.open()) return false;
    if (!WriteDocumentText(f, first, second, dosLineEnds, utf8, bom)) return false; // the old file stays as it was
    return f.commit([&](const QString &replaced) {
        if (backup) keepBackup(fileName, replaced);
    });
}

} // namespace xo
