#include "print/ui/startup.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>
#include <memory>

#include "print/printing/printers.h"
#include "print/ui/command_line.h"
#include "print/ui/dialogs.h"
#include "print/ui/feedback.h"
#include "print/ui/session.h"
#include "print/ui/txp_window.h"

namespace txp {

bool WantsPrint(const std::vector<std::string>& tokens) {
  for (const std::string& t : tokens) {
    const QString lowered = QString::fromStdString(t).toLower();
    if (lowered == "-p" || lowered == "--print") return true;
  }
  return false;
}

namespace {

void OpenHelp(const TxpSession& s) { QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(s.help_file))); }

}  // namespace

int RunTxp(const std::vector<std::string>& tokens, const std::filesystem::path& program_folder) {
  if (EnumPrinterList() == 0) {
    ShowNoticeDialog(nullptr, "119", "TXP", kNoPrinter, "終了");
    // A caller that asked for printing must not take this for success.
    return WantsPrint(tokens) ? 1 : 0;
  }
  TxpSession s;
  s.store = DefaultStoreLocations(program_folder);
  s.printers = PrinterListNames();
  s.help_file = (program_folder / "txp.html").string();
  LoadSettings(s.options, s.formats, s.printers, s.store);
  if (FormatCount(s.formats) == 0) {
    PrintFormat first = DefaultPrintFormat(std::max(0, DefaultPrinterIndex()));
    first.SetName = kInitialFormatName;
    AppendFormat(s.formats, first);
    SetCurrentFormatIndex(s.formats, 0);
  }

  TxpWin window(s);
  window.show();
  std::unique_ptr<QDialog> gathering = ShowGatheringPrinterInfo(&window);
  for (PrintFormat& format : s.formats.formats) {
    SetMarginLimits(format);
    ClampFormat(format);
  }
  window.ApplyFormat(CurrentFormatIndex(s.formats));

  const CommandLine command = ParseCommandLine(tokens, s.formats);
  for (int i = 0; i < command.help_requests; ++i) OpenHelp(s);
  bool print_failed = false;
  if (!command.ok) {
    ShowMessage(&window, command.message);
    // A caller that asked for printing must not take the refused command line for success.
    print_failed = WantsPrint(tokens);
  } else {
    s.command_options = command.options;
    if (command.format_index >= 0) window.ApplyFormat(command.format_index);
    if (!command.path.empty()) {
      s.path = command.path;
      window.LoadDocument(true);
    }
    if (command.options & kOptionPrint) {
      PrintRequest request;
      request.first = 1;
      request.last = static_cast<int>(s.doc.pages.size());
      // The job runs even without a document; it then has no page.
      const PrintOutcome outcome = window.RunPrintJob(request);
      print_failed = outcome != PrintOutcome::Printed || !s.doc.loaded;
    }
  }
  gathering.reset();
  // Without a display nobody can see or close the window: a run that does not close by itself
  // after printing (-p -q) ends once started, saving the settings as on any exit.
  const bool closes_itself = command.ok && (command.options & kOptionPrint) && (command.options & kOptionQuit);
  if (Headless() && !closes_itself) QMetaObject::invokeMethod(&window, [&window] { window.close(); }, Qt::QueuedConnection);
  const int code = QApplication::exec();
  return print_failed ? 1 : code;
}

}  // namespace txp
