// The HTML pages: the text helpers, both sites of a small race against golden files,
// the page options of OPTION.TXT, a race that has only just started, the order in which
// the index pages are opened, and a structural check of every page with python3.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "division_results_test_race.h"
#include "results/compute/results_compute.h"
#include "results/reports/html_pages.h"
#include "results/shell/stops.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using output_test::u8s;
using test_support::read_bytes;
using test_support::to_cp932;

const std::string kFixture = std::string(FIXTURES_DIR) + "/html_pages";

std::string cp(const char8_t* utf8) { return to_cp932(u8s(utf8)); }

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(HtmlText, EscapesMarkupCharactersButNotTwoByteCharacters) {
  struct Case {
    std::string in;
    std::string expected;
  } cases[] = {
      {"R&D \"A\" <B>", "R&amp;D &quot;A&quot; &lt;B&gt;"},
      {"plain", "plain"},
      {"", ""},
      {cp(u8"走る会"), cp(u8"走る会")},
      // A trail byte never starts a reference: 0x81 0x94 is "＃", 0x83 0x5C "ソ".
      {cp(u8"＃ソ&"), cp(u8"＃ソ") + "&amp;"},
  };
  for (const auto& c : cases) EXPECT_EQ(html_escape(c.in), c.expected) << c.in;
}

TEST(HtmlText, CellTextDropsLeadingBlanksAndMarksTrailingOnes) {
  struct Case {
    const char* in;
    bool nbsp;
    const char* expected;
  } cases[] = {
      {"    12'30< 1>", true, "12'30< 1>"},
      {"    12'30    ", true, "12'30&nbsp;&nbsp;&nbsp;&nbsp;"},
      {"  1:02'03<100", true, "1:02'03<100"},
      {"             ", true, "&nbsp;"},
      {"", true, "&nbsp;"},
      {"   3.50km", false, "3.50km"},
      {"    12'30    ", false, "12'30    "},
      {"         ", false, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(html_cell_text(c.in, c.nbsp), c.expected) << c.in;
}

// The fixture race (tests/results/fixtures/html_pages/race): the division result race
// with a station address on 第一中継所 (with "&") and on the goal, a team name and
// runner names with markup characters, and a division name with them (招待<A&B>, no
// teams). Times as in the division result tests: open team 5, ties, forced starts of
// team 3 (station 2), team 7 (station 3, then section 4 winner "Tom<J>") and team 12.
class HtmlPages : public output_test::OutputTest {
 protected:
  void SetUp() override {
    test_support::copy_folder_files(kFixture + "/race", race_.path());
    division_results_test::build_race_files(*con_);
  }

  void enter_times() {
    division_results_test::TimeWriter w;
    const int times[][4] = {
        {5, 1, 91130, 0},  {1, 1, 91200, 0},  {6, 1, 91230, 0},  {2, 1, 91230, 0},
        {3, 1, 91300, 0},  {7, 1, 91330, 0},  {4, 1, 91400, 0},  {5, 2, 92430, 0},
        {1, 2, 92500, 0},  {6, 2, 92530, 0},  {2, 2, 92600, 0},  {7, 2, 92700, 0},
        {4, 2, 92800, 0},  {3, 2, 94000, 93500}, {5, 3, 93430, 0}, {1, 3, 93500, 0},
        {6, 3, 93600, 0},  {2, 3, 93630, 0},  {3, 3, 94400, 0},  {11, 3, 94000, 0},
        {12, 3, 94500, 94200}, {7, 3, 95000, 94500}, {5, 4, 94300, 0}, {1, 4, 94400, 0},
        {6, 4, 94500, 0},  {2, 4, 94530, 0},  {12, 4, 94900, 0}, {11, 4, 95200, 0},
        {3, 4, 95300, 0},  {7, 4, 95300, 0},
    };
    for (const auto& t : times) w.arrive(t[0], t[1], t[2], t[3]);
  }

  void write_sites() {
    ASSERT_EQ(prepare_results(0, 0, kFurthestPoint), 0) << screen();
    write_pc_site();
    write_mobile_site();
  }

  std::string page(const std::string& folder, const std::string& name) {
    return read_bytes(race_.file(folder + "/" + name + ".htm"));
  }
};

const char* const kPages[][2] = {
    {"html", "index"},       {"html", "contents"}, {"html", "1"},       {"html", "2"},
    {"html_keitai", "index"}, {"html_keitai", "1"}, {"html_keitai", "2"},
};

TEST_F(HtmlPages, BothSitesMatchTheGoldenPages) {
  enter_times();
  write_sites();
  for (const auto& p : kPages) {
    const std::string expected =
        read_bytes(kFixture + "/expected/" + p[0] + "/" + p[1] + ".htm");
    EXPECT_FALSE(expected.empty()) << p[0] << "/" << p[1];
    EXPECT_EQ(page(p[0], p[1]), expected) << p[0] << "/" << p[1];
  }
  // The division without teams has no page, but the mobile index links it.
  EXPECT_FALSE(std::filesystem::exists(race_.file("html/3.htm")));
  EXPECT_FALSE(std::filesystem::exists(race_.file("html_keitai/3.htm")));
  EXPECT_TRUE(contains(page("html_keitai", "index"),
                       "<a href=\"3.htm\">" + cp(u8"招待&lt;A&amp;B&gt;") + "</a><br>"));
}

TEST_F(HtmlPages, PagesAreWellFormedForAnHtmlParser) {
  if (std::system("python3 -c 'import html.parser' >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3 is not available";
  }
  enter_times();
  write_sites();
  std::string command = "python3 '" + kFixture + "/check_html.py'";
  for (const auto& p : kPages) command += " '" + race_.file(std::string(p[0]) + "/" + p[1] + ".htm") + "'";
  command += " > '" + race_.file("check.log") + "' 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << read_bytes(race_.file("check.log"));
}

TEST_F(HtmlPages, OptionsSetColoursTableTagHeadAndLinks) {
  write_options(u8s(u8"EVENTNAME = 第１回テスト駅伝\n"
                    u8"HTMLCOLOR2=00FF00\n"
                    u8"HTMLCOLOR3=") +
                std::string(120, 'A') + "\n" +
                u8s(u8"HTML_TABLE=<table border=1 class=r>\n"
                    u8"HTML_HEAD=<link rel=stylesheet href=s.css><meta name=x content=y>\n"
                    u8"PHOTOPAGEADDRESS=http://example.com/photo\n"
                    u8"HOMEADDRESS1=../top.html\n"
                    u8"HOMENAME1=トップ\n"));
  enter_times();
  write_sites();
  const std::string general = page("html", "1");
  // Rank 2 at the goal is team 1; team 6 and team 1 share section 2 rank 1, so team 2
  // (section 2 rank 3) and the second-fastest section-1 runner carry colour 2 or 3.
  EXPECT_TRUE(contains(general, "<td nowrap bgcolor=\"#00FF00\" align=center>2<br></td>\r\n"));
  EXPECT_TRUE(contains(general, "<td nowrap bgcolor=\"#FFD700\" align=center>1<br></td>\r\n"));
  // A colour holds at most 99 bytes with its '#'.
  EXPECT_TRUE(contains(general, "bgcolor=\"#" + std::string(98, 'A') + "\""));
  EXPECT_FALSE(contains(general, std::string(99, 'A')));
  EXPECT_TRUE(contains(general, "<table border=1 class=r><tbody align=right>\r\n"));
  EXPECT_TRUE(contains(general, "<br>\r\n<table border=1 class=r><tbody align=right>\r\n"));
  EXPECT_FALSE(contains(general, "<table border=4>"));
  const std::string head = "<head>\r\n<link rel=stylesheet href=s.css>\r\n<meta name=x content=y>\r\n"
                           "<meta http-equiv=";
  EXPECT_TRUE(contains(general, head));
  const std::string contents = page("html", "contents");
  EXPECT_TRUE(contains(contents, head));
  EXPECT_TRUE(contains(page("html", "index"), head));
  EXPECT_FALSE(contains(page("html_keitai", "1"), "s.css"));  // PC pages only
  EXPECT_TRUE(contains(contents,
                       "<td align=left><font size=\"-1\"><a href=\"http://example.com/photo\" "
                       "target=_blank>" + cp(u8"写真") + "</a></font></td>\r\n"));
  EXPECT_TRUE(contains(contents, "<a href=\"../top.html\" target=_parent>" + cp(u8"トップ") +
                                     "</a></font></td>\r\n"));
  EXPECT_TRUE(contains(contents, "<a href=\"../../index.html\" target=_parent>" +
                                     cp(u8"戻り先２（OPTION.TXT で指定）") + "</a>"));
  const std::string mobile = page("html_keitai", "1");
  EXPECT_TRUE(contains(mobile, "<span style=\"background-color:#00FF00\">"));
}

// Only start times and nothing else: every team block, no section line; the division
// page of the PC site still has its table with empty cells and no speed ranking.
TEST_F(HtmlPages, RaceNotStartedYet) {
  write_sites();
  for (const char* name : {"1", "2"}) {
    const std::string mobile = page("html_keitai", name);
    EXPECT_EQ(mobile.find("<br>1"), std::string::npos) << mobile;
    EXPECT_TRUE(contains(mobile, "<hr>")) << name;
    const std::string pc = page("html", name);
    EXPECT_FALSE(contains(pc, cp(u8"スピードランキング"))) << name;
    EXPECT_TRUE(contains(pc, "&nbsp;<br>&nbsp;</td>")) << name;
    EXPECT_TRUE(pc.ends_with("</tr>\r\n</table>\r\n</body></html>\r\n")) << name;
  }
  EXPECT_TRUE(contains(page("html_keitai", "1"), "<hr> <br>No=7 "));
}

// Both index pages are opened, the PC site first (the stand-in editor logs each file).
TEST_F(HtmlPages, OpensBothIndexPagesAfterWriting) {
  const std::string log = race_.file("opened.log");
  const std::string script = race_.file("open.sh");
  test_support::write_bytes(script, "#!/bin/sh\necho \"$1\" >> '" + log + "'\n");
  ::chmod(script.c_str(), 0755);
  output_test::ScopedEnv visual("VISUAL", script.c_str());
  enter_times();
  ASSERT_EQ(prepare_results(0, 0, kFurthestPoint), 0) << screen();
  write_html_pages();
  const std::string base = std::filesystem::canonical(race_.path()).string();
  EXPECT_EQ(read_bytes(log), base + "/html/index.htm\n" + base + "/html_keitai/index.htm\n");
}

// A file where the page folder belongs: the folder cannot be made, the program stops.
TEST_F(HtmlPages, FolderThatCannotBeMadeStopsTheProgram) {
  test_support::write_bytes(race_.file("html"), "not a folder");
  ASSERT_EQ(prepare_results(0, 0, kFurthestPoint), 0) << screen();
  con_->feed_text("Y");
  // In the dying child, the screen at the stop goes to standard error for the check.
  static VirtualConsole* screen_console = nullptr;
  screen_console = &*con_;
  auto stop_with_screen = [] {
    on_fatal_stop([] { std::fputs(screen_console->screen_text().c_str(), stderr); });
    write_pc_site();
  };
  EXPECT_EXIT(stop_with_screen(), ::testing::ExitedWithCode(1), "mkdir\\(\"html\"\\) error");
  // A folder that is there already is used as it is.
  std::filesystem::remove(race_.file("html"));
  std::filesystem::create_directory(race_.file("html"));
  write_pc_site();
  EXPECT_TRUE(std::filesystem::exists(race_.file("html/contents.htm")));
}

// The menu entry computes first: times entered without any computation still give
// ranked pages, and both index pages are opened.
TEST_F(HtmlPages, MenuEntryComputesThenWritesAndOpens) {
  const std::string log = race_.file("opened.log");
  const std::string script = race_.file("open.sh");
  test_support::write_bytes(script, "#!/bin/sh\necho \"$1\" >> '" + log + "'\n");
  ::chmod(script.c_str(), 0755);
  output_test::ScopedEnv visual("VISUAL", script.c_str());
  enter_times();
  html_pages_entry();
  EXPECT_EQ(con_->keys_left(), 0u);
  EXPECT_EQ(page("html", "1"),
            read_bytes(kFixture + "/expected/html/1.htm"));
  EXPECT_EQ(page("html_keitai", "2"), read_bytes(kFixture + "/expected/html_keitai/2.htm"));
  const std::string opened = read_bytes(log);
  EXPECT_EQ(std::count(opened.begin(), opened.end(), '\n'), 2) << opened;
}

// A working folder whose name has no CP932 form still gets its pages.
TEST_F(HtmlPages, WorkingFolderNameOutsideCp932) {
  const std::string folder = race_.file(u8s(u8"café"));
  std::filesystem::create_directory(folder);
  test_support::copy_folder_files(kFixture + "/race", folder);
  std::filesystem::current_path(folder);
  division_results_test::build_race_files(*con_);
  enter_times();
  write_sites();
  std::filesystem::current_path(race_.path());
  EXPECT_EQ(read_bytes(folder + "/html/1.htm"), read_bytes(kFixture + "/expected/html/1.htm"));
  EXPECT_EQ(read_bytes(folder + "/html_keitai/1.htm"),
            read_bytes(kFixture + "/expected/html_keitai/1.htm"));
}

}  // namespace
