#include "results/model/event_definition.h"

#include <cstring>

void EventDefinition::clear_maps() {
  std::memset(phy_to_log, -1, sizeof phy_to_log);
  std::memset(log_to_phy, -1, sizeof log_to_phy);
}

EventDefinition& event_definition() {
  static EventDefinition instance;
  return instance;
}
