#include "document_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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

} // namespace

DocumentBytes NormalizeDocument(std::unique_ptr<char[]> raw, size_t size, size_t capacity) {
    DocumentBytes out;
    const char *b = raw.get();
    const char *end = b + size;
    // The first line end decides; a lone LF as the very last character does not count.
    bool dos = true;
    if (size >= 2) {
        const char *lf = findByte(b, end - 1, '\n');
        if (lf && !(lf > b && lf[-1] == '\r')) dos = false;
    }
    size_t lfs = 0, tabs = 0;
    for (const char *t = findByte(b, end, '\t'); t; t = findByte(t + 1, end, '\t')) ++tabs;
    if (!dos)
        for (const char *t = findByte(b, end, '\n'); t; t = findByte(t + 1, end, '\n')) ++lfs;

    if (lfs == 0 && tabs == 0) {
        out.data = std::move(raw);
        out.size = size;
        out.capacity = capacity;
    } else {
        const size_t newSize = size + lfs + 3 * tabs;
        const size_t cap = newSize + editingRoom(newSize);
        auto data = std::make_unique_for_overwrite<char[]>(cap);
        char *o = data.get();
        const char *p = b;
        const char *nextLf = dos ? nullptr : findByte(p, end, '\n');
        const char *nextTab = tabs ? findByte(p, end, '\t') : nullptr;
        while (nextLf || nextTab) {
            const bool isTab = nextTab && (!nextLf || nextTab < nextLf);
            const char *at = isTab ? nextTab : nextLf;
            std::memcpy(o, p, size_t(at - p));
            o += at - p;
            if (isTab) {
                std::memcpy(o, "    ", 4);
                o += 4;
                nextTab = findByte(at + 1, end, '\t');
            } else {
                *o++ = '\r';
                *o++ = '\n';
                nextLf = findByte(at + 1, end, '\n');
            }
            p = at + 1;
        }
        std::memcpy(o, p, size_t(end - p));
        o += end - p;
        out.data = std::move(data);
        out.size = size_t(o - out.data.get());
        out.capacity = cap;
    }
    if (out.size > 0 && out.data[out.size - 1] == 26) --out.size;
    out.dosLineEnds = dos;
    return out;
}

ReadStatus ReadDocumentFile(const QString &fileName, DocumentBytes &out) {
    const QFileInfo info(fileName);
    // Never a FIFO or a device: reading one could block for ever.
    if (!info.isFile()) return ReadStatus::Failed;
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return ReadStatus::Failed;
    const qint64 size = f.size();
    if (size < 0 || size > qint64(INT32_MAX) / 2) return ReadStatus::Failed;
    const size_t cap = size_t(size) + editingRoom(size_t(size));
    auto data = std::make_unique_for_overwrite<char[]>(cap);
    qint64 done = 0;
    while (done < size) {
        const qint64 got = f.read(data.get() + done, size - done);
        if (got <= 0) break;
        done += got;
    }
    // A file that shrank or failed underway is not loaded half.
    if (done != size) return ReadStatus::Failed;
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
    explicit ChunkWriter(QSaveFile &f) : f_(f) { buf_.reserve(kChunk); }
    void put(const char *p, size_t n) {
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
    void write(const char *p, size_t n) {
        if (ok_ && f_.write(p, qint64(n)) != qint64(n)) ok_ = false;
    }
    static constexpr size_t kChunk = 1 << 20;
    QSaveFile &f_;
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

void keepBackup(const QString &fileName) {
    const QString bak = BackupFileName(fileName);
    if (bak == fileName || !QFileInfo(fileName).isFile()) return;
    QFile::remove(bak);
    // A second name for the old file costs nothing; copy where links are not possible.
    if (::link(QFile::encodeName(fileName).constData(), QFile::encodeName(bak).constData()) != 0)
        QFile::copy(fileName, bak);
}

} // namespace

bool WriteDocumentFile(const QString &fileName, std::string_view first, std::string_view second, bool dosLineEnds,
                       bool backup) {
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly)) return false;
    ChunkWriter w(f);
    if (dosLineEnds) {
        w.put(first.data(), first.size());
        w.put(second.data(), second.size());
    } else {
        writeUnix(w, first, second);
    }
    w.flush();
    if (!w.ok()) {
        f.cancelWriting();
        return false;
    }
    if (backup) keepBackup(fileName);
    return f.commit();
}

} // namespace xo
