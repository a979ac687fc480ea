#pragma once
// The width and height of a GIF or JFIF JPEG picture, read from the file's
// first bytes.

#include <QString>
#include <string_view>

namespace xo {

struct ImageInfo {
    int width = 0, height = 0; // 0 when not found
    bool damaged = false;      // the data ended before the reader was done
};

enum class ImageKind { Other, Gif, Jpeg };

// By the name's last four characters: ".gif", ".jpg" or "jpeg" in any case.
ImageKind ImageKindOf(const QString &fileName);

// The reader over the file's first bytes; reads nothing beyond `data`.
ImageInfo ImageInfoFromBytes(ImageKind kind, std::string_view data);

// The reader over a file. A damaged or unreadable picture shows "Chyba při
// dekódování souboru" and keeps what was found. Only regular files are read.
ImageInfo ReadImageInfo(const QString &fileName);

} // namespace xo
