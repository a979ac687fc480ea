// libFuzzer target: what an FTP server may send. The input is split into
// lines as the client reads them; a reply must end within its bounds, and
// the passive-mode answers must give a usable port or none.
#include "site/ftp_protocol.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    xo::ftp::TReplyReader reply;
    int lines = 0;
    for (const QByteArray &line : bytes.split('\n')) {
        QByteArray l = line;
        l.replace('\r', QByteArray());
        ++lines;
        const auto state = reply.Add(l);
        if (reply.Lines() != lines || reply.Lines() > xo::ftp::kMaxReplyLines) __builtin_trap();
        if (state != xo::ftp::TReplyReader::More) break;
        if (lines >= xo::ftp::kMaxReplyLines) __builtin_trap(); // should have said TooLong
    }
    const int code = xo::ftp::ReplyCode(reply.First());
    if (code < 0 || code > 999) __builtin_trap();
    const QString text = QString::fromUtf8(bytes);
    QString host;
    uint16_t port = 0;
    if (xo::ftp::ParsePasv(text, host, port) && (port == 0 || host.count(u'.') != 3)) __builtin_trap();
    port = 0;
    if (xo::ftp::ParseEpsv(text, port) && port == 0) __builtin_trap();
    return 0;
}
