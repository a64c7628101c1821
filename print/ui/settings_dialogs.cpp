// The format list dialog 123, the environment sheet 環境設定, the property-sheet frame and the
// small helpers the settings dialogs share.
#include "print/ui/settings_dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <climits>
#include <cstdlib>

#include "print/printing/printers.h"
#include "print/settings/store.h"
#include "print/ui/feedback.h"
#include "print/ui/session.h"

namespace txp {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

template <typename W>
W* Named(W* widget, const char* id) {
  widget->setObjectName(id);
  return widget;
}

// The part of a paper name before the first " (" (the size the driver appends).
std::string PaperBaseName(const std::string& name) {
  const std::size_t cut = name.find(" (");
  return cut == std::string::npos ? name : name.substr(0, cut);
}

}  // namespace

void ShowPrinterInfoFailure(QWidget* parent) {
  ShowNoticeDialog(parent, "120", "TXP", "プリンタ情報が読み取れません。\nＴＸＰを終了します。", "終了");
}

int ReadDialogNumber(const QString& text) {
  const std::string s = text.left(39).toStdString();
  const long n = std::strtol(s.c_str(), nullptr, 10);  // no number at the start gives 0
  return static_cast<int>(std::clamp<long>(n, INT_MIN, INT_MAX));
}

bool PaperNamesMatch(const std::string& a, const std::string& b) {
  const QString x = Q(PaperBaseName(a));
  const QString y = Q(PaperBaseName(b));
  return x.size() == y.size() && x.compare(y, Qt::CaseInsensitive) == 0;
}

void ShowClampReport(QWidget* parent, const std::vector<std::string>& labels) {
  std::string text = "以下の設定値が範囲外です。\n";
  for (const std::string& label : labels) text += label + "\n";
  text += "最も近い範囲内の値に修正しました。";
  ShowNoticeDialog(parent, "116", "設定値の確認", text, "OK");
}

void OpenHelpContext(const std::string& help_file, int context) {
  if (help_file.empty()) return;
  QUrl url = QUrl::fromLocalFile(Q(help_file));
  url.setFragment(QString::number(context));
  QDesktopServices::openUrl(url);
}

PropertySheet::PropertySheet(QWidget* parent, const char* caption, std::string help_file)
    : QDialog(parent), help_file_(std::move(help_file)) {
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  tabs_ = new QTabWidget(this);
  layout->addWidget(tabs_);
  buttons_ = new QHBoxLayout;
  buttons_->addStretch();
  ok_ = Named(new QPushButton("OK", this), "IDOK");
  ok_->setDefault(true);
  cancel_ = Named(new QPushButton("キャンセル", this), "IDCANCEL");
  auto* help = Named(new QPushButton("ヘルプ", this), "IDHELP");
  buttons_->addWidget(ok_);
  buttons_->addWidget(cancel_);
  buttons_->addWidget(help);
  layout->addLayout(buttons_);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, [this] {
    const int page = tabs_->currentIndex();
    if (page >= 0 && page < static_cast<int>(help_contexts_.size()))
      OpenHelpContext(help_file_, help_contexts_[static_cast<size_t>(page)]);
  });
}

void PropertySheet::AddPage(QWidget* page, const char* title, int help_context) {
  tabs_->addTab(page, title);
  help_contexts_.push_back(help_context);
}

QPushButton* PropertySheet::AddMiddleButton(const char* text, const char* id, int width) {
  auto* button = Named(new QPushButton(text, this), id);
  button->setFixedWidth(width);
  buttons_->insertWidget(buttons_->indexOf(cancel_), button);
  return button;
}

// ---------------------------------------------------------------------------------------------
// Format list (dialog 123)

namespace {

class FormatListDialogBox : public QDialog {
 public:
  FormatListDialogBox(QWidget* parent, TxpSession& s) : QDialog(parent), s_(s) {
    setObjectName("123");
    setWindowTitle("書式一覧");
    auto* layout = new QHBoxLayout(this);
    list_ = Named(new QListWidget(this), "1049");
    layout->addWidget(list_);
    auto* column = new QVBoxLayout;
    auto add = [&](const char* text, const char* id, auto action) {
      auto* b = Named(new QPushButton(text, this), id);
      b->setAutoDefault(false);
      connect(b, &QPushButton::clicked, this, action);
      column->addWidget(b);
      return b;
    };
    add("書式変更(&S)...", "1050", [this] { Change(); });
    add("新規追加(&N)...", "3", [this] { AddNew(); });
    add("コピー(&C)", "7", [this] { Copy(); });
    add("削除(&D)...", "4", [this] { Delete(); });
    add("↑", "6", [this] { Move(-1); });
    add("↓", "8", [this] { Move(1); });
    add("ヘルプ(&H)", "5", [this] { OpenHelpContext(s_.help_file, 25); });
    column->addStretch();
    add("終了(&O)", "1", [this] { Finish(); })->setDefault(true);
    layout->addLayout(column);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { Finish(); });
    Refill();
  }

  // Esc acts as 終了.
  void reject() override { Finish(); }

 private:
  int Selected() const { return list_->currentRow(); }

  void Refill() {
    list_->clear();
    for (const std::string& name : FormatNames(s_.formats)) list_->addItem(Q(name));
    list_->setCurrentRow(CurrentFormatIndex(s_.formats));
  }

  // The selected format becomes current; its margin bounds are asked of its printer.
  PrintFormat* MakeSelectedCurrent() {
    if (Selected() < 0 || FormatCount(s_.formats) == 0) return nullptr;
    const int index = SetCurrentFormatIndex(s_.formats, Selected());
    return &s_.formats.formats[static_cast<size_t>(index)];
  }

  void LimitMargins(PrintFormat& format) {
    SetMarginLimits(format, [this] { ShowPrinterInfoFailure(this); });
  }

  void Change() {
    PrintFormat* selected = MakeSelectedCurrent();
    if (!selected) return;
    LimitMargins(*selected);
    PrintFormat copy = *selected;
    if (!FormatSheet(this, copy, s_.run, s_.help_file)) return;
    const int index = CurrentFormatIndex(s_.formats);
    ReplaceFormat(s_.formats, index, copy);
    list_->item(index)->setText(Q(copy.SetName));
    list_->setCurrentRow(index);
    EnsureSingleDefault(s_.formats, index);
  }

  void AddNew() {
    PrintFormat format = DefaultPrintFormat(std::max(0, DefaultPrinterIndex()));
    LimitMargins(format);
    if (!FormatSheet(this, format, s_.run, s_.help_file)) return;
    AppendFormat(s_.formats, format);
    list_->addItem(Q(format.SetName));
    const int index = SetCurrentFormatIndex(s_.formats, FormatCount(s_.formats) - 1);
    list_->setCurrentRow(index);
    EnsureSingleDefault(s_.formats, index);
  }

  void Copy() {
    PrintFormat* selected = MakeSelectedCurrent();
    if (!selected) return;
    const int original = CurrentFormatIndex(s_.formats);
    PrintFormat copy = *selected;
    LimitMargins(copy);
    AppendFormat(s_.formats, copy);
    list_->addItem(Q(copy.SetName));
    EnsureSingleDefault(s_.formats, original);
    const int index = SetCurrentFormatIndex(s_.formats, FormatCount(s_.formats) - 1);
    list_->setCurrentRow(index);
  }

  void Delete() {
    if (FormatCount(s_.formats) < 2) {
      ShowNoticeDialog(this, "125", "書式削除", "全ての書式を削除することはできません。", "ｷｬﾝｾﾙ");
      return;
    }
    if (!MakeSelectedCurrent()) return;
    const int index = CurrentFormatIndex(s_.formats);
    QMessageBox ask(this);
    ask.setObjectName("126");
    ask.setWindowTitle("書式削除");
    ask.setText(Q(FormatName(s_.formats, index)) + "\nを削除しますか？");
    QPushButton* erase = ask.addButton("削除", QMessageBox::AcceptRole);
    ask.addButton("ｷｬﾝｾﾙ", QMessageBox::RejectRole);
    ask.exec();
    if (ask.clickedButton() != erase) return;
    DeleteFormat(s_.formats, index);
    delete list_->takeItem(index);
    list_->setCurrentRow(SetCurrentFormatIndex(s_.formats, index));
  }

  void Move(int direction) {
    const int from = Selected();
    const int to = from + direction;
    if (from < 0 || to < 0 || to >= FormatCount(s_.formats)) return;  // the list's ends change nothing
    if (!ExchangeFormats(s_.formats, from, to)) return;
    SetCurrentFormatIndex(s_.formats, to);
    Refill();
  }

  void Finish() {
    if (PrintFormat* selected = MakeSelectedCurrent()) LimitMargins(*selected);
    done(QDialog::Accepted);
  }

  TxpSession& s_;
  QListWidget* list_;
};

}  // namespace

void FormatListDialog(QWidget* owner, TxpSession& s) {
  {
    FormatListDialogBox dialog(owner, s);
    dialog.exec();
  }
  if (SaveSettings(s.options, s.formats, s.run, s.printers, s.store) == SaveResult::IniNotWritable)
    ShowMessage(owner, kIniNotWritableMessage);
}

// ---------------------------------------------------------------------------------------------
// Environment sheet

namespace {

QColor FromColorRef(uint32_t c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
uint32_t ToColorRef(const QColor& c) {
  return static_cast<uint32_t>(c.red()) | static_cast<uint32_t>(c.green()) << 8 |
         static_cast<uint32_t>(c.blue()) << 16;
}

// The background colour button: a raised button face showing the colour with a black border.
class ColorSwatchButton : public QPushButton {
 public:
  ColorSwatchButton(QWidget* parent, uint32_t& color) : QPushButton("&B", parent), color_(color) {
    setMinimumSize(48, 24);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.state |= QStyle::State_Raised;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    const QRect swatch = rect().adjusted(5, 5, -6, -6);
    painter.fillRect(swatch, FromColorRef(color_));
    painter.setPen(Qt::black);
    painter.drawRect(swatch);
  }

 private:
  uint32_t& color_;
};

class EnvironmentSheetDialog : public PropertySheet {
 public:
  EnvironmentSheetDialog(QWidget* parent, ProgramOptions& options, const std::string& help_file)
      : PropertySheet(parent, "環境設定", help_file), target_(options), work_(options) {
    setObjectName("EnvironmentSheet");
    AddPage(PreviewPage(), "プレビュー", 29);
    AddPage(EditPage(), "編集", 30);
    AddPage(OtherPage(), "その他", 33);
  }

  void accept() override {
    if (work_.AutoSizing != target_.AutoSizing) work_.ZoomSize = work_.AutoSizing ? 100 : 50;
    target_ = work_;
    PropertySheet::accept();
  }

 private:
  QCheckBox* Check(QWidget* page, const char* text, const char* id, int32_t& value) {
    auto* box = Named(new QCheckBox(text, page), id);
    box->setChecked(value == 1);
    connect(box, &QCheckBox::toggled, this, [&value](bool on) { value = on ? 1 : 0; });
    return box;
  }

  QWidget* PreviewPage() {
    auto* page = Named(new QWidget, "132");
    auto* grid = new QGridLayout(page);
    grid->addWidget(Check(page, "余白枠を表示(&M)", "1056", work_.DrawMargin), 0, 0, 1, 2);
    grid->addWidget(Check(page, "プレビューをウインドウのサイズにあわせる(&A)", "1058", work_.AutoSizing), 1, 0, 1, 2);
    auto* swatch = Named(new ColorSwatchButton(page, work_.BackColor), "1065");
    auto* label = new QLabel("背景色(B)：", page);
    label->setBuddy(swatch);
    grid->addWidget(label, 2, 0);
    grid->addWidget(swatch, 2, 1);
    grid->setRowStretch(3, 1);
    connect(swatch, &QPushButton::clicked, this, [this, swatch] {
      QColorDialog dialog(FromColorRef(work_.BackColor), this);
      dialog.setObjectName("ChooseColor");
      dialog.setOption(QColorDialog::DontUseNativeDialog);
      if (dialog.exec() != QDialog::Accepted) return;
      work_.BackColor = ToColorRef(dialog.selectedColor());
      swatch->update();
    });
    return page;
  }

  QWidget* EditPage() {
    auto* page = Named(new QWidget, "133");
    auto* grid = new QGridLayout(page);
    auto* editor = Named(new QLineEdit(Q(work_.Editor), page), "1059");
    editor->setMaxLength(260);
    // Kept to the 260 CP932 bytes the store holds: a command cut only at saving would differ
    // at the next start from the one used now.
    connect(editor, &QLineEdit::textChanged, this, [this, editor](const QString& t) {
      const std::string typed = t.toStdString();
      work_.Editor = Utf8FromStoreText(StoreTextFromUtf8(typed, 260));
      if (work_.Editor != typed) editor->setText(Q(work_.Editor));
    });
    auto* label = new QLabel("エディタ (&E)", page);
    label->setBuddy(editor);
    auto* browse = Named(new QPushButton("参照", page), "1060");
    connect(browse, &QPushButton::clicked, this, [this, editor] {
      // Programs here carry no .EXE: the dialog lists the executable files.
      QFileDialog dialog(this, "エディタの選択");
      dialog.setNameFilter("実行ﾌｧｲﾙ (*)");
      dialog.setFilter(QDir::Executable | QDir::Files | QDir::AllDirs | QDir::NoDotAndDotDot);
      dialog.setFileMode(QFileDialog::ExistingFile);
      if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        editor->setText(dialog.selectedFiles().first());
    });
    grid->addWidget(label, 0, 0);
    grid->addWidget(editor, 0, 1);
    grid->addWidget(browse, 0, 2);
    auto* how = new QGroupBox("ファイル名と行番号の指定方法", page);
    auto* v = new QVBoxLayout(how);
    v->addWidget(new QLabel("$F = ファイル名    $L = 行番号    $$ = '$'", how));
    grid->addWidget(how, 1, 0, 1, 3);
    grid->addWidget(Check(page, "エディタ終了後、ファイル再読み込み (&R)", "1061", work_.AutoReload), 2, 0, 1, 3);
    grid->setRowStretch(3, 1);
    return page;
  }

  QWidget* OtherPage() {
    auto* page = Named(new QWidget, "136");
    auto* v = new QVBoxLayout(page);
    v->addWidget(Check(page, "設定をレジストリでなくINIファイルに保存する (&I)", "1014", work_.Reg));
    v->addStretch();
    return page;
  }

  ProgramOptions& target_;
  ProgramOptions work_;
};

}  // namespace

bool EnvironmentSheet(QWidget* owner, ProgramOptions& options, const std::string& help_file) {
  EnvironmentSheetDialog sheet(owner, options, help_file);
  return sheet.exec() == QDialog::Accepted;
}

}  // namespace txp
