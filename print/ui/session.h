// Everything one run of txp works on: the settings, the loaded document and where the
// window stands in it. The window, the start-up and the tests share it.
#pragma once

#include <functional>
#include <string>

#include "print/layout/page_layout.h"
#include "print/printing/print_job.h"
#include "print/settings/print_format.h"
#include "print/settings/store.h"

namespace txp {

struct TxpSession {
  ProgramOptions options;
  FormatList formats;
  PrintFormat working;          // copy of the current format that layout and printing read
  RunFlags run;
  StoreLocations store;
  PrinterNames printers;
  Document doc;
  std::string path;             // document path
  int page = 0;                 // current page index
  int command_options = 0;      // kOptionPrint | kOptionQuit of the command line
  std::string help_file;        // txp.html beside the program
  PrintTarget print_target;     // empty printer name: the working format's printer
};

// The printer names of the printer list (printing/printers.h) for the settings store.
PrinterNames PrinterListNames();

}  // namespace txp
