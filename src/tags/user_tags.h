#pragma once
// The user's own tags and text styles written into the active document.

#include <QDateTime>
#include <string>

namespace xo {

// Replaces "^COPY", "^DATUM", "^CAS" and "^XO!" in a user tag's text; at an
// unknown macro, `bad` gets it and the rest stays as written.
std::string ExpandMacros(const std::string &text, const QDateTime &now, std::string &bad);

// User tag u (1..50) and style s (1..50) at the active document's selection.
void InsertUserTag(int u);
void ApplyStyle(int s);

} // namespace xo
