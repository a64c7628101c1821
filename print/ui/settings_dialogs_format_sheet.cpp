// The format sheet 書式設定: six pages over a working copy of one PrintFormat.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "print/printing/printers.h"
#include "print/settings/store.h"
#include "print/ui/feedback.h"
#include "print/ui/settings_dialogs.h"

namespace txp {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

template <typename W>
W* Named(W* widget, const char* id) {
  widget->setObjectName(id);
  return widget;
}

// One font family of the printer: face, LOGFONT character set and pitch-and-family byte.
struct FontEntry {
  std::string face;
  uint8_t char_set;
  uint8_t pitch;
};

// Qt prints with the fonts of the system, so every printer offers the same families.
std::vector<FontEntry> PrinterFonts() {
  std::vector<FontEntry> fonts;
  for (const QString& family : QFontDatabase::families()) {
    const bool japanese = QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese);
    fonts.push_back({family.toStdString(), static_cast<uint8_t>(japanese ? 128 : 0),
                     static_cast<uint8_t>(QFontDatabase::isFixedPitch(family) ? 1 : 2)});
  }
  return fonts;
}

// The up-down range of a value's bounds (an upper bound below the lower gives an empty range).
void SetSpinRange(QSpinBox* spin, const RangedValue& v) {
  const QSignalBlocker block(spin);
  spin->setRange(v.lower, std::max(v.lower, v.upper));
}

class FormatSheetDialog : public PropertySheet {
 public:
  FormatSheetDialog(QWidget* parent, PrintFormat& target, RunFlags& run, const std::string& help_file)
      : PropertySheet(parent, "書式設定", help_file), target_(target), run_(run), work_(target) {
    setObjectName("FormatSheet");
    fonts_ = PrinterFonts();
    AddPage(NamePage(), "書式名", 24);
    AddPage(PrinterPage(), "プリンタ", 3);
    AddPage(PageFormatPage(), "ページ書式", 4);
    AddPage(FontPage(), "フォント", 5);
    AddPage(PageNumberPage(), "ページ番号", 6);
    AddPage(OtherPage(), "その他", 7);
    QPushButton* keep = AddMiddleButton("保存せずに変更(&A)", "999", 140);
    ok_button()->setEnabled(!run_.formats_for_this_run_only);
    connect(keep, &QPushButton::clicked, this, [this] {
      run_.formats_for_this_run_only = true;
      accept();
    });
    connect(tabs(), &QTabWidget::currentChanged, this, [this](int) {
      QWidget* shown = tabs()->currentWidget();
      if (shown == page_format_) RefreshLimits();
      if (shown == font_page_) FillFonts();
    });
    RefreshLimits();
    FillFonts();
  }

  void accept() override {
    ClampFormat(work_, [this](const std::vector<std::string>& labels) { ShowClampReport(this, labels); });
    target_ = work_;
    PropertySheet::accept();
  }

 private:
  // An edit with its up-down control; the edit writes into value as it is typed.
  QLineEdit* SpinEdit(QWidget* page, const char* edit_id, const char* spin_id, int max_chars, RangedValue& value) {
    auto* edit = Named(new QLineEdit(QString::number(value.value), page), edit_id);
    edit->setMaxLength(max_chars);
    auto* spin = Named(new QSpinBox(page), spin_id);
    spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    spin->setFixedWidth(40);
    SetSpinRange(spin, value);
    {
      const QSignalBlocker block(spin);
      spin->setValue(value.value);
    }
    RangedValue* v = &value;
    connect(edit, &QLineEdit::textChanged, this, [v, spin](const QString& text) {
      v->value = ReadDialogNumber(text);
      const QSignalBlocker block(spin);
      spin->setValue(v->value);
    });
    connect(spin, &QSpinBox::valueChanged, edit, [edit](int n) { edit->setText(QString::number(n)); });
    spins_.push_back({spin, v});
    return edit;
  }

  QWidget* NamePage() {
    auto* page = Named(new QWidget, "124");
    auto* grid = new QGridLayout(page);
    auto* name = Named(new QLineEdit(Q(work_.SetName), page), "1051");
    name->setMaxLength(40);
    // The name is kept as the store will keep it (39 bytes of CP932), so what the list shows
    // now is what the next start shows.
    connect(name, &QLineEdit::textChanged, this, [this, name](const QString& t) {
      const std::string typed = t.toStdString();
      work_.SetName = Utf8FromStoreText(StoreTextFromUtf8(typed, kSetNameBytes - 1));
      if (work_.SetName != typed) name->setText(Q(work_.SetName));
    });
    auto* label = new QLabel("書式名 (&N)", page);
    label->setBuddy(name);
    grid->addWidget(label, 0, 0);
    grid->addWidget(name, 0, 1);
    auto* standard = Named(new QCheckBox("標準の書式(&D)", page), "1054");
    standard->setChecked(work_.Default == 1);
    connect(standard, &QCheckBox::toggled, this, [this](bool on) { work_.Default = on ? 1 : 0; });
    grid->addWidget(standard, 1, 1);
    grid->setRowStretch(2, 1);
    return page;
  }

  QWidget* PrinterPage() {
    auto* page = Named(new QWidget, "105");
    auto* grid = new QGridLayout(page);
    printer_ = Named(new QComboBox(page), "1003");
    for (const PrinterInfo& p : PrinterList()) printer_->addItem(Q(p.name));
    printer_->setCurrentIndex(work_.printer);
    paper_ = Named(new QComboBox(page), "1016");
    FillPapers();
    direction_ = Named(new QComboBox(page), "1034");
    direction_->addItem("縦");
    direction_->addItem("横");
    direction_->setCurrentIndex(work_.PaperDir == 1 ? 1 : 0);
    int row = 0;
    for (auto [text, box] : {std::pair{"プリンタ (&P)", printer_}, std::pair{"用紙種類 (&F)", paper_},
                             std::pair{"用紙方向 (&D)", direction_}}) {
      auto* label = new QLabel(text, page);
      label->setBuddy(box);
      grid->addWidget(label, row, 0);
      grid->addWidget(box, row++, 1);
    }
    grid->setRowStretch(row, 1);
    connect(printer_, &QComboBox::currentIndexChanged, this, [this](int i) { PrinterChosen(i); });
    connect(paper_, &QComboBox::currentIndexChanged, this, [this](int i) {
      if (filling_ || i < 0 || i >= static_cast<int>(papers_.size())) return;
      work_.PaperSize = papers_[static_cast<size_t>(i)].code;
      work_.PaperName = papers_[static_cast<size_t>(i)].name;
      SetMarginLimits(work_, [this] { ShowPrinterInfoFailure(this); });
    });
    connect(direction_, &QComboBox::currentIndexChanged, this, [this](int i) {
      work_.PaperDir = i == 1 ? 1 : 0;
      SetMarginLimits(work_, [this] { ShowPrinterInfoFailure(this); });
    });
    return page;
  }

  // Fills the paper box with the printer's papers and shows the paper matching PaperName
  // (else the first); returns the index shown, -1 without papers.
  int FillPapers() {
    papers_ = PaperList(work_.printer);
    filling_ = true;
    paper_->clear();
    int matching = -1;
    for (size_t i = 0; i < papers_.size(); ++i) {
      paper_->addItem(Q(papers_[i].name));
      if (matching < 0 && PaperNamesMatch(papers_[i].name, work_.PaperName)) matching = static_cast<int>(i);
    }
    const int shown = matching >= 0 ? matching : papers_.empty() ? -1 : 0;
    paper_->setCurrentIndex(shown);
    filling_ = false;
    return shown;
  }

  void PrinterChosen(int index) {
    if (index < 0) return;
    std::unique_ptr<QDialog> gathering = ShowGatheringPrinterInfo(this);
    work_.printer = index;
    const int shown = FillPapers();
    if (shown < 0) {
      work_.PaperSize = 0;
      work_.PaperName.clear();
    } else {
      work_.PaperSize = papers_[static_cast<size_t>(shown)].code;
      work_.PaperName = papers_[static_cast<size_t>(shown)].name;
    }
    SetMarginLimits(work_, [this] { ShowPrinterInfoFailure(this); });
    fonts_ = PrinterFonts();
  }

  QWidget* PageFormatPage() {
    auto* page = Named(new QWidget, "106");
    page_format_ = page;
    auto* layout = new QVBoxLayout(page);
    auto* margins = new QGroupBox("余白", page);
    auto* grid = new QGridLayout(margins);
    struct Side {
      const char* label;
      const char* edit;
      const char* spin;
      const char* bounds;
      RangedValue* value;
    };
    const Side sides[] = {{"上 (&T)", "1006", "1005", "1019", &work_.TopMgnMm},
                          {"下 (&B)", "1008", "1007", "1020", &work_.BottomMgnMm},
                          {"左 (&L)", "1010", "1009", "1021", &work_.LeftMgnMm},
                          {"右 (&R)", "1012", "1011", "1022", &work_.RightMgnMm}};
    int row = 0;
    for (const Side& side : sides) {
      QLineEdit* edit = SpinEdit(margins, side.edit, side.spin, 3, *side.value);
      auto* label = new QLabel(side.label, margins);
      label->setBuddy(edit);
      grid->addWidget(label, row, 0);
      grid->addWidget(edit, row, 1);
      grid->addWidget(margins->findChild<QSpinBox*>(side.spin), row, 2);
      grid->addWidget(new QLabel("mm", margins), row, 3);
      auto* bounds = Named(new QLabel(margins), side.bounds);
      bounds_.push_back({bounds, side.value});
      grid->addWidget(bounds, row++, 4);
    }
    layout->addWidget(margins);

    auto* lines = new QGroupBox("行桁数", page);
    auto* g = new QGridLayout(lines);
    auto* columns_mode = Named(new QRadioButton("桁数指定", lines), "1062");
    auto* spacing_mode = Named(new QRadioButton("文字間指定（未サポート）", lines), "1063");
    columns_mode->setChecked(true);
    spacing_mode->setEnabled(false);
    g->addWidget(columns_mode, 0, 0, 1, 2);
    g->addWidget(spacing_mode, 0, 2, 1, 3);
    QLineEdit* columns = SpinEdit(lines, "1013", "1014", 3, work_.Width);
    auto* columns_label = Named(new QLabel("桁数 (&C)", lines), "1065");
    columns_label->setBuddy(columns);
    g->addWidget(columns_label, 1, 0);
    g->addWidget(columns, 1, 1);
    g->addWidget(lines->findChild<QSpinBox*>("1014"), 1, 2);
    g->addWidget(Named(new QLabel("文字 (5～300)", lines), "1066"), 1, 3);
    QLineEdit* rows = SpinEdit(lines, "1015", "1016", 3, work_.Height);
    auto* rows_label = new QLabel("行数 (&P)", lines);
    rows_label->setBuddy(rows);
    g->addWidget(rows_label, 2, 0);
    g->addWidget(rows, 2, 1);
    g->addWidget(lines->findChild<QSpinBox*>("1016"), 2, 2);
    g->addWidget(new QLabel("行 (5～300)", lines), 2, 3);
    layout->addWidget(lines);
    layout->addStretch();
    return page;
  }

  // The bound texts and every up-down range from the working copy's bounds.
  void RefreshLimits() {
    for (auto& [label, value] : bounds_)
      label->setText(QString("(%1～%2)").arg(value->lower).arg(value->upper));
    for (auto& [spin, value] : spins_) SetSpinRange(spin, *value);
  }

  QWidget* FontPage() {
    auto* page = Named(new QWidget, "108");
    font_page_ = page;
    auto* grid = new QGridLayout(page);
    face_ = Named(new QComboBox(page), "1013");
    auto* face_label = new QLabel("ﾌｫﾝﾄ(&F)", page);
    face_label->setBuddy(face_);
    grid->addWidget(face_label, 0, 0);
    grid->addWidget(face_, 0, 1, 1, 2);
    auto* point = Named(new QLineEdit(QString::number(work_.FontPoint), page), "1015");
    connect(point, &QLineEdit::textChanged, this, [this](const QString& t) { work_.FontPoint = ReadDialogNumber(t); });
    auto* point_label = new QLabel("ﾎﾟｲﾝﾄ(&P)", page);
    point_label->setBuddy(point);
    grid->addWidget(point_label, 1, 0);
    grid->addWidget(point, 1, 1);
    auto* sizes = Named(new QListWidget(page), "1026");
    for (int p = 6; p < 24; ++p) sizes->addItem(QString::number(p));
    for (int p = 24; p <= 36; p += 2) sizes->addItem(QString::number(p));
    for (int p = 40; p <= 72; p += 4) sizes->addItem(QString::number(p));
    connect(sizes, &QListWidget::itemClicked, point, [point](QListWidgetItem* item) { point->setText(item->text()); });
    grid->addWidget(sizes, 2, 1);
    style_ = Named(new QComboBox(page), "1027");
    for (const char* s : {"標準", "斜体", "太字", "斜体・太字"}) style_->addItem(s);
    style_->setCurrentIndex(std::clamp(work_.FontStyle, 0, 3));
    auto* style_label = new QLabel("ｽﾀｲﾙ(&S)", page);
    style_label->setBuddy(style_);
    grid->addWidget(style_label, 3, 0);
    grid->addWidget(style_, 3, 1);
    auto* sample_box = new QGroupBox("サンプル", page);
    auto* v = new QVBoxLayout(sample_box);
    sample_ = Named(new QLabel(sample_box), "1048");
    sample_->setFixedHeight(40);
    pitch_ = Named(new QLabel(sample_box), "1064");
    v->addWidget(sample_);
    v->addWidget(pitch_);
    grid->addWidget(sample_box, 4, 0, 1, 3);
    connect(face_, &QComboBox::currentIndexChanged, this, [this](int) {
      if (filling_) return;
      FaceOrStyleChanged();
    });
    connect(style_, &QComboBox::currentIndexChanged, this, [this](int i) {
      work_.FontStyle = std::max(0, i);
      FaceOrStyleChanged();
    });
    return page;
  }

  // Refills the face box and selects the first face that begins with FontName (else the first).
  void FillFonts() {
    filling_ = true;
    face_->clear();
    int matching = -1;
    const QString wanted = Q(work_.FontName);
    for (size_t i = 0; i < fonts_.size(); ++i) {
      const QString face = Q(fonts_[i].face);
      face_->addItem(face);
      if (matching < 0 && face.startsWith(wanted, Qt::CaseInsensitive)) matching = static_cast<int>(i);
    }
    const int selected = matching >= 0 ? matching : fonts_.empty() ? -1 : 0;
    face_->setCurrentIndex(selected);
    filling_ = false;
    DrawSample();
  }

  void FaceOrStyleChanged() {
    const std::string face = face_->currentText().toStdString();
    if (!face.empty()) {
      work_.FontName = face;
      for (const FontEntry& f : fonts_) {
        if (f.face == face) {
          work_.FontCharSet = f.char_set;
          work_.FontPitch = f.pitch;
          break;
        }
      }
    }
    DrawSample();
  }

  void DrawSample() {
    sample_->setText(work_.FontCharSet == 128 ? "Aaあぁアァ亜宇" : "AaBbYyZz");
    QFont font(face_->currentText().isEmpty() ? Q(work_.FontName) : face_->currentText());
    font.setPixelSize(std::max(1, sample_->height()));
    font.setWeight((work_.FontStyle & 2) ? QFont::Bold : QFont::Normal);
    font.setItalic((work_.FontStyle & 1) != 0);
    sample_->setFont(font);
    pitch_->setText((work_.FontPitch & 3) == 2 ? "プロポーショナルフォント" : "固定ピッチフォント");
  }

  QWidget* PageNumberPage() {
    auto* page = Named(new QWidget, "118");
    auto* grid = new QGridLayout(page);
    auto* print = Named(new QCheckBox("ページ番号を印刷する (&P)", page), "1047");
    print->setChecked(work_.PagePrn == 1);
    connect(print, &QCheckBox::toggled, this, [this](bool on) { work_.PagePrn = on ? 1 : 0; });
    grid->addWidget(print, 0, 0, 1, 4);
    AddSpinRow(page, grid, 1, "本文との間隔 (&G)", "1034", "1035", 2, work_.PageMargin, "mm  (1～20)");
    AddSpinRow(page, grid, 2, "開始ページ番号 (&S)", "1036", "1037", 4, work_.PageStart, " (0～9999)");
    grid->setRowStretch(3, 1);
    return page;
  }

  void AddSpinRow(QWidget* parent, QGridLayout* grid, int row, const char* label_text, const char* edit_id,
                  const char* spin_id, int max_chars, RangedValue& value, const char* unit) {
    QLineEdit* edit = SpinEdit(parent, edit_id, spin_id, max_chars, value);
    auto* label = new QLabel(label_text, parent);
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(parent->findChild<QSpinBox*>(spin_id), row, 2);
    grid->addWidget(new QLabel(unit, parent), row, 3);
  }

  QWidget* OtherPage() {
    auto* page = Named(new QWidget, "109");
    auto* layout = new QVBoxLayout(page);
    auto* rules = new QGroupBox("罫線", page);
    auto* g = new QGridLayout(rules);
    AddSpinRow(rules, g, 0, "細線の太さ (&1)", "1028", "1029", 2, work_.KeisenThin, "x0.1mm  (1～20  初期値=2)");
    AddSpinRow(rules, g, 1, "太線の太さ (&2)", "1030", "1031", 2, work_.KeisenBold, "x0.1mm  (1～20  初期値=5)");
    layout->addWidget(rules);
    auto* rest = new QGridLayout;
    AddSpinRow(page, rest, 0, "下線の太さ (&U)", "1034", "1035", 2, work_.UnderLine, "x0.1mm  (1～20  初期値=2)");
    AddSpinRow(page, rest, 1, "タブの幅 (&T)", "1032", "1033", 2, work_.TabSize, "文字 (2～32)");
    layout->addLayout(rest);
    auto* yen = Named(new QCheckBox("\\記号を使った文字修飾コマンドを使う(&Y)", page), "1069");
    yen->setChecked(work_.YenCmd == 1);
    connect(yen, &QCheckBox::toggled, this, [this](bool on) { work_.YenCmd = on ? 1 : 0; });
    layout->addWidget(yen);
    layout->addStretch();
    return page;
  }

  PrintFormat& target_;
  RunFlags& run_;
  PrintFormat work_;
  std::vector<PaperEntry> papers_;
  std::vector<FontEntry> fonts_;
  std::vector<std::pair<QSpinBox*, RangedValue*>> spins_;
  std::vector<std::pair<QLabel*, RangedValue*>> bounds_;
  bool filling_ = false;  // boxes being filled: their changes are not the user's choice
  QComboBox* printer_ = nullptr;
  QComboBox* paper_ = nullptr;
  QComboBox* direction_ = nullptr;
  QComboBox* face_ = nullptr;
  QComboBox* style_ = nullptr;
  QLabel* sample_ = nullptr;
  QLabel* pitch_ = nullptr;
  QWidget* page_format_ = nullptr;
  QWidget* font_page_ = nullptr;
};

}  // namespace

bool FormatSheet(QWidget* owner, PrintFormat& format, RunFlags& run, const std::string& help_file) {
  FormatSheetDialog sheet(owner, format, run, help_file);
  return sheet.exec() == QDialog::Accepted;
}

}  // namespace txp
