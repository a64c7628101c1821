#include "print/ui/command_line.h"

#include <cctype>

namespace txp {

std::vector<std::string> SplitCommandLine(const std::string& text) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i >= text.size()) break;
    std::string token;
    bool quoted = false;
    for (; i < text.size(); ++i) {
      const char c = text[i];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && (c == ' ' || c == '\t')) {
        break;
      } else {
        token += c;
      }
    }
    tokens.push_back(std::move(token));
  }
  return tokens;
}

namespace {

std::string Lowered(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The text after the dash is the one-letter form or the long name with its second dash.
bool IsOption(const std::string& lowered, const char* letter, const char* long_name) {
  const std::string after = lowered.substr(1);
  return after == letter || after == long_name;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& tokens, const FormatList& formats) {
  CommandLine result;
  auto refuse = [&result](std::string message) {
    CommandLine failed;
    failed.ok = false;
    failed.message = std::move(message);
    failed.help_requests = result.help_requests;
    return failed;
  };
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const std::string& token = tokens[i];
    if (token.empty() || token[0] != '-') {
      result.path = token;  // the last one wins
      continue;
    }
    const std::string option = Lowered(token);
    if (IsOption(option, "p", "-print")) {
      result.options |= kOptionPrint;
    } else if (IsOption(option, "q", "-quit")) {
      result.options |= kOptionQuit;
    } else if (IsOption(option, "s", "-set")) {
      if (i + 1 >= tokens.size()) return refuse("書式名が指定されていません.");
      const std::string& name = tokens[++i];
      const int index = FormatIndexByName(formats, name);
      if (index < 0) return refuse("書式名「" + name + "」はありません.");
      result.format_index = index;
    } else if (IsOption(option, "h", "-help")) {
      ++result.help_requests;
    } else {
      return refuse("オプション「" + option + "」が間違っています.");
    }
  }
  return result;
}

}  // namespace txp
