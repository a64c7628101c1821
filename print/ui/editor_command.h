// The external editor's command line, built from the Editor template of the options:
// $F = the document path, $L = the source line of the current page's first line, $$ = "$".
#pragma once

#include <string>

namespace txp {

// A dollar sign followed by any other character gives nothing (both are dropped); a dollar
// sign at the end ends the command line; every other character is copied.
std::string BuildEditorCommand(const std::string& editor_template, const std::string& path, int line);

}  // namespace txp
