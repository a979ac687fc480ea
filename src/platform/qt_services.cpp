#include "qt_services.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>
#include <QProcess>
#include <QUrl>

namespace xo::platform {
namespace {

std::function<bool(const QString &, int)> &helpShow() {
    static std::function<bool(const QString &, int)> f;
    return f;
}
std::function<void()> &helpQuit() {
    static std::function<void()> f;
    return f;
}

// With XO_TRACE naming a file, every message, modal dialog and file dialog
// is written there as one line, so that tests driving the real window can
// read what the user was shown.
void trace(const QString &kind, const QString &a, const QString &b = QString()) {
    static const QString path = qEnvironmentVariable("XO_TRACE");
    if (path.isEmpty()) return;
    QFile f(path);
    if (!f.open(QIODevice::Append | QIODevice::Text)) return;
    auto flat = [](QString t) {
        return t.replace(QStringLiteral("\r\n"), QStringLiteral("\\n")).replace(u'\n', QStringLiteral("\\n"));
    };
    f.write((kind + u'\t' + flat(a) + u'\t' + flat(b) + u'\n').toUtf8());
}

QString answerName(Answer a) {
    switch (a) {
    case Answer::Ok: return QStringLiteral("ok");
    case Answer::Cancel: return QStringLiteral("cancel");
    case Answer::Yes: return QStringLiteral("yes");
    case Answer::No: return QStringLiteral("no");
    }
    return {};
}

QMessageBox::Icon qtIcon(Icon i) {
    switch (i) {
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QFileDialog::Options dialogOptions() { return QFileDialog::DontUseNativeDialog; }

FileResult runFileDialog(const FileRequest &r, QFileDialog::FileMode mode, QFileDialog::AcceptMode accept) {
    QFileDialog dlg(r.parent, r.caption, r.directory, r.filter);
    // The program asks its own overwrite question after the dialog.
    dlg.setOptions(dialogOptions() | QFileDialog::DontConfirmOverwrite);
    dlg.setFileMode(mode);
    dlg.setAcceptMode(accept);
    if (!r.defaultSuffix.isEmpty()) dlg.setDefaultSuffix(r.defaultSuffix);
    const QStringList filters = r.filter.split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    if (r.filterIndex >= 0 && r.filterIndex < filters.size()) dlg.selectNameFilter(filters[r.filterIndex]);
    if (!r.fileName.isEmpty()) dlg.selectFile(r.fileName);
    if (r.customize) r.customize(dlg);
    trace(QStringLiteral("file"), r.caption);
    if (r.onSelectionChanged) {
        QObject::connect(&dlg, &QFileDialog::currentChanged, &dlg, r.onSelectionChanged);
        QObject::connect(&dlg, &QFileDialog::directoryEntered, &dlg, r.onSelectionChanged);
    }
    FileResult res;
    if (dlg.exec() == QDialog::Accepted) {
        res.files = dlg.selectedFiles();
        res.filterIndex = int(filters.indexOf(dlg.selectedNameFilter()));
    }
    return res;
}

} // namespace

void QtServices::setHelpHandlers(std::function<bool(const QString &, int)> show, std::function<void()> quit) {
    helpShow() = std::move(show);
    helpQuit() = std::move(quit);
}

Answer QtServices::message(const Message &m) {
    trace(QStringLiteral("message"), m.caption, m.text);
    const Answer a = showMessage(m);
    trace(QStringLiteral("answer"), answerName(a));
    return a;
}

Answer QtServices::showMessage(const Message &m) {
    // The program's texts break lines with CR LF; a label wants LF alone.
    QString text = m.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(qtIcon(m.icon), m.caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    switch (m.buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    if (QAbstractButton *yes = box.button(QMessageBox::Yes); yes && !m.yesText.isEmpty()) yes->setText(m.yesText);
    if (QAbstractButton *no = box.button(QMessageBox::No); no && !m.noText.isEmpty()) no->setText(m.noText);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Ok: return Answer::Ok;
    default:
        // Closing the box with Escape or the title bar: Cancel where offered, else No or OK.
        if (m.buttons == Buttons::YesNo) return Answer::No;
        if (m.buttons == Buttons::Ok) return Answer::Ok;
        return Answer::Cancel;
    }
}

int QtServices::runModal(QDialog &dialog) {
    trace(QStringLiteral("modal"), dialog.objectName(), dialog.windowTitle());
    const int result = dialog.exec();
    // The keyboard goes back to the window the dialog belongs to: a window
    // manager that saw the dialog's own message box close just before may
    // leave the focus nowhere.
    if (QWidget *owner = dialog.parentWidget(); owner && owner->isVisible()) owner->window()->activateWindow();
    return result;
}

FileResult QtServices::openFile(const FileRequest &r) {
    return runFileDialog(r, QFileDialog::ExistingFile, QFileDialog::AcceptOpen);
}

FileResult QtServices::openFiles(const FileRequest &r) {
    return runFileDialog(r, QFileDialog::ExistingFiles, QFileDialog::AcceptOpen);
}

FileResult QtServices::saveFile(const FileRequest &r) {
    return runFileDialog(r, QFileDialog::AnyFile, QFileDialog::AcceptSave);
}

QColor colorFromCustomEntry(const QString &entry) {
    bool ok = false;
    const uint v = entry.toUInt(&ok, 16); // 0xBBGGRR
    if (!ok) return QColor(Qt::black);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QString customEntryFromColor(const QColor &c) {
    const uint v = uint(c.red()) | (uint(c.green()) << 8) | (uint(c.blue()) << 16);
    return QStringLiteral("%1").arg(v, 6, 16, QLatin1Char('0')).toUpper();
}

std::optional<QColor> QtServices::chooseColor(QColor initial, QStringList &customColors, QWidget *parent) {
    for (int i = 0; i < customColors.size() && i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, colorFromCustomEntry(customColors[i]));
    QColorDialog dlg(initial, parent);
    dlg.setOptions(QColorDialog::DontUseNativeDialog);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    QStringList list;
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        list << customEntryFromColor(QColorDialog::customColor(i));
    customColors = list;
    return dlg.selectedColor();
}

std::optional<QFont> QtServices::chooseFont(const QFont &initial, QWidget *parent) {
    bool ok = false;
    QFont f = QFontDialog::getFont(&ok, initial, parent, QString(), QFontDialog::DontUseNativeDialog);
    if (!ok) return std::nullopt;
    return f;
}

std::optional<QString> QtServices::chooseDirectory(const QString &caption, const QString &initial, QWidget *parent) {
    const QString d = QFileDialog::getExistingDirectory(parent, caption, initial,
                                                        QFileDialog::ShowDirsOnly | dialogOptions());
    if (d.isEmpty()) return std::nullopt;
    return d;
}

void QtServices::beep() { QApplication::beep(); }

std::optional<QString> QtServices::clipboardText() {
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    return data->text();
}

void QtServices::setClipboardText(const QString &text) { QGuiApplication::clipboard()->setText(text); }

void QtServices::setWaitCursor(bool on) {
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

bool QtServices::startProgram(const QString &program, const QStringList &arguments) {
    return QProcess::startDetached(program, arguments);
}

bool QtServices::openUrl(const QString &url) { return QDesktopServices::openUrl(QUrl(url)); }

bool QtServices::showHelp(const QString &helpFile, int context) {
    return helpShow() ? helpShow()(helpFile, context) : false;
}

void QtServices::quitHelp() {
    if (helpQuit()) helpQuit()();
}

QDateTime QtServices::now() { return QDateTime::currentDateTime(); }

} // namespace xo::platform
