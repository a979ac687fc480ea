#include "special_file_dialog.h"

#include "settings.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace xo {

namespace {
// Directories are kept ending with "/" so they compare as whole paths.
QString withSlash(const QString &d) { return d.endsWith(u'/') ? d : d + u'/'; }

// The entry that names the directory, with or without its final "/"; -1 for none.
int entryOf(const QComboBox &list, const QString &dir) {
    for (int i = 0; i < list.count(); ++i)
        if (withSlash(QDir::cleanPath(list.itemText(i))) == dir) return i;
    return -1;
}
} // namespace

TSpecialDialogStrip::TSpecialDialogStrip(QFileDialog &dialog) : QWidget(&dialog), dialog_(dialog) {
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    DivisionLine = new QFrame;
    DivisionLine->setObjectName(QStringLiteral("DivisionLine"));
    DivisionLine->setFrameStyle(QFrame::HLine | QFrame::Raised);
    DivisionLine->setFixedHeight(2);
    outer->addWidget(DivisionLine);
    MujPanel = new QWidget;
    MujPanel->setObjectName(QStringLiteral("MujPanel"));
    auto *row = new QHBoxLayout(MujPanel);
    row->setContentsMargins(6, 6, 6, 6);
    ListCombo = new QComboBox;
    ListCombo->setObjectName(QStringLiteral("ListCombo"));
    ListCombo->setToolTip(QStringLiteral("Seznam adresářů"));
    ListCombo->setMinimumWidth(300);
    AddButton = new QPushButton(QStringLiteral("Přidat"));
    AddButton->setObjectName(QStringLiteral("AddButton"));
    AddButton->setToolTip(QStringLiteral("Přidat adresář"));
    AddButton->setFixedSize(75, 22);
    row->addWidget(ListCombo, 1);
    row->addSpacing(13);
    row->addWidget(AddButton);
    outer->addWidget(MujPanel);

    QStringList dirs = PredefinedDirs;
    dirs.sort();
    ListCombo->addItems(dirs);
    ListCombo->setCurrentIndex(-1);
    connect(AddButton, &QPushButton::clicked, this, &TSpecialDialogStrip::AddClicked);
    connect(ListCombo, &QComboBox::textActivated, this, &TSpecialDialogStrip::EntryChosen);
    connect(&dialog, &QFileDialog::directoryEntered, this, &TSpecialDialogStrip::FolderChanged);
    connect(&dialog, &QFileDialog::currentChanged, this, &TSpecialDialogStrip::FolderChanged);
    if (auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
        connect(name, &QLineEdit::textChanged, this, &TSpecialDialogStrip::FolderChanged);
}

TSpecialDialogStrip *TSpecialDialogStrip::Attach(QFileDialog &dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    auto *strip = new TSpecialDialogStrip(dialog);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(strip, grid->rowCount(), 0, 1, grid->columnCount());
    strip->FolderChanged();
    return strip;
}

QString TSpecialDialogStrip::CurrentDirectory() const { return withSlash(dialog_.directory().absolutePath()); }

void TSpecialDialogStrip::FolderChanged() {
    const int at = entryOf(*ListCombo, CurrentDirectory());
    ListCombo->setCurrentIndex(at);
    const auto *name = dialog_.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    const bool hasName = name && !name->text().isEmpty();
    AddButton->setEnabled(hasName && at < 0 && SpecialOpenSave);
}

void TSpecialDialogStrip::AddClicked() {
    const QString dir = CurrentDirectory();
    if (entryOf(*ListCombo, dir) >= 0) return;
    PredefinedDirs << dir;
    // Kept sorted, as the list shows it.
    int at = 0;
    while (at < ListCombo->count() && ListCombo->itemText(at) < dir) ++at;
    ListCombo->insertItem(at, dir);
    ListCombo->setCurrentIndex(at);
    AddButton->setEnabled(false);
}

void TSpecialDialogStrip::EntryChosen(const QString &directory) {
    if (directory.isEmpty()) return;
    dialog_.setDirectory(directory);
    FolderChanged();
}

} // namespace xo
