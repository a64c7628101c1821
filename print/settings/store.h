// Settings store: keeps the format list and the program-wide options between runs, in the
// key tree standing for HKEY_CURRENT_USER\Software\Tarn\TXP or in TXP.ini beside the program
// (store_keys.h has both forms). The option Reg chooses the store for saving; loading tries
// the key tree first and falls back to TXP.ini.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "print/settings/print_format.h"

namespace txp {

// Where the two stores live.
struct StoreLocations {
  std::filesystem::path registry_root;  // plays Software\Tarn
  std::filesystem::path ini_file;       // TXP.ini
};

// The key tree under RegistryRootFolder() and TXP.ini in program_folder.
StoreLocations DefaultStoreLocations(const std::filesystem::path& program_folder);

// Printer names <-> indexes of the printer list (printing/printers.h owns the list).
struct PrinterNames {
  std::function<int(const std::string& name)> index_by_name;  // unknown names: the default printer
  std::function<std::string(int index)> name_of;
};

enum class LoadedFrom { Nothing, Registry, IniFile };

// Reads the options and appends every stored format to formats; makes the last format
// marked Default (or the stored CurSet) current. Missing values keep their defaults.
LoadedFrom LoadSettings(ProgramOptions& options, FormatList& formats, const PrinterNames& printers,
                        const StoreLocations& where);

enum class SaveResult { Saved, IniNotWritable };

// Writes options (and, unless run.formats_for_this_run_only, the formats) to the store that
// options.Reg chooses. After a TXP.ini save the key-tree copy is erased. On IniNotWritable the
// caller shows kIniNotWritableMessage and the key tree stays as it was.
SaveResult SaveSettings(const ProgramOptions& options, const FormatList& formats, const RunFlags& run,
                        const PrinterNames& printers, const StoreLocations& where);
inline constexpr const char* kIniNotWritableMessage = "INIファイルに設定が保存できません";

// Removes TXP and everything under it from the key tree; Tarn itself stays, TXP.ini too.
void EraseStoredSettings(const StoreLocations& where);

// Text conversion for stored text (CP932 in the store, UTF-8 in the program). Bytes that do
// not convert are dropped; the result is cut at max_bytes without splitting a character.
std::string StoreTextFromUtf8(const std::string& utf8, std::size_t max_bytes);
std::string Utf8FromStoreText(const std::string& cp932);

}  // namespace txp
