#include "new_document.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace xo {

TfrmNewDocument::TfrmNewDocument(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmNewDocument"));
    setWindowTitle(QStringLiteral("Nový dokument"));
    auto *box = new QVBoxLayout(this);
    grpMain = new QGroupBox;
    grpMain->setObjectName(QStringLiteral("grpMain"));
    auto *items = new QVBoxLayout(grpMain);
    choices = new QButtonGroup(this);
    // Access keys, as everywhere on a Linux desktop; the texts stay as they are.
    const QString captions[] = {QStringLiteral("&Použít šablonu"), QStringLiteral("Vytvoři &základní strukturu"),
                                QStringLiteral("Vytvořit odkaz na &rámce"), QStringLiteral("Prázdný &dokument")};
    for (int i = 0; i < 4; ++i) {
        auto *r = new QRadioButton(captions[i]);
        choices->addButton(r, i);
        items->addWidget(r);
    }
    SetItemIndex(BasicStructure);
    box->addWidget(grpMain);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    btOk = new QPushButton(QStringLiteral("O&k"));
    btOk->setObjectName(QStringLiteral("btOk"));
    btOk->setDefault(true);
    btCancel = new QPushButton(QStringLiteral("Zrušit"));
    btCancel->setObjectName(QStringLiteral("btCancel"));
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    box->addLayout(buttons);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TfrmNewDocument::ItemIndex() const { return choices->checkedId(); }
void TfrmNewDocument::SetItemIndex(int i) { choices->button(i)->setChecked(true); }

} // namespace xo
