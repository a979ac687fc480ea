#pragma once
// "Hierarchie souborů": the scanned site, installed into a directory or
// uploaded over FTP through a queue drained once a second; and the
// password question "Heslo pro Ftp".

#include "ftp_client.h"
#include "site_publish.h"
#include "site_scan.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTimer;

namespace xo {

class TfrmHierarchiePwd : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHierarchiePwd(QWidget *parent = nullptr);
    QLineEdit *edPassword;
    QPushButton *btOk;
    // True on OK with the password typed.
    bool Execute(QString &password);
};

class TfrmHierarchie : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHierarchie(QWidget *parent = nullptr);
    ~TfrmHierarchie() override;

    QListWidget *boxHtmlFiles, *boxMultimedia, *ResultList;
    QLabel *lbChyb, *lbTagu, *lbSouboru, *lbFTPStatus;
    QCheckBox *chkHTML, *chkMultimedia, *chkDnesni;
    QLineEdit *edServer, *edUserName, *edPassword, *edPort, *edDirectory;
    QPushButton *btInstaluj, *btConnect, *btFTP, *btShowResults, *btFtpHelp, *btClose;
    QTimer *tmrFtp, *tmrCursor;
    QStackedWidget *Pages;
    T_FTP *Ftp;
    TSiteUpload Upload;
    QString InstallDirectory;

    // What the dialog needs from the program around it.
    TfrmHierarchiePwd *PasswordDialog = nullptr;
    std::function<bool(QString &dir)> ChooseDirectory;
    std::function<void(const QString &text)> ShowStatusText; // the main window's status bar
    std::function<void(int context)> ShowHelp;

    // Shows the scan's lists and runs the dialog modally.
    void Execute(const TSiteScan &scan);
    void Fill(const TSiteScan &scan);

    void btInstalujClick();
    void btConnectClick();
    void btFTPClick();
    void tmrFtpTimer();
    void FtpTrace(const QString &text, TTraceLevel level);
    void ShowResults(bool show);
    void BusyCursor(bool on);
    bool BusyCursorOn() const { return busy_; }
    int CursorFrame() const { return frame_; }
    void done(int r) override;

private:
    void setStatus(const QString &t);
    void nextCursorFrame();
    void storeFields();
    void finishStep();

    bool busy_ = false;
    int frame_ = 5;
    bool stepping_ = false;
    int pendingClose_ = -1;
    bool logShownLater_ = false;
};

} // namespace xo
