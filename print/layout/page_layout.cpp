// Reading the document and laying it out into pages and lines.
#include "print/layout/page_layout.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

namespace txp {

namespace {

// Room kept free in LineCells for the largest single unit (a tab of 32 columns).
constexpr int kUnitReserve = 40;

bool IsLetterCaseless(uint8_t b, char upper) { return b == upper || b == upper + ('a' - 'A'); }

// Compares the command name (upper case) with the text case-insensitively; never reads past
// a byte that differs, so the end mark stops it.
bool MatchName(const uint8_t* p, const char* name) {
  for (; *name; ++p, ++name) {
    const char c = *name;
    if (c >= 'A' && c <= 'Z') {
      if (!IsLetterCaseless(*p, c)) return false;
    } else if (*p != static_cast<uint8_t>(c)) {
      return false;
    }
  }
  return true;
}

bool IsDigit(uint8_t b) { return b >= '0' && b <= '9'; }

// Decimal integer after optional blanks and a sign, 0 without digits; saturates.
int32_t ReadNumber(const uint8_t* p) {
  while (*p == ' ' || *p == '\t') ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long long n = 0;
  for (; IsDigit(*p); ++p) {
    n = n * 10 + (*p - '0');
    if (n > INT_MAX) n = INT_MAX;
  }
  return static_cast<int32_t>(negative ? -n : n);
}

size_t DigitsAt(const uint8_t* p) {
  size_t n = 0;
  while (IsDigit(p[n])) ++n;
  return n;
}

enum class Cmd { W, H, L, R, T, B, E, X, FP, NS, NE, NT, DT, DY, Font };

struct FormatCommand {
  const char* name;
  Cmd cmd;
  int32_t font_point;  // for font commands
};

// Tried in this order at every byte of a command line.
constexpr FormatCommand kCommands[] = {
    {"-W", Cmd::W, 0},        {"-H", Cmd::H, 0},        {"-L", Cmd::L, 0},
    {"-R", Cmd::R, 0},        {"-T", Cmd::T, 0},        {"-B", Cmd::B, 0},
    {"-E", Cmd::E, 0},        {"-X", Cmd::X, 0},        {"-FP", Cmd::FP, 0},
    {"-NS", Cmd::NS, 0},      {"-NE", Cmd::NE, 0},      {"-NT", Cmd::NT, 0},
    {"-DT", Cmd::DT, 0},      {"-DY", Cmd::DY, 0},
    {"-FUNI24", Cmd::Font, 8}, {"-FMIN24", Cmd::Font, 8}, {"-FGOTH24", Cmd::Font, 8},
    {"-FROUND24", Cmd::Font, 8}, {"-FU24", Cmd::Font, 8}, {"-FM24", Cmd::Font, 8},
    {"-FG24", Cmd::Font, 8},  {"-FR24", Cmd::Font, 8},
    {"-FUNI32", Cmd::Font, 10}, {"-FMIN32", Cmd::Font, 10}, {"-FGOTH32", Cmd::Font, 10},
    {"-FROUND32", Cmd::Font, 10}, {"-FU32", Cmd::Font, 10}, {"-FM32", Cmd::Font, 10},
    {"-FG32", Cmd::Font, 10}, {"-FR32", Cmd::Font, 10},
    {"-FUNI40", Cmd::Font, 12}, {"-FMIN40", Cmd::Font, 12}, {"-FGOTH40", Cmd::Font, 12},
    {"-FROUND40", Cmd::Font, 12}, {"-FU40", Cmd::Font, 12}, {"-FM40", Cmd::Font, 12},
    {"-FG40", Cmd::Font, 12}, {"-FR40", Cmd::Font, 12},
};

// Applies the format command at p, if any; returns the bytes to step over (0 = none matched).
size_t ApplyFormatCommand(const uint8_t* p, PrintFormat& work, int32_t& page_flags) {
  for (const FormatCommand& c : kCommands) {
    if (!MatchName(p, c.name)) continue;
    const size_t name_len = std::strlen(c.name);
    const uint8_t* arg = p + name_len;
    const int32_t n = ReadNumber(arg);
    const size_t after_number = name_len + DigitsAt(arg);
    switch (c.cmd) {
      case Cmd::W: work.Width.value = n; break;
      case Cmd::H: work.Height.value = n; break;
      case Cmd::L: work.LeftMgnMm.value = n; break;
      case Cmd::R: work.RightMgnMm.value = n; break;
      case Cmd::T: work.TopMgnMm.value = n; break;
      case Cmd::B: work.BottomMgnMm.value = n; break;
      case Cmd::E: work.TabSize.value = n; break;
      case Cmd::X: page_flags |= kPageNoPrint; break;
      case Cmd::FP: work.FontPoint = n; break;
      case Cmd::NS:
        work.PagePrn = 1;
        work.PageStart.value = n;
        break;
      case Cmd::NE: work.PagePrn = 0; return name_len;
      case Cmd::NT: work.TotalPages = IsDigit(*arg) ? n : -1; break;
      case Cmd::DT: work.PaperDir = 0; return name_len;
      case Cmd::DY: work.PaperDir = 1; return name_len;
      case Cmd::Font: work.FontPoint = c.font_point; return 1;
    }
    return after_number;
  }
  return 0;
}

void Emit(LineCells& out, uint8_t code, CellAttr attr, SizeCode size) {
  out.code[out.length] = code;
  out.attr[out.length] = attr;
  out.size[out.length] = size;
  ++out.length;
}

// Size used for single-byte cells: the current code, but 0x22 when it is below 0x22.
SizeCode SingleByteSize(SizeCode size) { return size < kSizeNormal ? kSizeNormal : size; }

// Reads a page-number field after '%' at p (page-number mode). Returns the bytes taken.
size_t LayoutField(const uint8_t* p, CellAttr attr, SizeCode size, LineCells& out, int& column) {
  size_t i = 1;
  long long n = 0;
  for (; IsDigit(p[i]); ++i) {
    n = n * 10 + (p[i] - '0');
    if (n > kMaxFieldWidth) n = kMaxFieldWidth;
  }
  if (n < 1) n = 1;
  uint8_t code = 0;
  switch (p[i]) {
    case 'P': code = kFieldPageNumber; break;
    case 'T': code = kFieldTotalPages; break;
    case 'p': code = kFieldPageNumberNarrow; break;
    case 't': code = kFieldTotalPagesNarrow; break;
    default:
      // Another byte ends the field without output; line ends, the end mark and double-byte
      // characters stay in the text.
      if (p[i] == '\n' || p[i] == kEndMark || IsLeadByte(p[i])) return i;
      return i + 1;
  }
  const bool wide = code == kFieldPageNumber || code == kFieldTotalPages;
  const SizeCode cell_size = wide ? size : SingleByteSize(size);
  Emit(out, code, attr, cell_size);
  Emit(out, static_cast<uint8_t>(n), attr, cell_size);
  column += static_cast<int>(wide ? 2 * n : n);
  return i + 1;
}

// A decoration code at p; returns the bytes taken.
size_t LayoutDecoration(const uint8_t* p, SizeCode& size, CellAttr& attr, LineCells& out, int& column) {
  auto size_digit = [](uint8_t b) { return b == '1' || b == '2' || b == '4'; };
  switch (p[0]) {
    case 0x0F: size = kSizeNormal; return 1;
    case 0x0E: size = kSizeDoubleWidth; return 1;
    case 0x16: size = kSizeDoubleHeight; return 1;
    case 0x06: size = kSizeDouble; return 1;
    case 0x14: size = kSizeHalfHeight; return 1;
    case 0x19: size = kSizeHalfWidth; return 1;
    case 0x11: size = kSizeHalf; return 1;
    case 0x08:
      if (column > 0) {
        Emit(out, kBackspace, attr, kSizeNormal);
        --column;
      }
      return 1;
    case 0x15: attr ^= kAttrUnderline; return 1;
    case 0x10: attr ^= kAttrPageNumber; return 1;
    case 0x13:
      if (size_digit(p[1]) && size_digit(p[2])) {
        size = static_cast<SizeCode>((p[1] - '0') * 16 + (p[2] - '0'));
        return 3;
      }
      return 1;
    case 0x01:
      if (p[1] != kEndMark && p[2] != kEndMark && p[3] != kEndMark) {
        if (p[1] == '3') attr |= kAttrUnderline;
        return 4;
      }
      return 1;
    case 0x02:
      if (p[1] == kEndMark) return 1;
      if (p[1] == '3') attr &= static_cast<CellAttr>(~kAttrUnderline);
      return 2;
    default:
      return 1;  // unknown control bytes, a form feed among them, are dropped
  }
}

}  // namespace

std::string LoadFailureMessage(const std::string& path) {
  return "ファイル「" + path + "」が読み出せません.";
}

size_t ConvertYenCommands(uint8_t* text, size_t length) {
  static constexpr char kLetters[] = "ONVFTYQHUPL";
  size_t r = 0, w = 0;
  while (r + 1 < length) {
    const uint8_t b = text[r];
    if (IsLeadByte(b)) {
      text[w++] = text[r++];
      text[w++] = text[r++];
      continue;
    }
    if (b == '\\') {
      uint8_t next = text[r + 1];
      const uint8_t upper = (next >= 'a' && next <= 'z') ? static_cast<uint8_t>(next - 'a' + 'A') : next;
      if (upper != 0 && std::strchr(kLetters, upper) != nullptr) {
        text[w++] = static_cast<uint8_t>(upper - 0x40);
        r += 2;
        continue;
      }
      if (next == '\\') {
        text[w++] = '\\';
        r += 2;
        continue;
      }
    }
    text[w++] = text[r++];
  }
  while (r < length) text[w++] = text[r++];
  return w;
}

LoadResult LoadTextFromBytes(Document& doc, const std::string& bytes, const PrintFormat& format) {
  doc.text.clear();
  doc.text.shrink_to_fit();
  doc.pages.clear();
  doc.marked_count = 0;
  doc.loaded = false;
  try {
    doc.text.reserve(bytes.size() + 1);
  } catch (const std::bad_alloc&) {
    return LoadResult::NoMemory;
  }
  // Text mode: CR LF becomes LF, a 0x1A ends the text.
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t b = static_cast<uint8_t>(bytes[i]);
    if (b == kEndMark) break;
    if (b == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    doc.text.push_back(b);
  }
  size_t length = doc.text.size();
  if (format.YenCmd == 1) length = ConvertYenCommands(doc.text.data(), length);
  doc.text.resize(length);
  doc.text.push_back(kEndMark);
  doc.loaded = true;
  return LoadResult::Ok;
}

LoadResult LoadText(Document& doc, const std::string& path, const PrintFormat& format) {
  doc.text.clear();
  doc.pages.clear();
  doc.marked_count = 0;
  doc.loaded = false;
  // A folder opens for reading here and reports an absurd size; it is not a document.
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return LoadResult::CannotOpen;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return LoadResult::CannotOpen;
  std::string bytes;
  LoadResult result = LoadResult::Ok;
  try {
    if (std::fseek(f, 0, SEEK_END) == 0) {
      const long size = std::ftell(f);
      if (size > 0) bytes.reserve(static_cast<size_t>(size));
    }
    std::rewind(f);
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    if (std::ferror(f)) result = LoadResult::CannotOpen;
  } catch (const std::bad_alloc&) {
    result = LoadResult::NoMemory;
  }
  std::fclose(f);
  if (result != LoadResult::Ok) return result;
  return LoadTextFromBytes(doc, bytes, format);
}

size_t LayoutLine(const Document& doc, size_t pos, PrintFormat& work, SizeCode& size, CellAttr& attr,
                  LayoutMode mode, LineCells& out, bool& page_break, int32_t& page_flags,
                  int32_t& line_counter) {
  const uint8_t* t = doc.text.data();
  const bool paginate = mode == LayoutMode::Paginate;
  out.length = 0;
  page_break = false;
  if (doc.text.empty()) pos = kNoPosition;

  // 1. Command line after a form feed.
  if (pos != kNoPosition && t[pos] == kFormFeed) {
    ++pos;
    for (;;) {
      const uint8_t b = t[pos];
      if (b == '\n') {
        ++pos;
        if (paginate) {
          ++line_counter;
          ClampFormat(work);
        }
        break;
      }
      if (b == kEndMark) {
        pos = kNoPosition;
        if (paginate) ClampFormat(work);
        break;
      }
      size_t step = 1;
      if (paginate) {
        const size_t used = ApplyFormatCommand(t + pos, work, page_flags);
        if (used) step = used;
      }
      pos += step;
    }
  }

  // 2. Body.
  bool ended_at_end_mark = false;
  if (pos != kNoPosition && t[pos] != kFormFeed) {
    const int width = work.Width.value;
    const int tab = work.TabSize.value > 0 ? work.TabSize.value : 1;
    int column = 0;
    for (;;) {
      if (out.length + kUnitReserve > LineCells::kCapacity) break;
      const uint8_t b = t[pos];
      if (b == kEndMark) {
        pos = kNoPosition;
        ended_at_end_mark = true;
        break;
      }
      if (b == '\n') {
        ++pos;
        if (paginate) ++line_counter;
        break;
      }
      if (b == '\t') {
        const int stop = tab * ((column + tab) / tab);
        if (stop >= width) {
          ++pos;
          break;
        }
        // A format that was never clamped may ask for a tab wider than the cell arrays.
        if (out.length + (stop - column) > LineCells::kCapacity) break;
        for (; column < stop; ++column) Emit(out, ' ', attr, kSizeNormal);
        ++pos;
      } else if (IsLeadByte(b)) {
        const uint8_t trail = t[pos + 1];
        if (trail == kEndMark) {  // a lone lead byte at the end of the text is dropped
          ++pos;
          continue;
        }
        const unsigned key = b * 256u + trail;
        if (const KeisenEntry* k = FindKeisen(key)) {
          if (column + k->width > width) break;
          Emit(out, b, 0, kSizeNormal);
          Emit(out, trail, 0, kSizeNormal);
          column += k->width;
        } else {
          const int h = size & 0x0F;
          if (column + h > width) break;
          Emit(out, b, attr, size);
          Emit(out, trail, attr, size);
          column += h;
        }
        pos += 2;
      } else if (b < 0x20) {
        pos += LayoutDecoration(t + pos, size, attr, out, column);
      } else if ((attr & kAttrPageNumber) && b == '%') {
        pos += LayoutField(t + pos, attr, size, out, column);
      } else {
        const SizeCode s = SingleByteSize(size);
        const int advance = (s / 2) & 7;
        if (column + advance > width) break;
        Emit(out, b, attr, s);
        column += advance;
        ++pos;
      }
      if (column >= width) break;
    }
  }

  // 3. Page break at a form feed where the next line would begin.
  if (!ended_at_end_mark && pos != kNoPosition && t[pos] == kFormFeed) {
    page_break = true;
    if (t[pos + 1] == kEndMark || (t[pos + 1] == '\n' && t[pos + 2] == kEndMark)) pos = kNoPosition;
  }

  // 4.
  out.code[out.length] = 0;
  out.attr[out.length] = 0;
  out.size[out.length] = 0;
  if (pos != kNoPosition && t[pos] == kEndMark) pos = kNoPosition;
  return pos;
}

void BuildPages(Document& doc, const PrintFormat& format) {
  doc.pages.clear();
  doc.marked_count = 0;
  if (!doc.loaded || doc.text.empty()) return;
  PrintFormat work = format;
  work.TotalPages = -1;
  SizeCode size = kSizeNormal;
  CellAttr attr = 0;
  int32_t line_counter = 1;
  static thread_local LineCells cells;
  size_t pos = 0;
  while (pos != kNoPosition) {
    PageRecord page;
    page.start = pos;
    page.attr = attr;
    page.size = size;
    page.source_line = line_counter;
    int32_t flags = 0;
    int lines = 0;
    for (;;) {
      bool page_break = false;
      pos = LayoutLine(doc, pos, work, size, attr, LayoutMode::Paginate, cells, page_break, flags,
                       line_counter);
      ++lines;
      if (page_break || pos == kNoPosition || lines >= work.Height.value) break;
    }
    page.end = pos;
    page.W = work.Width.value;
    page.H = work.Height.value;
    page.left = work.LeftMgnMm.value;
    page.right = work.RightMgnMm.value;
    page.top = work.TopMgnMm.value;
    page.bottom = work.BottomMgnMm.value;
    page.FontPoint = work.FontPoint;
    page.PagePrn = work.PagePrn;
    page.page_number = work.PageStart.value;
    page.total_pages = work.TotalPages;
    page.TabSize = work.TabSize.value;
    page.PaperDir = work.PaperDir;
    page.flags = flags;
    try {
      doc.pages.push_back(page);
    } catch (const std::bad_alloc&) {
      break;  // the pages made so far stand
    }
    if (flags & kPageNoPrint) ++doc.marked_count;
    if (work.PageStart.value < INT32_MAX) ++work.PageStart.value;
  }
  const int32_t count = static_cast<int32_t>(doc.pages.size());
  for (PageRecord& page : doc.pages)
    if (page.total_pages == -1) page.total_pages = count;
}

PrintFormat PageFormat(const PrintFormat& format, const PageRecord& page) {
  PrintFormat f = format;
  f.Width.value = page.W;
  f.Height.value = page.H;
  f.LeftMgnMm.value = page.left;
  f.RightMgnMm.value = page.right;
  f.TopMgnMm.value = page.top;
  f.BottomMgnMm.value = page.bottom;
  f.FontPoint = page.FontPoint;
  f.PagePrn = page.PagePrn;
  f.PageStart.value = page.page_number;
  f.TotalPages = page.total_pages;
  f.TabSize.value = page.TabSize;
  f.PaperDir = page.PaperDir;
  f.InitAttr = page.attr;
  f.InitSize = page.size;
  return f;
}

void TogglePageMark(Document& doc, int index) {
  if (index < 0 || index >= static_cast<int>(doc.pages.size())) return;
  PageRecord& page = doc.pages[static_cast<size_t>(index)];
  page.flags ^= kPageNoPrint;
  doc.marked_count += (page.flags & kPageNoPrint) ? 1 : -1;
}

void MarkAllPages(Document& doc) {
  for (PageRecord& page : doc.pages) page.flags |= kPageNoPrint;
  doc.marked_count = static_cast<int>(doc.pages.size());
}

void ClearAllPageMarks(Document& doc) {
  for (PageRecord& page : doc.pages) page.flags &= ~kPageNoPrint;
  doc.marked_count = 0;
}

}  // namespace txp
