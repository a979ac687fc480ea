#pragma once
// Search in files: breadth first below a start directory, names by a mask
// (any letter case), content by a text (ASCII letters in any case), at most
// 100 results. Plain C++ over the file system; the dialog supplies the
// status line, the results and the test for a key pressed meanwhile.

#include <QString>
#include <QStringList>
#include <functional>
#include <string>

namespace xo {

struct FileSearchHooks {
    std::function<void(const QString &status)> status;
    std::function<void(const QString &path)> found;
    // Whether the user pressed a key since the last call.
    std::function<bool()> keyPressed;
    // A file that could not be read.
    std::function<void(const QString &path)> unreadable;
};

enum class FileSearchOutcome { Done, NoneFound, TooMany, Interrupted };

constexpr int kMaxFound = 100;
constexpr size_t kSearchBlock = 30000;

// `text` is document text (code page 1250), empty for any file; "*.*" means "*".
FileSearchOutcome SearchFiles(const QString &directory, const QString &mask, const std::string &text,
                              const FileSearchHooks &hooks, int &found);

// Whether the file holds the text (the comparison of the search), read in
// blocks of kSearchBlock bytes that overlap by the text's length.
// `interrupted` when a key was pressed while it was read; `error` when it could not be read.
bool FileHoldsText(const QString &path, const std::string &text, const std::function<bool()> &keyPressed,
                   bool &interrupted, bool &error);

// The final message of a search and whether it is an exclamation.
QString FileSearchMessage(FileSearchOutcome outcome, bool &exclamation);

} // namespace xo
