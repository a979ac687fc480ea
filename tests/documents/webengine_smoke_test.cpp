// One real run of the embedded browser: it loads a saved document and its
// title arrives.
#include "documents/browser_view.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <QWidget>
#include <gtest/gtest.h>

TEST(WebEngineBrowser, LoadsASavedDocumentAndReadsItsTitle) {
    QTemporaryDir dir;
    const QString path = dir.filePath("page.htm");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<HTML><HEAD><TITLE>Zku\x9a" "ebn\xed str\xe1nka</TITLE>"
            "<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1250\"></HEAD>"
            "<BODY>x</BODY></HTML>");
    f.close();
    QWidget page;
    auto browser = xo::CreateWebEngineBrowser(&page);
    auto *view = qobject_cast<QWebEngineView *>(browser->widget());
    ASSERT_NE(view, nullptr);
    QSignalSpy loaded(view, &QWebEngineView::loadFinished);
    browser->navigate(path);
    ASSERT_TRUE(loaded.wait(60000)) << "the page did not load";
    EXPECT_TRUE(loaded.first().first().toBool());
    EXPECT_EQ(view->title(), QStringLiteral("Zkušební stránka"));
}
