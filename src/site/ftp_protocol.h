#pragma once
// The FTP client's errors and the parts of the protocol that need no
// socket: reply codes, multi-line replies, the PASV and PORT arguments,
// argument checks and the progress text.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <stdexcept>

namespace xo {

enum t_ftp_mode { tftp_download, tftp_upload, tftp_getdir };

// 0 command sent, 1 reply line, 2 socket event or first progress line,
// 3 the calling dialog's own text, 4 further progress lines.
using TTraceLevel = int;

class ETcpIpError : public std::runtime_error {
public:
    explicit ETcpIpError(const QString &message)
        : std::runtime_error(message.toStdString()), Message(message) {}
    QString Message;
};

class ESocketError : public ETcpIpError {
public:
    explicit ESocketError(int code)
        : ETcpIpError(QStringLiteral("Chyba při vytváření rámce")), Code(uint16_t(code)) {}
    uint16_t Code;
};

class EProtocolError : public ETcpIpError {
public:
    EProtocolError(const QString &protocol, int code, const QString &text)
        : ETcpIpError(text), Protocol(protocol), Code(uint16_t(code)) {}
    QString Protocol;
    uint16_t Code;
};

class EProtocolBusy : public ETcpIpError {
public:
    EProtocolBusy() : ETcpIpError(QStringLiteral("Protokol neodpovídá")) {}
};

// The session can no longer be trusted to put files where they belong:
// the user stopped it, or after a lost connection the directory it was in
// could not be reached again. The upload queue stops on it.
class ESessionEnded : public ETcpIpError {
public:
    explicit ESessionEnded(const QString &message) : ETcpIpError(message) {}
};

class EStopped : public ESessionEnded {
public:
    EStopped() : ESessionEnded(QStringLiteral("Přerušeno uživatelem")) {}
};

class ERemoteBaseLost : public ESessionEnded {
public:
    explicit ERemoteBaseLost(const QString &dir)
        : ESessionEnded(QStringLiteral("Spojení se serverem bylo přerušeno a adresář ") + dir +
                        QStringLiteral(" se po novém přihlášení nepodařilo nastavit.")) {}
};

namespace ftp {

// The longest reply line accepted; a longer one is a broken or hostile server.
constexpr int kMaxReplyLine = 8192;
// A whole reply: more lines or bytes than this is a broken or hostile server.
constexpr int kMaxReplyLines = 1000;
constexpr int kMaxReplyBytes = 64 * 1024;

// Gathers the lines of one reply and says when it is complete.
class TReplyReader {
public:
    enum State { More, Complete, TooLong };
    // The next line, without CR and LF.
    State Add(const QByteArray &line);
    const QByteArray &First() const { return first_; }
    int Lines() const { return lines_; }

private:
    QByteArray first_;
    int lines_ = 0;
    qint64 bytes_ = 0;
};

// The integer value of the first three characters; 999 when they are not digits.
int ReplyCode(const QByteArray &line);
// The line from its fifth character on.
QString ReplyText(const QByteArray &line);
// Whether a reply whose first line is `first` goes on after `line`: a first
// line "xyz-" opens a reply that the first line beginning "xyz " closes.
bool ReplyContinues(const QByteArray &first, const QByteArray &line);

// The host and port between the parentheses of a 227 reply
// ("(192,168,1,2,19,137)" gives 192.168.1.2 and 5001); false when they
// cannot be read or are out of range.
bool ParsePasv(const QString &text, QString &host, uint16_t &port);
// The port between the delimiters of a 229 reply ("(|||6446|)"); false
// when it cannot be read, is 0 or names an address.
bool ParseEpsv(const QString &text, uint16_t &port);
// The argument of PORT: the four address bytes, then the port's high and low byte.
QString PortArgument(uint32_t ipv4, uint16_t port);

// CR, LF and NUL would let an argument smuggle in a command of its own.
bool IsSafeArgument(const QString &argument);

// "  Přeneseno 1024 z 2500  (40%)"
QString ProgressText(int64_t sent, int64_t size);

} // namespace ftp
} // namespace xo
