#include "results/entry/start_time.h"

#include "results/model/event_definition.h"
#include "results/model/hms_time.h"
#include "results/shell/console.h"
#include "results/shell/num_input.h"

namespace {

void print_start_prompt(const EventDefinition& ev, int i) {
  con_print("%2d: %-26s のスタート時刻＝", i + 1, ev.division_names[i]);
}

}  // namespace

void start_time_entry() {
  EventDefinition& ev = event_definition();
  clear_screen();
  show_submenu_header();
  con_print("\n\n第１走者のスタート時刻入力\n");
  for (int i = 0; i < ev.bumon_suu; ++i) {
    for (;;) {
      print_start_prompt(ev, i);
      std::string text;
      const int n = num_input(text, 6, nullptr, HINT_ESC | HINT_F5);
      if (n == NUM_INPUT_ESC) return;  // the times typed so far stay in memory only
      HmsTime start{};
      if (n > 0 && hms_parse(start, text.c_str()) && hms_is_valid(start)) {
        ev.start_times[i] = start;
        break;
      }
      beep();  // the prompt again, on its own row
      const int row = cursor_position().row;
      clear_row(row);
      move_cursor(row, 0);
    }
  }
  clear_screen();
  start_time_register();
}

void start_time_register(const std::string& master_file) {
  const EventDefinition& ev = event_definition();
  for (int i = 0; i < ev.bumon_suu; ++i) {
    con_print("\n");
    print_start_prompt(ev, i);
    std::string text;
    hms_format(ev.start_times[i], text, 9, 0, "NoData");
    con_write(text);
  }
  const int answer = ask_choice("\n上のスタート時刻を登録しますか？（Y / N）", "YyNn");
  if (answer == 'N' || answer == 'n') return;

  MastHeader header;
  Stream mast = mast_open(master_file, "r+b", header);
  MastRecord rec;
  while (mast_read_next(mast, rec)) {
    if (rec.bumon_no >= kMaxDivisions) continue;
    rec.slots[0].departure = ev.start_times[rec.bumon_no];
    rec.slots[0].arrival = ev.start_times[rec.bumon_no];
    mast_rewrite(mast, rec);
  }
  close_or_stop(mast);
}
