// Helpers of the window and printing tests: scratch folders and CP932 documents.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "print/settings/store.h"

namespace txp_test {

// A folder removed at the end of the test.
struct ScratchFolder {
  std::filesystem::path path;
  ScratchFolder() {
    char pattern[] = "/tmp/txp-ui-XXXXXX";
    path = mkdtemp(pattern);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path); }
  std::filesystem::path operator/(const std::string& name) const { return path / name; }
};

// Writes UTF-8 text as a CP932 file with CR LF line ends, as the results program does.
inline void WriteCp932(const std::filesystem::path& file, const std::string& utf8) {
  std::string crlf;
  for (char c : utf8) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << txp::StoreTextFromUtf8(crlf, crlf.size() * 2 + 1);
}

// A report of three pages: a Japanese table, a page marked -X, a landscape page (-DY).
inline std::string ThreePageReport() {
  return "大会結果一覧\n"
         "┌──┬──┐\n"
         "│１　│２　│\n"
         "└──┴──┘\n"
         "\f-X\n"
         "このページは印刷しない\n"
         "\f-DY\n"
         "横向きのページ\n";
}

}  // namespace txp_test
