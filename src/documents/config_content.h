#pragma once
// The content of the configuration file as plain data: read from and
// written to a TCompressFile in the file's order, applied to and collected
// from the running program by the main window.

#include "dialogs/link_dialog_state.h"
#include "editor/find_dialogs.h"
#include "settings/browser_choice_state.h"
#include "settings/settings.h"
#include "site/site_state.h"

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

struct ConfigContent {
    bool signatureOk = false;
    std::optional<ConfigMain> main; // absent when the "Main" tag was not found
    std::optional<FindSection> find;
    std::optional<ReplaceSection> replace;
    // The dialog states; a section not found leaves the value it came with.
    THierarchieState hierarchie;
    TChooseBrowserState chooseBrowser;
    TChooseDirState chooseDir;
    TTagAHrefState tagAHref;
    TSearchFilesState searchFiles;
    QStringList predefinedDirs;
    bool specialOpenSave = false;
    bool damaged = false;
};

// Reads the whole content; sections not found keep what `content` held.
// Stops after the signature when it is wrong.
void ReadConfig(TCompressFile &f, ConfigContent &content);
void WriteConfig(TCompressFile &f, const ConfigContent &content);

} // namespace xo
