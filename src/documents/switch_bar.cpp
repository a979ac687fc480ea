// The switch bar under the documents: a panel for each window, the newest
// first, with its name and whether it is saved; a click brings it to the front.
#include "main_window.h"

#include "editor/editor_widget.h"
#include "glyphs.h"
#include "settings/settings.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <functional>

namespace xo {

namespace {

const QString kUnnamed = QStringLiteral("Nepojmenovaný");

// A panel of the switch bar: a click brings its document to the front.
class SwitchPanel : public QFrame {
public:
    SwitchPanel(QWidget *parent, std::function<void()> onClick) : QFrame(parent), onClick_(std::move(onClick)) {
        setFrameShape(QFrame::Panel);
        setLineWidth(1);
        image = new QLabel(this);
        image->setGeometry(3, 3, 16, 16);
        image->setAttribute(Qt::WA_TransparentForMouseEvents);
        text = new QLabel(this);
        text->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QLabel *image;
    QLabel *text;

protected:
    void mousePressEvent(QMouseEvent *) override { onClick_(); }

private:
    std::function<void()> onClick_;
};

QString baseName(const QString &path) { return QFileInfo(path).fileName(); }

} // namespace

void TfrmMain::RebuildSwitchBar() {
    if (!Settings.SwtLine) return;
    for (QFrame *p : SwitchBar->findChildren<QFrame *>(QString(), Qt::FindDirectChildrenOnly)) delete p;
    int x = 3;
    const auto windows = DocumentWindows();
    TMDIChild *active = ActiveChild();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        TMDIChild *c = *it;
        if (c->Closing) continue;
        const int serial = c->Editor->Tag;
        auto *panel = new SwitchPanel(SwitchBar, [this, serial] {
            for (TMDIChild *w : DocumentWindows())
                if (w->Editor->Tag == serial) mdiArea->setActiveSubWindow(w);
        });
        panel->setProperty("tag", serial);
        const QString &name = c->Editor->FileName;
        panel->setToolTip(name);
        panel->setStatusTip(name); // the hint reaches the status bar
        QString caption = name.isEmpty() ? kUnnamed : baseName(name);
        if (!name.isEmpty() && Settings.ShortSwitch && caption.contains(u'.'))
            caption.truncate(caption.lastIndexOf(u'.'));
        caption += QStringLiteral("  ");
        panel->text->setText(caption);
        const int w = panel->fontMetrics().horizontalAdvance(caption) + 22;
        panel->setGeometry(x, 1, w, 21);
        panel->text->setGeometry(20, 0, w - 20, 21);
        panel->setFrameShadow(c == active ? QFrame::Sunken : QFrame::Raised);
        panel->image->setPixmap(c->Editor->Modified() ? ModifiedGlyph() : SavedGlyph());
        panel->show();
        x += w + 10;
    }
}

void TfrmMain::RefreshSwitchBar() {
    TMDIChild *active = ActiveChild();
    const auto panels = SwitchBar->findChildren<QFrame *>(QString(), Qt::FindDirectChildrenOnly);
    for (TMDIChild *c : DocumentWindows()) {
        for (QFrame *f : panels) {
            if (f->property("tag").toInt() != c->Editor->Tag) continue;
            auto *p = static_cast<SwitchPanel *>(f);
            // Runs on every keystroke: touch only what changed.
            const QPixmap glyph = c->Editor->Modified() ? ModifiedGlyph() : SavedGlyph();
            if (p->image->pixmap().cacheKey() != glyph.cacheKey()) p->image->setPixmap(glyph);
            const auto shadow = c == active ? QFrame::Sunken : QFrame::Raised;
            if (p->frameShadow() != shadow) p->setFrameShadow(shadow);
        }
    }
}

} // namespace xo
