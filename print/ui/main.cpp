// txp: lays plain text out into pages, previews and prints them.
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "print/ui/feedback.h"
#include "print/ui/startup.h"

int main(int argc, char** argv) {
  std::vector<std::string> tokens(argv + 1, argv + argc);
  // Printing from a plain terminal (no display at all): Qt's offscreen platform.
  const bool no_display = !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
  if (no_display && !std::getenv("QT_QPA_PLATFORM")) {
    if (!txp::WantsPrint(tokens)) {
      // Without a display a window cannot be shown; say so instead of Qt aborting.
      std::fprintf(stderr, "TXP: %s\n", txp::kNoDisplayMessage);
      return 1;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName("TXP");
  txp::SetHeadless(QGuiApplication::platformName() == "offscreen");
  return txp::RunTxp(tokens, QCoreApplication::applicationDirPath().toStdString());
}
