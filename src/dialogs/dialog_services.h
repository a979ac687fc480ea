#pragma once
// The tag dialogs as the rest of the program sees them: one interface with
// an execute operation per dialog, so commands and tests need no widgets,
// and the host the dialogs ask for the active document, the save-as
// command, help and the sibling program's advertisement.

#include "frame_tree.h"
#include "dialogs/cell_data.h"
#include "tag_builders.h"

#include <QString>

class QWidget;

namespace xo {

class TTagDialogs {
public:
    virtual ~TTagDialogs() = default;
    // Each returns true on OK and leaves its result in its program-wide string.
    virtual std::string ExecuteAlignDialog(int preselect) = 0; // "" on Cancel
    virtual bool ExecuteRuleDialog(RuleValues &v, bool prefill) = 0;
    virtual bool ExecuteFontDialog(FontValues &v, bool prefill) = 0;
    virtual bool ExecuteBodyDialog(const QString &documentFile, BodyValues &v, bool prefill) = 0;
    virtual bool ExecuteBodyFixDialog(const QString &documentFile, BodyFixValues &v, bool prefill) = 0;
    virtual bool ExecuteImageDialog(ImageValues &v, const QString &documentFile, bool prefill) = 0;
    virtual bool ExecuteLinkDialog(LinkValues &v, bool prefill) = 0;
    virtual bool ExecuteULDialog(int &kind, bool prefill) = 0;
    virtual bool ExecuteOLDialog(int &kind, int &start, bool prefill) = 0;
    virtual bool ExecuteMarqueeDialog(MarqueeValues &v, bool prefill) = 0;
    virtual bool ExecuteBgSoundDialog(BgSoundValues &v, bool prefill) = 0;
    virtual bool ExecuteEmbedDialog(EmbedValues &v, bool prefill) = 0;
    virtual bool ExecuteAppletDialog(AppletValues &v, bool prefill) = 0;
    // The table dialog (short form, or full with the generation choices) sets TableTag.
    virtual bool ExecuteTableDialog(TableValues &v, bool prefill, bool fullForm) = 0;
    // The row and cell dialogs edit the options in place.
    virtual bool ExecuteRowDialog(CellData &d) = 0;
    virtual bool ExecuteCellDialog(CellData &d) = 0;
    // The interactive table editor (importDbf: it starts with the DBF import);
    // true when closed with OK, the generated table in `result` (empty when not generated).
    virtual bool ExecuteTableEditor(bool importDbf, std::string &result) = 0;
    // The frameset wizard: true on OK with the tags in `text` (and in FramesetText).
    virtual bool ExecuteFrameSetWizard(std::string &text) = 0;
    virtual bool ExecuteFrameParams(FrameParams &p) = 0;
};

// How the real dialogs interface reaches the table dialogs, which live with the tables.
class TTableDialogExecute {
public:
    virtual ~TTableDialogExecute() = default;
    virtual bool ExecuteTable(TableValues &v, bool prefill, bool fullForm) = 0;
};
class TInteractiveTableExecute {
public:
    virtual ~TInteractiveTableExecute() = default;
    virtual bool ExecuteTableEditor(bool importDbf, std::string &result) = 0;
};
class TCellDialogExecute {
public:
    virtual ~TCellDialogExecute() = default;
    virtual bool ExecuteCell(CellData &d) = 0;
};

// The installed dialogs; until some are installed every dialog is cancelled.
TTagDialogs &TagDialogs();
// Installs d (not owned); returns the previous one. nullptr: none.
TTagDialogs *SetTagDialogs(TTagDialogs *d);

class TDialogHost {
public:
    virtual ~TDialogHost() = default;
    virtual bool HasDocument() = 0;
    // The active document's file; empty while it has no name.
    virtual QString DocumentFileName() = 0;
    // The main window's save-as command on the active document.
    virtual void SaveDocumentAs() = 0;
    virtual void ShowHelp(int context) = 0;
    // The advertisement for the sibling image program.
    virtual void ShowZefoAdvert() = 0;
    // A UTF-8 document takes every character (what code page 1250 lacks as "&#N;").
    virtual bool DocumentIsUtf8() { return false; }
};

// The installed host; nullptr while none is.
TDialogHost *DialogHost();
void SetDialogHost(TDialogHost *host);

} // namespace xo
