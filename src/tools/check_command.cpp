#include "check_command.h"

#include "document_check.h"
#include "editor/document_file.h"
#include "editor/editor_core.h"

#include <QFileInfo>
#include <QTextStream>
#include <algorithm>

namespace xo {

int CheckFilesCommand(const QStringList &files, QTextStream &out, QTextStream &err) {
    int status = 0;
    for (const QString &file : files) {
        DocumentBytes doc;
        const ReadStatus read = ReadDocumentFile(file, doc);
        if (read != ReadStatus::Ok) {
            err << file << ": "
                << (read == ReadStatus::TooLarge ? QStringLiteral("soubor je příliš velký")
                    : QFileInfo::exists(file)    ? QStringLiteral("soubor nelze číst")
                                                 : QStringLiteral("soubor neexistuje"))
                << Qt::endl;
            status = 2;
            continue;
        }
        // Read as the editor reads it: UTF-8 or code page 1250, line ends made CR LF.
        EditorCore e;
        e.SetText(std::string_view(doc.data.get(), doc.size));
        const CheckResult r = CheckDocument(e);
        if (r.code == 0) {
            out << file << ": Ok" << Qt::endl;
            continue;
        }
        const int pos = std::clamp(r.position, 1, e.TextLength() + 1);
        const int line = e.LineOfPos(pos);
        out << file << ':' << line << ':' << (pos - e.LineStart(line) + 1) << ": " << CheckResultText(r) << Qt::endl;
        status = std::max(status, 1);
    }
    return status;
}

} // namespace xo
