#include "print/settings/print_format.h"

#include <cstddef>
#include <utility>

namespace txp {

PrintFormat DefaultPrintFormat(int printer_index) {
  PrintFormat format;
  format.printer = printer_index;
  return format;
}

namespace {

struct ClampRule {
  int bit;
  const char* label;
};

// Labels of dialog 116, in bit order.
constexpr ClampRule kClampRules[] = {
    {kClampLeft, "左余白"},          {kClampRight, "右余白"},
    {kClampTop, "上余白"},           {kClampBottom, "下余白"},
    {kClampWidth, "桁数"},           {kClampHeight, "行数"},
    {kClampKeisenThin, "細罫線の太さ"}, {kClampKeisenBold, "太罫線の太さ"},
    {kClampTabSize, "タブ文字数"},   {kClampFontPoint, "フォントのポイント数"},
    {kClampPageStart, "開始ページ番号"}, {kClampPageMargin, "本文との間隔"},
    {kClampUnderLine, "下線の太さ"}, {kClampCharSpacing, "文字間"},
};

// Lower bound first, then upper, so with upper below lower the upper wins.
int ClampValue(int32_t& value, int32_t lower, int32_t upper, int bit) {
  int moved = 0;
  if (value < lower) {
    value = lower;
    moved = bit;
  }
  if (value > upper) {
    value = upper;
    moved = bit;
  }
  return moved;
}

int ClampRanged(RangedValue& v, int bit) { return ClampValue(v.value, v.lower, v.upper, bit); }

bool InList(const FormatList& list, int index) {
  return index >= 0 && index < static_cast<int>(list.formats.size());
}

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

int ClampFormat(PrintFormat& f, const ClampReporter& show_dialog) {
  int mask = 0;
  mask |= ClampRanged(f.LeftMgnMm, kClampLeft);
  mask |= ClampRanged(f.RightMgnMm, kClampRight);
  mask |= ClampRanged(f.TopMgnMm, kClampTop);
  mask |= ClampRanged(f.BottomMgnMm, kClampBottom);
  mask |= ClampRanged(f.Width, kClampWidth);
  mask |= ClampRanged(f.Height, kClampHeight);
  mask |= ClampRanged(f.KeisenThin, kClampKeisenThin);
  mask |= ClampRanged(f.KeisenBold, kClampKeisenBold);
  mask |= ClampRanged(f.TabSize, kClampTabSize);
  mask |= ClampValue(f.FontPoint, kFontPointMin, kFontPointMax, kClampFontPoint);
  mask |= ClampRanged(f.PageStart, kClampPageStart);
  mask |= ClampRanged(f.PageMargin, kClampPageMargin);
  mask |= ClampRanged(f.UnderLine, kClampUnderLine);
  mask |= ClampRanged(f.CharSpacing, kClampCharSpacing);
  if (mask != 0 && show_dialog) show_dialog(ClampLabels(mask));
  return mask;
}

std::vector<std::string> ClampLabels(int mask) {
  std::vector<std::string> labels;
  for (const ClampRule& rule : kClampRules)
    if (mask & rule.bit) labels.emplace_back(rule.label);
  return labels;
}

int FormatCount(const FormatList& list) { return static_cast<int>(list.formats.size()); }

void AppendFormat(FormatList& list, const PrintFormat& format) { list.formats.push_back(format); }

bool ReplaceFormat(FormatList& list, int index, const PrintFormat& format) {
  if (!InList(list, index)) return false;
  list.formats[static_cast<size_t>(index)] = format;
  return true;
}

bool DeleteFormat(FormatList& list, int index) {
  if (!InList(list, index)) return false;
  list.formats.erase(list.formats.begin() + index);
  return true;
}

bool ExchangeFormats(FormatList& list, int a, int b) {
  if (a > b) std::swap(a, b);
  if (!InList(list, a) || !InList(list, b)) return false;
  if (a != b) std::swap(list.formats[static_cast<size_t>(a)], list.formats[static_cast<size_t>(b)]);
  return true;
}

PrintFormat FormatAt(const FormatList& list, int index) {
  if (!InList(list, index)) return PrintFormat{};
  return list.formats[static_cast<size_t>(index)];
}

std::string FormatName(const FormatList& list, int index) {
  return InList(list, index) ? list.formats[static_cast<size_t>(index)].SetName : std::string();
}

// UTF-8 multi-byte sequences contain no ASCII bytes, so folding ASCII letters byte by byte
// compares every double-byte character as one unit.
int FormatIndexByName(const FormatList& list, const std::string& name) {
  for (size_t i = 0; i < list.formats.size(); ++i) {
    const std::string& candidate = list.formats[i].SetName;
    if (candidate.size() != name.size()) continue;
    bool same = true;
    for (size_t k = 0; k < name.size() && same; ++k) same = FoldAscii(candidate[k]) == FoldAscii(name[k]);
    if (same) return static_cast<int>(i);
  }
  return -1;
}

void EnsureSingleDefault(FormatList& list, int index) {
  if (!InList(list, index) || list.formats[static_cast<size_t>(index)].Default != 1) return;
  for (size_t i = 0; i < list.formats.size(); ++i)
    if (static_cast<int>(i) != index) list.formats[i].Default = 0;
}

int CurrentFormatIndex(const FormatList& list) { return list.current; }

int SetCurrentFormatIndex(FormatList& list, int index) {
  const int count = FormatCount(list);
  if (index >= count) index = count - 1;
  if (index < 0) index = 0;
  list.current = index;
  return index;
}

PrintFormat CurrentFormat(const FormatList& list) { return FormatAt(list, list.current); }

std::vector<std::string> FormatNames(const FormatList& list) {
  std::vector<std::string> names;
  names.reserve(list.formats.size());
  for (const PrintFormat& f : list.formats) names.push_back(f.SetName);
  return names;
}

}  // namespace txp
