#include "choose_browser.h"

#include "browser_choice_state.h"
#include "platform/services.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace xo {

TfrmChooseBrowser::TfrmChooseBrowser(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Vyberte prohlížeč"));
    auto *group = new QGroupBox(QStringLiteral(" &Prohlížeč "));
    group->setObjectName(QStringLiteral("grpBrowser"));
    auto *items = new QVBoxLayout(group);
    grpBrowser = new QButtonGroup(this);
    const char *const names[] = {"&Netscape Navigator", "&Internet Explorer"};
    for (int i = 0; i < 2; ++i) {
        auto *r = new QRadioButton(QString::fromLatin1(names[i]));
        items->addWidget(r);
        grpBrowser->addButton(r, i);
    }
    auto *row = new QHBoxLayout;
    row->addStretch();
    auto *ok = new QPushButton(QStringLiteral("O&k"));
    ok->setObjectName(QStringLiteral("btOk"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("&Zrušit"));
    cancel->setObjectName(QStringLiteral("btCancel"));
    row->addWidget(ok);
    row->addWidget(cancel);
    auto *box = new QVBoxLayout(this);
    box->addWidget(group);
    box->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TfrmChooseBrowser::Execute(int &choice) {
    grpBrowser->button(ChooseBrowserState.Index == 1 ? 1 : 0)->setChecked(true);
    grpBrowser->checkedButton()->setFocus();
    if (platform::services().runModal(*this) != QDialog::Accepted) return false;
    choice = ChooseBrowserState.Index = grpBrowser->checkedId();
    return true;
}

} // namespace xo
