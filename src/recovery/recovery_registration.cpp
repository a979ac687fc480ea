#include "recovery_registration.h"

#include "documents/main_window.h"
#include "documents/mdi_child.h"
#include "editor/document_file.h"
#include "editor/editor_widget.h"
#include "keeper.h"
#include "platform/services.h"

#include <QTimer>
#include <algorithm>
#include <memory>

namespace xo {

namespace {

struct Recovery {
    std::unique_ptr<TRecoveryJournal> journal;
    std::unique_ptr<TRecoveryKeeper> keeper;
    std::unique_ptr<QTimer> timer;
};

// Opens the documents of the entries; false for an entry whose text cannot be read.
bool reopen(TfrmMain &m, const JournalEntry &e) {
    DocumentBytes doc;
    if (DocumentFromBytes(e.text, e.utf8, doc) != ReadStatus::Ok) return false;
    doc.dosLineEnds = e.dosLineEnds;
    doc.bom = e.utf8 && e.bom;
    TMDIChild::RestoreRecord r;
    r.restoring = !e.place.isEmpty();
    if (r.restoring) {
        r.left = e.place.x();
        r.top = e.place.y();
        r.width = e.place.width();
        r.height = e.place.height();
    }
    TMDIChild *c = m.NewDocumentWindow(QString(), &r);
    if (!c) return false;
    TEditor *ed = c->Editor;
    ed->RecoverDocument(std::move(doc), e.fileName, e.disk);
    const auto clamp = [ed](int p) { return std::clamp(p, 1, ed->TextLength() + 1); };
    ed->SetSelection(clamp(e.selStart), clamp(e.selEnd));
    ed->ScrollToCaret();
    c->RefreshCaption();
    return true;
}

void offer(TfrmMain &m, TRecoveryJournal &journal) {
    std::vector<TRecoveryJournal::Orphan> orphans = journal.TakeOrphans();
    QStringList names, damaged;
    for (const auto &o : orphans) {
        for (const JournalEntry &e : o.entries)
            names << (e.fileName.isEmpty() ? QStringLiteral("(nepojmenovaný dokument)") : e.fileName);
        damaged << o.damaged;
    }
    if (!damaged.isEmpty())
        platform::message(QStringLiteral("Xo!"),
                          QStringLiteral("Tyto záznamy obnovy jsou poškozené a nelze je obnovit:\n\n") +
                              damaged.join(u'\n'),
                          platform::Icon::Exclamation);
    if (names.isEmpty()) {
        for (auto &o : orphans) TRecoveryJournal::Discard(o);
        return;
    }
    platform::Message q;
    q.caption = QStringLiteral("Xo!");
    q.text = QStringLiteral("Program minule neskončil řádně. Tyto dokumenty mají neuložené změny, které lze obnovit:\n\n") +
             names.join(u'\n') +
             QStringLiteral("\n\nObnovit je? (Soubory na disku se změní až uložením.)");
    q.icon = platform::Icon::Question;
    q.buttons = platform::Buttons::YesNoCancel;
    q.yesText = QStringLiteral("&Obnovit");
    q.noText = QStringLiteral("&Zahodit");
    const platform::Answer a = platform::services().message(q);
    QStringList failed;
    for (auto &o : orphans) {
        if (a == platform::Answer::Cancel) {
            TRecoveryJournal::Release(o); // offered again next time
            continue;
        }
        if (a == platform::Answer::Yes)
            for (const JournalEntry &e : o.entries)
                if (!reopen(m, e)) failed << (e.fileName.isEmpty() ? QStringLiteral("(nepojmenovaný)") : e.fileName);
        TRecoveryJournal::Discard(o);
    }
    if (!failed.isEmpty())
        platform::message(QStringLiteral("Xo!"), QStringLiteral("Tyto dokumenty nelze obnovit:\n\n") + failed.join(u'\n'),
                          platform::Icon::Exclamation);
}

} // namespace

Subsystem RecoverySubsystem() {
    auto state = std::make_shared<Recovery>();
    Subsystem s;
    s.name = QStringLiteral("recovery");
    s.attached = [state](TfrmMain &m) {
        auto journal = std::make_unique<TRecoveryJournal>();
        if (!journal->Open()) return; // without a journal the program still works
        state->journal = std::move(journal);
        state->keeper = std::make_unique<TRecoveryKeeper>(*state->journal);
        state->keeper->Documents = [&m] {
            std::vector<KeptDocument> out;
            for (TMDIChild *c : m.DocumentWindows())
                if (!c->Closing)
                    out.push_back({c->Editor->Tag, c->Editor, c->isMaximized() || c->isMinimized() ? QRect() : c->geometry()});
            return out;
        };
        state->timer = std::make_unique<QTimer>();
        state->timer->setInterval(250);
        QObject::connect(state->timer.get(), &QTimer::timeout,
                         [state] { state->keeper->Tick(platform::services().now()); });
        state->timer->start();
    };
    s.started = [state](TfrmMain &m) {
        if (state->journal) offer(m, *state->journal);
    };
    s.detached = [state](TfrmMain &) {
        // A normal exit: every document was saved or given up.
        state->timer.reset();
        state->keeper.reset();
        if (state->journal) state->journal->RemoveAll();
        state->journal.reset();
    };
    return s;
}

} // namespace xo
