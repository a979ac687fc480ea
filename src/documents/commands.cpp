#include "commands.h"

#include "glyphs.h"

#include <QAction>
#include <QMouseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <map>

namespace xo {

const TopMenu kTopMenus[8] = {
    {"&Soubor", tagAlways},      {"E&ditace", tagNeedsDocument}, {"&Vyhledávání", tagNeedsDocument},
    {"&Entity", tagNeedsDocument}, {"&Okna", tagNeedsDocument},  {"&Nástroje", tagAlways},
    {"&Reklama", tagAlways},     {"Ná&pověda", tagAlways},
};

const char *const kToolbars[5] = {"tbFile", "tbText", "tbFormat", "tbObjects", "tbTools"};

namespace {

// Runs a function on a button's secondary (right) click.
class SecondaryClick : public QObject {
public:
    SecondaryClick(QObject *parent, std::function<void()> f) : QObject(parent), f_(std::move(f)) {}

protected:
    bool eventFilter(QObject *o, QEvent *e) override {
        if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(e)->button() == Qt::RightButton) {
            f_();
            return true;
        }
        return QObject::eventFilter(o, e);
    }

private:
    std::function<void()> f_;
};

// The handler, guarded by the command's availability.
std::function<void()> guarded(const CommandSpec &c) {
    if (!c.handler) return nullptr;
    if (!c.available) return c.handler;
    return [h = c.handler, a = c.available] {
        if (a()) h();
    };
}

QAction *addMenuItem(QMenu *menu, const CommandSpec &c, const QIcon &icon, const std::function<void()> &run) {
    QAction *a = menu->addAction(icon, c.caption);
    a->setObjectName(c.name);
    a->setProperty("tag", c.tag);
    QList<QKeySequence> keys;
    if (!c.shortcut.isEmpty()) keys << c.shortcut;
    keys << c.moreShortcuts;
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WindowShortcut);
    a->setEnabled(c.enabled);
    a->setProperty("unavailable", !c.enabled);
    if (!c.hint.isEmpty()) {
        a->setToolTip(ShortHint(c.hint));
        a->setStatusTip(LongHint(c.hint));
    }
    if (run) QObject::connect(a, &QAction::triggered, a, [run] { run(); });
    if (c.available)
        QObject::connect(menu, &QMenu::aboutToShow, a,
                         [a, ok = c.available, on = c.enabled] { a->setEnabled(on && ok()); });
    return a;
}

// The item of the editor's context menu runs the menu item.
QAction *addPopupItem(QMenu *popup, const CommandSpec &c, const QIcon &icon, QAction *item) {
    QAction *p = new QAction(icon, c.caption, popup);
    p->setObjectName(QStringLiteral("mnp") + c.name.mid(2));
    QObject::connect(p, &QAction::triggered, item, &QAction::trigger);
    if (c.available)
        QObject::connect(popup, &QMenu::aboutToShow, p,
                         [p, ok = c.available, on = c.enabled] { p->setEnabled(on && ok()); });
    return p;
}

} // namespace

CommandSpec MenuCommand(const char *menu, int order, const char *name, const char *caption, const char *hint,
                        std::function<void()> handler, int tag) {
    CommandSpec s;
    s.menu = QString::fromUtf8(menu);
    s.order = order;
    s.name = QString::fromLatin1(name);
    s.caption = QString::fromUtf8(caption);
    s.hint = QString::fromUtf8(hint);
    s.handler = std::move(handler);
    s.tag = tag;
    s.enabled = *caption != 0;
    return s;
}

QIcon CommandIcon(const CommandSpec &c) {
    if (c.iconName.isEmpty()) return c.icon;
    return QIcon::fromTheme(c.iconName, c.icon.isNull() ? DrawnIcon(c.iconName) : c.icon);
}

QString ShortHint(const QString &hint) { return hint.section(u'|', 0, 0); }
QString LongHint(const QString &hint) {
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void BuildMenus(QMenuBar *bar, QToolBar *const toolbars[5], QMenu *popup, std::vector<CommandSpec> specs) {
    std::stable_sort(specs.begin(), specs.end(),
                     [](const CommandSpec &a, const CommandSpec &b) { return a.order < b.order; });
    std::map<QString, QMenu *> menus;
    QAction *helpMenu = nullptr;
    for (const TopMenu &t : kTopMenus) {
        QMenu *m = bar->addMenu(QString::fromUtf8(t.caption));
        m->menuAction()->setProperty("tag", t.tag);
        menus[QString::fromUtf8(t.caption)] = m;
        helpMenu = m->menuAction();
    }
    std::vector<QMenu *> created; // menus whose tag follows their items
    auto menuFor = [&](const QString &path) -> QMenu * {
        if (auto it = menus.find(path); it != menus.end()) return it->second;
        QMenu *m = nullptr;
        QString sofar;
        for (const QString &part : path.split(u'/')) {
            sofar = sofar.isEmpty() ? part : sofar + u'/' + part;
            auto it = menus.find(sofar);
            if (it == menus.end()) {
                QMenu *sub = m ? m->addMenu(part) : new QMenu(part, bar);
                if (!m) bar->insertAction(helpMenu, sub->menuAction());
                created.push_back(sub);
                it = menus.emplace(sofar, sub).first;
            }
            m = it->second;
        }
        return m;
    };
    std::vector<std::pair<int, QAction *>> popupItems;
    for (CommandSpec &c : specs) {
        QMenu *menu = c.toolbarOnly ? nullptr : menuFor(c.menu);
        const QIcon icon = CommandIcon(c);
        const std::function<void()> run = guarded(c);
        if (menu && c.caption.isEmpty()) {
            QAction *sep = menu->addSeparator();
            sep->setObjectName(c.name);
            sep->setProperty("tag", c.tag);
            continue;
        }
        if (menu) {
            const QIcon menuIcon = c.iconInMenu ? icon : QIcon();
            QAction *a = addMenuItem(menu, c, menuIcon, run);
            if (c.popup >= 0) popupItems.emplace_back(c.popup, addPopupItem(popup, c, menuIcon, a));
        }
        if (c.toolbar.isEmpty()) continue;
        // A button of its own: toolbar buttons are disabled where menu items are hidden.
        const auto *found =
            std::find_if(toolbars, toolbars + 5, [&](QToolBar *t) { return t->objectName() == c.toolbar; });
        if (found == toolbars + 5) continue;
        // A button never stands as a bare caption among images.
        const QString text = c.caption.isEmpty() ? ShortHint(c.hint) : QString(c.caption).remove(u'&');
        QAction *b = new QAction(icon.isNull() ? DrawnIcon(QString()) : icon, text, *found);
        b->setObjectName(c.button);
        b->setProperty("tag", c.tag);
        b->setToolTip(c.hint.isEmpty() ? b->text() : ShortHint(c.hint));
        if (!c.hint.isEmpty()) b->setStatusTip(LongHint(c.hint));
        b->setEnabled(c.enabled);
        b->setProperty("unavailable", !c.enabled);
        if (run) QObject::connect(b, &QAction::triggered, b, [run] { run(); });
        (*found)->addAction(b);
        auto *button = qobject_cast<QToolButton *>((*found)->widgetForAction(b));
        if (!button) continue;
        button->setObjectName(c.button);
        if (c.secondaryClick) button->installEventFilter(new SecondaryClick(button, c.secondaryClick));
        if (c.dropDown) {
            auto *drop = new QMenu(button);
            drop->setObjectName(c.button + QStringLiteral("Menu"));
            QObject::connect(drop, &QMenu::aboutToShow, drop, [drop, fill = c.dropDown] {
                if (drop->actions().isEmpty()) fill(*drop);
            });
            button->setMenu(drop);
            button->setPopupMode(run ? QToolButton::MenuButtonPopup : QToolButton::InstantPopup);
        }
    }
    std::stable_sort(popupItems.begin(), popupItems.end(),
                     [](const auto &x, const auto &y) { return x.first < y.first; });
    for (const auto &[order, p] : popupItems) popup->addAction(p);
    // A menu that holds an always-available item is itself always there.
    for (auto it = created.rbegin(); it != created.rend(); ++it) {
        bool always = false;
        for (QAction *a : (*it)->actions()) always = always || a->property("tag").toInt() == tagAlways;
        (*it)->menuAction()->setProperty("tag", int(always ? tagAlways : tagNeedsDocument));
    }
    // A top-level menu with nothing in it stays out of sight.
    for (QAction *top : bar->actions())
        if (top->menu() && top->menu()->actions().isEmpty()) {
            top->setVisible(false);
            top->setProperty("tag", int(tagManaged));
        }
}

} // namespace xo
