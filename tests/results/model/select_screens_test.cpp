// The selection screens on the virtual console: what they draw, what they accept,
// and what they return.
#include <gtest/gtest.h>

#include <string>

#include "race_test_helpers.h"
#include "results/model/event_definition.h"
#include "results/model/select_screens.h"

namespace {

using test_support::to_cp932;

class SelectScreensTest : public race_test::RaceFolderTest {
 protected:
  void SetUp() override {
    RaceFolderTest::SetUp();
    use_fixture("two_courses");  // 11 stations, 2 divisions, 10 sections at most
    RaceFileError error;
    ASSERT_TRUE(load_race_files(event_definition(), error));
  }
  std::string row(int r) { return to_cp932(console_->row_text(r)); }
  std::string text_at(int r, int c, int n) { return to_cp932(console_->text_at(r, c, n)); }
};

TEST_F(SelectScreensTest, DivisionScreenListsTheDivisionsAndMarksTheChosenOnes) {
  console_->feed_text("2");
  console_->feed_keys({KEY_ENTER, KEY_ENTER});
  EXPECT_EQ(select_divisions(), 1);
  EXPECT_EQ(row(0).substr(0, 23), "成績一覧表 出力部門選択");
  EXPECT_EQ(text_at(2, 8, 10), " 0. 全部門");
  EXPECT_EQ(text_at(3, 8, 12), " 1. 一般の部");
  EXPECT_EQ(text_at(4, 8, 14), " 2. 中学生の部");
  EXPECT_NE(row(6).find("選択部門No(空入力で選択終了)＝"), std::string::npos) << row(6);
  EXPECT_FALSE(division_selection().selected[0]);
  EXPECT_TRUE(division_selection().selected[1]);
}

TEST_F(SelectScreensTest, DivisionScreenAnswers) {
  struct Case {
    const char* label;
    std::vector<int> keys;
    int result;
    bool first, second;
    int beeps;
  };
  const std::vector<Case> cases = {
      {"zero selects all", {'0', KEY_ENTER}, 1, true, true, 0},
      {"empty entry with nothing chosen", {KEY_ENTER}, 0, false, false, 0},
      {"Esc", {'1', KEY_ENTER, KEY_ESC}, 0, true, false, 0},
      {"number past the divisions beeps", {'3', KEY_ENTER, '1', KEY_ENTER, KEY_ENTER}, 1, true,
       false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const int beeps = console_->beep_count();
    for (int key : c.keys) console_->feed_key(key);
    EXPECT_EQ(select_divisions(), c.result);
    EXPECT_EQ(division_selection().selected[0], c.first);
    EXPECT_EQ(division_selection().selected[1], c.second);
    EXPECT_FALSE(division_selection().selected[2]);
    EXPECT_EQ(console_->beep_count() - beeps, c.beeps);
    EXPECT_EQ(console_->keys_left(), 0u);
  }
}

TEST_F(SelectScreensTest, SectionScreenTakesOneToMaxKukan) {
  console_->feed_keys({'1', '1', KEY_ENTER, '0', KEY_ENTER, '1', '0', KEY_ENTER});
  EXPECT_EQ(select_section(), 10);
  EXPECT_EQ(console_->beep_count(), 2);
  EXPECT_EQ(row(0).substr(0, 14), "区間順位表出力");
  EXPECT_EQ(text_at(2, 8, 6), "区間＝");
  console_->feed_key(KEY_ESC);
  EXPECT_EQ(select_section(), 0);
}

TEST_F(SelectScreensTest, StationScreenShowsWorkingNamesInTheirColours) {
  console_->feed_keys({'9', '9', KEY_ENTER, KEY_ENTER, '1', '0', KEY_ENTER});
  EXPECT_EQ(select_station("中間成績一覧表出力", 3, true, false), 10);
  EXPECT_EQ(console_->beep_count(), 2);  // 99 without "すべて", and the empty entry
  EXPECT_EQ(text_at(1, 0, 18), "中間成績一覧表出力");
  EXPECT_EQ(console_->attr_at(1, 0), 0x3F);
  EXPECT_EQ(text_at(2, 20, 14), "  0 : 市役所前");
  EXPECT_EQ(text_at(3, 20, 16), "  1 : 第一中継所");
  EXPECT_EQ(text_at(12, 20, 12), " 10 : 競技場");
  EXPECT_EQ(console_->attr_at(12, 20), 0x0B);
  EXPECT_EQ(text_at(14, 0, 12), "中継所Ｎｏ＝");
  EXPECT_NE(row(1).find("出力先→"), std::string::npos) << row(1);
}

TEST_F(SelectScreensTest, StationScreenOffersAllWhenAsked) {
  console_->feed_keys({'9', '9', KEY_ENTER});
  EXPECT_EQ(select_station("T", 7, false, true), 99);
  EXPECT_EQ(console_->attr_at(1, 0), 0xF8);
  EXPECT_EQ(text_at(13, 20, 12), " 99 : すべて");
  EXPECT_EQ(text_at(15, 0, 12), "中継所Ｎｏ＝");
  EXPECT_EQ(row(1).find("出力先→"), std::string::npos);
  console_->feed_key(KEY_ESC);
  EXPECT_EQ(select_station("T", 7, false, true), -1);
}

TEST_F(SelectScreensTest, FiftyStationsStayOnTheScreen) {
  std::string eki;
  for (int i = 0; i < 50; ++i) {
    const std::string number = std::to_string(i);
    eki += 'S';
    eki += number;
    eki += ' ';
    eki += number;
    eki += '\n';
  }
  race_test::write_race_file("EKI.TXT", eki);
  race_test::write_race_file("BUMON.TXT",
                            "A\nMaxSpeed=20 MinSpeed=5\n++" + std::string(48, '/') + "\n");
  RaceFileError error;
  ASSERT_TRUE(load_race_files(event_definition(), error));
  console_->feed_keys({'4', '9', KEY_ENTER});
  EXPECT_EQ(select_station("T", 3, false, true), 49);
  EXPECT_EQ(text_at(2, 1, 8), "  0 : S0");
  EXPECT_EQ(text_at(11, 55, 9), " 49 : S49");
  EXPECT_EQ(text_at(12, 55, 12), " 99 : すべて");
  EXPECT_EQ(text_at(23, 0, 12), "中継所Ｎｏ＝");
}

}  // namespace
