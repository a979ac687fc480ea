// The main window and the configuration file: read at the first
// activation, written at exit.
#include "config_content.h"
#include "editor/editor_widget.h"
#include "subsystem.h"
#include "main_window.h"
#include "platform/services.h"
#include "settings/compress_file.h"
#include "settings/config_location.h"

#include <QCoreApplication>
#include <optional>
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

QString configPath() {
    return ConfigPathFor(
        ConfigStem(TfrmMain::ProgramFile.isEmpty() ? QCoreApplication::applicationFilePath() : TfrmMain::ProgramFile));
}

} // namespace

std::vector<ConfigSection> TfrmMain::ConfigSections() {
    // The frame's own: "Main" first, the predefined directories last.
    auto main = std::make_shared<std::optional<ConfigMain>>();
    ConfigSection mainSection{QStringLiteral("Main"),
                              [main](TfrmMain &, TCompressFile &f) {
                                  main->reset();
                                  if (ConfigMain m; ReadMainSection(f, m)) *main = std::move(m);
                              },
                              [main](TfrmMain &frame) {
                                  if (*main) frame.ApplyMainSection(**main);
                              },
                              [](TfrmMain &frame, TCompressFile &f) { WriteMainSection(f, frame.CollectMainSection()); }};
    auto dirs = std::make_shared<ConfigDirectories>();
    ConfigSection dirsSection{QStringLiteral("PredefinedDirs"),
                              [dirs](TfrmMain &, TCompressFile &f) {
                                  dirs->predefinedDirs = PredefinedDirs;
                                  dirs->specialOpenSave = SpecialOpenSave;
                                  dirs->Read(f);
                              },
                              [dirs](TfrmMain &) {
                                  PredefinedDirs = dirs->predefinedDirs;
                                  SpecialOpenSave = dirs->specialOpenSave;
                              },
                              [](TfrmMain &, TCompressFile &f) { ConfigDirectories{PredefinedDirs, SpecialOpenSave}.Write(f); }};
    std::vector<ConfigSection> all{mainSection, dirsSection};
    for (const Subsystem &s : subsystems_) all.insert(all.end(), s.config.begin(), s.config.end());
    // In the program's order; without one, the subsystems' in theirs between the frame's two.
    QStringList order = configOrder_;
    if (order.isEmpty()) {
        for (const ConfigSection &c : all) order << c.name;
        order.move(1, order.size() - 1);
    }
    std::vector<ConfigSection> ordered;
    for (const QString &name : order)
        for (const ConfigSection &c : all)
            if (c.name == name) ordered.push_back(c);
    for (const ConfigSection &c : all)
        if (!order.contains(c.name)) qWarning("configuration section %s has no place in the order", qPrintable(c.name));
    return ordered;
}

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
    const std::vector<ConfigSection> sections = ConfigSections();
    const bool signed_ = f->ReadString() == kConfigSignature;
    if (signed_)
        for (const ConfigSection &s : sections) s.read(*this, *f);
    // Nothing of a damaged file is used: its values cannot be trusted.
    if (!signed_ || f->Damaged()) {
        ConfigBad = true;
        reportBad();
        return;
    }
    for (const ConfigSection &s : sections) s.apply(*this);
    RebuildSwitchBar();
}

void TfrmMain::ApplyMainSection(const ConfigMain &m) {
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

ConfigMain TfrmMain::CollectMainSection() {
    ConfigMain m;
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
    return m;
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
    f->WriteString(kConfigSignature);
    for (const ConfigSection &s : ConfigSections()) s.write(*this, *f);
    if (!f->Close())
        platform::message(kCaption, QStringLiteral("Konfigurační soubor nelze vytvořit"), platform::Icon::Exclamation);
}

} // namespace xo
