// The small menu after a series of entries at one relay point: its check list and, after
// arrival entry, the forced-start entry for the same relay point.
#pragma once

// offer 2 shows both entries, 1 only the check list.
void post_entry_menu(int offer, int station);
