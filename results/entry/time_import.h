// Arrival (and departure) times of one relay point read from a text file: a timing
// device's file, or a check list saved to a file and corrected (other functions [3]).
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "results/model/hms_time.h"

// Other functions [3]: choose the file, the relay point (unless the file names it with
// an EkiNo= line) and an added time, import, check speeds, then post_entry_menu.
void time_import();

// Asks for the file name, shows the file, asks to confirm. Returns the name, or nothing
// when the user cancelled; station_out is the number of the file's EkiNo= line, or -1.
std::optional<std::string> choose_import_file(int& station_out);

// The number of the first EkiNo= line of the file, or -1.
int import_file_station(const std::string& file);

// One data line after cleaning: row number ("12:" or "12.", also in quotes as a
// comma-delimited check list writes it), parenthesised text and the characters
// ﾟ ' , " . : removed, a blank appended.
std::string clean_import_line(const std::string& line);

// Imports every line of the file into physical station `station`, adding `added` to
// every time. Messages go to the console, and into `refused` when given. Returns the
// number of lines written.
int import_times(const std::string& file, int station, HmsTime added,
                 std::vector<std::string>* refused = nullptr);
