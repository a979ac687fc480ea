// Hostile inputs that once took time growing with the square of their size:
// deeply nested elements in the document check, a memo of many lines in the
// DBF import, and the site dialog's log during a large upload.
#include "editor/editor_core.h"
#include "platform/qt_services.h"
#include "site/hierarchy_dialogs.h"
#include "tables/dbf_reader.h"
#include "tables/table_grid.h"
#include "tools/document_check.h"

#include <QApplication>
#include <QListWidget>
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
    return 0;
}
