#pragma once
// The embedded web browser of the "IExplorer" page, made through a
// replaceable factory: tests use a fake, the program QWebEngineView.

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace xo {

class BrowserView {
public:
    virtual ~BrowserView() = default;
    virtual QWidget *widget() = 0;
    virtual void navigate(const QString &localFile) = 0;
};

// Returns nullptr when no browser can be made.
using BrowserFactory = std::function<std::unique_ptr<BrowserView>(QWidget *parent)>;

void SetBrowserFactory(BrowserFactory f); // empty: the real one again
std::unique_ptr<BrowserView> CreateBrowser(QWidget *parent);
std::unique_ptr<BrowserView> CreateWebEngineBrowser(QWidget *parent);

} // namespace xo
