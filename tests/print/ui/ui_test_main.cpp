// The window tests need one QApplication for the whole run; settings go to a scratch HOME.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char pattern[] = "/tmp/txp-ui-home-XXXXXX";
  const std::filesystem::path home = mkdtemp(pattern);
  setenv("HOME", home.c_str(), 1);
  setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::filesystem::remove_all(home);
  return result;
}
