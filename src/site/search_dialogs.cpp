#include "search_dialogs.h"

#include "dialogs/dialog_kit.h"
#include "dialogs/tag_dialogs.h"
#include "editor/shared_routines.h"
#include "platform/cp1250.h"
#include "platform/services.h"
#include "site_state.h"

#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStorageInfo>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace xo {

namespace {
QString withSlash(const QString &d) { return d.endsWith(u'/') ? d : d + u'/'; }
} // namespace

TdlgChooseDir::TdlgChooseDir(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Výběr adresáře"));
    resize(420, 420);
    cmbDrive = new QComboBox;
    cmbDrive->setObjectName(QStringLiteral("cmbDrive"));
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady()) cmbDrive->addItem(v.rootPath());
    Model = new QFileSystemModel(this);
    Model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    Model->setRootPath(QStringLiteral("/"));
    tvDirectories = new QTreeView;
    tvDirectories->setObjectName(QStringLiteral("tvDirectories"));
    tvDirectories->setModel(Model);
    for (int c = 1; c < Model->columnCount(); ++c) tvDirectories->hideColumn(c);
    tvDirectories->header()->hide();
    lbDirectory = new QLabel;
    lbDirectory->setObjectName(QStringLiteral("lbDirectory"));
    auto *drives = new QLabel(QStringLiteral("&Svazek:"));
    drives->setBuddy(cmbDrive);
    auto *box = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    top->addWidget(drives);
    top->addWidget(cmbDrive, 1);
    box->addLayout(top);
    box->addWidget(tvDirectories, 1);
    box->addWidget(lbDirectory);
    auto *row = new QHBoxLayout;
    row->addStretch();
    auto *ok = new QPushButton(QStringLiteral("O&k"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Zrušit"));
    row->addWidget(ok);
    row->addWidget(cancel);
    box->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmbDrive, &QComboBox::textActivated, this, [this](const QString &root) { Select(root); });
    connect(tvDirectories->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { lbDirectory->setText(Selected()); });
}

QString TdlgChooseDir::Selected() const {
    const QModelIndex i = tvDirectories->currentIndex();
    return i.isValid() ? withSlash(Model->filePath(i)) : QString();
}

void TdlgChooseDir::Select(const QString &dir) {
    const QModelIndex i = Model->index(QDir::cleanPath(dir));
    if (!i.isValid()) return;
    tvDirectories->setCurrentIndex(i);
    tvDirectories->scrollTo(i);
    lbDirectory->setText(Selected());
}

bool TdlgChooseDir::ChooseDirectory(QString &dir) {
    const QString start = !dir.isEmpty() ? dir : cp1250::decode(ChooseDirState.Directory);
    Select(start.isEmpty() ? QDir::homePath() : start);
    tvDirectories->setFocus();
    if (platform::services().runModal(*this) != QDialog::Accepted || Selected().isEmpty()) return false;
    dir = Selected();
    // Kept only when the stored form holds it exactly.
    const std::string stored = cp1250::encode(dir);
    if (cp1250::decode(stored) == dir) ChooseDirState.Directory = stored;
    return true;
}

TfrmSearchFiles::TfrmSearchFiles(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Hledání souborů"));
    resize(520, 380);
    Pages = new QTabWidget;
    pgParametry = new QWidget;
    pgParametry->setObjectName(QStringLiteral("pgParametry"));
    pgResult = new QWidget;
    pgResult->setObjectName(QStringLiteral("pgResult"));
    Pages->addTab(pgParametry, QStringLiteral("&Parametry hledání"));
    Pages->addTab(pgResult, QStringLiteral("Výs&ledek hledání"));

    edDirectory = new QLineEdit;
    edDirectory->setObjectName(QStringLiteral("edDirectory"));
    btChooseDir = new QToolButton;
    btChooseDir->setObjectName(QStringLiteral("btChooseDir"));
    btChooseDir->setText(QStringLiteral("..."));
    btChooseDir->setToolTip(QStringLiteral("Vyberte adresář"));
    cmbSpecifikace = new QComboBox;
    cmbSpecifikace->setObjectName(QStringLiteral("cmbSpecifikace"));
    cmbSpecifikace->setEditable(true);
    cmbSpecifikace->setInsertPolicy(QComboBox::NoInsert);
    cmbSpecifikace->addItems({QStringLiteral("*.htm*"), QStringLiteral("*.html"), QStringLiteral("*.htm"),
                              QStringLiteral("*.txt"), QStringLiteral("*.gif"), QStringLiteral("*.jpeg"),
                              QStringLiteral("*.jpg"), QStringLiteral("*.*")});
    edRetezec = new QLineEdit;
    edRetezec->setObjectName(QStringLiteral("edRetezec"));
    LimitTyping(edDirectory, 100);
    LimitTyping(cmbSpecifikace->lineEdit(), 20);
    LimitTyping(edRetezec, 50);
    btSearch = new QPushButton(QStringLiteral("&Hledat"));
    btSearch->setObjectName(QStringLiteral("btSearch"));
    btSearch->setDefault(true);
    auto *dirRow = new QHBoxLayout;
    dirRow->addWidget(edDirectory);
    dirRow->addWidget(btChooseDir);
    auto *form = new QFormLayout(pgParametry);
    form->addRow(kit::Label(QStringLiteral("&Výchozí adresář:"), edDirectory), dirRow);
    form->addRow(kit::Label(QStringLiteral("&Specifikace:"), cmbSpecifikace), cmbSpecifikace);
    form->addRow(kit::Label(QStringLiteral("Ř&etězec:"), edRetezec), edRetezec);
    form->addRow(QString(), btSearch);

    boxResults = new QListWidget;
    boxResults->setObjectName(QStringLiteral("boxResults"));
    boxResults->setSortingEnabled(true);
    btOpenFiles = new QPushButton(QStringLiteral("&Otevřít"));
    btOpenFiles->setObjectName(QStringLiteral("btOpenFiles"));
    auto *results = new QVBoxLayout(pgResult);
    results->addWidget(boxResults);
    results->addWidget(btOpenFiles, 0, Qt::AlignLeft);

    btCancel = new QPushButton(QStringLiteral("Návrat"));
    btCancel->setObjectName(QStringLiteral("btCancel"));
    auto *box = new QVBoxLayout(this);
    box->addWidget(Pages);
    auto *row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(btCancel);
    box->addLayout(row);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btSearch, &QPushButton::clicked, this, &TfrmSearchFiles::btSearchClick);
    connect(btOpenFiles, &QPushButton::clicked, this, &TfrmSearchFiles::btOpenFilesClick);
    connect(btChooseDir, &QToolButton::clicked, this, [this] {
        QString dir = edDirectory->text();
        if (ChooseDirectory && ChooseDirectory(dir)) edDirectory->setText(dir);
    });
}

void TfrmSearchFiles::Execute() {
    edDirectory->setText(cp1250::decode(SearchFilesState.Directory));
    cmbSpecifikace->setEditText(cp1250::decode(SearchFilesState.Mask));
    edRetezec->setText(cp1250::decode(SearchFilesState.Text));
    Pages->setCurrentWidget(pgParametry);
    edDirectory->setFocus();
    platform::services().runModal(*this);
}

bool TfrmSearchFiles::eventFilter(QObject *o, QEvent *e) {
    // While searching, a key in this dialog stops it and other input to it
    // waits its turn; other windows (a message about a file) are left alone.
    const auto *w = qobject_cast<QWidget *>(o);
    if (searching_ && w && w->window() == this) {
        if (e->type() == QEvent::KeyPress) {
            keyPressed_ = true;
            return true;
        }
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease ||
            e->type() == QEvent::MouseButtonDblClick || e->type() == QEvent::Wheel || e->type() == QEvent::Close)
            return true;
    }
    return QDialog::eventFilter(o, e);
}

void TfrmSearchFiles::KeepFields() {
    // A value the configuration's code page cannot hold is not stored wrongly.
    SearchFilesState.Directory = cp1250::encodeLossless(edDirectory->text());
    SearchFilesState.Mask = cp1250::encodeLossless(cmbSpecifikace->currentText());
    SearchFilesState.Text = cp1250::encodeLossless(edRetezec->text());
}

void TfrmSearchFiles::btSearchClick() {
    KeepFields();
    EnterWait();
    boxResults->clear();
    Pages->setCurrentWidget(pgResult);
    searching_ = true;
    keyPressed_ = false;
    qApp->installEventFilter(this);
    FileSearchHooks hooks;
    hooks.status = [this](const QString &t) {
        if (ShowStatusText) ShowStatusText(t);
    };
    hooks.found = [this](const QString &path) {
        auto *item = new QListWidgetItem(path, boxResults);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    };
    hooks.keyPressed = [this] {
        QCoreApplication::processEvents();
        return keyPressed_;
    };
    hooks.unreadable = [this](const QString &path) {
        // The message gets every key and click: they do not stop the search.
        searching_ = false;
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Chyba při práci se souborem ") + path,
                          platform::Icon::Exclamation);
        searching_ = true;
    };
    int found = 0;
    const FileSearchOutcome outcome =
        SearchFiles(edDirectory->text(), cmbSpecifikace->currentText(), cp1250::encode(edRetezec->text()), hooks, found);
    qApp->removeEventFilter(this);
    searching_ = false;
    LeaveWait();
    bool exclamation = false;
    const QString text = FileSearchMessage(outcome, exclamation);
    platform::message(QStringLiteral("Xo!"), text, exclamation ? platform::Icon::Exclamation : platform::Icon::Information);
    // The keyboard goes to the results: Space ticks, Alt+O opens.
    if (boxResults->count()) boxResults->setCurrentRow(0);
    boxResults->setFocus();
}

void TfrmSearchFiles::btOpenFilesClick() {
    for (int i = 0; i < boxResults->count(); ++i) {
        QListWidgetItem *item = boxResults->item(i);
        if (item->checkState() != Qt::Checked) continue;
        if (OpenDocument) OpenDocument(item->text());
        item->setCheckState(Qt::Unchecked);
    }
}

void TfrmSearchFiles::done(int r) {
    if (searching_) return; // a search in progress ends first
    KeepFields(); // what was typed stays, searched for or not
    boxResults->clear();
    QDialog::done(r);
}

} // namespace xo
