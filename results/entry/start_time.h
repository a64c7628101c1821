// The division start times: typed at the console (main menu [3]) and registered as
// slot 0's departure and arrival of every team in MASTFILE.DAT.
#pragma once
#include <string>

#include "results/model/master_file.h"

// Main menu [3]: asks every division's start time (kept in the race description in
// memory), then start_time_register. Esc leaves the times typed so far in memory only.
void start_time_entry();

// Shows every division's start time and, after "Y", writes it as slot 0's departure
// and arrival of every team of that division. Nothing else in the records changes.
// The master-file build registers into its new file before that file replaces
// MASTFILE.DAT, so the replacement stays one step.
void start_time_register(const std::string& master_file = kMastFile);
