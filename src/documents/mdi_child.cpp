#include "mdi_child.h"

#include "editor/editor_widget.h"
#include "editor/shared_routines.h"
#include "glyphs.h"
#include "main_window.h"
#include "local_browser.h"
#include "platform/cp1250.h"
#include "platform/services.h"
#include "settings/settings.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace xo {

namespace {

const QString kCaption = QStringLiteral("Xo!");
const QString kUnnamed = QStringLiteral("Nepojmenovaný");

QLabel *infoRow(QGridLayout *grid, int row, const QString &caption, const char *name) {
    grid->addWidget(new QLabel(caption), row, 0, Qt::AlignRight | Qt::AlignTop);
    auto *value = new QLabel;
    value->setObjectName(QString::fromLatin1(name));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(value, row, 1);
    return value;
}

} // namespace

TMDIChild::TMDIChild(TfrmMain &main, const RestoreRecord *restore) : main_(main) {
    setAttribute(Qt::WA_DeleteOnClose);
    auto *content = new QWidget;
    auto *box = new QVBoxLayout(content);
    box->setContentsMargins(0, 0, 0, 0);
    Pages = new QTabWidget;
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->setTabPosition(QTabWidget::South);
    Pages->setDocumentMode(true);
    box->addWidget(Pages);

    pgEditor = new QWidget;
    pgEditor->setObjectName(QStringLiteral("pgEditor"));
    auto *edBox = new QVBoxLayout(pgEditor);
    edBox->setContentsMargins(0, 0, 0, 0);
    pnlEditor = new QFrame;
    pnlEditor->setObjectName(QStringLiteral("pnlEditor"));
    pnlEditor->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto *pnlBox = new QVBoxLayout(pnlEditor);
    pnlBox->setContentsMargins(1, 1, 1, 1);
    edBox->addWidget(pnlEditor);

    pgWebBrowser = new QWidget;
    pgWebBrowser->setObjectName(QStringLiteral("pgWebBrowser"));
    auto *webBox = new QVBoxLayout(pgWebBrowser);
    webBox->setContentsMargins(0, 0, 1, 4);

    pgBrowser = new QWidget;
    pgBrowser->setObjectName(QStringLiteral("pgBrowser"));
    auto *oleBox = new QVBoxLayout(pgBrowser);
    oleBox->setContentsMargins(2, 2, 3, 5);
    oleBrowser = new TLocalTextBrowser;
    oleBrowser->setObjectName(QStringLiteral("oleBrowser"));
    oleBrowser->setOpenLinks(false);
    oleBrowser->setStyleSheet(QStringLiteral("background: white"));
    oleBox->addWidget(oleBrowser);

    pgInfo = new QWidget;
    pgInfo->setObjectName(QStringLiteral("pgInfo"));
    auto *grid = new QGridLayout(pgInfo);
    stFileName = infoRow(grid, 0, QStringLiteral("Soubor:"), "stFileName");
    stSize = infoRow(grid, 1, QStringLiteral("Velikost:"), "stSize");
    stSizeMem = infoRow(grid, 2, QStringLiteral("V paměti:"), "stSizeMem");
    stLastUpdate = infoRow(grid, 3, QStringLiteral("Poslední změna:"), "stLastUpdate");
    stFileNameS = infoRow(grid, 4, QStringLiteral("Krátké jméno:"), "stFileNameS");
    imgAssociatedIcon = infoRow(grid, 5, QStringLiteral("Přiřazená ikona:"), "imgAssociatedIcon");
    // Beside the size in memory: another row would make the window taller.
    stEncoding = new QLabel;
    stEncoding->setObjectName(QStringLiteral("stEncoding"));
    grid->addWidget(new QLabel(QStringLiteral("Kódování:")), 2, 2);
    grid->addWidget(stEncoding, 2, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(6, 1);

    Pages->addTab(pgEditor, QStringLiteral("Dokument"));
    Pages->addTab(pgWebBrowser, QStringLiteral("IExplorer"));
    Pages->addTab(pgBrowser, QStringLiteral("OLE náhled"));
    Pages->addTab(pgInfo, QStringLiteral("Informace"));
    setWidget(content);

    EditorPosText = new QLabel(content);
    EditorPosText->setObjectName(QStringLiteral("EditorPosText"));
    EditorPosText->setAlignment(Qt::AlignCenter);
    EditorPosText->setFont(QFont(QStringLiteral("Courier"), 9));
    pnlImages = new QWidget(content);
    pnlImages->setObjectName(QStringLiteral("pnlImages"));
    imgSaved = new QLabel(pnlImages);
    imgSaved->setPixmap(SavedGlyph());
    imgModified = new QLabel(pnlImages);
    imgModified->setPixmap(ModifiedGlyph());
    imgSaved->setGeometry(0, 0, 16, 16);
    imgModified->setGeometry(0, 0, 16, 16);
    imgModified->hide();
    pnlImages->resize(16, 16);
    pnlImages->hide();

    // Creation.
    // The stored bounds are applied by the frame once the window is in its area.
    if (restore && restore->restoring && restore->left < 10000) {
        setWindowTitle(restore->fileName.isEmpty() ? kUnnamed : restore->fileName);
    } else {
        setWindowTitle(QStringLiteral(" "));
    }
    Pages->setCurrentWidget(pgEditor);
    Editor = new TEditor(pnlEditor);
    pnlBox->addWidget(Editor);
    Editor->OnShortCut = [this](EditorCore &e, int shortcut, bool &handled) { main_.MenuShortcut(e, shortcut, handled); };
    Editor->OnCaptionChange = [this] { RefreshCaption(); };
    ApplyTabSettings();

    connect(Pages, &QTabWidget::currentChanged, this, [this](int i) { PageChanged(i); });
    EditorPositionTimer.setInterval(300);
    connect(&EditorPositionTimer, &QTimer::timeout, this, [this] { UpdateEditorPosition(); });
    EditorPositionTimer.start();
}

TMDIChild::~TMDIChild() = default;

void TMDIChild::RefreshCaption() {
    const QString &name = Editor->FileName;
    if (name.isEmpty())
        setWindowTitle(kUnnamed);
    else
        setWindowTitle(Settings.ShortTitle ? QFileInfo(name).fileName() : name);
}

TMDIChild::RestoreRecord TMDIChild::StateRecord() {
    RestoreRecord r;
    r.fileName = Editor->FileName;
    if (!r.fileName.isEmpty()) {
        if (isMaximized() || isMinimized()) showNormal();
        r.left = x();
        r.top = y();
        r.width = width();
        r.height = height();
        r.selStart = Editor->SelStart();
        r.selEnd = Editor->SelEnd();
    }
    return r;
}

void TMDIChild::ApplyTabSettings() {
    Pages->setTabVisible(Pages->indexOf(pgBrowser), Settings.OleNahled);
    Pages->setTabVisible(Pages->indexOf(pgWebBrowser), Settings.IExpNahled);
}

void TMDIChild::ShowPage(QWidget *page) { Pages->setCurrentWidget(page); }

void TMDIChild::Activated() {
    ApplyTabSettings();
    if (Pages->currentWidget() == pgEditor) Editor->setFocus();
    pnlImages->hide();
    LayoutOverlay();
    main_.RefreshSwitchBar();
}

QString TMDIChild::CaretPositionText(int line, int column) {
    return QStringLiteral("%1:%2").arg(line, 4).arg(column).leftJustified(8, u' ');
}

void TMDIChild::UpdateEditorPosition() {
    int line = 0, column = 0;
    const bool onEditor = Pages->currentWidget() == pgEditor;
    if (!onEditor || !Editor->CaretLineColumn(line, column)) {
        EditorPosText->clear();
        if (!onEditor) pnlImages->hide();
        return;
    }
    EditorPosText->setText(CaretPositionText(line, column + 1));
    pnlImages->setVisible(width() > 360 && !Settings.SwtLine && pnlImages->x() >= overlayLeft_);
}

void TMDIChild::LayoutOverlay() {
    QWidget *content = widget();
    if (!content) return;
    const int w = 80, h = 16;
    const int y = Pages->geometry().bottom() - 3 - h;
    const int right = content->width() - 70;
    // Right of the tabs, never over them: in a narrow window it stays hidden.
    const QTabBar *bar = Pages->tabBar();
    int tabsRight = 0;
    for (int i = 0; i < bar->count(); ++i)
        if (bar->isTabVisible(i)) tabsRight = std::max(tabsRight, bar->tabRect(i).right());
    const int free = bar->mapTo(content, QPoint(tabsRight, 0)).x() + 8;
    overlayLeft_ = free;
    EditorPosText->setGeometry(right - w, y, w, h);
    EditorPosText->setVisible(width() >= 351 && right - w >= free);
    EditorPosText->raise();
    pnlImages->move(right - w - 10 - pnlImages->width(), y);
    pnlImages->raise();
    if (!(width() > 370 && Pages->currentWidget() == pgEditor && !Settings.SwtLine) || pnlImages->x() < free)
        pnlImages->hide();
}

void TMDIChild::resizeEvent(QResizeEvent *e) {
    QMdiSubWindow::resizeEvent(e);
    LayoutOverlay();
}

void TMDIChild::PageChanged(int) {
    LayoutOverlay();
    QWidget *page = Pages->currentWidget();
    if (page == pgBrowser) {
        if (Editor->Modified()) main_.mnUlozitClick();
        if (!Editor->FileName.isEmpty()) {
            QFile f(Editor->FileName);
            if (QFileInfo(Editor->FileName).isFile() && f.open(QIODevice::ReadOnly)) {
                const QByteArray bytes = f.readAll();
                oleBrowser->document()->setBaseUrl(QUrl::fromLocalFile(Editor->FileName));
                oleBrowser->setHtml(cp1250::decode(std::string_view(bytes.constData(), size_t(bytes.size()))));
            }
        }
    } else {
        oleBrowser->clear();
    }
    if (page == pgEditor) {
        browser_.reset();
        Editor->setFocus();
    } else if (page == pgWebBrowser) {
        OpenWebBrowserPage();
    } else if (page == pgInfo) {
        FillInfo();
    }
}

void TMDIChild::OpenWebBrowserPage() {
    if (!browser_) {
        main_.ShowStatusText(QStringLiteral("Otevírám prohlížeč..."));
        browser_ = CreateBrowser(pgWebBrowser);
        if (!browser_) {
            main_.ClearStatusText();
            platform::message(
                kCaption,
                QStringLiteral("Je třeba nainstalovat 32bitovou verzi Internet Exploreru. Bez toho není možné náhled "
                               "provádět!\r\n\r\nMůže se stát, že při příštím pokusu o komunikaci s prohlížečem "
                               "program zatuhne. V takovém případě doporučujeme počítač restartovat a se stávající "
                               "verzí Internet Exploreru záložku \"IExplorer\" nepoužívat. V případě přetrvávajících "
                               "problémů se prosím obraťte na autora."),
                platform::Icon::Exclamation);
            ShowPage(pgEditor);
            return;
        }
        pgWebBrowser->layout()->addWidget(browser_->widget());
    }
    if (Editor->Modified()) main_.mnUlozitClick();
    if (!Editor->FileName.isEmpty())
        browser_->navigate(Editor->FileName);
    else
        platform::message(kCaption, QStringLiteral("Soubor musí mít jméno"), platform::Icon::Exclamation);
    main_.ClearStatusText();
}

QString EncodingText(const EditorCore &e) {
    if (!e.Utf8) return QStringLiteral("CP1250");
    return e.Utf8Bom ? QStringLiteral("UTF-8 (BOM)") : QStringLiteral("UTF-8");
}

void TMDIChild::FillInfo() {
    stFileName->setText(kUnnamed);
    stFileNameS->setText(kUnnamed);
    stSize->setText(QStringLiteral("?"));
    stLastUpdate->setText(QStringLiteral("?"));
    stSizeMem->setText(FileSizeText(Editor->TextLength(), 2));
    stEncoding->setText(EncodingText(*Editor));
    imgAssociatedIcon->clear();
    const QString &name = Editor->FileName;
    if (name.isEmpty()) return;
    const QFileInfo info(name);
    imgAssociatedIcon->setPixmap(QFileIconProvider().icon(info).pixmap(32, 32));
    // Linux has no short names: the full path stands for it.
    stFileNameS->setText(name);
    stFileName->setText(name);
    if (info.exists()) {
        stSize->setText(FileSizeText(info.size(), 2));
        stLastUpdate->setText(FileTimeText(info.lastModified()));
    }
}

bool TMDIChild::CloseQuery() {
    if (!Editor->Modified()) return true;
    const QString name = Editor->FileName.isEmpty() ? kUnnamed : Editor->FileName;
    const auto answer = platform::message(
        kCaption, QStringLiteral("Soubor »") + name + QStringLiteral("« byl změněn.\r\n\r\nUložit?"),
        platform::Icon::Question, platform::Buttons::YesNoCancel);
    if (answer == platform::Answer::No) return true;
    if (answer != platform::Answer::Yes) return false;
    if (Editor->FileName.isEmpty()) {
        const QString chosen = main_.AskSaveFileName(QString());
        if (chosen.isEmpty()) return false;
        Editor->FileName = chosen;
    }
    // Only a document that really reached the disk may close.
    return Editor->SaveToFile() && !Editor->Modified();
}

void TMDIChild::closeEvent(QCloseEvent *e) {
    if (!Closing && !CloseQuery()) {
        e->ignore();
        return;
    }
    Closing = true;
    browser_.reset();
    QMdiSubWindow::closeEvent(e);
    if (e->isAccepted()) emit documentClosed(this);
}

} // namespace xo
