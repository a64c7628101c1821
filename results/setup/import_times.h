// Entered times of another master file of the same race copied into one master file,
// team by team, only into stations where nothing was entered yet: data already entered
// always wins, and the copied entries follow all existing ones in the entry order.
#pragma once
#include <string>

// 0 after an import, -1 when both names denote the same file, 1 when the numbers of
// sections differ, 2 when the record lengths differ (nothing changed then).
int import_times(const std::string& destination, const std::string& source);

// Other functions [2]: asks for the other file and imports from it into MASTFILE.DAT.
void import_times_dialogue();
