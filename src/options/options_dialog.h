#pragma once
// TfrmOptions, "Volitelné parametry": every setting the user can change,
// on six pages. Colours change the open editors at once and come back on
// Cancel; everything else is stored on OK.

#include "documents/shared_commands.h"
#include "list_editors.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace xo {

class TfrmOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOptions(QWidget *parent = nullptr);

    // What the dialog needs from the program around it.
    std::function<void()> RepaintEditors;
    // The font dialog for "Z fontu": false when cancelled, else the tags.
    std::function<bool(std::string &open, std::string &close)> FontTags;

    QTabWidget *Pages;
    QWidget *pgGlobalW, *pgColorsW, *pgBrowsersW, *pgStylyTextuW, *pgUserTagW, *pgPredefinedDirsW;
    QCheckBox *chkReadWins, *chkSwtLine, *chkShortSwitch, *chkRunTip, *chkComCtl32Paint, *chkSpecialOpenSave;
    QCheckBox *chkFormat, *chkColTags, *chkIExpNahled, *chkOleNahled, *chkShortTitle, *chkBAKs, *chkNbspChar;
    QPushButton *colorButtons[8];
    QPushButton *btColorsUndo, *btColorsImplicitni1, *btColorsImplicitni2;
    QLineEdit *edBrowsersNetscape, *edBrowsersExplorer;
    QPushButton *btFindNetscape, *btFindExplorer, *btBrowsersImplicitni;
    QLineEdit *edNazevStylu, *edPred, *edZa;
    QLabel *stPoradiStylu;
    QPushButton *btMinuly, *btDalsi, *btVlozit, *btSmazat, *btZFontu;
    QLineEdit *edUserTagName, *edUserTagTag, *edUserTagPars, *edUserTagText;
    QLabel *stUserTagID;
    QCheckBox *chkUserTagPair;
    QPushButton *btUserTagPrevious, *btUserTagNext, *btUserTagInsert, *btUserTagDelete;
    QListWidget *lbPredefinedList;
    QPushButton *btEraseSelectedPredefined;
    QPushButton *btOk, *btCancel;

    TStyleEditor Styles;
    TUserTagEditor Tags;

    // Runs the dialog on a page (-1: the page last shown, the first time pgGlobal).
    bool Execute(int page);
    // Whether the current page may be left (and OK pressed).
    bool LeaveAllowed() const;
    void SetColor(int index, uint32_t color);
    void done(int r) override;

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void fill();
    void showStyle();
    void showTag();
    void updateStyleButtons();
    void updateTagButtons();
    void showColors();
    StyleFields styleFields() const;
    UserTagFields tagFields() const;
    void chooseBrowser(QLineEdit *field);

    TEditorColors saved_{};
    bool filling_ = false;
    int lastPage_ = pgGlobal;
    int shownPage_ = pgGlobal;
};

} // namespace xo
