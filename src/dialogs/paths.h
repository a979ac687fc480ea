#pragma once
// Paths between the file system and references in tags: relative to the
// edited document where possible, resolved back to absolute paths when a
// tag is re-edited.

#include <QString>
#include <string>

namespace xo {

// True for "http:", "mailto:" and the like (two or more letters before the
// colon, so a drive letter is not a scheme).
bool HasUrlScheme(const QString &reference);

// File as seen from the directory of BaseFile ("../img/logo.gif"). When the
// two share nothing (a base that is not absolute) the message "Relativní
// cesta neexistuje" is shown and a file:// reference is returned. URLs come
// back unchanged.
QString RelativePath(const QString &baseFile, const QString &file);

// The absolute path a reference in the document BaseFile names. Only "../"
// climbs, "./" is dropped, "\" counts as "/"; URLs come back unchanged and
// "file://" references lose the scheme. A relative reference stays relative
// when BaseFile is not absolute (an unnamed document).
QString AbsolutePath(const QString &baseFile, const QString &path);

// A path or reference as document text (code page 1250); characters the code
// page cannot hold are percent-encoded as UTF-8. The inverse decodes exactly
// those escapes again.
std::string ReferenceText(const QString &reference);
QString ReferenceFromText(const std::string &text);

} // namespace xo
