#include "commands.h"

#include <QAction>
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
std::vector<CommandContributor> &contributors() {
    static std::vector<CommandContributor> list;
    return list;
}
} // namespace

void AddCommandContributor(CommandContributor c) { contributors().push_back(std::move(c)); }
const std::vector<CommandContributor> &CommandContributors() { return contributors(); }

QString ShortHint(const QString &hint) { return hint.section(u'|', 0, 0); }
QString LongHint(const QString &hint) {
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

void BuildMenus(QMenuBar *bar, QToolBar *const toolbars[5], std::vector<CommandSpec> specs) {
    std::stable_sort(specs.begin(), specs.end(),
                     [](const CommandSpec &a, const CommandSpec &b) { return a.order < b.order; });
    std::map<QString, QMenu *> menus;
    for (const TopMenu &t : kTopMenus) {
        QMenu *m = bar->addMenu(QString::fromUtf8(t.caption));
        m->menuAction()->setProperty("tag", t.tag);
        menus[QString::fromUtf8(t.caption)] = m;
    }
    // Submenus come into being with their first item; their own tag is 0.
    auto menuFor = [&](const QString &path) -> QMenu * {
        if (auto it = menus.find(path); it != menus.end()) return it->second;
        QMenu *m = menus.at(path.section(u'/', 0, 0));
        QString sofar = path.section(u'/', 0, 0);
        for (const QString &part : path.section(u'/', 1).split(u'/')) {
            sofar += u'/' + part;
            auto it = menus.find(sofar);
            if (it == menus.end()) {
                QMenu *sub = m->addMenu(part);
                sub->menuAction()->setProperty("tag", int(tagNeedsDocument));
                it = menus.emplace(sofar, sub).first;
            }
            m = it->second;
        }
        return m;
    };
    for (CommandSpec &c : specs) {
        QMenu *menu = menuFor(c.menu);
        if (c.caption.isEmpty()) {
            QAction *sep = menu->addSeparator();
            sep->setObjectName(c.name);
            sep->setProperty("tag", c.tag);
            continue;
        }
        QAction *a = menu->addAction(c.icon, c.caption);
        a->setObjectName(c.name);
        a->setProperty("tag", c.tag);
        a->setShortcut(c.shortcut);
        // The editor routes keys to the menu itself; elsewhere the window does.
        a->setShortcutContext(Qt::WindowShortcut);
        a->setEnabled(c.enabled);
        if (!c.hint.isEmpty()) {
            a->setToolTip(ShortHint(c.hint));
            a->setStatusTip(LongHint(c.hint));
        }
        if (c.handler) QObject::connect(a, &QAction::triggered, a, [h = c.handler] { h(); });
        if (!c.toolbar.isEmpty()) {
            // A button of its own: toolbar buttons are disabled where menu items are hidden.
            const auto *found =
                std::find_if(toolbars, toolbars + 5, [&](QToolBar *t) { return t->objectName() == c.toolbar; });
            if (found == toolbars + 5) continue;
            QAction *b = new QAction(c.icon, QString(c.caption).remove(u'&'), *found);
            b->setObjectName(c.button);
            b->setProperty("tag", c.tag);
            b->setToolTip(c.hint.isEmpty() ? b->text() : ShortHint(c.hint));
            if (!c.hint.isEmpty()) b->setStatusTip(LongHint(c.hint));
            b->setEnabled(c.enabled);
            if (c.handler) QObject::connect(b, &QAction::triggered, b, [h = c.handler] { h(); });
            (*found)->addAction(b);
        }
    }
}

} // namespace xo
