// Printing from the menu entry 印刷 (40002): the print dialog 115 gets a typed range, and the
// job writes exactly those pages, in order, to a PDF that Qt writes itself; a range whose
// pages are all marked not to print shows dialog 131 and prints nothing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>

#include "print/printing/printers.h"
#include "print/ui/dialogs.h"
#include "print/ui/feedback.h"
#include "print/ui/txp_window.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;
using namespace txp;
using txp_test::ScratchFolder;
using txp_test::WriteCp932;

namespace {

// Twelve pages; page n says "ページnです", which no other page's text contains.
std::string TwelveNumberedPages() {
  std::string text;
  for (int n = 1; n <= 12; ++n) {
    if (n > 1) text += "\f\n";
    text += "ページ" + std::to_string(n) + "です\n本文の行\n";
  }
  return text;
}

std::string RunTool(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForFinished(60000)) return {};
  return p.readAllStandardOutput().toStdString();
}

int PdfPages(const fs::path& pdf) {
  const std::string info = RunTool("pdfinfo", {QString::fromStdString(pdf.string())});
  const auto at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

// Text of one PDF page without blanks (glyphs sit on the page grid, so pdftotext may put
// blanks between them).
std::string PdfPageText(const fs::path& pdf, int page) {
  const QString n = QString::number(page);
  std::string text = RunTool("pdftotext", {"-f", n, "-l", n, QString::fromStdString(pdf.string()), "-"});
  std::erase(text, ' ');
  return text;
}

class PrintMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPrinterList({{"PDF", "cups-pdf:/", "CUPS-PDF"}}, "PDF");
    s_.store = {folder_ / "Tarn", folder_ / "TXP.ini"};
    s_.printers = PrinterListNames();
    PrintFormat f = DefaultPrintFormat(0);
    f.SetName = kInitialFormatName;
    AppendFormat(s_.formats, f);
    s_.working = f;
    s_.print_target.pdf_file = pdf_.string();
    SetFeedbackHooks([] {}, [this](const std::string& text, const std::string& caption) {
      messages_.push_back(caption + ": " + text);
    });
    window_ = std::make_unique<TxpWin>(s_);
    window_->show();
    const fs::path file = folder_ / "report.txt";
    WriteCp932(file, TwelveNumberedPages());
    s_.path = file.string();
    ASSERT_TRUE(window_->LoadDocument(true));
    ASSERT_EQ(s_.doc.pages.size(), 12u);
  }
  void TearDown() override {
    s_.run.save_on_exit = false;
    window_.reset();
    SetFeedbackHooks({}, {});
  }

  // Chooses 印刷 in the menu and, in the dialog it opens, clicks into the start box, types
  // first and last and presses 印刷開始. Returns whether the dialog came up with the typed
  // range chosen.
  bool PrintTypedRange(const QString& first, const QString& last) {
    bool typed_range_chosen = false;
    bool dialog_seen = false;
    QTimer::singleShot(0, window_.get(), [&] {
      auto* dialog = window_->findChild<QDialog*>("115");
      if (dialog == nullptr) return;
      dialog_seen = true;
      auto* first_box = dialog->findChild<QLineEdit*>("1037");
      auto* last_box = dialog->findChild<QLineEdit*>("1038");
      QApplication::setActiveWindow(dialog);  // the offscreen platform activates no window itself
      QTest::mouseClick(first_box, Qt::LeftButton);
      typed_range_chosen = dialog->findChild<QRadioButton*>("1036")->isChecked();
      for (auto [box, text] : {std::pair{first_box, first}, std::pair{last_box, last}}) {
        box->selectAll();
        QTest::keyClicks(box, text);
      }
      QTest::mouseClick(dialog->findChild<QPushButton*>("IDOK"), Qt::LeftButton);
    });
    window_->action(40002)->trigger();
    QCoreApplication::processEvents();  // the posted completion
    return dialog_seen && typed_range_chosen;
  }

  ScratchFolder folder_;
  fs::path pdf_ = folder_ / "menu.pdf";
  TxpSession s_;
  std::unique_ptr<TxpWin> window_;
  std::vector<std::string> messages_;
};

}  // namespace

TEST_F(PrintMenuTest, TypedRangePrintsThosePagesInOrder) {
  struct Case {
    const char* first;
    const char* last;
    std::set<int> marked;         // 1-based pages marked not to print
    std::vector<int> printed;     // the pages the PDF must hold, in order
  };
  const std::vector<Case> cases = {
      {"0", "999", {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
      {"4", "7", {}, {4, 5, 6, 7}},
      {"9", "3", {}, {3, 4, 5, 6, 7, 8, 9}},
      {"4", "7", {5, 6}, {4, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.first) + ".." + c.last);
    fs::remove(pdf_);
    window_->ClearAllMarks();
    for (int page : c.marked) {
      window_->ShowPage(page - 1);
      window_->ToggleMark();
    }
    ASSERT_TRUE(PrintTypedRange(c.first, c.last));
    EXPECT_TRUE(messages_.empty()) << messages_.front();
    ASSERT_EQ(PdfPages(pdf_), static_cast<int>(c.printed.size()));
    for (size_t i = 0; i < c.printed.size(); ++i) {
      const std::string text = PdfPageText(pdf_, static_cast<int>(i) + 1);
      EXPECT_NE(text.find("ページ" + std::to_string(c.printed[i]) + "です"), std::string::npos)
          << "PDF page " << i + 1 << ": " << text;
    }
  }
}

TEST_F(PrintMenuTest, RangeOfMarkedPagesShowsDialog131AndPrintsNothing) {
  for (int page : {5, 6}) {
    window_->ShowPage(page - 1);
    window_->ToggleMark();
  }
  ASSERT_TRUE(PrintTypedRange("5", "6"));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], std::string("TXP: ") + kNoPagesToPrint);
  EXPECT_FALSE(fs::exists(pdf_));
}

TEST_F(PrintMenuTest, AReloadOrACloseDuringTheJobLeavesTheJobWhole) {
  // The job pumps window events between pages: an editor's end may reload the file (here to
  // one page) and the user may try to close the window while the pages still go out.
  QTimer::singleShot(0, window_.get(), [this] {
    WriteCp932(s_.path, "一ページだけ\n");
    window_->LoadDocument(false);
    window_->close();
  });
  EXPECT_EQ(window_->RunPrintJob({1, 12, false}), PrintOutcome::Printed);
  ASSERT_EQ(PdfPages(pdf_), 12);
  EXPECT_NE(PdfPageText(pdf_, 12).find("ページ12です"), std::string::npos);
  EXPECT_EQ(s_.doc.pages.size(), 1u);  // the reload took effect for the window
  EXPECT_TRUE(window_->isVisible());   // the window stays while a job runs
}
