// Small facts about one team's course that every step of the computation asks.
#pragma once
#include "results/model/event_definition.h"
#include "results/model/master_records.h"

// N_d of the team's division: the logical index of its goal. 0 for a division index
// outside the race description (such a record takes no part in the computation).
inline int team_sections(const EventDefinition& ev, const MastRecord& rec) {
  if (rec.bumon_no >= kMaxDivisions) return 0;
  const int n = ev.sections[rec.bumon_no];
  return n < 0 ? 0 : (n > kMaxSections ? kMaxSections : n);
}

// Logical index of physical station p on the team's course, -1 when not used.
inline int team_slot_at(const EventDefinition& ev, const MastRecord& rec, int p) {
  if (rec.bumon_no > kMaxDivisions || p < 0 || p > kMaxStations) return -1;
  return ev.phy_to_log[rec.bumon_no][p];
}

inline bool is_open_team(const MastRecord& rec) { return rec.open_flag == '1'; }
