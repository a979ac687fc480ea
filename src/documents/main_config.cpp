// The main window and the configuration file: read at the first
// activation, written at exit.
#include "config_content.h"
#include "editor/editor_widget.h"
#include "main_window.h"
#include "platform/services.h"
#include "settings/compress_file.h"
#include "settings/config_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMdiArea>
#include <QScreen>

namespace xo {

QString TfrmMain::ProgramFile;

namespace {

const QString kCaption = QStringLiteral("Xo!");

void reportBad() {
    platform::message(kCaption, QStringLiteral("Chybný konfigurační soubor"), platform::Icon::Exclamation);
}

// Stored bounds shrunk to the available screen, and moved onto the primary
// screen when no screen shows them.
QRect onScreen(QRect r) {
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary) return r;
    const QRect avail = primary->availableGeometry();
    r.setSize(r.size().boundedTo(avail.size()).expandedTo(QSize(200, 150)));
    for (QScreen *s : QGuiApplication::screens())
        if (s->availableGeometry().intersects(r)) return r;
    r.moveTopLeft(avail.topLeft());
    return r;
}

// A stored selection bound, kept inside the text and off the middle of a line end.
int clampPosition(const EditorCore &e, int p) {
    p = std::clamp(p, 1, e.TextLength() + 1);
    if (e.CharAt(p - 1) == '\r' && e.CharAt(p) == '\n') --p;
    return p;
}

// The program-wide dialog states, into and out of the file's content.
void collectStates(ConfigContent &c) {
    c.hierarchie = HierarchieState;
    c.chooseBrowser = ChooseBrowserState;
    c.chooseDir = ChooseDirState;
    c.tagAHref = TagAHrefState;
    c.searchFiles = SearchFilesState;
    c.predefinedDirs = PredefinedDirs;
    c.specialOpenSave = SpecialOpenSave;
}

void applyStates(const ConfigContent &c) {
    HierarchieState = c.hierarchie;
    ChooseBrowserState = c.chooseBrowser;
    ChooseDirState = c.chooseDir;
    TagAHrefState = c.tagAHref;
    SearchFilesState = c.searchFiles;
    PredefinedDirs = c.predefinedDirs;
    SpecialOpenSave = c.specialOpenSave;
}

QString configPath() {
    return ConfigPathFor(
        ConfigStem(TfrmMain::ProgramFile.isEmpty() ? QCoreApplication::applicationFilePath() : TfrmMain::ProgramFile));
}

} // namespace

void TfrmMain::LoadConfig() {
    ConfigPath = configPath();
    std::unique_ptr<TCompressFile> f;
    try {
        f = std::make_unique<TCompressFile>(ConfigPath, TCompressFile::fmOpenRead);
    } catch (const ECompressFileError &) {
        ConfigMissing = true;
        return;
    }
    ConfigMissing = false;
    ConfigBad = false;
    ConfigContent c;
    collectStates(c); // a section the file lacks leaves its state as it is
    ReadConfig(*f, c);
    // Nothing of a damaged file is used: its values cannot be trusted.
    if (!c.signatureOk || c.damaged) {
        ConfigBad = true;
        reportBad();
        return;
    }
    if (c.main) {
        const ConfigMain &m = *c.main;
        if (m.bounds.width() > 0 && m.bounds.height() > 0) setGeometry(onScreen(m.bounds));
        if (m.state == 2) setWindowState(windowState() | Qt::WindowMaximized);
        if (m.state == 1) setWindowState(windowState() | Qt::WindowMinimized);
        Settings = m.settings;
        EditorColors = m.colors;
        TextStyles = m.styles;
        UserTags = m.tags;
        CustomColors = m.customColors;
        for (const QString &name : m.recentFiles) AddRecentFile(name); // each becomes the newest
        ApplySettings();
        for (const auto &w : m.windows) {
            if (!w) continue;
            TMDIChild::RestoreRecord r;
            r.restoring = true;
            r.fileName = w->fileName;
            r.left = w->fileName.isEmpty() ? 10000 : w->left;
            r.top = w->top;
            r.width = w->width;
            r.height = w->height;
            r.selStart = w->selStart;
            r.selEnd = w->selEnd;
            RestoreWindow(r);
        }
        OpenDirectory = m.openDirectory;
        OpenFilterIndex = m.openFilterIndex;
        SaveDirectory = m.saveDirectory;
    }
    for (const Subsystem &s : subsystems_)
        if (s.readConfig) s.readConfig(*this, c);
    applyStates(c);
    RebuildSwitchBar();
}

void TfrmMain::RestoreWindow(TMDIChild::RestoreRecord r) {
    if (r.left < 10000) {
        // Keep the window where the frame can show it.
        QRect g = BoundedRect(r.left, r.top, std::max(r.width, 100), std::max(r.height, 80));
        const QRect area = mdiArea->viewport()->rect();
        if (!area.isEmpty()) {
            g.setSize(g.size().boundedTo(area.size().expandedTo(QSize(100, 80))));
            if (!area.intersects(g)) g.moveTopLeft(QPoint(0, 0));
        }
        r.left = g.left();
        r.top = g.top();
        r.width = g.width();
        r.height = g.height();
    }
    TMDIChild *c = NewDocumentWindow(r.fileName, &r);
    if (!c || r.fileName.isEmpty()) return;
    // The file may have shrunk or vanished since the last run.
    TEditor *e = c->Editor;
    int s = clampPosition(*e, r.selStart), t = clampPosition(*e, r.selEnd);
    if (t < s) std::swap(s, t);
    e->SetSelection(s, t);
    e->ScrollToCaret();
    e->Repaint();
}

void TfrmMain::SaveConfig() {
    if (ConfigPath.isEmpty()) ConfigPath = configPath();
    QDir().mkpath(QFileInfo(ConfigPath).absolutePath());
    std::unique_ptr<TCompressFile> f;
    try {
        f = std::make_unique<TCompressFile>(ConfigPath, TCompressFile::fmCreate);
    } catch (const ECompressFileError &) {
        platform::message(kCaption, QStringLiteral("Konfigurační soubor nelze vytvořit"), platform::Icon::Exclamation);
        return;
    }
    f->SetOwnerOnly(); // it holds the site dialog's password
    ConfigContent c;
    ConfigMain &m = c.main.emplace();
    m.state = isMaximized() ? 2 : isMinimized() ? 1 : 0;
    m.bounds = m.state == 0 ? geometry() : normalGeometry();
    m.settings = Settings;
    m.colors = EditorColors;
    m.styles = TextStyles;
    m.tags = UserTags;
    m.customColors = CustomColors;
    const QStringList recent = RecentFiles();
    for (auto it = recent.rbegin(); it != recent.rend(); ++it) m.recentFiles << *it; // the oldest first
    m.readWins = Settings.ReadWins;
    if (m.readWins) {
        for (TMDIChild *child : DocumentWindows()) {
            if (child->Editor->FileName.isEmpty()) {
                m.windows.emplace_back();
                continue;
            }
            const TMDIChild::RestoreRecord r = child->StateRecord(); // normal-state bounds
            m.windows.push_back(ConfigWindow{r.fileName, r.left, r.top, r.width, r.height, r.selStart, r.selEnd});
        }
    }
    m.openDirectory = OpenDirectory;
    m.openFilterIndex = OpenFilterIndex;
    m.saveDirectory = SaveDirectory;
    for (const Subsystem &s : subsystems_)
        if (s.writeConfig) s.writeConfig(*this, c);
    collectStates(c);
    WriteConfig(*f, c);
    if (!f->Close())
        platform::message(kCaption, QStringLiteral("Konfigurační soubor nelze vytvořit"), platform::Icon::Exclamation);
}

} // namespace xo
