#include "compress_file.h"

#include "lzhuf.h"
#include "platform/safe_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace xo {

TCompressFile::TCompressFile(const QString &fileName, uint16_t mode)
    : fileName_(fileName), writer_(mode == fmCreate) {
    if (writer_) {
        out_ = std::make_unique<platform::SafeFile>(fileName);
        if (!out_->open()) throw ECompressFileError("cannot create " + fileName.toStdString());
        loaded_ = true;
    } else {
        // Never a FIFO or a device, also not behind a link.
        QFile probe(fileName);
        if (!platform::IsRegularFile(fileName) || !probe.open(QIODevice::ReadOnly))
            throw ECompressFileError("cannot open " + fileName.toStdString());
    }
}

TCompressFile::TCompressFile(const std::vector<uint8_t> &fileImage) : writer_(false) {
    loaded_ = true;
    damaged_ = !Unpack(fileImage.data(), fileImage.size(), buffer_);
}

TCompressFile::TCompressFile(Unpacked, std::vector<uint8_t> content) : writer_(false), buffer_(std::move(content)) {
    loaded_ = true;
}

TCompressFile::~TCompressFile() = default; // an unclosed writer's SafeFile discards its content

std::vector<uint8_t> TCompressFile::Pack(const std::vector<uint8_t> &content) {
    std::vector<uint8_t> file(4);
    const uint32_t n = uint32_t(content.size());
    for (int i = 0; i < 4; ++i) file[size_t(i)] = uint8_t(n >> (8 * i));
    const std::vector<uint8_t> code = lzhuf::Encode(content.data(), content.size());
    file.insert(file.end(), code.begin(), code.end());
    return file;
}

bool TCompressFile::Unpack(const uint8_t *file, size_t size, std::vector<uint8_t> &content) {
    content.clear();
    if (size < 4) return size == 0; // an empty file holds nothing; a torn header is damage
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i) n |= uint32_t(file[i]) << (8 * i);
    // Never trust the header with memory: it cannot claim more than the code can hold.
    if (n > kMaxContent || n > lzhuf::MaxDecodedSize(size - 4)) return false;
    lzhuf::Decode(file + 4, size - 4, n, content);
    return true;
}

void TCompressFile::load() {
    if (loaded_) return;
    loaded_ = true;
    QFile f(fileName_);
    if (!f.open(QIODevice::ReadOnly)) {
        damaged_ = true;
        return;
    }
    // Twice the cap covers any honest file of the largest content.
    const QByteArray raw = f.read(qint64(kMaxContent) * 2);
    if (!Unpack(reinterpret_cast<const uint8_t *>(raw.constData()), size_t(raw.size()), buffer_)) damaged_ = true;
    pos_ = 0;
}

size_t TCompressFile::remaining() {
    load();
    return buffer_.size() - std::min(pos_, buffer_.size());
}

bool TCompressFile::AtEnd() { return remaining() == 0; }

const std::vector<uint8_t> &TCompressFile::Content() {
    load();
    return buffer_;
}

void TCompressFile::ReadBuffer(void *buffer, size_t count) {
    const size_t n = std::min(count, remaining());
    if (n < count) pastEnd_ = true;
    if (n) std::memcpy(buffer, buffer_.data() + pos_, n);
    pos_ += n;
}

void TCompressFile::WriteBuffer(const void *buffer, size_t count) {
    const auto *p = static_cast<const uint8_t *>(buffer);
    buffer_.insert(buffer_.end(), p, p + count);
}

int32_t TCompressFile::ReadInteger() {
    uint8_t b[4] = {0, 0, 0, 0};
    ReadBuffer(b, 4);
    return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
}

void TCompressFile::WriteInteger(int32_t v) {
    const uint32_t u = uint32_t(v);
    const uint8_t b[4] = {uint8_t(u), uint8_t(u >> 8), uint8_t(u >> 16), uint8_t(u >> 24)};
    WriteBuffer(b, 4);
}

uint8_t TCompressFile::ReadByte() {
    uint8_t b = 0;
    ReadBuffer(&b, 1);
    return b;
}

void TCompressFile::WriteByte(uint8_t v) { WriteBuffer(&v, 1); }

bool TCompressFile::ReadBoolean() { return ReadByte() != 0; }
void TCompressFile::WriteBoolean(bool v) { WriteByte(v ? 1 : 0); }

std::string TCompressFile::ReadString() {
    const size_t start = std::min(pos_, Content().size());
    const int32_t n = ReadInteger();
    std::string s;
    if (n < 0 || (n > 0 && size_t(n) + 1 > remaining())) {
        damaged_ = true;
        pos_ = buffer_.size();
    } else if (n > 0) {
        const char *p = reinterpret_cast<const char *>(buffer_.data() + pos_);
        s.assign(p, strnlen(p, size_t(n))); // the text ends at its first 0 byte
        pos_ += size_t(n) + 1;
    }
    lastStringBytes_ = std::min(pos_, buffer_.size()) - start;
    return s;
}

void TCompressFile::WriteString(std::string_view s) {
    WriteInteger(int32_t(s.size()));
    if (!s.empty()) {
        WriteBuffer(s.data(), s.size());
        WriteByte(0);
    }
}

int32_t TCompressFile::ReadCount(size_t minItemBytes) {
    const int32_t n = ReadInteger();
    if (n < 0 || size_t(n) > remaining() / std::max<size_t>(minItemBytes, 1)) {
        damaged_ = true;
        return 0;
    }
    return n;
}

std::vector<std::string> TCompressFile::ReadStrings() {
    std::vector<std::string> list;
    const int32_t n = ReadCount(4); // each string takes at least its length
    for (int32_t i = 0; i < n && !damaged_; ++i) list.push_back(ReadString());
    return list;
}

void TCompressFile::WriteStrings(const std::vector<std::string> &list) {
    WriteInteger(int32_t(list.size()));
    for (const std::string &s : list) WriteString(s);
}

void TCompressFile::UnreadLastString() {
    pos_ -= std::min(pos_, lastStringBytes_);
    lastStringBytes_ = 0;
}

void TCompressFile::SetOwnerOnly() {
    if (out_) out_->forceMode(0600);
}

bool TCompressFile::Close() {
    if (!out_) return true;
    const std::vector<uint8_t> file = Pack(buffer_);
    const bool ok = out_->write(reinterpret_cast<const char *>(file.data()), file.size()) && out_->commit();
    out_.reset();
    return ok;
}

bool ReadSectionTag(TCompressFile &f, const char *tag) {
    if (f.ReadString() == tag) return true;
    f.UnreadLastString();
    return false;
}

} // namespace xo
