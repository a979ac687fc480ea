#pragma once
// "Hierarchie souborů": the scanned site, installed into a directory or
// uploaded over FTP through a queue drained once a second; and the
// password question "Heslo pro Ftp".

#include "curl_client.h"
#include "ftp_client.h"
#include "publish_manifest.h"
#include "site_publish.h"
#include "site_scan.h"

#include <QDialog>
#include <functional>
#include <memory>

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
    QCheckBox *chkRemember;
    QLabel *lbSession; // where no secret service runs, "remember" lasts the session
    QPushButton *btOk;
    // True on OK with the password typed; `remember` says whether to keep it.
    bool Execute(QString &password, bool *remember = nullptr);
};

class TfrmHierarchie : public QDialog {
    Q_OBJECT
public:
    explicit TfrmHierarchie(QWidget *parent = nullptr);
    ~TfrmHierarchie() override;

    QListWidget *boxHtmlFiles, *boxMultimedia, *ResultList;
    QLabel *lbChyb, *lbTagu, *lbSouboru, *lbFTPStatus;
    QCheckBox *chkHTML, *chkMultimedia, *chkDnesni, *chkVseZnovu;
    QLineEdit *edServer, *edUserName, *edPassword, *edPort, *edDirectory;
    QPushButton *btInstaluj, *btConnect, *btFTP, *btShowResults, *btFtpHelp, *btClose;
    QTimer *tmrFtp, *tmrCursor;
    QStackedWidget *Pages;
    T_FTP *Ftp;           // plain FTP
    TCurlClient *Secure;  // FTPS and SFTP
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
    // The client of the server field's protocol, set up from the fields;
    // false (and said why) when the fields do not name a server.
    bool prepareClient(TRemoteServer &server, int &port);
    TFtpClient &client();
    void stopClient();
    // The server field's URL port goes into the port field.
    void serverEdited();
    void nextCursorFrame();
    void storeFields();
    void finishStep();

    bool busy_ = false;
    int frame_ = 5;
    bool stepping_ = false;
    int pendingClose_ = -1;
    bool logShownLater_ = false;
    TFtpClient *client_ = nullptr;
    QString siteKey_; // protocol, user, host and port of the session
    std::unique_ptr<TPublishManifest> manifest_;
};

} // namespace xo
