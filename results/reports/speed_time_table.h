// The speed/time conversion table (other-functions entry 4): how long each of seven
// distances takes at speeds from 30.0 km/h down to 4.5 km/h in half-km/h steps.
#pragma once
#include <string>

class Stream;

inline constexpr int kSpeedTableDistances[] = {100, 800, 1000, 1500, 5000, 10000, 42195};
inline constexpr int kSpeedTableFastestHalfKmh = 60;  // 30.0 km/h
inline constexpr int kSpeedTableSlowestHalfKmh = 9;   // 4.5 km/h

// One cell: the time to run distance metres at half_kmh / 2 km/h. Below 60 seconds
// "%7.2f" seconds; otherwise the whole seconds (truncated) as a time ("   2'00"). The
// time is computed as distance x 3600 / (speed x 1000) in integers, so a time that is a
// whole number of seconds stays exact.
std::string speed_table_cell(int distance, int half_kmh);

// Writes the whole table: a title, a heading row and 52 rows, fields separated by tabs.
void write_speed_time_table(Stream& out);

// Writes the table to the chosen destination (no questions) and hands it over with the
// print command PRINTCMD94.
void print_speed_time_table();
