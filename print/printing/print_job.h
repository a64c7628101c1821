// The print job: which pages the print dialog asks for, whether any of them is printable,
// and the job itself, which draws every chosen page onto the format's printer (one sheet per
// page, or all pages on one sheet), each page with its own paper direction.
// The dialogs (115, 131, 103, 122) are the window's; the job reports through PrintJobHooks.
#pragma once

#include <functional>
#include <string>

#include "print/layout/page_layout.h"
#include "print/settings/print_format.h"

class QPrinter;
class QPainter;

namespace txp {

// First and last page, 1-based and inclusive; overlay = all pages on one sheet.
struct PrintRequest {
  int first = 1;
  int last = 1;
  bool overlay = false;
};

// The three choices of the print dialog.
enum class PrintRangeChoice { AllPages, ThisPage, TypedRange };

// The range rules of the print dialog's OK: all pages, the current page only, or the typed
// numbers (text that is not a number reads as 0), kept within 1..page_count, swapped when
// reversed.
PrintRequest PrintRequestFromDialog(PrintRangeChoice choice, const std::string& typed_first,
                                    const std::string& typed_last, int current_index,
                                    int page_count, bool overlay);

// True when at least one page of first..last (1-based) is not marked not to print.
bool CheckPagesToPrint(const Document& doc, int first, int last);

// Where the job goes: the named printer, or (tests, files) a PDF that Qt writes itself.
struct PrintTarget {
  std::string printer_name;
  std::string pdf_file;  // when not empty, the printer name is ignored
};

// How the job talks to the window while it runs (all optional).
struct PrintJobHooks {
  std::function<void(const std::string& text)> status;  // the progress dialog's text line
  std::function<void(int index)> progress;              // page index being printed
  std::function<void()> pump;                           // handle waiting window events
  const bool* user_abort = nullptr;                     // set by 印刷中止
};

enum class PrintOutcome {
  Printed,         // every chosen page went out (also when none was printable)
  NoDevice,        // the printer cannot be addressed: "PrintThread(): CreateDC() failed"
  Failed,          // starting the document or a page failed: dialog 122
  UserAborted,     // 印刷中止
};

// Runs the job for pages request.first..request.last of doc, laid out with current.
// document_name names the job (the document's path).
PrintOutcome PrintThread(const Document& doc, const PrintFormat& current, const PrintRequest& request,
                         const PrintTarget& target, const std::string& document_name,
                         const PrintJobHooks& hooks = {});

// Progress texts of dialog 103.
inline constexpr const char* kPrintStatusInit = "プリンタ初期化中です";
inline constexpr const char* kPrintStatusPages = "データ展開中です";

}  // namespace txp
