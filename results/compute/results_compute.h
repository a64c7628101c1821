// The results computation: from the entered start, arrival and departure times alone it
// derives every team's section and cumulative times, the section and cumulative ranks
// per division (with the same-time rule) and writes them back into MASTFILE.DAT; then it
// builds the output order of the teams that the reports walk.
//
// Nothing is kept between runs: every step rereads MASTFILE.DAT, so running the whole
// computation twice gives the same file.
#pragma once
#include <cstdint>
#include <vector>

#include "results/model/master_records.h"

// The furthest point reached in each division (make_print_jun, prepare_results).
inline constexpr int kFurthestPoint = 2147483647;
inline constexpr int kPrintJunTopSize = kMaxDivisions + 2;  // 22

// The output order left by the last make_print_jun: record numbers of MASTFILE.DAT, -1
// beyond the last team. The teams of division d stand at print_jun[print_jun_top[d]] up
// to print_jun[print_jun_top[d + 1] - 1].
extern int print_jun[kMaxTeams];
extern int print_jun_top[kPrintJunTopSize];

// The step every computed report runs first: the output questions (when ask_output is
// non-zero; ask_delimiter adds the delimiter question), the consistency warnings, the
// whole computation and, for point >= 0, the output order at that physical station (or
// at the furthest point reached with kFurthestPoint). Returns -1 when the user left the
// output questions with Esc (nothing computed), else 0.
int prepare_results(int ask_output, int ask_delimiter, int point);

// Section time[k] = arrival[k] - departure[k-1] for k = 1 .. N_d; cumulative times as
// their running sum until the first section without a time. Rewrites MASTFILE.DAT.
void calc_times();
// Competition ranks (1, 1, 3, ...) per division for every section and relay point, with
// the option RULE_KUKAN_KIKEN (1: every valid time; 2: only while the cumulative time
// exists; 3: only teams with a cumulative time at their goal). Open teams are never
// ranked. Rewrites MASTFILE.DAT.
void calc_ranks();
// Teams of one division with equal cumulative time at a station get consecutive ranks
// in the order their times were entered, unless one of them was started by a forced
// start earlier or has no input sequence number. A tied team without a rank (an open
// team, or under rule 3 one that did not finish) keeps none and pushes nobody down.
// Rewrites MASTFILE.DAT.
void adjust_same_time_ranks();
// Fills print_jun / print_jun_top for a physical station or kFurthestPoint, placing open
// teams by the option OPEN_TEAM_OUTPUT_POSITION (1 by time among the others, 2 after the
// ranked teams, 3 after all regular teams).
void make_print_jun(int point);

// One team in goal-arrival order (the goal flash).
struct GoalEntry {
  std::int8_t bumon_no = 0;
  std::int32_t elapsed_seconds = 0;  // goal arrival - start; 2147483647 without a goal time
  std::uint16_t goal_seq = 0;        // input sequence number at the goal; 65535 for none
  std::int32_t rec_no = 0;           // record number in MASTFILE.DAT
};
// Every team sorted by division, elapsed time from the division's start, then the order
// of entry at the goal.
std::vector<GoalEntry> make_goal_order();
