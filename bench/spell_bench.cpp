// Keystrokes with the spell check on and off: each key typed in the middle
// of a document and the paint after it (the marks included), and the idle
// work between keys (the speller and the scan's states), on a 100 MB
// document and on a 1 MB Czech page.
#include "editor/editor_widget.h"
#include "platform/cp1250.h"
#include "platform/qt_services.h"
#include "settings/settings.h"
#include "spell/document_spelling.h"

#include <QApplication>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

using namespace xo;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

class QuietServices : public platform::QtServices {
public:
    platform::Answer message(const platform::Message &) override { return platform::Answer::Ok; }
};

// A Czech page of about `bytes`: paragraphs, a few misspellings, a script now and then.
std::string czechPage(size_t bytes) {
    const std::string para = cp1250::encode(QStringLiteral(
        "<p>Příliš žluťoučký kůň úpěl ďábelské ódy. Byl v lese a u řeky s 5 % lidí, kteří "
        "nevěděli, kam jít. <a href=\"dalsi.htm\" title=\"Další stránka\">Další</a> Přílš mnoho slov.</p>\r\n"
        "<p lang=\"en\">The quick brown fox jumps over the lazy dog.</p>\r\n"));
    const std::string script = "<script>\r\nvar x = 1; // komentar\r\n</script>\r\n";
    std::string out = "<html lang=\"cs\"><body>\r\n";
    for (int i = 0; out.size() < bytes; ++i) out += (i % 50 == 49) ? script : para;
    return out + "</body></html>\r\n";
}

struct Result {
    double worstKey = 0, worstIdle = 0;
};

Result keystrokes(const QString &file, bool check) {
    SpellingState.Check = check;
    spell::TSpeller speller;
    speller.PersonalFile = QStringLiteral("/nonexistent/xo-words");
    spell::TDocumentSpelling doc;
    TEditor::LineMarks = [&](TEditor &e, int first, int last, std::vector<TEditor::TMark> &out) {
        if (SpellingState.Check) doc.Marks(e, speller, first, last, out);
    };
    TEditor view;
    view.resize(1000, 800);
    view.show();
    view.grab();
    view.LoadFromFile(file);
    const int line = view.LineCount() / 2;
    view.SetSelection(view.LineStart(line), view.LineStart(line));
    view.ScrollToCaret();
    const auto idle = [&] {
        // What the program does while the user pauses, one slice at a time.
        double worst = 0;
        for (int i = 0; i < 2000; ++i) {
            const auto t = Clock::now();
            const bool more = speller.Work(8) | doc.Advance(view, view.PaintedLines().first, 2 << 20);
            worst = std::max(worst, secondsSince(t));
            if (!more && !speller.Pending()) break;
        }
        return worst;
    };
    Result r;
    view.grab();
    // The gap goes to the caret in idle slices, as in the program.
    while (view.MoveGapTowardCaret()) {
    }
    r.worstIdle = idle();
    for (int i = 0; i < 300; ++i) {
        const auto t = Clock::now();
        view.KeyChar(i % 7 == 6 ? ' ' : 'a' + i % 26, false);
        view.grab();
        r.worstKey = std::max(r.worstKey, secondsSince(t));
        if (i % 10 == 9) r.worstIdle = std::max(r.worstIdle, idle());
    }
    TEditor::LineMarks = nullptr;
    return r;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QuietServices services;
    platform::setServices(&services);
    QTemporaryDir dir;
    const std::pair<const char *, size_t> docs[] = {{"1 MB Czech page", 1u << 20}, {"100 MB document", 100u << 20}};
    for (const auto &[what, bytes] : docs) {
        const QString file = dir.filePath(QStringLiteral("page.htm"));
        {
            QFile f(file);
            f.open(QIODevice::WriteOnly);
            const std::string page = czechPage(bytes);
            f.write(page.data(), qint64(page.size()));
        }
        const Result off = keystrokes(file, false), on = keystrokes(file, true);
        std::printf("%-18s slowest keystroke with its paint: off %6.2f ms, on %6.2f ms (target <= 20); "
                    "slowest idle slice %5.2f ms (target <= 20)\n",
                    what, off.worstKey * 1e3, on.worstKey * 1e3, on.worstIdle * 1e3);
    }
    return 0;
}
