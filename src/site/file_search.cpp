#include "file_search.h"

#include "editor/fold_search.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <deque>
#include <vector>

namespace xo {

bool FileHoldsText(const QString &path, const std::string &text, const std::function<bool()> &keyPressed,
                   bool &interrupted, bool &error) {
    interrupted = error = false;
    QFile f(path);
    if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly)) {
        error = true;
        return false;
    }
    if (keyPressed && keyPressed()) {
        interrupted = true;
        return false;
    }
    // A block holds the text at least twice, so that each next block starts further on.
    const size_t blockSize = std::max(kSearchBlock, 2 * text.size());
    std::vector<char> block(blockSize + 1);
    const std::string folded = FoldAscii(text); // ASCII letters in any case, as find does
    qint64 offset = 0;
    for (;;) {
        if (!f.seek(offset)) {
            error = true;
            return false;
        }
        const qint64 got = f.read(block.data(), qint64(blockSize));
        if (got < 0) {
            error = true;
            return false;
        }
        if (size_t(got) < text.size()) return false;
        if (FindFolded(block.data(), size_t(got), folded) != std::string_view::npos) return true;
        if (size_t(got) < blockSize) return false;
        // The next block starts so that a match across the border is whole in it.
        offset += got - qint64(text.size());
        if (keyPressed && keyPressed()) {
            interrupted = true;
            return false;
        }
    }
}

FileSearchOutcome SearchFiles(const QString &directory, const QString &mask, const std::string &text,
                              const FileSearchHooks &hooks, int &found) {
    found = 0;
    std::deque<QString> queue{directory.endsWith(u'/') ? directory : directory + u'/'};
    const QString filter = mask == QLatin1String("*.*") ? QStringLiteral("*") : mask;
    bool interrupted = false, stopped = false;
    while (!queue.empty() && found < kMaxFound && !stopped) {
        const QString dir = queue.front();
        if (hooks.keyPressed && hooks.keyPressed()) break;
        if (hooks.status)
            hooks.status(QStringLiteral(" Nalezeno: %1   Prohlížím adresář %2").arg(found).arg(dir));
        const QDir d(dir);
        // Directories by name: not hidden, not followed through links.
        for (const QString &sub : d.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Unsorted))
            queue.push_back(dir + sub + u'/');
        // Files by the mask in any letter case: regular, not hidden.
        const QFileInfoList files = d.entryInfoList({filter}, QDir::Files, QDir::Unsorted);
        for (const QFileInfo &file : files) {
            if (found >= kMaxFound || stopped) break;
            if (!file.isFile()) continue;
            const QString path = file.absoluteFilePath();
            if (text.empty()) {
                ++found;
                if (hooks.found) hooks.found(path);
                continue;
            }
            bool fileInterrupted = false, error = false;
            if (FileHoldsText(path, text, hooks.keyPressed, fileInterrupted, error)) {
                ++found;
                if (hooks.found) hooks.found(path);
            } else if (error) {
                if (hooks.unreadable) hooks.unreadable(path);
            } else if (fileInterrupted) {
                interrupted = stopped = true;
            }
        }
        queue.pop_front();
    }
    if (hooks.status) hooks.status(QStringLiteral(" Nalezeno: %1").arg(found));
    if (interrupted) return FileSearchOutcome::Interrupted;
    if (found >= kMaxFound) return FileSearchOutcome::TooMany;
    return found == 0 ? FileSearchOutcome::NoneFound : FileSearchOutcome::Done;
}

QString FileSearchMessage(FileSearchOutcome outcome, bool &exclamation) {
    exclamation = outcome == FileSearchOutcome::Interrupted || outcome == FileSearchOutcome::TooMany;
    switch (outcome) {
    case FileSearchOutcome::Interrupted: return QStringLiteral("Hledání přerušeno!");
    case FileSearchOutcome::TooMany: return QStringLiteral("Nalezeno příliš mnoho souborů. Hledání zastaveno!");
    case FileSearchOutcome::NoneFound: return QStringLiteral("Žádný odpovídající soubor nenalezen");
    case FileSearchOutcome::Done: break;
    }
    return QStringLiteral("Hotovo");
}

} // namespace xo
