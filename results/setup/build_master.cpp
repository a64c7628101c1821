#include "results/setup/build_master.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "results/entry/start_time.h"
#include "results/entry/team_count.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/setup/file_replace.h"
#include "results/setup/import_times.h"
#include "results/setup/list_file.h"
#include "results/setup/namefile_build.h"
#include "results/shell/console.h"
#include "results/shell/stops.h"

namespace {

constexpr std::size_t kTeamNameBytes = kTeamNameSize;  // 24 bytes and the NUL

// One team of TEAM.TXT as written, before the checks.
struct TeamEntry {
  int team_no = 0;
  int division = 0;  // as written, 1 .. bumon_suu when valid
  bool open = false;
  std::string name;
};

[[noreturn]] void team_line_error(const char* message, int line_no) {
  con_print("%s", message);
  con_print("ファイル \"%s\" の %d行目\n", kTeamFile, line_no);
  fix_prompt(kTeamFile);
}

// First pass: every data line of TEAM.TXT as a team entry.
std::vector<TeamEntry> read_team_list() {
  std::vector<TeamEntry> teams;
  ListFileReader reader(kTeamFile);
  std::string line;
  while (reader.next(line)) {
    ListFields fields(line, reader.separators());
    TeamEntry team;
    team.team_no = fields.team_no();

    ListField name;
    if (!fields.next(name)) team_line_error("\nチーム名がありません\n", reader.line_no());
    team.name = fields.stored(name, kTeamNameBytes);
    if (team.name.empty()) team_line_error("\nチーム名がありません\n", reader.line_no());

    ListField division;
    if (!fields.next(division)) {
      team_line_error("\n部門Ｎｏの指定がありません(1)\n", reader.line_no());
    }
    const std::string division_text = fields.stored(division, 32);
    if (division_text.empty() || !std::isdigit(static_cast<unsigned char>(division_text[0]))) {
      team_line_error("\n部門Ｎｏの指定がありません(2)\n", reader.line_no());
    }
    team.division = 0;
    for (std::size_t i = 0; i < division_text.size() && std::isdigit(static_cast<unsigned char>(division_text[i])); ++i) {
      if (team.division < 10000) team.division = team.division * 10 + (division_text[i] - '0');
    }
    // "open" anywhere after the division number marks an open entry.
    team.open = line.find("open", division.start) != std::string::npos;

    if (team.name != name.written) {
      con_print("\"%s\" → \"%s\"\n", name.written.c_str(), team.name.c_str());
    }
    teams.push_back(std::move(team));
  }
  return teams;
}

// Validation pass: lists every invalid team; any goes to fix_prompt.
void validate_teams(const std::vector<TeamEntry>& teams) {
  const EventDefinition& ev = event_definition();
  bool seen[1000] = {};
  bool any_invalid = false;
  for (const TeamEntry& team : teams) {
    const bool in_range = team.team_no >= 0 && team.team_no <= 999;
    const bool duplicate = in_range && seen[team.team_no];
    if (in_range) seen[team.team_no] = true;
    const bool division_ok = team.division >= 1 && team.division <= ev.bumon_suu;
    if (in_range && !duplicate && division_ok) continue;
    any_invalid = true;
    con_print("%d %s %d\n    ", team.team_no, team.name.c_str(), team.division);
    if (duplicate) con_print("チームNo（%d）が重複している。", team.team_no);
    if (!in_range) con_print("チームNoは３桁以内。");
    if (!division_ok) con_print("部門No（%d）不正。", team.division);
    con_print("\n");
  }
  if (teams.empty()) no_data_prompt(kTeamFile);
  if (any_invalid) fix_prompt(kTeamFile);
}

// Sort pass: MASTFILE.TMP with one fresh record per team, by division and team number.
Stream write_new_master(std::vector<TeamEntry>& teams) {
  const EventDefinition& ev = event_definition();
  if (teams.size() > static_cast<std::size_t>(kMaxTeams)) {
    con_print("チーム数 > %d\n", kMaxTeams);
    fatal_stop();
  }
  std::stable_sort(teams.begin(), teams.end(), [](const TeamEntry& a, const TeamEntry& b) {
    return a.division != b.division ? a.division < b.division : a.team_no < b.team_no;
  });

  Stream out = open_retry(kMastTempFile, "wb");
  unsigned char header[kMastHeaderBytes];
  encode_mast_header(new_mast_header(ev.max_kukan), header);
  std::vector<unsigned char> buffer(ev.sizeof_mastrec);
  bool ok = out.write(header, sizeof header) == sizeof header;
  int written = 0;
  for (const TeamEntry& team : teams) {
    MastRecord rec;  // every slot as a fresh record has it
    rec.team_no = static_cast<std::int16_t>(team.team_no);
    rec.open_flag = team.open ? '1' : '0';
    rec.bumon_no = static_cast<std::uint8_t>(team.division - 1);
    std::memcpy(rec.team_name, team.name.data(), std::min(team.name.size(), kTeamNameBytes - 1));
    encode_mast_record(rec, ev.max_kukan, buffer.data());
    ok = ok && out.write(buffer.data(), buffer.size()) == buffer.size();
    write_probe("record", ++written);
  }
  if (!ok || !out.flush()) {
    con_print("\n%s に書き込めません\n", kMastTempFile);
    fatal_stop();
  }
  return out;
}

// Step 8: the carry-over question. Returns false when the user declined the build;
// `carried` tells whether the old times came over.
bool ask_carry_over(bool& carried) {
  carried = false;
  if (!file_exists(kMastFile)) return true;
  con_print("\n");
  const int answer = ask_choice("\t旧 MASTFILE.DAT のタイムデータを引き継ぎますか？（Y / N）", "YyNn");
  if (answer == 'Y' || answer == 'y') {
    if (import_times(kMastTempFile, kMastFile) == 0) {
      carried = true;
    } else {
      con_print("引き継げませんでした\n");
    }
  } else {
    const int sure = ask_choice("\n\tタイムデータがすべて初期化されます\n\t実行しますか？（Y / N）", "YyNn");
    if (sure == 'N' || sure == 'n') return false;
  }
  con_print("\n");
  return true;
}

}  // namespace

int build_master(bool interactive) {
  clear_screen();
  show_working_folder(0, 0);
  con_print("\n\n\t");
  if (interactive) {
    con_print("%s, %s, %s から\n", kEkiFile, kBumonFile, kTeamFile);
    con_print("\t%s を作り直します\n", kMastFile);
    const int answer = ask_choice("\t実行しますか？（Y / N）", "YyNn");
    if (answer == 'N' || answer == 'n') return 0;
  } else {
    con_print("%s, %s, %s のどれかが\n", kEkiFile, kBumonFile, kTeamFile);
    con_print("\t%s より新しくなっていますので\n", kMastFile);
    con_print("\t%s を作り直します\n", kMastFile);
    ::sleep(1);
  }
  con_print("\n\t作成中・・・\n");
  kihon_data();

  TempFileGuard temp_guard(kMastTempFile);
  std::vector<TeamEntry> teams = read_team_list();
  validate_teams(teams);
  Stream temp = write_new_master(teams);
  temp.close();

  team_count_body(kMastTempFile, nullptr);
  bool carried = false;
  if (!ask_carry_over(carried)) return 0;  // the guard removes MASTFILE.TMP

  // The start times go into the new file before it replaces the old one, so that the
  // replacement is one step.
  if (!carried) {
    start_time_register(kMastTempFile);
    con_print("\n\n");
  }
  // The name file follows the record order of the master file: it goes first, so that
  // a stop in between leaves none (rebuilt by the idle check) rather than a wrong one.
  if (file_exists(kNameFile)) remove_file(kNameFile);
  Stream final_temp = open_retry(kMastTempFile, "r+b");
  replace_with(final_temp, kMastFile);
  temp_guard.release();

  kihon_data();
  con_print("\t%s を作り直しました\n", kMastFile);
  if (build_namefile()) con_print("\t%s を作り直しました\n", kNameFile);
  ask_choice("メニューへ戻ります（Y）", "Yy");
  return 1;
}

void master_build_dialogue() { build_master(true); }
