#pragma once
#include "services.h"

namespace xo::platform {

// The real implementation over Qt widgets.
class QtServices : public Services {
public:
    Answer message(const Message &m) override;
    int runModal(QDialog &dialog) override;
    FileResult openFile(const FileRequest &r) override;
    FileResult openFiles(const FileRequest &r) override;
    FileResult saveFile(const FileRequest &r) override;
    std::optional<QColor> chooseColor(QColor initial, QStringList &customColors, QWidget *parent) override;
    std::optional<QFont> chooseFont(const QFont &initial, QWidget *parent) override;
    std::optional<QString> chooseDirectory(const QString &caption, const QString &initial, QWidget *parent) override;
    void beep() override;
    std::optional<QString> clipboardText() override;
    void setClipboardText(const QString &text) override;
    void setWaitCursor(bool on) override;
    bool startProgram(const QString &program, const QStringList &arguments) override;
    bool openUrl(const QString &url) override;
    bool showHelp(const QString &helpFile, int context) override;
    void quitHelp() override;
    QDateTime now() override;

    // The help window is supplied by the frame; until then help is a no-op.
    static void setHelpHandlers(std::function<bool(const QString &, int)> show, std::function<void()> quit);

private:
    Answer showMessage(const Message &m);
};

// Conversion between the shared custom-colour list ("BBGGRR" hex texts) and QColor.
QColor colorFromCustomEntry(const QString &entry);
QString customEntryFromColor(const QColor &c);

} // namespace xo::platform
