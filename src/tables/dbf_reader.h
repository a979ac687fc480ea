#pragma once
// The dBASE/FoxPro table reader of the DBF import: every field name and
// value is handed to a callback as the file stores it (no number, date or
// code-page conversion). Nothing in the files is trusted: every read is
// checked against what the file holds.

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace xo {

// Bytes read at an offset; fewer than asked at the end.
class TByteSource {
public:
    virtual ~TByteSource() = default;
    virtual size_t ReadAt(uint64_t offset, char *buffer, size_t count) = 0;
    virtual uint64_t Size() const = 0;
};

class TMemorySource : public TByteSource {
public:
    explicit TMemorySource(std::string_view bytes) : bytes_(bytes) {}
    size_t ReadAt(uint64_t offset, char *buffer, size_t count) override;
    uint64_t Size() const override { return bytes_.size(); }

private:
    std::string_view bytes_;
};

// A regular file opened for reading; nullptr when it cannot be.
std::unique_ptr<TByteSource> OpenFileSource(const QString &fileName);

// Column (field number) and row (0 for the names, then one per record);
// false stops the import.
using DbfCellSink = std::function<bool(int column, int row, std::string text)>;
// A message of the import ("Xo! - DBF import"); the import ends after every
// one except "Soubor FPT neexistuje".
using DbfMessageSink = std::function<void(const QString &text)>;

// All the text one import may create: memo fields pointing at one block
// could otherwise repeat it past any memory.
constexpr uint64_t kMaxDbfText = 256ull << 20;

// The memo file is optional (nullptr: none). The record count, the memo
// block size and the memo length are read at their full published widths.
// More text than `textLimit` ends the import with "Tabulka obsahuje příliš mnoho textu".
void ReadDbf(TByteSource &dbf, TByteSource *fpt, const DbfCellSink &cell, const DbfMessageSink &message,
             uint64_t textLimit = kMaxDbfText);

// The memo file of a DBF: its name with "fpt" for the last three
// characters, found in any letter case.
QString MemoFileOf(const QString &dbfFile);

// Opens the DBF and its memo file and reads them.
void ImportDbf(const QString &dbfFile, const DbfCellSink &cell, const DbfMessageSink &message);

} // namespace xo
