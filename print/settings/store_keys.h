// The key tree under which txp keeps its settings, in its two interchangeable forms:
//  - the registry stand-in: one folder per key under $XDG_CONFIG_HOME/Tarn (the folder plays
//    HKEY_CURRENT_USER\Software\Tarn), the key's values in a file ".values" inside it;
//  - TXP.ini beside the program: every key a record in memory, written as one file when the
//    root record is closed.
// Key paths are relative to Software\Tarn and use backslashes: "TXP\\Options\\Setting0".
// Values are byte strings (text is Shift-JIS); numbers are signed 32-bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace txp {

// TXP.ini value encoding: a backslash becomes two, a byte outside 0x20-0x7E becomes \XX
// (upper-case hex), and so does the trail byte of a Shift-JIS double-byte character;
// everything else stays.
std::string EncodeStoreValue(std::string_view bytes);
// The reverse, giving at most max_bytes bytes.
std::string DecodeStoreValue(std::string_view text, std::size_t max_bytes);

enum class StoredType { Any, Number, Text, Binary };  // Any: read from TXP.ini, untyped

struct StoredValue {
  std::string name;
  StoredType type = StoredType::Any;
  std::string encoded;  // the value as EncodeStoreValue writes it (numbers in decimal)
};

// One key and its values, in the order they were written.
struct KeyRecord {
  std::string path;
  std::vector<StoredValue> values;
  std::size_t used = 0;          // bytes of "name=value\0" entries, bounded by kKeyTextCapacity
  bool write_file_on_close = false;
  bool modified = false;
};

// Room for the value lines of one key; an entry that does not fit is dropped.
inline constexpr std::size_t kKeyTextCapacity = 16384;

// Values of a key: a missing value (or one of another type) gives nothing.
std::optional<int32_t> ReadNumber(const KeyRecord& key, std::string_view name);
// Text of at most max_bytes bytes including the terminator (so max_bytes - 1 bytes).
std::optional<std::string> ReadText(const KeyRecord& key, std::string_view name, std::size_t max_bytes);
std::optional<std::string> ReadBinary(const KeyRecord& key, std::string_view name, std::size_t bytes);
void WriteNumber(KeyRecord& key, std::string_view name, int32_t value);
void WriteText(KeyRecord& key, std::string_view name, std::string_view text);
void WriteBinary(KeyRecord& key, std::string_view name, std::string_view bytes);
// Writes a value read from another key as it stands (its type and encoded form).
void CopyValue(KeyRecord& key, const StoredValue& value);

// The store primitives; open/create give a record that stays valid until the store ends.
class KeyStore {
 public:
  virtual ~KeyStore() = default;
  virtual KeyRecord* OpenKey(const std::string& path) = 0;    // nullptr when absent
  virtual KeyRecord* CreateKey(const std::string& path) = 0;  // nullptr when impossible
  virtual bool CloseKey(KeyRecord* key) = 0;                  // false when writing failed
  virtual bool DeleteKey(const std::string& path) = 0;        // false when absent or not empty
};

// The registry stand-in rooted at a folder that plays Software\Tarn.
class RegistryStore final : public KeyStore {
 public:
  explicit RegistryStore(std::filesystem::path root);
  KeyRecord* OpenKey(const std::string& path) override;
  KeyRecord* CreateKey(const std::string& path) override;
  bool CloseKey(KeyRecord* key) override;
  bool DeleteKey(const std::string& path) override;
  bool KeyExists(const std::string& path) const;

 private:
  std::filesystem::path FolderOf(const std::string& path) const;
  KeyRecord* Load(const std::string& path);
  std::filesystem::path root_;
  std::list<KeyRecord> open_;
};

// TXP.ini: records in file order. Reading fills them from the file; saving appends records
// and writes the whole file when the root record (the first one created) is closed.
class IniStore final : public KeyStore {
 public:
  explicit IniStore(std::filesystem::path file);
  bool Read();  // false when the file cannot be opened
  KeyRecord* OpenKey(const std::string& path) override;
  KeyRecord* CreateKey(const std::string& path) override;
  bool CloseKey(KeyRecord* key) override;
  bool DeleteKey(const std::string& path) override;  // always false: the file keeps its keys
  bool Write() const;
  const std::list<KeyRecord>& records() const { return records_; }

 private:
  std::filesystem::path file_;
  std::list<KeyRecord> records_;
};

// The folder that plays HKEY_CURRENT_USER\Software\Tarn: $XDG_CONFIG_HOME/Tarn, or
// $HOME/.config/Tarn.
std::filesystem::path RegistryRootFolder();

}  // namespace txp
