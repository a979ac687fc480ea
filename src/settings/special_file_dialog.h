#pragma once
// The strip of predefined directories that the open and save dialogs show
// while SpecialOpenSave is on.

#include <QWidget>

class QComboBox;
class QFileDialog;
class QFrame;
class QPushButton;

namespace xo {

class TSpecialDialogStrip : public QWidget {
    Q_OBJECT
public:
    // Lays the strip into a widget-based file dialog, listing PredefinedDirs.
    static TSpecialDialogStrip *Attach(QFileDialog &dialog);

    QWidget *MujPanel;
    QComboBox *ListCombo;
    QPushButton *AddButton;
    QFrame *DivisionLine;

    // The dialog's folder or selection changed.
    void FolderChanged();
    void AddClicked();
    void EntryChosen(const QString &directory);

private:
    explicit TSpecialDialogStrip(QFileDialog &dialog);
    QString CurrentDirectory() const;
    QFileDialog &dialog_;
};

} // namespace xo
