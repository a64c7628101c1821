// The speed of every runner of one division: one entry per team and section with a
// section time that is set (valid and not 0:00:00). Shared by the HTML speed ranking
// and the printed speed ranking list.
#pragma once
#include <vector>

// One runner's section: the section rank (0 or less: none, e.g. an open team), the
// speed in km/h (section distance / section time in hours, full double precision),
// the record number in MASTFILE.DAT and the section k (1 .. the division's sections).
struct SectionSpeed {
  int section_rank = 0;
  double speed = 0.0;
  int rec_no = 0;
  int section = 0;
};

// The most entries kept for one division (the working table of one operation).
inline constexpr int kMaxSpeedEntries = 10000;

// Reads every team record of MASTFILE.DAT in file order and takes, for each team of
// `division` (index from 0) and each of its sections with a set section time, one
// entry, in file order and section order. At most kMaxSpeedEntries; the rest is left
// out. Uses the loaded race description.
std::vector<SectionSpeed> collect_section_speeds(int division);

// Fastest first; entries of equal speed keep their collected order (file, section).
void sort_fastest_first(std::vector<SectionSpeed>& entries);

// The rank shown beside each entry of a list sorted fastest first: the row number from
// 1, kept while the speed equals the previous row's (20.5, 20.5, 19.8 give 1, 1, 3).
std::vector<int> shown_speed_ranks(const std::vector<SectionSpeed>& entries);

// Distance in km of section k (1 .. its sections) of division d: cumulative distance
// of its logical station k minus that of station k - 1.
double section_distance_km(int division, int section);
