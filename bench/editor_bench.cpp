// Measures the editor on a generated 100 MB HTML document and prints each
// figure beside the same operation on the naive one-string design.
//
//   make bench            (or build/bench/xo_bench_editor [megabytes])

#include "editor/document_file.h"
#include "editor/editor_core.h"
#include "editor/editor_widget.h"
#include "editor/html_coloring.h"
#include "recovery/keeper.h"
#include "search/search.h"
#include "platform/cp1250.h"
#include "platform/qt_services.h"
#include "naive_editor.h"
#include "settings/settings.h"
#include "tools/document_check.h"
#include "tools/text_tools.h"
#include "editor/utf8_text.h"

#include <QApplication>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <random>

using namespace xo;
using Clock = std::chrono::steady_clock;

namespace {

double secondsSince(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

constexpr int kMarkers = 100000;

// The document carries kMarkers copies of "<!--R-->" spread evenly and one
// "ENDMARK" near its end, for the find and replace figures.
std::string makeHtml(size_t bytes) {
    std::string s;
    s.reserve(bytes + 256);
    const size_t step = bytes / kMarkers;
    size_t nextMarker = step;
    int markers = 0;
    s += "<!DOCTYPE html>\r\n<HTML><HEAD><TITLE>Bench</TITLE></HEAD>\r\n<BODY bgcolor=#ffffff>\r\n";
    std::mt19937 rng(7);
    // Code page 1250 words, as documents hold them (UTF-8 literals would make it a UTF-8 file).
    const std::string words[] = {"Xo",   "editor",
                                 "tabulka", cp1250::fromUtf8("stránka"),
                                 "odkaz",   cp1250::fromUtf8("obrázek"),
                                 "text",    "HTML"};
    int i = 0;
    while (s.size() < bytes) {
        switch (i++ % 4) {
        case 0: s += "<P align=\"center\">"; break;
        case 1: s += "<A href=\"page" + std::to_string(i) + ".htm\">"; break;
        case 2: s += "<TD width=100 bgcolor=#c0c0c0>"; break;
        default: s += "<!-- note " + std::to_string(i) + " -->"; break;
        }
        for (int w = 0; w < 3; ++w) {
            s += words[rng() % 8];
            s += ' ';
        }
        if (s.size() >= nextMarker && markers < kMarkers) {
            s += "<!--R-->";
            nextMarker += step;
            ++markers;
        }
        s += "</P>\r\n";
    }
    while (markers++ < kMarkers) s += "<!--R-->\r\n";
    s += "ENDMARK\r\n";
    return s;
}

void writeFile(const QString &name, const std::string &s) {
    QFile f(name);
    f.open(QIODevice::WriteOnly);
    f.write(s.data(), qint64(s.size()));
}

long rssKb() {
    QFile f("/proc/self/statm");
    f.open(QIODevice::ReadOnly);
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : 0;
}

// The best of three runs: file times here vary with the page cache.
template <class F>
double best(F f) {
    double b = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto t = Clock::now();
        f();
        b = std::min(b, secondsSince(t));
    }
    return b;
}

double readBytesAlone(const QString &name) {
    return best([&] {
        QFile f(name);
        f.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        std::unique_ptr<char[]> buf(new char[size_t(f.size())]);
        f.read(buf.get(), f.size());
    });
}

// Written and flushed to the disk, as a save must be.
double writeBytesAlone(const QString &name, const std::string &s) {
    return best([&] {
        QFile f(name);
        f.open(QIODevice::WriteOnly);
        f.write(s.data(), qint64(s.size()));
        f.flush();
        ::fsync(f.handle());
        f.close();
    });
}

void row(const char *what, double ours, double naive, const char *unit, const char *target) {
    std::printf("%-46s %12.3f %s   naive %12.3f %s   ratio %8.1fx   target %s\n", what, ours, unit, naive, unit,
                ours > 0 ? naive / ours : 0.0, target);
}

// Messages would wait for a person; the benchmark answers them at once.
class QuietServices : public platform::QtServices {
public:
    platform::Answer message(const platform::Message &) override { return platform::Answer::Ok; }
};

// The slowest of a few runs of an action that ends in a paint: what the user waits for.
template <class F>
double worstOf(TEditor &view, F f, int runs = 5) {
    double w = 0;
    for (int i = 0; i < runs; ++i) {
        const auto t = Clock::now();
        f();
        view.grab();
        w = std::max(w, secondsSince(t));
    }
    return w;
}

// A document of one line of half the size (50 MB for the default), and one
// of the full size with no tag at all: paint, scroll, type, blink.
void longLines(const QTemporaryDir &dir, size_t mb) {
    std::printf("\nlong lines\n");
    const size_t bytes = (mb << 20) / 2;
    std::string line;
    line.reserve(bytes);
    const char *pieces[] = {"<A href=\"page.htm\">", "odkaz na stránku ", "</A> ", "<FONT size=+1 color=#ff0000>",
                            "text ", "</FONT> "};
    for (int i = 0; line.size() < bytes; ++i) line += pieces[i % 6];
    const QString name = dir.filePath("line.htm");
    writeFile(name, line);
    // Typing here measures the paint; wrapping has its own figure below.
    Settings.Format = false;
    TEditor view;
    view.resize(1000, 800);
    view.show();
    view.grab();
    view.LoadFromFile(name);
    char label[80];
    std::snprintf(label, sizeof label, "%zu MB line: first paint (ms)", bytes >> 20);
    row(label, worstOf(view, [] {}, 1) * 1e3, 0, "", "<= 16");
    view.SetSelection(int(bytes / 2), int(bytes / 2));
    row("long line: scroll to the middle (ms)", worstOf(view, [&] { view.ScrollToCaret(); }, 1) * 1e3, 0, "",
        "<= 16");
    row("long line: scroll sideways (ms)",
        worstOf(view, [&] { view.HoriScroll->setValue(view.HoriScroll->value() + 8); }) * 1e3, 0, "", "<= 16");
    row("long line: type in the middle (ms)", worstOf(view, [&] { view.KeyChar('x', false); }) * 1e3, 0, "",
        "<= 16");
    row("long line: End (ms)", worstOf(view, [&] { view.KeyDown(Qt::Key_End, 0); }, 1) * 1e3, 0, "", "<= 16");
    row("long line: Home (ms)", worstOf(view, [&] { view.KeyDown(Qt::Key_Home, 0); }, 1) * 1e3, 0, "", "<= 16");
    row("long line: caret blink (ms)", worstOf(view, [&] { view.BlinkTick(); }) * 1e3, 0, "", "<= 16");
    {
        // Typing at the end of a line of words with automatic wrapping on:
        // every key breaks the line once more.
        std::string text;
        for (size_t i = 0; text.size() < (size_t(5) << 20); ++i) text += "slovo ";
        Settings.Format = true;
        struct Wrapping : EditorCore {
            int WrapColumn() const override { return 100; }
        } wrap;
        wrap.SetText(text);
        wrap.SetSelection(wrap.TextLength() + 1, wrap.TextLength() + 1);
        const auto t = Clock::now();
        wrap.KeyChar('x', false);
        row("5 MB line of words: wrap on typing (ms)", secondsSince(t) * 1e3, 0, "", "");
        std::printf("  (broken into %d lines)\n", wrap.LineCount());
        Settings.Format = false;
    }
    std::string plain((mb << 20), 'a');
    for (size_t i = 80; i < plain.size(); i += 82) {
        plain[i] = '\r';
        plain[i + 1] = '\n';
    }
    const QString plainName = dir.filePath("plain.htm");
    writeFile(plainName, plain);
    view.LoadFromFile(plainName);
    std::snprintf(label, sizeof label, "%zu MB without tags: Ctrl+End (ms)", mb);
    row(label, worstOf(view, [&] { view.KeyDown(Qt::Key_End, kCtrl); }, 1) * 1e3, 0, "", "<= 16");
}

} // namespace

// The document tools over a sound document of the same size: one pass each.
void documentTools(size_t bytes) {
    std::printf("\ndocument tools\n");
    const std::string line =
        cp1250::fromUtf8("<P>Příliš žluťoučký kůň <B>úpěl</B> &amp; <!-- c --> <TD width=100>ódy &lt;x&gt;\r\n");
    std::string text;
    text.reserve(bytes + line.size());
    while (text.size() < bytes) text += line;
    EditorCore ed;
    ed.SetText(text);
    auto t = Clock::now();
    const CheckResult r = CheckDocument(ed);
    const double check = secondsSince(t);
    std::printf("  (the check ran to: %s)\n", r.message.toStdString().c_str());
    int strays = 0;
    t = Clock::now();
    const std::string exported = ExportedText(ed.TextView(), strays);
    const double exportTime = secondsSince(t);
    t = Clock::now();
    ed.Buffer().mapBytes(DiacriticsTable());
    const double diacritics = secondsSince(t);
    std::printf("%-46s %12.3f\n", "document check, whole document (s)", check);
    std::printf("%-46s %12.3f   (%zu MB of text left)\n", "export to text (s)", exportTime, exported.size() >> 20);
    std::printf("%-46s %12.3f\n", "diacritics removal (s)", diacritics);
    // The same text as an HTML5 page: its own rules over the whole document.
    EditorCore five;
    five.SetText("<!DOCTYPE html>\r\n<body>\r\n" + text);
    t = Clock::now();
    const CheckResult r5 = CheckDocument(five);
    std::printf("%-46s %12.3f   (%s)\n", "document check, HTML5 rules (s)", secondsSince(t),
                r5.message.toStdString().c_str());
}

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QuietServices quiet;
    platform::setServices(&quiet);
    SetDefaultSettings();
    Settings.BAKs = false;
    const size_t mb = argc > 1 ? size_t(std::atol(argv[1])) : 100;
    QTemporaryDir dir;
    const QString dosName = dir.filePath("bench.htm"), unixName = dir.filePath("bench_unix.htm");
    std::string html = makeHtml(mb << 20);
    writeFile(dosName, html);
    {
        std::string unixText;
        unixText.reserve(html.size());
        for (size_t i = 0; i < html.size(); ++i)
            if (!(html[i] == '\r' && i + 1 < html.size() && html[i + 1] == '\n')) unixText.push_back(html[i]);
        writeFile(unixName, unixText);
    }
    const size_t size = html.size();
    std::printf("document: %.1f MB, CR LF line ends\n\n", double(size) / 1048576.0);

    // Loading.
    const double readAlone = readBytesAlone(dosName);
    const long rssBefore = rssKb();
    EditorCore ed;
    auto t = Clock::now();
    ed.LoadFromFile(dosName);
    const double loadOurs = secondsSince(t);
    const long rssAfter = rssKb();
    std::printf("lines: %d\n", ed.LineCount());
    bench::NaiveEditor naive;
    t = Clock::now();
    naive.load(dosName);
    const double loadNaive = secondsSince(t);
    row("read the bytes alone (ms)", readAlone * 1e3, readAlone * 1e3, "", "");
    row("load DOS file (x read time)", loadOurs / readAlone, loadNaive / readAlone, "", "<= 3");
    {
        const double readU = readBytesAlone(unixName);
        const double ours = best([&] {
            EditorCore u;
            u.LoadFromFile(unixName);
        });
        const double nv = best([&] {
            bench::NaiveEditor nu;
            nu.load(unixName);
        });
        row("load Unix file (x read time)", ours / readU, nv / readU, "", "<= 3");
    }
    {
        // The same document as UTF-8: its code-page letters as two-byte sequences.
        const QString utf8Name = dir.filePath("bench_utf8.htm");
        writeFile(utf8Name, Cp1250ToUtf8(html));
        const double cp = best([&] {
            EditorCore c;
            c.LoadFromFile(dosName);
        });
        const double ours = best([&] {
            EditorCore u;
            u.LoadFromFile(utf8Name);
        });
        row("load UTF-8 file (x CP1250 load time)", ours / cp, 0, "", "<= 2");
    }
    row("memory after loading (bytes per byte)", double(rssAfter - rssBefore) * 1024.0 / double(size),
        double(naive.text.capacity()) / double(size), "", "<= 1.5");

    // Line queries at random positions.
    {
        std::mt19937 rng(3);
        const int n = 2'000'000;
        std::vector<int> pos(n);
        for (int &p : pos) p = int(rng() % uint32_t(size)) + 1;
        long sink = 0;
        t = Clock::now();
        for (int p : pos) sink += ed.LineOfPos(p);
        const double lop = secondsSince(t) / n;
        const int lines = ed.LineCount();
        t = Clock::now();
        for (int p : pos) sink += ed.LineStart(p % lines + 1);
        const double ls = secondsSince(t) / n;
        const int nn = 20;
        t = Clock::now();
        for (int i = 0; i < nn; ++i) sink += naive.lineOfPos(pos[size_t(i)]);
        const double nlop = secondsSince(t) / nn;
        t = Clock::now();
        for (int i = 0; i < nn; ++i) sink += naive.lineStart(pos[size_t(i)] % lines + 1);
        const double nls = secondsSince(t) / nn;
        row("LineOfPos at random positions (us)", lop * 1e6, nlop * 1e6, "", "<= 0.2");
        row("LineStart of random lines (us)", ls * 1e6, nls * 1e6, "", "<= 0.2");
        if (sink == 42) std::puts("");
    }

    // Typing in the middle, the first keystroke after loading included.
    {
        const int mid = ed.LineStart(ed.LineCount() / 2) + 5;
        ed.SetSelection(mid, mid);
        // What the editor does while the user pauses after the jump: the gap
        // goes toward the caret a slice at a time.
        double slowestSlice = 0;
        int slices = 0;
        for (bool more = true; more; ++slices) {
            const auto s0 = Clock::now();
            more = ed.MoveGapTowardCaret();
            slowestSlice = std::max(slowestSlice, secondsSince(s0));
        }
        row("gap toward the caret while idle, slowest slice (ms)", slowestSlice * 1e3, 0, "", "<= 8");
        std::printf("  (%d slices)\n", slices);
        const int n = 10'000;
        double worst = 0;
        t = Clock::now();
        double firstKey = 0;
        for (int i = 0; i < n; ++i) {
            const auto k = Clock::now();
            ed.KeyChar('a' + i % 26, false);
            const double d = secondsSince(k);
            if (i == 0) firstKey = d;
            worst = std::max(worst, d);
        }
        const double avg = secondsSince(t) / n;
        const double avgAfterFirst = (secondsSince(t) - firstKey) / (n - 1);
        const int nn = 50;
        t = Clock::now();
        for (int i = 0; i < nn; ++i) naive.insert(int(size / 2), 'a');
        const double navg = secondsSince(t) / nn;
        row("typing 10,000 characters, average (us)", avg * 1e6, navg * 1e6, "", "<= 1");
        row("typing, average after the first key (us)", avgAfterFirst * 1e6, navg * 1e6, "", "<= 1");
        row("typing, slowest keystroke (ms)", worst * 1e3, navg * 1e3, "", "<= 20");
        row("typing, first keystroke after loading (ms)", firstKey * 1e3, navg * 1e3, "", "<= 20");
        // Check the work was real.
        if (ed.TextLength() != int(size) + n) std::puts("typing lost characters!");
    }

    // First full paint of a page, colouring included.
    {
        TEditor view;
        view.resize(1000, 800);
        view.show();
        view.grab(); // measures the cell once
        view.LoadFromFile(dosName);
        const char *where[] = {"top", "middle", "end"};
        const int lines = view.LineCount();
        const int tops[] = {1, lines / 2, std::max(1, lines - view.VisibleLineCount())};
        for (int i = 0; i < 3; ++i) {
            view.VertScroll->setMaximum(lines);
            view.VertScroll->setValue(tops[i] - 1);
            t = Clock::now();
            view.grab();
            const double ours = secondsSince(t);
            // Naive: find the page by scanning, then colour its lines from a backward scan.
            t = Clock::now();
            const int start = naive.lineStart(tops[i]);
            ColorState st = ColorStateBefore(
                [&](int p) { return p >= 1 && p <= int(naive.text.size()) ? naive.text[size_t(p - 1)] : '\0'; }, start);
            size_t p = size_t(start - 1);
            for (int l = 0; l < view.VisibleLineCount() && p < naive.text.size(); ++l) {
                const size_t e = naive.text.find("\r\n", p);
                const size_t end = e == std::string::npos ? naive.text.size() : e;
                ColorLine(std::string_view(naive.text).substr(p, end - p), st, true);
                p = end + 2;
            }
            const double nv = secondsSince(t);
            char label[80];
            std::snprintf(label, sizeof label, "first paint at the %s (ms)", where[i]);
            row(label, ours * 1e3, nv * 1e3, "", "<= 16");
        }
    }

    // Find and replace on the editor control.
    {
        TEditor view;
        view.resize(1000, 800);
        view.LoadFromFile(dosName);
        SearchRec = TEditSearchRec{"ENDMARK", "", true, false, false, false};
        view.SetSelection(1, 1);
        t = Clock::now();
        FindNext(view);
        const double findCase = secondsSince(t);
        const bool foundIt = view.GetTextRange(view.SelStart(), view.SelEnd()) == "ENDMARK";
        SearchRec.MatchCase = false;
        view.SetSelection(1, 1);
        t = Clock::now();
        FindNext(view);
        const double findNoCase = secondsSince(t);
        t = Clock::now();
        const size_t naiveAt = naive.text.find("ENDMARK");
        const double nfind = secondsSince(t);
        row("find next, top to the end, match case (ms)", findCase * 1e3, nfind * 1e3, "", "<= 100");
        row("find next, top to the end, any case (ms)", findNoCase * 1e3, nfind * 1e3, "", "<= 100");
        if (!foundIt || naiveAt == std::string::npos) std::puts("find missed ENDMARK!");

        SearchRec = TEditSearchRec{"<!--R-->", "<!--Replaced-->", true, true, false, true};
        view.SetSelection(1, 1);
        t = Clock::now();
        FindNext(view);
        const double replaceAll = secondsSince(t);
        // Naive: the one-string design replacing in place, one match at a time.
        std::string copy = naive.text.substr(0, naive.text.size() / 50);
        t = Clock::now();
        int nrep = 0;
        for (size_t at = copy.find("<!--R-->"); at != std::string::npos; at = copy.find("<!--R-->", at + 15)) {
            copy.replace(at, 8, "<!--Replaced-->");
            ++nrep;
        }
        const double nv = secondsSince(t) * 50; // a fiftieth of the work, scaled (it grows faster than that)
        row("replace all, 100,000 matches (ms)", replaceAll * 1e3, nv * 1e3, "", "<= 300");
        const int left = view.Buffer().find("<!--R-->", 0);
        if (left >= 0 || view.TextLength() != int(size) + kMarkers * 7) std::puts("replace all missed matches!");
    }

    // The recovery journal of the modified 100 MB document: the copy in
    // slices on the main thread, then the write in the background while the
    // user types on.
    {
        qputenv("XDG_STATE_HOME", dir.filePath("state").toLocal8Bit());
        TRecoveryJournal journal;
        journal.Open();
        TRecoveryKeeper keeper(journal);
        keeper.Documents = [&ed] { return std::vector<KeptDocument>{{1, &ed, {}}}; };
        QDateTime now = QDateTime::currentDateTime();
        keeper.Tick(now);
        double mainThread = 0, slowestSlice = 0;
        auto k = Clock::now();
        keeper.Tick(now = now.addSecs(2));
        double d = secondsSince(k);
        mainThread += d;
        slowestSlice = std::max(slowestSlice, d);
        for (bool more = keeper.Copying(); more;) {
            k = Clock::now();
            more = keeper.Slice();
            d = secondsSince(k);
            mainThread += d;
            slowestSlice = std::max(slowestSlice, d);
        }
        // Keys while the entry is written.
        double worstKey = 0;
        const int mid = ed.LineStart(ed.LineCount() / 3);
        ed.SetSelection(mid, mid);
        k = Clock::now();
        int keys = 0;
        while (secondsSince(k) < 0.5) {
            const auto one = Clock::now();
            ed.KeyChar('k', false);
            worstKey = std::max(worstKey, secondsSince(one));
            ++keys;
        }
        const auto w = Clock::now();
        keeper.WaitForWrites();
        const double rest = secondsSince(w);
        row("journal write: main thread in all (ms)", mainThread * 1e3, 0, "", "");
        row("journal write: slowest slice (ms)", slowestSlice * 1e3, 0, "", "<= 8");
        row("typing while the journal is written, slowest (ms)", worstKey * 1e3, 0, "", "<= 20");
        std::printf("  (%d keys in 0.5 s; the write ended %.0f ms after them)\n", keys, rest * 1e3);
    }

    // Saving.
    {
        const double alone = writeBytesAlone(dir.filePath("alone.htm"), html);
        ed.FileName = dir.filePath("saved.htm");
        const double ours = best([&] { ed.SaveToFile(); });
        const double nv = best([&] { naive.save(dir.filePath("naive.htm")); });
        row("write the bytes alone (ms)", alone * 1e3, alone * 1e3, "", "");
        row("save DOS (x write time)", ours / alone, nv / alone, "", "<= 2");
        row("save DOS, on the disk (ms)", ours * 1e3, 0, "", "");
        ed.DosLineEnds = false;
        ed.FileName = dir.filePath("saved_unix.htm");
        row("save Unix (x write time)", best([&] { ed.SaveToFile(); }) / alone, nv / alone, "", "");
        EditorCore page;
        page.SetText(html.substr(0, 20 * 1024));
        page.FileName = dir.filePath("page.htm");
        row("save a 20 KB page, on the disk (ms)", best([&] { page.SaveToFile(); }) * 1e3, 0, "", "< 50");
    }
    documentTools(size);
    longLines(dir, mb);
    return 0;
}
