#pragma once
// The program's one door to the operating system's interactive facilities.
// Everything that could block on a user (messages, dialogs, choosers) or
// touches global machine state (clipboard, cursor, clock, processes) goes
// through the current Services object, so tests can script it.

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QDialog;
class QFileDialog;
class QWidget;

namespace xo::platform {

enum class Icon { None, Exclamation, Information, Question, Error };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
    QString caption;
    QString text;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    // Captions of the Yes and No buttons where a question names its choices ("&Obnovit").
    QString yesText, noText;
};

// Filters use Qt's form "Desc (*.a *.b)" separated by ";;".
struct FileRequest {
    QString caption;
    QString filter;
    int filterIndex = 0;       // 0-based, selected filter
    QString directory;         // initial directory
    QString fileName;          // initial name
    QString defaultSuffix;
    QWidget *parent = nullptr;
    // Called with the path under the selection whenever it or the folder changes.
    std::function<void(const QString &)> onSelectionChanged;
    // Extends the dialog before it is shown (the predefined-directory strip).
    std::function<void(QFileDialog &)> customize;
};

struct FileResult {
    QStringList files;         // empty when cancelled
    int filterIndex = 0;       // the filter selected at the end
    bool accepted() const { return !files.isEmpty(); }
};

class Services {
public:
    virtual ~Services() = default;

    virtual Answer message(const Message &m) = 0;
    // Runs a dialog modally; returns QDialog::Accepted or Rejected.
    virtual int runModal(QDialog &dialog) = 0;

    virtual FileResult openFile(const FileRequest &r) = 0;
    virtual FileResult openFiles(const FileRequest &r) = 0;
    virtual FileResult saveFile(const FileRequest &r) = 0;
    // customColors: the shared list of 16 entries, updated on OK.
    virtual std::optional<QColor> chooseColor(QColor initial, QStringList &customColors, QWidget *parent) = 0;
    virtual std::optional<QFont> chooseFont(const QFont &initial, QWidget *parent) = 0;
    virtual std::optional<QString> chooseDirectory(const QString &caption, const QString &initial, QWidget *parent) = 0;

    virtual void beep() = 0;
    // nullopt when the clipboard holds no text.
    virtual std::optional<QString> clipboardText() = 0;
    virtual void setClipboardText(const QString &text) = 0;
    virtual void setWaitCursor(bool on) = 0;
    // No shell and no splitting at blanks.
    virtual bool startProgram(const QString &program, const QStringList &arguments) = 0;
    virtual bool openUrl(const QString &url) = 0;
    // False when the help file could not be shown.
    virtual bool showHelp(const QString &helpFile, int context) = 0;
    virtual void quitHelp() = 0;
    virtual QDateTime now() = 0;
};

// The current services; the real Qt ones unless a test installed others.
Services &services();
// Installs s (not owned) and returns the previous one; nullptr restores the real ones.
Services *setServices(Services *s);

// Shorthand for the common case.
Answer message(const QString &caption, const QString &text, Icon icon, Buttons buttons = Buttons::Ok);

} // namespace xo::platform
