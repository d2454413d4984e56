// The XSL stylesheet written beside every XML document: it turns the
// document's CACHE into an HTML page with one CSS rule per STYLE and one
// table per LINES (nested LINES become nested tables, IMAGE an img element).
#pragma once

#include <string>

namespace kv {

// The stylesheet: a fixed ASCII text of 121 lines, each ended by CR LF.
const std::string& XMLStylesheetText();

}  // namespace kv
