#include "print/ui/feedback.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QString>
#include <cstdio>

namespace txp {

namespace {
bool g_headless = false;
BeepHook g_beep;
MessageHook g_message;
}  // namespace

bool Headless() { return g_headless; }
void SetHeadless(bool headless) { g_headless = headless; }

void SetFeedbackHooks(BeepHook beep, MessageHook message) {
  g_beep = std::move(beep);
  g_message = std::move(message);
}

void Beep() {
  if (g_beep) {
    g_beep();
    return;
  }
  QApplication::beep();
}

void ShowMessage(QWidget* parent, const std::string& text, const std::string& caption, MessageIcon icon) {
  if (g_message) {
    g_message(text, caption);
    return;
  }
  if (g_headless) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return;
  }
  QMessageBox box(parent);
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  switch (icon) {
    case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

void ShowNoticeDialog(QWidget* parent, const char* id, const std::string& caption,
                      const std::string& text, const std::string& button) {
  if (g_message) {
    g_message(text, caption);
    return;
  }
  if (g_headless) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    return;
  }
  QDialog dialog(parent);
  dialog.setObjectName(id);
  dialog.setWindowTitle(QString::fromStdString(caption));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(QString::fromStdString(text), &dialog));
  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QString::fromStdString(button), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  dialog.exec();
}

std::unique_ptr<QDialog> ShowGatheringPrinterInfo(QWidget* parent) {
  if (Headless()) return nullptr;
  auto dialog = std::make_unique<QDialog>(parent);
  dialog->setObjectName("121");
  dialog->setWindowTitle("TXP");
  auto* layout = new QVBoxLayout(dialog.get());
  layout->addWidget(new QLabel("プリンタ情報取得中です。\nしばらくお待ちください。", dialog.get()));
  dialog->show();
  QCoreApplication::processEvents();
  return dialog;
}

}  // namespace txp
