#pragma once
// The document tools that work on the whole text: plain-text export, the
// line-end switch and the removal of Czech diacritics.

#include <array>
#include <string>
#include <string_view>

namespace xo {

class EditorCore;

// The text without tags, SCRIPT elements and the seven entities; `strays`
// counts the messages the export shows (a ">" outside a tag, a "<" without ">").
std::string ExportedText(std::string_view text, int &strays);
// The command: the export, the save dialog, the file written safely.
void ExportActiveDocument();

// Every accented Czech letter of code page 1250 becomes its plain letter.
const std::array<char, 256> &DiacriticsTable();
void RemoveDiacritics(std::string &text);
// The command: not undoable, marks the document modified.
void RemoveDiacriticsFromActiveDocument();

void SwitchLineEndsOfActiveDocument();
// UTF-8 and code page 1250, the next save writes the other one.
void SwitchEncodingOfActiveDocument();

} // namespace xo
