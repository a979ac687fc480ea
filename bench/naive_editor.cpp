#include "naive_editor.h"

#include <QFile>

namespace xo::bench {

bool NaiveEditor::load(const QString &fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray all = f.readAll();
    std::string s(all.constData(), size_t(all.size()));
    dos = true;
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] == '\r' && s[i + 1] == '\n') break;
        if (s[i] == '\n') {
            dos = false;
            break;
        }
    }
    if (!dos) {
        std::string t;
        t.reserve(s.size() + s.size() / 32);
        for (char c : s) {
            if (c == '\n') t.push_back('\r');
            t.push_back(c);
        }
        s.swap(t);
    }
    text = std::move(s);
    return true;
}

bool NaiveEditor::save(const QString &fileName) const {
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(text.data(), qint64(text.size())) == qint64(text.size());
}

int NaiveEditor::lineOfPos(int pos) const {
    int line = 1;
    for (int i = 0; i + 1 < int(text.size()) && i + 1 < pos; ++i)
        if (text[size_t(i)] == '\r' && text[size_t(i) + 1] == '\n') ++line;
    return line;
}

int NaiveEditor::lineStart(int line) const {
    if (line <= 1) return 1;
    int n = 1;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '\r' && text[i + 1] == '\n' && ++n == line) return int(i) + 3;
    return int(text.size()) + 1;
}

} // namespace xo::bench
