// The team and runner lists (TEAM.TXT, SENSYU.TXT): line by line, blanks at the start
// skipped, "*" ends the list, "FS=" chooses the field separator for the lines after it,
// a line that starts with a digit is a data line, every other line is a comment.
#pragma once
#include <cstddef>
#include <memory>
#include <string>

#include "results/shell/files.h"
#include "results/shell/regexp.h"

inline constexpr std::size_t kListLineBytes = 1000;

// The separators of an FS= value (" \t" for blanks, "\t", or the one character);
// empty for a value that is refused.
std::string list_separators_from_fs(const std::string& value);

// The field pattern for a set of separators; a separator character with a meaning in
// regular expressions is escaped, so every single character works.
std::string list_field_pattern(const std::string& separators);

class ListFileReader {
 public:
  // Opens the file with the retrying open.
  explicit ListFileReader(const char* file);

  // The next data line, from its first digit. False at the end of the list. A refused
  // FS= value is reported with its line and goes to fix_prompt.
  bool next(std::string& line);
  // The number of the line last read, counting every line.
  int line_no() const { return line_no_; }
  const std::string& separators() const { return separators_; }
  const char* file() const { return file_; }

 private:
  const char* file_;
  Stream in_;
  int line_no_ = 0;
  std::string separators_ = " \t";
};

// One field of a data line: the text as written (up to the next separator) and where
// it starts in the line.
struct ListField {
  std::string written;
  std::size_t start = 0;
};

// The team number at the start of a data line and the fields after it, taken one by one
// with the field pattern from the end of the previous match.
class ListFields {
 public:
  ListFields(const std::string& line, const std::string& separators);
  // The leading number (digits only; very long numbers are held at 99999).
  int team_no() const { return team_no_; }
  // False when no further field exists.
  bool next(ListField& field);
  // The field as stored in a fixed field of `size` bytes with its NUL: tabs as blanks
  // (unless the tab separates), cut without splitting a two-byte character, trimmed.
  std::string stored(const ListField& field, std::size_t size) const;

 private:
  const std::string& line_;
  std::string separators_;
  std::unique_ptr<RegExp> pattern_;
  std::size_t pos_ = 0;
  int team_no_ = 0;
};
