// A whole race through the keys an organiser presses: the first start builds the master
// file, other functions [3] reads every bundled time file of the sample race, and result
// output [3] writes the division results of all divisions to OUT.TXT. The printed ranks
// are checked against ranks counted from the race's text files alone.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app_test_support.h"
#include "reports/division_results_test_race.h"
#include "reports/sample_race_ranks.h"
#include "results/app/main_menu.h"

namespace {

using namespace sample_race_ranks;

// Feeds a text key by key.
void type(VirtualConsole& con, const std::string& text) {
  for (char c : text) con.feed_key(static_cast<unsigned char>(c));
}

TEST(WholeRace, KeysFromFirstStartToTheDivisionResultsAgreeWithTheTimes) {
  AppScreen s;
  test_support::copy_folder_files(kSample, s.dir.path());
  // Files opened for viewing go to an "editor" that shows nothing and ends at once.
  ScopedEnv viewer("VISUAL", "true");
  VirtualConsole& con = *s.con;

  // First start: register the start times, back to the menu.
  con.feed_keys({'y', 'y'});
  // Other functions [3] for every time file: the name, "Y" for the file, Enter for no added
  // time; "y" for a speed warning should one wait (the post-entry menu beeps at it
  // otherwise), Esc out of the post-entry menu.
  con.feed_key('9');
  for (const std::string& file : time_files()) {
    con.feed_key('3');
    type(con, file);
    con.feed_keys({KEY_ENTER, 'Y', KEY_ENTER, 'y', KEY_ESC});
  }
  con.feed_key(KEY_ESC);
  // Result output [3]: "y" for a missing-departure warning should one wait (the number
  // field beeps at it otherwise), all divisions ("0", Enter), no delimiter, "y" for the
  // warnings before the computation should they wait (the submenu beeps otherwise).
  con.feed_keys({'7', '3', 'y', '0', KEY_ENTER, '0', 'y', 'y', 'y', KEY_ESC});
  con.feed_keys({KEY_ESC, 'y'});
  EXPECT_EQ(main_loop(), 0) << con.screen_text();
  EXPECT_EQ(con.keys_left(), 0u);

  const SampleRace race = read_sample_race();
  const std::map<int, int> expected = count_goal_ranks(race, read_raw_times());
  const std::string text = test_support::read_bytes(s.dir.file("OUT.TXT"));
  ASSERT_FALSE(text.empty());
  const auto divisions = division_results_test::printed_ranks(text);
  ASSERT_EQ(divisions.size(), race.divisions.size());
  std::set<int> seen;
  for (std::size_t d = 0; d < divisions.size(); ++d) {
    for (const auto& [team, rank] : divisions[d]) {
      ASSERT_TRUE(race.teams.count(team)) << team;
      EXPECT_EQ(race.teams.at(team).division, static_cast<int>(d)) << "team " << team;
      EXPECT_EQ(rank, expected.at(team)) << "team " << team;
      seen.insert(team);
    }
  }
  EXPECT_EQ(seen.size(), race.teams.size()) << "every team is listed once";
}

}  // namespace
