#pragma once
// TfrmMain: the frame around the document windows, with the document
// commands, the recent-files list, menus and toolbars that follow the
// presence of documents, the switch bar and the status bar.

#include "commands.h"
#include "subsystem.h"
#include "editor/editor_core.h"
#include "mdi_child.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;

namespace xo {

class TEditor;
class TfrmNewDocument;
class TfrmAbout;
class TfrmTips;
class TdlgZefo;
class TCompressFile;
struct ConfigMain;

class TfrmMain : public QMainWindow, public EditorHost {
    Q_OBJECT
public:
    // `configOrder` names the configuration file's sections in the file's
    // order (the frame's own are "Main" and "PredefinedDirs").
    explicit TfrmMain(const QStringList &arguments = {}, std::vector<Subsystem> subsystems = {},
                      QStringList configOrder = {}, QWidget *parent = nullptr);
    ~TfrmMain() override;

    QMdiArea *mdiArea;
    QWidget *SwitchBar;
    QToolBar *toolbars[5];
    QLabel *statusPanels[2];
    QLabel *statusSingle;
    QMenu *menuEditorPopup; // the editors' context menu
    QAction *mnOldFilesSeparator;
    QAction *mnSoubor[9];
    TfrmNewDocument *frmNewDocument;
    TfrmAbout *frmAbout;
    TfrmTips *frmTips;
    TdlgZefo *dlgZefo;

    // Document windows, index 0 the active one.
    QList<TMDIChild *> DocumentWindows() const;
    TMDIChild *ActiveChild() const;
    TEditor *ActiveEditor() const;
    QAction *Action(const QString &name) const;
    // A dialog of the program by its class name; nullptr when none is registered.
    QDialog *Dialog(const QString &name) const;
    // The start-up work of the first activation has run.
    bool StartupDone() const { return started_; }

    // Documents.
    TMDIChild *OpenDocument(const QString &fileName);
    // Files named on the command line: opened once the start-up work is done.
    void SetStartFiles(const QStringList &files) { startFiles_ = files; }
    // Files handed over by another start of the program: opened, the window to the front.
    void OpenFromOutside(const QStringList &files);
    // nullptr when the file could not be loaded (no window is left behind).
    TMDIChild *NewDocumentWindow(const QString &fileName, const TMDIChild::RestoreRecord *restore = nullptr);
    QString AskSaveFileName(const QString &proposed);
    enum class SaveAs { Keep, Dos, Unix };

    void mnNovySouborClick();
    void mnOtevritClick();
    void mnUlozitClick();
    void mnUlozitJakoClick(SaveAs kind = SaveAs::Keep);
    void mnUlozitVseClick();
    void mnZavritClick();
    void mnKonecClick();
    void menuStarySouborVybran(int item); // 1..9
    void mnUndoClick();
    void mnCopyClick();
    void mnCutClick();
    void mnPasteClick();
    void mnDeleteClick();
    void mnKaskadaClick();
    void mnTileClick();
    void mnIconArrangeClick();
    void mnMinimalizovatClick();
    void mnCloseAllClick();
    void mnDalsiOknoClick();
    void mnPredchoziOknoClick();
    void mnpSwitchEditorExplorerClick();

    // The configuration file: read at the first activation, written at exit.
    void LoadConfig();
    void SaveConfig();
    void ApplyMainSection(const ConfigMain &m);
    ConfigMain CollectMainSection();
    QString ConfigPath;
    bool ConfigMissing = false;
    bool ConfigBad = false;
    // The program file the configuration's location derives from.
    static QString ProgramFile;

    // Recent files, newest first.
    void AddRecentFile(const QString &fileName);
    void RemoveRecentFile(const QString &fileName);
    QStringList RecentFiles() const;

    // Frame.
    void MenuShortcut(EditorCore &editor, int shortcut, bool &handled);
    void MenuUpdate();
    void RebuildSwitchBar();
    void RefreshSwitchBar();
    void RefreshModifiedGlyphs();
    void ApplySettings();
    void ShowStatusText(const QString &text) override;
    void ClearStatusText() override;
    void ModifiedChanged(EditorCore &) override { RefreshModifiedGlyphs(); }
    QString StatusText() const;
    bool SingleStatusMode() const;

    // The initial directories of the document file dialogs, and the open
    // dialog's filter (1-based, as stored).
    QString OpenDirectory, SaveDirectory;
    int OpenFilterIndex = 1;

    // Asks about every document whose file another program changed or
    // removed; runs when the window is activated.
    void CheckFilesOnDisk();

protected:
    bool event(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    bool eventFilter(QObject *o, QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    std::vector<CommandSpec> FrameCommands();
    void CreateDialogs();
    void QueueFirstActivation();
    void FirstActivation();
    void RestoreWindow(TMDIChild::RestoreRecord r);
    void ActiveWindowChanged();
    void DocumentClosed(TMDIChild *child);
    void SetRecentItem(int item, const QString &fileName);
    QStringList FileDialog(bool open, const QString &fileName, int *filterIndex);
    void SetToolbarStyle();

    QHash<int, QAction *> shortcuts_; // the menu items by their shortcut
    bool ownButtons_ = false;
    std::vector<Subsystem> subsystems_;
    QStringList configOrder_;
    QStringList startFiles_;
    bool checkingFiles_ = false;
    // Every section of the configuration file, in the file's order.
    std::vector<ConfigSection> ConfigSections();
    QHash<QString, QDialog *> dialogs_;
    bool activationQueued_ = false;
    bool activated_ = false;
    bool started_ = false;
    int lastDocumentCount_ = -1;
    int recentCount_ = 0;
    int saveFilterIndex_ = 0;
};

} // namespace xo
