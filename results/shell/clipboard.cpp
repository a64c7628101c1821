#include "results/shell/clipboard.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "results/shell/sjis.h"

extern char** environ;

namespace {

// The text waits in an unlinked temporary file that becomes the tool's standard input,
// so no pipe can fill up while the tool starts.
class InputFile {
 public:
  explicit InputFile(const std::string& text) {
    std::error_code ec;
    std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
    if (ec) folder = "/tmp";
    std::string pattern = (folder / "hakobu32-clip-XXXXXX").string();
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) return;
    unlink(pattern.c_str());
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = write(fd_, text.data() + done, text.size() - done);
      if (n <= 0) {
        ::close(fd_);
        fd_ = -1;
        return;
      }
      done += static_cast<std::size_t>(n);
    }
  }
  ~InputFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

// Runs a clipboard tool (found along PATH) with the text as its standard input; true when
// it started and ended with exit code 0. Its output goes nowhere, so it cannot disturb the
// screen.
bool run_tool(const std::vector<const char*>& argv, const InputFile& input) {
  if (input.fd() < 0 || lseek(input.fd(), 0, SEEK_SET) != 0) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input.fd(), STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args;
  for (const char* a : argv) args.push_back(const_cast<char*>(a));
  args.push_back(nullptr);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return false;
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string base64(const std::string& bytes) {
  static const char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                       static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += {kDigits[v >> 18], kDigits[v >> 12 & 63], kDigits[v >> 6 & 63], kDigits[v & 63]};
  }
  if (i < bytes.size()) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kDigits[v >> 18];
    out += kDigits[v >> 12 & 63];
    out += i + 1 < bytes.size() ? kDigits[v >> 6 & 63] : '=';
    out += '=';
  }
  return out;
}

// The terminal's own clipboard (OSC 52), for a session without a desktop clipboard tool.
// Only when the program's output is a terminal; the terminal gives no answer, so a
// complete write counts as success.
bool send_osc52(const std::string& text) {
  if (!isatty(STDOUT_FILENO)) return false;
  const std::string sequence = "\033]52;c;" + base64(text) + "\a";
  std::size_t done = 0;
  while (done < sequence.size()) {
    const ssize_t n = write(STDOUT_FILENO, sequence.data() + done, sequence.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool env_set(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool copy_to_clipboard(std::string_view cp932_text) {
  const std::string text = cp932_to_utf8(cp932_text);
  const InputFile input(text);
  if (env_set("WAYLAND_DISPLAY") && run_tool({"wl-copy"}, input)) return true;
  if (env_set("DISPLAY")) {
    if (run_tool({"xclip", "-selection", "clipboard", "-in"}, input)) return true;
    if (run_tool({"xsel", "--clipboard", "--input"}, input)) return true;
  }
  return send_osc52(text);
}
