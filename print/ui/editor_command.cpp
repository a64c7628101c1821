#include "print/ui/editor_command.h"

namespace txp {

std::string BuildEditorCommand(const std::string& editor_template, const std::string& path, int line) {
  std::string out;
  for (std::size_t i = 0; i < editor_template.size(); ++i) {
    const char c = editor_template[i];
    if (c != '$') {
      out += c;
      continue;
    }
    if (i + 1 >= editor_template.size()) break;
    const char next = editor_template[++i];
    if (next == '$') {
      out += '$';
    } else if (next == 'F' || next == 'f') {
      out += path;
    } else if (next == 'L' || next == 'l') {
      out += std::to_string(line);
    }
  }
  return out;
}

}  // namespace txp
