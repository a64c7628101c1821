// Text dumps of laid-out lines and of the page list, so a layout change reads as a diff.
#include <cstdio>

#include "print/layout/page_layout.h"

namespace txp {

namespace {

std::string Hex4(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFF);
  return buf;
}

}  // namespace

// Printable ASCII as itself; double-byte cells as <XXXX> (box drawing as [XXXX]); backspace
// as <BS>; fields as <P3>, <T3>, <p2>, <t2>; other bytes as <XX>.
std::string DumpLine(const LineCells& cells) {
  std::string s;
  for (int i = 0; i < cells.length; ++i) {
    const uint8_t c = cells.code[i];
    if (IsLeadByte(c) && i + 1 < cells.length) {
      const unsigned key = c * 256u + cells.code[i + 1];
      const bool box = FindKeisen(key) != nullptr;
      s += box ? '[' : '<';
      s += Hex4(key);
      s += box ? ']' : '>';
      ++i;
    } else if (c >= kFieldPageNumber && c <= kFieldTotalPagesNarrow && i + 1 < cells.length) {
      static constexpr char kLetter[] = "PTpt";
      s += '<';
      s += kLetter[c - kFieldPageNumber];
      s += std::to_string(cells.code[i + 1]);
      s += '>';
      ++i;
    } else if (c == kBackspace) {
      s += "<BS>";
    } else if (c >= 0x20 && c < 0x7F) {
      s += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "<%02X>", c);
      s += buf;
    }
  }
  return s;
}

std::string DumpPages(const Document& doc, const PrintFormat& format) {
  std::string s = "pages " + std::to_string(doc.pages.size()) + ", marked " +
                  std::to_string(doc.marked_count) + "\n";
  static thread_local LineCells cells;
  for (size_t i = 0; i < doc.pages.size(); ++i) {
    const PageRecord& p = doc.pages[i];
    char head[256];
    std::snprintf(head, sizeof head,
                  "page %zu: no %d/%d W%d H%d L%d R%d T%d B%d pt%d tab%d dir%d prn%d flags%d "
                  "line%d attr%d size%02X\n",
                  i + 1, p.page_number, p.total_pages, p.W, p.H, p.left, p.right, p.top, p.bottom,
                  p.FontPoint, p.TabSize, p.PaperDir, p.PagePrn, p.flags, p.source_line, p.attr, p.size);
    s += head;
    PrintFormat work = PageFormat(format, p);
    SizeCode size = p.size;
    CellAttr attr = p.attr;
    int32_t flags = 0, line = 0;
    size_t pos = p.start;
    for (int n = 0; n < p.H && pos != p.end; ++n) {
      bool page_break = false;
      pos = LayoutLine(doc, pos, work, size, attr, LayoutMode::Render, cells, page_break, flags, line);
      s += "  |" + DumpLine(cells) + "|\n";
      if (page_break || pos == kNoPosition) break;
    }
  }
  return s;
}

}  // namespace txp
