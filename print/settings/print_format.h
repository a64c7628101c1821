// Print formats: the PrintFormat record with its defaults and bounds, the program-wide
// options, the ordered format list and the routines that keep values in range.
// Plain data; no Qt. Text fields hold UTF-8 (the settings store converts to CP932 where it
// writes bytes); their byte limits are the CP932 limits of the stored form.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace txp {

// A value with its bounds. With upper below lower, ClampFormat lets the upper bound win.
struct RangedValue {
  int32_t value = 0;
  int32_t upper = 0;
  int32_t lower = 0;
};

// Bounds of FontPoint, fixed (not stored in the record).
constexpr int32_t kFontPointMin = 6;
constexpr int32_t kFontPointMax = 100;

// Text field limits in bytes (CP932, including the terminator of the stored form).
constexpr int kSetNameBytes = 40;
constexpr int kPaperNameBytes = 64;
constexpr int kFontNameBytes = 32;

// One named print format, fields in their stored order.
struct PrintFormat {
  std::string SetName = "(無題)";
  int32_t Default = 0;            // 1 = 標準の書式
  int32_t printer = 0;            // index into the printer list (printing/printers.h)
  int16_t PaperSize = 9;          // DMPAPER code (9 = A4)
  std::string PaperName = "A4";
  int32_t PaperDir = 0;           // 0 portrait, 1 landscape
  RangedValue LeftMgnMm{20, 100, 10};
  RangedValue RightMgnMm{20, 100, 10};
  RangedValue TopMgnMm{20, 100, 10};
  RangedValue BottomMgnMm{20, 100, 10};
  RangedValue Width{80, 300, 5};        // W, columns per line
  RangedValue CharSpacing{2, 300, 0};   // 0.1 mm, not stored
  RangedValue Height{50, 300, 5};       // H, lines per page
  int32_t PitchMode = 0;                // 0 = columns; 1 = character spacing (unsupported)
  int32_t FontPoint = 11;
  std::string FontName = "ＭＳ 明朝";
  uint8_t FontCharSet = 128;
  uint8_t FontPitch = 2;
  int32_t FontStyle = 0;                // bit 0 italic, bit 1 bold
  RangedValue KeisenThin{2, 20, 1};     // 0.1 mm
  RangedValue KeisenBold{5, 20, 1};     // 0.1 mm
  RangedValue UnderLine{2, 20, 1};      // 0.1 mm
  RangedValue TabSize{8, 32, 2};        // columns
  int32_t PagePrn = 0;                  // 1 = print the page-number footer
  RangedValue PageMargin{10, 20, 1};    // mm between body and footer
  RangedValue PageStart{1, 9999, 1};    // number of the first page
  int32_t TotalPages = 0;               // layout only: -1 = the document's page count
  int32_t InitAttr = 0;                 // layout only: CellAttr at the page's first line
  int32_t InitSize = 0x22;              // layout only: SizeCode at the page's first line
  int32_t YenCmd = 0;                   // 1 = backslash-letter pairs stand for control bytes
};

// The default record ("(無題)") with the given printer index.
PrintFormat DefaultPrintFormat(int printer_index);
// Name of the first format made when the store holds none.
inline constexpr const char* kInitialFormatName = "初期設定値";

// Program-wide options (key "Options").
struct ProgramOptions {
  int32_t ZoomSize = 50;
  int32_t AutoSizing = 0;
  int32_t DrawMargin = 0;
  uint32_t BackColor = 0xFFFFFF;        // COLORREF 0x00BBGGRR
  int32_t WinWidth = 550;
  int32_t WinHeight = 730;
  std::string Editor = "NOTEPAD $F";    // up to 260 bytes
  int32_t AutoReload = 0;
  std::string CurDir;                   // up to 260 bytes
  int32_t Reg = 0;                      // 0 = key tree ("registry"), 1 = INI file
};

// Run flags of the settings.
struct RunFlags {
  bool formats_for_this_run_only = false;  // set by 保存せずに変更: formats are not saved
  bool save_on_exit = true;                // cleared by 全設定の消去
};

// Bits returned by ClampFormat, one per value, in the order it checks them.
enum ClampBit : int {
  kClampLeft = 0x0001,
  kClampRight = 0x0002,
  kClampTop = 0x0004,
  kClampBottom = 0x0008,
  kClampWidth = 0x0010,
  kClampHeight = 0x0020,
  kClampKeisenThin = 0x0040,
  kClampKeisenBold = 0x0080,
  kClampTabSize = 0x0100,
  kClampFontPoint = 0x0200,
  kClampPageStart = 0x0400,
  kClampPageMargin = 0x0800,
  kClampUnderLine = 0x1000,
  kClampCharSpacing = 0x2000,
};

// Shows dialog 116 with the labels of the moved values (the ui provides one).
using ClampReporter = std::function<void(const std::vector<std::string>& labels)>;

// Moves every value to its nearest bound and returns the mask of the values moved.
// When a reporter is given and any value moved, it is called with their labels.
int ClampFormat(PrintFormat& format, const ClampReporter& show_dialog = {});
// Labels ("左余白", ...) of the bits set in mask, in bit order.
std::vector<std::string> ClampLabels(int mask);

// The ordered format list with its current index (CurSet). SetNum is formats.size().
struct FormatList {
  std::vector<PrintFormat> formats;
  int current = 0;
};

int FormatCount(const FormatList& list);
void AppendFormat(FormatList& list, const PrintFormat& format);
// false when index is outside the list.
bool ReplaceFormat(FormatList& list, int index, const PrintFormat& format);
bool DeleteFormat(FormatList& list, int index);
// Swaps the formats at a and b; false for an index outside the list; true (nothing done)
// when they are equal.
bool ExchangeFormats(FormatList& list, int a, int b);
// Copy of the format at index (the default record when index is outside).
PrintFormat FormatAt(const FormatList& list, int index);
std::string FormatName(const FormatList& list, int index);
// Index of the first format whose name equals name ignoring ASCII letter case; -1 if none.
int FormatIndexByName(const FormatList& list, const std::string& name);
// When format index has Default = 1, every other format gets Default = 0.
void EnsureSingleDefault(FormatList& list, int index);
int CurrentFormatIndex(const FormatList& list);
// Sets the current index, kept within the list; returns the index set.
int SetCurrentFormatIndex(FormatList& list, int index);
// The current format (the default record when the list is empty).
PrintFormat CurrentFormat(const FormatList& list);
std::vector<std::string> FormatNames(const FormatList& list);

}  // namespace txp
