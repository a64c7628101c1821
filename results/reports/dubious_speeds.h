// The dubious-speed list (疑問スピード): every section run at or above its division's
// MaxSpeed or at or below its MinSpeed, to catch mistyped times while the race runs.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class Stream;

// One section run beyond a speed limit.
struct DubiousSpeed {
  std::uint8_t end_station = 0;  // physical index of the section's end station
  std::uint8_t section = 0;      // k, 1 .. the division's sections
  std::uint8_t bumon_no = 0;     // division index
  std::int32_t rec_no = 0;       // record number in MASTFILE.DAT
  double speed = 0;              // km/h
  std::uint8_t group = 0;        // kTooFast or kTooSlow
};
inline constexpr std::uint8_t kTooFast = 0;
inline constexpr std::uint8_t kTooSlow = 1;
// The list stops at this many entries (the limits are then surely wrong).
inline constexpr int kMaxDubiousSpeeds = 1000;
// GIMON_SPEED_SORTTYPE value that lists by station; any other groups by too fast / too slow.
inline constexpr int kDubiousSortByStation = 2;

// Every computed section time of MASTFILE.DAT (file order, sections 1 .. N_d) whose speed
// is at or below MinSpeed (too slow, tested first) or at or above MaxSpeed (too fast) of
// its division; sections without a time are skipped. Stops at kMaxDubiousSpeeds entries.
// Returns the number of entries.
int collect_dubious_speeds(std::vector<DubiousSpeed>& entries);

// By station: end station, division, section, record number. Grouped: too fast first,
// fastest first; then too slow, slowest first; ties as by station.
void sort_dubious_speeds(std::vector<DubiousSpeed>& entries, int sort_type);

// Writes the sorted list in the layout of `sort_type`, ending with a page break; `stamp`
// is the date and time of the heading.
void write_dubious_speeds(Stream& out, const std::vector<DubiousSpeed>& entries,
                          int sort_type, const std::string& stamp);

// Input-data check [5]: the output question (no delimiter question; Esc returns), the
// computation, then the list by the option GIMON_SPEED_SORTTYPE with the print command
// PRINTCMD65. Too many entries send the user to correct BUMON.TXT instead.
void print_dubious_speeds();
