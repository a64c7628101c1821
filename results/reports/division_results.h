// The division result list (部門別成績一覧表, up to each division's goal) and the
// intermediate result list (中間成績一覧表, up to one relay point): for every team of a
// division the runner, the section time and the cumulative time of every section up to
// the point, in the output order left by the computation. The same text serves the
// printer (fixed columns, a form feed after each division) and delimited data for a file
// or the clipboard (the same fields cut by the field separator).
#pragma once
#include <string>

#include "results/compute/results_compute.h"

// The point value that means each division's goal.
inline constexpr int kDivisionGoal = kFurthestPoint;

// Writes the list up to `point` (a physical station, or kDivisionGoal for the goal of
// every division marked by select_divisions) to the current destination and hands it to
// the print command PRINTCMD73 (goal) or PRINTCMD77 (relay point). prepare_results for
// the same point must have run just before. A division without teams at the point
// writes nothing, not even its header.
void print_division_results(int point);

// One ranked time cell: 13 bytes, the time and its rank in brackets ("%2d" with the
// closing bracket, "%3d" without it from 100 on, four blanks without a rank); 13 blanks
// when the time is not set.
std::string ranked_time_cell(HmsTime time, int rank, char open, char close);

// The runner cell of one section: "*" for a section win and "&" for a forced start of
// the section, each only while the cell still fits `cell_width` bytes, then the name.
std::string runner_cell(const char* runner, bool section_win, bool forced_start,
                        int cell_width);

// "第" + the section number in full-width digits + "区".
std::string section_heading(int section);

// Result-output [3]: the missing-departure warning, the division choice and the
// computation (again after Esc at the output questions), then the list at the goal.
void division_results_entry();
// Result-output [7]: the relay point, every division marked, the computation, then the
// list at that point.
void intermediate_results_entry();
