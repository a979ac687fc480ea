#include "settings/settings.h"
#include "settings/special_file_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xo;

TEST(SpecialFileDialog, AddsTheShownDirectoryOnceAndSwitchesToChosenOnes) {
    QTemporaryDir tmp;
    QDir(tmp.path()).mkpath("web");
    QDir(tmp.path()).mkpath("other");
    const QString web = tmp.filePath("web") + "/";
    PredefinedDirs = {tmp.filePath("other") + "/"};
    SpecialOpenSave = true;
    QFileDialog dlg(nullptr, "x", tmp.filePath("web"));
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    TSpecialDialogStrip *strip = TSpecialDialogStrip::Attach(dlg);
    EXPECT_EQ(strip->ListCombo->count(), 1);
    EXPECT_EQ(strip->ListCombo->currentIndex(), -1);
    EXPECT_FALSE(strip->AddButton->isEnabled()); // no file name typed yet
    dlg.findChild<QLineEdit *>("fileNameEdit")->setText("page.htm");
    EXPECT_TRUE(strip->AddButton->isEnabled());
    strip->AddButton->click();
    EXPECT_EQ(PredefinedDirs, QStringList({tmp.filePath("other") + "/", web}));
    EXPECT_EQ(strip->ListCombo->currentText(), web);
    EXPECT_FALSE(strip->AddButton->isEnabled());
    strip->EntryChosen(tmp.filePath("other") + "/");
    EXPECT_EQ(dlg.directory().absolutePath(), tmp.filePath("other"));
    EXPECT_TRUE(strip->AddButton->isEnabled() == false); // listed already
    dlg.setDirectory(tmp.filePath("web"));
    strip->FolderChanged();
    EXPECT_EQ(strip->ListCombo->currentText(), web); // shown again: selected, not addable
    EXPECT_FALSE(strip->AddButton->isEnabled());
    // An entry stored without its final "/" is shown as given and still matches its directory.
    PredefinedDirs = {tmp.filePath("web")};
    QFileDialog plain(nullptr, "x", tmp.filePath("web"));
    plain.setOption(QFileDialog::DontUseNativeDialog);
    TSpecialDialogStrip *bare = TSpecialDialogStrip::Attach(plain);
    plain.findChild<QLineEdit *>("fileNameEdit")->setText("page.htm");
    EXPECT_EQ(bare->ListCombo->currentText(), tmp.filePath("web"));
    EXPECT_FALSE(bare->AddButton->isEnabled());
    SpecialOpenSave = false;
    dlg.setDirectory(tmp.path());
    strip->FolderChanged();
    EXPECT_FALSE(strip->AddButton->isEnabled());
}
