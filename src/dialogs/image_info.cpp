#include "image_info.h"

#include "platform/services.h"

#include <QFile>
#include <QFileInfo>

namespace xo {

namespace {

// The JPEG walk ends when the next segment would start this far into the file.
constexpr int kJpegWalkLimit = 10000;
constexpr int kBytesNeeded = kJpegWalkLimit + 8;

int byteAt(std::string_view d, size_t i) { return static_cast<unsigned char>(d[i]); }

} // namespace

ImageKind ImageKindOf(const QString &fileName) {
    const QString tail = fileName.right(4).toLower();
    if (tail == QLatin1String(".gif")) return ImageKind::Gif;
    if (tail == QLatin1String(".jpg") || tail == QLatin1String("jpeg")) return ImageKind::Jpeg;
    return ImageKind::Other;
}

ImageInfo ImageInfoFromBytes(ImageKind kind, std::string_view d) {
    ImageInfo info;
    if (kind == ImageKind::Gif) {
        if (d.size() < 10) {
            info.damaged = true;
            return info;
        }
        if (d.substr(0, 4) != "GIF8") return info;
        info.width = byteAt(d, 6) | byteAt(d, 7) << 8;
        info.height = byteAt(d, 8) | byteAt(d, 9) << 8;
        return info;
    }
    if (kind != ImageKind::Jpeg) return info;
    if (d.size() < 13) {
        info.damaged = true;
        return info;
    }
    // Only a JFIF file whose APP0 segment is 16 bytes long is walked.
    if (d.substr(5, 6) != std::string_view("\x10JFIF\0", 6)) return info;
    for (size_t p = 22; p < size_t(kJpegWalkLimit);) {
        if (p - 2 + 10 > d.size()) {
            info.damaged = true;
            return info;
        }
        const std::string_view m = d.substr(p - 2, 10);
        const int marker = byteAt(m, 1), length = byteAt(m, 2) << 8 | byteAt(m, 3);
        if (byteAt(m, 0) == 0xFF && (marker == 0xC0 || marker == 0xC2) && (length == 0x0B || length == 0x11) &&
            byteAt(m, 4) == 8) {
            info.height = byteAt(m, 5) << 8 | byteAt(m, 6);
            info.width = byteAt(m, 7) << 8 | byteAt(m, 8);
            return info;
        }
        p += size_t(length) + 2;
    }
    return info;
}

ImageInfo ReadImageInfo(const QString &fileName) {
    QString name = fileName;
    if (name.startsWith(QLatin1String("file://"), Qt::CaseInsensitive)) name = name.mid(7);
    name.replace(u'\\', u'/');
    name = QFileInfo(name).absoluteFilePath();
    const ImageKind kind = ImageKindOf(name);
    if (kind == ImageKind::Other) return {};
    ImageInfo info;
    QFile f(name);
    if (QFileInfo(name).isFile() && f.open(QIODevice::ReadOnly)) {
        const QByteArray head = f.read(kBytesNeeded);
        info = ImageInfoFromBytes(kind, std::string_view(head.constData(), size_t(head.size())));
    } else {
        info.damaged = true;
    }
    if (info.damaged)
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Chyba při dekódování souboru"),
                          platform::Icon::Exclamation);
    return info;
}

} // namespace xo
