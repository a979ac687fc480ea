#pragma once
// `xo --check FILE...`: the document check without a window, for a shell or
// a CI job. Each file gives one line, "FILE: Ok" or "FILE:LINE:COLUMN: MESSAGE".

#include <QStringList>

class QTextStream;

namespace xo {

// 0 when every file passed, 1 when any has a fault, 2 when one could not be
// read (its reason on `err`).
int CheckFilesCommand(const QStringList &files, QTextStream &out, QTextStream &err);

} // namespace xo
