#pragma once
// "Hledání souborů" and "Výběr adresáře".

#include "file_search.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeView;

namespace xo {

// The directory dialog: mounted volumes, a directory tree, the chosen path.
class TdlgChooseDir : public QDialog {
    Q_OBJECT
public:
    explicit TdlgChooseDir(QWidget *parent = nullptr);
    QComboBox *cmbDrive;
    QTreeView *tvDirectories;
    QLabel *lbDirectory;
    QFileSystemModel *Model;
    // Starts at `dir` (or the directory last chosen); true on OK with `dir`
    // the chosen directory ending with "/".
    bool ChooseDirectory(QString &dir);
    QString Selected() const;
    void Select(const QString &dir);
};

class TfrmSearchFiles : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSearchFiles(QWidget *parent = nullptr);
    QTabWidget *Pages;
    QWidget *pgParametry, *pgResult;
    QLineEdit *edDirectory, *edRetezec;
    QToolButton *btChooseDir;
    QComboBox *cmbSpecifikace;
    QPushButton *btSearch, *btOpenFiles, *btCancel;
    QListWidget *boxResults;
    // What the dialog needs from the program around it.
    std::function<bool(QString &dir)> ChooseDirectory;
    std::function<void(const QString &file)> OpenDocument;
    std::function<void(const QString &text)> ShowStatusText;

    void Execute();
    void btSearchClick();
    void btOpenFilesClick();
    void done(int r) override;

protected:
    bool eventFilter(QObject *o, QEvent *e) override;

private:
    void KeepFields();
    bool searching_ = false, keyPressed_ = false;
};

} // namespace xo
