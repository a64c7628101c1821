#include "results/reports/data_files.h"

#include <cstring>

#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/process.h"
#include "results/shell/sjis.h"

std::string record_text(const char* field, std::size_t size) {
  return std::string(field, strnlen(field, size));
}

void open_written_file(const char* file) {
  const int error = shell_open(file);
  if (error == 0) return;
  con_print("\n\"%s\" を開けません\n%s\n", file, utf8_to_cp932(std::strerror(error)).c_str());
  wait_confirm();
}

bool close_written_file(Stream& out, const char* file) {
  if (!out.has_error() && out.close() == 0) return true;
  con_print("\n%s を書き込めませんでした\n", file);
  wait_confirm();
  return false;
}

void confirm_merge_file_then_open(void (*open_document)()) {
  move_cursor(22, 10);
  const int answer = ask_choice("この差し込みファイルでよろしいですか？（Y / N）", "YyNn");
  if ((answer == 'Y' || answer == 'y') && open_document != nullptr) open_document();
}
