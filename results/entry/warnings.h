// Consistency warnings over the entered times: a missing departure before an
// arrival, an arrival earlier than its departure, and implausible section speeds.
// None of them changes data; they print on the console and end with the
// confirmation so that nothing scrolls by unseen.
#pragma once
#include <string>

#include "results/model/master_file.h"
#include "results/model/master_records.h"

// Warnings printed in full; the rest are only counted.
inline constexpr int kWarningsShown = 5;
// Abnormal speeds printed by speed_check_all.
inline constexpr int kSpeedWarningsShown = 11;

// Case bits of missing_departure_check.
inline constexpr int kMissingDepartureBeforeArrival = 1;

// For every team and section: an arrival at slot i while the departure at slot i - 1
// is missing (when `mask` holds that case). Prints the first five, the total line when
// there are more, then waits for Y. Returns the number of warnings.
int missing_departure_check(int mask);

// For every team and slot 0 .. N_d: the arrival lies before the departure. Same
// printing and limits as above. Returns the number of warnings.
int arrival_before_departure_check();

// 1 when section `section` (1 .. N_d of the team's division) of `record` runs at or
// beyond the speed limits of the race description, else 0. The section time is
// recomputed into `record` (a copy in memory). With `report` non-zero the warning is
// printed on the console.
int speed_check(MastRecord& record, int section, int report);

// speed_check over every team and section of a master file (MASTFILE.DAT unless
// another file of this race is named): prints the first eleven abnormal sections, then
// the total and the confirmation when there were any. Returns the number of abnormal
// sections.
int speed_check_all(const std::string& master_file = kMastFile);
