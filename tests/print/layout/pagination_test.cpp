// Pagination of whole documents: page breaks, command lines and the page list.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "layout/layout_support.h"

namespace txp {
namespace {

using test::PageLines;
using test::Paginate;
using test::SmallFormat;

struct PaginationCase {
  const char* name;
  std::string text;
  std::string expected;  // PageLines
};

class Pagination : public ::testing::TestWithParam<PaginationCase> {};

TEST_P(Pagination, LinesPerPage) {
  const PaginationCase& c = GetParam();
  const PrintFormat format = SmallFormat(10, 5);
  const Document doc = Paginate(c.text, format);
  EXPECT_EQ(PageLines(doc, format), c.expected) << DumpPages(doc, format);
}

// W 10, H 5, tabs of 8.
INSTANTIATE_TEST_SUITE_P(
    Layout, Pagination,
    ::testing::Values(
        PaginationCase{"EmptyFile", "", "#1\n||\n"},
        PaginationCase{"FormFeedFirstIsCommandLine", "\f-E4\nab\tc", "#1\n|ab  c|\n"},
        PaginationCase{"FormFeedMidLineDropped", "ab\fcd\nef", "#1\n|abcd|\n|ef|\n"},
        PaginationCase{"FormFeedAfterLineFeedBreaks", "ab\n\f\ncd", "#1\n|ab|\n#2\n|cd|\n"},
        PaginationCase{"FormFeedAtEndNoEmptyPage", "ab\n\f", "#1\n|ab|\n"},
        PaginationCase{"FormFeedLineFeedAtEndNoEmptyPage", "ab\n\f\n", "#1\n|ab|\n"},
        PaginationCase{"FormFeedTwoLineFeedsMakesPage", "ab\n\f\n\n", "#1\n|ab|\n#2\n||\n"},
        PaginationCase{"CrLfFoldedAnd1AEndsText", "ab\r\ncd\x1A" "ef", "#1\n|ab|\n|cd|\n"},
        PaginationCase{"FullLineThenLineFeedGivesEmptyLine", "abcdefghij\nk",
                       "#1\n|abcdefghij|\n||\n|k|\n"},
        PaginationCase{"FullLineThenFormFeedBreaks", "abcdefghij\fk", "#1\n|abcdefghij|\n#2\n||\n"},
        PaginationCase{"LongLineWraps", "abcdefghijkl", "#1\n|abcdefghij|\n|kl|\n"},
        PaginationCase{"HLinesFillAPage", "1\n2\n3\n4\n5\n6\n7", "#1\n|1|\n|2|\n|3|\n|4|\n|5|\n#2\n|6|\n|7|\n"},
        PaginationCase{"TabToNextStop", "abc\tX", "#1\n|abc     X|\n"},
        PaginationCase{"TabWhoseStopReachesWEndsLine", "abcdefghi\tX", "#1\n|abcdefghi|\n|X|\n"},
        PaginationCase{"DoubleByteThatDoesNotFitWraps", "abcdefghi\x82\xA0", "#1\n|abcdefghi|\n|<82A0>|\n"},
        PaginationCase{"BoxDrawingTakesTwoColumns", "abcdefgh\x84\x9F\x84\x9F", "#1\n|abcdefgh[849F]|\n|[849F]|\n"},
        PaginationCase{"HalfWidthBoxDrawingTakesOne", "abcdefghi\x86\x43", "#1\n|abcdefghi[8643]|\n"},
        PaginationCase{"BackspaceGivesAColumnBack", "abcdefghi\bjk", "#1\n|abcdefghi<BS>jk|\n"},
        PaginationCase{"BackspaceCell", "abc\bd", "#1\n|abc<BS>d|\n"},
        PaginationCase{"BackspaceAtColumnZeroIgnored", "\bab", "#1\n|ab|\n"},
        PaginationCase{"CommandLineNeverPrinted", "a\n\f-W20 hello\nb", "#1\n|a|\n#2\n|b|\n"},
        PaginationCase{"UnknownControlBytesDropped", "a\x03\x1B\x7F" "b", "#1\n|a<7F>b|\n"},
        PaginationCase{"SizeCommandTakesDigits", "\x13" "24ab\x13" "9x", "#1\n|ab9x|\n"},
        PaginationCase{"AttributeCodesTakeArguments", "\x01" "3xyab\x02" "3c", "#1\n|abc|\n"},
        PaginationCase{"PercentOutsidePageModeIsText", "%3P", "#1\n|%3P|\n"},
        PaginationCase{"FieldsInPageMode", "\x10%3P%2p%t%5x\x10", "#1\n|<P3><p2><t1>|\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Pagination, FormFeedFirstAppliesCommandsToPageOne) {
  const PrintFormat format = DefaultPrintFormat(0);
  const Document doc = Paginate("\f-W40 -H20\nabc\n", format);
  ASSERT_EQ(doc.pages.size(), 1u);
  EXPECT_EQ(doc.pages[0].W, 40);
  EXPECT_EQ(doc.pages[0].H, 20);
  EXPECT_EQ(doc.pages[0].source_line, 1);
}

struct CommandCase {
  const char* name;
  std::string command_line;
  int PageRecord::*field;
  int expected;
};

class FormatCommands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(FormatCommands, SetTheWorkingFormat) {
  const CommandCase& c = GetParam();
  const PrintFormat format = DefaultPrintFormat(0);
  const Document doc = Paginate("\f" + c.command_line + "\nbody\n", format);
  ASSERT_EQ(doc.pages.size(), 1u);
  EXPECT_EQ(doc.pages[0].*(c.field), c.expected) << DumpPages(doc, format);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, FormatCommands,
    ::testing::Values(
        CommandCase{"W", "-W40", &PageRecord::W, 40},
        CommandCase{"WClampedUp", "-W3", &PageRecord::W, 5},
        CommandCase{"HClampedDown", "-H999", &PageRecord::H, 300},
        CommandCase{"FontPointClamped", "-FP2", &PageRecord::FontPoint, 6},
        CommandCase{"TabClamped", "-E1", &PageRecord::TabSize, 2},
        CommandCase{"NSZeroNumbersPageOne", "-NS0", &PageRecord::page_number, 1},
        CommandCase{"NSTurnsFooterOn", "-NS3", &PageRecord::PagePrn, 1},
        CommandCase{"NSSetsNumber", "-NS3", &PageRecord::page_number, 3},
        CommandCase{"LeftMargin", "-L35", &PageRecord::left, 35},
        CommandCase{"RightMarginClamped", "-R500", &PageRecord::right, 100},
        CommandCase{"TopMarginClamped", "-T1", &PageRecord::top, 10},
        CommandCase{"BottomMargin", "-B15", &PageRecord::bottom, 15},
        CommandCase{"Landscape", "-DY", &PageRecord::PaperDir, 1},
        CommandCase{"LowerCaseLandscape", "-dy", &PageRecord::PaperDir, 1},
        CommandCase{"Mincho32", "-FMIN32", &PageRecord::FontPoint, 10},
        CommandCase{"Mincho32LowerCase", "-fmin32", &PageRecord::FontPoint, 10},
        CommandCase{"Mincho32MixedCase", "-fMiN32", &PageRecord::FontPoint, 10},
        CommandCase{"Gothic24", "-FG24", &PageRecord::FontPoint, 8},
        CommandCase{"Round40", "-FROUND40", &PageRecord::FontPoint, 12},
        CommandCase{"UnknownFontLetters", "-FXYZ24", &PageRecord::FontPoint, 11},
        CommandCase{"NumberWithBlanks", "-W  40", &PageRecord::W, 40},
        CommandCase{"NoDigitsGivesZeroClamped", "-W", &PageRecord::W, 5},
        CommandCase{"TotalPagesFigure", "-NT12", &PageRecord::total_pages, 12},
        CommandCase{"TotalPagesWithoutDigit", "-NT", &PageRecord::total_pages, 1},
        CommandCase{"DoNotPrint", "-X", &PageRecord::flags, kPageNoPrint},
        CommandCase{"DoNotPrintDigitsIgnored", "-X12", &PageRecord::flags, kPageNoPrint},
        CommandCase{"SeveralOnOneLine", "-W20 -h30 -e4", &PageRecord::TabSize, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Pagination, PageNumbersRunFromPageStartAndRestartAtNS) {
  PrintFormat format = SmallFormat();
  format.PageStart.value = 3;
  Document doc = Paginate("a\n\f\nb\n\f-NS10\nc\n\fd", format);
  ASSERT_EQ(doc.pages.size(), 4u);
  EXPECT_EQ(doc.pages[0].page_number, 3);
  EXPECT_EQ(doc.pages[1].page_number, 4);
  EXPECT_EQ(doc.pages[2].page_number, 10);
  EXPECT_EQ(doc.pages[3].page_number, 11);
  EXPECT_EQ(doc.pages[1].PagePrn, 0);
  EXPECT_EQ(doc.pages[2].PagePrn, 1);
  EXPECT_EQ(doc.pages[3].PagePrn, 1);

  doc = Paginate("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11", format);
  ASSERT_EQ(doc.pages.size(), 3u);
  EXPECT_EQ(doc.pages.back().page_number, format.PageStart.value + 3 - 1);
}

TEST(Pagination, TotalPagesFigureCarriesUntilResetByNT) {
  const PrintFormat format = SmallFormat();
  const Document doc = Paginate("\f-NT12\na\n\fb\n\f-NT\nc\n\f-NE\nd", format);
  ASSERT_EQ(doc.pages.size(), 4u);
  EXPECT_EQ(doc.pages[0].total_pages, 12);
  EXPECT_EQ(doc.pages[1].total_pages, 12);
  EXPECT_EQ(doc.pages[2].total_pages, 4);
  EXPECT_EQ(doc.pages[3].total_pages, 4);
}

TEST(Pagination, XMarksOnlyItsPageAndMarksAreCounted) {
  const PrintFormat format = SmallFormat();
  Document doc = Paginate("\f-X\na\n\fb\n\f-x\nc", format);
  ASSERT_EQ(doc.pages.size(), 3u);
  EXPECT_EQ(doc.pages[0].flags, kPageNoPrint);
  EXPECT_EQ(doc.pages[1].flags, 0);
  EXPECT_EQ(doc.pages[2].flags, kPageNoPrint);
  EXPECT_EQ(doc.marked_count, 2);

  TogglePageMark(doc, 1);
  EXPECT_EQ(doc.marked_count, 3);
  TogglePageMark(doc, 0);
  EXPECT_EQ(doc.pages[0].flags, 0);
  EXPECT_EQ(doc.marked_count, 2);
  ClearAllPageMarks(doc);
  EXPECT_EQ(doc.marked_count, 0);
  MarkAllPages(doc);
  EXPECT_EQ(doc.marked_count, 3);
  for (const PageRecord& p : doc.pages) EXPECT_EQ(p.flags & kPageNoPrint, kPageNoPrint);
}

TEST(Pagination, CommandsCarryToLaterPagesAndSourceLinesCount) {
  const PrintFormat format = SmallFormat();
  const Document doc = Paginate("\f-W20 -DY\na\nb\n\fc\n\f-DT\nd", format);
  ASSERT_EQ(doc.pages.size(), 3u);
  EXPECT_EQ(doc.pages[1].W, 20);
  EXPECT_EQ(doc.pages[1].PaperDir, 1);
  EXPECT_EQ(doc.pages[2].PaperDir, 0);
  EXPECT_EQ(doc.pages[0].source_line, 1);
  EXPECT_EQ(doc.pages[1].source_line, 4);
  EXPECT_EQ(doc.pages[2].source_line, 5);
}

TEST(Pagination, SizeAndAttributeCarryAcrossPages) {
  const PrintFormat format = SmallFormat();
  const Document doc = Paginate("\x0E\x15" "a\n\fb", format);
  ASSERT_EQ(doc.pages.size(), 2u);
  EXPECT_EQ(doc.pages[1].size, kSizeDoubleWidth);
  EXPECT_EQ(doc.pages[1].attr, kAttrUnderline);
}

TEST(Pagination, RebuildResetsMarksToWhatTheTextSays) {
  const PrintFormat format = SmallFormat();
  Document doc = Paginate("a\n\fb", format);
  MarkAllPages(doc);
  BuildPages(doc, format);
  EXPECT_EQ(doc.marked_count, 0);
  EXPECT_EQ(doc.pages[0].flags, 0);
}

struct YenCase {
  const char* name;
  std::string text;
  std::string expected;  // text after loading, without the end mark
};

class YenCommands : public ::testing::TestWithParam<YenCase> {};

TEST_P(YenCommands, RewriteBackslashPairs) {
  PrintFormat format = SmallFormat();
  format.YenCmd = 1;
  Document doc;
  ASSERT_EQ(LoadTextFromBytes(doc, GetParam().text, format), LoadResult::Ok);
  ASSERT_FALSE(doc.text.empty());
  EXPECT_EQ(doc.text.back(), kEndMark);
  EXPECT_EQ(std::string(doc.text.begin(), doc.text.end() - 1), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Layout, YenCommands,
    ::testing::Values(
        YenCase{"DoubleBackslashThenU", "\\\\U", "\\U"},
        YenCase{"LowerCaseU", "\\u", "\x15"},
        YenCase{"EveryLetter", "\\O\\N\\V\\F\\T\\Y\\Q\\H\\U\\P\\L",
                "\x0F\x0E\x16\x06\x14\x19\x11\x08\x15\x10\x0C"},
        YenCase{"TrailByte5CIsNotBackslash", "\x83\x5CU", "\x83\x5CU"},
        YenCase{"TrailByte5CBeforeLetter", "\x83\x5C\\u", "\x83\x5C\x15"},
        YenCase{"OtherBackslashStays", "\\Za\\", "\\Za\\"},
        YenCase{"ConvertedByteIsNotRescanned", "\\\\\\u", "\\\x15"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(YenCommands, OffLeavesTextAlone) {
  const PrintFormat format = SmallFormat();
  Document doc;
  ASSERT_EQ(LoadTextFromBytes(doc, "\\u\\\\", format), LoadResult::Ok);
  EXPECT_EQ(std::string(doc.text.begin(), doc.text.end() - 1), "\\u\\\\");
}

TEST(LoadText, ReadsAFileAndReportsOneThatCannotBeRead) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("txp_layout_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "doc.txt").string();
  std::ofstream(path, std::ios::binary) << "ab\r\n\x0c\r\ncd";
  const PrintFormat format = SmallFormat();
  Document doc;
  ASSERT_EQ(LoadText(doc, path, format), LoadResult::Ok);
  EXPECT_TRUE(doc.loaded);
  BuildPages(doc, format);
  EXPECT_EQ(PageLines(doc, format), "#1\n|ab|\n#2\n|cd|\n");

  EXPECT_EQ(LoadText(doc, (dir / "missing.txt").string(), format), LoadResult::CannotOpen);
  EXPECT_EQ(LoadText(doc, dir.string(), format), LoadResult::CannotOpen);  // a folder
  EXPECT_FALSE(doc.loaded);
  EXPECT_TRUE(doc.pages.empty());
  EXPECT_EQ(LoadFailureMessage("/x/y.txt"), "ファイル「/x/y.txt」が読み出せません.");
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace txp
