// Time values: arithmetic and text forms.
#include "results/model/hms_time.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "results/shell/files.h"

std::uint32_t hms_pack(HmsTime t) {
  return static_cast<std::uint32_t>(t.hours) | (static_cast<std::uint32_t>(t.minutes) << 8) |
         (static_cast<std::uint32_t>(t.seconds) << 16);
}

HmsTime hms_unpack(std::uint32_t packed) {
  return HmsTime{static_cast<std::uint8_t>(packed & 0xFF),
                 static_cast<std::uint8_t>((packed >> 8) & 0xFF),
                 static_cast<std::uint8_t>((packed >> 16) & 0xFF)};
}

int hms_to_seconds(HmsTime t) { return t.hours * 3600 + t.minutes * 60 + t.seconds; }
double hms_to_hours(HmsTime t) { return hms_to_seconds(t) / 3600.0; }

bool hms_is_valid(HmsTime t) { return t.hours < 100 && t.minutes < 60 && t.seconds < 60; }
bool hms_is_set(HmsTime t) { return hms_is_valid(t) && t != HmsTime{}; }
bool hms_is_none(HmsTime t) { return t == kHmsNone; }

HmsTime& hms_set(HmsTime& t, int hours, int minutes, int seconds) {
  t.hours = static_cast<std::uint8_t>(hours);
  t.minutes = static_cast<std::uint8_t>(minutes);
  t.seconds = static_cast<std::uint8_t>(seconds);
  return t;
}

HmsTime& hms_zero(HmsTime& t) { return hms_set(t, 0, 0, 0); }
HmsTime& hms_set_none(HmsTime& t) { return t = kHmsNone; }

HmsTime hms_make(int hours, int minutes, int seconds) {
  HmsTime t;
  return hms_set(t, hours, minutes, seconds);
}

HmsTime& hms_from_seconds(HmsTime& t, int n) {
  // Floored division keeps minutes and seconds in 0..59 for negative n.
  int hours = n / 3600;
  int rest = n % 3600;
  if (rest < 0) {
    rest += 3600;
    --hours;
  }
  return hms_set(t, hours, rest / 60, rest % 60);
}

bool hms_parse(HmsTime& t, const char* text) {
  // atol-like: leading blanks and a sign, then digits up to the first non-digit.
  const char* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long long n = 0;
  while (*p >= '0' && *p <= '9') {
    n = n * 10 + (*p++ - '0');
    if (n > 999999) return false;  // also keeps the value from overflowing
  }
  if (negative && n != 0) return false;
  hms_set(t, static_cast<int>(n / 10000 % 100), static_cast<int>(n / 100 % 100),
          static_cast<int>(n % 100));
  return true;
}

bool hms_equal(HmsTime a, HmsTime b) { return a == b; }
bool hms_differ(HmsTime a, HmsTime b) { return a != b; }

HmsTime& hms_add(HmsTime& result, HmsTime a, HmsTime b) {
  int seconds = a.seconds + b.seconds;
  int minutes = a.minutes + b.minutes;
  int hours = a.hours + b.hours;
  while (seconds >= 60) {
    seconds -= 60;
    ++minutes;
  }
  while (minutes >= 60) {
    minutes -= 60;
    ++hours;
  }
  return hms_set(result, hours, minutes, seconds);
}

HmsTime& hms_sub(HmsTime& result, HmsTime a, HmsTime b) {
  int seconds = a.seconds - b.seconds;
  int minutes = a.minutes - b.minutes;
  int hours = a.hours - b.hours;
  while (seconds < 0) {
    seconds += 60;
    --minutes;
  }
  while (minutes < 0) {
    minutes += 60;
    --hours;
  }
  return hms_set(result, hours, minutes, seconds);
}

int hms_format(HmsTime t, std::string& out, int width, int mode, std::string_view placeholder) {
  if (width > 13) width = 13;
  if (width < 0) width = 0;
  bool use_placeholder = (mode == 0 && !hms_is_valid(t)) || (mode == 1 && !hms_is_set(t));
  if (use_placeholder) {
    out.assign(placeholder.size() < static_cast<std::size_t>(width)
                   ? width - placeholder.size()
                   : 0,
               ' ');
    out.append(placeholder);
    return 1;
  }
  char text[32];
  if (t.hours != 0) {
    std::snprintf(text, sizeof text, " %2d%c%02d'%02d", t.hours, ':', t.minutes, t.seconds);
  } else if (t.minutes != 0) {
    std::snprintf(text, sizeof text, "    %2d'%02d", t.minutes, t.seconds);
  } else {
    std::snprintf(text, sizeof text, "       %02d", t.seconds);
  }
  out.assign(text);
  if (out.size() > static_cast<std::size_t>(width)) out.resize(width);
  return 0;
}

void hms_print(HmsTime t, Stream& out, int width, int mode, std::string_view placeholder) {
  std::string text;
  hms_format(t, text, width, mode, placeholder);
  if (text.size() > 19) text.resize(19);  // the text fits a 20-byte buffer
  out.write_text(text);
}

void hms_format_with_rank(HmsTime t, std::string& out, int rank, char mark, char close,
                          int width, int mode, std::string_view placeholder) {
  if (width > 13) width = 13;
  if (hms_format(t, out, width, mode, placeholder) == 1) return;
  char text[32];
  if (rank >= 100) {
    std::snprintf(text, sizeof text, "%c%3d", mark, rank);
  } else if (rank <= 0) {
    std::snprintf(text, sizeof text, "    ");
  } else {
    std::snprintf(text, sizeof text, "%c%2d%c", mark, rank, close);
  }
  out.append(text);
  if (out.size() > static_cast<std::size_t>(width < 0 ? 0 : width)) out.resize(width);
}

std::string hms_format_japanese(HmsTime t) {
  char text[64];
  std::snprintf(text, sizeof text, "%d時間%02d分%02d秒", t.hours, t.minutes, t.seconds);
  return text;
}

void hms_print_japanese(HmsTime t, Stream& out) { out.write_text(hms_format_japanese(t)); }

std::string hms_format_japanese_short(HmsTime t) {
  if (!hms_is_set(t)) return "";
  if (t.hours != 0) return hms_format_japanese(t);
  char text[64];
  std::snprintf(text, sizeof text, "%d分%02d秒", t.minutes, t.seconds);
  return text;
}

void hms_print_japanese_short(HmsTime t, Stream& out) {
  out.write_text(hms_format_japanese_short(t));
}

void hms_print_fmt(HmsTime t, Stream& out, const char* format) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  out.printf(format, static_cast<int>(t.hours), static_cast<int>(t.minutes),
             static_cast<int>(t.seconds));
#pragma GCC diagnostic pop
}

std::string hms_format_sep(HmsTime t, char separator) {
  char text[32];
  if (t.hours != 0) {
    std::snprintf(text, sizeof text, "%d%c%02d%c%02d", t.hours, separator, t.minutes, separator,
                  t.seconds);
  } else {
    std::snprintf(text, sizeof text, "%d%c%d%c%02d", t.hours, separator, t.minutes, separator,
                  t.seconds);
  }
  return text;
}

void hms_print_sep(HmsTime t, Stream& out, char separator) {
  out.write_text(hms_format_sep(t, separator));
}

namespace {

std::tm local_now() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return tm;
}

std::string date_of(const std::tm& tm) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                tm.tm_mday);
  return text;
}

std::string time_of(const std::tm& tm) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
  return text;
}

}  // namespace

std::string date_text() { return date_of(local_now()); }
std::string time_text() { return time_of(local_now()); }

std::string date_time_text() {
  std::tm tm = local_now();  // one reading, so date and time belong together
  return date_of(tm) + "  " + time_of(tm);
}
