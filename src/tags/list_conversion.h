#pragma once
// The catalogue's conversions of selected lines into lists, and the text of
// an image map; plain operations over the active document.

#include <string>
#include <string_view>

namespace xo {

// "<UL" + attributes + ">" … "</UL>" (letter U or O) around the selection,
// each selected line but the last prefixed with " <LI>" ("<P>" when empty).
void ListConversion(char letter, std::string_view attributes);
// The same with DL: indented lines become " <DD>" definitions, others " <DT>" terms.
void DefinitionListConversion();

// The map number every image map gets: the program never changes it.
constexpr int kMapNumber = 1;
// The image tag with its usemap reference, then the MAP skeleton with the
// caret inside the empty href of its AREA.
void InsertImageMap(std::string imageTag);

} // namespace xo
