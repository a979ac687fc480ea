#pragma once
// The find, replace and go-to-line dialogs, with their histories and their
// sections of the configuration file.

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace xo {

class TCompressFile;
class EditorCore;

// Adds text at the top of a history; with `move`, an equal entry moves there.
void AddToHistory(QComboBox *box, const QString &text, bool move);

// The dialogs' sections of the configuration file.
struct FindSection {
    QStringList history;
    bool caseSensitive = false;
    bool Read(TCompressFile &f); // false (and nothing read) when the tag is not ours
    void Write(TCompressFile &f) const;
};

struct ReplaceSection {
    QStringList findHistory, replaceHistory;
    bool caseSensitive = false, replaceAll = false, promptOnReplace = false;
    bool Read(TCompressFile &f);
    void Write(TCompressFile &f) const;
};

class TdlgFind : public QDialog {
    Q_OBJECT
public:
    explicit TdlgFind(QWidget *parent = nullptr);
    QComboBox *cmbText;
    QCheckBox *chkCaseSensitive;
    QPushButton *btOk, *btCancel;
    QString FindText;
    bool CaseSensitive = false;
    void done(int r) override;
    void Apply(const FindSection &s);
    FindSection Collect() const;
};

class TdlgReplace : public QDialog {
    Q_OBJECT
public:
    explicit TdlgReplace(QWidget *parent = nullptr);
    QComboBox *cmbFindText, *cmbReplaceText;
    QCheckBox *chkCaseSensitive, *chkReplaceAll, *chkPromptOnReplace;
    QPushButton *btOk, *btCancel;
    void done(int r) override;
    void Apply(const ReplaceSection &s);
    ReplaceSection Collect() const;
};

class TfrmGotoLine : public QDialog {
    Q_OBJECT
public:
    explicit TfrmGotoLine(QWidget *parent = nullptr);
    QLineEdit *edLine;
    QPushButton *btOk, *btCancel;
    void done(int r) override;
    // Moves the editor's caret to the start of the chosen line.
    void Apply(EditorCore &editor) const;
};

} // namespace xo
