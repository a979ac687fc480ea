#include "browser_view.h"

#include <QUrl>
#include <QWebEngineView>

namespace xo {

namespace {

BrowserFactory &factory() {
    static BrowserFactory f;
    return f;
}

class WebEngineBrowser final : public BrowserView {
public:
    explicit WebEngineBrowser(QWidget *parent) : view_(new QWebEngineView(parent)) {}
    ~WebEngineBrowser() override { delete view_; }
    QWidget *widget() override { return view_; }
    void navigate(const QString &localFile) override { view_->load(QUrl::fromLocalFile(localFile)); }

private:
    QWebEngineView *view_;
};

} // namespace

void SetBrowserFactory(BrowserFactory f) { factory() = std::move(f); }

std::unique_ptr<BrowserView> CreateBrowser(QWidget *parent) {
    return factory() ? factory()(parent) : CreateWebEngineBrowser(parent);
}

std::unique_ptr<BrowserView> CreateWebEngineBrowser(QWidget *parent) {
    return std::make_unique<WebEngineBrowser>(parent);
}

} // namespace xo
