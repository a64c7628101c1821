// OPTION.TXT in the working folder: KEY=value lines, read again at every lookup so an
// edit takes effect at once. A line beginning with "*" ends the file; "#" starts a
// comment; blanks are ASCII white space and the full-width space; keys are matched
// case-sensitively; the first line for a key counts. A missing file means every key is
// not set and the program runs on its defaults.
#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

inline constexpr char kOptionFileName[] = "OPTION.TXT";
inline constexpr std::size_t kOptionValueSize = 999;  // a value is at most 998 bytes

// The key's value (at most size - 1 bytes, not splitting a two-byte character) and true
// when it is set; false and value untouched when the file or the key is missing.
bool option_value(std::string_view key, std::string& value,
                  std::size_t size = kOptionValueSize);
// Numeric options read as atoi / atof do (text after the number ignored, non-numeric
// text is 0); the default when the key is not set.
int option_int(std::string_view key, int default_value);
double option_double(std::string_view key, double default_value);

// Matches one comment-free line against key ("key = value" with blanks) and copies the
// value without trailing blanks. Used for OPTION.TXT and the FS line of EKI.TXT.
bool valofkey(std::string_view line, std::string_view key, std::string& value,
              std::size_t size = kOptionValueSize);

// The event name: EVENTNAME, else EVENTMEI, else "？？？？駅伝大会".
std::string event_title();

// The known keys in listing order.
struct OptionKey {
  const char* key;
  bool required;  // no key is required today; the listing stops the program for one
};
std::span<const OptionKey> option_table();

// Other-functions entry 7: lists every known key that is set, then waits for Y.
void show_option_listing();
