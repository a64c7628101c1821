// The speed/time conversion table: its text against a golden file, the cells that must
// stay exact, and the hand-over with PRINTCMD94.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "results/reports/speed_time_table.h"
#include "results/shell/output.h"
#include "results/shell/output_kind.h"
#include "shell/output_test_fixture.h"
#include "support/test_support.h"

namespace {

using output_test::OutputTest;
using test_support::read_bytes;

const std::string kGolden = std::string(FIXTURES_DIR) + "/speed_time_table/expected/OUT.TXT";

// Lines of a CR LF text, without their line ends.
std::vector<std::string> crlf_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(text.substr(start, end - start));
  }
  EXPECT_EQ(start, text.size()) << "text after the last line end";
  return lines;
}

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    out.push_back(line.substr(start, tab - start));
  }
  out.push_back(line.substr(start));
  return out;
}

TEST(SpeedTimeTableCell, WholeSecondsStayExact) {
  struct Case {
    int distance;
    int half_kmh;
    const char* expected;
  } cases[] = {
      {1000, 60, "   2'00"},   // 30 km/h: 120 s exactly
      {1000, 30, "   4'00"},   // 15 km/h
      {1000, 15, "   8'00"},   // 7.5 km/h
      {10000, 40, "  30'00"},  // 20 km/h
      {100, 12, "   1'00"},    // 6 km/h: exactly 60 s is a time, not seconds
      {100, 13, "  55.38"},    // 6.5 km/h: below 60 s
      {100, 60, "  12.00"},
      {800, 59, "   1'37"},    // 97.63 s truncated
      {42195, 9, "9:22'36"},   // 4.5 km/h: 33756 s
      {42195, 60, "1:24'23"},  // 5063.4 s truncated
  };
  for (const auto& c : cases) {
    EXPECT_EQ(speed_table_cell(c.distance, c.half_kmh), c.expected)
        << c.distance << " m at " << c.half_kmh / 2.0 << " km/h";
  }
}

class SpeedTimeTable : public OutputTest {};

TEST_F(SpeedTimeTable, FileMatchesTheGoldenFile) {
  write_options(std::string("EDITOR=") + RECORD_ARGS_PROGRAM + "\n");
  set_out_kind_no(kOutFile);
  print_speed_time_table();
  const std::string written = read_bytes(race_.file("OUT.TXT"));
  EXPECT_EQ(written, read_bytes(kGolden));

  // The shape, independent of the golden file: title, blank line, heading, 52 rows of a
  // speed and seven cells.
  const std::vector<std::string> lines = crlf_lines(written);
  ASSERT_EQ(lines.size(), 3u + 52u);
  EXPECT_EQ(test_support::to_utf8(lines[0]), output_test::u8s(u8"スピード：タイム換算表"));
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2], "km/h\t   100m\t   800m\t  1000m\t  1500m\t  5000m\t 10000m\t 42195m");
  EXPECT_EQ(fields(lines[3])[0], "30.0");
  EXPECT_EQ(fields(lines[54])[0], " 4.5");
  for (std::size_t i = 3; i < lines.size(); ++i) {
    const auto row = fields(lines[i]);
    ASSERT_EQ(row.size(), 8u) << lines[i];
    for (std::size_t k = 1; k < row.size(); ++k) EXPECT_EQ(row[k].size(), 7u) << lines[i];
  }
  // The file is opened for viewing afterwards.
  EXPECT_EQ(recorded_args().size(), 2u);
}

TEST_F(SpeedTimeTable, PrinterGetsItThroughPrintcmd94) {
  write_options(std::string("PRINTCMD94=") + RECORD_ARGS_PROGRAM + " --table\n" +
                "PRINTCMD73=/nowhere\n");
  set_out_kind_no(kOutPrinter);
  print_speed_time_table();
  const auto args = recorded_args();
  ASSERT_EQ(args.size(), 3u) << screen();
  EXPECT_EQ(args[1], "--table");
  EXPECT_EQ(recorded_data(), read_bytes(kGolden));
  EXPECT_TRUE(output_test::files_in(tmp_).empty());
}

TEST_F(SpeedTimeTable, NoQuestionsAreAsked) {
  // The table asks nothing, so the file mode left by the last report holds.
  write_options(std::string("EDITOR=") + RECORD_ARGS_PROGRAM + "\n");
  set_out_kind_no(kOutFile);
  test_support::write_bytes(race_.file("OUT.TXT"), "before\r\n");
  output_channel().file_mode = '1';
  print_speed_time_table();
  EXPECT_EQ(read_bytes(race_.file("OUT.TXT")), "before\r\n" + read_bytes(kGolden));
  EXPECT_EQ(con_->keys_left(), 0u);
}

}  // namespace
