#pragma once
// A read-only HTML view whose pages may name any file: it loads only
// regular local files up to a size cap, so that an image naming /dev/zero
// or a FIFO can neither exhaust memory nor block the program.

#include <QTextBrowser>

namespace xo {

class TLocalTextBrowser : public QTextBrowser {
    Q_OBJECT
public:
    static constexpr qint64 kMaxResource = 16 << 20;
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int type, const QUrl &name) override;
};

} // namespace xo
