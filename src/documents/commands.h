#pragma once
// Menu and toolbar commands. Each subsystem describes its commands here
// (caption with its "&" accelerator, handler name, shortcut, hints, toolbar
// button, tag) and the main window assembles its menus and toolbars from
// them, so new commands never touch the frame's code.

#include <QIcon>
#include <QKeySequence>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMenuBar;
class QToolBar;

namespace xo {

class TfrmMain;

// Tags of menu items and toolbar buttons.
enum CommandTag { tagNeedsDocument = 0, tagAlways = 1, tagManaged = 2 };

struct CommandSpec {
    QString menu;          // "&Soubor", or a submenu path "&Entity/&Formát"
    int order = 0;         // place within its menu; ties keep registration order
    QString name;          // object name of the item, e.g. "mnNovySoubor"
    QString caption;       // "&Nový"; empty for a separator
    QKeySequence shortcut;
    QString hint;          // "short|long": the tool tip and the status text
    int tag = tagNeedsDocument;
    QString toolbar;       // one of kToolbars, or empty
    QString button;        // toolbar button name, e.g. "btOpenFile"
    QIcon icon;
    bool enabled = true;   // false for commands whose function comes later
    std::function<void()> handler;
};

// The top-level menus in their order, with their tags.
struct TopMenu {
    const char *caption;
    int tag;
};
extern const TopMenu kTopMenus[8];
extern const char *const kToolbars[5];

// A subsystem's contribution: called once with the main window when it
// builds its menus.
using CommandContributor = std::function<void(TfrmMain &, std::vector<CommandSpec> &)>;
void AddCommandContributor(CommandContributor c);
const std::vector<CommandContributor> &CommandContributors();

// Builds the menu bar and fills the toolbars (in kToolbars order) from specs.
void BuildMenus(QMenuBar *bar, QToolBar *const toolbars[5], std::vector<CommandSpec> specs);

// The short and the long part of a "short|long" hint.
QString ShortHint(const QString &hint);
QString LongHint(const QString &hint);

} // namespace xo
