// Where the program file is, the debug flag and the build stamp.
#include "results/shell/program_info.h"

#include <unistd.h>

#include <climits>

#include "results/shell/sjis.h"

#ifndef HAKOBU_BUILD_EPOCH
#define HAKOBU_BUILD_EPOCH 0
#endif

namespace {

std::string& stored_program_path() {
  static std::string path = "hakobu32";
  return path;
}

bool g_debug_flag = false;

}  // namespace

void set_program_path(const char* argv0) {
  char buffer[PATH_MAX + 1];
  ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
  if (n > 0) {
    stored_program_path() = utf8_to_cp932(std::string(buffer, static_cast<std::size_t>(n)));
  } else if (argv0 != nullptr) {
    stored_program_path() = argv0;
  }
}

const std::string& program_path() { return stored_program_path(); }

std::string program_folder() {
  const std::string& path = program_path();
  // The last "/" that is a single-byte character (CP932 text).
  std::size_t end = 0;
  for (std::size_t i = 0; i < path.size();) {
    if (is_lead_byte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
      i += 2;
      continue;
    }
    if (path[i] == '/') end = i + 1;
    ++i;
  }
  return path.substr(0, end);
}

bool debug_flag() { return g_debug_flag; }
void set_debug_flag(bool on) { g_debug_flag = on; }

bool debug_flag_in_arguments(int argc, const char* const argv[]) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (arg == nullptr || arg[0] != '-') continue;
    for (const char* p = arg + 1; *p != '\0'; ++p) {
      if (*p == 'd' || *p == 'D') return true;
    }
  }
  return false;
}

std::optional<LocalDateTime> exe_timestamp() {
  long long epoch = HAKOBU_BUILD_EPOCH;
  if (epoch <= 0) return std::nullopt;
  return to_local_date_time(epoch);
}
