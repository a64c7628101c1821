// Print markup and page layout: reads a CP932 text into memory, obeys the in-band markup
// (format commands after a form feed, decoration codes, page-number fields, box-drawing
// characters) and produces the page list and, for any line, its row of character cells.
// Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "print/settings/print_format.h"

namespace txp {

// High nibble = vertical scale, low nibble = horizontal scale, in halves of the base size.
using SizeCode = uint8_t;
constexpr SizeCode kSizeNormal = 0x22;       // ^O 標準
constexpr SizeCode kSizeDoubleWidth = 0x24;  // ^N 横２倍角
constexpr SizeCode kSizeDoubleHeight = 0x42; // ^V 縦２倍角
constexpr SizeCode kSizeDouble = 0x44;       // ^F 縦横２倍角
constexpr SizeCode kSizeHalfHeight = 0x12;   // ^T 縦1/2倍角
constexpr SizeCode kSizeHalfWidth = 0x21;    // ^Y 横1/2倍角
constexpr SizeCode kSizeHalf = 0x11;         // ^Q 縦横1/2倍角

// Bit 0 = underline, bit 1 = page-number mode.
using CellAttr = uint8_t;
constexpr CellAttr kAttrUnderline = 0x01;
constexpr CellAttr kAttrPageNumber = 0x02;

// Control bytes of the markup.
constexpr uint8_t kFormFeed = 0x0C;
constexpr uint8_t kEndMark = 0x1A;
constexpr uint8_t kBackspace = 0x08;

// Codes of page-number field cells (followed by the width n as one byte).
constexpr uint8_t kFieldPageNumber = 0x10;       // %nP, full-width digits
constexpr uint8_t kFieldTotalPages = 0x11;       // %nT, full-width digits
constexpr uint8_t kFieldPageNumberNarrow = 0x12; // %np
constexpr uint8_t kFieldTotalPagesNarrow = 0x13; // %nt
constexpr int kMaxFieldWidth = 99;               // larger n are limited to this

// Lead byte of a double-byte character in the print program: 0x81-0x9F or 0xE0-0xEF.
constexpr bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xEF); }

// One laid-out line: three parallel arrays of equal length; code[length] is 0.
struct LineCells {
  static constexpr int kCapacity = 2048;
  uint8_t code[kCapacity + 1];
  uint8_t attr[kCapacity + 1];
  uint8_t size[kCapacity + 1];
  int length = 0;
};

// Box-drawing table entry: width in columns and the kind of the left, right, upper and
// lower half-segment (0 none, 1 thin, 2 bold).
struct KeisenEntry {
  int32_t width;
  uint8_t left, right, up, down;
};
// The entry for a double-byte character (lead * 256 + trail), or nullptr.
const KeisenEntry* FindKeisen(unsigned key);

constexpr size_t kNoPosition = static_cast<size_t>(-1);
constexpr int kPageNoPrint = 0x01;  // page flag bit 0: do not print this page

// One entry of the page list: the settings frozen at the page's first line.
struct PageRecord {
  size_t start = 0;               // position of the page's text
  size_t end = kNoPosition;       // start of the next page, or none
  int32_t W = 0, H = 0;
  int32_t left = 0, right = 0, top = 0, bottom = 0;  // margins, mm
  int32_t FontPoint = 0;
  int32_t flags = 0;              // kPageNoPrint
  int32_t PagePrn = 0;
  int32_t page_number = 0;
  int32_t total_pages = 0;        // figure printed by %T/%t
  int32_t TabSize = 0;
  int32_t PaperDir = 0;
  CellAttr attr = 0;              // at the page's first line
  SizeCode size = kSizeNormal;    // at the page's first line
  int32_t source_line = 1;        // 1-based line number of the page's first line
};

// A loaded document: the CP932 text with the end mark 0x1A after it, and its pages.
struct Document {
  std::vector<uint8_t> text;      // ends with kEndMark when loaded
  bool loaded = false;
  std::vector<PageRecord> pages;
  int marked_count = 0;           // pages with kPageNoPrint set
};

enum class LoadResult { Ok, CannotOpen, NoMemory };

// Reads path in text mode (CR LF -> LF, 0x1A ends the text), applies ConvertYenCommands
// when format.YenCmd is 1, stores the end mark. Frees the previous text and pages first.
// CannotOpen: the caller shows LoadFailureMessage(path) in a box captioned "TXP".
LoadResult LoadText(Document& doc, const std::string& path, const PrintFormat& format);
// The same from bytes in memory (the file's content before text-mode reading).
LoadResult LoadTextFromBytes(Document& doc, const std::string& bytes, const PrintFormat& format);
// "ファイル「%s」が読み出せません." with the path.
std::string LoadFailureMessage(const std::string& path);

// Rewrites backslash-letter pairs into control bytes in text[0, length); returns the new length.
size_t ConvertYenCommands(uint8_t* text, size_t length);

// Lays out the whole document from a working copy of format.
void BuildPages(Document& doc, const PrintFormat& format);

enum class LayoutMode { Paginate, Render };

// Lays out one line starting at pos. Paginate obeys format commands (changing work) and
// counts source lines; Render skips command lines. Returns the next line's position or
// kNoPosition at the end of the text.
size_t LayoutLine(const Document& doc, size_t pos, PrintFormat& work, SizeCode& size,
                  CellAttr& attr, LayoutMode mode, LineCells& out, bool& page_break,
                  int32_t& page_flags, int32_t& line_counter);

// The page format of one page: format with the page's frozen values put in
// (W, H, margins, FontPoint, PagePrn, page number into PageStart, total pages, TabSize,
// PaperDir, initial attribute and size).
PrintFormat PageFormat(const PrintFormat& format, const PageRecord& page);

// Page marks (flag bit 0), keeping doc.marked_count.
void TogglePageMark(Document& doc, int index);
void MarkAllPages(Document& doc);
void ClearAllPageMarks(Document& doc);

// Readable dumps for tests and debugging: one line of cells, and the whole page list with
// every line of every page.
std::string DumpLine(const LineCells& cells);
std::string DumpPages(const Document& doc, const PrintFormat& format);

}  // namespace txp
