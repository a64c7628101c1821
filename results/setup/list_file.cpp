#include "results/setup/list_file.h"

#include <cctype>

#include "results/model/event_definition.h"
#include "results/shell/console.h"
#include "results/shell/options.h"
#include "results/shell/sjis.h"

namespace {

constexpr const char* kSource = "HKBINIT1";

// Reads one line of at most kListLineBytes; the rest of a longer line is dropped, so
// that it neither becomes a line of its own nor shifts the line numbers.
bool read_list_line(Stream& in, std::string& line) {
  if (!in.read_line(line, kListLineBytes + 2)) return false;
  if (!line.empty() && line.back() != '\n' && !in.at_end()) {
    std::string rest;
    while (in.read_line(rest, kListLineBytes) && !rest.empty() && rest.back() != '\n') {
    }
  }
  strip_newline(line);
  if (line.size() > kListLineBytes) line.resize(cut_length(line, kListLineBytes));
  return true;
}

}  // namespace

std::string list_separators_from_fs(const std::string& value) {
  if (value.empty()) return " \t";
  if (value == "Tab") return "\t";
  if (value.size() == 1) return value;
  return "";
}

std::string list_field_pattern(const std::string& separators) {
  if (separators == " \t") return "\\s+(\\S*)";
  const unsigned char c = static_cast<unsigned char>(separators[0]);
  std::string sep;
  // A backslash before a character that is not a letter or digit makes it literal, in a
  // class too; letters and digits stand for themselves.
  if (c < 0x80 && !std::isalnum(c)) sep += '\\';
  sep += static_cast<char>(c);
  return sep + "([^" + sep + "]*)";
}

ListFileReader::ListFileReader(const char* file) : file_(file), in_(open_retry(file, "r")) {}

bool ListFileReader::next(std::string& line) {
  std::string raw;
  while (read_list_line(in_, raw)) {
    ++line_no_;
    const char* pos = skip_blanks(raw.c_str());
    if (*pos == '*') return false;
    if (std::isdigit(static_cast<unsigned char>(*pos))) {
      line = pos;
      return true;
    }
    std::string fs;
    if (!valofkey(pos, "FS", fs)) continue;
    std::string chosen = list_separators_from_fs(fs);
    if (!chosen.empty()) {
      separators_ = std::move(chosen);
      continue;
    }
    con_print("\nファイル \"%s\" の FS= 指定が不正です\n", file_);
    con_print("%d 行目\n", line_no_);
    if (fs == "Length") con_print("FS=%s の指定は ver3.40 からできなくなりました\n", "Length");
    in_.close();
    fix_prompt(file_);
  }
  return false;
}

ListFields::ListFields(const std::string& line, const std::string& separators)
    : line_(line),
      separators_(separators),
      pattern_(new_regex(list_field_pattern(separators), 0, kSource, 1)) {
  while (pos_ < line_.size() && std::isdigit(static_cast<unsigned char>(line_[pos_]))) {
    if (team_no_ < 10000) team_no_ = team_no_ * 10 + (line_[pos_] - '0');
    ++pos_;
  }
  if (team_no_ > 99999) team_no_ = 99999;
}

bool ListFields::next(ListField& field) {
  if (pos_ > line_.size()) return false;
  const std::string_view rest(line_.data() + pos_, line_.size() - pos_);
  if (!regex_match(*pattern_, rest, kSource, 2)) return false;
  const RegMatch whole = pattern_->matches()[0];
  const RegMatch group = pattern_->matches()[1];
  field.start = pos_ + group.start;
  field.written = std::string(rest.substr(group.start, group.end - group.start));
  // An empty match cannot move on by itself: step past it.
  pos_ += whole.end > 0 ? whole.end : 1;
  return true;
}

std::string ListFields::stored(const ListField& field, std::size_t size) const {
  std::string copy;
  take_token(copy, field.written.c_str(), size, separators_.c_str());
  return trimmed(copy, true);
}
