// txp's own dialogs, each named by its resource id as objectName: the print dialog (115),
// the progress dialog (103), the markup summary (135), the About box (117) and the
// erase confirmation (143). Dialogs 119, 122 and 131 are notices (feedback.h).
#pragma once

#include <QDialog>
#include <string>

#include "print/printing/print_job.h"

class QLineEdit;
class QLabel;
class QProgressBar;
class QRadioButton;
class QCheckBox;

namespace txp {

// Dialog 115 印刷開始.
class PrintDialog : public QDialog {
  Q_OBJECT
 public:
  PrintDialog(QWidget* parent, int page_count, int current_index, const std::string& printer_name);
  // The request under the range rules, valid after acceptance.
  PrintRequest Request() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int page_count_;
  int current_index_;
  QLineEdit* first_;
  QLineEdit* last_;
  QRadioButton* all_;
  QRadioButton* range_;
  QRadioButton* this_page_;
  QCheckBox* overlay_;
};

// Dialog 103 印刷中: text line, progress bar, 印刷中止.
class ProgressDialog : public QDialog {
  Q_OBJECT
 public:
  ProgressDialog(QWidget* parent, int first, int last);
  void SetText(const std::string& text);
  void SetProgress(int index);
  bool aborted() const { return aborted_; }
  const bool* abort_flag() const { return &aborted_; }

 signals:
  void abortRequested();

 private:
  QLabel* text_;
  QProgressBar* bar_;
  bool aborted_ = false;
};

void ShowCommandListDialog(QWidget* parent);   // 135
void ShowAboutDialog(QWidget* parent);         // 117
bool ConfirmEraseSettings(QWidget* parent);    // 143: true on 消去

// Texts of the notices.
inline constexpr const char* kNoPagesToPrint = "印刷するページがありません。\n印刷範囲の全てのページが\n印刷しない設定になっています。";
inline constexpr const char* kCouldNotPrint = "印刷できませんでした。";
inline constexpr const char* kNoPrinter = "使用できるプリンタがありません。\nプリンタを作成してください。";

}  // namespace txp
