#include "color_and_image_button.h"

#include "image_info.h"
#include "paths.h"
#include "platform/qt_services.h"
#include "platform/services.h"
#include "settings/settings.h"
#include "tag_builders.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace xo {

namespace {

QColor qcolor(int c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
int colorValue(const QColor &c) { return c.red() | c.green() << 8 | c.blue() << 16; }

void drawFrame(QWidget *w, QPainter &p) {
    QStyleOptionFrame o;
    o.initFrom(w);
    o.frameShape = QFrame::Panel;
    o.state |= QStyle::State_Raised;
    o.lineWidth = 1;
    w->style()->drawPrimitive(QStyle::PE_Frame, &o, &p, w);
    if (w->hasFocus()) {
        QStyleOptionFocusRect f;
        f.initFrom(w);
        f.rect = w->rect().adjusted(3, 3, -3, -3);
        w->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &f, &p, w);
    }
}

} // namespace

TColorButton::TColorButton(QWidget *parent) : QWidget(parent) {
    setToolTip(QStringLiteral("Klikněte zde pro změnu barvy"));
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(80, 22);
}

void TColorButton::SetDefColor(int color) {
    def_ = color;
    if (!set_) face_ = def_;
    set_ = face_ != def_;
    update();
}

void TColorButton::SetActColor(int color) {
    face_ = color == -1 ? def_ : color;
    set_ = face_ != def_;
    update();
}

QString TColorButton::FaceText() const {
    return set_ ? QString::fromStdString(ColorToHex(face_)) : QStringLiteral("-");
}

bool TColorButton::WhiteLettering() const {
    return (face_ & 0xFF) + ((face_ >> 8) & 0xFF) + ((face_ >> 16) & 0xFF) <= 128;
}

void TColorButton::ChooseColor() {
    if (auto c = platform::services().chooseColor(qcolor(face_), CustomColors, this)) SetActColor(colorValue(*c));
    if (OnColorChange) OnColorChange();
}

void TColorButton::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), qcolor(face_));
    p.setPen(WhiteLettering() ? Qt::white : Qt::black);
    p.drawText(rect(), Qt::AlignCenter, FaceText());
    drawFrame(this, p);
}

void TColorButton::mousePressEvent(QMouseEvent *e) {
    setFocus(Qt::MouseFocusReason);
    if (e->button() == Qt::RightButton) {
        SetActColor(-1);
        if (OnColorChange) OnColorChange();
    }
}

void TColorButton::mouseReleaseEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) ChooseColor();
}

void TColorButton::keyPressEvent(QKeyEvent *e) {
    // The keyboard's way to the two clicks: Space chooses, Delete clears.
    if (e->key() == Qt::Key_Space) {
        ChooseColor();
    } else if (e->key() == Qt::Key_Delete) {
        SetActColor(-1);
        if (OnColorChange) OnColorChange();
    } else {
        QWidget::keyPressEvent(e);
    }
}

QString ElidedImagePath(const QString &path, int buttonWidth, const std::function<int(const QString &)> &width) {
    QString text = path;
    while (width(text) + 20 > buttonWidth) {
        const QStringList parts = text.split(u'/');
        // parts: "" (the root), directories..., file name
        int i = 1;
        while (i < parts.size() - 1 && parts[i] == QLatin1String("...")) ++i;
        if (i >= parts.size() - 1) return parts.last();
        QStringList shorter = parts;
        shorter[i] = QStringLiteral("...");
        text = shorter.join(u'/');
    }
    return text;
}

TImageButton::TImageButton(QWidget *parent) : QWidget(parent) {
    setToolTip(QStringLiteral("Klikněte zde pro změnu obrázku"));
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(200, 23);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TImageButton::SetBaseFile(const QString &file) {
    base_ = file;
    recompute();
}

void TImageButton::SetImageName(const QString &name) {
    name_ = name;
    recompute();
}

void TImageButton::recompute() {
    if (name_.isEmpty()) {
        rel_.clear();
    } else {
        name_ = AbsolutePath(base_, name_);
        rel_ = base_.isEmpty() ? name_ : RelativePath(base_, name_);
    }
    update();
}

QString TImageButton::ShownText() const {
    if (name_.isEmpty()) return QStringLiteral("-");
    const QFontMetrics m(font());
    return ElidedImagePath(name_, width(), [&](const QString &t) { return m.horizontalAdvance(t); });
}

void TImageButton::ChooseImage() {
    platform::FileRequest r;
    r.caption = QStringLiteral("Výběr obrázku");
    r.filter = QStringLiteral("Všechny obrázky (*.gif *.jpg *.jpeg);;GIF soubory (*.gif);;JPG/JPEG soubory (*.jpg *.jpeg)");
    r.directory = name_.isEmpty() ? QString() : QFileInfo(name_).absolutePath();
    r.parent = this;
    const platform::FileResult f = platform::services().openFile(r);
    if (!f.accepted()) return;
    SetImageName(f.files.first());
    const ImageInfo info = ReadImageInfo(name_);
    ImageWidth = info.width;
    ImageHeight = info.height;
    if (OnImageChange) OnImageChange();
}

void TImageButton::Clear() {
    SetImageName(QString());
    ImageWidth = ImageHeight = 0;
    if (OnImageChange) OnImageChange();
}

void TImageButton::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    p.setPen(palette().buttonText().color());
    p.drawText(rect().adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft, ShownText());
    drawFrame(this, p);
}

void TImageButton::mousePressEvent(QMouseEvent *e) {
    setFocus(Qt::MouseFocusReason);
    if (e->button() == Qt::RightButton) Clear();
}

void TImageButton::mouseReleaseEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) ChooseImage();
}

void TImageButton::keyPressEvent(QKeyEvent *e) {
    if (e->key() == Qt::Key_Space)
        ChooseImage();
    else if (e->key() == Qt::Key_Delete)
        Clear();
    else
        QWidget::keyPressEvent(e);
}

} // namespace xo
