// Loading and saving of TEditor documents, with the date and time stamps.
#include "document_file.h"
#include "editor_core.h"
#include "shared_routines.h"

#include "platform/services.h"
#include "settings/settings.h"

#include <QFile>
#include <algorithm>
#include <sys/stat.h>

namespace xo {

namespace {

const QString kCaption = QStringLiteral("Xo!");
constexpr std::string_view kDateMarker = "<!--*DefDat*-->";
constexpr std::string_view kTimeMarker = "<!--*DefCas*-->";

bool isDateChar(char c) { return c == '.' || (c >= '0' && c <= '9'); }
bool isTimeChar(char c) { return c == ':' || (c >= '0' && c <= '9'); }

} // namespace

bool EditorCore::LoadFromFile(const QString &fileName) {
    undo_.clear();
    DocumentBytes doc;
    const ReadStatus status = ReadDocumentFile(fileName, doc);
    if (status == ReadStatus::TooLarge) {
        platform::message(kCaption,
                          QStringLiteral("Soubor ") + fileName +
                              QStringLiteral(" je příliš velký. Editor pojme nejvýše 1 GB textu."),
                          platform::Icon::Exclamation);
        return false;
    }
    if (status != ReadStatus::Ok) {
        platform::message(kCaption, QStringLiteral("Soubor nenalezen nebo odepřen přístup"),
                          platform::Icon::Exclamation);
        return false;
    }
    EnterWait();
    editorHost().ShowStatusText(QStringLiteral("Otevírám ") + fileName + QStringLiteral("..."));
    PaintEnabled = false;
    buffer_.adopt(std::move(doc.data), doc.size, doc.capacity, std::move(doc.lineStarts));
    DosLineEnds = doc.dosLineEnds;
    Utf8 = doc.utf8;
    Utf8Bom = doc.bom;
    PaintEnabled = true;
    selStart_ = selEnd_ = 1;
    caretAtStart_ = false;
    undo_.clear();
    ClearModified();
    FileName = fileName;
    RememberDisk();
    if (OnCaptionChange) OnCaptionChange();
    editorHost().ClearStatusText();
    Repaint();
    LeaveWait();
    if (doc.references > 0) {
        // Nothing is converted silently, and the document now differs from its file.
        platform::message(kCaption,
                          QStringLiteral("Soubor %1 je v kódování UTF-8. Znaky, které kódování CP1250 nemá (%2), byly "
                                         "převedeny na číselné odkazy HTML (&#N;).")
                              .arg(fileName)
                              .arg(doc.references),
                          platform::Icon::Information);
        SetModified();
    }
    return true;
}

void EditorCore::ReplaceRanges(const std::vector<TextEdit> &edits) {
    if (edits.empty()) return;
    int s = selStart_, e = selEnd_;
    const bool recording = UndoEnabled;
    UndoEnabled = false;
    UndoRecord step;
    step.kind = UndoRecord::Stamps;
    step.a = s;
    step.b = e;
    step.caretAtStart = caretAtStart_;
    int delta = 0; // what the earlier edits moved the later ones by
    for (const TextEdit &edit : edits) {
        const int from = edit.start + delta, to = edit.end + delta;
        UndoRecord part;
        part.a = from;
        part.b = from + int(edit.text.size());
        part.text = buffer_.copy(from - 1, to - from);
        step.parts.push_back(std::move(part));
        if (to > from) DeleteRange(from, to);
        selStart_ = selEnd_ = from;
        ReplaceSelection(edit.text);
        const int d = int(edit.text.size()) - (to - from);
        if (to <= s) s += d;
        if (to <= e) e += d;
        delta += d;
    }
    UndoEnabled = recording;
    if (UndoEnabled) undo_.push(std::move(step));
    PaintEnabled = true;
    selStart_ = s;
    selEnd_ = e;
    SetModified();
    Repaint();
}

void EditorCore::RefreshStamps() {
    // The refresh is one undo step of its own, pushed only when a value
    // really changes: the user's last change stays apart from it, and undoing
    // it puts every old value and the selection back at once.
    std::vector<TextEdit> edits;
    const auto collect = [&](std::string_view marker, bool (*valueChar)(char), const std::string &value) {
        for (int found = buffer_.find(marker, 0); found >= 0;) {
            const int q = found + int(marker.size()) + 1; // position right after the marker
            int k = 0;
            while (q + k <= TextLength() && valueChar(CharAt(q + k))) ++k;
            if (buffer_.copy(q - 1, k) != value) edits.push_back({q, q + k, value}); // else already current
            found = buffer_.find(marker, q - 1 + k);
        }
    };
    collect(kDateMarker, isDateChar, DateText().toStdString());
    collect(kTimeMarker, isTimeChar, TimeText().toStdString());
    std::sort(edits.begin(), edits.end(), [](const TextEdit &a, const TextEdit &b) { return a.start < b.start; });
    ReplaceRanges(edits);
}

bool EditorCore::SaveToFile() {
    if (FileName.isEmpty()) return false;
    if (!ResolveChangedFile(true)) return false;
    EnterWait();
    HideCaret();
    PaintEnabled = false;
    RefreshStamps();
    ShowCaret();
    editorHost().ShowStatusText(QStringLiteral("Ukládám ") + FileName + QStringLiteral("..."));
    const bool ok = WriteDocumentFile(FileName, buffer_.firstPart(), buffer_.secondPart(), DosLineEnds,
                                      Settings.BAKs, Utf8, Utf8Bom);
    if (!ok) {
        editorHost().ClearStatusText();
        LeaveWait();
        platform::message(kCaption, QStringLiteral("Chyba při ukládání souboru"), platform::Icon::Exclamation);
        return false;
    }
    if (OnCaptionChange) OnCaptionChange();
    ClearModified();
    RememberDisk();
    editorHost().ClearStatusText();
    LeaveWait();
    return true;
}

void EditorCore::RecoverDocument(DocumentBytes doc, const QString &fileName, const DiskStamp &disk) {
    undo_.clear();
    buffer_.adopt(std::move(doc.data), doc.size, doc.capacity, std::move(doc.lineStarts));
    DosLineEnds = doc.dosLineEnds;
    Utf8 = doc.utf8;
    Utf8Bom = doc.bom;
    selStart_ = selEnd_ = 1;
    caretAtStart_ = false;
    FileName = fileName;
    // The file as it was when the text was kept: a file changed since is asked about at the save.
    disk_ = disk;
    diskPath_ = fileName;
    answered_ = {};
    missingReported_ = false;
    SetModified();
    if (OnCaptionChange) OnCaptionChange();
    Repaint();
}

EditorCore::DiskStamp EditorCore::StampOf(const QString &fileName) {
    struct stat st {};
    DiskStamp d;
    if (fileName.isEmpty() || ::stat(QFile::encodeName(fileName).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return d;
    d.known = true;
    d.device = qint64(st.st_dev);
    d.inode = qint64(st.st_ino);
    d.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    d.size = qint64(st.st_size);
    return d;
}

void EditorCore::RememberDisk() {
    disk_ = StampOf(FileName);
    diskPath_ = FileName;
    answered_ = {};
    missingReported_ = false;
}

EditorCore::DiskState EditorCore::FileOnDisk() const {
    // Under another name (a save as), the file is a new target, not a changed one.
    if (FileName.isEmpty() || diskPath_ != FileName || !disk_.known) return DiskState::Same;
    const DiskStamp now = StampOf(FileName);
    if (!now.known) return DiskState::Missing;
    return now == disk_ ? DiskState::Same : DiskState::Changed;
}

bool EditorCore::ResolveChangedFile(bool saving) {
    const DiskState state = FileOnDisk();
    if (state == DiskState::Same) return true;
    if (state == DiskState::Missing) {
        // The document is now all there is of it: it must be saved to exist again.
        if (!saving && !missingReported_) {
            missingReported_ = true;
            SetModified();
            platform::message(kCaption,
                              QStringLiteral("Soubor %1 byl smazán nebo přejmenován jiným programem. Dokument zůstává "
                                             "otevřený; uložením se soubor vytvoří znovu.")
                                  .arg(FileName),
                              platform::Icon::Exclamation);
        }
        return true;
    }
    const DiskStamp now = StampOf(FileName);
    if (!saving && now == answered_) return true; // this change was asked about already
    answered_ = now;
    if (!saving && !Modified()) {
        if (platform::message(kCaption,
                              QStringLiteral("Soubor %1 byl změněn jiným programem. Načíst znovu?").arg(FileName),
                              platform::Icon::Question, platform::Buttons::YesNo) == platform::Answer::Yes)
            ReloadFromFile();
        return true;
    }
    const platform::Answer a = platform::message(
        kCaption,
        QStringLiteral("Soubor %1 byl změněn jiným programem%2.\n\nAno: přepsat soubor dokumentem z editoru\nNe: načíst "
                       "soubor znovu (změny v dokumentu se ztratí)\nStorno: %3")
            .arg(FileName, Modified() ? QStringLiteral(" a dokument obsahuje neuložené změny") : QString(),
                 saving ? QStringLiteral("neukládat") : QStringLiteral("zatím nic neměnit")),
        platform::Icon::Question, platform::Buttons::YesNoCancel);
    if (a == platform::Answer::Yes) {
        if (saving) return true;
        disk_ = now; // the user's yes: the save may write over it
        return SaveToFile();
    }
    if (a == platform::Answer::No &&
        (!Modified() || platform::message(kCaption,
                                          QStringLiteral("Neuložené změny dokumentu %1 se ztratí. Opravdu načíst soubor "
                                                         "znovu?")
                                              .arg(FileName),
                                          platform::Icon::Question,
                                          platform::Buttons::YesNo) == platform::Answer::Yes))
        ReloadFromFile();
    return false;
}

bool EditorCore::ReloadFromFile() {
    DocumentBytes doc;
    if (ReadDocumentFile(FileName, doc) != ReadStatus::Ok) {
        platform::message(kCaption, QStringLiteral("Soubor nenalezen nebo odepřen přístup"), platform::Icon::Exclamation);
        return false;
    }
    const int line = LineOfPos(selStart_);
    // One undo step puts the document's text back as it was.
    UndoRecord r;
    r.kind = UndoRecord::Stamps;
    r.a = selStart_;
    r.b = selEnd_;
    r.caretAtStart = caretAtStart_;
    UndoRecord part;
    part.a = 1;
    part.b = int(doc.size) + 1;
    part.text = buffer_.copy(0, TextLength());
    r.parts.push_back(std::move(part));
    buffer_.adopt(std::move(doc.data), doc.size, doc.capacity, std::move(doc.lineStarts));
    if (UndoEnabled) undo_.push(std::move(r));
    DosLineEnds = doc.dosLineEnds;
    Utf8 = doc.utf8;
    Utf8Bom = doc.bom;
    selStart_ = selEnd_ = LineStart(std::min(line, LineCount()));
    caretAtStart_ = false;
    ClearModified();
    RememberDisk();
    if (OnCaptionChange) OnCaptionChange();
    if (!ScrollToCaret()) Repaint();
    return true;
}

} // namespace xo
