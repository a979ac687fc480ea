#include "hierarchy_dialogs.h"

#include "dialogs/dialog_kit.h"
#include "platform/cp1250.h"
#include "platform/secrets.h"
#include "platform/services.h"
#include "site_state.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

namespace xo {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

constexpr int kFirstFrame = 5, kLastFrame = 14;

// The busy cursor's frames: a ring of dots whose bright dot goes round.
QCursor busyFrame(int frame) {
    static QCursor frames[kLastFrame - kFirstFrame + 1];
    static bool made = false;
    if (!made) {
        for (int f = 0; f <= kLastFrame - kFirstFrame; ++f) {
            QPixmap pix(32, 32);
            pix.fill(Qt::transparent);
            QPainter p(&pix);
            p.setRenderHint(QPainter::Antialiasing);
            const int dots = kLastFrame - kFirstFrame + 1;
            for (int d = 0; d < dots; ++d) {
                const double a = 2 * M_PI * d / dots;
                const QPointF c(16 + 11 * std::sin(a), 16 - 11 * std::cos(a));
                p.setPen(QPen(Qt::white, 1));
                p.setBrush(d == f ? QColor(0, 0, 160) : QColor(150, 150, 200));
                p.drawEllipse(c, d == f ? 4.0 : 2.5, d == f ? 4.0 : 2.5);
            }
            p.end();
            frames[f] = QCursor(pix, 16, 16);
        }
        made = true;
    }
    return frames[frame - kFirstFrame];
}

} // namespace

// ---------------------------------------------------------------- password

TfrmHierarchiePwd::TfrmHierarchiePwd(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Heslo pro Ftp"));
    edPassword = kit::Field("edPassword", QString(), 20);
    edPassword->setEchoMode(QLineEdit::Password);
    btOk = new QPushButton(QStringLiteral("O&k"));
    btOk->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Zrušit"));
    cancel->setToolTip(QStringLiteral("Návrat"));
    chkRemember = kit::Check("chkRemember", QStringLiteral("Za&pamatovat heslo"),
                             QStringLiteral("Uložit heslo do služby pro hesla tohoto počítače"));
    lbSession = new QLabel(QStringLiteral("Služba pro hesla neběží: heslo se zapamatuje jen do konce sezení."));
    lbSession->setObjectName(QStringLiteral("lbSession"));
    lbSession->setWordWrap(true);
    auto *form = new QFormLayout;
    form->addRow(kit::Label(QStringLiteral("&Heslo:"), edPassword), edPassword);
    form->addRow(QString(), chkRemember);
    form->addRow(QString(), lbSession);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(btOk);
    row->addWidget(cancel);
    auto *box = new QVBoxLayout(this);
    box->addLayout(form);
    box->addLayout(row);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(edPassword, &QLineEdit::textChanged, this, [this](const QString &t) { btOk->setEnabled(!t.isEmpty()); });
    btOk->setEnabled(false);
}

bool TfrmHierarchiePwd::Execute(QString &password, bool *remember) {
    edPassword->clear();
    edPassword->setFocus();
    chkRemember->setChecked(false);
    chkRemember->setVisible(remember != nullptr);
    lbSession->setVisible(remember != nullptr && !platform::secrets().available());
    if (platform::services().runModal(*this) != QDialog::Accepted || edPassword->text().isEmpty()) return false;
    password = edPassword->text();
    if (remember) *remember = chkRemember->isChecked();
    edPassword->clear(); // not kept in a widget longer than needed
    return true;
}

// ---------------------------------------------------------------- site dialog

TfrmHierarchie::TfrmHierarchie(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Hierarchie souborů"));
    resize(640, 480);

    boxHtmlFiles = new QListWidget;
    boxHtmlFiles->setObjectName(QStringLiteral("boxHtmlFiles"));
    boxMultimedia = new QListWidget;
    boxMultimedia->setObjectName(QStringLiteral("boxMultimedia"));
    lbChyb = new QLabel;
    lbTagu = new QLabel;
    lbSouboru = new QLabel;
    auto *lists = new QWidget;
    auto *grid = new QGridLayout(lists);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(kit::Label(QStringLiteral("&HTML soubory:"), boxHtmlFiles), 0, 0);
    grid->addWidget(kit::Label(QStringLiteral("Multimédi&a:"), boxMultimedia), 0, 1);
    grid->addWidget(boxHtmlFiles, 1, 0);
    grid->addWidget(boxMultimedia, 1, 1);
    auto *counts = new QHBoxLayout;
    counts->addWidget(new QLabel(QStringLiteral("Chyb:")));
    counts->addWidget(lbChyb);
    counts->addSpacing(16);
    counts->addWidget(new QLabel(QStringLiteral("Tagů:")));
    counts->addWidget(lbTagu);
    counts->addSpacing(16);
    counts->addWidget(new QLabel(QStringLiteral("Souborů:")));
    counts->addWidget(lbSouboru);
    counts->addStretch();
    grid->addLayout(counts, 2, 0, 1, 2);

    ResultList = new QListWidget;
    ResultList->setObjectName(QStringLiteral("ResultList"));
    Pages = new QStackedWidget;
    Pages->addWidget(lists);
    Pages->addWidget(ResultList);

    chkHTML = kit::Check("chkHTML", QStringLiteral("HTML soubor&y"), QString());
    chkMultimedia = kit::Check("chkMultimedia", QStringLiteral("&Multimediální"), QString());
    chkDnesni = kit::Check("chkDnesni", QStringLiteral("&Jen dnešní soubory"),
                           QStringLiteral("Jen soubory změněné dnes"));
    chkVseZnovu = kit::Check("chkVseZnovu", QStringLiteral("&Vše znovu"),
                             QStringLiteral("Vyslat i soubory, které se od minulého vyslání nezměnily"));
    btInstaluj = new QPushButton(QStringLiteral("&Instalace"));
    btInstaluj->setObjectName(QStringLiteral("btInstaluj"));
    auto *choice = new QGroupBox(QStringLiteral("Instalovat"));
    auto *choiceBox = new QVBoxLayout(choice);
    choiceBox->addWidget(chkHTML);
    choiceBox->addWidget(chkMultimedia);
    choiceBox->addWidget(chkDnesni);
    choiceBox->addWidget(chkVseZnovu);
    choiceBox->addStretch();
    choiceBox->addWidget(btInstaluj);

    edServer = kit::Field("edServer",
                          QStringLiteral("Jméno nebo adresa serveru FTP; šifrovaně ftps://server nebo sftp://server"
                                         "[:port]"),
                          120);
    edUserName = kit::Field("edUserName", QStringLiteral("Přihlašovací jméno"), 30);
    edPassword = kit::Field("edPassword", QStringLiteral("Prázdné heslo si program vyžádá při přihlášení"), 20);
    edPassword->setEchoMode(QLineEdit::Password);
    edPort = kit::Field("edPort", QStringLiteral("Obvykle 21"), 6);
    edDirectory = kit::Field("edDirectory", QStringLiteral("Adresář na serveru, pod který se stránky vyšlou"), 40);
    auto *ftp = new QGroupBox(QStringLiteral("FTP, FTPS, SFTP"));
    auto *form = new QFormLayout;
    form->addRow(kit::Label(QStringLiteral("Se&rver:"), edServer), edServer);
    form->addRow(kit::Label(QStringLiteral("&Uživatel:"), edUserName), edUserName);
    form->addRow(kit::Label(QStringLiteral("H&eslo:"), edPassword), edPassword);
    form->addRow(kit::Label(QStringLiteral("P&ort:"), edPort), edPort);
    form->addRow(kit::Label(QStringLiteral("A&dresář:"), edDirectory), edDirectory);
    btConnect = new QPushButton(QStringLiteral("&Spojení"));
    btConnect->setObjectName(QStringLiteral("btConnect"));
    btFTP = new QPushButton(QStringLiteral("&FTP přenos"));
    btFTP->setObjectName(QStringLiteral("btFTP"));
    btFTP->setEnabled(false);
    btShowResults = new QPushButton(QStringLiteral("Sta&tus"));
    btShowResults->setObjectName(QStringLiteral("btShowResults"));
    btFtpHelp = new QPushButton(QStringLiteral("&Nápověda"));
    btFtpHelp->setObjectName(QStringLiteral("btFtpHelp"));
    auto *ftpButtons = new QVBoxLayout;
    ftpButtons->addWidget(btConnect);
    ftpButtons->addWidget(btFTP);
    ftpButtons->addWidget(btShowResults);
    ftpButtons->addWidget(btFtpHelp);
    ftpButtons->addStretch();
    auto *ftpBox = new QHBoxLayout(ftp);
    ftpBox->addLayout(form, 1);
    ftpBox->addLayout(ftpButtons);

    lbFTPStatus = new QLabel;
    lbFTPStatus->setObjectName(QStringLiteral("lbFTPStatus"));
    lbFTPStatus->setFrameShape(QFrame::StyledPanel);
    btClose = new QPushButton(QStringLiteral("&Zavřít"));
    btClose->setObjectName(QStringLiteral("btClose"));

    auto *controls = new QHBoxLayout;
    controls->addWidget(choice);
    controls->addWidget(ftp, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lbFTPStatus, 1);
    bottom->addWidget(btClose);
    auto *box = new QVBoxLayout(this);
    box->addWidget(Pages, 1);
    box->addLayout(controls);
    box->addLayout(bottom);

    tmrFtp = new QTimer(this);
    tmrFtp->setInterval(1000);
    tmrCursor = new QTimer(this);
    tmrCursor->setInterval(100);
    Ftp = new T_FTP(this);
    // Keys and clicks reach the dialog while a step waits, so that closing it stops the step.
    Ftp->UserInput = true;
    Ftp->OnTrace = [this](const QString &t, TTraceLevel l) { FtpTrace(t, l); };
    Secure = new TCurlClient(this);
    Secure->UserInput = true;
    Secure->OnTrace = [this](const QString &t, TTraceLevel l) { FtpTrace(t, l); };
    client_ = Ftp;
    Upload.Trace = [this](const QString &t, TTraceLevel l) { FtpTrace(t, l); };
    Upload.Status = [this](const QString &t) { setStatus(t); };
    Upload.BusyCursor = [this](bool on) { BusyCursor(on); };

    const auto installable = [this] { btInstaluj->setEnabled(chkHTML->isChecked() || chkMultimedia->isChecked()); };
    connect(chkHTML, &QCheckBox::toggled, this, installable);
    connect(chkMultimedia, &QCheckBox::toggled, this, installable);
    connect(btInstaluj, &QPushButton::clicked, this, &TfrmHierarchie::btInstalujClick);
    connect(btConnect, &QPushButton::clicked, this, &TfrmHierarchie::btConnectClick);
    connect(edServer, &QLineEdit::editingFinished, this, &TfrmHierarchie::serverEdited);
    connect(btFTP, &QPushButton::clicked, this, &TfrmHierarchie::btFTPClick);
    connect(btShowResults, &QPushButton::clicked, this, [this] { ShowResults(Pages->currentWidget() != ResultList); });
    connect(btFtpHelp, &QPushButton::clicked, this, [this] {
        if (ShowHelp) ShowHelp(405);
    });
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, btFtpHelp, &QPushButton::click);
    connect(btClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(tmrFtp, &QTimer::timeout, this, &TfrmHierarchie::tmrFtpTimer);
    connect(tmrCursor, &QTimer::timeout, this, &TfrmHierarchie::nextCursorFrame);
}

TfrmHierarchie::~TfrmHierarchie() {
    if (busy_) QGuiApplication::restoreOverrideCursor();
}

void TfrmHierarchie::Fill(const TSiteScan &scan) {
    boxHtmlFiles->clear();
    boxMultimedia->clear();
    boxHtmlFiles->addItems(scan.HtmlFiles);
    boxMultimedia->addItems(scan.Multimedia);
    lbChyb->setText(QString::number(scan.Errors));
    lbTagu->setText(QString::number(scan.Tags));
    lbSouboru->setText(scan.Counts());
    Upload.MainDirectory = scan.MainDirectory;
    Upload.WarnNotInstalled = true;
    frame_ = kFirstFrame;
    const THierarchieState &s = HierarchieState;
    chkHTML->setChecked(s.HtmlFiles);
    chkMultimedia->setChecked(s.MultimediaFiles);
    chkDnesni->setChecked(s.OnlyToday);
    btInstaluj->setEnabled(s.HtmlFiles || s.MultimediaFiles);
    edServer->setText(cp1250::decode(s.Server));
    edUserName->setText(cp1250::decode(s.UserName));
    // A password from an older configuration lasts the session; otherwise the remembered one.
    edPassword->setText(!s.Password.empty() ? cp1250::decode(s.Password)
                                            : RememberedPassword(edServer->text(), edUserName->text()));
    edPort->setText(cp1250::decode(s.Port));
    edDirectory->setText(cp1250::decode(s.Directory));
    ResultList->clear();
    for (const QString &note : scan.Notes) FtpTrace(note, 3);
    ShowResults(false);
}

void TfrmHierarchie::Execute(const TSiteScan &scan) {
    Fill(scan);
    btInstaluj->setFocus();
    platform::services().runModal(*this);
}

void TfrmHierarchie::storeFields() {
    THierarchieState &s = HierarchieState;
    s.HtmlFiles = chkHTML->isChecked();
    s.MultimediaFiles = chkMultimedia->isChecked();
    s.OnlyToday = chkDnesni->isChecked();
    // A value the configuration's code page cannot hold is not stored: a
    // changed password or directory would log in or upload wrongly next time.
    s.Server = cp1250::encodeLossless(edServer->text());
    s.UserName = cp1250::encodeLossless(edUserName->text());
    // The password never goes into the configuration: it is remembered by
    // the desktop's secret service, or for this session where none runs.
    if (edPassword->text().isEmpty()) ForgetPassword(edServer->text(), edUserName->text());
    else RememberPassword(edServer->text(), edUserName->text(), edPassword->text());
    s.Password.clear();
    s.Port = cp1250::encodeLossless(edPort->text());
    s.Directory = cp1250::encodeLossless(edDirectory->text());
}

void TfrmHierarchie::setStatus(const QString &t) { lbFTPStatus->setText(t); }

static QStringList itemsOf(const QListWidget &list) {
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
    return out;
}

void TfrmHierarchie::btInstalujClick() {
    if (stepping_) return;
    QString dir = InstallDirectory;
    if (!ChooseDirectory || !ChooseDirectory(dir)) return;
    if (!dir.endsWith(u'/')) dir += u'/';
    InstallDirectory = dir;
    const bool onlyToday = chkDnesni->isChecked();
    if (chkHTML->isChecked())
        InstallList(itemsOf(*boxHtmlFiles), onlyToday, Upload.MainDirectory, dir, ShowStatusText);
    if (chkMultimedia->isChecked())
        InstallList(itemsOf(*boxMultimedia), onlyToday, Upload.MainDirectory, dir, ShowStatusText);
    platform::message(QStringLiteral("Xo!"), QStringLiteral("Instalace dokončena"), Icon::Information);
}

void TfrmHierarchie::serverEdited() {
    TRemoteServer server;
    QString error;
    if (!ParseServer(edServer->text(), server, error) || edServer->text().indexOf(QStringLiteral("://")) < 0) return;
    edPort->setText(QString::number(server.Port ? server.Port : DefaultPort(server.Protocol)));
    if (!server.User.isEmpty()) edUserName->setText(server.User);
}

bool TfrmHierarchie::prepareClient(TRemoteServer &server, int &port) {
    QString error;
    if (!ParseServer(edServer->text(), server, error) && !edServer->text().trimmed().isEmpty()) {
        platform::message(QStringLiteral("Xo!"), error, Icon::Exclamation);
        edServer->setFocus();
        return false;
    }
    if (server.Port) edPort->setText(QString::number(server.Port));
    if (!server.User.isEmpty()) edUserName->setText(server.User);
    bool portOk = false;
    port = edPort->text().trimmed().toInt(&portOk);
    const bool missing = server.Host.isEmpty() || edUserName->text().isEmpty() || edPort->text().trimmed().isEmpty();
    if (missing || !portOk || port < 1 || port > 65535) {
        platform::message(QStringLiteral("Xo!"),
                          QStringLiteral("Je třeba vyplnit všechna data potřebná pro navázání spojení"),
                          Icon::Exclamation);
        (missing ? edServer : edPort)->setFocus();
        return false;
    }
    return true;
}

TFtpClient &TfrmHierarchie::client() { return *client_; }

void TfrmHierarchie::stopClient() {
    Ftp->Stop();
    Secure->Stop();
}

void TfrmHierarchie::btConnectClick() {
    if (stepping_) return;
    TRemoteServer server;
    int port = 0;
    if (!prepareClient(server, port)) return;
    const QString name = ProtocolName(server.Protocol);
    const QString shown = server.Host + QStringLiteral(" (") + name + u')';
    const bool sftp = server.Protocol == TProtocol::Sftp;
    ShowResults(true);
    QString password = edPassword->text();
    bool remember = false;
    // SFTP with no password tries the SSH agent and key files first.
    const auto askPassword = [&] {
        return PasswordDialog && PasswordDialog->Execute(password, &remember);
    };
    if (password.isEmpty() && !sftp && !askPassword()) {
        ShowResults(false);
        return;
    }
    setStatus(QStringLiteral("Přihlašuji se (") + name + QStringLiteral(")..."));
    FtpTrace(QStringLiteral("Přihlašování k ") + shown + QStringLiteral("..."), 3);
    BusyCursor(true);
    stepping_ = true;
    QString failure;
    for (;;) {
        try {
            if (server.Protocol == TProtocol::Ftp) {
                client_ = Ftp;
                Ftp->Hostname = server.Host;
                Ftp->Username = edUserName->text();
                Ftp->Password = password;
                Ftp->Port = uint16_t(port);
                Ftp->Login();
            } else {
                client_ = Secure;
                Secure->Protocol = server.Protocol;
                Secure->Hostname = server.Host;
                Secure->Username = edUserName->text();
                Secure->Password = password;
                Secure->Port = uint16_t(port);
                Secure->Login();
            }
            failure.clear();
        } catch (const EServerNotVerified &) {
            failure = QStringLiteral("-"); // said already by the question or the warning
        } catch (const ETcpIpError &e) {
            failure = e.Message;
            if (sftp && password.isEmpty() && Secure->LoginDenied() && pendingClose_ < 0) {
                // Neither the agent nor a key file was let in: the password then.
                FtpTrace(QStringLiteral("» Přihlášení klíčem se nepodařilo; je třeba heslo."), 3);
                BusyCursor(false);
                if (askPassword()) {
                    BusyCursor(true);
                    continue;
                }
                failure = QStringLiteral("-");
            }
        }
        break;
    }
    stepping_ = false;
    if (!failure.isEmpty()) {
        BusyCursor(false);
        setStatus(QStringLiteral("Chyba"));
        FtpTrace(QStringLiteral("» Chyba: Nelze se připojit k ") + shown +
                     (failure.size() > 1 ? QStringLiteral(": ") + failure : QString()),
                 3);
        if (pendingClose_ < 0 && failure.size() > 1) // not when the user stopped it by closing the dialog
            platform::message(QStringLiteral("Xo!"),
                              server.Protocol == TProtocol::Ftp
                                  ? QStringLiteral("Nelze se připojit k ") + server.Host
                                  : QStringLiteral("Nelze se připojit k ") + shown + QStringLiteral(".\r\n\r\n") + failure,
                              Icon::Error);
        ShowResults(false);
        finishStep();
        return;
    }
    if (remember && !RememberPassword(edServer->text(), edUserName->text(), password))
        FtpTrace(QStringLiteral("Heslo se zapamatuje jen do konce sezení: služba pro hesla neběží."), 3);
    if (remember) edPassword->setText(password);
    siteKey_ = name.toLower() + QStringLiteral("://") + edUserName->text() + u'@' + server.Host + u':' +
               QString::number(port);
    setStatus(QStringLiteral("Přihlášeno (") + name + QStringLiteral(")."));
    FtpTrace(QStringLiteral("Přihlašeno k ") + shown + QStringLiteral("..."), 3);
    Upload.Queue.clear();
    BusyCursor(false);
    btFTP->setEnabled(true);
    if (pendingClose_ >= 0) return finishStep();
    if (platform::message(QStringLiteral("Ftp"),
                          QStringLiteral("Přihlášení proběhlo úspěšně. Spustit vysílání souborů?"), Icon::Question,
                          Buttons::YesNo) == Answer::Yes)
        btFTPClick();
    else
        ShowResults(false);
}

void TfrmHierarchie::btFTPClick() {
    if (stepping_) return;
    if (!chkHTML->isChecked() && !chkMultimedia->isChecked()) {
        platform::message(QStringLiteral("Xo!"),
                          QStringLiteral("Aby měla funkce smysl, musíte zaškrtnout instalaci HTML souborů nebo "
                                         "multimediálních souborů."),
                          Icon::Information);
        return;
    }
    BusyCursor(true);
    btFTP->setEnabled(false);
    manifest_ = std::make_unique<TPublishManifest>(siteKey_, edDirectory->text());
    QString problem;
    if (!manifest_->Load(problem)) FtpTrace(QStringLiteral("» ") + problem, 3);
    Upload.Manifest = manifest_.get();
    Upload.Everything = chkVseZnovu->isChecked();
    Upload.Renames = true;
    Upload.Start(edDirectory->text(), itemsOf(*boxHtmlFiles), itemsOf(*boxMultimedia), chkHTML->isChecked(),
                 chkMultimedia->isChecked(), chkDnesni->isChecked());
    tmrFtp->start();
    ShowResults(true);
}

void TfrmHierarchie::tmrFtpTimer() {
    tmrFtp->stop();
    BusyCursor(true);
    stepping_ = true;
    Upload.FtpStep(client());
    if (Upload.Queue.empty() && pendingClose_ < 0) {
        BusyCursor(false);
        Upload.FtpStep(client());
        ShowResults(false);
    } else if (pendingClose_ < 0) {
        tmrFtp->start();
    }
    stepping_ = false;
    finishStep();
}

void TfrmHierarchie::finishStep() {
    // A close asked for while a step ran happens now.
    if (pendingClose_ < 0) return;
    const int r = pendingClose_;
    pendingClose_ = -1;
    done(r);
}

void TfrmHierarchie::FtpTrace(const QString &text, TTraceLevel level) {
    const QString line = level == 3 ? text : QStringLiteral("  ") + text;
    if (level == 4 && ResultList->count() > 0)
        ResultList->item(ResultList->count() - 1)->setText(line);
    else
        ResultList->addItem(line);
    // The last line is selected and shown once per turn of the event loop,
    // not once per line: that made a large upload's log the slow part.
    if (logShownLater_) return;
    logShownLater_ = true;
    QTimer::singleShot(0, this, [this] {
        logShownLater_ = false;
        ResultList->setCurrentRow(ResultList->count() - 1);
        ResultList->scrollToBottom();
        nextCursorFrame();
    });
}

void TfrmHierarchie::nextCursorFrame() {
    if (!busy_) return;
    frame_ = frame_ >= kLastFrame ? kFirstFrame : frame_ + 1;
    QGuiApplication::changeOverrideCursor(busyFrame(frame_));
}

void TfrmHierarchie::ShowResults(bool show) { Pages->setCurrentWidget(show ? static_cast<QWidget *>(ResultList) : Pages->widget(0)); }

void TfrmHierarchie::BusyCursor(bool on) {
    if (on == busy_) return;
    busy_ = on;
    if (on) {
        QGuiApplication::setOverrideCursor(busyFrame(frame_));
        tmrCursor->start();
    } else {
        tmrCursor->stop();
        QGuiApplication::restoreOverrideCursor();
    }
}

void TfrmHierarchie::done(int r) {
    if (stepping_) {
        // The running step is stopped, and the dialog closes when it has ended.
        pendingClose_ = r;
        stopClient();
        return;
    }
    storeFields();
    tmrFtp->stop();
    for (TFtpClient *c : {static_cast<TFtpClient *>(Ftp), static_cast<TFtpClient *>(Secure)}) {
        try {
            c->Logout();
        } catch (const ETcpIpError &) {
        }
    }
    Upload.Manifest = nullptr;
    manifest_.reset();
    Ftp->Password.clear();
    Secure->Password.clear();
    boxHtmlFiles->clear();
    boxMultimedia->clear();
    btFTP->setEnabled(false);
    BusyCursor(false);
    setStatus(QString());
    ResultList->clear();
    ShowResults(false);
    QDialog::done(r);
}

} // namespace xo
