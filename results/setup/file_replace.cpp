#include "results/setup/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "results/shell/console.h"
#include "results/shell/stops.h"

namespace {

WriteProbe g_probe = nullptr;

// fsync of a file or folder by name; false when it could not be done.
bool sync_path(const std::string& os_name, int flags) {
  const int fd = ::open(os_name.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

std::string folder_of(const std::string& os_name) {
  const std::size_t slash = os_name.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : os_name.substr(0, slash);
}

}  // namespace

void set_write_probe(WriteProbe probe) { g_probe = probe; }

void write_probe(const char* step, int count) {
  if (g_probe != nullptr) g_probe(step, count);
}

void replace_with(Stream& temp, const std::string& target) {
  const std::string temp_name = temp.name();
  const bool flushed = temp.flush() && !temp.has_error();
  if (!flushed || temp.close() != 0 || !sync_path(os_file_name(temp_name), O_RDONLY)) {
    con_print("\n%s を書き込めません (%s)\n", temp_name.c_str(), std::strerror(errno));
    fatal_stop();
  }
  write_probe("flushed", 0);
  if (!rename_file(temp_name, target)) {
    con_print("\n%s を %s に変更できません (%s)\n", temp_name.c_str(), target.c_str(),
              std::strerror(errno));
    fatal_stop();
  }
  sync_path(folder_of(os_file_name(target)), O_RDONLY | O_DIRECTORY);
  write_probe("renamed", 0);
}

TempFileGuard::~TempFileGuard() {
  if (!name_.empty() && file_exists(name_)) remove_file(name_);
}
