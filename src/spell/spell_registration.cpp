#include "spell_registration.h"

#include "document_spelling.h"
#include "documents/main_window.h"
#include "editor/utf8_text.h"
#include "platform/services.h"
#include "settings/settings.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <map>

namespace xo {

using spell::TDocumentSpelling;
using spell::TSpeller;

namespace {

class TSpelling : public QObject {
public:
    TSpelling() {
        idle_.setSingleShot(true);
        idle_.setInterval(20);
        connect(&idle_, &QTimer::timeout, this, [this] { work(); });
        speller.OnMissing = [](const QString &lang, const QString &package) {
            // Said after the paint that found it, never inside it.
            QTimer::singleShot(0, [lang, package] {
                platform::message(QStringLiteral("Xo!"),
                                  QStringLiteral("Slovník pro jazyk %1 není nainstalován (balíček %2); pravopis v "
                                                 "tomto jazyce se nekontroluje.")
                                      .arg(lang, package),
                                  platform::Icon::Information);
            });
        };
        speller.OnDamagedList = [](const QString &problem) {
            QTimer::singleShot(0, [problem] { platform::message(QStringLiteral("Xo!"), problem, platform::Icon::Exclamation); });
        };
    }

    TSpeller speller;

    void marks(TEditor &e, int first, int last, std::vector<TEditor::TMark> &out) {
        if (!SpellingState.Check) return;
        if (!document(e).Marks(e, speller, first, last, out) || speller.Pending()) idle_.start();
    }

    void popup(TEditor &e, QMenu &menu, int pos) {
        for (QAction *a : std::exchange(added_, {})) {
            menu.removeAction(a);
            a->deleteLater();
        }
        if (!SpellingState.Check || pos < 1 || pos > e.TextLength() + 1) return;
        // The word under the place, found as the marks find it.
        const int line = e.LineOfPos(std::min(pos, std::max(1, e.TextLength())));
        const spell::TScanState state = document(e).StateAt(e, line);
        std::string text;
        e.AppendText(e.LineStart(line) - 1, e.LineLength(line), text);
        const int col = pos - e.LineStart(line);
        spell::TWord found;
        spell::FindWords(text, state, [&](const spell::TWord &w) {
            if (col >= w.start && col <= w.start + w.length) found = w;
        });
        if (found.text.isEmpty() || speller.CheckNow(found.lang, found.text) != TSpeller::Wrong) return;
        const int start = e.LineStart(line) + found.start, end = start + found.length;
        QAction *first = menu.actions().value(0);
        const auto add = [&](const QString &caption, std::function<void()> run) {
            auto *a = new QAction(caption, &menu);
            connect(a, &QAction::triggered, this, std::move(run));
            menu.insertAction(first, a);
            added_ << a;
            return a;
        };
        QPointer<TEditor> editor(&e);
        const QStringList suggestions = speller.Suggest(found.lang, found.text);
        for (const QString &s : suggestions) {
            QAction *a = add(s, [editor, start, end, s] {
                if (editor) editor->ReplaceRanges({{start, end, DocumentTextOf(s, true)}});
            });
            if (s == suggestions.first()) {
                QFont bold = a->font();
                bold.setBold(true);
                a->setFont(bold);
            }
        }
        const QString word = found.text;
        add(QStringLiteral("Přidat do slovníku"), [this, word] {
            if (!speller.AddToPersonal(word))
                platform::message(QStringLiteral("Xo!"),
                                  QStringLiteral("Slovo nelze uložit do osobního slovníku ") + speller.PersonalFile +
                                      QStringLiteral("; platí jen do konce sezení."),
                                  platform::Icon::Exclamation);
            repaintAll();
        });
        add(QStringLiteral("Ignorovat"), [this, word] {
            speller.Ignore(word);
            repaintAll();
        });
        auto *separator = new QAction(&menu);
        separator->setSeparator(true);
        menu.insertAction(first, separator);
        added_ << separator;
    }

    void repaintAll() {
        for (auto &[e, d] : documents_) e->update();
    }

private:
    TDocumentSpelling &document(TEditor &e) {
        auto &d = documents_[&e];
        if (!d) {
            d = std::make_unique<TDocumentSpelling>();
            connect(&e, &QObject::destroyed, this, [this, p = &e] { documents_.erase(p); });
        }
        return *d;
    }

    void work() {
        bool changed = speller.Work(8);
        bool more = false;
        for (auto &[e, d] : documents_) {
            if (!e->isVisible()) continue;
            const bool behind = d->Advance(*e, e->PaintedLines().first, 2 << 20);
            more = more || behind;
            changed = true; // the states grew: the marks may show now
        }
        if (changed) repaintAll();
        if (more || speller.Pending()) idle_.start();
    }

    std::map<TEditor *, std::unique_ptr<TDocumentSpelling>> documents_;
    QList<QAction *> added_;
    QTimer idle_;
};

TSpelling *spelling = nullptr;

void nonBreakingSpaces(TfrmMain &m) {
    TEditor *e = m.ActiveEditor();
    if (!e) return;
    const std::string_view text = e->TextView();
    int from = 0, to = int(text.size());
    if (e->SelLength() > 0) {
        from = e->SelStart() - 1;
        to = e->SelEnd() - 1;
    }
    const std::string nbsp = e->Utf8 && SpellingState.NbspCharacter ? std::string("\xA0") : std::string("&nbsp;");
    std::vector<EditorCore::TextEdit> edits;
    for (const spell::TChange &c : spell::NonBreakingSpaces(text, from, to, nbsp))
        edits.push_back({c.start + 1, c.start + 1 + c.length, c.text});
    e->ReplaceRanges(edits);
    platform::message(QStringLiteral("Xo!"),
                      QStringLiteral("Nezlomitelnou mezerou nahrazeno mezer: %1").arg(edits.size()),
                      platform::Icon::Information);
}

void commands(TfrmMain &m, std::vector<CommandSpec> &specs) {
    specs.push_back(MenuCommand("&Nástroje", 70, "N_spell", "", "", nullptr, tagAlways));
    specs.push_back(MenuCommand("&Nástroje", 71, "mnPravopis", "Kontrola &pravopisu",
                                "Kontrola pravopisu|Podtrhávat slova, která slovník nezná",
                                [&m] {
                                    SpellingState.Check = !SpellingState.Check;
                                    if (spelling) spelling->repaintAll();
                                },
                                tagAlways));
    specs.back().available = [&m] {
        if (QAction *a = m.Action(QStringLiteral("mnPravopis"))) {
            a->setCheckable(true);
            a->setChecked(SpellingState.Check);
        }
        return true;
    };
    specs.push_back(MenuCommand("&Nástroje", 72, "mnNezlomitelneMezery", "&Nezlomitelné mezery",
                                "Nezlomitelné mezery|Za jednopísmennými předložkami a spojkami a mezi číslem a "
                                "jednotkou vložit nezlomitelnou mezeru",
                                [&m] { nonBreakingSpaces(m); }, tagNeedsDocument));
}

} // namespace

Subsystem SpellSubsystem() {
    Subsystem s;
    s.name = QStringLiteral("spell");
    s.commands = commands;
    s.attached = [](TfrmMain &) {
        spelling = new TSpelling;
        TEditor::LineMarks = [](TEditor &e, int first, int last, std::vector<TEditor::TMark> &out) {
            if (spelling) spelling->marks(e, first, last, out);
        };
        TEditor::BeforePopup = [](TEditor &e, QMenu &menu, int pos) {
            if (spelling) spelling->popup(e, menu, pos);
        };
    };
    s.detached = [](TfrmMain &) {
        TEditor::LineMarks = nullptr;
        TEditor::BeforePopup = nullptr;
        delete std::exchange(spelling, nullptr);
    };
    s.config = {StateSection("Spelling", SpellingState)};
    return s;
}

} // namespace xo
