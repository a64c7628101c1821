// Team awards (団体賞): the teams of each division whose overall rank at the division's
// goal is from 1 to the option BESTNO (default 10), tied teams all included, open teams
// and teams without a goal time never. Two products share one walk over the output
// order of the goal: the printed list 団体賞（n位まで）一覧表 and the tab-separated
// mail-merge file 団体賞TAB.txt that certificate documents read.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "results/model/master_records.h"

inline constexpr const char* kTeamAwardDataFile = "団体賞TAB.txt";
inline constexpr int kDefaultBestNo = 10;

// One awarded team, in the order of the list.
struct TeamAward {
  int division = 0;  // from 0
  int rank = 0;      // cumulative rank at the division's goal
  MastRecord team;
  NameRecord runners;  // filled only when the names were asked for
};

// The awarded teams, division by division, each division in the output order left by
// make_print_jun for the goal (print_jun / print_jun_top). Reads MASTFILE.DAT and, with
// with_runners, NAMEFILE.DAT.
std::vector<TeamAward> collect_team_awards(int best_no, bool with_runners);

// The certificate wordings of a rank: "優　勝" / "第 r 位"; "優　勝" / "準優勝" / "第 r 位";
// always "第 r 位".
std::array<std::string, 3> rank_wordings(int rank);

// The printed list to the current destination, handed to PRINTCMD72. prepare_results
// (1, 0, kFurthestPoint) must have run just before. Nothing awarded: nothing written,
// the empty output still handed over.
void print_team_awards();

// Writes 団体賞TAB.txt anew (one row per awarded team, in list order) and opens it with
// the desktop's program. prepare_results (0, 0, kFurthestPoint) must have run just before.
// A file that cannot be written completely is reported on the console, not opened, and
// false is returned.
bool write_team_award_tsv();

// Result-output [2]: the missing-departure warning, the output question and the
// computation, then the list (Esc at the output question goes back to the submenu).
void team_awards_entry();
// Certificate [6]: the computation, then 団体賞TAB.txt written and opened (false when it
// could not be written; the menu ignores the result).
bool team_award_data_entry();
// Certificate [8]: as [6]; when the file was written, "この差し込みファイルでよろしいですか？（Y / N）" at row 22,
// column 10; on Y or y open_document (the team certificate document opener) runs.
void team_award_data_and_document_entry(void (*open_document)());
