// The settings dialogs opened from their menu entries on the offscreen platform: the format
// list (copy, move, delete, change, new), the format sheet's pages and its clamping on OK,
// 保存せずに変更 with the store, and the environment sheet.
#include "print/ui/settings_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "print/printing/printers.h"
#include "print/ui/feedback.h"
#include "print/ui/txp_window.h"
#include "ui_test_support.h"

using namespace txp;
using txp_test::ScratchFolder;

namespace {

// Runs act on the modal dialog named name as soon as it is the active modal widget (the
// caller then opens it), which must close it. A dialog that never appears, or is left open,
// fails the test and is not waited for.
void WhenModal(const QString& name, std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  auto ticks = std::make_shared<int>(0);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, ticks, name, act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->objectName() == name) {
      timer->stop();
      timer->deleteLater();
      const QPointer<QWidget> dialog(modal);
      act(modal);
      // A failed check inside act must not leave the test waiting on an open dialog.
      if (dialog && dialog->isVisible()) {
        ADD_FAILURE() << "dialog " << name.toStdString() << " was left open";
        dialog->close();
      }
      return;
    }
    if (++*ticks > 2000) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "dialog " << name.toStdString() << " did not appear";
      if (modal) modal->close();
    }
  });
  timer->start();
}

template <typename W>
W* Child(QWidget* parent, const char* id) {
  W* w = parent->findChild<W*>(id);
  EXPECT_NE(w, nullptr) << id;
  return w;
}

void Click(QWidget* dialog, const char* id) { Child<QPushButton>(dialog, id)->click(); }

// Types text over the edit's content (QTest types only ASCII keys; other text is inserted).
void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  bool ascii = true;
  for (QChar c : text) ascii = ascii && c.unicode() < 0x80;
  if (ascii)
    QTest::keyClicks(edit, text);
  else
    edit->insert(text);
}

// A page of a property sheet, shown as the user would by its tab.
QWidget* ShowPage(QWidget* sheet, const char* page_id) {
  auto* tabs = sheet->findChild<QTabWidget*>();
  QWidget* page = sheet->findChild<QWidget*>(page_id);
  EXPECT_NE(page, nullptr) << page_id;
  tabs->setCurrentWidget(page);
  return page;
}

class SettingsDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetPrinterList({{"PDF", "cups-pdf:/", "CUPS-PDF"}}, "PDF");
    s_.store = {folder_ / "Tarn", folder_ / "TXP.ini"};
    s_.printers = PrinterListNames();
    for (const char* name : {"A", "B", "C"}) {
      PrintFormat f = DefaultPrintFormat(0);
      f.SetName = name;
      AppendFormat(s_.formats, f);
    }
    s_.working = s_.formats.formats[0];
    SetFeedbackHooks([] {}, [this](const std::string& text, const std::string& caption) {
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

  // Opens the format list from its menu entry; act works in dialog 123 and must close it.
  void WithFormatList(std::function<void(QWidget*)> act) {
    WhenModal("123", std::move(act));
    window_->Command(40006);
  }
  // In dialog 123: the named button opens the format sheet, in which act runs.
  void InSheet(QWidget* list, const char* button, std::function<void(QWidget*)> act) {
    WhenModal("FormatSheet", std::move(act));
    Click(list, button);
  }
  void Select(QWidget* list, int row) { Child<QListWidget>(list, "1049")->setCurrentRow(row); }

  std::vector<std::string> Names() const { return FormatNames(s_.formats); }
  FormatList Stored() const {
    ProgramOptions options;
    FormatList formats;
    LoadSettings(options, formats, s_.printers, s_.store);
    return formats;
  }

  ScratchFolder folder_;
  TxpSession s_;
  std::unique_ptr<TxpWin> window_;
  std::vector<std::string> messages_;
};

TEST_F(SettingsDialogsTest, CopyingTwiceGivesThreeFormatsOfOneNameAndTheListIsSaved) {
  WithFormatList([&](QWidget* list) {
    EXPECT_EQ(list->windowTitle(), "書式一覧");
    EXPECT_EQ(Child<QListWidget>(list, "1049")->count(), 3);
    Select(list, 1);
    Click(list, "7");
    Select(list, 1);
    Click(list, "7");
    EXPECT_EQ(Child<QListWidget>(list, "1049")->currentRow(), 4);
    Click(list, "1");
  });
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "B", "B"}));
  EXPECT_EQ(CurrentFormatIndex(s_.formats), 4);
  EXPECT_EQ(FormatIndexByName(s_.formats, "B"), 1);  // -s B finds the first of them
  EXPECT_EQ(FormatNames(Stored()), Names());
  // The main window's format list is refilled and shows the current format.
  auto* box = window_->findChild<QComboBox*>("40040");
  EXPECT_EQ(box->count(), 5);
  EXPECT_EQ(box->currentIndex(), 4);
  EXPECT_EQ(s_.working.SetName, "B");
}

TEST_F(SettingsDialogsTest, ArrowsMoveTheSelectedFormatAndChangeNothingAtTheEnds) {
  WithFormatList([&](QWidget* list) {
    auto* names = Child<QListWidget>(list, "1049");
    Select(list, 0);
    Click(list, "6");
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));
    Click(list, "8");
    EXPECT_EQ(Names(), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(names->currentRow(), 1);
    EXPECT_EQ(names->item(1)->text(), "A");
    EXPECT_EQ(CurrentFormatIndex(s_.formats), 1);
    Select(list, 2);
    Click(list, "8");
    EXPECT_EQ(Names(), (std::vector<std::string>{"B", "A", "C"}));
    Click(list, "6");
    EXPECT_EQ(Names(), (std::vector<std::string>{"B", "C", "A"}));
    // Esc closes like 終了 and makes the selection current.
    Select(list, 0);
    QTest::keyClick(list, Qt::Key_Escape);
  });
  EXPECT_EQ(CurrentFormatIndex(s_.formats), 0);
  EXPECT_EQ(FormatNames(Stored()), (std::vector<std::string>{"B", "C", "A"}));
}

TEST_F(SettingsDialogsTest, DeletingAsksAndTheLastFormatStays) {
  WithFormatList([&](QWidget* list) {
    Select(list, 1);
    WhenModal("126", [](QWidget* ask) {
      EXPECT_EQ(ask->windowTitle(), "書式削除");
      EXPECT_TRUE(static_cast<QMessageBox*>(ask)->text().contains("を削除しますか？"));
      for (QAbstractButton* b : static_cast<QMessageBox*>(ask)->buttons())
        if (b->text() == "ｷｬﾝｾﾙ") b->click();
    });
    Click(list, "4");
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));
    Select(list, 2);
    WhenModal("126", [](QWidget* ask) {
      for (QAbstractButton* b : static_cast<QMessageBox*>(ask)->buttons())
        if (b->text() == "削除") b->click();
    });
    Click(list, "4");
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(CurrentFormatIndex(s_.formats), 1);  // past the end: the last
    EXPECT_EQ(Child<QListWidget>(list, "1049")->currentRow(), 1);
    WhenModal("126", [](QWidget* ask) {
      for (QAbstractButton* b : static_cast<QMessageBox*>(ask)->buttons())
        if (b->text() == "削除") b->click();
    });
    Click(list, "4");
    EXPECT_TRUE(messages_.empty());
    Click(list, "4");  // one format left
    Click(list, "1");
  });
  EXPECT_EQ(Names(), (std::vector<std::string>{"A"}));
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "書式削除: 全ての書式を削除することはできません。");
  EXPECT_EQ(FormatNames(Stored()), Names());
}

TEST_F(SettingsDialogsTest, ChangingAFormatClampsOutOfRangeValuesOnOk) {
  PrintFormat limits = s_.formats.formats[1];
  ASSERT_TRUE(SetMarginLimits(limits));
  ASSERT_GT(limits.LeftMgnMm.lower, 0);
  WithFormatList([&](QWidget* list) {
    Select(list, 1);
    InSheet(list, "1050", [&](QWidget* sheet) {
      EXPECT_EQ(sheet->windowTitle(), "書式設定");
      EXPECT_TRUE(Child<QPushButton>(sheet, "IDOK")->isEnabled());
      QWidget* name_page = ShowPage(sheet, "124");
      Type(Child<QLineEdit>(name_page, "1051"), "決勝");
      Child<QCheckBox>(name_page, "1054")->setChecked(true);
      QWidget* page = ShowPage(sheet, "106");
      EXPECT_EQ(Child<QLabel>(page, "1021")->text(),
                QString("(%1～%2)").arg(limits.LeftMgnMm.lower).arg(limits.LeftMgnMm.upper));
      EXPECT_EQ(Child<QSpinBox>(page, "1009")->minimum(), limits.LeftMgnMm.lower);
      EXPECT_EQ(Child<QLineEdit>(page, "1010")->maxLength(), 3);
      EXPECT_FALSE(Child<QRadioButton>(page, "1063")->isEnabled());
      Type(Child<QLineEdit>(page, "1010"), "0");
      Type(Child<QLineEdit>(page, "1013"), "400");
      Type(Child<QLineEdit>(page, "1015"), "abc");  // not a number: 0
      QWidget* numbers = ShowPage(sheet, "118");
      Child<QCheckBox>(numbers, "1047")->setChecked(true);
      Type(Child<QLineEdit>(numbers, "1036"), "0");
      Type(Child<QLineEdit>(numbers, "1034"), "7");
      QWidget* other = ShowPage(sheet, "109");
      Type(Child<QLineEdit>(other, "1032"), "4");
      Child<QCheckBox>(other, "1069")->setChecked(true);
      Click(sheet, "IDOK");
    });
    EXPECT_EQ(Child<QListWidget>(list, "1049")->item(1)->text(), "決勝");
    Click(list, "1");
  });
  const PrintFormat& f = s_.formats.formats[1];
  EXPECT_EQ(f.SetName, "決勝");
  EXPECT_EQ(f.Default, 1);
  EXPECT_EQ(f.LeftMgnMm.value, limits.LeftMgnMm.lower);
  EXPECT_EQ(f.Width.value, 300);
  EXPECT_EQ(f.Height.value, 5);
  EXPECT_EQ(f.PageStart.value, 1);
  EXPECT_EQ(f.PagePrn, 1);
  EXPECT_EQ(f.PageMargin.value, 7);
  EXPECT_EQ(f.TabSize.value, 4);
  EXPECT_EQ(f.YenCmd, 1);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0],
            "設定値の確認: 以下の設定値が範囲外です。\n左余白\n桁数\n行数\n開始ページ番号\n"
            "最も近い範囲内の値に修正しました。");
  const FormatList stored = Stored();
  ASSERT_EQ(FormatCount(stored), 3);
  EXPECT_EQ(stored.formats[1].SetName, "決勝");
  EXPECT_EQ(CurrentFormatIndex(stored), 1);  // the format marked 標準の書式
}

TEST_F(SettingsDialogsTest, ANameLongerThanTheStoreKeepsIsCutAsTheStoreWillCutIt) {
  const QString long_name = QString("第") + QString(30, QChar(0x99C5)) + "伝";  // 32 characters, 64 bytes
  WithFormatList([&](QWidget* list) {
    Select(list, 0);
    InSheet(list, "1050", [&](QWidget* sheet) {
      auto* name = Child<QLineEdit>(ShowPage(sheet, "124"), "1051");
      Type(name, long_name);
      EXPECT_EQ(name->text(), long_name.left(19));  // 19 double-byte characters = 38 bytes
      Click(sheet, "IDOK");
    });
    Click(list, "1");
  });
  EXPECT_EQ(s_.formats.formats[0].SetName, long_name.left(19).toStdString());
  EXPECT_EQ(Stored().formats[0].SetName, s_.formats.formats[0].SetName);
}

TEST_F(SettingsDialogsTest, MarkingOneFormatStandardClearsTheOthers) {
  s_.formats.formats[0].Default = 1;
  WithFormatList([&](QWidget* list) {
    Select(list, 2);
    InSheet(list, "1050", [&](QWidget* sheet) {
      Child<QCheckBox>(ShowPage(sheet, "124"), "1054")->setChecked(true);
      Click(sheet, "IDOK");
    });
    Click(list, "1");
  });
  EXPECT_EQ(s_.formats.formats[0].Default, 0);
  EXPECT_EQ(s_.formats.formats[2].Default, 1);
}

TEST_F(SettingsDialogsTest, CancelLeavesTheFormatAsItWas) {
  const PrintFormat before = s_.formats.formats[0];
  WithFormatList([&](QWidget* list) {
    Select(list, 0);
    InSheet(list, "1050", [&](QWidget* sheet) {
      Type(Child<QLineEdit>(ShowPage(sheet, "124"), "1051"), "変更");
      Type(Child<QLineEdit>(ShowPage(sheet, "106"), "1006"), "1");
      Click(sheet, "IDCANCEL");
    });
    InSheet(list, "3", [&](QWidget* sheet) { Click(sheet, "IDCANCEL"); });
    Click(list, "1");
  });
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(s_.formats.formats[0].TopMgnMm.value, before.TopMgnMm.value);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SettingsDialogsTest, PaperAndDirectionSetTheMarginBoundsShownOnThePageFormatPage) {
  WithFormatList([&](QWidget* list) {
    Select(list, 0);
    InSheet(list, "1050", [&](QWidget* sheet) {
      QWidget* page = ShowPage(sheet, "105");
      auto* printer = Child<QComboBox>(page, "1003");
      EXPECT_EQ(printer->currentText(), "PDF");
      auto* paper = Child<QComboBox>(page, "1016");
      EXPECT_EQ(paper->currentText(), "A4");
      const int a5 = paper->findText("A5");
      ASSERT_GE(a5, 0);
      paper->setCurrentIndex(a5);
      Child<QComboBox>(page, "1034")->setCurrentIndex(1);
      PrintFormat expected = DefaultPrintFormat(0);
      expected.PaperSize = 11;
      expected.PaperName = "A5";
      expected.PaperDir = 1;
      ASSERT_TRUE(SetMarginLimits(expected));
      QWidget* format_page = ShowPage(sheet, "106");
      EXPECT_EQ(Child<QLabel>(format_page, "1019")->text(),
                QString("(%1～%2)").arg(expected.TopMgnMm.lower).arg(expected.TopMgnMm.upper));
      EXPECT_EQ(Child<QSpinBox>(format_page, "1005")->maximum(), expected.TopMgnMm.upper);
      Click(sheet, "IDOK");
    });
    Click(list, "1");
  });
  EXPECT_EQ(s_.formats.formats[0].PaperName, "A5");
  EXPECT_EQ(s_.formats.formats[0].PaperSize, 11);
  EXPECT_EQ(s_.formats.formats[0].PaperDir, 1);
}

TEST_F(SettingsDialogsTest, APrinterThatCannotBeAskedShowsDialog120AndTheSheetStaysOpen) {
  SetPrinterList({{"PDF", "cups-pdf:/", "CUPS-PDF"}, {"Ghost", "", ""}}, "PDF");
  WithFormatList([&](QWidget* list) {
    Select(list, 0);
    InSheet(list, "1050", [&](QWidget* sheet) {
      QWidget* page = ShowPage(sheet, "105");
      Child<QComboBox>(page, "1003")->setCurrentIndex(1);
      EXPECT_EQ(Child<QComboBox>(page, "1016")->count(), 0);
      EXPECT_TRUE(sheet->isVisible());
      Click(sheet, "IDOK");
    });
    Click(list, "1");
  });
  // Once in the sheet, once more when 終了 asks the current format's printer.
  const std::string notice = "TXP: プリンタ情報が読み取れません。\nＴＸＰを終了します。";
  EXPECT_EQ(messages_, (std::vector<std::string>{notice, notice}));
  const PrintFormat& f = s_.formats.formats[0];
  EXPECT_EQ(f.printer, 1);
  EXPECT_EQ(f.PaperSize, 0);
  EXPECT_EQ(f.PaperName, "");
}

TEST_F(SettingsDialogsTest, FontPageTakesFaceStyleAndSize) {
  WithFormatList([&](QWidget* list) {
    Select(list, 0);
    InSheet(list, "1050", [&](QWidget* sheet) {
      QWidget* page = ShowPage(sheet, "108");
      auto* face = Child<QComboBox>(page, "1013");
      ASSERT_GT(face->count(), 0);
      face->setCurrentIndex(face->count() - 1);
      Child<QComboBox>(page, "1027")->setCurrentIndex(3);
      auto* sample = Child<QLabel>(page, "1048");
      EXPECT_TRUE(sample->font().bold());
      EXPECT_TRUE(sample->font().italic());
      auto* sizes = Child<QListWidget>(page, "1026");
      EXPECT_EQ(sizes->count(), 18 + 7 + 9);
      EXPECT_EQ(sizes->item(sizes->count() - 1)->text(), "72");
      const QList<QListWidgetItem*> found = sizes->findItems("26", Qt::MatchExactly);
      ASSERT_EQ(found.size(), 1);
      emit sizes->itemClicked(found[0]);
      EXPECT_EQ(Child<QLineEdit>(page, "1015")->text(), "26");
      Click(sheet, "IDOK");
    });
    Click(list, "1");
  });
  const PrintFormat& f = s_.formats.formats[0];
  EXPECT_EQ(f.FontStyle, 3);
  EXPECT_EQ(f.FontPoint, 26);
  EXPECT_FALSE(f.FontName.empty());
  EXPECT_NE(f.FontName, "ＭＳ 明朝");
}

TEST_F(SettingsDialogsTest, ChangeWithoutSavingWorksForThisRunOnly) {
  WithFormatList([&](QWidget* list) { Click(list, "1"); });  // the store now holds A, B, C
  WithFormatList([&](QWidget* list) {
    InSheet(list, "3", [&](QWidget* sheet) {
      Type(Child<QLineEdit>(ShowPage(sheet, "124"), "1051"), "今回だけ");
      Click(sheet, "999");
    });
    EXPECT_TRUE(s_.run.formats_for_this_run_only);
    InSheet(list, "1050", [&](QWidget* sheet) {
      EXPECT_FALSE(Child<QPushButton>(sheet, "IDOK")->isEnabled());
      Click(sheet, "IDCANCEL");
    });
    Click(list, "1");
  });
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "今回だけ"}));
  EXPECT_EQ(s_.working.SetName, "今回だけ");
  EXPECT_EQ(FormatNames(Stored()), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(SettingsDialogsTest, EnvironmentSheetTakesItsValuesAndZoomFollowsAutoSizing) {
  WhenModal("EnvironmentSheet", [](QWidget* sheet) {
    EXPECT_EQ(sheet->windowTitle(), "環境設定");
    QWidget* preview = ShowPage(sheet, "132");
    Child<QCheckBox>(preview, "1056")->setChecked(true);
    Child<QCheckBox>(preview, "1058")->setChecked(true);
    WhenModal("ChooseColor", [](QWidget* dialog) {
      static_cast<QColorDialog*>(dialog)->setCurrentColor(QColor(0x10, 0x20, 0x30));
      static_cast<QColorDialog*>(dialog)->accept();
    });
    Click(preview, "1065");
    QWidget* edit = ShowPage(sheet, "133");
    EXPECT_EQ(Child<QLineEdit>(edit, "1059")->maxLength(), 260);
    Type(Child<QLineEdit>(edit, "1059"), "vi +$L $F");
    Child<QCheckBox>(edit, "1061")->setChecked(true);
    Child<QCheckBox>(ShowPage(sheet, "136"), "1014")->setChecked(true);
    Click(sheet, "IDOK");
  });
  window_->Command(40029);
  EXPECT_EQ(s_.options.DrawMargin, 1);
  EXPECT_EQ(s_.options.AutoSizing, 1);
  EXPECT_EQ(s_.options.ZoomSize, 100);
  EXPECT_EQ(s_.options.BackColor, 0x302010u);
  EXPECT_EQ(s_.options.Editor, "vi +$L $F");
  EXPECT_EQ(s_.options.AutoReload, 1);
  EXPECT_EQ(s_.options.Reg, 1);

  s_.options.ZoomSize = 70;
  WhenModal("EnvironmentSheet", [](QWidget* sheet) {
    Child<QCheckBox>(ShowPage(sheet, "132"), "1056")->setChecked(false);
    Click(sheet, "IDCANCEL");
  });
  window_->Command(40029);
  EXPECT_EQ(s_.options.DrawMargin, 1);
  EXPECT_EQ(s_.options.ZoomSize, 70);

  WhenModal("EnvironmentSheet", [](QWidget* sheet) {
    Child<QCheckBox>(ShowPage(sheet, "132"), "1058")->setChecked(false);
    // 140 double-byte characters are 280 bytes; the store keeps 260.
    auto* editor = Child<QLineEdit>(ShowPage(sheet, "133"), "1059");
    Type(editor, QString(140, QChar(0x3042)));
    EXPECT_EQ(editor->text(), QString(130, QChar(0x3042)));
    Click(sheet, "IDOK");
  });
  window_->Command(40029);
  EXPECT_EQ(s_.options.AutoSizing, 0);
  EXPECT_EQ(s_.options.ZoomSize, 50);
  EXPECT_EQ(s_.options.Editor, QString(130, QChar(0x3042)).toStdString());
}

TEST_F(SettingsDialogsTest, EveryControlOfTheSheetsCarriesItsId) {
  struct Control {
    const char* page;
    const char* id;
    const char* type;
  };
  const Control format_controls[] = {
      {"124", "1051", "QLineEdit"}, {"124", "1054", "QCheckBox"}, {"105", "1003", "QComboBox"},
      {"105", "1016", "QComboBox"}, {"105", "1034", "QComboBox"}, {"106", "1006", "QLineEdit"},
      {"106", "1005", "QSpinBox"},  {"106", "1008", "QLineEdit"}, {"106", "1007", "QSpinBox"},
      {"106", "1010", "QLineEdit"}, {"106", "1009", "QSpinBox"},  {"106", "1012", "QLineEdit"},
      {"106", "1011", "QSpinBox"},  {"106", "1019", "QLabel"},    {"106", "1020", "QLabel"},
      {"106", "1021", "QLabel"},    {"106", "1022", "QLabel"},    {"106", "1062", "QRadioButton"},
      {"106", "1063", "QRadioButton"}, {"106", "1013", "QLineEdit"}, {"106", "1014", "QSpinBox"},
      {"106", "1065", "QLabel"},    {"106", "1066", "QLabel"},    {"106", "1015", "QLineEdit"},
      {"106", "1016", "QSpinBox"},  {"108", "1013", "QComboBox"}, {"108", "1015", "QLineEdit"},
      {"108", "1026", "QListWidget"}, {"108", "1027", "QComboBox"}, {"108", "1048", "QLabel"},
      {"108", "1064", "QLabel"},    {"118", "1047", "QCheckBox"}, {"118", "1034", "QLineEdit"},
      {"118", "1035", "QSpinBox"},  {"118", "1036", "QLineEdit"}, {"118", "1037", "QSpinBox"},
      {"109", "1028", "QLineEdit"}, {"109", "1029", "QSpinBox"},  {"109", "1030", "QLineEdit"},
      {"109", "1031", "QSpinBox"},  {"109", "1034", "QLineEdit"}, {"109", "1035", "QSpinBox"},
      {"109", "1032", "QLineEdit"}, {"109", "1033", "QSpinBox"},  {"109", "1069", "QCheckBox"}};
  const Control environment_controls[] = {
      {"132", "1056", "QCheckBox"}, {"132", "1058", "QCheckBox"}, {"132", "1065", "QPushButton"},
      {"133", "1059", "QLineEdit"}, {"133", "1060", "QPushButton"}, {"133", "1061", "QCheckBox"},
      {"136", "1014", "QCheckBox"}};
  auto check = [](QWidget* sheet, const auto& controls) {
    for (const Control& c : controls) {
      QWidget* page = sheet->findChild<QWidget*>(c.page);
      ASSERT_NE(page, nullptr) << c.page;
      QWidget* control = page->findChild<QWidget*>(c.id);
      ASSERT_NE(control, nullptr) << c.page << "/" << c.id;
      EXPECT_TRUE(control->inherits(c.type)) << c.page << "/" << c.id;
    }
  };
  WithFormatList([&](QWidget* list) {
    InSheet(list, "1050", [&](QWidget* sheet) {
      check(sheet, format_controls);
      EXPECT_EQ(sheet->findChild<QTabWidget*>()->count(), 6);
      QWidget* page = ShowPage(sheet, "106");
      EXPECT_EQ(Child<QLabel>(page, "1065")->text(), "桁数 (&C)");
      EXPECT_EQ(Child<QLabel>(page, "1066")->text(), "文字 (5～300)");
      EXPECT_TRUE(Child<QRadioButton>(page, "1062")->isChecked());
      QWidget* font = ShowPage(sheet, "108");
      EXPECT_EQ(Child<QLabel>(font, "1048")->text(), "Aaあぁアァ亜宇");  // character set 128
      EXPECT_EQ(Child<QLabel>(font, "1064")->text(), "プロポーショナルフォント");  // pitch 2
      auto* keep = Child<QPushButton>(sheet, "999");
      EXPECT_EQ(keep->text(), "保存せずに変更(&A)");
      EXPECT_EQ(keep->width(), 140);
      EXPECT_LT(Child<QPushButton>(sheet, "IDOK")->x(), keep->x());
      EXPECT_LT(keep->x(), Child<QPushButton>(sheet, "IDCANCEL")->x());
      Click(sheet, "IDCANCEL");
    });
    Click(list, "1");
  });
  WhenModal("EnvironmentSheet", [&](QWidget* sheet) {
    check(sheet, environment_controls);
    Click(sheet, "IDCANCEL");
  });
  window_->Command(40029);
}

TEST(SettingsDialogHelpers, NumbersAndPaperNames) {
  struct NumberCase {
    const char* text;
    int value;
  };
  for (const NumberCase& c : {NumberCase{"12", 12}, NumberCase{" 7", 7}, NumberCase{"-5", -5},
                              NumberCase{"3mm", 3}, NumberCase{"abc", 0}, NumberCase{"", 0},
                              NumberCase{"99999999999", 2147483647}})
    EXPECT_EQ(ReadDialogNumber(c.text), c.value) << c.text;
  // Only the first 39 characters count.
  EXPECT_EQ(ReadDialogNumber(QString(38, '0') + "12"), 1);

  struct PaperCase {
    const char* a;
    const char* b;
    bool match;
  };
  for (const PaperCase& c : {PaperCase{"A4", "a4", true}, PaperCase{"A4 (210 x 297 mm)", "A4", true},
                             PaperCase{"A4 (210 x 297 mm)", "a4 (other)", true}, PaperCase{"A4", "A4 Extra", false},
                             PaperCase{"A4", "A5", false}, PaperCase{"B5(JIS)", "B5", false}})
    EXPECT_EQ(PaperNamesMatch(c.a, c.b), c.match) << c.a << " / " << c.b;
}

}  // namespace
