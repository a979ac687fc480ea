#pragma once
// TCompressFile: a sequence of typed values (integers, Booleans, strings,
// string lists, raw blocks) held in memory and stored LZHUF-compressed
// behind a 4-byte length. Reader and writer agree on the order of values.

#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace xo::platform {
class SafeFile;
}

namespace xo {

// The file could not be opened (for reading) or created (for writing).
class ECompressFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TCompressFile {
public:
    static constexpr uint16_t fmOpenRead = 0;
    static constexpr uint16_t fmCreate = 0xFFFF;
    // A declared content above this is taken for damage, not for content.
    static constexpr uint32_t kMaxContent = 64u << 20;

    // Throws ECompressFileError when the file cannot be opened or created.
    // A writer creates nothing on disk before Close succeeds.
    TCompressFile(const QString &fileName, uint16_t mode);
    // A reader over a file image already in memory.
    explicit TCompressFile(const std::vector<uint8_t> &fileImage);
    // A reader over content already unpacked (the fuzz target's input).
    struct Unpacked {};
    TCompressFile(Unpacked, std::vector<uint8_t> content);
    ~TCompressFile(); // a writer not closed discards its content
    TCompressFile(const TCompressFile &) = delete;
    TCompressFile &operator=(const TCompressFile &) = delete;

    // The file will be readable by its owner only (it may hold passwords).
    void SetOwnerOnly();

    void ReadBuffer(void *buffer, size_t count);
    void WriteBuffer(const void *buffer, size_t count);
    int32_t ReadInteger();
    void WriteInteger(int32_t v);
    bool ReadBoolean();
    void WriteBoolean(bool v);
    uint8_t ReadByte();
    void WriteByte(uint8_t v);
    std::string ReadString();
    void WriteString(std::string_view s);
    std::vector<std::string> ReadStrings();
    // A count of items that take at least `minItemBytes` each; a negative
    // count or one larger than what remains marks the file damaged and reads as 0.
    int32_t ReadCount(size_t minItemBytes);
    void WriteStrings(const std::vector<std::string> &list);
    void UnreadLastString();

    // Writers: compresses the content and puts the file in place of the old
    // one. False when it could not be written; the old file then stays.
    bool Close();

    // True once the content proved damaged: a length beyond what the code
    // can hold, or a string or count larger than what remains.
    bool Damaged() const { return damaged_; }
    // For readers that find values that cannot be right.
    void MarkDamaged() { damaged_ = true; }
    bool AtEnd();
    // A read asked for more than the content held (the rest read as zeros).
    bool PastEnd() const { return pastEnd_; }
    const std::vector<uint8_t> &Content();

    // The whole file for a content, and the content of a whole file.
    static std::vector<uint8_t> Pack(const std::vector<uint8_t> &content);
    // False for damage; `content` then holds what could be decoded, if anything.
    static bool Unpack(const uint8_t *file, size_t size, std::vector<uint8_t> &content);

private:
    void load();
    size_t remaining();

    QString fileName_;
    bool writer_;
    bool loaded_ = false;
    bool damaged_ = false;
    bool pastEnd_ = false;
    std::unique_ptr<platform::SafeFile> out_;
    std::vector<uint8_t> buffer_;
    size_t pos_ = 0;
    size_t lastStringBytes_ = 0;
};

// Reads a section's tag: true when it is `tag`; otherwise the tag is pushed
// back for the next reader and the section's owner keeps its state.
bool ReadSectionTag(TCompressFile &f, const char *tag);

} // namespace xo
