// The regular-expression layer over PCRE2 (8-bit code units, no UTF mode).
#define PCRE2_CODE_UNIT_WIDTH 8
#include "results/shell/regexp.h"

#include <pcre2.h>

#include <cstring>

#include "results/shell/console.h"
#include "results/shell/program_info.h"
#include "results/shell/sjis.h"
#include "results/shell/stops.h"

struct RegExp::Code {
  pcre2_code* code = nullptr;
  pcre2_match_data* match_data = nullptr;
};

namespace {

// A two-byte character whose trail byte is ASCII punctuation (ソ is 0x83 0x5C, ポ is
// 0x83 0x7C) would otherwise turn into an escape or an alternation: write that trail
// byte as \x{HH}, so every double-byte character of a pattern stands for itself.
std::string protect_double_byte_characters(std::string_view pattern) {
  std::string out;
  out.reserve(pattern.size() + 8);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(pattern[i]);
    out.push_back(static_cast<char>(c));
    if (!is_lead_byte(c) || i + 1 >= pattern.size()) continue;
    unsigned char trail = static_cast<unsigned char>(pattern[++i]);
    bool punct = trail < 0x80 && !((trail >= '0' && trail <= '9') ||
                                   (trail >= 'A' && trail <= 'Z') ||
                                   (trail >= 'a' && trail <= 'z'));
    if (punct) {
      static const char kHex[] = "0123456789ABCDEF";
      out += "\\x{";
      out.push_back(kHex[trail >> 4]);
      out.push_back(kHex[trail & 0xF]);
      out.push_back('}');
    } else {
      out.push_back(static_cast<char>(trail));
    }
  }
  return out;
}

pcre2_code* compile(std::string_view pattern, int flags, int& error_code) {
  std::string safe = protect_double_byte_characters(pattern);
  PCRE2_SIZE error_offset = 0;
  std::uint32_t options = (flags & kRegIcase) != 0 ? PCRE2_CASELESS : 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(safe.data()), safe.size(),
                                   options, &error_code, &error_offset, nullptr);
  if (code != nullptr) error_code = 0;
  return code;
}

std::string error_message(int code) {
  PCRE2_UCHAR buffer[500];
  int n = pcre2_get_error_message(code, buffer, sizeof buffer);
  if (n < 0) return "unknown error";
  return std::string(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
}

// Runs the match and copies at most slots offset pairs; returns 0, kRegNoMatch, or the
// library's (negative) error code.
int execute(pcre2_code* code, pcre2_match_data* match_data, std::string_view text, int slots,
            RegMatch* out) {
  for (int i = 0; i < slots; ++i) out[i] = RegMatch{};
  int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0, 0,
                       match_data, nullptr);
  if (rc == PCRE2_ERROR_NOMATCH) return kRegNoMatch;
  if (rc < 0) return rc;
  const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(match_data);
  // rc pairs were set by this match; those after them hold nothing of it.
  for (int i = 0; i < slots && i < rc; ++i) {
    if (ovector[2 * i] == PCRE2_UNSET) continue;
    out[i].start = static_cast<std::int32_t>(ovector[2 * i]);
    out[i].end = static_cast<std::int32_t>(ovector[2 * i + 1]);
  }
  return 0;
}

bool is_white(std::string_view text, std::size_t i, bool full_width, std::size_t& length) {
  unsigned char c = static_cast<unsigned char>(text[i]);
  length = is_lead_byte(c) && i + 1 < text.size() ? 2 : 1;
  if (length == 1) return c == ' ' || (c >= '\t' && c <= '\r');
  return full_width && c == 0x81 && static_cast<unsigned char>(text[i + 1]) == 0x40;
}

// Start of the first and end of the last character that is not white space (walking
// character by character, so that no trail byte is taken for a blank).
void white_bounds(std::string_view text, bool full_width, std::size_t& start,
                  std::size_t& end) {
  start = std::string_view::npos;
  end = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n;
    bool white = is_white(text, i, full_width, n);
    if (!white) {
      if (start == std::string_view::npos) start = i;
      end = i + n;
    }
    i += n;
  }
  if (start == std::string_view::npos) start = end = 0;
}

}  // namespace

RegExp::RegExp(std::string_view pattern, int flags) : code_(new Code) {
  code_->code = compile(pattern, flags, compile_result_);
  if (code_->code == nullptr) {
    con_print("\nRegExp::regcomp()エラー\nrc=%d\n%s", compile_result_,
              cut_text(error_message(compile_result_), 499).c_str());
    return;
  }
  std::uint32_t captures = 0;
  pcre2_pattern_info(code_->code, PCRE2_INFO_CAPTURECOUNT, &captures);
  group_count_ = static_cast<int>(captures);
  code_->match_data = pcre2_match_data_create(captures + 10, nullptr);
  matches_.assign(captures + 10, RegMatch{});
}

RegExp::~RegExp() {
  pcre2_match_data_free(code_->match_data);
  pcre2_code_free(code_->code);
  delete code_;
}

int RegExp::regexec(std::string_view text) {
  if (compile_result_ != 0 || code_->code == nullptr) return -1;
  int rc = execute(code_->code, code_->match_data, text, static_cast<int>(matches_.size()),
                   matches_.data());
  if (rc != 0 && rc != kRegNoMatch) {
    con_print("\nRegExp::regexec()エラー\nrc=%d\n%s", rc, error_message(rc).c_str());
  }
  return rc;
}

std::string RegExp::group(std::string_view text, int i) const {
  if (i < 0 || i >= static_cast<int>(matches_.size())) return "";
  const RegMatch& m = matches_[i];
  if (m.start < 0 || m.end < m.start || static_cast<std::size_t>(m.end) > text.size()) return "";
  return std::string(text.substr(m.start, m.end - m.start));
}

std::unique_ptr<RegExp> new_regex(std::string_view pattern, int flags, const char* source,
                                  int line) {
  auto regex = std::make_unique<RegExp>(pattern, flags);
  if (regex->compile_result() != 0) {
    con_print("\n%s(%d):%s\n", source, line, "正規表現コンパイルエラー");
    regex.reset();
    fatal_stop();
  }
  return regex;
}

bool regex_match(RegExp& regex, std::string_view text, const char* source, int line) {
  int rc = regex.regexec(text);
  if (rc != 0 && rc != kRegNoMatch) {
    con_print("\n%s(%d):%s\n", source, line, "正規表現マッチンッグエラー");
    fatal_stop();
  }
  return rc == 0;
}

int pattern_matching(std::string_view pattern, std::string_view text, int slots,
                     RegMatch* offsets) {
  int error_code = 0;
  pcre2_code* code = compile(pattern, 0, error_code);
  if (code == nullptr) {
    con_print("\n%s error in %s\n", "regcomp()", "pattern_matching()");
    con_print("rc=%d\n", error_code);
    con_print("%s\n", error_message(error_code).c_str());
    con_print("%s\n", std::string(pattern).c_str());
    abnormal_end(program_path().c_str());
  }
  pcre2_match_data* match_data = pcre2_match_data_create_from_pattern(code, nullptr);
  int rc = execute(code, match_data, text, slots < 0 ? 0 : slots, offsets);
  pcre2_match_data_free(match_data);
  pcre2_code_free(code);
  if (rc != 0 && rc != kRegNoMatch) {
    con_print("\n%s error in %s\n", "regexec()", "pattern_matching()");
    con_print("rc=%d\n", rc);
    con_print("%s\n", error_message(rc).c_str());
    abnormal_end(program_path().c_str());
  }
  return rc;
}

char* trim(char* text, bool full_width) {
  std::size_t start, end;
  white_bounds(text, full_width, start, end);
  text[end] = '\0';
  return text + start;
}

std::string trimmed(std::string_view text, bool full_width) {
  std::size_t start, end;
  white_bounds(text, full_width, start, end);
  return std::string(text.substr(start, end - start));
}
