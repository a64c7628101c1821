#include "results/shell/output_kind.h"

#include <cstdint>
#include <cstdio>
#include <fstream>

#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/options.h"

namespace {

int g_out_kind = kOutFile;
DestinationMenu g_destination_menu = nullptr;

bool in_range(int kind) { return kind >= kOutPrinter && kind <= kOutClipboard; }

}  // namespace

int out_kind_no() { return in_range(g_out_kind) ? g_out_kind : kOutFile; }

void set_out_kind_no(int kind) { g_out_kind = kind; }

const char* destination_name(int kind) {
  static const char* const kNames[] = {"プリンタ", "ファイル", "クリップボード"};
  return kNames[in_range(kind) ? kind : kOutFile];
}

void load_output_kind() {
  g_out_kind = kOutFile;
  std::ifstream in(os_file_name(kSelctoutFile), std::ios::binary);
  unsigned char bytes[4] = {};
  if (!in.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return;
  auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) |
                                         static_cast<std::uint32_t>(bytes[1]) << 8 |
                                         static_cast<std::uint32_t>(bytes[2]) << 16 |
                                         static_cast<std::uint32_t>(bytes[3]) << 24);
  if (in_range(value)) g_out_kind = value;
}

// Written under a temporary name and renamed over the old file, so a failed write never
// leaves a broken SELCTOUT.DAT behind.
bool save_output_kind() {
  auto value = static_cast<std::uint32_t>(static_cast<std::int32_t>(out_kind_no()));
  const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8 & 0xFF),
                         static_cast<char>(value >> 16 & 0xFF),
                         static_cast<char>(value >> 24 & 0xFF)};
  const std::string target = os_file_name(kSelctoutFile);
  const std::string temporary = target + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes, sizeof bytes).flush()) {
      out.close();
      std::remove(temporary.c_str());
      return false;
    }
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

std::string listfile_as_written() {
  std::string value;
  if (!option_value("LISTFILE", value)) value = kDefaultListFile;
  return value;
}

DestinationMenu set_destination_menu(DestinationMenu menu) {
  DestinationMenu previous = g_destination_menu;
  g_destination_menu = menu;
  return previous;
}

void run_destination_menu() {
  if (g_destination_menu != nullptr) {
    g_destination_menu();
  } else {
    beep();
  }
}
