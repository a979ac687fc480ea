#pragma once
#include <QString>

namespace xo {

// The title of an HTML file from its first 10,000 bytes: the text after the
// first "<TITLE>" (any case) up to the next "<", ">" or the end of what was
// read. Only regular files are read. False when there is no title.
bool ReadHtmlTitle(const QString &path, QString &title);

// The status text the file dialogs show for the file under the selection.
QString TitlePreviewText(const QString &path, bool openDialog);

} // namespace xo
