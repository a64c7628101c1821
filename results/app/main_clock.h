// The date and time on the main menu, row 1 from column 48. Only the characters that
// changed since the last tick are written, so the screen does not flicker.
#pragma once
#include <ctime>
#include <string>

inline constexpr int kClockRow = 1;
inline constexpr int kClockColumn = 48;

class MainClock {
 public:
  // Forgets what is on the screen, so the next tick writes the whole text.
  void clear() { shown_.clear(); }
  // Writes "YYYY/MM/DD  HH:MM:SS" for the given local time, character by character
  // where it differs from what was written last. The cursor is left where it was not
  // put back: the caller places it.
  void tick(const std::tm& now);
  const std::string& shown() const { return shown_; }

 private:
  std::string shown_;
};

// The clock text of a local time: date and time joined by two blanks.
std::string clock_text(const std::tm& now);
// The current local time.
std::tm local_now();
