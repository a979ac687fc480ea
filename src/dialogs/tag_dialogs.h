#pragma once
// The tag dialogs. Each is created once and reused; its Execute fills the
// fields (keeping or resetting the others as the dialog's rules say), runs
// it modally through the platform and reads the values back on OK.

#include "dialog_services.h"

#include <QDialog>
#include <QTimer>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace xo {

class TColorButton;
class TImageButton;

// Typing may not make the field longer than `limit`; text the program sets
// is never cut.
void LimitTyping(QLineEdit *field, int limit);
// The help topic F1 opens while the widget (or a child) has the focus.
void SetHelpContext(QWidget *w, int context);

// What every tag dialog shares: OK as the default button, Cancel, F1.
class TTagDialog : public QDialog {
    Q_OBJECT
public:
    TTagDialog(QWidget *parent, const QString &caption, int helpContext);
    QPushButton *btOk = nullptr, *btCancel = nullptr;
    // Runs the dialog modally through the platform; true on OK.
    bool Run();
    void done(int r) override;
    int HelpContextOf(QWidget *w) const;

protected:
    // The OK and Cancel row (with room for more buttons before them).
    QHBoxLayout *ButtonRow(const QString &ok = QStringLiteral("O&k"), const QString &okHint = QStringLiteral("Provést"),
                           const QString &cancel = QStringLiteral("Zrušit"));
    // OK's checks; false keeps the dialog open.
    virtual bool CanClose() { return true; }
    int helpContext_;
};

class TfrmAlign : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmAlign(QWidget *parent = nullptr);
    QButtonGroup *rgAlign;
    std::string Execute(int preselect);
};

class TfrmTagHR : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagHR(QWidget *parent = nullptr);
    QLineEdit *edWidth, *edSize;
    QCheckBox *chkProcenta, *chkNoShadow;
    QLabel *stProcenta;
    QButtonGroup *rg1;
    bool Execute(RuleValues &v, bool prefill);

protected:
    bool CanClose() override;
    bool eventFilter(QObject *o, QEvent *e) override;
};

class TfrmTagFont : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagFont(QWidget *parent = nullptr);
    QButtonGroup *grpSize;
    QCheckBox *chkNoSize, *chkBold, *chkItalic, *chkUnderline, *chkBlink, *chkBarva;
    TColorButton *btColor;
    QLineEdit *edFontName;
    QTimer tmrBlink;
    bool Execute(FontValues &v, bool prefill);
    // The click on the name field: empty it, or choose a font.
    void edFontNameClick();
    void UpdateOk();

protected:
    bool eventFilter(QObject *o, QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void done(int r) override;
};

// The five colours and the image of a page body.
struct BodyColorButtons {
    TColorButton *btBgColor, *btText, *btLink, *btVisited, *btPressed;
    void Set(const BodyColors &c);
    BodyColors Get() const;
};

class TfrmTagBody : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagBody(QWidget *parent = nullptr);
    QLineEdit *edTitle, *edBaseFont;
    BodyColorButtons colors;
    TImageButton *btImage;
    bool Execute(const QString &documentFile, BodyValues &v, bool prefill);
};

class TfrmTagBodyOprava : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagBodyOprava(QWidget *parent = nullptr);
    QLineEdit *edOnLoad;
    BodyColorButtons colors;
    TImageButton *btImage;
    bool Execute(const QString &documentFile, BodyFixValues &v, bool prefill);
};

class TfrmTagImg : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagImg(QWidget *parent = nullptr);
    TImageButton *btName;
    QLineEdit *edWidth, *edHeight, *edBorder, *edVSpace, *edHSpace;
    QButtonGroup *grpAlign;
    QPushButton *btShell, *btZefo;
    bool Execute(ImageValues &v, const QString &documentFile, bool prefill);
    void btShellClick();
    void btZefoClick();

protected:
    bool CanClose() override;

private:
    void imageChanged();
};

class TfrmAhref : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmAhref(QWidget *parent = nullptr);
    QComboBox *cmbURL;
    QPushButton *btChooseFile;
    QLineEdit *edTarget;
    bool Execute(LinkValues &v, bool prefill);
};

// Lets the user pick a file and gives it relative to the active document.
// Mode 2 offers pages and pictures first, mode 1 media files.
void ChooseRelativeFile(QString &path, int mode);

class TfrmTagUL : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagUL(QWidget *parent = nullptr);
    QButtonGroup *grpPrefix;
    bool Execute(int &kind, bool prefill);
};

class TfrmTagOL : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagOL(QWidget *parent = nullptr);
    QButtonGroup *grpCounting;
    QLineEdit *edCountFrom;
    bool Execute(int &kind, int &start, bool prefill);

protected:
    bool CanClose() override;
};

class TfrmTagMarquee : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagMarquee(QWidget *parent = nullptr);
    QComboBox *cmbTyp, *cmbSmer, *cmbPocet, *cmbAlign;
    QLineEdit *edWidth, *edHeight, *edStep, *edInterval, *edHSpace, *edVSpace;
    QCheckBox *chkBarva;
    TColorButton *btColor;
    bool Execute(MarqueeValues &v, bool prefill);

protected:
    bool CanClose() override;
};

class TfrmTagBgsound : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagBgsound(QWidget *parent = nullptr);
    QLineEdit *edFile;
    QPushButton *btChoose;
    QComboBox *cmbLoop;
    bool Execute(BgSoundValues &v, bool prefill);

protected:
    bool CanClose() override;
};

class TfrmTagEmbed : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagEmbed(QWidget *parent = nullptr);
    QLineEdit *edFile, *edWidth, *edHeight;
    QPushButton *btChoose;
    QComboBox *cmbAlign, *cmbLoop, *cmbAutoStart;
    bool Execute(EmbedValues &v, bool prefill);

protected:
    bool CanClose() override;
};

class TfrmTagApplet : public TTagDialog {
    Q_OBJECT
public:
    explicit TfrmTagApplet(QWidget *parent = nullptr);
    QLineEdit *edFile, *edBaseUrl, *edWidth, *edHeight, *edName;
    QPushButton *btChoose;
    QComboBox *cmbAlign;
    bool Execute(AppletValues &v, bool prefill);

protected:
    bool CanClose() override;
};

// The dialogs above behind the program's dialogs interface; `find` gives
// the program's one instance of a dialog by its class name.
class TQtTagDialogs : public TTagDialogs {
public:
    explicit TQtTagDialogs(std::function<QDialog *(const QString &)> find) : find_(std::move(find)) {}
    std::string ExecuteAlignDialog(int preselect) override;
    bool ExecuteRuleDialog(RuleValues &v, bool prefill) override;
    bool ExecuteFontDialog(FontValues &v, bool prefill) override;
    bool ExecuteBodyDialog(const QString &documentFile, BodyValues &v, bool prefill) override;
    bool ExecuteBodyFixDialog(const QString &documentFile, BodyFixValues &v, bool prefill) override;
    bool ExecuteImageDialog(ImageValues &v, const QString &documentFile, bool prefill) override;
    bool ExecuteLinkDialog(LinkValues &v, bool prefill) override;
    bool ExecuteULDialog(int &kind, bool prefill) override;
    bool ExecuteOLDialog(int &kind, int &start, bool prefill) override;
    bool ExecuteMarqueeDialog(MarqueeValues &v, bool prefill) override;
    bool ExecuteBgSoundDialog(BgSoundValues &v, bool prefill) override;
    bool ExecuteEmbedDialog(EmbedValues &v, bool prefill) override;
    bool ExecuteAppletDialog(AppletValues &v, bool prefill) override;
    bool ExecuteTableDialog(TableValues &v, bool prefill, bool fullForm) override;
    bool ExecuteRowDialog(CellData &d) override;
    bool ExecuteCellDialog(CellData &d) override;
    bool ExecuteTableEditor(bool importDbf, std::string &result) override;
    bool ExecuteFrameSetWizard(std::string &text) override;
    bool ExecuteFrameParams(FrameParams &p) override;

private:
    template <class T> T *dialog(const char *name) const { return qobject_cast<T *>(find_(QString::fromLatin1(name))); }
    // False when the frame has no such dialog.
    template <class T, class... A> bool run(const char *name, A &...args) {
        T *d = dialog<T>(name);
        return d && d->Execute(args...);
    }
    std::function<QDialog *(const QString &)> find_;
};

} // namespace xo
