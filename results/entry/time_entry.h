// Arrival times typed at a relay point or the goal (main menu [4]) and forced starts
// (main menu [5]). Every accepted time is written into the team's master record at once.
#pragma once
#include "results/model/hms_time.h"
#include "results/model/master_file.h"
#include <string>

// Main menu [4]: choose a relay point, give an added time, then type team numbers and
// their times; after leaving a relay point where teams were entered, post_entry_menu.
void time_entry();

// Forced starts (繰上出発) at one relay point: mode 1 chooses the relay point itself (main
// menu [5]); mode 2 uses `station` (from post_entry_menu).
void forced_start_entry(int mode, int station);

// Main menu [5]: forced_start_entry in its first mode.
void forced_start_entry_from_menu();

// Lists the teams that arrived at the current forced-start relay point later than the
// current forced-start time but were not given that departure.
void forced_start_warning();

// The relay point and time of the last forced-start dialogue (process-wide).
int forced_start_station();
HmsTime forced_start_time();

// The largest input sequence number stored in slots 1 .. N_d of any team (unsigned) of
// a master file (MASTFILE.DAT unless named); the next entry takes this plus one.
unsigned max_input_seq(const std::string& master_file = kMastFile);
