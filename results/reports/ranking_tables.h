// The three ranking tables of the result-output menu:
//  - 順位変遷表 (rank progression): per division, who held each overall rank at the end
//    of each section (plain text only);
//  - 区間順位表 (section rank table): the runners of one section per division in order
//    of section rank, with their speed;
//  - スピード・ランキング表 (speed ranking): every runner of a division over all
//    sections, fastest first.
// The last two also serve delimited data for a file or the clipboard (the fields of each
// row cut by the field separator and quoted as the output destination asks).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "results/model/master_records.h"

// Rank positions and sections of one division's rank progression grid.
inline constexpr int kProgressionRows = kMaxTeams;
inline constexpr int kProgressionColumns = kMaxSections;

// Who stands in each rank position (row) at the end of each section (column) of one
// division: record numbers of MASTFILE.DAT, -1 where nobody stands.
struct RankProgressionGrid {
  std::int32_t cells[kProgressionRows][kProgressionColumns];
  RankProgressionGrid() { clear(); }
  void clear();
  // Puts the team into the first empty row at or below row rank - 1 of the column, so
  // tied teams fill consecutive rows in the order they are placed. False when the rank
  // is not 1 or more, the column is outside the grid, or no row is left.
  bool place(int column, int rank, std::int32_t rec_no);
  // Number of rows up to the last one that holds a team in any column (0 when empty).
  int last_used_row() const;
};

// One row of the section rank table.
struct SectionRankEntry {
  std::int8_t bumon_no = 0;
  std::int32_t rec_no = 0;
  std::int32_t rank = 0;  // the section rank; kNoSectionRank when the team has none
};
inline constexpr std::int32_t kNoSectionRank = 32767;
// Most rows of one section rank table (one per team of the master file).
inline constexpr int kMaxSectionRankEntries = kMaxTeams;

// Every team of MASTFILE.DAT (file order) whose division has at least `section`
// sections and whose time of that section is set, sorted by division, then section
// rank (teams without one last), then record number. At most kMaxSectionRankEntries.
std::vector<SectionRankEntry> collect_section_ranks(int section);

// The rank progression table of every division with at least one team ranked at its
// first relay point, a page break after each, handed to PRINTCMD74. prepare_results
// must have run just before.
void print_rank_progression();
// The section rank table of `section` (1 .. max_kukan) for every division that runs it,
// handed to PRINTCMD75. prepare_results with the delimiter question must have run.
void print_section_ranks(int section);
// The speed ranking of every division with at least one section time, a page break
// after each, handed to PRINTCMD78. prepare_results with the delimiter question must
// have run.
void print_speed_ranking();

// Result-output [4]: the missing-departure warning, the computation after the output
// questions (no delimiter), then the rank progression table.
void rank_progression_entry();
// Result-output [5]: the section choice and the computation with the delimiter question
// (the section is asked again after Esc at the questions), then the section rank table.
void section_ranks_entry();
// Result-output [8]: the missing-departure warning, the computation with the delimiter
// question, then the speed ranking.
void speed_ranking_entry();
