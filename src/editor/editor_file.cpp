// Loading and saving of TEditor documents, with the date and time stamps.
#include "document_file.h"
#include "editor_core.h"
#include "shared_routines.h"

#include "platform/services.h"
#include "settings/settings.h"

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

void EditorCore::RefreshStamps() {
    int s = selStart_, e = selEnd_;
    // The refresh is one undo step of its own, pushed only when a value
    // really changes: the user's last change stays apart from it, and undoing
    // it puts every old value and the selection back at once.
    const bool recording = UndoEnabled;
    UndoEnabled = false;
    UndoRecord stamps;
    stamps.kind = UndoRecord::Stamps;
    stamps.a = s;
    stamps.b = e;
    stamps.caretAtStart = caretAtStart_;
    auto refresh = [&](std::string_view marker, bool (*valueChar)(char), const std::string &value) {
        int found = buffer_.find(marker, 0);
        while (found >= 0) {
            const int q = found + int(marker.size()) + 1; // position right after the marker
            int k = 0;
            // Bounded by the text as it is now: earlier stamps may have changed its length.
            while (q + k <= TextLength() && valueChar(CharAt(q + k))) ++k;
            const std::string old = buffer_.copy(q - 1, k);
            if (old == value) { // already current: nothing to write or undo
                found = buffer_.find(marker, q - 1 + k);
                continue;
            }
            UndoRecord part;
            part.a = q;
            part.b = q + int(value.size());
            part.text = old;
            stamps.parts.push_back(std::move(part));
            if (k > 0) {
                selStart_ = q;
                selEnd_ = q + k;
                DeleteSelection();
            }
            selStart_ = selEnd_ = q;
            ReplaceSelection(value);
            const int delta = int(value.size()) - k;
            // Bounds after the old value move with the text behind it.
            if (q + k <= s) s += delta;
            if (q + k <= e) e += delta;
            found = buffer_.find(marker, q - 1 + int(value.size()));
        }
    };
    refresh(kDateMarker, isDateChar, DateText().toStdString());
    refresh(kTimeMarker, isTimeChar, TimeText().toStdString());
    UndoEnabled = recording;
    const bool written = !stamps.parts.empty();
    if (written && UndoEnabled) undo_.push(std::move(stamps));
    PaintEnabled = true;
    // Set directly: a selection record here would cost the user an extra undo step.
    selStart_ = s;
    selEnd_ = e;
    if (written) Repaint();
}

bool EditorCore::SaveToFile() {
    if (FileName.isEmpty()) return false;
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
    editorHost().ClearStatusText();
    LeaveWait();
    return true;
}

} // namespace xo
