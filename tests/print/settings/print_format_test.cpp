// The format record's defaults and bounds, ClampFormat and the format list.
#include <gtest/gtest.h>

#include "print/settings/print_format.h"

namespace txp {
namespace {

struct BoundsRow {
  const char* name;
  RangedValue PrintFormat::*field;
  RangedValue expected;  // value, upper, lower
};

TEST(PrintFormatDefaults, RangedValuesAndBounds) {
  const PrintFormat f = DefaultPrintFormat(3);
  const BoundsRow rows[] = {
      {"LeftMgnMm", &PrintFormat::LeftMgnMm, {20, 100, 10}},
      {"RightMgnMm", &PrintFormat::RightMgnMm, {20, 100, 10}},
      {"TopMgnMm", &PrintFormat::TopMgnMm, {20, 100, 10}},
      {"BottomMgnMm", &PrintFormat::BottomMgnMm, {20, 100, 10}},
      {"Width", &PrintFormat::Width, {80, 300, 5}},
      {"CharSpacing", &PrintFormat::CharSpacing, {2, 300, 0}},
      {"Height", &PrintFormat::Height, {50, 300, 5}},
      {"KeisenThin", &PrintFormat::KeisenThin, {2, 20, 1}},
      {"KeisenBold", &PrintFormat::KeisenBold, {5, 20, 1}},
      {"UnderLine", &PrintFormat::UnderLine, {2, 20, 1}},
      {"TabSize", &PrintFormat::TabSize, {8, 32, 2}},
      {"PageMargin", &PrintFormat::PageMargin, {10, 20, 1}},
      {"PageStart", &PrintFormat::PageStart, {1, 9999, 1}},
  };
  for (const BoundsRow& r : rows) {
    EXPECT_EQ((f.*r.field).value, r.expected.value) << r.name;
    EXPECT_EQ((f.*r.field).upper, r.expected.upper) << r.name;
    EXPECT_EQ((f.*r.field).lower, r.expected.lower) << r.name;
  }
}

TEST(PrintFormatDefaults, PlainFields) {
  const PrintFormat f = DefaultPrintFormat(3);
  EXPECT_EQ(f.SetName, "(無題)");
  EXPECT_EQ(f.Default, 0);
  EXPECT_EQ(f.printer, 3);
  EXPECT_EQ(f.PaperSize, 9);
  EXPECT_EQ(f.PaperName, "A4");
  EXPECT_EQ(f.PaperDir, 0);
  EXPECT_EQ(f.PitchMode, 0);
  EXPECT_EQ(f.FontPoint, 11);
  EXPECT_EQ(f.FontName, "ＭＳ 明朝");
  EXPECT_EQ(f.FontCharSet, 128);
  EXPECT_EQ(f.FontPitch, 2);
  EXPECT_EQ(f.FontStyle, 0);
  EXPECT_EQ(f.PagePrn, 0);
  EXPECT_EQ(f.TotalPages, 0);
  EXPECT_EQ(f.InitAttr, 0);
  EXPECT_EQ(f.InitSize, 0x22);
  EXPECT_EQ(f.YenCmd, 0);
  EXPECT_STREQ(kInitialFormatName, "初期設定値");

  const ProgramOptions o;
  EXPECT_EQ(o.ZoomSize, 50);
  EXPECT_EQ(o.AutoSizing, 0);
  EXPECT_EQ(o.DrawMargin, 0);
  EXPECT_EQ(o.BackColor, 0xFFFFFFu);
  EXPECT_EQ(o.WinWidth, 550);
  EXPECT_EQ(o.WinHeight, 730);
  EXPECT_EQ(o.Editor, "NOTEPAD $F");
  EXPECT_EQ(o.AutoReload, 0);
  EXPECT_EQ(o.CurDir, "");
  EXPECT_EQ(o.Reg, 0);
}

TEST(ClampFormatTest, InRangeMovesNothing) {
  PrintFormat f = DefaultPrintFormat(0);
  bool shown = false;
  EXPECT_EQ(ClampFormat(f, [&](const std::vector<std::string>&) { shown = true; }), 0);
  EXPECT_FALSE(shown);
}

TEST(ClampFormatTest, EveryValueToItsNearestBoundWithItsBit) {
  PrintFormat f = DefaultPrintFormat(0);
  f.LeftMgnMm.value = 5;
  f.RightMgnMm.value = 101;
  f.TopMgnMm.value = -3;
  f.BottomMgnMm.value = 1000;
  f.Width.value = 3;
  f.Height.value = 999;
  f.KeisenThin.value = 0;
  f.KeisenBold.value = 21;
  f.TabSize.value = 1;
  f.FontPoint = 2;
  f.PageStart.value = 0;
  f.PageMargin.value = 30;
  f.UnderLine.value = 0;
  f.CharSpacing.value = -1;
  std::vector<std::string> labels;
  EXPECT_EQ(ClampFormat(f, [&](const std::vector<std::string>& l) { labels = l; }), 0x3FFF);
  EXPECT_EQ(f.LeftMgnMm.value, 10);
  EXPECT_EQ(f.RightMgnMm.value, 100);
  EXPECT_EQ(f.TopMgnMm.value, 10);
  EXPECT_EQ(f.BottomMgnMm.value, 100);
  EXPECT_EQ(f.Width.value, 5);
  EXPECT_EQ(f.Height.value, 300);
  EXPECT_EQ(f.KeisenThin.value, 1);
  EXPECT_EQ(f.KeisenBold.value, 20);
  EXPECT_EQ(f.TabSize.value, 2);
  EXPECT_EQ(f.FontPoint, 6);
  EXPECT_EQ(f.PageStart.value, 1);
  EXPECT_EQ(f.PageMargin.value, 20);
  EXPECT_EQ(f.UnderLine.value, 1);
  EXPECT_EQ(f.CharSpacing.value, 0);
  EXPECT_EQ(labels, (std::vector<std::string>{"左余白", "右余白", "上余白", "下余白", "桁数", "行数",
                                              "細罫線の太さ", "太罫線の太さ", "タブ文字数",
                                              "フォントのポイント数", "開始ページ番号", "本文との間隔",
                                              "下線の太さ", "文字間"}));
}

TEST(ClampFormatTest, FontPointHasFixedBoundsAndUpperWinsOverLower) {
  PrintFormat f = DefaultPrintFormat(0);
  f.FontPoint = 101;
  f.LeftMgnMm = {50, 30, 40};  // bounds crossed, as a tiny paper can leave them
  EXPECT_EQ(ClampFormat(f), kClampFontPoint | kClampLeft);
  EXPECT_EQ(f.FontPoint, 100);
  EXPECT_EQ(f.LeftMgnMm.value, 30);
  f.LeftMgnMm = {10, 30, 40};
  EXPECT_EQ(ClampFormat(f), kClampLeft);
  EXPECT_EQ(f.LeftMgnMm.value, 30);
  EXPECT_EQ(ClampLabels(kClampLeft | kClampPageStart), (std::vector<std::string>{"左余白", "開始ページ番号"}));
}

PrintFormat Named(const char* name, int is_default = 0) {
  PrintFormat f = DefaultPrintFormat(0);
  f.SetName = name;
  f.Default = is_default;
  return f;
}

TEST(FormatListTest, AppendReplaceDeleteAndNames) {
  FormatList list;
  AppendFormat(list, Named("A4縦"));
  AppendFormat(list, Named("Results"));
  AppendFormat(list, Named("B5"));
  EXPECT_EQ(FormatCount(list), 3);
  EXPECT_EQ(FormatName(list, 1), "Results");
  EXPECT_TRUE(ReplaceFormat(list, 1, Named("Awards")));
  EXPECT_FALSE(ReplaceFormat(list, 3, Named("x")));
  EXPECT_EQ(FormatNames(list), (std::vector<std::string>{"A4縦", "Awards", "B5"}));
  EXPECT_TRUE(DeleteFormat(list, 0));
  EXPECT_FALSE(DeleteFormat(list, -1));
  EXPECT_EQ(FormatNames(list), (std::vector<std::string>{"Awards", "B5"}));
  EXPECT_EQ(FormatAt(list, 1).SetName, "B5");
  EXPECT_EQ(FormatAt(list, 9).SetName, "(無題)");
  EXPECT_EQ(FormatName(list, 9), "");
}

TEST(FormatListTest, ExchangeOrdersAndRefuses) {
  FormatList list;
  for (const char* n : {"a", "b", "c"}) AppendFormat(list, Named(n));
  EXPECT_TRUE(ExchangeFormats(list, 2, 0));
  EXPECT_EQ(FormatNames(list), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_TRUE(ExchangeFormats(list, 1, 1));
  EXPECT_EQ(FormatNames(list), (std::vector<std::string>{"c", "b", "a"}));
  EXPECT_FALSE(ExchangeFormats(list, -1, 0));  // ↑ on the first format
  EXPECT_FALSE(ExchangeFormats(list, 2, 3));   // ↓ on the last
  EXPECT_EQ(FormatNames(list), (std::vector<std::string>{"c", "b", "a"}));
}

TEST(FormatListTest, IndexByNameIgnoresCaseAndFindsTheFirst) {
  FormatList list;
  for (const char* n : {"Results", "結果A", "results", "結果a"}) AppendFormat(list, Named(n));
  EXPECT_EQ(FormatIndexByName(list, "RESULTS"), 0);
  EXPECT_EQ(FormatIndexByName(list, "結果a"), 1);
  EXPECT_EQ(FormatIndexByName(list, "結果"), -1);
  EXPECT_EQ(FormatIndexByName(list, "Result"), -1);
}

TEST(FormatListTest, EnsureSingleDefaultAndCurrentIndex) {
  FormatList list;
  AppendFormat(list, Named("a", 1));
  AppendFormat(list, Named("b", 1));
  AppendFormat(list, Named("c", 0));
  EnsureSingleDefault(list, 2);  // not a default: nothing changes
  EXPECT_EQ(list.formats[0].Default, 1);
  EXPECT_EQ(list.formats[1].Default, 1);
  EnsureSingleDefault(list, 1);
  EXPECT_EQ(list.formats[0].Default, 0);
  EXPECT_EQ(list.formats[1].Default, 1);
  EXPECT_EQ(list.formats[2].Default, 0);

  EXPECT_EQ(SetCurrentFormatIndex(list, 2), 2);
  EXPECT_EQ(CurrentFormat(list).SetName, "c");
  EXPECT_EQ(SetCurrentFormatIndex(list, 7), 2);
  EXPECT_EQ(SetCurrentFormatIndex(list, -4), 0);
  EXPECT_EQ(CurrentFormatIndex(list), 0);
}

}  // namespace
}  // namespace txp
