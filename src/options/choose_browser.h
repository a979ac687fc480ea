#pragma once
// "Vyberte prohlížeč": which of the two browsers shows the document.

#include <QDialog>

class QButtonGroup;

namespace xo {

class TfrmChooseBrowser : public QDialog {
    Q_OBJECT
public:
    explicit TfrmChooseBrowser(QWidget *parent = nullptr);
    QButtonGroup *grpBrowser;
    // Starts at the choice kept in ChooseBrowserState; true on OK with the new choice kept.
    bool Execute(int &choice);
};

} // namespace xo
