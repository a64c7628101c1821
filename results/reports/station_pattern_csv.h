// 部門中継所.csv: the stations of the race and the role each plays in each division
// (start, relay point, goal, or not used), for a spreadsheet. CP932, CR LF, every field
// in double quotes, separated by commas.
#pragma once
#include <string>

#include "results/model/event_definition.h"

class Stream;

inline constexpr const char* kStationPatternFile = "部門中継所.csv";

// One quoted CSV field; a double quote inside is written twice, so names that carry one
// still read back as one field.
std::string csv_quoted(const std::string& text);

// The role of physical station s in division d: "" (not used), "スタート", "ゴール" or
// "第%d中継所" with its logical index.
std::string station_role(const EventDefinition& ev, int d, int s);

// The heading line and one line per station of `ev`.
void write_station_pattern(Stream& out, const EventDefinition& ev);

// Other functions [6]: writes 部門中継所.csv (replaced) from the loaded race description,
// then hands it to the desktop's program for its type.
void write_station_csv();
