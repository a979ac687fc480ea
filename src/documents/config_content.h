#pragma once
// The frame's own parts of the configuration file as plain data: the
// signature, the "Main" section, and the predefined directories that end the
// file. The sections between them belong to the subsystems (subsystem.h);
// the order of all of them is written down once, by the program (app/).

#include "settings/settings.h"

#include <QRect>
#include <QStringList>
#include <optional>
#include <vector>

namespace xo {

// Stored window bounds beyond this are nonsense; clamping them first keeps
// every QRect built from them inside 32-bit arithmetic.
constexpr int kMaxBound = 1 << 20;
// A rectangle from stored values, each clamped (sizes to 0..kMaxBound).
QRect BoundedRect(int left, int top, int width, int height);

class TCompressFile;

extern const char *const kConfigSignature; // "Con 8.1.0.02"

struct ConfigWindow {
    QString fileName; // empty: a window never saved (only its place is kept)
    int left = 0, top = 0, width = 0, height = 0;
    int selStart = 1, selEnd = 1;
};

struct ConfigMain {
    QRect bounds;        // normal-state bounds of the main window, each value within ±kMaxBound
    uint8_t state = 0;   // 0 normal, 1 minimised, 2 maximised
    TSettings settings;
    TEditorColors colors{};
    TTextStyles styles;
    TUserTags tags;
    QStringList customColors;
    QStringList recentFiles; // the oldest first
    bool readWins = true;    // false: no window entries
    std::vector<std::optional<ConfigWindow>> windows; // empty entries: windows without a name
    QString openDirectory;
    int openFilterIndex = 1;
    QString saveDirectory;
};

// "Main" with what it holds; false (and nothing read) when the tag is not there.
bool ReadMainSection(TCompressFile &f, ConfigMain &m);
void WriteMainSection(TCompressFile &f, const ConfigMain &m);

// The untagged end of the file.
struct ConfigDirectories {
    QStringList predefinedDirs; // as the user gave them
    bool specialOpenSave = false;
    void Read(TCompressFile &f);
    void Write(TCompressFile &f) const;
};

} // namespace xo
