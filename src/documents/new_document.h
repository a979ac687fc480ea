#pragma once
#include <QDialog>

class QButtonGroup;
class QGroupBox;
class QPushButton;

namespace xo {

// "Nový dokument": how a new document starts.
class TfrmNewDocument : public QDialog {
    Q_OBJECT
public:
    enum Choice { UseTemplate = 0, BasicStructure = 1, FramesStructure = 2, EmptyDocument = 3 };
    explicit TfrmNewDocument(QWidget *parent = nullptr);
    QGroupBox *grpMain;
    QButtonGroup *choices;
    QPushButton *btOk, *btCancel;
    int ItemIndex() const;
    void SetItemIndex(int i);
};

} // namespace xo
