#include "print/ui/txp_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <algorithm>
#include <cstdlib>

#include "print/printing/printers.h"
#include "print/ui/command_line.h"
#include "print/ui/dialogs.h"
#include "print/ui/editor_command.h"
#include "print/ui/feedback.h"
#include "print/ui/preview.h"
#include "print/ui/settings_dialogs.h"

namespace txp {

namespace {

constexpr int kZoomMin = 10;
constexpr int kZoomMax = 200;

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The number at the start of up to 10 characters of an edit box, as atoi reads it.
int NumberIn(const QLineEdit* box) {
  return static_cast<int>(std::strtol(box->text().left(10).toStdString().c_str(), nullptr, 10));
}

// "NOTEPAD" of the Windows default template means the desktop's own text editor here.
std::vector<std::string> EditorArguments(const std::string& command) {
  std::vector<std::string> args = SplitCommandLine(command);
  if (!args.empty()) {
    QString program = Q(args[0]).toLower();
    if (program == "notepad" || program == "notepad.exe") args[0] = "xdg-open";
  }
  return args;
}

}  // namespace

std::string WindowTitleFor(const std::string& path) { return path + " - TXP"; }

PrinterNames PrinterListNames() {
  PrinterNames names;
  names.index_by_name = [](const std::string& name) { return PrinterIndexByName(name); };
  names.name_of = [](int index) { return PrinterName(index); };
  return names;
}

TxpWin::TxpWin(TxpSession& session) : s_(session) {
  setObjectName("TxpWin");
  setWindowTitle("TXP");
  BuildMenu();
  BuildToolbar();
  auto* bar = new QStatusBar(this);
  bar->setObjectName("1500");
  bar->setSizeGripEnabled(true);
  const int widths[3] = {120, 180, 0};
  for (int i = 0; i < 3; ++i) {
    status_[i] = new QLabel(bar);
    status_[i]->setObjectName(QString("status%1").arg(i));
    if (widths[i]) status_[i]->setFixedWidth(widths[i]);
    bar->addWidget(status_[i], widths[i] ? 0 : 1);
  }
  setStatusBar(bar);
  preview_ = new TxpWinPreview(this, s_);
  setCentralWidget(preview_);
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);

  resize(s_.options.WinWidth, s_.options.WinHeight);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    const QRect frame = frameGeometry();
    if (frame.bottom() > area.bottom()) move(frame.x(), std::max(0, frame.y() - (frame.bottom() - area.bottom())));
  }
  editor_timer_.setSingleShot(true);
  editor_timer_.setInterval(500);
  connect(&editor_timer_, &QTimer::timeout, this, &TxpWin::EditorTick);
  SetDocumentCommandsEnabled(false);
  RefreshNavigation();
  RefreshZoomBox();
  RefreshStatus();
}

TxpWin::~TxpWin() {
  for (auto& p : editors_) p->disconnect();
}

QAction* TxpWin::action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void TxpWin::BuildMenu() {
  auto add = [this](QMenu* menu, int id, const char* text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::number(id));
    connect(a, &QAction::triggered, this, [this, id] { Command(id); });
    actions_[id] = a;
    return a;
  };
  QMenu* file = menuBar()->addMenu("ファイル(&F)");
  add(file, 40001, "開く(&O)...");
  add(file, 40037, "再読込(&R)");
  add(file, 40002, "印刷(&P)...");
  add(file, 40036, "ファイルの編集(&E)");
  add(file, 40023, "プリンタのプロパティ(&S)...");
  file->addSeparator();
  add(file, 40005, "終了(&X)");
  QAction* format = menuBar()->addAction("書式(&S)");
  format->setObjectName("40006");
  connect(format, &QAction::triggered, this, [this] { Command(40006); });
  actions_[40006] = format;
  QMenu* page = menuBar()->addMenu("ページ(&P)");
  add(page, 40033, "前のページへ(&P)");
  add(page, 40032, "次のページへ(&N)");
  add(page, 40025, "先頭のページへ(&T)");
  add(page, 40026, "最後のページへ(&B)");
  page->addSeparator();
  add(page, 40034, "このページを印刷する／しない(&E)")->setCheckable(true);
  add(page, 40027, "全ページ印刷する(&A)");
  add(page, 40028, "全ページ印刷しない(&X)");
  QMenu* options = menuBar()->addMenu("オプション(&O)");
  add(options, 40029, "環境設定(&S)");
  QMenu* help = menuBar()->addMenu("ヘルプ(&H)");
  add(help, 40003, "目次(&C)");
  add(help, 40038, "コマンド一覧(&L)");
  add(help, 40004, "TXPについて(&A)...");
  QMenu* other = help->addMenu("その他");
  add(other, 40043, "全設定の消去...");
  // Toolbar-only commands.
  for (auto [id, text] : {std::pair{40045, "縮小表示"}, std::pair{40044, "拡大表示"}}) {
    auto* a = new QAction(text, this);
    a->setObjectName(QString::number(id));
    connect(a, &QAction::triggered, this, [this, id] { Command(id); });
    actions_[id] = a;
  }
}

void TxpWin::BuildToolbar() {
  auto* bar = new QToolBar(this);
  bar->setObjectName("1400");
  bar->setMovable(false);
  bar->setIconSize(QSize(16, 16));
  addToolBar(bar);
  QStyle* st = style();
  auto button = [&](int id, QStyle::StandardPixmap icon, const char* tip) {
    QAction* a = actions_[id];
    a->setIcon(st->standardIcon(icon));
    a->setToolTip(tip);
    bar->addAction(a);
  };
  auto font_for = [](QWidget* w) {
    QFont f("IPAPGothic");
    f.setPixelSize(12);
    w->setFont(f);
  };
  bar->addSeparator();
  button(40001, QStyle::SP_DialogOpenButton, "開く");
  button(40036, QStyle::SP_FileDialogDetailedView, "ファイルの編集");
  bar->addSeparator();
  button(40002, QStyle::SP_DialogSaveButton, "印刷");
  bar->addSeparator();
  button(40045, QStyle::SP_ArrowDown, "縮小表示");
  zoom_box_ = new QLineEdit(bar);
  zoom_box_->setObjectName("40042");
  zoom_box_->setFixedWidth(48);
  font_for(zoom_box_);
  bar->addWidget(zoom_box_);
  button(40044, QStyle::SP_ArrowUp, "拡大表示");
  bar->addSeparator();
  button(40033, QStyle::SP_ArrowBack, "前ページ");
  page_box_ = new QLineEdit(bar);
  page_box_->setObjectName("40041");
  page_box_->setFixedWidth(48);
  font_for(page_box_);
  bar->addWidget(page_box_);
  button(40032, QStyle::SP_ArrowForward, "次ページ");
  bar->addSeparator();
  button(40034, QStyle::SP_DialogNoButton, "このページは印刷しない");
  bar->addSeparator();
  format_list_ = new QComboBox(bar);
  format_list_->setObjectName("40040");
  format_list_->setFixedWidth(200);
  font_for(format_list_);
  bar->addWidget(format_list_);
  FillFormatList();

  connect(zoom_box_, &QLineEdit::returnPressed, this, [this] {
    const int zoom = NumberIn(zoom_box_);
    QMetaObject::invokeMethod(this, [this, zoom] { SetZoom(false, zoom); }, Qt::QueuedConnection);
    zoom_box_->selectAll();
  });
  connect(page_box_, &QLineEdit::returnPressed, this, [this] {
    const int index = NumberIn(page_box_) - 1;
    QMetaObject::invokeMethod(this, [this, index] { ShowPage(index); }, Qt::QueuedConnection);
    page_box_->selectAll();
  });
  connect(format_list_, &QComboBox::activated, this, [this](int index) { ApplyFormat(index); });
}

void TxpWin::FillFormatList() {
  format_list_->clear();
  for (const std::string& name : FormatNames(s_.formats)) format_list_->addItem(Q(name));
  format_list_->setCurrentIndex(CurrentFormatIndex(s_.formats));
}

void TxpWin::SetDocumentCommandsEnabled(bool enabled) {
  for (int id : {40036, 40037, 40002, 40025, 40026, 40034, 40027, 40028}) actions_[id]->setEnabled(enabled);
}

void TxpWin::RefreshStatus() {
  if (s_.doc.loaded) {
    status_[0]->setText(QString("全%1ページ").arg(s_.doc.pages.size()));
    status_[1]->setText(s_.doc.marked_count > 0 ? QString("%1ページ印刷しない").arg(s_.doc.marked_count)
                                                : QString("全ページ印刷する"));
  } else {
    status_[0]->clear();
    status_[1]->clear();
  }
}

void TxpWin::RefreshNavigation() {
  const int count = s_.doc.loaded ? static_cast<int>(s_.doc.pages.size()) : 0;
  if (count == 0) {
    page_box_->clear();
    for (int id : {40033, 40032}) actions_[id]->setEnabled(false);
    actions_[40034]->setChecked(false);
    return;
  }
  page_box_->setText(QString::number(s_.page + 1));
  actions_[40033]->setEnabled(s_.page > 0);
  actions_[40032]->setEnabled(s_.page < count - 1);
  actions_[40034]->setChecked(s_.doc.pages[static_cast<size_t>(s_.page)].flags & kPageNoPrint);
}

void TxpWin::RefreshZoomBox() {
  zoom_box_->setText(QString::number(s_.options.ZoomSize));
  const bool loaded = s_.doc.loaded;
  actions_[40045]->setEnabled(loaded && s_.options.ZoomSize > kZoomMin);
  actions_[40044]->setEnabled(loaded && s_.options.ZoomSize < kZoomMax);
}

bool TxpWin::LoadDocument(bool first_page) {
  const LoadResult result = s_.path.empty() ? LoadResult::CannotOpen : LoadText(s_.doc, s_.path, s_.working);
  if (result == LoadResult::Ok) {
    BuildPages(s_.doc, s_.working);
    setWindowTitle(Q(WindowTitleFor(s_.path)));
    SetDocumentCommandsEnabled(true);
    const int count = static_cast<int>(s_.doc.pages.size());
    s_.page = first_page ? 0 : std::clamp(s_.page, 0, std::max(0, count - 1));
    RefreshZoomBox();
    RedrawPreview(false);
  } else {
    if (result == LoadResult::CannotOpen) ShowMessage(this, LoadFailureMessage(s_.path));
    s_.doc.loaded = false;
    s_.doc.pages.clear();
    s_.doc.marked_count = 0;
    s_.page = 0;
    setWindowTitle("TXP");
    SetDocumentCommandsEnabled(false);
    RefreshNavigation();
    RefreshZoomBox();
    preview_->Clear();
  }
  RefreshStatus();
  return result == LoadResult::Ok;
}

void TxpWin::RedrawPreview(bool first_page) {
  if (!s_.doc.loaded || s_.doc.pages.empty()) {
    preview_->Clear();
    return;
  }
  if (first_page) s_.page = 0;
  preview_->ResetScroll();
  RefreshZoomBox();
  RefreshNavigation();
  preview_->DrawPage();
}

void TxpWin::ShowPage(int index) {
  const int count = s_.doc.loaded ? static_cast<int>(s_.doc.pages.size()) : 0;
  if (index < 0 || index >= count) {
    Beep();
    return;
  }
  s_.page = index;
  RefreshNavigation();
  preview_->DrawPage();
}

void TxpWin::NextPage() {
  if (s_.doc.loaded && s_.page < static_cast<int>(s_.doc.pages.size()) - 1) ShowPage(s_.page + 1);
}

void TxpWin::PreviousPage() {
  if (s_.doc.loaded && s_.page > 0) ShowPage(s_.page - 1);
}

void TxpWin::FirstPage() {
  if (s_.doc.loaded && !s_.doc.pages.empty()) ShowPage(0);
}

void TxpWin::LastPage() {
  if (s_.doc.loaded && !s_.doc.pages.empty()) ShowPage(static_cast<int>(s_.doc.pages.size()) - 1);
}

void TxpWin::SetZoom(bool relative, int value) {
  if (s_.doc.loaded) {
    const int before = s_.options.ZoomSize;
    const int zoom = std::clamp(relative ? before + value : value, kZoomMin, kZoomMax);
    s_.options.ZoomSize = zoom;
    if (zoom != before) RedrawPreview(false);
  }
  RefreshZoomBox();
}

void TxpWin::ToggleMark() {
  if (!s_.doc.loaded || s_.doc.pages.empty()) return;
  TogglePageMark(s_.doc, s_.page);
  RefreshNavigation();
  preview_->viewport()->update();
  RefreshStatus();
}

void TxpWin::MarkAllPages() {
  if (!s_.doc.loaded) return;
  txp::MarkAllPages(s_.doc);
  RedrawPreview(false);
  RefreshStatus();
}

void TxpWin::ClearAllMarks() {
  if (!s_.doc.loaded) return;
  ClearAllPageMarks(s_.doc);
  RedrawPreview(false);
  RefreshStatus();
}

void TxpWin::ApplyFormat(int index) {
  SetCurrentFormatIndex(s_.formats, index);
  PrintFormat& format = s_.formats.formats[static_cast<size_t>(CurrentFormatIndex(s_.formats))];
  SetMarginLimits(format);
  s_.working = format;
  if (format_list_->currentIndex() != CurrentFormatIndex(s_.formats))
    format_list_->setCurrentIndex(CurrentFormatIndex(s_.formats));
  if (s_.doc.loaded) LoadDocument(false);  // read again: a changed YenCmd takes effect
  RedrawPreview(false);
  RefreshStatus();
}

std::string TxpWin::StartEditor() {
  const int line = s_.doc.loaded && !s_.doc.pages.empty() ? s_.doc.pages[static_cast<size_t>(s_.page)].source_line : 1;
  const std::string command = BuildEditorCommand(s_.options.Editor, s_.path, line);
  if (!s_.options.Editor.empty() && !s_.path.empty()) {
    const std::vector<std::string> args = EditorArguments(command);
    if (!args.empty()) {
      auto process = std::make_unique<QProcess>();
      QStringList rest;
      for (std::size_t i = 1; i < args.size(); ++i) rest << Q(args[i]);
      process->setProgram(Q(args[0]));
      process->setArguments(rest);
      process->setProcessChannelMode(QProcess::ForwardedChannels);
      process->start();
      if (process->waitForStarted(5000)) {
        const bool was_empty = editors_.empty();
        editors_.push_back(std::move(process));
        if (was_empty) editor_timer_.start();
        return command;
      }
    }
  }
  ShowMessage(this, command, "編集できません", MessageIcon::Error);
  return command;
}

void TxpWin::EditorTick() {
  editor_timer_.stop();
  for (auto it = editors_.begin(); it != editors_.end(); ++it) {
    if ((*it)->state() == QProcess::NotRunning) {
      editors_.erase(it);
      // The editor ended: reload when asked to (also when the last load failed, since the
      // editor may just have written the file).
      QMetaObject::invokeMethod(this, [this] {
        if (s_.options.AutoReload == 1) LoadDocument(false);
      }, Qt::QueuedConnection);
      break;
    }
  }
  if (!editors_.empty()) editor_timer_.start();
}

PrintOutcome TxpWin::RunPrintJob(const PrintRequest& request) {
  PrintTarget target = s_.print_target;
  if (target.pdf_file.empty() && target.printer_name.empty()) target.printer_name = PrinterName(s_.working.printer);
  auto dialog = std::make_unique<ProgressDialog>(this, request.first, request.last);
  if (!Headless()) dialog->show();
  menuBar()->setEnabled(false);
  for (QToolBar* bar : findChildren<QToolBar*>()) bar->setEnabled(false);
  preview_->setEnabled(false);
  PrintJobHooks hooks;
  hooks.status = [&dialog](const std::string& text) { dialog->SetText(text); };
  hooks.progress = [&dialog](int index) { dialog->SetProgress(index); };
  hooks.pump = [] { QCoreApplication::processEvents(); };
  hooks.user_abort = dialog->abort_flag();
  // The job pumps window events between pages, where an editor's end may reload the file or
  // a format change lay it out again: the job prints the pages as they were when it began.
  const Document pages = s_.doc;
  const PrintFormat format = s_.working;
  printing_ = true;
  const PrintOutcome outcome = PrintThread(pages, format, request, target, s_.path, hooks);
  printing_ = false;
  menuBar()->setEnabled(true);
  for (QToolBar* bar : findChildren<QToolBar*>()) bar->setEnabled(true);
  preview_->setEnabled(true);
  dialog.reset();
  last_print_ = outcome;
  if (outcome == PrintOutcome::NoDevice) {
    ShowMessage(this, "PrintThread(): CreateDC() failed", "What !");
    // Without a completion -q would never end the program, which nobody could then close
    // on a machine without a display: end it anyway.
    if (s_.command_options & kOptionQuit) QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
    return outcome;
  }
  if (outcome == PrintOutcome::Failed) ShowNoticeDialog(this, "122", "TXP", kCouldNotPrint, "ｷｬﾝｾﾙ");
  QMetaObject::invokeMethod(this, &TxpWin::PrintingFinished, Qt::QueuedConnection);
  return outcome;
}

void TxpWin::PrintingFinished() {
  if (s_.command_options & kOptionQuit) close();
}

void TxpWin::PrintFromMenu() {
  if (!s_.doc.loaded) return;
  const int count = static_cast<int>(s_.doc.pages.size());
  PrintDialog dialog(this, count, s_.page, PrinterName(s_.working.printer));
  if (dialog.exec() != QDialog::Accepted) return;
  const PrintRequest request = dialog.Request();
  if (!CheckPagesToPrint(s_.doc, request.first, request.last)) {
    ShowNoticeDialog(this, "131", "TXP", kNoPagesToPrint, "ｷｬﾝｾﾙ");
    return;
  }
  RunPrintJob(request);
}

void TxpWin::OpenDialog() {
  const QString file = QFileDialog::getOpenFileName(this, "ファイルを開く", Q(s_.options.CurDir), "全てのﾌｧｲﾙ (*)");
  if (file.isEmpty()) return;
  s_.path = file.toStdString();
  s_.options.CurDir = QFileInfo(file).absolutePath().toStdString();
  LoadDocument(true);
}

void TxpWin::EraseAllSettings() {
  EraseStoredSettings(s_.store);
  s_.run.save_on_exit = false;
  close();
}

void TxpWin::Command(int id) {
  switch (id) {
    case 40001: OpenDialog(); break;
    case 40037: if (s_.doc.loaded) LoadDocument(false); break;
    case 40002: PrintFromMenu(); break;
    case 40036: StartEditor(); break;
    case 40023: {
      PrintFormat& format = s_.formats.formats[static_cast<size_t>(CurrentFormatIndex(s_.formats))];
      if (ShowPrinterProperties(format, this)) ApplyFormat(CurrentFormatIndex(s_.formats));
      break;
    }
    case 40005: close(); break;
    case 40006:
      FormatListDialog(this, s_);
      FillFormatList();
      ApplyFormat(CurrentFormatIndex(s_.formats));
      break;
    case 40029:
      if (EnvironmentSheet(this, s_.options, s_.help_file)) RedrawPreview(false);
      break;
    case 40033: PreviousPage(); break;
    case 40032: NextPage(); break;
    case 40025: FirstPage(); break;
    case 40026: LastPage(); break;
    case 40034: ToggleMark(); break;
    case 40027: ClearAllMarks(); break;
    case 40028: MarkAllPages(); break;
    case 40044: SetZoom(true, 10); break;
    case 40045: SetZoom(true, -10); break;
    case 40003: QDesktopServices::openUrl(QUrl::fromLocalFile(Q(s_.help_file))); break;
    case 40038: ShowCommandListDialog(this); break;
    case 40004: ShowAboutDialog(this); break;
    case 40043: if (ConfirmEraseSettings(this)) EraseAllSettings(); break;
    default: break;
  }
}

void TxpWin::HandleKey(QKeyEvent* event) {
  const QSize client = preview_->viewport()->size();
  switch (event->key()) {
    case Qt::Key_PageUp: PreviousPage(); return;
    case Qt::Key_PageDown: NextPage(); return;
    case Qt::Key_Left: preview_->ScrollBy(-client.width() / 3, 0); return;
    case Qt::Key_Right: preview_->ScrollBy(client.width() / 3, 0); return;
    case Qt::Key_Up: preview_->ScrollBy(0, -client.height() / 3); return;
    case Qt::Key_Down: preview_->ScrollBy(0, client.height() / 3); return;
    default: break;
  }
  if (event->text() == "+") {
    SetZoom(true, 10);
  } else if (event->text() == "-") {
    SetZoom(true, -10);
  } else {
    event->ignore();
  }
}

void TxpWin::keyPressEvent(QKeyEvent* event) { HandleKey(event); }

void TxpWin::closeEvent(QCloseEvent* event) {
  // The window is disabled while a job runs: only the progress dialog takes input.
  if (printing_) {
    event->ignore();
    return;
  }
  if (s_.run.save_on_exit) {
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    s_.options.WinWidth = normal.width();
    s_.options.WinHeight = normal.height();
    if (SaveSettings(s_.options, s_.formats, s_.run, s_.printers, s_.store) == SaveResult::IniNotWritable)
      ShowMessage(this, kIniNotWritableMessage);
  }
  event->accept();
}

void TxpWin::resizeEvent(QResizeEvent* event) { QMainWindow::resizeEvent(event); }

void TxpWin::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TxpWin::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  s_.path = urls.first().toLocalFile().toStdString();
  LoadDocument(true);
}

}  // namespace txp
