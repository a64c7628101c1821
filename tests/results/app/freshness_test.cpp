// Which files the main menu's idle check finds out of date, by their modification times.
#include <gtest/gtest.h>

#include <utime.h>

#include <string>
#include <vector>

#include "app_test_support.h"
#include "results/app/freshness.h"

namespace {

// A file with a modification time that many minutes after a fixed moment.
void write_at(const std::string& name, int minutes) {
  test_support::write_bytes(name, "x");
  const time_t when = 1700000000 + minutes * 60;
  const utimbuf times{when, when};
  ASSERT_EQ(utime(name.c_str(), &times), 0);
}

struct FileAt {
  const char* name;
  int minutes;
};

TEST(Freshness, MasterFileIsStaleWhenARaceFileIsNewer) {
  const struct {
    const char* what;
    std::vector<FileAt> files;
    bool stale;
  } cases[] = {
      {"no files at all", {}, false},
      {"race files but no master file", {{"EKI.TXT", 1}, {"BUMON.TXT", 1}, {"TEAM.TXT", 1}}, true},
      {"master file newer than all", {{"EKI.TXT", 1}, {"BUMON.TXT", 2}, {"TEAM.TXT", 3}, {"MASTFILE.DAT", 4}}, false},
      {"same minute", {{"EKI.TXT", 4}, {"BUMON.TXT", 4}, {"TEAM.TXT", 4}, {"MASTFILE.DAT", 4}}, false},
      {"EKI.TXT edited", {{"EKI.TXT", 5}, {"BUMON.TXT", 2}, {"TEAM.TXT", 3}, {"MASTFILE.DAT", 4}}, true},
      {"BUMON.TXT edited", {{"EKI.TXT", 1}, {"BUMON.TXT", 5}, {"TEAM.TXT", 3}, {"MASTFILE.DAT", 4}}, true},
      {"TEAM.TXT edited", {{"EKI.TXT", 1}, {"BUMON.TXT", 2}, {"TEAM.TXT", 5}, {"MASTFILE.DAT", 4}}, true},
      {"only SENSYU.TXT edited", {{"TEAM.TXT", 1}, {"MASTFILE.DAT", 4}, {"SENSYU.TXT", 9}}, false},
  };
  for (const auto& c : cases) {
    test_support::ScratchDir dir;
    for (const FileAt& f : c.files) write_at(f.name, f.minutes);
    EXPECT_EQ(master_file_stale(), c.stale) << c.what;
  }
}

TEST(Freshness, NameFileIsStaleWhenMissingOrOlderThanTheRunners) {
  const struct {
    const char* what;
    std::vector<FileAt> files;
    bool stale;
  } cases[] = {
      {"no name file", {{"SENSYU.TXT", 1}}, true},
      {"name file older", {{"SENSYU.TXT", 5}, {"NAMEFILE.DAT", 4}}, true},
      {"name file newer", {{"SENSYU.TXT", 3}, {"NAMEFILE.DAT", 4}}, false},
      {"no runner file", {{"NAMEFILE.DAT", 4}}, false},
  };
  for (const auto& c : cases) {
    test_support::ScratchDir dir;
    for (const FileAt& f : c.files) write_at(f.name, f.minutes);
    EXPECT_EQ(name_file_stale(), c.stale) << c.what;
  }
}

TEST(Freshness, RaceFileNamesInOtherLetterCasesCount) {
  test_support::ScratchDir dir;
  write_at("MASTFILE.DAT", 4);
  write_at("eki.txt", 5);  // a race folder copied from Windows
  EXPECT_TRUE(master_file_stale());
}

}  // namespace
