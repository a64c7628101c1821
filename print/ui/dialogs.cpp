#include "print/ui/dialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "print/ui/feedback.h"

namespace txp {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

template <typename W>
W* Named(W* widget, const char* id) {
  widget->setObjectName(id);
  return widget;
}

}  // namespace

PrintDialog::PrintDialog(QWidget* parent, int page_count, int current_index, const std::string& printer_name)
    : QDialog(parent), page_count_(page_count), current_index_(current_index) {
  setObjectName("115");
  setWindowTitle("印刷開始");
  auto* layout = new QVBoxLayout(this);

  auto* range_box = new QGroupBox("印刷範囲", this);
  auto* grid = new QGridLayout(range_box);
  all_ = Named(new QRadioButton("全ページを印刷 (&A)", range_box), "1035");
  range_ = Named(new QRadioButton("指定ページを印刷 (&P)", range_box), "1036");
  this_page_ = Named(new QRadioButton("このページのみ印刷 (&1)", range_box), "1041");
  all_->setChecked(true);
  grid->addWidget(all_, 0, 0, 1, 4);
  grid->addWidget(range_, 1, 0, 1, 4);

  auto make_box = [&](const char* id, const char* spin_id, int value, const char* label, int row) {
    auto* edit = Named(new QLineEdit(QString::number(value), range_box), id);
    edit->setMaxLength(3);
    auto* spin = Named(new QSpinBox(range_box), spin_id);
    spin->setRange(1, std::max(1, page_count));
    spin->setValue(value);
    spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    spin->setFixedWidth(40);
    connect(spin, &QSpinBox::valueChanged, edit, [edit](int v) { edit->setText(QString::number(v)); });
    edit->installEventFilter(this);
    auto* text = new QLabel(label, range_box);
    text->setBuddy(edit);
    grid->addWidget(text, row, 1);
    grid->addWidget(edit, row, 2);
    grid->addWidget(spin, row, 3);
    return edit;
  };
  first_ = make_box("1037", "1039", 1, "開始ページ (&S)", 2);
  last_ = make_box("1038", "1040", page_count, "終了ページ (&E)", 3);
  grid->addWidget(Named(new QLabel(QString("(%1～%2)").arg(1).arg(page_count), range_box), "1042"), 4, 2);
  grid->addWidget(this_page_, 5, 0, 1, 4);
  layout->addWidget(range_box);

  overlay_ = Named(new QCheckBox("用紙１枚に重ねて印刷(&O)", this), "1067");
  layout->addWidget(overlay_);

  auto* out_box = new QGroupBox("出力先", this);
  auto* out_layout = new QHBoxLayout(out_box);
  out_layout->addWidget(Named(new QLabel(Q(printer_name), out_box), "1044"));
  layout->addWidget(out_box);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton("印刷開始", QDialogButtonBox::AcceptRole);
  ok->setObjectName("IDOK");
  ok->setDefault(true);
  buttons->addButton("ｷｬﾝｾﾙ", QDialogButtonBox::RejectRole)->setObjectName("IDCANCEL");
  buttons->addButton("ヘルプ", QDialogButtonBox::HelpRole)->setObjectName("IDHELP");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

bool PrintDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && (watched == first_ || watched == last_)) range_->setChecked(true);
  return QDialog::eventFilter(watched, event);
}

PrintRequest PrintDialog::Request() const {
  PrintRangeChoice choice = PrintRangeChoice::TypedRange;
  if (all_->isChecked()) choice = PrintRangeChoice::AllPages;
  if (this_page_->isChecked()) choice = PrintRangeChoice::ThisPage;
  return PrintRequestFromDialog(choice, first_->text().toStdString(), last_->text().toStdString(),
                                current_index_, page_count_, overlay_->isChecked());
}

ProgressDialog::ProgressDialog(QWidget* parent, int first, int last) : QDialog(parent) {
  setObjectName("103");
  setWindowTitle("印刷中");
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  text_ = Named(new QLabel(this), "1064");
  bar_ = Named(new QProgressBar(this), "1043");
  bar_->setRange(first - 1, last);
  bar_->setValue(first - 1);
  bar_->setTextVisible(false);
  auto* stop = Named(new QPushButton("印刷中止", this), "IDCANCEL");
  connect(stop, &QPushButton::clicked, this, [this] {
    aborted_ = true;
    emit abortRequested();
  });
  layout->addWidget(text_);
  layout->addWidget(bar_);
  layout->addWidget(stop, 0, Qt::AlignHCenter);
}

void ProgressDialog::SetText(const std::string& text) { text_->setText(Q(text)); }
void ProgressDialog::SetProgress(int index) { bar_->setValue(index); }

void ShowCommandListDialog(QWidget* parent) {
  static const char* const kFormatLines[] = {
      "-W<n>  １行文字数 (n=5～300文字)", "-H<n>  １ページ行数 (n=5～300行)", "-L<n>  左余白(mm)",
      "-R<n>  右余白(mm)", "-T<n>  上余白(mm)", "-B<n>  下余白(mm)", "-D<x>  用紙方向 (x=T,Y)",
      "-E<n>  タブの幅 (n=2～32)", "-FP<n> フォントサイズ (n=6～ポイント)",
      "-NS<n> ページ番号印刷開始 (n=開始ページ番号)", "-NE<n> ページ番号印刷中止",
      "-NT<n> 全ページ数 (n=全ページ数)", "-X<n>  このページは印刷しない"};
  static const char* const kDecorationLines[] = {
      "^O  標準", "^N  横２倍角", "^V  縦２倍角", "^F  縦横２倍角", "^T  縦1/2倍角", "^Y  横1/2倍角",
      "^Q  縦横1/2倍角", "^H  バックスペース", "^U  下線開始／終了", "^P  ページ番号モード開始／終了",
      "^Pで挟まれた部分に、次のいずれかを書く", "%<n>P  %<n>T  %<n>p  %<n>t",
      "制御文字の代わりに\\記号を使うこともできます", "（初期設定に\\記号を使うかどうかの設定あり）",
      "例）^O → \\O 、\\記号そのものは「\\\\」"};
  QDialog dialog(parent);
  dialog.setObjectName("135");
  dialog.setWindowTitle("コマンド一覧");
  auto* layout = new QHBoxLayout(&dialog);
  auto group = [&dialog](const char* title, auto& lines) {
    auto* box = new QGroupBox(title, &dialog);
    auto* v = new QVBoxLayout(box);
    for (const char* line : lines) v->addWidget(new QLabel(line, box));
    v->addStretch();
    return box;
  };
  layout->addWidget(group("書式制御(改頁コード(^L または \\L)の後ろに書く)", kFormatLines));
  auto* right = new QVBoxLayout;
  right->addWidget(group("文字修飾コマンド(^?=制御文字)", kDecorationLines));
  auto* ok = new QPushButton("OK", &dialog);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  right->addWidget(ok, 0, Qt::AlignRight);
  layout->addLayout(right);
  dialog.exec();
}

void ShowAboutDialog(QWidget* parent) {
  QMessageBox box(parent);
  box.setObjectName("117");
  box.setWindowTitle("TXPについて");
  box.setText("TXP\nバージョン 0.92.1.0\nテキストファイルのレイアウト・プレビュー・印刷");
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

bool ConfirmEraseSettings(QWidget* parent) {
  QMessageBox box(parent);
  box.setObjectName("143");
  box.setWindowTitle("全設定の消去");
  box.setText("TXP関係の全ての設定情報をレジストリから消去して終了します。\nよろしいですか？");
  QPushButton* no = box.addButton("いいえ", QMessageBox::RejectRole);
  QPushButton* erase = box.addButton("消去", QMessageBox::AcceptRole);
  box.setDefaultButton(no);
  box.exec();
  return box.clickedButton() == erase;
}

}  // namespace txp
