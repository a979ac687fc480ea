#pragma once
// Menu and toolbar commands. Each subsystem describes its commands here
// (caption with its "&" accelerator, shortcut, hints, toolbar button with its
// secondary click and drop-down, context-menu place, tag) and the main window
// assembles its menus, toolbars and the editor's context menu from them, so
// new commands never touch the frame's code.

#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QToolBar;

namespace xo {

// Tags of menu items and toolbar buttons.
enum CommandTag { tagNeedsDocument = 0, tagAlways = 1, tagManaged = 2 };

struct CommandSpec {
    QString menu;          // "&Soubor", or a submenu path "&Entity/&Formát"
    int order = 0;         // place within its menu; ties keep registration order
    QString name;          // object name of the item, e.g. "mnNovySoubor"
    QString caption;       // "&Nový"; empty for a separator
    QKeySequence shortcut;
    QList<QKeySequence> moreShortcuts; // further keys for the same item (Ctrl+Z beside Alt+Backspace)
    QString hint;          // "short|long": the tool tip and the status text
    int tag = tagNeedsDocument;
    QString toolbar;       // one of kToolbars, or empty
    QString button;        // toolbar button name, e.g. "btOpenFile"
    QString iconName;      // the desktop theme's icon, e.g. "document-open"
    QIcon icon;            // our own, where the theme has none
    bool iconInMenu = true; // false for glyphs made for toolbar buttons only
    // False for a command whose dialog comes later: it stays disabled even
    // while documents are open.
    bool enabled = true;
    std::function<void()> handler;
    // Whether the command can run now; asked before its menu opens and
    // before it runs. Unset: always.
    std::function<bool()> available;
    // The toolbar button's secondary (right) click.
    std::function<void()> secondaryClick;
    // A drop-down beside the toolbar button, filled when it first opens and
    // kept. Without a handler the button's click itself opens it.
    std::function<void(QMenu &)> dropDown;
    // A toolbar button alone, with no menu item (the drop-down buttons).
    bool toolbarOnly = false;
    // Place in the editor's context menu ("mnp" + the name without "mn"); -1: not there.
    int popup = -1;
};

// The top-level menus in their order, with their tags.
struct TopMenu {
    const char *caption;
    int tag;
};
extern const TopMenu kTopMenus[8];
extern const char *const kToolbars[5];

// Builds the menu bar, fills the toolbars (in kToolbars order) and the
// editor's context menu from specs. A menu that no item is always available
// in gets tag 0; a top-level menu the frame does not know goes before the
// help menu.
void BuildMenus(QMenuBar *bar, QToolBar *const toolbars[5], QMenu *popup, std::vector<CommandSpec> specs);

// A menu item; the caller sets what else it has (shortcut, button, popup).
// An empty caption makes a separator.
CommandSpec MenuCommand(const char *menu, int order, const char *name, const char *caption, const char *hint,
                        std::function<void()> handler, int tag = tagNeedsDocument);

// The icon of a command: the desktop theme's, else the given one.
QIcon CommandIcon(const CommandSpec &c);

// The short and the long part of a "short|long" hint.
QString ShortHint(const QString &hint);
QString LongHint(const QString &hint);

} // namespace xo
