#pragma once
// The straightforward design, kept only to measure against: the whole text
// in one string, every line computation scanning it from the start.

#include <QString>
#include <string>

namespace xo::bench {

class NaiveEditor {
public:
    std::string text;
    bool dos = true;

    bool load(const QString &fileName);
    bool save(const QString &fileName) const;
    void insert(int pos, char c) { text.insert(size_t(pos - 1), 1, c); }
    int lineOfPos(int pos) const;
    int lineStart(int line) const;
};

} // namespace xo::bench
