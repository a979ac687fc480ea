#pragma once
// The frameset wizard and the frame parameters dialog.

#include "frame_tree.h"
#include "tag_dialogs.h"

#include <QFrame>

namespace xo {

class TfrmFrameParams : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmFrameParams(QWidget *parent = nullptr);
    QLineEdit *edFilename, *edFrameName, *edTargetName, *edFrameSize;
    QPushButton *btChooseFile;
    QButtonGroup *grpScrolling;
    QCheckBox *chkClientSize;
    QLabel *lbFrameSize;
    bool ExecuteFrameParams(FrameParams &p);

protected:
    bool CanClose() override;

private:
    QString openedSize_;
};

// One frame of the layout on screen.
class TFramePanel : public QFrame {
    Q_OBJECT
public:
    TFramePanel(TFrm &frm, QWidget *parent);
    TFrm &Frm;

signals:
    void Clicked(TFrm &frm);
    void SplitMenu(TFrm &frm, QPoint at);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    // The frame with the keyboard shows a thicker border.
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
};

class TfrmFrameSet : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmFrameSet(QWidget *parent = nullptr);
    std::unique_ptr<TFrameTree> Tree;
    QWidget *pnlFrames;
    QPushButton *btHelp;
    // The wizard: true on OK with the tags in `text`.
    bool Execute(std::string &text);
    // What a primary click on a frame does, and a split by the pop-up menu.
    void FrameClicked(TFrm &f);
    void SplitFrame(TFrm &f, int x, int y, bool columns);
    TFramePanel *PanelOf(const TFrm &f) const;

private:
    void rebuild();
    void splitMenu(TFrm &f, QPoint at);
};

// The tags of the last confirmed wizard.
extern std::string FramesetText;

} // namespace xo
