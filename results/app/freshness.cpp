#include "results/app/freshness.h"

#include <initializer_list>

#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/setup/build_master.h"
#include "results/setup/namefile_build.h"
#include "results/shell/console.h"
#include "results/shell/files.h"
#include "results/shell/stops.h"

namespace {

// The automatic rebuild of MASTFILE.DAT from the race files; non-zero when it rebuilt
// the file.
int rebuild_master_automatic() { return build_master(false); }

// Rebuilds NAMEFILE.DAT from SENSYU.TXT, tells the user and returns to the main menu.
int rebuild_name_file_and_return() {
  clear_screen();
  show_working_folder(0, 0);
  move_cursor(3, 0);
  if (build_namefile()) con_print("\t%s を作り直しました(2)\n\n", kNameFile);
  ask_choice("メニューへ戻ります（Y）", "Yy");
  back_to_main_menu();
}

}  // namespace

bool master_file_stale() {
  const std::uint32_t master = file_time(kMastFile);
  for (const char* source : {kEkiFile, kBumonFile, kTeamFile}) {
    if (compare_file_times(master, file_time(source)) < 0) return true;
  }
  return false;
}

bool name_file_stale() {
  if (!file_exists(kNameFile)) return true;
  return compare_file_times(file_time(kNameFile), file_time(kSensyuFile)) < 0;
}

int freshness_check() {
  if (master_file_stale()) {
    const int rebuilt = rebuild_master_automatic();
    if (rebuilt != 0) return rebuilt;
  }
  if (!file_exists(kMastFile) || !name_file_stale()) return 0;
  return rebuild_name_file_and_return();
}
