// The goal flash (ゴール速報): right after teams finish, every team of each division by its
// total time from the division's start to the goal, taken only from the start and goal
// times entered so far. Relay points are ignored and nothing is recomputed, so the list
// is a check of the entered times, not the official ranking (its heading says so).
#pragma once
#include <string>
#include <vector>

#include "results/compute/results_compute.h"

class Stream;

// Writes the list for the teams in goal order (make_goal_order), at most kMaxTeams of
// them; `stamp` is the date and time of the heading. Returns the number of teams written.
int write_goal_flash(Stream& out, const std::vector<GoalEntry>& entries,
                     const std::string& stamp);

// Result-output [0]: the output question (no delimiter question; Esc returns), then the
// list in goal order to the chosen destination, a page break when anything was written,
// and the hand-off with the print command PRINTCMD70. Needs no computation first.
void print_goal_flash();
