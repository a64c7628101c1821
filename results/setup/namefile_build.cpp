#include "results/setup/namefile_build.h"

#include <cstring>
#include <vector>

#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/setup/convert_old_master.h"
#include "results/setup/file_replace.h"
#include "results/setup/list_file.h"
#include "results/shell/console.h"
#include "results/shell/stops.h"

namespace {

constexpr const char* kNameTempFile = "NAMEFILE.TMP";

void remove_name_temp() { remove_file(kNameTempFile); }

bool rebuild_namefile_after_rename() { return build_namefile() == 1; }

}  // namespace

int build_namefile() {
  if (!file_exists(kMastFile)) return 0;
  kihon_data();
  TeamIndex& index = mastfile_index();
  team_index_build(index);
  const EventDefinition& ev = event_definition();

  // Team numbers and divisions of the master records, in file order.
  std::vector<MastRecord> teams;
  {
    Stream mast = open_mastfile("rb");
    MastRecord rec;
    while (mast_read_next(mast, rec)) teams.push_back(rec);
  }

  TempFileGuard guard(kNameTempFile);
  Stream out = open_retry(kNameTempFile, "w+b");
  unsigned char header[kNameHeaderBytes];
  encode_name_header(new_name_header(ev.max_kukan), header);
  if (out.write(header, sizeof header) != sizeof header) {
    con_print("\n%s に書き込めません\n", kNameTempFile);
    fatal_stop();
  }
  for (std::size_t r = 0; r < teams.size(); ++r) {
    NameRecord rec;
    rec.team_no = teams[r].team_no;
    name_write(out, static_cast<int>(r), rec);
  }

  if (file_exists(kSensyuFile)) {
    bool seen[1000] = {};
    ListFileReader reader(kSensyuFile);
    std::string line;
    while (reader.next(line)) {
      ListFields fields(line, reader.separators());
      const int team_no = fields.team_no();
      const int rec_no = team_index_lookup(index, team_no);
      if (rec_no < 0 || rec_no >= static_cast<int>(teams.size())) continue;
      if (seen[team_no]) {
        con_print("\nチームＮｏ＝%d が重複しています\n", team_no);
        con_print("%d 行目\n", reader.line_no());
        fix_prompt(kSensyuFile);
      }
      const MastRecord& team = teams[rec_no];
      const int sections = team.bumon_no < ev.bumon_suu ? ev.sections[team.bumon_no] : 0;
      NameRecord rec;
      rec.team_no = team.team_no;
      ListField field;
      for (int k = 1; k <= sections && k <= kMaxSections && fields.next(field); ++k) {
        const std::string name = fields.stored(field, kRunnerNameSize);
        std::memcpy(rec.runners[k], name.data(), name.size());
      }
      name_write(out, rec_no, rec);
      seen[team_no] = true;
    }
  }
  replace_with(out, kNameFile);
  guard.release();
  return 1;
}

void install_master_maintenance() {
  set_old_master_converter(convert_old_master);
  set_namefile_rebuilder(rebuild_namefile_after_rename);
  on_fatal_stop(remove_name_temp);
}
