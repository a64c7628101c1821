#include "print/settings/store_keys.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <system_error>

namespace txp {

namespace fs = std::filesystem;

std::string EncodeStoreValue(std::string_view bytes) {
  static const char kHex[] = "0123456789ABCDEF";
  auto escape = [](std::string& out, unsigned char c) {
    out += '\\';
    out += kHex[c >> 4];
    out += kHex[c & 0x0F];
  };
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c > 0x7E) {
      escape(out, c);
      // A double-byte character is escaped whole: its trail byte too, even when printable
      // ("ＭＳ" is \82\6C\82\72).
      const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
      if (lead && i + 1 < bytes.size()) escape(out, static_cast<unsigned char>(bytes[++i]));
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

static int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string DecodeStoreValue(std::string_view text, std::size_t max_bytes) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size() && out.size() < max_bytes) {
    char c = text[i];
    if (c != '\\') {
      out += c;
      i += 1;
    } else if (i + 1 < text.size() && text[i + 1] == '\\') {
      out += '\\';
      i += 2;
    } else if (i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
      out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
      i += 3;
    } else {
      i += 1;  // a broken escape (hand-edited file) is dropped
    }
  }
  return out;
}

// ---- values of one key ----

static const StoredValue* FindValue(const KeyRecord& key, std::string_view name, StoredType type) {
  for (const StoredValue& v : key.values) {
    if (v.name != name) continue;
    if (v.type == StoredType::Any || v.type == type) return &v;
    return nullptr;
  }
  return nullptr;
}

std::optional<int32_t> ReadNumber(const KeyRecord& key, std::string_view name) {
  const StoredValue* v = FindValue(key, name, StoredType::Number);
  if (!v) return std::nullopt;
  // The decimal integer at the start of the text, as atoi reads it.
  std::string text = DecodeStoreValue(v->encoded, v->encoded.size());
  return static_cast<int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

std::optional<std::string> ReadText(const KeyRecord& key, std::string_view name, std::size_t max_bytes) {
  const StoredValue* v = FindValue(key, name, StoredType::Text);
  if (!v || max_bytes == 0) return std::nullopt;
  std::string text = DecodeStoreValue(v->encoded, max_bytes - 1);
  // A text ends at its first zero byte, as a C string does.
  if (auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return text;
}

std::optional<std::string> ReadBinary(const KeyRecord& key, std::string_view name, std::size_t bytes) {
  const StoredValue* v = FindValue(key, name, StoredType::Binary);
  if (!v) return std::nullopt;
  return DecodeStoreValue(v->encoded, bytes);
}

static void Write(KeyRecord& key, std::string_view name, StoredType type, std::string encoded) {
  for (StoredValue& v : key.values) {
    if (v.name == name) {  // the registry replaces a value of the same name
      std::size_t grown = key.used - v.encoded.size() + encoded.size();
      if (grown > kKeyTextCapacity) return;
      key.used = grown;
      v.type = type;
      v.encoded = std::move(encoded);
      key.modified = true;
      return;
    }
  }
  std::size_t entry = name.size() + 1 + encoded.size() + 1;
  if (key.used + entry > kKeyTextCapacity) return;
  key.used += entry;
  key.values.push_back({std::string(name), type, std::move(encoded)});
  key.modified = true;
}

void WriteNumber(KeyRecord& key, std::string_view name, int32_t value) {
  Write(key, name, StoredType::Number, std::to_string(value));
}

void WriteText(KeyRecord& key, std::string_view name, std::string_view text) {
  Write(key, name, StoredType::Text, EncodeStoreValue(text));
}

void WriteBinary(KeyRecord& key, std::string_view name, std::string_view bytes) {
  Write(key, name, StoredType::Binary, EncodeStoreValue(bytes));
}

void CopyValue(KeyRecord& key, const StoredValue& value) { Write(key, value.name, value.type, value.encoded); }

// Adds one "name=encoded" line to a record, as read from a file.
static void AddLine(KeyRecord& key, std::string_view line, StoredType type) {
  auto eq = line.find('=');
  if (eq == std::string_view::npos) return;
  std::size_t entry = line.size() + 1;
  if (key.used + entry > kKeyTextCapacity) return;
  key.used += entry;
  key.values.push_back({std::string(line.substr(0, eq)), type, std::string(line.substr(eq + 1))});
}

// ---- registry stand-in ----

static const char kValuesFile[] = ".values";

static const char* TypeTag(StoredType type) {
  switch (type) {
    case StoredType::Number: return "dword:";
    case StoredType::Text: return "sz:";
    case StoredType::Binary: return "hex:";
    case StoredType::Any: break;
  }
  return "";
}

RegistryStore::RegistryStore(fs::path root) : root_(std::move(root)) {}

fs::path RegistryStore::FolderOf(const std::string& path) const {
  fs::path folder = root_;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    std::string part = path.substr(start, end - start);
    if (!part.empty() && part != "." && part != "..") folder /= part;
    start = end + 1;
  }
  return folder;
}

bool RegistryStore::KeyExists(const std::string& path) const {
  std::error_code ec;
  return fs::is_directory(FolderOf(path), ec);
}

KeyRecord* RegistryStore::Load(const std::string& path) {
  KeyRecord& key = open_.emplace_back();
  key.path = path;
  std::ifstream in(FolderOf(path) / kValuesFile, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    auto eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string name = line.substr(0, eq);
    std::string rest = line.substr(eq + 1);
    StoredType type = StoredType::Any;
    for (StoredType t : {StoredType::Number, StoredType::Text, StoredType::Binary}) {
      std::string tag = TypeTag(t);
      if (rest.compare(0, tag.size(), tag) == 0) {
        type = t;
        rest.erase(0, tag.size());
        break;
      }
    }
    if (type == StoredType::Any) continue;
    AddLine(key, name + "=" + rest, type);
  }
  return &key;
}

KeyRecord* RegistryStore::OpenKey(const std::string& path) {
  if (!KeyExists(path)) return nullptr;
  return Load(path);
}

KeyRecord* RegistryStore::CreateKey(const std::string& path) {
  std::error_code ec;
  fs::create_directories(FolderOf(path), ec);
  if (!KeyExists(path)) return nullptr;
  return Load(path);
}

bool RegistryStore::CloseKey(KeyRecord* key) {
  if (!key) return false;
  bool ok = true;
  if (key->modified) {
    // Written under a temporary name and renamed, so a crash never leaves half a key.
    fs::path file = FolderOf(key->path) / kValuesFile;
    fs::path temp = file;
    temp += ".new";
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      for (const StoredValue& v : key->values) out << v.name << '=' << TypeTag(v.type) << v.encoded << '\n';
      out.flush();
      ok = static_cast<bool>(out);
    }
    std::error_code ec;
    if (ok) fs::rename(temp, file, ec);
    ok = ok && !ec;
    if (!ok) fs::remove(temp, ec);
  }
  open_.remove_if([key](const KeyRecord& r) { return &r == key; });
  return ok;
}

bool RegistryStore::DeleteKey(const std::string& path) {
  fs::path folder = FolderOf(path);
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) return false;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.is_directory()) return false;  // a key with sub-keys stays, as RegDeleteKey does
  }
  fs::remove(folder / kValuesFile, ec);
  return fs::remove(folder, ec) && !ec;
}

fs::path RegistryRootFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config) return fs::path(config) / "Tarn";
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : ".") / ".config" / "Tarn";
}

// ---- TXP.ini ----

static const char kIniHeading[] = "# \x82\xb1\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x95\xd2\x8f\x57\x82\xb5\x82\xc8\x82\xa2\x82\xc5\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81\x42";  // "# このファイルは編集しないでください。" in Shift-JIS

IniStore::IniStore(fs::path file) : file_(std::move(file)) {}

bool IniStore::Read() {
  std::ifstream in(file_, std::ios::binary);
  if (!in) return false;
  records_.clear();
  KeyRecord* current = nullptr;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 16383) line.resize(16383);
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      auto close = line.find(']');
      current = &records_.emplace_back();
      current->path = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      continue;
    }
    if (current) AddLine(*current, line, StoredType::Any);  // lines before the first key are ignored
  }
  return true;
}

KeyRecord* IniStore::OpenKey(const std::string& path) {
  for (KeyRecord& r : records_)
    if (r.path == path) return &r;
  return nullptr;
}

KeyRecord* IniStore::CreateKey(const std::string& path) {
  KeyRecord& key = records_.emplace_back();
  key.path = path;
  key.write_file_on_close = records_.size() == 1;  // the root is created first
  return &key;
}

bool IniStore::CloseKey(KeyRecord* key) {
  if (key && key->write_file_on_close) return Write();
  return key != nullptr;
}

bool IniStore::DeleteKey(const std::string&) { return false; }

bool IniStore::Write() const {
  fs::path temp = file_;
  temp += ".new";
  bool ok;
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << kIniHeading << "\r\n";
    for (const KeyRecord& r : records_) {
      out << "\r\n[" << r.path << "]\r\n";
      for (const StoredValue& v : r.values) out << v.name << '=' << v.encoded << "\r\n";
    }
    out.flush();
    ok = static_cast<bool>(out);
  }
  std::error_code ec;
  if (ok) fs::rename(temp, file_, ec);
  ok = ok && !ec;
  if (!ok) fs::remove(temp, ec);
  return ok;
}

}  // namespace txp
