// Replacing a whole file (MASTFILE.DAT, NAMEFILE.DAT) in one step: the new contents are
// written completely under a temporary name, flushed to the disk, and then renamed over
// the old file, so a stop at any moment leaves the old file or the new one, never a mix.
#pragma once
#include <string>

#include "results/shell/files.h"

// Closes `temp` (written completely), flushes it to the disk and renames it to
// `target`. A failure is reported and ends the program through fatal_stop; the old
// target then stays as it was.
void replace_with(Stream& temp, const std::string& target);

// Deletes the temporary file when the operation that writes it is abandoned (back to
// the main menu) before replace_with took it.
class TempFileGuard {
 public:
  explicit TempFileGuard(std::string name) : name_(std::move(name)) {}
  ~TempFileGuard();
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  void release() { name_.clear(); }

 private:
  std::string name_;
};

// Test seam: called at each step of writing a replacement ("record" after each record
// with the number written so far, "flushed" before the rename, "renamed" after it).
// Crash tests end the process there.
using WriteProbe = void (*)(const char* step, int count);
void set_write_probe(WriteProbe probe);
void write_probe(const char* step, int count);
