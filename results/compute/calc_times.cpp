#include "results/compute/course.h"
#include "results/compute/results_compute.h"
#include "results/compute/master_table.h"

namespace {

// Section and cumulative times of one team; slot 0 and slots beyond its goal untouched.
void derive_times(MastRecord& rec, int sections) {
  HmsTime cumulative{};
  bool chain_valid = true;
  for (int k = 1; k <= sections; ++k) {
    StationSlot& slot = rec.slots[k];
    slot.section_time = compute_section_time(rec, k);
    if (!hms_is_set(slot.section_time)) chain_valid = false;  // no cumulative time from here on
    if (chain_valid) {
      hms_add(cumulative, cumulative, slot.section_time);
      slot.cumulative_time = cumulative;
    } else {
      hms_zero(slot.cumulative_time);
    }
  }
}

}  // namespace

void calc_times() {
  const EventDefinition& ev = event_definition();
  std::vector<MastRecord> records = load_master_table();
  for (MastRecord& rec : records) derive_times(rec, team_sections(ev, rec));
  store_master_table(records);
}
