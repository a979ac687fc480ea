#pragma once
// Document files on disk: code page 1250 bytes with DOS (CR LF) or Unix (LF)
// line ends. Reading normalises to the editor's form (CR LF, no tabs, no
// final Ctrl+Z); writing never leaves a half-written file behind.

#include <QString>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace xo {

namespace platform {
class SafeFile;
}

struct DocumentBytes {
    std::unique_ptr<char[]> data;
    size_t size = 0;
    size_t capacity = 0;     // room left for editing after `size`
    bool dosLineEnds = true;
    // Where lines start (0-based, after each CR LF), when the conversion
    // already knew them; empty means "not computed".
    std::vector<int> lineStarts;
    // The file was UTF-8 (with a byte-order mark); `references` characters
    // the code page lacks were written as "&#N;".
    bool utf8 = false, bom = false;
    int references = 0;
};

enum class ReadStatus { Ok, Failed, TooLarge };

// The most text the editor holds (its positions are 32-bit), after tabs and
// line ends were expanded.
constexpr size_t kMaxDocumentText = size_t(1) << 30;

// Reads a regular file whole and normalises it; Failed when it cannot be
// opened, is not a regular file, or could not be read completely; TooLarge
// when the file or its normalised text would exceed kMaxDocumentText.
ReadStatus ReadDocumentFile(const QString &fileName, DocumentBytes &out);

// The bytes a file of the given encoding holds, read as that file would be
// (a UTF-8 file becomes code page 1250 with references, the line ends and
// tabs are normalised); the encoding is taken as given, not detected.
ReadStatus DocumentFromBytes(std::string_view bytes, bool utf8, DocumentBytes &out);

// Line-end detection and the conversions of loading, on raw file bytes.
// The normalised text must fit kMaxDocumentText (see NormalizedSize).
DocumentBytes NormalizeDocument(std::unique_ptr<char[]> raw, size_t size, size_t capacity);
// The size the text will have after loading's conversions.
size_t NormalizedSize(const char *raw, size_t size);

// The text is given in (up to) two pieces, as the editor stores it. With
// `backup`, an existing file is kept under BackupFileName once the new
// content is complete. False when the file could not be written; the old
// file then stays as it was.
// With `utf8` the text is written as UTF-8 (after a byte-order mark with `bom`).
bool WriteDocumentFile(const QString &fileName, std::string_view first, std::string_view second, bool dosLineEnds,
                       bool backup, bool utf8 = false, bool bom = false);

// How many bytes were written and their FNV-1a hash, to check them when read.
struct TextTally {
    uint64_t bytes = 0;
    uint64_t fnv = 14695981039346656037ull;
    void add(const char *p, size_t n);
};

// The text as a file of this encoding and these line ends holds it, written
// into an open safe file (which the caller commits).
bool WriteDocumentText(platform::SafeFile &f, std::string_view first, std::string_view second, bool dosLineEnds,
                       bool utf8, bool bom, TextTally *tally = nullptr);

// The name with its extension replaced by ".bak" (or ".bak" appended).
QString BackupFileName(const QString &fileName);

} // namespace xo
