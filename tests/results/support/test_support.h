// Small helpers shared by the results program's tests: a scratch race folder and
// conversions between the program's CP932 text and the UTF-8 of test expectations.
#pragma once
#include <string>

namespace test_support {

// A fresh folder under the system's temporary folder, removed with everything in it
// when the object goes away. The constructor makes it the current folder when asked,
// and the destructor returns to the folder that was current before.
class ScratchDir {
 public:
  explicit ScratchDir(bool enter = true);
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  // Full path of a file inside the folder.
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
  std::string previous_;
};

// CP932 bytes to UTF-8 and back (glibc iconv); throws on bytes that do not convert.
std::string to_utf8(const std::string& cp932);
std::string to_cp932(const std::string& utf8);

// Whole file contents as bytes ("" when missing), and writing bytes as they are.
std::string read_bytes(const std::string& path);
void write_bytes(const std::string& path, const std::string& bytes);

// Copies every regular file of one folder into another (sample race, fixtures).
void copy_folder_files(const std::string& from, const std::string& to);

}  // namespace test_support
