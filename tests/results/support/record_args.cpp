// A stand-in for a print command in the tests: writes the argument list it was started
// with (argv[0] included) to the file named by RECORD_ARGS_FILE, each argument followed by
// a NUL byte so that blanks and quotes inside an argument stay visible, and a copy of the
// last argument's file contents to RECORD_ARGS_FILE + ".data" (the report it was handed).
// Ends with the exit code given in RECORD_ARGS_EXIT (default 0).
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* out_name = std::getenv("RECORD_ARGS_FILE");
  if (out_name && *out_name) {
    if (std::FILE* out = std::fopen(out_name, "wb")) {
      for (int i = 0; i < argc; ++i) std::fwrite(argv[i], 1, std::string(argv[i]).size() + 1, out);
      std::fclose(out);
    }
    if (argc > 1) {
      std::string data_name = std::string(out_name) + ".data";
      std::FILE* in = std::fopen(argv[argc - 1], "rb");
      std::FILE* data = std::fopen(data_name.c_str(), "wb");
      if (in && data) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) std::fwrite(buffer, 1, n, data);
      }
      if (in) std::fclose(in);
      if (data) std::fclose(data);
    }
  }
  const char* code = std::getenv("RECORD_ARGS_EXIT");
  return code ? std::atoi(code) : 0;
}
