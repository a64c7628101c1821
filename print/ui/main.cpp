// txp: lays plain text out into pages, previews and prints them.
#include <QApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <string>
#include <vector>

#include "print/ui/feedback.h"
#include "print/ui/startup.h"

int main(int argc, char** argv) {
  std::vector<std::string> tokens(argv + 1, argv + argc);
  // Printing from a plain terminal (no display at all): Qt's offscreen platform.
  const bool no_display = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
  if (no_display && !std::getenv("QT_QPA_PLATFORM") && txp::WantsPrint(tokens))
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  QApplication::setApplicationName("TXP");
  txp::SetHeadless(QGuiApplication::platformName() == "offscreen");
  return txp::RunTxp(tokens, QCoreApplication::applicationDirPath().toStdString());
}
