#include "results/reports/detail_files_common.h"

#include <cstring>

#include "results/shell/console.h"
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
