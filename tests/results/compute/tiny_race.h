// Small races for the computation and entry tests, made through the record API: the race
// description is set directly (no EKI.TXT / BUMON.TXT needed) and MASTFILE.DAT is written
// into the current folder (a ScratchDir).
#pragma once
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "support/test_support.h"

namespace tiny_race {

// A UTF-8 literal as the char text the screen readers return.
inline const char* u8c(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// hhmmss as one number, as the operator types it: t(93015) is 9:30:15.
inline HmsTime t(int hhmmss) { return hms_make(hhmmss / 10000, hhmmss / 100 % 100, hhmmss % 100); }

// Sets the race description: one cumulative distance per station, one station pattern
// per division ('+' uses the station, '/' skips it).
inline void define(const std::vector<double>& km, const std::vector<std::string>& patterns) {
  EventDefinition& ev = event_definition();
  ev = EventDefinition{};
  ev.eki_suu = static_cast<int>(km.size());
  for (int s = 0; s < ev.eki_suu; ++s) {
    std::snprintf(ev.station_names[s], kStationNameSize, "ST%d", s);
    std::snprintf(ev.station_nicknames[s], kNicknameSize, "ST%d", s);
    ev.distances[s] = km[s];
  }
  ev.distance_decimals = 1;
  ev.bumon_suu = static_cast<int>(patterns.size());
  ev.max_kukan = 0;
  for (int d = 0; d < ev.bumon_suu; ++d) {
    std::snprintf(ev.division_names[d], kDivisionNameSize, "DIV%d", d);
    ev.max_speeds[d] = 30;
    ev.min_speeds[d] = 3;
    int k = 0;
    for (int s = 0; s < ev.eki_suu; ++s) {
      if (patterns[d][s] != '+') continue;
      ev.phy_to_log[d][s] = static_cast<signed char>(k);
      ev.log_to_phy[d][k] = static_cast<signed char>(s);
      ++k;
    }
    ev.sections[d] = static_cast<signed char>(k - 1);
    if (k - 1 > ev.max_kukan) ev.max_kukan = k - 1;
  }
  ev.sizeof_mastrec = mast_record_length(ev.max_kukan);
  ev.sizeof_namerec = name_record_length(ev.max_kukan);
}

// A fresh team record as the build makes it; the start time set when given.
inline MastRecord team(int no, int division, bool open = false, int start_hhmmss = 0) {
  MastRecord rec;
  rec.team_no = static_cast<std::int16_t>(no);
  rec.bumon_no = static_cast<std::uint8_t>(division);
  rec.open_flag = open ? '1' : '0';
  std::snprintf(rec.team_name, kTeamNameSize, "TEAM%d", no);
  if (start_hhmmss) rec.slots[0].departure = rec.slots[0].arrival = t(start_hhmmss);
  return rec;
}

// An arrival at logical index k as the entry screens store it: departure = arrival.
inline void arrive(MastRecord& rec, int k, int hhmmss, int seq) {
  rec.slots[k].arrival = rec.slots[k].departure = t(hhmmss);
  rec.slots[k].input_seq = static_cast<std::int16_t>(seq);
}

// Writes MASTFILE.DAT in the current folder and rebuilds the process's team index.
inline void write_master(const std::vector<MastRecord>& teams) {
  const EventDefinition& ev = event_definition();
  std::string bytes(kMastHeaderBytes, '\0');
  encode_mast_header(new_mast_header(ev.max_kukan), reinterpret_cast<unsigned char*>(bytes.data()));
  std::vector<unsigned char> rec(ev.sizeof_mastrec);
  for (const MastRecord& r : teams) {
    encode_mast_record(r, ev.max_kukan, rec.data());
    bytes.append(reinterpret_cast<const char*>(rec.data()), rec.size());
  }
  test_support::write_bytes(kMastFile, bytes);
  team_index_build(mastfile_index());
}

// Every record of MASTFILE.DAT in file order.
inline std::vector<MastRecord> read_master() {
  const EventDefinition& ev = event_definition();
  const std::string bytes = test_support::read_bytes(kMastFile);
  std::vector<MastRecord> teams;
  for (std::size_t at = kMastHeaderBytes; at + ev.sizeof_mastrec <= bytes.size(); at += ev.sizeof_mastrec) {
    MastRecord r;
    decode_mast_record(reinterpret_cast<const unsigned char*>(bytes.data() + at), ev.max_kukan, r);
    teams.push_back(r);
  }
  return teams;
}

// The record of one team number (the test fails on a missing team through the index).
inline MastRecord find(const std::vector<MastRecord>& teams, int no) {
  for (const MastRecord& r : teams)
    if (r.team_no == no) return r;
  return MastRecord{};
}

}  // namespace tiny_race
