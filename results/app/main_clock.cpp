#include "results/app/main_clock.h"

#include <cstdio>

#include "results/shell/console.h"

std::string clock_text(const std::tm& now) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d  %02d:%02d:%02d", now.tm_year + 1900,
                now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
  return text;
}

std::tm local_now() {
  const std::time_t t = std::time(nullptr);
  std::tm now{};
  localtime_r(&t, &now);
  return now;
}

void MainClock::tick(const std::tm& now) {
  const std::string text = clock_text(now);
  if (shown_.size() < text.size()) shown_.resize(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (shown_[i] == text[i]) continue;
    move_cursor(kClockRow, kClockColumn + static_cast<int>(i));
    con_write(std::string_view(&text[i], 1));
    shown_[i] = text[i];
  }
}
