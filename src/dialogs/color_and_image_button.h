#pragma once
// The two buttons the tag dialogs share: a colour button whose face shows
// the chosen colour ("-" for none), and an image button that holds a picture
// file and the reference to it from the edited document.

#include <QString>
#include <QWidget>
#include <functional>

namespace xo {

class TColorButton : public QWidget {
    Q_OBJECT
public:
    explicit TColorButton(QWidget *parent = nullptr);

    // The face colour that stands for no colour.
    int DefColor() const { return def_; }
    void SetDefColor(int color);
    // The chosen colour, -1 for none (also for one equal to DefColor).
    int ActColor() const { return set_ ? face_ : -1; }
    void SetActColor(int color);
    int FaceColor() const { return face_; }
    // "-" or "#rrggbb", and whether it is lettered in white.
    QString FaceText() const;
    bool WhiteLettering() const;
    std::function<void()> OnColorChange;

    // The primary click: the colour chooser with the shared custom colours.
    void ChooseColor();
    QSize sizeHint() const override { return {80, 22}; }

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    int def_ = 0, face_ = 0;
    bool set_ = false;
};

// The shown path, shortened until width(text) + 20 fits `buttonWidth`: the
// first directory name after the root that is not yet "..." becomes "...";
// with none left, only the file name stays.
QString ElidedImagePath(const QString &path, int buttonWidth, const std::function<int(const QString &)> &width);

class TImageButton : public QWidget {
    Q_OBJECT
public:
    explicit TImageButton(QWidget *parent = nullptr);

    QString ImageName() const { return name_; }
    // The reference that goes into the tag.
    QString ImageNameRel() const { return rel_; }
    QString BaseFile() const { return base_; }
    // Set the base first: a relative name is resolved against it.
    void SetBaseFile(const QString &file);
    void SetImageName(const QString &name);
    // The size read from the picture when it was chosen.
    int ImageWidth = 0, ImageHeight = 0;
    std::function<void()> OnImageChange;

    QString ShownText() const;
    // The primary click: "Výběr obrázku", then the picture's size.
    void ChooseImage();
    void Clear();
    QSize sizeHint() const override { return {200, 23}; }

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void recompute();
    QString name_, rel_, base_;
};

} // namespace xo
