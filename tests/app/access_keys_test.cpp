// Every dialog of the program, page by page: no two controls visible
// together may share an access key.
#include "documents/about_dialogs.h"
#include "documents/new_document.h"
#include "search/find_dialogs.h"
#include "dialogs/frameset_dialogs.h"
#include "dialogs/tag_dialogs.h"
#include "options/choose_browser.h"
#include "options/options_dialog.h"
#include "settings/settings.h"
#include "site/hierarchy_dialogs.h"
#include "site/search_dialogs.h"
#include "tables/table_dialogs.h"
#include "tools/system_info.h"

#include <QAbstractButton>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSet>
#include <QStackedWidget>
#include <QTabWidget>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

using namespace xo;

namespace {

// The access key of a caption ("Ř&etězec" → 'e'); a null character for none.
QChar AccessKey(const QString &text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] == u'&') {
            ++i; // "&&" is a plain ampersand
            continue;
        }
        return text[i + 1].toLower();
    }
    return {};
}

// The captions with access keys that the dialog shows now, by key.
std::map<QChar, QStringList> KeysShown(QWidget &dialog) {
    std::map<QChar, QStringList> keys;
    auto add = [&](const QString &caption) {
        const QChar k = AccessKey(caption);
        if (!k.isNull()) keys[k] << caption;
    };
    for (QWidget *w : dialog.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&dialog)) continue;
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            add(b->text());
        else if (auto *l = qobject_cast<QLabel *>(w); l && l->buddy())
            add(l->text());
        else if (auto *g = qobject_cast<QGroupBox *>(w))
            add(g->title());
        else if (auto *t = qobject_cast<QTabWidget *>(w))
            for (int i = 0; i < t->count(); ++i)
                if (t->isTabVisible(i)) add(t->tabText(i));
    }
    return keys;
}

// Every page of every tab and stack, one after the other: the doubles found.
QStringList Collisions(QWidget &dialog) {
    QStringList found;
    auto look = [&](const QString &where) {
        for (const auto &[key, captions] : KeysShown(dialog))
            if (captions.size() > 1)
                found << QStringLiteral("%1 %2: Alt+%3 → %4").arg(dialog.metaObject()->className(), where, key,
                                                               captions.join(QStringLiteral(", ")));
    };
    look(QStringLiteral("(first page)"));
    for (QTabWidget *t : dialog.findChildren<QTabWidget *>())
        for (int i = 0; i < t->count(); ++i)
            if (t->isTabVisible(i)) {
                t->setCurrentIndex(i);
                look(t->tabText(i));
            }
    for (QStackedWidget *s : dialog.findChildren<QStackedWidget *>()) {
        if (qobject_cast<QTabWidget *>(s->parentWidget())) continue; // a tab widget's own stack
        for (int i = 0; i < s->count(); ++i) {
            s->setCurrentIndex(i);
            look(QStringLiteral("page %1").arg(i));
        }
    }
    return found;
}

// Every dialog class the sources declare, so that a new one cannot be left out.
QSet<QString> DialogClassesInTheSources() {
    QSet<QString> names;
    const QRegularExpression declared(QStringLiteral(R"(class\s+(T\w+)\s*(?:final\s*)?:\s*public\s+(?:QDialog|TTagDialog)\b)"));
    QDirIterator it(QStringLiteral(XO_SOURCE_DIR "/src"), {QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(f.readAll());
        for (auto m = declared.globalMatch(text); m.hasNext();) names.insert(m.next().captured(1));
    }
    return names;
}

using Make = std::function<std::unique_ptr<QDialog>()>;

template <class D>
Make make() {
    return [] { return std::make_unique<D>(); };
}

} // namespace

TEST(AccessKeys, NoWindowOffersOneKeyTwice) {
    EXPECT_EQ(AccessKey(QStringLiteral("Ř&etězec:")), u'e');
    EXPECT_EQ(AccessKey(QStringLiteral("A && B &Dál")), u'd');
    EXPECT_TRUE(AccessKey(QStringLiteral("Zrušit")).isNull());

    SpecialOpenSave = true; // its page shows only then
    const std::vector<Make> dialogs = {
        make<TdlgFind>(),          make<TdlgReplace>(),       make<TfrmGotoLine>(),       make<TfrmTable>(),
        make<TfrmCellOptions>(),   [] { return std::make_unique<TfrmCellOptions>(nullptr, true); },
        make<TfrmTableInteractive>(), make<TfrmOptions>(),   make<TfrmChooseBrowser>(),  make<TfrmFrameParams>(),
        make<TfrmFrameSet>(),      make<TfrmAlign>(),         make<TfrmTagHR>(),          make<TfrmTagFont>(),
        make<TfrmTagBody>(),       make<TfrmTagBodyOprava>(), make<TfrmTagImg>(),         make<TfrmAhref>(),
        make<TfrmTagUL>(),         make<TfrmTagOL>(),         make<TfrmTagMarquee>(),     make<TfrmTagBgsound>(),
        make<TfrmTagEmbed>(),      make<TfrmTagApplet>(),     make<TfrmInformace>(),      make<TfrmHierarchiePwd>(),
        make<TfrmHierarchie>(),    make<TdlgChooseDir>(),     make<TfrmSearchFiles>(),    make<TfrmAbout>(),
        make<TfrmTips>(),          make<TdlgZefo>(),          make<TfrmNewDocument>(),
    };
    QSet<QString> opened;
    QStringList collisions;
    for (const Make &m : dialogs) {
        const std::unique_ptr<QDialog> d = m();
        opened.insert(QString::fromLatin1(d->metaObject()->className()).section(QStringLiteral("::"), -1));
        collisions << Collisions(*d);
    }
    EXPECT_EQ(collisions.join(u'\n').toStdString(), "");
    QSet<QString> declared = DialogClassesInTheSources();
    EXPECT_TRUE(declared.contains(QStringLiteral("TfrmOptions"))); // the sources were read
    declared.remove(QStringLiteral("TTagDialog"));                  // the tag dialogs' base
    QStringList missing = (declared - opened).values();
    missing.sort();
    EXPECT_EQ(missing.join(u' ').toStdString(), "") << "dialogs this test does not open";
}
