#include "support/test_support.h"

#include <iconv.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace test_support {

ScratchDir::ScratchDir(bool enter) {
  std::string pattern = (fs::temp_directory_path() / "hakobu-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  if (enter) {
    previous_ = fs::current_path().string();
    fs::current_path(path_);
  }
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  if (!previous_.empty()) fs::current_path(previous_, ignored);
  fs::remove_all(path_, ignored);
}

static std::string convert(const std::string& in, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string out(in.size() * 4 + 16, '\0');
  char* src = const_cast<char*>(in.data());
  size_t src_left = in.size();
  char* dst = out.data();
  size_t dst_left = out.size();
  size_t rc = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) throw std::runtime_error("iconv: text does not convert");
  out.resize(out.size() - dst_left);
  return out;
}

std::string to_utf8(const std::string& cp932) { return convert(cp932, "UTF-8", "CP932"); }
std::string to_cp932(const std::string& utf8) { return convert(utf8, "CP932", "UTF-8"); }

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void copy_folder_files(const std::string& from, const std::string& to) {
  for (const auto& entry : fs::directory_iterator(from)) {
    if (entry.is_regular_file())
      fs::copy_file(entry.path(), fs::path(to) / entry.path().filename(),
                    fs::copy_options::overwrite_existing);
  }
}

}  // namespace test_support
