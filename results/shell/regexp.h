// Regular expressions over CP932 bytes (PCRE2, 8-bit, no UTF mode), with the POSIX-
// style contract the program is written against: compile flag kRegIcase makes a pattern
// case-insensitive; matching returns 0 (matched), kRegNoMatch (17) or another code for an
// error; the match array holds (start, end) byte offsets, -1 for a group that did not
// take part. "\s" is ASCII white space only; the full-width space is its two bytes.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kRegIcase = 1;
inline constexpr int kRegNoMatch = 17;

struct RegMatch {
  std::int32_t start = -1;
  std::int32_t end = -1;
};

class RegExp {
 public:
  // Compiles (regcomp); on failure prints the code and the library's error text and
  // leaves the object unusable (compile_result() != 0).
  RegExp(std::string_view pattern, int flags);
  ~RegExp();
  RegExp(const RegExp&) = delete;
  RegExp& operator=(const RegExp&) = delete;

  // Matches the text (not anchored unless the pattern says so). -1 when the pattern did
  // not compile; an error code other than 0 and 17 is printed.
  int regexec(std::string_view text);
  int compile_result() const { return compile_result_; }
  int group_count() const { return group_count_; }
  // group_count() + 10 slots; entry 0 the whole match, entry i group i.
  const std::vector<RegMatch>& matches() const { return matches_; }
  // Text of group i of the last successful match of text ("" when it did not take part).
  std::string group(std::string_view text, int i) const;

 private:
  struct Code;
  Code* code_ = nullptr;
  int compile_result_ = 0;
  int group_count_ = 0;
  std::vector<RegMatch> matches_;
};

// Compiles; on failure reports "<source>(<line>):正規表現コンパイルエラー" and fatal_stop().
std::unique_ptr<RegExp> new_regex(std::string_view pattern, int flags, const char* source,
                                  int line);
// Matches; true on a match; a matching error reports the source location and fatal_stop().
bool regex_match(RegExp& regex, std::string_view text, const char* source, int line);
// One-shot, case-sensitive: fills at most slots pairs of offsets and returns 0 or 17; a
// broken pattern or a matching error reports the pattern and abnormal_end().
int pattern_matching(std::string_view pattern, std::string_view text, int slots,
                     RegMatch* offsets);

// Cuts text after its last character that is not white space (ASCII, and with
// full_width the full-width space) and returns the position of its first such character.
char* trim(char* text, bool full_width);
// The same on a copy.
std::string trimmed(std::string_view text, bool full_width);
