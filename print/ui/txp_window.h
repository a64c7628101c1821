// TxpWin: the main window with menu 102, the toolbar (zoom box, page box, format list), the
// status bar and the preview. Commands keep their menu ids (40001 ...) as objectNames of
// their actions; the toolbar's own controls are "40042" (zoom), "40041" (page), "40040"
// (format list).
#pragma once

#include <QMainWindow>
#include <QProcess>
#include <QTimer>
#include <list>
#include <map>
#include <memory>

#include "print/ui/session.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;

namespace txp {

class TxpWinPreview;

class TxpWin : public QMainWindow {
  Q_OBJECT
 public:
  explicit TxpWin(TxpSession& session);
  ~TxpWin() override;

  // Reads and lays out session.path; first_page: show page 1, else keep the page.
  bool LoadDocument(bool first_page);
  void ShowPage(int index);        // an index outside the pages beeps
  void NextPage();
  void PreviousPage();
  void FirstPage();
  void LastPage();
  void SetZoom(bool relative, int value);
  void RedrawPreview(bool first_page);
  void ToggleMark();
  void MarkAllPages();
  void ClearAllMarks();
  // Makes format index current and applies it (format list, -s).
  void ApplyFormat(int index);
  // Starts the editor on the current page; returns the command line built.
  std::string StartEditor();
  // The print job for a request, with the progress dialog; posts the completion.
  PrintOutcome RunPrintJob(const PrintRequest& request);
  // Menu command by id (menus, toolbar, the preview's pop-up).
  void Command(int id);
  void HandleKey(QKeyEvent* event);
  // 全設定の消去 after its confirmation.
  void EraseAllSettings();
  QAction* action(int id) const;
  TxpWinPreview* preview() const { return preview_; }
  // Result of the last print job (start-up -p).
  PrintOutcome last_print() const { return last_print_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenu();
  void BuildToolbar();
  void RefreshStatus();
  void RefreshNavigation();
  void RefreshZoomBox();
  void SetDocumentCommandsEnabled(bool enabled);
  void OpenDialog();
  void PrintFromMenu();
  void PrintingFinished();
  void EditorTick();
  void FillFormatList();

  TxpSession& s_;
  TxpWinPreview* preview_ = nullptr;
  std::map<int, QAction*> actions_;
  QLineEdit* zoom_box_ = nullptr;
  QLineEdit* page_box_ = nullptr;
  QComboBox* format_list_ = nullptr;
  QLabel* status_[3] = {};
  QTimer editor_timer_;
  std::list<std::unique_ptr<QProcess>> editors_;
  PrintOutcome last_print_ = PrintOutcome::Printed;
  bool printing_ = false;  // a print job runs (pumping events between its pages)
};

// Window title for a document path: "%s - TXP".
std::string WindowTitleFor(const std::string& path);

}  // namespace txp
