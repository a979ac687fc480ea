#pragma once
// TMDIChild: the document window. It owns the document's editor on the
// "Dokument" page and previews the saved file on the other pages.

#include "browser_view.h"

#include <QMdiSubWindow>
#include <QTimer>
#include <memory>

class QLabel;
class QFrame;
class QTabWidget;
class QTextBrowser;

namespace xo {
class TLocalTextBrowser;
}

namespace xo {

class TEditor;
class TfrmMain;

// The document's encoding as the program shows it.
QString EncodingText(const class EditorCore &e);

class TMDIChild : public QMdiSubWindow {
    Q_OBJECT
public:
    // What the configuration keeps of a window to reopen it.
    struct RestoreRecord {
        QString fileName;
        int left = 10000; // 10000: no bounds were stored
        int top = 0, width = 0, height = 0;
        int selStart = 1, selEnd = 1;
        bool restoring = false;
    };

    TMDIChild(TfrmMain &main, const RestoreRecord *restore = nullptr);
    ~TMDIChild() override;

    TEditor *Editor;
    QTabWidget *Pages;
    QWidget *pgEditor, *pgWebBrowser, *pgBrowser, *pgInfo;
    QFrame *pnlEditor;
    TLocalTextBrowser *oleBrowser;
    QLabel *stFileName, *stSize, *stSizeMem, *stLastUpdate, *stFileNameS, *imgAssociatedIcon;
    QLabel *stEncoding; // "UTF-8", "UTF-8 (BOM)" or "CP1250"
    QLabel *EditorPosText;
    QWidget *pnlImages;
    QLabel *imgSaved, *imgModified;
    QTimer EditorPositionTimer;
    bool Closing = false;

    BrowserView *WebBrowser() const { return browser_.get(); }

    void RefreshCaption();
    // For the configuration: file name and, for a named document, bounds and selection.
    RestoreRecord StateRecord();
    // Shows or hides the preview tabs as the settings say.
    void ApplyTabSettings();
    void ShowPage(QWidget *page);
    void Activated();
    void UpdateEditorPosition();
    void LayoutOverlay();

    // "   5:12 " for line 5, column 12 (counted from 1).
    static QString CaretPositionText(int line, int column);
    // The close query; false keeps the window open.
    bool CloseQuery();

signals:
    void documentClosed(TMDIChild *child);

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void PageChanged(int index);
    void FillInfo();
    void OpenWebBrowserPage();

    TfrmMain &main_;
    int overlayLeft_ = 0; // the overlay texts start right of this (the tabs)
    std::unique_ptr<BrowserView> browser_;
};

} // namespace xo
