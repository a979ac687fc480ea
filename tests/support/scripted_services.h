#pragma once
// Test double for the platform services: a script of expected messages and
// answers, canned chooser results, a settable clock, a private clipboard.
// Anything unscripted fails the running test and returns "cancel" at once,
// so no test can hang on a modal window.

#include "platform/services.h"

#include <deque>
#include <functional>
#include <vector>

namespace xo::test {

class ScriptedServices : public platform::Services {
public:
    ScriptedServices();  // installs itself
    ~ScriptedServices() override; // restores the previous services; unmet expectations fail

    // The next message must have this text, caption and icon; it gets `answer`.
    void expectMessage(const QString &text, platform::Answer answer = platform::Answer::Ok,
                       platform::Icon icon = platform::Icon::Exclamation,
                       const QString &caption = QStringLiteral("Xo!"));
    int pendingMessages() const { return int(expected_.size()); }

    std::vector<platform::Message> messages; // every message shown
    std::function<int(QDialog &)> onModal;   // fills and closes a dialog
    std::function<void(const platform::Message &)> onMessage; // what the user does while a message shows
    // Answers the messages no expectation was set for (instead of a failure).
    std::function<platform::Answer(const platform::Message &)> answerAny;
    std::deque<platform::FileResult> fileResults;
    std::vector<platform::FileRequest> fileRequests;
    std::deque<std::optional<QColor>> colorResults;
    std::optional<QString> clipboard;
    int beeps = 0;
    bool waitCursor = false;
    int waitCursorSets = 0;
    QDateTime clock = QDateTime(QDate(2026, 12, 5), QTime(9, 5, 7));
    std::vector<std::pair<QString, QStringList>> started;
    std::vector<QString> urls;
    std::vector<std::pair<QString, int>> helpRequests;
    int helpQuits = 0;

    platform::Answer message(const platform::Message &m) override;
    int runModal(QDialog &dialog) override;
    platform::FileResult openFile(const platform::FileRequest &r) override;
    platform::FileResult openFiles(const platform::FileRequest &r) override;
    platform::FileResult saveFile(const platform::FileRequest &r) override;
    std::optional<QColor> chooseColor(QColor initial, QStringList &customColors, QWidget *parent) override;
    std::optional<QFont> chooseFont(const QFont &initial, QWidget *parent) override;
    std::optional<QString> chooseDirectory(const QString &caption, const QString &initial, QWidget *parent) override;
    void beep() override { ++beeps; }
    std::optional<QString> clipboardText() override { return clipboard; }
    void setClipboardText(const QString &text) override { clipboard = text; }
    void setWaitCursor(bool on) override {
        waitCursor = on;
        ++waitCursorSets;
    }
    bool programsWork = true, urlsWork = true;
    bool startProgram(const QString &program, const QStringList &arguments) override {
        started.emplace_back(program, arguments);
        return programsWork;
    }
    bool openUrl(const QString &url) override {
        urls.push_back(url);
        return urlsWork;
    }
    bool helpWorks = true;
    bool showHelp(const QString &file, int context) override {
        helpRequests.emplace_back(file, context);
        return helpWorks;
    }
    void quitHelp() override { ++helpQuits; }
    QDateTime now() override { return clock; }

private:
    struct Expected {
        platform::Message message;
        platform::Answer answer;
    };
    std::deque<Expected> expected_;
    platform::Services *previous_;
    platform::FileResult nextFile(const platform::FileRequest &r);
};

} // namespace xo::test
