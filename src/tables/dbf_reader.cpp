#include "dbf_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <vector>

namespace xo {

size_t TMemorySource::ReadAt(uint64_t offset, char *buffer, size_t count) {
    if (offset >= bytes_.size()) return 0;
    const size_t n = std::min<uint64_t>(count, bytes_.size() - offset);
    std::memcpy(buffer, bytes_.data() + offset, n);
    return n;
}

namespace {

class FileSource : public TByteSource {
public:
    explicit FileSource(const QString &name) : file_(name) {}
    bool open() { return QFileInfo(file_.fileName()).isFile() && file_.open(QIODevice::ReadOnly); }
    size_t ReadAt(uint64_t offset, char *buffer, size_t count) override {
        if (offset > uint64_t(file_.size()) || !file_.seek(qint64(offset))) return 0;
        const qint64 n = file_.read(buffer, qint64(count));
        return n < 0 ? 0 : size_t(n);
    }
    uint64_t Size() const override { return uint64_t(file_.size()); }

private:
    QFile file_;
};

constexpr int kMaxFields = 200;
constexpr uint64_t kLowestMemo = 512;
constexpr int kSkippedBlock = 263;

uint32_t bigEndian(const unsigned char *p, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = v << 8 | p[i];
    return v;
}

// The memo block number a field holds as text: a whole decimal number
// between spaces, else 0.
uint64_t blockNumber(const std::string &text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return 0;
    const size_t last = text.find_last_not_of(' ');
    uint64_t v = 0;
    for (size_t i = first; i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9' || v > (uint64_t(1) << 40)) return 0;
        v = v * 10 + uint64_t(text[i] - '0');
    }
    return v;
}

struct Field {
    std::string name;
    char type = 0;
    int length = 0;
    size_t offset = 0;
};

class Reader {
public:
    Reader(TByteSource &dbf, TByteSource *fpt, const DbfCellSink &cell, const DbfMessageSink &message,
           uint64_t textLimit)
        : dbf_(dbf), fpt_(fpt), cell_(cell), message_(message), textLeft_(textLimit) {}

    void run() {
        if (fpt_) {
            unsigned char head[8];
            if (fpt_->ReadAt(0, reinterpret_cast<char *>(head), 8) < 8) return fail("Chyba při čtení souboru FPT");
            blockSize_ = bigEndian(head + 6, 2);
        }
        unsigned char header[32];
        if (dbf_.ReadAt(0, reinterpret_cast<char *>(header), 32) < 32) return fail("Chyba při čtení souboru DBF");
        const uint32_t count = uint32_t(header[4]) | uint32_t(header[5]) << 8 | uint32_t(header[6]) << 16 |
                               uint32_t(header[7]) << 24;
        if (count == 0) return fail("Tabulka neobsahuje žádné záznamy");
        if (!readFields()) return;
        for (uint32_t r = 0; r < count; ++r)
            if (!readRecord(r)) return;
    }

private:
    void fail(const char *text) { message_(QString::fromUtf8(text)); }

    bool readFields() {
        size_t recordLength = 0;
        for (uint64_t at = 32;; at += 32) {
            unsigned char d[32];
            const size_t got = dbf_.ReadAt(at, reinterpret_cast<char *>(d), 32);
            // The terminator may stand in the file's last bytes.
            if (got >= 1 && d[0] <= 13) {
                if (d[0] != 0x0D) return fail("Chybná struktura souboru DBF"), false;
                // Without the 263-byte block the byte after the terminator is
                // the first record's deletion flag: a space, or "*" when deleted.
                skipBlock_ = got >= 2 && d[1] != ' ' && d[1] != '*';
                recordLength_ = recordLength + 1;
                return true;
            }
            if (got < 32) return fail("Chyba při čtení souboru DBF"), false;
            Field f;
            for (int i = 0; i < 11 && d[i]; ++i) {
                if (d[i] < 0x20 || d[i] > 0x7F) return fail("Chybná struktura souboru DBF"), false;
                f.name += char(d[i]);
            }
            if (!cell_(int(fields_.size()), 0, f.name)) return false;
            f.type = char(d[11]);
            f.length = d[16];
            f.offset = recordLength;
            recordLength += size_t(f.length);
            fields_.push_back(f);
            switch (f.type) {
            case 'C':
            case 'D':
            case 'L':
            case 'N':
                break;
            case 'M':
                if (!fpt_) fail("Soubor FPT neexistuje");
                break;
            default:
                return fail("Chybná struktura souboru DBF"), false;
            }
            if (int(fields_.size()) == kMaxFields) return fail("Tabulka obsahuje příliš mnoho sloupců"), false;
        }
    }

    bool readRecord(uint32_t r) {
        const uint64_t position = 32 + 32 * uint64_t(fields_.size()) + 2 + uint64_t(recordLength_) * r +
                                  (skipBlock_ ? kSkippedBlock : 0);
        std::vector<char> record(recordLength_, 0);
        const size_t got = dbf_.ReadAt(position, record.data(), record.size());
        // The byte after the last field may be missing (no end-of-file mark);
        // a record that starts past the end is not there at all.
        if (got + 1 < record.size() || position >= dbf_.Size()) return fail("Chyba při čtení souboru DBF"), false;
        record.back() = 0;
        for (size_t i = fields_.size(); i-- > 0;) {
            const Field &f = fields_[i];
            std::string text(record.data() + f.offset, strnlen(record.data() + f.offset, record.size() - f.offset));
            if (f.type == 'M' && fpt_) {
                if (!memo(text)) return false;
            }
            if (!spend(text.size())) return false;
            if (!cell_(int(i), int(r) + 1, std::move(text))) return false;
            record[f.offset] = 0;
        }
        return true;
    }

    // The memo a field points to, in place of the field's text.
    bool memo(std::string &text) {
        const uint64_t at = blockNumber(text) * blockSize_;
        if (at < kLowestMemo) {
            text = "(Memo)";
            return true;
        }
        unsigned char head[8];
        if (fpt_->ReadAt(at, reinterpret_cast<char *>(head), 8) < 8 || head[3] != 1)
            return fail("Chybná struktura souboru FPT nebo DBF"), false;
        const uint64_t length = bigEndian(head + 4, 4);
        if (length > fpt_->Size() - std::min(fpt_->Size(), at + 8)) return fail("Chybná struktura souboru FPT"), false;
        if (length > textLeft_) return spend(length); // not even read
        std::string bytes(size_t(length), '\0');
        if (fpt_->ReadAt(at + 8, bytes.data(), bytes.size()) < bytes.size())
            return fail("Chybná struktura souboru FPT"), false;
        bytes.resize(strnlen(bytes.data(), bytes.size()));
        text = std::move(bytes);
        return true;
    }

    // Counts text against the import's budget; false (with the message) past it.
    bool spend(uint64_t bytes) {
        if (bytes > textLeft_) return fail("Tabulka obsahuje příliš mnoho textu"), false;
        textLeft_ -= bytes;
        return true;
    }

    TByteSource &dbf_;
    TByteSource *fpt_;
    const DbfCellSink &cell_;
    const DbfMessageSink &message_;
    uint64_t blockSize_ = 0;
    std::vector<Field> fields_;
    size_t recordLength_ = 1;
    bool skipBlock_ = false;
    uint64_t textLeft_;
};

} // namespace

std::unique_ptr<TByteSource> OpenFileSource(const QString &fileName) {
    auto f = std::make_unique<FileSource>(fileName);
    if (!f->open()) return nullptr;
    return f;
}

void ReadDbf(TByteSource &dbf, TByteSource *fpt, const DbfCellSink &cell, const DbfMessageSink &message,
             uint64_t textLimit) {
    Reader(dbf, fpt, cell, message, textLimit).run();
}

QString MemoFileOf(const QString &dbfFile) {
    const QString stem = dbfFile.left(dbfFile.size() - 3);
    for (const char *ext : {"fpt", "FPT"})
        if (QFileInfo(stem + QLatin1String(ext)).isFile()) return stem + QLatin1String(ext);
    // Any other letter case: look through the directory.
    const QFileInfo info(stem + QStringLiteral("fpt"));
    const QString wanted = info.fileName();
    for (const QString &name : QDir(info.absolutePath()).entryList(QDir::Files | QDir::Hidden))
        if (name.compare(wanted, Qt::CaseInsensitive) == 0 && name.startsWith(wanted.left(wanted.size() - 3)))
            return info.absolutePath() + u'/' + name;
    return stem + QStringLiteral("fpt");
}

void ImportDbf(const QString &dbfFile, const DbfCellSink &cell, const DbfMessageSink &message) {
    std::unique_ptr<TByteSource> dbf = OpenFileSource(dbfFile);
    if (!dbf) return message(QStringLiteral("Soubor DBF se nepodařilo otevřít"));
    std::unique_ptr<TByteSource> fpt = OpenFileSource(MemoFileOf(dbfFile));
    ReadDbf(*dbf, fpt.get(), cell, message);
}

} // namespace xo
