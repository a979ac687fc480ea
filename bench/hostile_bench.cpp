// Hostile inputs that once took time growing with the square of their size:
// deeply nested elements in the document check, a memo of many lines in the
// DBF import, and the site dialog's log during a large upload; and the
// search in files beside grep.
#include "editor/editor_core.h"
#include "platform/qt_services.h"
#include "site/file_search.h"
#include "site/hierarchy_dialogs.h"
#include "tables/dbf_reader.h"
#include "tables/table_grid.h"
#include "tools/document_check.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <string>

using namespace xo;

namespace {

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

void row(const char *what, double ms) { std::printf("%-60s %10.1f ms\n", what, ms); }

} // namespace

int main(int argc, char **argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);

    {
        // 3.4 MB of elements, each inside the one before, each holding one that may not nest.
        std::string text;
        while (text.size() < (34u << 20) / 10) text += "<B><H1>x</H1>";
        EditorCore e;
        e.SetText(text);
        const auto t = Clock::now();
        const CheckResult r = CheckDocument(e);
        row("document check, 3.4 MB of nested elements", msSince(t));
        if (r.code != 5) std::printf("  (unexpected result %d)\n", r.code);
    }
    {
        // A 4 MB memo of short lines into a grid cell.
        std::string memo;
        while (memo.size() < (4u << 20)) memo += "a line of a memo field\r\n";
        TTableGrid grid;
        TableSettings s;
        s.numRows = s.numCols = "2";
        ApplyTableSize(grid, s);
        const auto t = Clock::now();
        DbfValueToGrid(grid, s, 0, 1, std::move(memo));
        row("DBF import, a 4 MB memo of 175,000 lines into a cell", msSince(t));
    }
    {
        // The log of a 10 MB upload as the client writes it: a progress line
        // at most ten times a second; before, one per kilobyte.
        TfrmHierarchie dialog;
        dialog.show();
        const auto t = Clock::now();
        for (int file = 0; file < 10; ++file) {
            dialog.FtpTrace(QStringLiteral("Odesílám soubor..."), 3);
            for (int kb = 1; kb <= 1024; ++kb) dialog.FtpTrace(QStringLiteral("Přeneseno %1 z 1048576").arg(kb * 1024), 4);
            QCoreApplication::processEvents();
        }
        row("site log, 10,240 progress lines of 10 files (worst case)", msSince(t));
    }
    {
        // Search in files over 2,000 generated pages, beside grep on the same tree.
        QTemporaryDir tree;
        std::string page;
        while (page.size() < 20 * 1024) page += "<P>Příliš žluťoučký kůň <B>úpěl</B> ďábelské ódy, <A HREF=\"x.htm\">odkaz</A>\r\n";
        for (int i = 0; i < 2000; ++i) {
            QDir().mkpath(tree.filePath(QStringLiteral("d%1").arg(i / 100)));
            QFile f(tree.filePath(QStringLiteral("d%1/p%2.htm").arg(i / 100).arg(i)));
            f.open(QIODevice::WriteOnly);
            f.write(page.data(), qint64(page.size()));
        }
        const double mb = 2000.0 * double(page.size()) / 1048576.0;
        for (const bool anyCase : {false, true}) {
            FileSearchHooks hooks;
            int found = 0;
            // Not there: every byte of every page is looked at. Search in files always ignores case.
            const auto t = Clock::now();
            SearchFiles(tree.path(), QStringLiteral("*.htm"), "Nenalezitelny", hooks, found);
            const double ours = msSince(t);
            QProcess grep;
            const auto g = Clock::now();
            grep.start(QStringLiteral("grep"), QStringList{QStringLiteral("-r"), QStringLiteral("-l"),
                                                           anyCase ? QStringLiteral("-i") : QStringLiteral("-F"),
                                                           QStringLiteral("-F"), QStringLiteral("Nenalezitelny"),
                                                           tree.path()});
            grep.waitForFinished(60000);
            const double theirs = msSince(g);
            if (anyCase)
                std::printf("%-60s %10.0f MB/s   grep -r -i -F %6.0f MB/s\n", "search in files, any case, 2,000 pages",
                            mb / ours * 1e3, mb / theirs * 1e3);
            else
                std::printf("%-60s %10s         grep -r -F    %6.0f MB/s\n", "  (grep with case, for comparison)", "",
                            mb / theirs * 1e3);
        }
    }
    return 0;
}
