#include "results/setup/import_times.h"

#include <cstdint>

#include "results/entry/time_entry.h"
#include "results/entry/warnings.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/shell/console.h"
#include "results/shell/files.h"

namespace {

constexpr const char* kConfirm = "上のメッセージを確認したら Y を入力";

// The two headers differ in one value: the messages, the confirmation.
void report_mismatch(const std::string& destination, const std::string& source,
                     const char* what, int destination_value, int source_value) {
  beep();
  con_print("%s の%sは %d\n", destination.c_str(), what, destination_value);
  con_print("%s の%sは %d\n", source.c_str(), what, source_value);
  con_print("%sが異なっています\n", what);
  con_print("取り込み処理は行いませんでした。\n");
  ask_choice(kConfirm, "Yy");
}

MastHeader read_header(const std::string& file) {
  MastHeader header;
  Stream stream = mast_open(file, "rb", header);
  return header;
}

bool has_entry(const StationSlot& slot) {
  return hms_is_valid(slot.arrival) || hms_is_valid(slot.departure);
}

// The source slot that holds the times of the destination's slot k: the same slot when
// the team runs the same course in both files; when its division changed (TEAM.TXT was
// corrected between builds), the slot of the same station on the old division's course,
// or -1 when the old course does not use that station. Times therefore always stay at
// the station where they were taken.
int source_slot(const MastRecord& destination, const MastRecord& source, int k) {
  const EventDefinition& ev = event_definition();
  const int to = destination.bumon_no;
  const int from = source.bumon_no;
  if (to == from || to < 0 || from < 0 || to >= ev.bumon_suu || from >= ev.bumon_suu) return k;
  const int station = ev.log_to_phy[to][k];
  return station < 0 ? -1 : ev.phy_to_log[from][station];
}

}  // namespace

int import_times(const std::string& destination, const std::string& source) {
  if (same_file(destination, source) == 0) {
    beep();
    con_print("%s と %s は同じファイルです。\n", destination.c_str(), source.c_str());
    con_print("取り込み処理は行いませんでした。\n");
    ask_choice(kConfirm, "Yy");
    return -1;
  }
  const MastHeader to = read_header(destination);
  const MastHeader from = read_header(source);
  if (to.max_kukan != from.max_kukan) {
    report_mismatch(destination, source, "区間数", to.max_kukan, from.max_kukan);
    return 1;
  }
  if (to.rec_len != from.rec_len) {
    report_mismatch(destination, source, "レコード長", to.rec_len, from.rec_len);
    return 2;
  }

  int copied = 0;
  {
    TeamIndex source_index(source);
    team_index_build(source_index);
    const unsigned offset = max_input_seq(destination);
    MastHeader header;
    Stream in = mast_open(source, "rb", header);
    Stream out = mast_open(destination, "r+b", header);
    MastRecord rec;
    MastRecord old;
    const int slots = std::min<int>(to.max_kukan, kMaxSections);
    while (mast_read_next(out, rec)) {
      if (rec.team_no < 0 || rec.team_no > 999) {
        con_print("チームNo＝%d が不正\n", rec.team_no);
        continue;
      }
      const int rec_no = source_index.rec_no[rec.team_no];
      if (rec_no < 0) {
        con_print("チームＮｏ＝%d：引き継ぎ元 %s に無し\n", rec.team_no, source.c_str());
        continue;
      }
      mast_read_with(in, rec_no, from, old);
      for (int k = 0; k <= slots; ++k) {
        const int j = source_slot(rec, old, k);
        if (j < 0 || j > slots) continue;
        StationSlot& slot = rec.slots[k];
        const StationSlot& other = old.slots[j];
        if (has_entry(slot) || !has_entry(other)) continue;  // entered data always wins
        slot = other;
        slot.input_seq = static_cast<std::int16_t>(
            static_cast<std::uint16_t>(offset + static_cast<std::uint16_t>(other.input_seq)));
        ++copied;
      }
      mast_rewrite(out, rec);
    }
    close_or_stop(out);
  }
  con_print("%d 件のタイムを取り込みました\n", copied);
  ask_choice(kConfirm, "Yy");
  speed_check_all(destination);
  return 0;
}

void import_times_dialogue() {
  clear_screen();
  show_working_folder(0, 2);
  for (;;) {
    con_print("\n入力ファイル＝");
    std::string name;
    if (read_text_line(name, 500) < 0) return;
    if (!file_exists(name)) {
      beep();
      continue;
    }
    if (import_times(kMastFile, name) != -1) return;
    con_print("\n");
  }
}
