#include "help.h"

#include "local_browser.h"
#include "platform/services.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace xo {

QString HelpFileName;

QString LocateHelpFile(const QString &programFile) {
    const QFileInfo exe(programFile);
    QString base = exe.fileName();
    if (const qsizetype dot = base.lastIndexOf(u'.'); dot > 0) base.truncate(dot);
    const QString name = base + QStringLiteral(".hlp");
    QStringList candidates{exe.absolutePath() + u'/' + name,
                           QDir::cleanPath(exe.absolutePath() + QStringLiteral("/../share/") + base + u'/' + name)};
    for (const QString &d : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        candidates << d + u'/' + base + u'/' + name;
    for (const QString &c : candidates)
        if (QFileInfo(c).isFile()) return c;
    return candidates.first();
}

void ShowHelpContext(int context) {
    if (!HelpFileName.isEmpty() && !platform::services().showHelp(HelpFileName, context)) HelpFileName.clear();
    if (HelpFileName.isEmpty())
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Soubor s nápovědou nenalezen."),
                          platform::Icon::Exclamation);
}

void QuitHelp() {
    if (!HelpFileName.isEmpty()) platform::services().quitHelp();
}

namespace {
QPointer<QDialog> helpWindow;
QTextBrowser *helpText = nullptr;
} // namespace

bool ShowHelpWindow(const QString &file, int context) {
    QFile f(file);
    if (!QFileInfo(file).isFile() || !f.open(QIODevice::ReadOnly)) return false;
    const QString html = QString::fromUtf8(f.readAll());
    if (!helpWindow) {
        helpWindow = new QDialog(nullptr, Qt::Window);
        helpWindow->setAttribute(Qt::WA_DeleteOnClose);
        helpWindow->setWindowTitle(QStringLiteral("Nápověda Xo!"));
        helpWindow->resize(760, 560);
        auto *box = new QVBoxLayout(helpWindow);
        box->setContentsMargins(0, 0, 0, 0);
        helpText = new TLocalTextBrowser;
        helpText->setOpenExternalLinks(true);
        box->addWidget(helpText);
    }
    // Asked for from a modal dialog, the help window belongs to that dialog:
    // otherwise the dialog's modality would leave it unusable until the dialog closes.
    QWidget *modal = QApplication::activeModalWidget();
    if (modal == helpWindow) modal = helpWindow->parentWidget();
    if (helpWindow->parentWidget() != modal) {
        const bool shown = helpWindow->isVisible();
        const QRect place = helpWindow->geometry();
        helpWindow->setParent(modal, Qt::Window);
        if (shown) helpWindow->setGeometry(place);
    }
    helpText->document()->setBaseUrl(QUrl::fromLocalFile(file));
    helpText->setHtml(html);
    // The title names the topic: the heading that holds the anchor.
    QString title = QStringLiteral("Nápověda Xo!");
    const QString anchor = QStringLiteral("name=\"ctx%1\"").arg(context);
    if (const qsizetype at = html.indexOf(anchor); at >= 0) {
        const qsizetype from = html.indexOf(u'>', html.indexOf(QLatin1String("</a>"), at)) + 1;
        const qsizetype to = html.indexOf(QLatin1String("</h"), from);
        if (from > 0 && to > from) {
            QTextDocument heading;
            heading.setHtml(html.mid(from, to - from));
            title += QStringLiteral(" – ") + heading.toPlainText().trimmed();
        }
    }
    helpWindow->setWindowTitle(title);
    helpText->scrollToAnchor(QStringLiteral("ctx%1").arg(context));
    helpWindow->show();
    helpWindow->raise();
    helpWindow->activateWindow();
    return true;
}

void CloseHelpWindow() {
    if (helpWindow) helpWindow->close();
}

} // namespace xo
