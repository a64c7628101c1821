// The team-by-team check on the console, and the printed team counts per division.
#include <cstdlib>
#include <cstring>
#include <string>

#include "results/entry/check_lists.h"
#include "results/entry/check_lists_common.h"
#include "results/entry/team_count.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/num_input.h"
#include "results/shell/options.h"
#include "results/shell/output.h"

namespace {

constexpr int kTeamNoWidth = 3;

void show_team(int rec_no) {
  const EventDefinition& ev = event_definition();
  MastRecord rec;
  NameRecord names;
  {
    Stream mast = open_mastfile("rb");
    mast_read(mast, rec_no, rec);
    Stream names_file = open_retry(kNameFile, "rb");
    name_read(names_file, rec_no, names);
  }
  if (rec.bumon_no >= ev.bumon_suu) return;
  const int d = rec.bumon_no;
  const int n = ev.sections[d];
  char team_name[kTeamNameSize] = {};
  std::memcpy(team_name, rec.team_name, kTeamNameSize - 1);
  con_print(" %s （%s）", team_name, ev.division_names[d]);
  if (rec.open_flag == '1') con_write("（オープン参加）");
  con_write("\n");
  con_print("%*s%*s\n", 36, "到着時刻", 10, "出発時刻");
  for (int i = 0; i <= n; ++i) {
    if (i == 0) {
      con_write("スタート    : ");
    } else if (i == n) {
      con_write("ゴール      : ");
    } else {
      con_print("第%2d 中継所 : ", i);
    }
    const int p = ev.log_to_phy[d][i];
    con_print("%-*s ", 12, p >= 0 ? ev.station_names[p] : "");
    con_write(check_time_text(rec.slots[i].arrival));
    con_write(" ");
    con_write(check_time_text(rec.slots[i].departure));
    if (i > 0) {
      char runner[kRunnerNameSize] = {};
      std::memcpy(runner, names.runners[i], kRunnerNameSize - 1);
      con_print(" %2d区 %s", i, runner);
    }
    con_write("\n");
  }
}

}  // namespace

void team_screen_check() {
  clear_screen();
  for (;;) {
    con_write("\nチームＮｏ＝");
    std::string text;
    const int typed = num_input(text, kTeamNoWidth, nullptr, HINT_ESC | HINT_F5);
    if (typed == NUM_INPUT_ESC) return;
    if (typed <= 0) {
      beep();
      continue;
    }
    const int team_no = std::atoi(text.c_str());
    const int rec_no = team_index_lookup(mastfile_index(), team_no);
    if (rec_no < 0) {
      set_colour(kAttrRed);
      con_print("ナンバー=%d エラー", team_no);
      set_colour(kAttrDefault);
      beep();
      continue;
    }
    show_team(rec_no);
  }
}

void team_count_list() {
  Stream& out = open_fpout();
  out.printf("\n*** %s  部門別チーム数一覧表 ***  %s\n", event_title().c_str(),
             date_time_text().c_str());
  team_count_body(kMastFile, &out);
  write_page_break();
  closefpout_and_callprt("PRINTCMD95");
}
