// Files of the results program: streams registered in one process-wide list, the
// opens that explain a failure (retry or back to the main menu) or stop the program,
// the close-all of the main loop, file tests and facts.
//
// Names are CP932 text like everything else inside the program; they are converted to
// UTF-8 at the operating-system boundary. When a name in a folder does not exist and
// exactly one name there differs from it only in letter case (eki.txt for EKI.TXT, a
// race folder copied from Windows), that one is used.
//
// A mode without "b" is text mode: reading drops the CR of every CR LF and a byte 0x1A
// ends the file; writing turns every LF into CR LF. Binary mode moves bytes unchanged.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

class Stream {
 public:
  Stream() = default;
  ~Stream();  // closes the file
  Stream(Stream&& other) noexcept;
  Stream& operator=(Stream&& other) noexcept;
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  bool is_open() const { return file_ != nullptr; }
  explicit operator bool() const { return is_open(); }
  const std::string& name() const { return name_; }
  bool text_mode() const { return text_; }

  // One character (text mode: CR LF read as LF, 0x1A ends the file), or EOF.
  int get_char();
  // Like fgets: at most max_bytes - 1 bytes, up to and including a "\n". False at the
  // end of the file when nothing was read. The line replaces what `line` held.
  bool read_line(std::string& line, std::size_t max_bytes = 1000);
  // Raw bytes (binary files); returns how many were read / written.
  std::size_t read(void* buffer, std::size_t bytes);
  std::size_t write(const void* buffer, std::size_t bytes);

  // Text output (LF becomes CR LF in text mode). False on a write error.
  bool put_char(char c);
  bool write_text(std::string_view text);
  int printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

  bool seek(long offset, int whence);  // SEEK_SET, SEEK_CUR, SEEK_END
  long tell();
  bool flush();
  bool at_end() const { return eof_; }
  bool has_error() const;
  // Closes the file; 0 on success, EOF when the close failed. Closing a closed stream is 0.
  int close();

 private:
  friend Stream open_stream(const std::string& name, const char* mode);
  friend int close_all(bool report);
  friend int open_stream_count();
  void link();
  void unlink();
  void take_from(Stream& other);

  std::FILE* file_ = nullptr;
  std::string name_;
  bool text_ = false;
  bool eof_ = false;
  Stream* prev_ = nullptr;  // the process-wide list of open streams
  Stream* next_ = nullptr;
};

// Opens without any message; the stream is not open on failure and errno tells why.
Stream open_stream(const std::string& name, const char* mode);
// Opens; on failure explains, offers "再試行しますか？（Y / N）" when another program
// holds a file open for writing, and otherwise (or on N) returns to the main menu.
// Never returns a stream that is not open.
Stream open_retry(const std::string& name, const char* mode);
// Opens; on failure prints the program path and the name, then abnormal_end().
Stream open_or_stop(const std::string& name, const char* mode);
// Closes; on failure prints the program path, then abnormal_end().
void close_or_stop(Stream& stream);
// Closes every open stream and returns how many were open. With report set and at
// least one stream, prints "%d 個の stream を close しました" and waits for Y or y.
int close_all(bool report);
// Number of streams open right now.
int open_stream_count();

// Copies source ("rb") into target ("wb"), both opened with open_retry.
void copy_file(const std::string& source, const std::string& target);
// Deletes the file; on failure prints "%s: can't unlink %s" and fatal_stop().
void remove_or_stop(const std::string& name);
// Deletes / renames quietly; false on failure (errno set).
bool remove_file(const std::string& name);
bool rename_file(const std::string& from, const std::string& to);

// The file can be accessed (existence test only); silent.
bool file_exists(const std::string& name);
// The same test; on failure prints why ("パスまたはファイルが見つかりません", ...).
bool file_accessible(const std::string& name);
// The name is a folder whose contents can be listed.
bool is_folder(const std::string& name);

// Last modification as packed DOS date and time in local time (date in the high 16
// bits); 0 when the file cannot be opened.
std::uint32_t file_time(const std::string& name);
// -1, 0, 1 comparing two file_time values as unsigned numbers.
int compare_file_times(std::uint32_t a, std::uint32_t b);
// 0 same file (device and inode), 1 different, -1 / -2 a / b cannot be opened,
// -3 / -4 the identity of a / b cannot be read.
int same_file(const std::string& a, const std::string& b);

// A local date and time.
struct LocalDateTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
LocalDateTime to_local_date_time(std::int64_t seconds_since_epoch);
// Last modification of a file in local time; nothing when it cannot be read.
std::optional<LocalDateTime> file_modified_at(const std::string& name);

// The UTF-8 path handed to the operating system for a CP932 name (with the letter-case
// fallback above applied).
std::string os_file_name(const std::string& name);
