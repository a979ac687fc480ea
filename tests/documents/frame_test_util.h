#pragma once
// A main window for tests, with scripted platform services and a fake browser.

#include "documents/browser_view.h"
#include "documents/main_window.h"
#include "editor/editor_widget.h"
#include "search/find_dialogs.h"
#include "search/search_commands.h"
#include "settings/settings.h"
#include "support/scripted_services.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace xo::test {

class FakeBrowser : public BrowserView {
public:
    explicit FakeBrowser(QWidget *parent, QStringList &log) : w_(new QWidget(parent)), log_(log) {}
    QWidget *widget() override { return w_; }
    void navigate(const QString &file) override { log_ << file; }

private:
    QWidget *w_;
    QStringList &log_;
};

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        // The configuration lives in the test's own directory.
        qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
        qputenv("XDG_STATE_HOME", dir.filePath("state").toLocal8Bit());
        TfrmMain::ProgramFile = dir.filePath("bin/xo");
        SetDefaultSettings();
        SetBrowserFactory([this](QWidget *parent) -> std::unique_ptr<BrowserView> {
            if (browserFails) return nullptr;
            return std::make_unique<FakeBrowser>(parent, navigations);
        });
        // The tip of the day greets every start; close it.
        startFrame();
    }
    // A new main window, as at program start (its tip of the day closed);
    // without subsystems, those the fixture names.
    void startFrame(const QStringList &arguments = {}, std::vector<Subsystem> subsystems = {}) {
        frame.reset();
        services.onModal = [](QDialog &) { return int(QDialog::Rejected); };
        const bool own = subsystems.empty();
        if (own) subsystems = defaultSubsystems();
        frame = std::make_unique<TfrmMain>(arguments, std::move(subsystems), own ? configOrder() : QStringList());
        frame->resize(1000, 700);
        frame->show();
        waitForStartup();
        services.onModal = nullptr;
    }
    virtual std::vector<Subsystem> defaultSubsystems() { return {SearchSubsystem()}; }
    virtual QStringList configOrder() { return {}; }
    // The start-up work runs once the window is on the screen.
    void waitForStartup() {
        const QDeadlineTimer deadline(10000);
        while (!frame->StartupDone() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_TRUE(frame->StartupDone());
    }
    TdlgFind *findDialog() const { return static_cast<TdlgFind *>(frame->Dialog("TdlgFind")); }
    QString configFile() const { return dir.filePath("xo/xo.config"); }
    void TearDown() override {
        frame.reset();
        SetBrowserFactory(nullptr);
    }

    QString file(const QString &name, const QByteArray &content = "text") {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
    QByteArray read(const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void answerFile(const QString &path, int filter = 0) {
        services.fileResults.push_back(platform::FileResult{{path}, filter});
    }
    void cancelFile() { services.fileResults.push_back(platform::FileResult{}); }
    QStringList captions() {
        QStringList l;
        for (TMDIChild *c : frame->DocumentWindows()) l << c->windowTitle();
        return l;
    }

    QTemporaryDir dir;
    ScriptedServices services;
    QStringList navigations;
    bool browserFails = false;
    std::unique_ptr<TfrmMain> frame;
};

} // namespace xo::test
