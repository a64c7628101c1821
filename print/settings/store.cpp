#include "print/settings/store.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <system_error>

#include "print/settings/store_keys.h"

namespace txp {

namespace fs = std::filesystem;

namespace {

// Byte limits of stored texts, including the terminator of their stored form.
constexpr std::size_t kPathBytes = 261;      // Editor, CurDir
constexpr std::size_t kPrinterNameBytes = 64;
// Deleting stale Setting<n> keys stops here (and a stored SetNum is not followed further).
constexpr int kMaxSettingKeys = 998;

const char kRootKey[] = "TXP";
const char kOptionsKey[] = "TXP\\Options";

std::string SettingKey(int index) { return std::string(kOptionsKey) + "\\Setting" + std::to_string(index); }

std::string Convert(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(in.size() * 4 + 4, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = out.data();
  std::size_t dst_left = out.size();
  while (src_left > 0) {
    if (iconv(cd, &src, &src_left, &dst, &dst_left) != static_cast<std::size_t>(-1)) break;
    if (errno == EILSEQ) {  // a byte that does not convert is dropped
      ++src;
      --src_left;
    } else {
      break;  // EINVAL: an incomplete character at the end; E2BIG cannot happen
    }
  }
  iconv_close(cd);
  out.resize(out.size() - dst_left);
  return out;
}

bool IsCp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Cuts CP932 text to at most limit bytes without splitting a double-byte character.
std::string CutCp932(std::string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t step = IsCp932Lead(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + step > limit) break;
    i += step;
  }
  text.resize(i);
  return text;
}

void ReadNumberInto(const KeyRecord& key, const char* name, int32_t& field) {
  if (auto v = ReadNumber(key, name)) field = *v;
}

void ReadRangedInto(const KeyRecord& key, const char* name, RangedValue& field) {
  ReadNumberInto(key, name, field.value);
}

void ReadTextInto(const KeyRecord& key, const char* name, std::size_t max_bytes, std::string& field) {
  if (auto v = ReadText(key, name, max_bytes)) field = Utf8FromStoreText(*v);
}

void ReadOptions(const KeyRecord& key, ProgramOptions& options, int32_t& set_num, int32_t& cur_set) {
  ReadNumberInto(key, "ZoomSize", options.ZoomSize);
  if (options.ZoomSize < 9) options.ZoomSize = 110 - options.ZoomSize * 10;  // old zoom steps
  ReadNumberInto(key, "AutoSizing", options.AutoSizing);
  ReadNumberInto(key, "DrawMargin", options.DrawMargin);
  if (auto v = ReadNumber(key, "BackColor")) options.BackColor = static_cast<uint32_t>(*v);
  ReadNumberInto(key, "WinWidth", options.WinWidth);
  ReadNumberInto(key, "WinHeight", options.WinHeight);
  ReadTextInto(key, "Editor", kPathBytes, options.Editor);
  ReadNumberInto(key, "AutoReload", options.AutoReload);
  ReadTextInto(key, "CurDir", kPathBytes, options.CurDir);
  ReadNumberInto(key, "SetNum", set_num);
  ReadNumberInto(key, "CurSet", cur_set);
  ReadNumberInto(key, "Reg", options.Reg);
}

PrintFormat ReadFormat(const KeyRecord& key, const PrintFormat& defaults, const PrinterNames& printers) {
  PrintFormat f = defaults;
  ReadTextInto(key, "SetName", kSetNameBytes, f.SetName);
  ReadNumberInto(key, "Default", f.Default);
  if (auto name = ReadText(key, "PrinterName", kPrinterNameBytes); name && printers.index_by_name)
    f.printer = printers.index_by_name(Utf8FromStoreText(*name));
  if (auto bytes = ReadBinary(key, "PaperSize", 2)) {
    auto b = [&](std::size_t i) { return i < bytes->size() ? static_cast<unsigned char>((*bytes)[i]) : 0u; };
    f.PaperSize = static_cast<int16_t>(b(0) | (b(1) << 8));
  }
  ReadTextInto(key, "PaperName", kPaperNameBytes, f.PaperName);
  ReadNumberInto(key, "PaperDir", f.PaperDir);
  ReadRangedInto(key, "LeftMgnMm", f.LeftMgnMm);
  ReadRangedInto(key, "RightMgnMm", f.RightMgnMm);
  ReadRangedInto(key, "TopMgnMm", f.TopMgnMm);
  ReadRangedInto(key, "BottomMgnMm", f.BottomMgnMm);
  ReadRangedInto(key, "Width", f.Width);
  ReadRangedInto(key, "Height", f.Height);
  ReadNumberInto(key, "FontPoint", f.FontPoint);
  ReadTextInto(key, "FontName", kFontNameBytes, f.FontName);
  ReadNumberInto(key, "FontStyle", f.FontStyle);
  if (auto v = ReadBinary(key, "FontCharSet", 1); v && !v->empty()) f.FontCharSet = static_cast<uint8_t>((*v)[0]);
  if (auto v = ReadBinary(key, "FontPitch", 1); v && !v->empty()) f.FontPitch = static_cast<uint8_t>((*v)[0]);
  ReadRangedInto(key, "KeisenThin", f.KeisenThin);
  ReadRangedInto(key, "KeisenBold", f.KeisenBold);
  ReadRangedInto(key, "UnderLine", f.UnderLine);
  ReadRangedInto(key, "TabSize", f.TabSize);
  ReadNumberInto(key, "PagePrn", f.PagePrn);
  ReadRangedInto(key, "PageMargin", f.PageMargin);
  ReadRangedInto(key, "PageStart", f.PageStart);
  ReadNumberInto(key, "YenCmd", f.YenCmd);
  return f;
}

void WriteTextValue(KeyRecord& key, const char* name, const std::string& utf8, std::size_t max_bytes) {
  WriteText(key, name, StoreTextFromUtf8(utf8, max_bytes - 1));
}

void WriteFormat(KeyRecord& key, const PrintFormat& f, const PrinterNames& printers) {
  WriteTextValue(key, "SetName", f.SetName, kSetNameBytes);
  WriteNumber(key, "Default", f.Default);
  WriteTextValue(key, "PrinterName", printers.name_of ? printers.name_of(f.printer) : std::string(), kPrinterNameBytes);
  const uint16_t paper = static_cast<uint16_t>(f.PaperSize);
  WriteBinary(key, "PaperSize", std::string{static_cast<char>(paper & 0xFF), static_cast<char>(paper >> 8)});
  WriteTextValue(key, "PaperName", f.PaperName, kPaperNameBytes);
  WriteNumber(key, "PaperDir", f.PaperDir);
  WriteNumber(key, "LeftMgnMm", f.LeftMgnMm.value);
  WriteNumber(key, "RightMgnMm", f.RightMgnMm.value);
  WriteNumber(key, "TopMgnMm", f.TopMgnMm.value);
  WriteNumber(key, "BottomMgnMm", f.BottomMgnMm.value);
  WriteNumber(key, "Width", f.Width.value);
  WriteNumber(key, "Height", f.Height.value);
  WriteNumber(key, "FontPoint", f.FontPoint);
  WriteTextValue(key, "FontName", f.FontName, kFontNameBytes);
  WriteNumber(key, "FontStyle", f.FontStyle);
  WriteBinary(key, "FontCharSet", std::string(1, static_cast<char>(f.FontCharSet)));
  WriteBinary(key, "FontPitch", std::string(1, static_cast<char>(f.FontPitch)));
  WriteNumber(key, "KeisenThin", f.KeisenThin.value);
  WriteNumber(key, "KeisenBold", f.KeisenBold.value);
  WriteNumber(key, "UnderLine", f.UnderLine.value);
  WriteNumber(key, "TabSize", f.TabSize.value);
  WriteNumber(key, "PagePrn", f.PagePrn);
  WriteNumber(key, "PageMargin", f.PageMargin.value);
  WriteNumber(key, "PageStart", f.PageStart.value);
  WriteNumber(key, "YenCmd", f.YenCmd);
}

// TXP.ini is written whole at every save, and an INI save erases the key tree: a save that
// leaves the formats out (formats for this run only) carries the stored formats over into the
// file, from where the next start would read them (the key tree first, else TXP.ini).
void CarryStoredFormatsInto(KeyStore& target, KeyRecord& target_options, const StoreLocations& where) {
  RegistryStore registry(where.registry_root);
  IniStore ini(where.ini_file);
  KeyStore* source = &registry;
  if (!registry.KeyExists(kRootKey)) {
    if (!ini.Read()) return;
    source = &ini;
  }
  KeyRecord* options = source->OpenKey(kOptionsKey);
  if (!options) return;
  const std::optional<int32_t> set_num = ReadNumber(*options, "SetNum");
  if (set_num) {
    WriteNumber(target_options, "SetNum", *set_num);
    if (auto cur_set = ReadNumber(*options, "CurSet")) WriteNumber(target_options, "CurSet", *cur_set);
    for (int i = 0; i < *set_num && i < kMaxSettingKeys; ++i) {
      KeyRecord* from = source->OpenKey(SettingKey(i));
      if (!from) continue;
      if (KeyRecord* to = target.CreateKey(SettingKey(i))) {
        for (const StoredValue& value : from->values) CopyValue(*to, value);
        target.CloseKey(to);
      }
      source->CloseKey(from);
    }
  }
  source->CloseKey(options);
}

}  // namespace

std::string StoreTextFromUtf8(const std::string& utf8, std::size_t max_bytes) {
  return CutCp932(Convert("CP932", "UTF-8", utf8), max_bytes);
}

std::string Utf8FromStoreText(const std::string& cp932) { return Convert("UTF-8", "CP932", cp932); }

StoreLocations DefaultStoreLocations(const fs::path& program_folder) {
  return {RegistryRootFolder(), program_folder / "TXP.ini"};
}

LoadedFrom LoadSettings(ProgramOptions& options, FormatList& formats, const PrinterNames& printers,
                        const StoreLocations& where) {
  RegistryStore registry(where.registry_root);
  IniStore ini(where.ini_file);
  KeyStore* store = &registry;
  LoadedFrom from = LoadedFrom::Registry;
  KeyRecord* root = registry.OpenKey(kRootKey);
  if (!root) {
    if (!ini.Read()) return LoadedFrom::Nothing;
    store = &ini;
    from = LoadedFrom::IniFile;
    root = ini.OpenKey(kRootKey);
    if (!root) return from;
  }
  int32_t set_num = 0;
  int32_t cur_set = 0;
  if (KeyRecord* key = store->OpenKey(kOptionsKey)) {
    ReadOptions(*key, options, set_num, cur_set);
    store->CloseKey(key);
  }
  const int default_printer = printers.index_by_name ? printers.index_by_name(std::string()) : 0;
  const PrintFormat defaults = DefaultPrintFormat(default_printer);
  for (int i = 0; i < set_num && i < kMaxSettingKeys; ++i) {
    KeyRecord* key = store->OpenKey(SettingKey(i));
    if (!key) continue;
    AppendFormat(formats, ReadFormat(*key, defaults, printers));
    store->CloseKey(key);
    if (formats.formats.back().Default == 1) cur_set = FormatCount(formats) - 1;
  }
  store->CloseKey(root);
  // A CurSet outside the loaded list (Setting keys missing) falls back to the first format.
  formats.current = (cur_set >= 0 && cur_set < FormatCount(formats)) ? cur_set : 0;
  return from;
}

SaveResult SaveSettings(const ProgramOptions& options, const FormatList& formats, const RunFlags& run,
                        const PrinterNames& printers, const StoreLocations& where) {
  const bool to_ini = options.Reg == 1;
  std::unique_ptr<KeyStore> store;
  if (to_ini) {
    store = std::make_unique<IniStore>(where.ini_file);
  } else {
    store = std::make_unique<RegistryStore>(where.registry_root);
  }
  KeyRecord* root = store->CreateKey(kRootKey);
  if (!root) return SaveResult::Saved;  // keys that cannot be made are skipped silently
  if (KeyRecord* key = store->CreateKey(kOptionsKey)) {
    WriteNumber(*key, "ZoomSize", options.ZoomSize);
    WriteNumber(*key, "AutoSizing", options.AutoSizing);
    WriteNumber(*key, "DrawMargin", options.DrawMargin);
    WriteNumber(*key, "BackColor", static_cast<int32_t>(options.BackColor));
    WriteNumber(*key, "WinWidth", options.WinWidth);
    WriteNumber(*key, "WinHeight", options.WinHeight);
    WriteTextValue(*key, "Editor", options.Editor, kPathBytes);
    WriteNumber(*key, "AutoReload", options.AutoReload);
    WriteTextValue(*key, "CurDir", options.CurDir, kPathBytes);
    WriteNumber(*key, "Reg", options.Reg);
    if (!run.formats_for_this_run_only) {
      const int count = FormatCount(formats);
      WriteNumber(*key, "SetNum", count);
      WriteNumber(*key, "CurSet", formats.current);
      for (int i = 0; i < count; ++i) {
        if (KeyRecord* setting = store->CreateKey(SettingKey(i))) {
          WriteFormat(*setting, formats.formats[static_cast<std::size_t>(i)], printers);
          store->CloseKey(setting);
        }
      }
      // Formats deleted since the last save leave keys behind: remove them.
      for (int i = count; count < kMaxSettingKeys && i < kMaxSettingKeys; ++i)
        if (!store->DeleteKey(SettingKey(i))) break;
    } else if (to_ini) {
      CarryStoredFormatsInto(*store, *key, where);
    }
    store->CloseKey(key);
  }
  if (!store->CloseKey(root) && to_ini) return SaveResult::IniNotWritable;
  if (to_ini) EraseStoredSettings(where);
  return SaveResult::Saved;
}

void EraseStoredSettings(const StoreLocations& where) {
  RegistryStore registry(where.registry_root);
  std::error_code ec;
  fs::create_directories(where.registry_root, ec);
  if (!registry.KeyExists(kRootKey)) return;
  for (int i = 0; registry.DeleteKey(SettingKey(i)); ++i) {
  }
  registry.DeleteKey(kOptionsKey);
  registry.DeleteKey(kRootKey);
  // Keys the sequence above cannot reach (a gap in the Setting numbers, keys added by hand)
  // would keep TXP alive; erasing all settings means all of them.
  if (registry.KeyExists(kRootKey)) fs::remove_all(where.registry_root / kRootKey, ec);
}

}  // namespace txp
