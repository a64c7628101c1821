// The small menu after a series of entries at one relay point: its check list and, after
// arrival entry, the forced-start entry for the same relay point.
#pragma once
#include <string>
#include <vector>

// offer 2 shows both entries, 1 only the check list. `refused` are the messages of lines
// a text-file import did not take: they stay listed below the menu, so that no team left
// out goes unnoticed when the import's own output is cleared.
void post_entry_menu(int offer, int station, const std::vector<std::string>& refused = {});
