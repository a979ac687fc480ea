#include "hierarchy_dialogs.h"

#include "dialogs/dialog_kit.h"
#include "platform/cp1250.h"
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
    auto *form = new QFormLayout;
    form->addRow(kit::Label(QStringLiteral("&Heslo:"), edPassword), edPassword);
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

bool TfrmHierarchiePwd::Execute(QString &password) {
    edPassword->clear();
    edPassword->setFocus();
    if (platform::services().runModal(*this) != QDialog::Accepted || edPassword->text().isEmpty()) return false;
    password = edPassword->text();
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
    btInstaluj = new QPushButton(QStringLiteral("&Instalace"));
    btInstaluj->setObjectName(QStringLiteral("btInstaluj"));
    auto *choice = new QGroupBox(QStringLiteral("Instalovat"));
    auto *choiceBox = new QVBoxLayout(choice);
    choiceBox->addWidget(chkHTML);
    choiceBox->addWidget(chkMultimedia);
    choiceBox->addWidget(chkDnesni);
    choiceBox->addStretch();
    choiceBox->addWidget(btInstaluj);

    edServer = kit::Field("edServer", QStringLiteral("Jméno nebo adresa serveru FTP"), 120);
    edUserName = kit::Field("edUserName", QStringLiteral("Přihlašovací jméno"), 30);
    edPassword = kit::Field("edPassword", QStringLiteral("Prázdné heslo si program vyžádá při přihlášení"), 20);
    edPassword->setEchoMode(QLineEdit::Password);
    edPort = kit::Field("edPort", QStringLiteral("Obvykle 21"), 6);
    edDirectory = kit::Field("edDirectory", QStringLiteral("Adresář na serveru, pod který se stránky vyšlou"), 40);
    auto *ftp = new QGroupBox(QStringLiteral("FTP"));
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
    Upload.Trace = [this](const QString &t, TTraceLevel l) { FtpTrace(t, l); };
    Upload.Status = [this](const QString &t) { setStatus(t); };
    Upload.BusyCursor = [this](bool on) { BusyCursor(on); };

    const auto installable = [this] { btInstaluj->setEnabled(chkHTML->isChecked() || chkMultimedia->isChecked()); };
    connect(chkHTML, &QCheckBox::toggled, this, installable);
    connect(chkMultimedia, &QCheckBox::toggled, this, installable);
    connect(btInstaluj, &QPushButton::clicked, this, &TfrmHierarchie::btInstalujClick);
    connect(btConnect, &QPushButton::clicked, this, &TfrmHierarchie::btConnectClick);
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
    edPassword->setText(cp1250::decode(s.Password));
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
    s.Password = cp1250::encodeLossless(edPassword->text());
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

void TfrmHierarchie::btConnectClick() {
    if (stepping_) return;
    const QString server = edServer->text().trimmed();
    bool portOk = false;
    const int port = edPort->text().trimmed().toInt(&portOk);
    const bool missing = server.isEmpty() || edUserName->text().isEmpty() || edPort->text().trimmed().isEmpty();
    if (missing || !portOk || port < 1 || port > 65535) {
        platform::message(QStringLiteral("Xo!"),
                          QStringLiteral("Je třeba vyplnit všechna data potřebná pro navázání spojení"),
                          Icon::Exclamation);
        (missing ? edServer : edPort)->setFocus();
        return;
    }
    ShowResults(true);
    QString password = edPassword->text();
    if (password.isEmpty() && (!PasswordDialog || !PasswordDialog->Execute(password))) {
        ShowResults(false);
        return;
    }
    Ftp->Hostname = server;
    Ftp->Username = edUserName->text();
    Ftp->Password = password;
    Ftp->Port = uint16_t(port);
    setStatus(QStringLiteral("Přihlašuji se..."));
    FtpTrace(QStringLiteral("Přihlašování k ") + server + QStringLiteral("..."), 3);
    BusyCursor(true);
    stepping_ = true;
    bool ok = true;
    try {
        Ftp->Login();
    } catch (const ETcpIpError &) {
        ok = false;
    }
    stepping_ = false;
    if (!ok) {
        BusyCursor(false);
        setStatus(QStringLiteral("Chyba"));
        FtpTrace(QStringLiteral("» Chyba: Nelze se připojit k ") + server, 3);
        if (pendingClose_ < 0) // not when the user stopped it by closing the dialog
            platform::message(QStringLiteral("Xo!"), QStringLiteral("Nelze se připojit k ") + server, Icon::Error);
        ShowResults(false);
        finishStep();
        return;
    }
    setStatus(QStringLiteral("Přihlášeno."));
    FtpTrace(QStringLiteral("Přihlašeno k ") + server + QStringLiteral("..."), 3);
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
    Upload.Start(edDirectory->text(), itemsOf(*boxHtmlFiles), itemsOf(*boxMultimedia), chkHTML->isChecked(),
                 chkMultimedia->isChecked(), chkDnesni->isChecked());
    tmrFtp->start();
    ShowResults(true);
}

void TfrmHierarchie::tmrFtpTimer() {
    tmrFtp->stop();
    BusyCursor(true);
    stepping_ = true;
    Upload.FtpStep(*Ftp);
    if (Upload.Queue.empty() && pendingClose_ < 0) {
        BusyCursor(false);
        Upload.FtpStep(*Ftp);
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
        Ftp->Stop();
        return;
    }
    storeFields();
    tmrFtp->stop();
    try {
        Ftp->Logout();
    } catch (const ETcpIpError &) {
    }
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
