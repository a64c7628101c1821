// The sample race's goal ranks counted from its text files alone (BUMON.TXT, TEAM.TXT and
// the TIMEIN*.TXT time files), without any of the program's readers or its computation,
// so that tests can check what the program prints against an independent count.
#pragma once
#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace sample_race_ranks {

inline const std::string kSample = SAMPLE_RACE_DIR;

// The race as its text files describe it, read here without the program's readers.
struct SampleRace {
  struct Division {
    int start_seconds = 0;
    std::vector<int> stations;  // physical stations of the course, start first
  };
  struct Team {
    int division = 0;  // 0-based
    bool open = false;
  };
  std::vector<Division> divisions;
  std::map<int, Team> teams;
};

inline std::vector<std::string> utf8_lines(const std::string& file) {
  std::vector<std::string> lines;
  std::istringstream in(test_support::to_utf8(test_support::read_bytes(file)));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

inline int seconds_of(const std::string& hhmmss) {
  const int n = std::stoi(hhmmss);
  return n / 10000 * 3600 + n / 100 % 100 * 60 + n % 100;
}

inline SampleRace read_sample_race() {
  SampleRace race;
  const auto bumon = utf8_lines(kSample + "/BUMON.TXT");
  for (std::size_t i = 0; i + 2 < bumon.size() && bumon[i] != "*"; i += 3) {
    SampleRace::Division d;
    std::smatch m;
    EXPECT_TRUE(std::regex_search(bumon[i + 1], m, std::regex(R"(StartTime=(\d+))")));
    d.start_seconds = seconds_of(m[1]);
    for (std::size_t s = 0; s < bumon[i + 2].size(); ++s)
      if (bumon[i + 2][s] == '+') d.stations.push_back(static_cast<int>(s));
    race.divisions.push_back(d);
  }
  for (const std::string& line : utf8_lines(kSample + "/TEAM.TXT")) {
    std::smatch m;
    if (!std::regex_match(line, m, std::regex(R"((\d+)\t[^\t]+\t(\d+)(\t(\w+))?\s*)"))) continue;
    race.teams[std::stoi(m[1])] = {std::stoi(m[2]) - 1, m[4] == "open"};
  }
  return race;
}

// One line of a time file: station, team, arrival and departure in seconds (-1: none).
struct RawTime {
  int station, team, arrival, departure;
};

inline std::vector<std::string> time_files() {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(kSample)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("TIMEIN", 0) == 0) files.push_back(name);
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Every data line in the order of the files and lines (the order of entry).
inline std::vector<RawTime> read_raw_times() {
  std::vector<RawTime> times;
  for (const std::string& file : time_files()) {
    int station = -1;
    for (std::string line : utf8_lines(kSample + "/" + file)) {
      std::smatch m;
      if (std::regex_search(line, m, std::regex(R"(EkiNo=(\d+))"))) station = std::stoi(m[1]);
      line = std::regex_replace(line, std::regex(R"(\(.*\))"), "");
      line = std::regex_replace(line, std::regex(R"(^\s*\d+:)"), "");
      line = std::regex_replace(line, std::regex(R"([:'])"), "");
      if (!std::regex_match(line, m, std::regex(R"(\s*(\d+)\s+(\d+|NoData)(\s+(\d+))?\s*)"))) continue;
      const int arrival = m[2] == "NoData" ? -1 : seconds_of(m[2]);
      const int departure = m[4].matched ? seconds_of(m[4]) : arrival;
      times.push_back({station, std::stoi(m[1]), arrival, departure});
    }
  }
  return times;
}

// Goal ranks counted from the raw times: sections from each departure to the next
// arrival; ranks by cumulative time within the division, open teams unranked; teams at
// equal time ranked by the order of their goal entries unless one of them was started
// by a forced start. 0 for no rank.
inline std::map<int, int> count_goal_ranks(const SampleRace& race, const std::vector<RawTime>& raw) {
  struct Team {
    std::map<int, int> arrival, departure;  // by physical station
    int goal_order = 0;
    int total = -1;
    bool forced = false;
  };
  std::map<int, Team> teams;
  int order = 0;
  for (const RawTime& t : raw) {
    if (!race.teams.count(t.team)) continue;
    const auto& course = race.divisions[race.teams.at(t.team).division].stations;
    if (std::find(course.begin(), course.end(), t.station) == course.end()) continue;
    Team& team = teams[t.team];
    team.arrival[t.station] = t.arrival;
    team.departure[t.station] = t.departure;
    if (t.station == course.back()) team.goal_order = ++order;
  }
  for (auto& [no, team] : teams) {
    const auto& division = race.divisions[race.teams.at(no).division];
    int total = 0;
    int from = division.start_seconds;
    for (std::size_t k = 1; k < division.stations.size(); ++k) {
      const int s = division.stations[k];
      if (!team.arrival.count(s) || team.arrival[s] < 0 || from < 0 || team.arrival[s] <= from) {
        total = -1;
        break;
      }
      total += team.arrival[s] - from;
      if (k + 1 < division.stations.size()) {
        if (team.departure[s] != team.arrival[s]) team.forced = true;
        from = team.departure[s];
      }
    }
    team.total = total;
  }
  std::map<int, int> ranks;
  for (const auto& [no, info] : race.teams) {
    ranks[no] = 0;
    const auto it = teams.find(no);
    if (info.open || it == teams.end() || it->second.total < 0) continue;
    int rank = 1;
    std::vector<int> tied;
    for (const auto& [other, other_info] : race.teams) {
      const auto ot = teams.find(other);
      if (other_info.open || other_info.division != info.division || ot == teams.end() ||
          ot->second.total < 0)
        continue;
      if (ot->second.total < it->second.total) ++rank;
      if (ot->second.total == it->second.total) tied.push_back(other);
    }
    const bool any_forced = std::any_of(tied.begin(), tied.end(),
                                        [&](int t) { return teams[t].forced; });
    if (!any_forced) {
      for (int t : tied)
        if (teams[t].goal_order < it->second.goal_order) ++rank;
    }
    ranks[no] = rank;
  }
  return ranks;
}

}  // namespace sample_race_ranks
