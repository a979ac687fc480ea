#include "main_window.h"

#include "about_dialogs.h"
#include "editor/editor_widget.h"
#include "settings/special_file_dialog.h"
#include "editor/shared_routines.h"
#include "glyphs.h"
#include "help.h"
#include "new_document.h"
#include "platform/qt_services.h"
#include "platform/services.h"
#include "settings/settings.h"
#include "title_preview.h"

#include "platform/cp1250.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <utility>

namespace xo {

namespace {

const QString kCaption = QStringLiteral("Xo!");

QString baseName(const QString &path) { return QFileInfo(path).fileName(); }

// The extension: from the last "." after the last "/".
bool hasExtension(const QString &path) { return path.lastIndexOf(u'.') > path.lastIndexOf(u'/'); }

QIcon standardIcon(QStyle::StandardPixmap p) { return QApplication::style()->standardIcon(p); }

} // namespace

const char *const kDialogOrder[33] = {
    "TdlgFind",         "TdlgReplace",      "TfrmTagBody",          "TfrmAlign",       "TfrmTagHR",
    "TfrmTagFont",      "TfrmTagImg",       "TfrmOptions",          "TfrmAhref",       "TfrmTagUL",
    "TfrmTagOL",        "TfrmChooseBrowser", "TfrmTable",           "TfrmTableInteractive", "TfrmCellOptions",
    "TfrmRowOptions",   "TfrmGotoLine",     "TfrmTagMarquee",       "TfrmTagBgsound",  "TfrmTagEmbed",
    "TfrmTagApplet",    "TdlgZefo",         "TfrmTagBodyOprava",    "TfrmInformace",   "TdlgChooseDir",
    "TfrmSearchFiles",  "TfrmHierarchie",   "TfrmAbout",            "TfrmTips",        "TfrmFrameSet",
    "TfrmFrameParams",  "TfrmNewDocument",  "TfrmHierarchiePwd",
};

TfrmMain::TfrmMain(const QStringList &arguments, std::vector<Subsystem> subsystems, QStringList configOrder,
                   QWidget *parent)
    : QMainWindow(parent), subsystems_(std::move(subsystems)), configOrder_(std::move(configOrder)) {
    EnterWait();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    ownButtons_ = arguments.contains(QStringLiteral("/own"));
    if (QScreen *s = QGuiApplication::primaryScreen()) setGeometry(s->availableGeometry());

    auto *central = new QWidget;
    auto *box = new QVBoxLayout(central);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    mdiArea = new QMdiArea;
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    box->addWidget(mdiArea, 1);
    SwitchBar = new QWidget;
    SwitchBar->setObjectName(QStringLiteral("SwitchBar"));
    SwitchBar->setFixedHeight(23);
    box->addWidget(SwitchBar);
    setCentralWidget(central);

    for (int i = 0; i < 5; ++i) {
        // Two rows: the first two toolbars, then the others.
        if (i == 2) addToolBarBreak();
        toolbars[i] = addToolBar(QString::fromLatin1(kToolbars[i]));
        toolbars[i]->setObjectName(QString::fromLatin1(kToolbars[i]));
        // A secondary click belongs to the button, not to the window's toolbar menu.
        toolbars[i]->setContextMenuPolicy(Qt::PreventContextMenu);
    }

    menuEditorPopup = new QMenu(this);
    menuEditorPopup->setObjectName(QStringLiteral("menuEditorPopup"));
    std::vector<CommandSpec> specs = FrameCommands();
    for (const Subsystem &s : subsystems_)
        if (s.commands) s.commands(*this, specs);
    BuildMenus(menuBar(), toolbars, menuEditorPopup, std::move(specs));
    for (QToolBar *t : toolbars) t->setVisible(!t->actions().isEmpty());
    mnOldFilesSeparator = Action(QStringLiteral("mnOldFilesSeparator"));
    for (int k = 0; k < 9; ++k) {
        mnSoubor[k] = Action(QStringLiteral("mnSoubor%1").arg(k + 1));
        mnSoubor[k]->setVisible(false);
    }
    mnOldFilesSeparator->setVisible(false);

    auto *bar = statusBar();
    statusPanels[0] = new QLabel(QString::fromUtf8(kVersionText));
    statusPanels[1] = new QLabel;
    statusPanels[1]->setAlignment(Qt::AlignCenter);
    statusSingle = new QLabel;
    bar->addWidget(statusPanels[0]);
    bar->addWidget(statusPanels[1], 1);
    bar->addWidget(statusSingle, 1);
    statusSingle->hide();

    CreateDialogs();

    HelpFileName = LocateHelpFile(QCoreApplication::applicationFilePath());
    platform::QtServices::setHelpHandlers(ShowHelpWindow, CloseHelpWindow);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, [this] { ActiveWindowChanged(); });
    SetEditorHost(this);
    for (const Subsystem &s : subsystems_)
        if (s.attached) s.attached(*this);
}

TfrmMain::~TfrmMain() {
    for (const Subsystem &s : subsystems_)
        if (s.detached) s.detached(*this);
    disconnect(mdiArea, nullptr, this, nullptr);
    SetEditorHost(nullptr);
    QuitHelp();
}

void TfrmMain::CreateDialogs() {
    // The frame's own dialogs and the subsystems' ones, created once, hidden,
    // in the program's order; one the order does not know comes last.
    std::vector<DialogSpec> specs{
        {QStringLiteral("TdlgZefo"), [](TfrmMain &m) { return new TdlgZefo(&m); }},
        {QStringLiteral("TfrmAbout"), [](TfrmMain &m) { return new TfrmAbout(&m); }},
        {QStringLiteral("TfrmTips"), [](TfrmMain &m) { return new TfrmTips(&m); }},
        {QStringLiteral("TfrmNewDocument"), [](TfrmMain &m) { return new TfrmNewDocument(&m); }},
    };
    for (const Subsystem &s : subsystems_) specs.insert(specs.end(), s.dialogs.begin(), s.dialogs.end());
    auto rank = [](const QString &name) {
        const auto *end = std::end(kDialogOrder);
        return int(std::find_if(std::begin(kDialogOrder), end, [&](const char *n) { return name == QLatin1String(n); }) -
                   std::begin(kDialogOrder));
    };
    std::stable_sort(specs.begin(), specs.end(),
                     [&](const DialogSpec &a, const DialogSpec &b) { return rank(a.name) < rank(b.name); });
    for (const DialogSpec &d : specs) {
        QDialog *dialog = d.create(*this);
        dialog->setObjectName(d.name);
        dialogs_.insert(d.name, dialog);
    }
    dlgZefo = static_cast<TdlgZefo *>(dialogs_.value(QStringLiteral("TdlgZefo")));
    frmAbout = static_cast<TfrmAbout *>(dialogs_.value(QStringLiteral("TfrmAbout")));
    frmTips = static_cast<TfrmTips *>(dialogs_.value(QStringLiteral("TfrmTips")));
    frmNewDocument = static_cast<TfrmNewDocument *>(dialogs_.value(QStringLiteral("TfrmNewDocument")));
}

QDialog *TfrmMain::Dialog(const QString &name) const { return dialogs_.value(name); }

std::vector<CommandSpec> TfrmMain::FrameCommands() {
    std::vector<CommandSpec> c;
    auto add = [&](const char *menu, const char *name, const char *caption, QKeySequence key, int tag,
                   std::function<void()> handler, const char *hint = "", const char *toolbar = "",
                   const char *button = "", const char *iconName = "", int popup = -1) {
        CommandSpec s;
        s.menu = QString::fromUtf8(menu);
        s.order = int(c.size()) * 10;
        s.name = QString::fromLatin1(name);
        s.caption = QString::fromUtf8(caption);
        s.shortcut = key;
        s.tag = tag;
        s.handler = std::move(handler);
        s.hint = QString::fromUtf8(hint);
        s.toolbar = QString::fromLatin1(toolbar);
        s.button = QString::fromLatin1(button);
        s.iconName = QString::fromLatin1(iconName);
        s.popup = popup;
        c.push_back(std::move(s));
    };
    auto separator = [&](const char *menu, const char *name, int tag) { add(menu, name, "", {}, tag, nullptr); };
    const char *file = "&Soubor";
    add(file, "mnNovySoubor", "&Nový", QKeySequence(Qt::CTRL | Qt::Key_N), tagAlways, [this] { mnNovySouborClick(); },
        "Nový|Vytvořit nový dokument", "tbFile", "btNewFile", "document-new");
    add(file, "mnOtevrit", "&Otevřít", QKeySequence(Qt::CTRL | Qt::Key_O), tagAlways, [this] { mnOtevritClick(); },
        "Otevřít|Otevřít soubory", "tbFile", "btOpenFile", "document-open");
    separator(file, "N1", tagNeedsDocument);
    add(file, "mnUlozit", "U&ložit", QKeySequence(Qt::CTRL | Qt::Key_S), tagNeedsDocument, [this] { mnUlozitClick(); },
        "Uložit|Uložit dokument", "tbFile", "btSaveFile", "document-save");
    add(file, "mnUlozit_DOS", "Uložit jako &Dos/Windows", {}, tagNeedsDocument,
        [this] { mnUlozitJakoClick(SaveAs::Dos); }, "Uložit jako|Uložit dokument pod novým jménem s konci řádek CR LF");
    add(file, "mnUlozit_Unix", "Uložit jako &Unix", {}, tagNeedsDocument, [this] { mnUlozitJakoClick(SaveAs::Unix); },
        "Uložit jako|Uložit dokument pod novým jménem s konci řádek LF");
    add(file, "mnUlozitVse", "Uložit &vše", {}, tagNeedsDocument, [this] { mnUlozitVseClick(); },
        "Uložit vše|Uložit všechny dokumenty");
    separator(file, "N2", tagNeedsDocument);
    add(file, "mnZavrit", "&Zavřít", {}, tagNeedsDocument, [this] { mnZavritClick(); }, "Zavřít|Zavřít dokument");
    separator(file, "N3", tagAlways);
    add(file, "mnKonec", "&Konec", {}, tagAlways, [this] { mnKonecClick(); }, "Konec|Ukončit program");
    separator(file, "mnOldFilesSeparator", tagManaged);
    for (int k = 1; k <= 9; ++k) {
        const QByteArray name = "mnSoubor" + QByteArray::number(k);
        add(file, name.constData(), "&", {}, tagManaged, [this, k] { menuStarySouborVybran(k); });
    }

    const char *edit = "E&ditace";
    add(edit, "mnUndo", "&Zpět", QKeySequence(Qt::ALT | Qt::Key_Backspace), tagNeedsDocument,
        [this] { mnUndoClick(); }, "Zpět|Vrátit poslední změnu", "tbFile", "btUndo", "edit-undo");
    // Ctrl+Z is the undo key every Linux user tries first; the editor gives it no other meaning.
    c.back().moreShortcuts << QKeySequence(Qt::CTRL | Qt::Key_Z);
    separator(edit, "N4", tagNeedsDocument);
    add(edit, "mnCut", "&Vyříznout", QKeySequence(Qt::CTRL | Qt::Key_X), tagNeedsDocument, [this] { mnCutClick(); },
        "Vyříznout|Vyříznout výběr do schránky", "tbFile", "btCut", "edit-cut", 10);
    add(edit, "mnCopy", "&Kopírovat", QKeySequence(Qt::CTRL | Qt::Key_C), tagNeedsDocument,
        [this] { mnCopyClick(); }, "Kopírovat|Kopírovat výběr do schránky", "tbFile", "btCopy", "edit-copy", 20);
    add(edit, "mnPaste", "V&lepit", QKeySequence(Qt::CTRL | Qt::Key_V), tagNeedsDocument,
        [this] { mnPasteClick(); }, "Vložit|Vložit text ze schránky", "tbFile", "btPaste", "edit-paste", 30);
    add(edit, "mnDelete", "&Smazat", QKeySequence(Qt::Key_Delete), tagNeedsDocument, [this] { mnDeleteClick(); },
        "Smazat|Smazat výběr");

    const char *windows = "&Okna";
    add(windows, "mnKaskada", "&Kaskáda", {}, tagNeedsDocument, [this] { mnKaskadaClick(); });
    add(windows, "mnTile", "&Rozmístit", {}, tagNeedsDocument, [this] { mnTileClick(); });
    add(windows, "mnIconArrange", "&Aranžovat ikony", {}, tagNeedsDocument, [this] { mnIconArrangeClick(); });
    add(windows, "mnMinimalizovat", "&Minimalizovat vše", {}, tagNeedsDocument, [this] { mnMinimalizovatClick(); });
    add(windows, "mnCloseAll", "&Zavřít vše", {}, tagNeedsDocument, [this] { mnCloseAllClick(); });
    separator(windows, "N5", tagNeedsDocument);
    add(windows, "mnDalsiOkno", "&Další okno", QKeySequence(Qt::Key_F6), tagNeedsDocument,
        [this] { mnDalsiOknoClick(); });
    add(windows, "mnPredchoziOkno", "&Předchozí okno", QKeySequence(Qt::SHIFT | Qt::Key_F6), tagNeedsDocument,
        [this] { mnPredchoziOknoClick(); });
    add(windows, "mnpSwitchEditorExplorer", "Editor / IExplorer", QKeySequence(Qt::Key_F7), tagNeedsDocument,
        [this] { mnpSwitchEditorExplorerClick(); });

    add("&Reklama", "mnZefo", "&Zefo", {}, tagAlways, [this] { platform::services().runModal(*dlgZefo); },
        "Zefo|Další program od autorů Xo!");

    const char *help = "Ná&pověda";
    add(help, "mnNapoveda", "&Nápověda", QKeySequence(Qt::Key_F1), tagAlways, [] { ShowHelpContext(299); },
        "Nápověda|Nápověda k programu");
    add(help, "mnFAQ", "&FAQ", {}, tagAlways, [] { ShowHelpContext(401); }, "FAQ|Často kladené otázky");
    separator(help, "N6", tagAlways);
    add(help, "mnTipy", "&Tip dne", {}, tagAlways,
        [this] {
            frmTips->NextTip();
            platform::services().runModal(*frmTips);
        },
        "Tip dne|Zobrazit další tip");
    add(help, "mnAbout", "&O programu", {}, tagAlways, [this] { platform::services().runModal(*frmAbout); },
        "O programu|Informace o programu");
    return c;
}

// ---------------------------------------------------------------- windows

QList<TMDIChild *> TfrmMain::DocumentWindows() const {
    QList<TMDIChild *> list;
    const auto subs = mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = subs.rbegin(); it != subs.rend(); ++it)
        if (auto *c = qobject_cast<TMDIChild *>(*it)) list << c;
    // The current window leads even before the area was ever active.
    if (auto *cur = qobject_cast<TMDIChild *>(mdiArea->currentSubWindow()); cur && !list.isEmpty()) {
        list.removeOne(cur);
        list.prepend(cur);
    }
    return list;
}

TMDIChild *TfrmMain::ActiveChild() const { return qobject_cast<TMDIChild *>(mdiArea->currentSubWindow()); }

TEditor *TfrmMain::ActiveEditor() const {
    TMDIChild *c = ActiveChild();
    return c && !c->Closing ? c->Editor : nullptr;
}

QAction *TfrmMain::Action(const QString &name) const { return findChild<QAction *>(name); }

TMDIChild *TfrmMain::NewDocumentWindow(const QString &fileName, const TMDIChild::RestoreRecord *restore) {
    auto *child = new TMDIChild(*this, restore);
    child->Editor->PopupMenu = menuEditorPopup;
    connect(child, &TMDIChild::documentClosed, this, [this](TMDIChild *c) { DocumentClosed(c); });
    // Read before the window shows: a file that cannot be opened leaves no window behind.
    if (!fileName.isEmpty() && !child->Editor->LoadFromFile(fileName)) {
        delete child;
        return nullptr;
    }
    const bool maximized = ActiveChild() && ActiveChild()->isMaximized();
    const int count = int(mdiArea->subWindowList().size());
    mdiArea->addSubWindow(child);
    child->setWindowIcon(standardIcon(QStyle::SP_FileIcon));
    const bool restored = restore && restore->restoring && restore->left < 10000;
    if (!restored) {
        // New windows step down and right from the first, like a cascade.
        const int step = 24 * (count % 8);
        child->setGeometry(step, step, mdiArea->width() * 3 / 4, mdiArea->height() * 3 / 4);
    }
    if (maximized)
        child->showMaximized();
    else
        child->show();
    // Stored bounds go on after showing, or the area's own placement would win.
    if (restored && !maximized) child->setGeometry(restore->left, restore->top, restore->width, restore->height);
    mdiArea->setActiveSubWindow(child);
    child->RefreshCaption();
    ActiveWindowChanged();
    return child;
}

TMDIChild *TfrmMain::OpenDocument(const QString &fileName) {
    RemoveRecentFile(fileName);
    for (TMDIChild *c : DocumentWindows()) {
        if (!c->Closing && c->Editor->FileName == fileName) {
            mdiArea->setActiveSubWindow(c);
            RebuildSwitchBar();
            return nullptr;
        }
    }
    TMDIChild *c = NewDocumentWindow(fileName);
    RebuildSwitchBar();
    return c;
}

// ---------------------------------------------------------------- file dialogs

QStringList TfrmMain::FileDialog(bool open, const QString &fileName, int *filterIndex) {
    platform::FileRequest r;
    r.parent = this;
    if (open) {
        r.caption = QStringLiteral("Otevřít soubory");
        r.filter = QStringLiteral("HTML soubory (*.html *.htm);;Vše (*)");
        r.directory = OpenDirectory;
        r.filterIndex = std::max(0, OpenFilterIndex - 1);
    } else {
        r.caption = QStringLiteral("Vyberte nové jméno souboru");
        r.filter = QStringLiteral("HTML soubor (*.html);;HTM soubor (*.htm);;Vše (*)");
        r.directory = SaveDirectory;
        r.filterIndex = saveFilterIndex_;
    }
    r.fileName = fileName;
    if (SpecialOpenSave) r.customize = [](QFileDialog &d) { TSpecialDialogStrip::Attach(d); };
    r.onSelectionChanged = [this, open](const QString &path) { ShowStatusText(TitlePreviewText(path, open)); };
    const platform::FileResult res = open ? platform::services().openFiles(r) : platform::services().saveFile(r);
    ClearStatusText();
    if (open && res.accepted()) OpenFilterIndex = res.filterIndex + 1;
    if (filterIndex) *filterIndex = res.filterIndex;
    return res.files;
}

QString TfrmMain::AskSaveFileName(const QString &proposed) {
    if (!proposed.isEmpty()) SaveDirectory = QFileInfo(proposed).absolutePath();
    int filter = 0;
    const QStringList files = FileDialog(false, proposed, &filter);
    if (files.isEmpty()) return {};
    saveFilterIndex_ = filter;
    QString name = QFileInfo(files.first()).absoluteFilePath();
    if (!hasExtension(name)) name += filter == 1 ? QStringLiteral(".htm") : QStringLiteral(".html");
    // Asked whenever the name exists, also for a file that cannot be read.
    if (QFileInfo::exists(name) &&
        platform::message(kCaption, QStringLiteral("Soubor ") + name + QStringLiteral(" existuje. Přepsat?"),
                          platform::Icon::Question, platform::Buttons::YesNo) != platform::Answer::Yes)
        return {};
    SaveDirectory = QFileInfo(name).absolutePath();
    return name;
}

// ---------------------------------------------------------------- document commands

void TfrmMain::mnNovySouborClick() {
    if (platform::services().runModal(*frmNewDocument) != QDialog::Accepted) return;
    switch (frmNewDocument->ItemIndex()) {
    case TfrmNewDocument::UseTemplate: {
        const QStringList files = FileDialog(true, QString(), nullptr);
        if (files.isEmpty()) return;
        const QString name = QFileInfo(files.first()).absoluteFilePath();
        for (TMDIChild *c : DocumentWindows()) {
            if (c->Closing || c->Editor->FileName != name) continue;
            const std::string text = c->Editor->Text();
            TMDIChild *copy = NewDocumentWindow(QString());
            copy->Editor->SetText(text);
            copy->Editor->SetModified();
            copy->Editor->Repaint();
            RebuildSwitchBar();
            return;
        }
        if (TMDIChild *c = OpenDocument(name)) {
            c->Editor->FileName.clear();
            c->RefreshCaption();
        }
        return;
    }
    case TfrmNewDocument::BasicStructure:
    case TfrmNewDocument::FramesStructure: {
        const bool frames = frmNewDocument->ItemIndex() == TfrmNewDocument::FramesStructure;
        TMDIChild *c = NewDocumentWindow(QString());
        mnUlozitJakoClick();
        QAction *skeleton = Action(frames ? QStringLiteral("mnFramesStruc") : QStringLiteral("mnStruc"));
        if (!c->Editor->FileName.isEmpty() && skeleton && skeleton->isEnabled()) skeleton->trigger();
        return;
    }
    default:
        NewDocumentWindow(QString());
        mnUlozitJakoClick();
        return;
    }
}

void TfrmMain::mnOtevritClick() {
    const QStringList files = FileDialog(true, QString(), nullptr);
    for (const QString &f : files) OpenDocument(QFileInfo(f).absoluteFilePath());
    if (!files.isEmpty()) OpenDirectory = QFileInfo(files.first()).absolutePath();
}

void TfrmMain::mnUlozitClick() {
    TEditor *e = ActiveEditor();
    if (!e) return;
    if (!e->FileName.isEmpty())
        e->SaveToFile();
    else
        mnUlozitJakoClick();
}

void TfrmMain::mnUlozitJakoClick(SaveAs kind) {
    TEditor *e = ActiveEditor();
    if (!e) return;
    if (kind == SaveAs::Unix) e->DosLineEnds = false;
    if (kind == SaveAs::Dos) e->DosLineEnds = true;
    const QString name = AskSaveFileName(e->FileName);
    if (!name.isEmpty()) {
        AddRecentFile(e->FileName);
        e->FileName = name;
        e->SaveToFile();
    }
    RebuildSwitchBar();
}

void TfrmMain::mnUlozitVseClick() {
    for (TMDIChild *c : DocumentWindows()) {
        if (c->Closing) continue;
        if (c->Editor->FileName.isEmpty()) {
            const QString name = AskSaveFileName(QString());
            if (name.isEmpty()) return;
            c->Editor->FileName = name;
        }
        c->Editor->SaveToFile();
    }
}

void TfrmMain::mnZavritClick() {
    if (TMDIChild *c = ActiveChild()) c->close();
    RebuildSwitchBar();
}

void TfrmMain::mnCloseAllClick() {
    for (TMDIChild *c : DocumentWindows()) c->close();
}

void TfrmMain::mnKonecClick() { close(); }

void TfrmMain::menuStarySouborVybran(int item) {
    if (item < 1 || item > 9) return;
    const QString name = mnSoubor[item - 1]->data().toString();
    if (!name.isEmpty()) OpenDocument(name);
}

void TfrmMain::mnUndoClick() {
    if (TEditor *e = ActiveEditor()) e->Undo();
}
void TfrmMain::mnCopyClick() {
    if (TEditor *e = ActiveEditor()) e->CopyToClipboard();
}
void TfrmMain::mnCutClick() {
    if (TEditor *e = ActiveEditor()) e->CutToClipboard();
}
void TfrmMain::mnPasteClick() {
    if (TEditor *e = ActiveEditor()) e->PasteFromClipboard();
}
void TfrmMain::mnDeleteClick() {
    if (TEditor *e = ActiveEditor()) e->KeyDown(Qt::Key_Delete, 0);
}

void TfrmMain::mnKaskadaClick() { mdiArea->cascadeSubWindows(); }
void TfrmMain::mnTileClick() { mdiArea->tileSubWindows(); }

void TfrmMain::mnIconArrangeClick() {
    // Minimised windows in a row along the bottom of the area.
    int x = 0;
    for (QMdiSubWindow *w : mdiArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized()) continue;
        if (x + w->width() > mdiArea->viewport()->width() && x > 0) x = 0;
        w->move(x, mdiArea->viewport()->height() - w->height());
        x += w->width();
    }
}

void TfrmMain::mnMinimalizovatClick() {
    const auto list = DocumentWindows();
    for (auto it = list.rbegin(); it != list.rend(); ++it) (*it)->showMinimized();
}

void TfrmMain::mnDalsiOknoClick() { mdiArea->activateNextSubWindow(); }
void TfrmMain::mnPredchoziOknoClick() { mdiArea->activatePreviousSubWindow(); }

void TfrmMain::mnpSwitchEditorExplorerClick() {
    TMDIChild *c = ActiveChild();
    if (!c) return;
    if (c->Pages->currentWidget() == c->pgEditor) {
        if (c->Pages->isTabVisible(c->Pages->indexOf(c->pgWebBrowser)))
            c->ShowPage(c->pgWebBrowser);
        else
            platform::services().beep();
    } else {
        c->ShowPage(c->pgEditor);
    }
}

// ---------------------------------------------------------------- recent files

void TfrmMain::SetRecentItem(int item, const QString &fileName) {
    QAction *a = mnSoubor[item - 1];
    a->setData(fileName);
    a->setStatusTip(fileName);
    a->setText(QStringLiteral("&%1  %2").arg(item).arg(baseName(fileName)));
    a->setVisible(!fileName.isEmpty());
}

void TfrmMain::AddRecentFile(const QString &fileName) {
    if (fileName.isEmpty()) return;
    RemoveRecentFile(fileName);
    for (int k = 8; k >= 1; --k)
        if (mnSoubor[k - 1]->isVisible() || !mnSoubor[k - 1]->data().toString().isEmpty())
            SetRecentItem(k + 1, mnSoubor[k - 1]->data().toString());
    SetRecentItem(1, fileName);
    mnOldFilesSeparator->setVisible(true);
    recentCount_ = std::min(recentCount_ + 1, 9);
}

void TfrmMain::RemoveRecentFile(const QString &fileName) {
    int found = -1;
    for (int k = 1; k <= recentCount_; ++k)
        if (mnSoubor[k - 1]->data().toString() == fileName) {
            found = k;
            break;
        }
    if (found < 0) return;
    for (int k = found; k < recentCount_; ++k) SetRecentItem(k, mnSoubor[k]->data().toString());
    SetRecentItem(recentCount_, QString());
    --recentCount_;
    if (recentCount_ == 0) mnOldFilesSeparator->setVisible(false);
}

QStringList TfrmMain::RecentFiles() const {
    QStringList list;
    for (int k = 0; k < recentCount_; ++k) list << mnSoubor[k]->data().toString();
    return list;
}

void TfrmMain::DocumentClosed(TMDIChild *child) {
    AddRecentFile(child->Editor->FileName);
    RebuildSwitchBar();
    MenuUpdate();
}

// ---------------------------------------------------------------- frame

void TfrmMain::MenuShortcut(EditorCore &, int shortcut, bool &handled) {
    // Every key typed passes here: look it up, do not search the menus.
    if (shortcuts_.isEmpty()) {
        for (QAction *a : menuBar()->findChildren<QAction *>()) {
            if (a->menu()) continue;
            for (const QKeySequence &k : a->shortcuts())
                if (!k.isEmpty() && !shortcuts_.contains(k[0].toCombined())) shortcuts_.insert(k[0].toCombined(), a);
        }
    }
    QAction *a = shortcuts_.value(shortcut);
    if (!a) return;
    handled = true;
    if (a->isEnabled()) a->trigger();
}

void TfrmMain::MenuUpdate() {
    int n = 0;
    for (TMDIChild *c : DocumentWindows())
        if (!c->Closing) ++n;
    if (n == lastDocumentCount_ || (n != 0 && lastDocumentCount_ > 0)) return;
    lastDocumentCount_ = n;
    const bool documents = n > 0;
    std::function<void(QWidget *)> walk = [&](QWidget *menu) {
        for (QAction *a : menu->actions()) {
            const int tag = a->property("tag").toInt();
            if (!a->property("tag").isValid()) continue;
            if (tag == tagNeedsDocument) {
                a->setVisible(documents);
                if (!documents) continue;
            } else if (tag == tagAlways) {
                a->setVisible(true);
            } else {
                continue;
            }
            if (a->menu()) walk(a->menu());
        }
    };
    walk(menuBar());
    for (QToolBar *t : toolbars)
        for (QAction *a : t->actions())
            a->setEnabled(!a->property("unavailable").toBool() &&
                          (a->property("tag").toInt() == tagAlways || documents));
    SetToolbarStyle();
}

void TfrmMain::SetToolbarStyle() {
    for (QToolBar *t : toolbars)
        for (QToolButton *b : t->findChildren<QToolButton *>()) b->setAutoRaise(Settings.ComCtl32Paint);
}

void TfrmMain::ActiveWindowChanged() {
    MenuUpdate();
    if (TMDIChild *c = ActiveChild()) c->Activated();
    RefreshSwitchBar();
    RefreshModifiedGlyphs();
}

void TfrmMain::RefreshModifiedGlyphs() {
    TMDIChild *c = ActiveChild();
    if (c) {
        c->imgSaved->setVisible(!c->Editor->Modified());
        c->imgModified->setVisible(c->Editor->Modified());
        c->stEncoding->setText(EncodingText(*c->Editor));
    }
    // The status bar shows the active document's encoding.
    statusPanels[1]->setText(c ? EncodingText(*c->Editor) : QString());
    RefreshSwitchBar();
}

void TfrmMain::ApplySettings() {
    SetToolbarStyle();
    SwitchBar->setVisible(Settings.SwtLine);
    if (Settings.SwtLine) RebuildSwitchBar();
    for (TMDIChild *c : DocumentWindows()) {
        c->ApplyTabSettings();
        c->RefreshCaption();
    }
    for (const Subsystem &s : subsystems_)
        if (s.applySettings) s.applySettings(*this);
}

void TfrmMain::changeEvent(QEvent *e) {
    QMainWindow::changeEvent(e);
    // Back from another program: its changes to open files are looked at first.
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && started_)
        QTimer::singleShot(0, this, [this] { CheckFilesOnDisk(); });
}

void TfrmMain::OpenFromOutside(const QStringList &files) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    // Before the start-up work they wait for it, like the program's own.
    if (!started_) {
        startFiles_ << files;
        return;
    }
    for (const QString &f : files) OpenDocument(QFileInfo(f).absoluteFilePath());
}

void TfrmMain::CheckFilesOnDisk() {
    if (checkingFiles_) return; // its own questions activate the window again
    checkingFiles_ = true;
    for (TMDIChild *c : DocumentWindows())
        if (!c->Closing) c->Editor->ResolveChangedFile(false);
    checkingFiles_ = false;
    RefreshModifiedGlyphs();
}

void TfrmMain::showEvent(QShowEvent *e) {
    QMainWindow::showEvent(e);
    if (activationQueued_) return;
    activationQueued_ = true;
    // The start-up work, with its messages and the tip of the day, waits
    // until the window is on the screen, so that they appear over it.
    if (QWindow *w = windowHandle()) {
        w->installEventFilter(this);
        if (w->isExposed()) QueueFirstActivation();
    }
    // A window the display never exposes (started minimised) starts all the same.
    QTimer::singleShot(3000, this, [this] { QueueFirstActivation(); });
}

bool TfrmMain::eventFilter(QObject *o, QEvent *e) {
    if (e->type() == QEvent::Expose && o == windowHandle() && windowHandle()->isExposed()) QueueFirstActivation();
    return QMainWindow::eventFilter(o, e);
}

void TfrmMain::QueueFirstActivation() {
    if (activated_) return;
    activated_ = true;
    if (QWindow *w = windowHandle()) w->removeEventFilter(this);
    // After the expose has been handled, so the window is drawn first.
    QTimer::singleShot(0, this, [this] {
        FirstActivation();
        started_ = true;
    });
}

void TfrmMain::FirstActivation() {
    ClearStatusText();
    SetDefaultSettings();
    LoadConfig();
    // Browser discovery for empty browser paths belongs here, with the browsers.
    if (ownButtons_) Settings.ComCtl32Paint = false;
    if (ConfigMissing || ConfigBad) SetDefaultSettings();
    ApplySettings();
    MenuUpdate();
    LeaveWait();
    for (const Subsystem &s : subsystems_)
        if (s.started) s.started(*this);
    for (const QString &f : std::exchange(startFiles_, {})) OpenDocument(QFileInfo(f).absoluteFilePath());
    if (Settings.RunTip) {
        for (TMDIChild *c : DocumentWindows()) c->Editor->HideCaret();
        frmTips->NextTip();
        platform::services().runModal(*frmTips);
    }
}

void TfrmMain::closeEvent(QCloseEvent *e) {
    for (TMDIChild *c : DocumentWindows()) {
        if (!c->Closing && !c->CloseQuery()) {
            e->ignore();
            return;
        }
    }
    SaveConfig();
    // The help window is a window of its own: it must not keep the program alive.
    QuitHelp();
    e->accept();
}

} // namespace xo
