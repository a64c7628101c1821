// Times of day and durations: hours, minutes, seconds in three bytes, as stored in the
// master file. Valid when hours < 100, minutes < 60, seconds < 60; 127:59:59 marks a
// time not entered; 0:00:00 is the zero duration.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

class Stream;

struct HmsTime {
  std::uint8_t hours = 0;
  std::uint8_t minutes = 0;
  std::uint8_t seconds = 0;
  friend bool operator==(const HmsTime&, const HmsTime&) = default;
};
static_assert(sizeof(HmsTime) == 3, "HmsTime is the three bytes of the master file");

// Passed by value as one 32-bit integer: lowest byte hours, then minutes, then seconds.
std::uint32_t hms_pack(HmsTime t);
HmsTime hms_unpack(std::uint32_t packed);

int hms_to_seconds(HmsTime t);
double hms_to_hours(HmsTime t);  // seconds / 3600, for speeds
bool hms_is_valid(HmsTime t);
bool hms_is_set(HmsTime t);   // valid and not 0:00:00
bool hms_is_none(HmsTime t);  // exactly 127:59:59

// Each value truncated to 8 bits.
HmsTime& hms_set(HmsTime& t, int hours, int minutes, int seconds);
HmsTime& hms_zero(HmsTime& t);
HmsTime& hms_set_none(HmsTime& t);
HmsTime hms_make(int hours, int minutes, int seconds);
inline constexpr HmsTime kHmsNone{127, 59, 59};
// Floored for negative n: -1 second is hours 0xFF, 59 minutes, 59 seconds.
HmsTime& hms_from_seconds(HmsTime& t, int n);
// Decimal digits HHMMSS (leading blanks and a sign allowed, stops at the first
// non-digit); false and t unchanged for a number below 0 or above 999999. Minutes or
// seconds of 60 and more are kept; callers test hms_is_valid.
bool hms_parse(HmsTime& t, const char* text);
bool hms_equal(HmsTime a, HmsTime b);
bool hms_differ(HmsTime a, HmsTime b);
// a + b with carries / a - b with borrows (hours in 8 bits, so a negative difference
// is not valid).
HmsTime& hms_add(HmsTime& result, HmsTime a, HmsTime b);
HmsTime& hms_sub(HmsTime& result, HmsTime a, HmsTime b);

// Fixed-width text: " H:MM'SS" forms, 9 characters for a valid time, cut to width
// (at most 13). Mode 0: an invalid time gives the placeholder right-aligned in width;
// mode 1: a time not set gives it; other modes never. Returns 1 when the placeholder
// was used, else 0.
int hms_format(HmsTime t, std::string& out, int width, int mode, std::string_view placeholder);
// hms_format (at most 19 bytes) written to the stream.
void hms_print(HmsTime t, Stream& out, int width, int mode, std::string_view placeholder);
// The time text followed by a rank: "%c%2d%c" (mark, rank, close), "%c%3d" for a rank
// of 100 or more, four blanks for a rank of 0 or less; nothing added to a placeholder.
void hms_format_with_rank(HmsTime t, std::string& out, int rank, char mark, char close,
                          int width, int mode, std::string_view placeholder);
// "%d時間%02d分%02d秒".
std::string hms_format_japanese(HmsTime t);
void hms_print_japanese(HmsTime t, Stream& out);
// "" when not set; "%d時間%02d分%02d秒" with hours, else "%d分%02d秒".
std::string hms_format_japanese_short(HmsTime t);
void hms_print_japanese_short(HmsTime t, Stream& out);
// The caller's printf format with hours, minutes, seconds as three int arguments.
void hms_print_fmt(HmsTime t, Stream& out, const char* format);
// "%d<sep>" hours, minutes "%02d" (or "%d" when hours are 0), "<sep>%02d" seconds.
std::string hms_format_sep(HmsTime t, char separator);
void hms_print_sep(HmsTime t, Stream& out, char separator);

// Today "%04d/%02d/%02d", now "%02d:%02d:%02d", and both joined by two blanks.
std::string date_text();
std::string time_text();
std::string date_time_text();
