// Streams registered in one list, the explaining opens, close-all, file tests and facts.
#include "results/shell/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "results/shell/console.h"
#include "results/shell/program_info.h"
#include "results/shell/sjis.h"
#include "results/shell/stops.h"

namespace {

// The process-wide list of open streams (most recently opened first).
Stream* g_open_streams = nullptr;

constexpr int kCtrlZ = 0x1A;

bool ascii_equal_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// The mode handed to fopen: binary always (text is converted here), close-on-exec so
// that started programs do not inherit the program's files.
std::string c_mode(const char* mode) {
  std::string out;
  for (const char* p = mode; *p != '\0'; ++p) {
    if (*p != 't' && *p != 'b') out.push_back(*p);
  }
  return out + "e";
}

bool mode_writes(const char* mode) {
  return mode[0] == 'w' || mode[0] == 'a' || (mode[0] != '\0' && mode[1] == '+') ||
         (mode[0] != '\0' && mode[1] != '\0' && mode[2] == '+');
}

bool access_denied(int err) {
  return err == EACCES || err == EPERM || err == EROFS || err == ETXTBSY || err == EBUSY;
}

// The system's error text as CP932 for the console.
std::string error_text(int err) { return utf8_to_cp932(std::strerror(err)); }

}  // namespace

// ---------------------------------------------------------------------------------------
// Stream

Stream::~Stream() { close(); }

Stream::Stream(Stream&& other) noexcept { take_from(other); }

Stream& Stream::operator=(Stream&& other) noexcept {
  if (this != &other) {
    close();
    take_from(other);
  }
  return *this;
}

void Stream::take_from(Stream& other) {
  bool was_open = other.is_open();
  if (was_open) other.unlink();
  file_ = other.file_;
  name_ = std::move(other.name_);
  text_ = other.text_;
  eof_ = other.eof_;
  other.file_ = nullptr;
  other.eof_ = false;
  if (was_open) link();
}

void Stream::link() {
  prev_ = nullptr;
  next_ = g_open_streams;
  if (next_ != nullptr) next_->prev_ = this;
  g_open_streams = this;
}

void Stream::unlink() {
  if (prev_ != nullptr) {
    prev_->next_ = next_;
  } else if (g_open_streams == this) {
    g_open_streams = next_;
  }
  if (next_ != nullptr) next_->prev_ = prev_;
  prev_ = next_ = nullptr;
}

int Stream::get_char() {
  if (file_ == nullptr || (text_ && eof_)) return EOF;
  int c = getc_unlocked(file_);
  if (c == EOF) {
    eof_ = true;
    return EOF;
  }
  if (!text_) return c;
  if (c == kCtrlZ) {
    eof_ = true;  // the end mark of old DOS editors: nothing after it is text
    return EOF;
  }
  if (c == '\r') {
    int next = getc_unlocked(file_);
    if (next == '\n') return '\n';
    if (next != EOF) ungetc(next, file_);
  }
  return c;
}

bool Stream::read_line(std::string& line, std::size_t max_bytes) {
  line.clear();
  if (max_bytes <= 1) return false;
  while (line.size() < max_bytes - 1) {
    int c = get_char();
    if (c == EOF) break;
    line.push_back(static_cast<char>(c));
    if (c == '\n') break;
  }
  return !line.empty();
}

std::size_t Stream::read(void* buffer, std::size_t bytes) {
  if (file_ == nullptr) return 0;
  std::size_t n = std::fread(buffer, 1, bytes, file_);
  if (n < bytes) eof_ = std::feof(file_) != 0;
  return n;
}

std::size_t Stream::write(const void* buffer, std::size_t bytes) {
  if (file_ == nullptr) return 0;
  return std::fwrite(buffer, 1, bytes, file_);
}

bool Stream::put_char(char c) {
  if (file_ == nullptr) return false;
  if (text_ && c == '\n' && putc_unlocked('\r', file_) == EOF) return false;
  return putc_unlocked(static_cast<unsigned char>(c), file_) != EOF;
}

bool Stream::write_text(std::string_view text) {
  if (file_ == nullptr) return false;
  if (!text_) return std::fwrite(text.data(), 1, text.size(), file_) == text.size();
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t nl = text.find('\n', start);
    std::size_t end = nl == std::string_view::npos ? text.size() : nl;
    if (std::fwrite(text.data() + start, 1, end - start, file_) != end - start) return false;
    if (nl == std::string_view::npos) break;
    if (std::fwrite("\r\n", 1, 2, file_) != 2) return false;
    start = nl + 1;
  }
  return true;
}

int Stream::printf(const char* format, ...) {
  char small[512];
  std::va_list args;
  va_start(args, format);
  int n = std::vsnprintf(small, sizeof small, format, args);
  va_end(args);
  if (n < 0) return n;
  if (static_cast<std::size_t>(n) < sizeof small) return write_text({small, static_cast<std::size_t>(n)}) ? n : -1;
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(big.data(), big.size(), format, args);
  va_end(args);
  big.pop_back();
  return write_text(big) ? n : -1;
}

bool Stream::seek(long offset, int whence) {
  if (file_ == nullptr) return false;
  eof_ = false;
  return std::fseek(file_, offset, whence) == 0;
}

long Stream::tell() { return file_ == nullptr ? -1L : std::ftell(file_); }

bool Stream::flush() { return file_ != nullptr && std::fflush(file_) == 0; }

bool Stream::has_error() const { return file_ != nullptr && std::ferror(file_) != 0; }

int Stream::close() {
  if (file_ == nullptr) return 0;
  unlink();
  std::FILE* f = file_;
  file_ = nullptr;
  eof_ = false;
  return std::fclose(f) == 0 ? 0 : EOF;
}

// ---------------------------------------------------------------------------------------
// Opening and closing

Stream open_stream(const std::string& name, const char* mode) {
  Stream s;
  std::FILE* f = std::fopen(os_file_name(name).c_str(), c_mode(mode).c_str());
  if (f == nullptr) return s;
  struct stat st {};
  if (::fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
    // A folder is not a file to read, although the C library would open it.
    std::fclose(f);
    errno = EISDIR;
    return s;
  }
  s.file_ = f;
  s.name_ = name;
  s.text_ = std::strchr(mode, 'b') == nullptr;
  s.link();
  return s;
}

Stream open_retry(const std::string& name, const char* mode) {
  for (;;) {
    Stream s = open_stream(name, mode);
    if (s) return s;
    int err = errno;
    con_print("\n\"%s\" のオープンに失敗しました(mode=%s)\n", name.c_str(), mode);
    con_print("%s\n", error_text(err).c_str());
    if (err == ENOENT) {
      if (mode[0] == 'r') con_print("\"%s\" が存在しません\n", name.c_str());
    } else if (access_denied(err) && mode_writes(mode)) {
      con_print("\"%s\" を他のソフトで開いていたら閉じてください\n", name.c_str());
      int key = ask_choice("再試行しますか？（Y / N）", "YyNn");
      con_print("\n");
      if (key == 'Y' || key == 'y') continue;
    }
    ask_choice("メニューへ戻ります（Y）", "Yy");
    back_to_main_menu();
  }
}

Stream open_or_stop(const std::string& name, const char* mode) {
  Stream s = open_stream(name, mode);
  if (!s) {
    con_print("\n%s: \"%s\" のオープンに失敗しました\n", program_path().c_str(), name.c_str());
    abnormal_end();
  }
  return s;
}

void close_or_stop(Stream& stream) {
  if (stream.close() != 0) {
    con_print("\n%s: ファイルのクローズに失敗しました\n", program_path().c_str());
    abnormal_end();
  }
}

int close_all(bool report) {
  int count = 0;
  bool failed = false;
  while (g_open_streams != nullptr) {
    ++count;
    if (g_open_streams->close() != 0) failed = true;
  }
  if (failed) {
    con_print("fcloseall() error\n");
    std::exit(1);
  }
  if (count > 0 && report) {
    con_print("\n%d 個の stream を close しました\n", count);
    con_print("\n警告を確認したら Y を入力[ ]");
    cursor_back(2);
    for (;;) {
      int key = read_key();
      if (key == 'Y' || key == 'y') break;
    }
  }
  return count;
}

int open_stream_count() {
  int n = 0;
  for (Stream* s = g_open_streams; s != nullptr; s = s->next_) ++n;
  return n;
}

void copy_file(const std::string& source, const std::string& target) {
  Stream in = open_retry(source, "rb");
  Stream out = open_retry(target, "wb");
  char buffer[8192];
  std::size_t n;
  while ((n = in.read(buffer, sizeof buffer)) > 0) {
    if (out.write(buffer, n) != n) {
      con_print("\n%s: \"%s\" への書き込みに失敗しました\n", program_path().c_str(),
                target.c_str());
      abnormal_end();
    }
  }
  close_or_stop(out);
  in.close();
}

void remove_or_stop(const std::string& name) {
  if (!remove_file(name)) {
    con_print("%s: can't unlink %s\n", program_path().c_str(), name.c_str());
    fatal_stop();
  }
}

bool remove_file(const std::string& name) { return std::remove(os_file_name(name).c_str()) == 0; }

bool rename_file(const std::string& from, const std::string& to) {
  return std::rename(os_file_name(from).c_str(), os_file_name(to).c_str()) == 0;
}

// ---------------------------------------------------------------------------------------
// Tests and file facts

bool file_exists(const std::string& name) { return ::access(os_file_name(name).c_str(), F_OK) == 0; }

bool file_accessible(const std::string& name) {
  if (::access(os_file_name(name).c_str(), F_OK) == 0) return true;
  int err = errno;
  if (err == ENOENT || err == ENOTDIR) {
    con_print("\n\"%s\" パスまたはファイルが見つかりません\n", name.c_str());
  } else if (err == EACCES) {
    con_print("\n\"%s\" アクセスが否定されています\n", name.c_str());
  } else {
    con_print("\n\"%s\" access()エラー\n", name.c_str());
  }
  return false;
}

bool is_folder(const std::string& name) {
  DIR* dir = ::opendir(os_file_name(name).c_str());
  if (dir == nullptr) return false;
  ::closedir(dir);
  return true;
}

LocalDateTime to_local_date_time(std::int64_t seconds_since_epoch) {
  std::time_t t = static_cast<std::time_t>(seconds_since_epoch);
  std::tm tm{};
  localtime_r(&t, &tm);
  return LocalDateTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                       tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

std::optional<LocalDateTime> file_modified_at(const std::string& name) {
  struct stat st {};
  if (::stat(os_file_name(name).c_str(), &st) != 0) return std::nullopt;
  return to_local_date_time(st.st_mtime);
}

std::uint32_t file_time(const std::string& name) {
  std::optional<LocalDateTime> t = file_modified_at(name);
  if (!t) return 0;
  if (t->year < 1980) return (1u << 5 | 1u) << 16;  // the DOS form starts on 1980-01-01
  if (t->year > 2107) t->year = 2107;
  std::uint32_t date = static_cast<std::uint32_t>((t->year - 1980) * 512 + t->month * 32 + t->day);
  std::uint32_t time =
      static_cast<std::uint32_t>(t->hour * 2048 + t->minute * 32 + t->second / 2);
  return date << 16 | time;
}

int compare_file_times(std::uint32_t a, std::uint32_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

int same_file(const std::string& a, const std::string& b) {
  int fa = ::open(os_file_name(a).c_str(), O_RDONLY | O_CLOEXEC);
  if (fa < 0) return -1;
  int fb = ::open(os_file_name(b).c_str(), O_RDONLY | O_CLOEXEC);
  if (fb < 0) {
    ::close(fa);
    return -2;
  }
  struct stat sa {}, sb {};
  int result;
  if (::fstat(fa, &sa) != 0) {
    result = -3;
  } else if (::fstat(fb, &sb) != 0) {
    result = -4;
  } else {
    result = sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino ? 0 : 1;
  }
  ::close(fa);
  ::close(fb);
  return result;
}

std::string os_file_name(const std::string& name) {
  std::string path = cp932_to_utf8(name);
  struct stat st {};
  if (path.empty() || ::lstat(path.c_str(), &st) == 0) return path;
  // Missing: look for exactly one name in the same folder that differs only in case.
  std::size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return path;
  std::string found;
  int matches = 0;
  while (dirent* entry = ::readdir(dir)) {
    if (ascii_equal_ignoring_case(entry->d_name, base)) {
      ++matches;
      found = entry->d_name;
    }
  }
  ::closedir(dir);
  if (matches != 1) return path;
  return slash == std::string::npos ? found : path.substr(0, slash + 1) + found;
}
