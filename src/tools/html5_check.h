#pragma once
// The document check for today's pages: a page whose first tag is the
// HTML5 doctype is checked by the syntax of the HTML Living Standard (void
// elements, raw text, optional end tags, any quoting, foreign content);
// every other page keeps the old rules.

#include "document_check.h"

#include <string_view>

namespace xo {

// The first tag (after a byte-order mark, blanks and comments) is
// <!DOCTYPE html>, in any letter case, without a public identifier.
bool IsHtml5Document(std::string_view text);

// The first fault of a text in the editor's form; code 0 when there is none.
// The position is 1-based: the caret goes right before the fault.
CheckResult CheckHtml5(std::string_view text);

} // namespace xo
