// Shift-JIS (CP932) text helpers.
#include "results/shell/sjis.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace {

bool is_full_width_space(const char* p) {
  return static_cast<unsigned char>(p[0]) == 0x81 && static_cast<unsigned char>(p[1]) == 0x40;
}

// Bytes of the character that starts at p (1, or 2 for a complete two-byte character).
std::size_t char_length(std::string_view text, std::size_t i) {
  return is_lead_byte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Converts with iconv; a byte sequence that does not convert is copied as it is.
std::string convert(std::string_view text, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::string out;
  out.reserve(text.size() * 3 / 2 + 4);
  char* in = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  char buffer[256];
  while (in_left > 0) {
    char* dst = buffer;
    std::size_t dst_left = sizeof buffer;
    std::size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
    out.append(buffer, dst - buffer);
    if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
      // EILSEQ or EINVAL: keep the offending byte and go on after it.
      out.push_back(*in);
      ++in;
      --in_left;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

}  // namespace

std::size_t cut_length(std::string_view text, std::size_t max_bytes) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = char_length(text, i);
    if (i + n > max_bytes) break;
    i += n;
  }
  return i;
}

std::string cut_text(std::string_view text, std::size_t max_bytes) {
  return std::string(text.substr(0, cut_length(text, max_bytes)));
}

std::string cp932_to_utf8(std::string_view cp932) { return convert(cp932, "UTF-8", "CP932"); }
std::string utf8_to_cp932(std::string_view utf8) { return convert(utf8, "CP932", "UTF-8"); }

void strip_newline(std::string& text) {
  if (!text.empty() && text.back() == '\n') text.pop_back();
}

void trim_white(std::string& text) {
  while (!text.empty() && std::strchr(" \t\n\r\v\f", text.back()) && text.back() != '\0')
    text.pop_back();
}

int trim_blanks(std::string& text) {
  // Find the end of the last character that is not a blank, walking forward so that a
  // trail byte 0x40 is never taken for half of a full-width space.
  std::size_t keep = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = char_length(text, i);
    bool blank = (n == 1 && (text[i] == ' ' || text[i] == '\t')) ||
                 (n == 2 && is_full_width_space(&text[i]));
    i += n;
    if (!blank) keep = i;
  }
  int removed = static_cast<int>(text.size() - keep);
  text.resize(keep);
  return removed;
}

const char* skip_blanks(const char* pos) {
  for (;;) {
    if (*pos == ' ' || *pos == '\t') {
      ++pos;
    } else if (is_full_width_space(pos)) {
      pos += 2;
    } else {
      return pos;
    }
  }
}

const char* skip_white(const char* pos) {
  while (*pos != '\0' && std::strchr(" \t\n\r\v\f", *pos)) ++pos;
  return pos;
}

const char* skip_digits(const char* pos) {
  while (*pos >= '0' && *pos <= '9') ++pos;
  return pos;
}

const char* skip_to_separator(const char* pos, const char* separators) {
  while (*pos != '\0') {
    if (is_lead_byte(static_cast<unsigned char>(*pos)) && pos[1] != '\0') {
      pos += 2;
    } else if (std::strchr(separators, *pos)) {
      return pos;
    } else {
      ++pos;
    }
  }
  return pos;
}

const char* take_token(std::string& target, const char* pos, std::size_t size,
                       const char* separators) {
  target.clear();
  if (size == 0) return pos;
  bool tab_separates = std::strchr(separators, '\t') != nullptr;
  while (*pos != '\0') {
    if (is_lead_byte(static_cast<unsigned char>(*pos)) && pos[1] != '\0') {
      if (target.size() + 2 > size - 1) break;
      target.append(pos, 2);
      pos += 2;
      continue;
    }
    if (std::strchr(separators, *pos)) break;
    if (target.size() + 1 > size - 1) break;
    target.push_back(*pos == '\t' && !tab_separates ? ' ' : *pos);
    ++pos;
  }
  return pos;
}

std::string remove_characters(std::string_view source, std::string_view set) {
  // Split the set into its characters once.
  auto in_set = [&](std::string_view ch) {
    for (std::size_t j = 0; j < set.size();) {
      std::size_t n = char_length(set, j);
      if (set.substr(j, n) == ch) return true;
      j += n;
    }
    return false;
  };
  std::string out;
  for (std::size_t i = 0; i < source.size();) {
    std::size_t n = char_length(source, i);
    std::string_view ch = source.substr(i, n);
    if (!in_set(ch)) out.append(ch);
    i += n;
  }
  return out;
}

std::string remove_bracketed(std::string_view source, char open, char close) {
  std::string out;
  int depth = open == '\0' ? 1 : 0;
  for (std::size_t i = 0; i < source.size();) {
    std::size_t n = char_length(source, i);
    if (n == 1 && open != '\0' && source[i] == open) {
      ++depth;
    } else if (n == 1 && source[i] == close && depth > 0) {
      --depth;
    } else if (depth == 0) {
      out.append(source.substr(i, n));
    }
    i += n;
  }
  return out;
}

namespace {

// Full-width forms of the half-width katakana 0xA1-0xDF (CP932 two-byte codes).
constexpr unsigned short kKatakanaFullWidth[] = {
    0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342, 0x8344, 0x8346,
    0x8348, 0x8383, 0x8385, 0x8387, 0x8362, 0x815B, 0x8341, 0x8343, 0x8345, 0x8347,
    0x8349, 0x834A, 0x834C, 0x834E, 0x8350, 0x8352, 0x8354, 0x8356, 0x8358, 0x835A,
    0x835C, 0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8369, 0x836A, 0x836B, 0x836C,
    0x836D, 0x836E, 0x8371, 0x8374, 0x8377, 0x837A, 0x837D, 0x837E, 0x8380, 0x8381,
    0x8382, 0x8384, 0x8386, 0x8388, 0x8389, 0x838A, 0x838B, 0x838C, 0x838D, 0x838F,
    0x8393, 0x814A, 0x814B};

// Full-width forms of ASCII 0x20-0x7E.
constexpr unsigned short kAsciiFullWidth[] = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, 0x8169, 0x816A,
    0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E, 0x824F, 0x8250, 0x8251, 0x8252,
    0x8253, 0x8254, 0x8255, 0x8256, 0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181,
    0x8184, 0x8148, 0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266,
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E, 0x826F, 0x8270,
    0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276, 0x8277, 0x8278, 0x8279, 0x816D,
    0x818F, 0x816E, 0x814F, 0x8151, 0x814D, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285,
    0x8286, 0x8287, 0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F,
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297, 0x8298, 0x8299,
    0x829A, 0x816F, 0x8162, 0x8170, 0x8160};

}  // namespace

std::string to_full_width(std::string_view source) {
  std::string out;
  for (std::size_t i = 0; i < source.size();) {
    std::size_t n = char_length(source, i);
    unsigned char c = static_cast<unsigned char>(source[i]);
    unsigned short wide = 0;
    if (n == 1 && c >= 0x20 && c <= 0x7E) wide = kAsciiFullWidth[c - 0x20];
    if (n == 1 && c >= 0xA1 && c <= 0xDF) wide = kKatakanaFullWidth[c - 0xA1];
    if (wide != 0) {
      out.push_back(static_cast<char>(wide >> 8));
      out.push_back(static_cast<char>(wide & 0xFF));
    } else {
      out.append(source.substr(i, n));
    }
    i += n;
  }
  return out;
}
