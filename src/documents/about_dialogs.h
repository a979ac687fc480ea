#pragma once
// The about box, the tips window and the advertisement dialog.

#include <QDialog>

class QCheckBox;
class QLabel;

namespace xo {

extern const char *const kVersionText;

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);
};

class TfrmTips : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTipCount = 24;
    explicit TfrmTips(QWidget *parent = nullptr);
    // Shows the tip after the one last shown (TipNumber), remembering it.
    void NextTip();
    // Takes the check box into RunTip.
    void done(int r) override;
    QLabel *lbTip;
    QCheckBox *chkShowAtStart;
    static QString TipText(int number); // 1..24
};

class TdlgZefo : public QDialog {
    Q_OBJECT
public:
    explicit TdlgZefo(QWidget *parent = nullptr);
};

} // namespace xo
