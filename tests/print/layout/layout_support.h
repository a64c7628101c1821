// Helpers for the layout tests: loading text from a string and readable dumps.
#pragma once

#include <string>

#include "print/layout/page_layout.h"

namespace txp::test {

inline PrintFormat SmallFormat(int width = 10, int height = 5, int tab = 8) {
  PrintFormat f = DefaultPrintFormat(0);
  f.Width.value = width;
  f.Height.value = height;
  f.TabSize.value = tab;
  return f;
}

inline Document Paginate(const std::string& text, const PrintFormat& format) {
  Document doc;
  LoadTextFromBytes(doc, text, format);
  BuildPages(doc, format);
  return doc;
}

// "#1\n|line|\n|line|\n#2\n..." - the lines of every page as drawn.
inline std::string PageLines(const Document& doc, const PrintFormat& format) {
  std::string out;
  LineCells cells;
  for (size_t i = 0; i < doc.pages.size(); ++i) {
    const PageRecord& p = doc.pages[i];
    out += '#';
    out += std::to_string(i + 1);
    out += '\n';
    PrintFormat work = PageFormat(format, p);
    SizeCode size = p.size;
    CellAttr attr = p.attr;
    int32_t flags = 0, line = 0;
    size_t pos = p.start;
    for (int n = 0; n < p.H && pos != p.end; ++n) {
      bool page_break = false;
      pos = LayoutLine(doc, pos, work, size, attr, LayoutMode::Render, cells, page_break, flags, line);
      out += '|';
      out += DumpLine(cells);
      out += "|\n";
      if (page_break || pos == kNoPosition) break;
    }
  }
  return out;
}

// Size codes of the cells as hex pairs, and attributes as one digit per cell.
inline std::string SizeTrack(const LineCells& cells) {
  static const char* hex = "0123456789ABCDEF";
  std::string s;
  for (int i = 0; i < cells.length; ++i) {
    s += hex[cells.size[i] >> 4];
    s += hex[cells.size[i] & 15];
  }
  return s;
}
inline std::string AttrTrack(const LineCells& cells) {
  std::string s;
  for (int i = 0; i < cells.length; ++i) s += static_cast<char>('0' + cells.attr[i]);
  return s;
}

}  // namespace txp::test
