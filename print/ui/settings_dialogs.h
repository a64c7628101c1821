// The settings dialogs: the format list (123, menu 書式), the six-page format sheet
// (書式設定, pages 124 105 106 108 118 109) and the three-page environment sheet (環境設定,
// pages 132 133 136). Every control keeps its resource id as objectName; ids repeat between
// pages, so a control is found inside its page (the page's objectName is its dialog id).
// The sheets edit a working copy that is taken over only on OK.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "print/settings/print_format.h"

class QTabWidget;
class QPushButton;
class QHBoxLayout;

namespace txp {

struct TxpSession;

// Dialog 123 over the session's format list; afterwards all settings are saved. The caller
// applies the current format.
void FormatListDialog(QWidget* owner, TxpSession& s);

// The format sheet on format; on OK the values are clamped (dialog 116 lists the moved ones)
// and written back. 保存せずに変更 sets run.formats_for_this_run_only and accepts.
bool FormatSheet(QWidget* owner, PrintFormat& format, RunFlags& run, const std::string& help_file);

// The environment sheet; on OK the options are taken (ZoomSize follows a change of AutoSizing).
bool EnvironmentSheet(QWidget* owner, ProgramOptions& options, const std::string& help_file);

// A number typed into a dialog edit: the decimal integer at the start of at most 39 characters
// (leading blanks skipped); anything else reads as 0.
int ReadDialogNumber(const QString& text);

// Paper names match when their parts before the first " (" (or the whole names) have the same
// length and are equal ignoring case.
bool PaperNamesMatch(const std::string& a, const std::string& b);

// Dialog 116 設定値の確認 with the labels of the values ClampFormat moved.
void ShowClampReport(QWidget* parent, const std::vector<std::string>& labels);

// Dialog 120: a printer could not be asked; the caller goes on with the bounds it had.
void ShowPrinterInfoFailure(QWidget* parent);

// Opens the help page at a context's anchor.
void OpenHelpContext(const std::string& help_file, int context);

// A property sheet: pages in a tab widget, OK / Cancel / ヘルプ below (no Apply). The help
// button opens the shown page's help context.
class PropertySheet : public QDialog {
  Q_OBJECT
 public:
  PropertySheet(QWidget* parent, const char* caption, std::string help_file);
  void AddPage(QWidget* page, const char* title, int help_context);
  QTabWidget* tabs() const { return tabs_; }
  QPushButton* ok_button() const { return ok_; }
  // Inserts a push button between OK and Cancel.
  QPushButton* AddMiddleButton(const char* text, const char* id, int width);

 private:
  QTabWidget* tabs_;
  QPushButton* ok_;
  QPushButton* cancel_;
  QHBoxLayout* buttons_;
  std::vector<int> help_contexts_;
  std::string help_file_;
};

}  // namespace txp
