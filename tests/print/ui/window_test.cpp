// The main window on the offscreen platform: loading, navigation, zoom, marks, status bar,
// editor launch with reload, title, saving on close, and a screenshot of a Japanese page.
#include "print/ui/txp_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "print/printing/printers.h"
#include "print/ui/dialogs.h"
#include "print/ui/feedback.h"
#include "print/ui/preview.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;
using namespace txp;
using txp_test::ScratchFolder;
using txp_test::WriteCp932;

namespace {

// Twelve pages, one per form feed, each with its number on its first line.
std::string TwelvePages() {
  std::string text;
  for (int i = 1; i <= 12; ++i) {
    if (i > 1) text += "\f\n";
    text += "ページ" + std::to_string(i) + "\n本文の行\n";
  }
  return text;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPrinterList({{"PDF", "cups-pdf:/", "CUPS-PDF"}}, "PDF");
    s_.store = {folder_ / "Tarn", folder_ / "TXP.ini"};
    s_.printers = PrinterListNames();
    PrintFormat f = DefaultPrintFormat(0);
    f.SetName = kInitialFormatName;
    AppendFormat(s_.formats, f);
    s_.working = f;
    SetFeedbackHooks([this] { ++beeps_; },
                     [this](const std::string& text, const std::string& caption) {
                       messages_.push_back(caption + ": " + text);
                     });
    window_ = std::make_unique<TxpWin>(s_);
    window_->show();
  }
  void TearDown() override {
    s_.run.save_on_exit = false;
    window_.reset();
    SetFeedbackHooks({}, {});
  }

  void Open(const std::string& utf8_text, const std::string& name = "report.txt") {
    const fs::path file = folder_ / name;
    WriteCp932(file, utf8_text);
    s_.path = file.string();
    ASSERT_TRUE(window_->LoadDocument(true));
  }
  template <typename W>
  W* Find(const char* id) {
    return window_->findChild<W*>(id);
  }
  QString Status(int part) { return Find<QLabel>(QString("status%1").arg(part).toUtf8().constData())->text(); }
  void TypeAndEnter(const char* id, const QString& text) {
    QLineEdit* box = Find<QLineEdit>(id);
    box->selectAll();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();  // the posted page or zoom message
  }

  ScratchFolder folder_;
  TxpSession s_;
  std::unique_ptr<TxpWin> window_;
  int beeps_ = 0;
  std::vector<std::string> messages_;
};

}  // namespace

TEST_F(WindowTest, OpeningAFileSetsTitleStatusAndCommands) {
  EXPECT_EQ(window_->windowTitle(), "TXP");
  EXPECT_FALSE(window_->action(40002)->isEnabled());
  Open(TwelvePages());
  EXPECT_EQ(window_->windowTitle().toStdString(), s_.path + " - TXP");
  EXPECT_EQ(Status(0), "全12ページ");
  EXPECT_EQ(Status(1), "全ページ印刷する");
  for (int id : {40036, 40037, 40002, 40025, 40026, 40034, 40027, 40028})
    EXPECT_TRUE(window_->action(id)->isEnabled()) << id;
  EXPECT_EQ(Find<QLineEdit>("40041")->text(), "1");
  EXPECT_FALSE(window_->action(40033)->isEnabled());
  EXPECT_TRUE(window_->action(40032)->isEnabled());

  s_.path = (folder_ / "missing.txt").string();
  EXPECT_FALSE(window_->LoadDocument(true));
  EXPECT_EQ(window_->windowTitle(), "TXP");
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "TXP: ファイル「" + s_.path + "」が読み出せません.");
  EXPECT_EQ(Status(0), "");
  EXPECT_FALSE(window_->action(40002)->isEnabled());
}

TEST_F(WindowTest, PageKeysAndPageBoxNavigate) {
  Open(TwelvePages());
  QTest::keyClick(window_.get(), Qt::Key_PageDown);
  QTest::keyClick(window_.get(), Qt::Key_PageDown);
  EXPECT_EQ(s_.page, 2);
  QTest::keyClick(window_.get(), Qt::Key_PageUp);
  EXPECT_EQ(s_.page, 1);
  EXPECT_EQ(Find<QLineEdit>("40041")->text(), "2");
  EXPECT_TRUE(window_->action(40033)->isEnabled());

  TypeAndEnter("40041", "0");
  EXPECT_EQ(beeps_, 1);
  EXPECT_EQ(s_.page, 1);
  TypeAndEnter("40041", "12");
  EXPECT_EQ(beeps_, 1);
  EXPECT_EQ(s_.page, 11);
  EXPECT_EQ(Find<QLineEdit>("40041")->text(), "12");
  EXPECT_FALSE(window_->action(40032)->isEnabled());
  QTest::keyClick(window_.get(), Qt::Key_PageDown);  // at the end: nothing
  EXPECT_EQ(s_.page, 11);
  TypeAndEnter("40041", "13");
  EXPECT_EQ(beeps_, 2);
  window_->action(40025)->trigger();
  EXPECT_EQ(s_.page, 0);
  window_->action(40026)->trigger();
  EXPECT_EQ(s_.page, 11);
}

TEST_F(WindowTest, ZoomIsKeptBetweenTenAndTwoHundred) {
  Open(TwelvePages());
  // At zoom 50 an A4 page's longer side is about 600 pixels, at 100 about 1200 (the scale
  // is a whole number of 1/5000, so a fine printer resolution loses a few pixels).
  EXPECT_NEAR(window_->preview()->PageSize().height(), 600, 4);
  EXPECT_LE(window_->preview()->PageSize().height(), 600);
  TypeAndEnter("40042", "100");
  EXPECT_NEAR(window_->preview()->PageSize().height(), 1200, 6);
  TypeAndEnter("40042", "250");
  EXPECT_EQ(s_.options.ZoomSize, 200);
  EXPECT_EQ(Find<QLineEdit>("40042")->text(), "200");
  EXPECT_FALSE(window_->action(40044)->isEnabled());
  EXPECT_TRUE(window_->action(40045)->isEnabled());
  TypeAndEnter("40042", "10");
  QTest::keyClick(window_.get(), Qt::Key_Minus);
  EXPECT_EQ(s_.options.ZoomSize, 10);
  EXPECT_FALSE(window_->action(40045)->isEnabled());
  QTest::keyClick(window_.get(), Qt::Key_Plus);
  EXPECT_EQ(s_.options.ZoomSize, 20);
  EXPECT_TRUE(window_->action(40045)->isEnabled());
  EXPECT_TRUE(window_->action(40044)->isEnabled());
}

TEST_F(WindowTest, ZoomDoesNotChangeWithoutADocument) {
  window_->SetZoom(false, 120);
  EXPECT_EQ(s_.options.ZoomSize, 50);
  EXPECT_EQ(Find<QLineEdit>("40042")->text(), "50");
}

TEST_F(WindowTest, ScrollBarsStepByATenthAndAHalfOfTheClientAndKeysByAThird) {
  Open(TwelvePages());
  TypeAndEnter("40042", "200");
  QScrollBar* bars[2] = {window_->preview()->horizontalScrollBar(), window_->preview()->verticalScrollBar()};
  const QSize client = window_->preview()->viewport()->size();
  const int extents[2] = {client.width(), client.height()};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i == 0 ? "horizontal" : "vertical");
    QScrollBar* bar = bars[i];
    ASSERT_GT(bar->maximum(), extents[i]);  // the page at 200 % is larger than the window
    bar->setValue(0);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(bar->value(), extents[i] / 10);
    bar->setValue(0);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar->value(), extents[i] / 2);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(0);
  }
  QTest::keyClick(window_.get(), Qt::Key_Down);
  EXPECT_EQ(bars[1]->value(), client.height() / 3);
  QTest::keyClick(window_.get(), Qt::Key_Right);
  EXPECT_EQ(bars[0]->value(), client.width() / 3);
}

TEST_F(WindowTest, MarksShowInTheStatusBarAndTheCrossLeavesNoTrace) {
  Open(TwelvePages());
  QCoreApplication::processEvents();
  const QImage before = window_->preview()->viewport()->grab().toImage();
  window_->action(40034)->trigger();
  EXPECT_TRUE(window_->action(40034)->isChecked());
  EXPECT_EQ(Status(1), "1ページ印刷しない");
  const QImage marked = window_->preview()->viewport()->grab().toImage();
  EXPECT_NE(marked, before);
  // The cross is pure red on the white page.
  bool red = false;
  for (int y = 0; y < marked.height() && !red; ++y)
    for (int x = 0; x < marked.width() && !red; ++x) red = marked.pixelColor(x, y) == QColor(255, 0, 0);
  EXPECT_TRUE(red);
  window_->action(40034)->trigger();
  EXPECT_EQ(Status(1), "全ページ印刷する");
  EXPECT_EQ(window_->preview()->viewport()->grab().toImage(), before);

  window_->action(40028)->trigger();
  EXPECT_EQ(Status(1), "12ページ印刷しない");
  EXPECT_EQ(Status(0), "全12ページ");
  window_->action(40027)->trigger();
  EXPECT_EQ(Status(1), "全ページ印刷する");
  // -X in the text marks its page.
  Open("一\n\f-X\n二\n");
  EXPECT_EQ(Status(0), "全2ページ");
  EXPECT_EQ(Status(1), "1ページ印刷しない");
}

TEST_F(WindowTest, EditorGetsTheLineAndPathAndItsEndReloads) {
  // Page 2 begins at source line 120.
  std::string text = "\f-H300\n";
  for (int i = 0; i < 118; ++i) text += "x\n";
  text += "\f\n二ページ目\n";
  Open(text);
  ASSERT_EQ(s_.doc.pages.size(), 2u);
  window_->NextPage();
  ASSERT_EQ(s_.doc.pages[1].source_line, 120);

  const fs::path script = folder_ / "editor.sh";
  const fs::path args = folder_ / "args.txt";
  {
    std::ofstream out(script);
    out << "#!/bin/sh\necho \"$@\" > " << args.string() << "\nprintf '\\f\\nnew\\n' >> \"$2\"\n";
  }
  fs::permissions(script, fs::perms::owner_all);
  s_.options.Editor = script.string() + " +$L $F $$";
  s_.options.AutoReload = 1;
  EXPECT_EQ(window_->StartEditor(), script.string() + " +120 " + s_.path + " $");
  ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(args) && fs::file_size(args) > 0; }, 10000));
  std::ifstream in(args);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "+120 " + s_.path + " $");
  // The 500 ms watch sees the editor end and reloads the grown file.
  // (QTRY_ macros report to QTest, not to this test: wait, then check.)
  if (!QTest::qWaitFor([&] { return Status(0) == "全3ページ"; }, 10000)) ADD_FAILURE() << "no reload";
  EXPECT_EQ(Status(0), "全3ページ");
  EXPECT_TRUE(messages_.empty());

  s_.options.Editor.clear();
  window_->StartEditor();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "編集できません: ");
}

TEST_F(WindowTest, EditorEndReloadsEvenWhenTheLastReloadFailed) {
  Open("一\n");
  // The editor waits for a go file, then writes the document anew and ends.
  const fs::path script = folder_ / "editor.sh";
  const fs::path go = folder_ / "go";
  {
    std::ofstream out(script);
    out << "#!/bin/sh\nwhile [ ! -e " << go.string() << " ]; do sleep 0.05; done\n"
        << "printf 'a\\n\\fb\\n\\fc\\n' > \"$1\"\n";
  }
  fs::permissions(script, fs::perms::owner_all);
  s_.options.Editor = script.string() + " $F";
  s_.options.AutoReload = 1;
  window_->StartEditor();
  // Meanwhile the file is away (an editor saving by rename) and a reload fails.
  fs::remove(s_.path);
  window_->action(40037)->trigger();
  ASSERT_FALSE(s_.doc.loaded);
  ASSERT_EQ(messages_.size(), 1u);
  std::ofstream(go).put('\n');
  // (QTRY_ macros report to QTest, not to this test: wait, then check.)
  if (!QTest::qWaitFor([&] { return Status(0) == "全3ページ"; }, 10000)) ADD_FAILURE() << "no reload";
  EXPECT_EQ(Status(0), "全3ページ");
  EXPECT_EQ(window_->windowTitle().toStdString(), s_.path + " - TXP");
}

TEST_F(WindowTest, FormatChangeReadsTheFileAgain) {
  Open("一\n");
  EXPECT_EQ(Status(0), "全1ページ");
  WriteCp932(s_.path, "一\n\f\n二\n");
  window_->ApplyFormat(0);
  EXPECT_EQ(Status(0), "全2ページ");
}

TEST_F(WindowTest, ClosingSavesTheSettingsUnlessTheyWereErased) {
  Open(TwelvePages());
  window_->SetZoom(false, 70);
  s_.run.save_on_exit = true;
  window_->close();
  EXPECT_TRUE(fs::is_directory(folder_ / "Tarn" / "TXP" / "Options" / "Setting0"));
  {
    ProgramOptions options;
    FormatList formats;
    ASSERT_EQ(LoadSettings(options, formats, s_.printers, s_.store), LoadedFrom::Registry);
    EXPECT_EQ(options.ZoomSize, 70);
  }
  window_->show();
  s_.run.save_on_exit = true;
  window_->EraseAllSettings();
  EXPECT_FALSE(s_.run.save_on_exit);
  EXPECT_FALSE(fs::exists(folder_ / "Tarn" / "TXP"));
  EXPECT_TRUE(fs::is_directory(folder_ / "Tarn"));
}

TEST_F(WindowTest, ScreenshotShowsJapaneseTextAndRuledLines) {
  Open(txp_test::ThreePageReport());
  window_->SetZoom(false, 100);
  window_->resize(900, 1000);
  QCoreApplication::processEvents();
  const QImage shot = window_->grab().toImage();
  const fs::path artifacts = fs::path(BIN_DIR) / ".." / "test-artifacts";
  fs::create_directories(artifacts);
  shot.save(QString::fromStdString((artifacts / "txp-window.png").string()));

  const QImage page = window_->preview()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  // Dark glyph pixels, and a long dark horizontal run: the top rule of the table.
  int dark = 0;
  int longest_run = 0;
  for (int y = 0; y < page.height(); ++y) {
    int run = 0;
    for (int x = 0; x < page.width(); ++x) {
      const bool is_dark = qGray(page.pixel(x, y)) < 96;
      dark += is_dark;
      run = is_dark ? run + 1 : 0;
      // The page border is black too; count runs away from the page edge only.
      if (y > 5 && x < page.width() - 5) longest_run = std::max(longest_run, run);
    }
  }
  EXPECT_GT(dark, 200);
  EXPECT_GT(longest_run, 60);
}

TEST_F(WindowTest, PrintDialogRangeFollowsTheBoxesAndTheirFocus) {
  Open(TwelvePages());
  PrintDialog dialog(window_.get(), 12, 4, "PDF");
  dialog.show();
  auto* first = dialog.findChild<QLineEdit*>("1037");
  auto* last = dialog.findChild<QLineEdit*>("1038");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(first->text(), "1");
  EXPECT_EQ(last->text(), "12");
  EXPECT_EQ(first->maxLength(), 3);
  EXPECT_EQ(dialog.findChild<QLabel*>("1042")->text(), "(1～12)");
  EXPECT_EQ(dialog.findChild<QLabel*>("1044")->text(), "PDF");
  EXPECT_TRUE(dialog.findChild<QRadioButton*>("1035")->isChecked());
  PrintRequest r = dialog.Request();
  EXPECT_EQ(r.first, 1);
  EXPECT_EQ(r.last, 12);

  first->setFocus();
  QCoreApplication::processEvents();
  EXPECT_TRUE(dialog.findChild<QRadioButton*>("1036")->isChecked());
  first->setText("9");
  last->setText("3");
  dialog.findChild<QCheckBox*>("1067")->setChecked(true);
  r = dialog.Request();
  EXPECT_EQ(r.first, 3);
  EXPECT_EQ(r.last, 9);
  EXPECT_TRUE(r.overlay);
  dialog.findChild<QRadioButton*>("1041")->setChecked(true);
  r = dialog.Request();
  EXPECT_EQ(r.first, 5);
  EXPECT_EQ(r.last, 5);
}
