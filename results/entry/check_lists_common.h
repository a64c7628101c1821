// What the check lists share: the teams passing one relay point, and the small writers of
// fields that serve the printer and delimited data alike.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "results/model/hms_time.h"
#include "results/model/master_records.h"

class Stream;

// One team at one physical station that is a relay point or the goal of its course.
struct RelayPointEntry {
  std::int16_t team_no = 0;
  std::uint16_t input_seq = kNoInputSeq;  // 65535: no input sequence number
  HmsTime arrival = kHmsNone;
  HmsTime departure = kHmsNone;
  std::int32_t rec_no = 0;  // record number in MASTFILE.DAT

  static constexpr std::uint16_t kNoInputSeq = 65535;
};

// Every team whose division's course passes physical station p at a logical index of 1 or
// more (never the start), in file order.
std::vector<RelayPointEntry> relay_point_entries(int p);

// Entries of a station in arrival order: arrival, departure, input sequence number
// (unsigned), team number, all ascending.
void sort_by_arrival(std::vector<RelayPointEntry>& entries);
// Entries in the order of the time-ordered grid: arrival, then input sequence number;
// equal ones keep file order.
void sort_by_arrival_and_input(std::vector<RelayPointEntry>& entries);

// A time of the check lists: hms_format, width 9, mode 0, placeholder "NoData".
std::string check_time_text(HmsTime t);

// printf into a string.
std::string format_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A text line of the current output: quote, the fields cut by the field separator, quote,
// line break.
void write_check_row(Stream& out, const std::vector<std::string>& fields);
