// The race description: stations of EKI.TXT, divisions of BUMON.TXT, the station
// maps of every division and the record lengths that the master and name files
// follow. One instance lives for the whole process; kihon_data() refills it from
// the files before every operation that uses it, so edits take effect at once.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

#include "results/model/hms_time.h"
#include "results/shell/files.h"

constexpr int kMaxStations = 50;       // stations in EKI.TXT
constexpr int kMaxDivisions = 20;      // divisions in BUMON.TXT
constexpr int kMaxSections = 20;       // sections of one division
constexpr int kStationNameSize = 13;   // 12 bytes and a NUL
constexpr int kNicknameSize = 21;      // 20 bytes and a NUL
constexpr int kStationUrlSize = 513;   // 512 bytes and a NUL
constexpr int kDivisionNameSize = 27;  // 26 bytes and a NUL
constexpr int kSlotBytes = 18;         // one StationSlot in MASTFILE.DAT
constexpr int kMastFixedBytes = 29;    // team fields ahead of the slots
constexpr int kRunnerNameSize = 21;    // one runner name in NAMEFILE.DAT

// Race-file names, as the program names them (the file layer finds other letter cases).
inline constexpr const char* kEkiFile = "EKI.TXT";
inline constexpr const char* kBumonFile = "BUMON.TXT";
inline constexpr const char* kTeamFile = "TEAM.TXT";
inline constexpr const char* kOptionFile = "OPTION.TXT";

struct EventDefinition {
  int eki_suu = 0;                                    // stations, 1 to 50 once loaded
  char station_names[kMaxStations][kStationNameSize] = {};
  char station_nicknames[kMaxStations][kNicknameSize] = {};  // NICKNAME= or the name
  char station_urls[kMaxStations][kStationUrlSize] = {};     // URL= or empty
  double distances[kMaxStations] = {};                // cumulative km from the start
  int distance_decimals = -1;                         // most decimals written, 0 to 3
  int bumon_suu = 0;                                  // divisions, 1 to 20 once loaded
  char division_names[kMaxDivisions][kDivisionNameSize] = {};
  double max_speeds[kMaxDivisions + 1] = {};          // MaxSpeed=, km/h
  double min_speeds[kMaxDivisions + 1] = {};          // MinSpeed=, km/h
  double fast_speed_limit = 30.0;                     // option FAST_SPEED_LIMIT
  double slow_speed_limit = 3.0;                      // option SLOW_SPEED_LIMIT
  HmsTime start_times[kMaxDivisions] = {};            // StartTime=, 0:00:00 when not given
  signed char sections[kMaxDivisions] = {};           // sections of each division
  // phy_to_log[d][s]: logical index of station s on division d's course (0 = start,
  // k = end of section k), -1 when d does not use s. log_to_phy is the reverse.
  signed char phy_to_log[kMaxDivisions + 1][kMaxStations + 1];
  signed char log_to_phy[kMaxDivisions + 1][kMaxSections + 1];
  int max_kukan = -1;                                 // most sections of any division
  int sizeof_mastrec = 0;                             // (max_kukan + 1) * 18 + 29
  int sizeof_namerec = 0;                             // max_kukan * 21 + 2

  EventDefinition() { clear_maps(); }
  void clear_maps();  // both maps to -1
};

// Record lengths that follow from a number of sections.
constexpr int mast_record_length(int max_kukan) {
  return (max_kukan + 1) * kSlotBytes + kMastFixedBytes;
}
constexpr int name_record_length(int max_kukan) { return max_kukan * kRunnerNameSize + 2; }

// The process-wide race description.
EventDefinition& event_definition();

// One format error found while reading EKI.TXT or BUMON.TXT: the file to correct and
// the whole message as it goes to the console (CP932).
struct RaceFileError {
  std::string file;
  std::string message;
  bool no_data = false;  // the file held no station or division at all
};

// Reads EKI.TXT and BUMON.TXT from the working folder into `ev` (speed-limit options
// not included). Returns false with `error` filled at the first format error; `ev` is
// then partly filled. Opening failures go through the retrying open.
bool load_race_files(EventDefinition& ev, RaceFileError& error);

// Loads the race description into the process-wide instance: the required-files
// check, both race files, the diagnostic dump when the debug flag is set, the speed
// limits. Returns only when everything is valid; a format error goes to fix_prompt.
void kihon_data();

// Checks that EKI.TXT, BUMON.TXT, TEAM.TXT and OPTION.TXT exist, naming an older file
// name when one is found instead; ends the program through fatal_stop when one is missing.
void check_required_files();

// Opens `file` in the editor, asks to continue after fixing it (back to the main
// menu) or to stop (fatal_stop). Never returns.
[[noreturn]] void fix_prompt(const char* file);

// "<file> has no valid data", then fix_prompt.
[[noreturn]] void no_data_prompt(const char* file);

// The distance text of the reports: "%*.<d>f%s" with d from the distance decimals of
// the race description (1 for none or one, else 2 or 3). Writes to `stream` when
// given, else into `buffer` (at most `size` bytes with the NUL); with neither it ends
// the program. Returns the number of bytes of the text.
int print_kyori(Stream* stream, char* buffer, std::size_t size, double km, int width,
                const char* unit);
// The same text as a string.
std::string kyori_text(double km, int width, const char* unit);

// The diagnostic dump of the maps and counts on the console; waits for one key.
void dump_event_definition(const EventDefinition& ev);
// The dump as text (CP932), without the wait.
std::string event_definition_dump_text(const EventDefinition& ev);
