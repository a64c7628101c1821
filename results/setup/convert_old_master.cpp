#include "results/setup/convert_old_master.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/setup/file_replace.h"
#include "results/shell/console.h"
#include "results/shell/stops.h"

namespace {

inline constexpr const char* kMastOldFile = "MASTFILE.OLD";
constexpr int kOldSlotBytes = 16;  // departure, arrival, section, cumulative, two ranks

constexpr int old_record_length(int max_kukan) {
  return (max_kukan + 1) * kOldSlotBytes + kMastFixedBytes;
}

std::int16_t get16(const unsigned char* in) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(in[0] | (in[1] << 8)));
}

HmsTime get_time(const unsigned char* in) { return HmsTime{in[0], in[1], in[2]}; }

// One record of the older layout as a current record (input sequence numbers 0).
MastRecord from_old_record(const unsigned char* in, int max_kukan) {
  MastRecord rec;
  rec.team_no = get16(in);
  rec.open_flag = static_cast<char>(in[2]);
  rec.bumon_no = in[3];
  std::memcpy(rec.team_name, in + 4, kTeamNameSize);
  for (int k = 0; k <= max_kukan; ++k) {
    const unsigned char* slot = in + kMastFixedBytes + k * kOldSlotBytes;
    StationSlot& s = rec.slots[k];
    s.input_seq = 0;
    s.departure = get_time(slot);
    s.arrival = get_time(slot + 3);
    s.section_time = get_time(slot + 6);
    s.cumulative_time = get_time(slot + 9);
    s.section_rank = get16(slot + 12);
    s.cumulative_rank = get16(slot + 14);
  }
  return rec;
}

}  // namespace

bool convert_old_master() {
  kihon_data();
  const EventDefinition& ev = event_definition();
  const int max_kukan = ev.max_kukan;
  const int old_length = old_record_length(max_kukan);
  const int new_length = ev.sizeof_mastrec;

  TempFileGuard guard(kMastTempFile);
  {
    Stream in = open_retry(kMastFile, "rb");
    Stream out = open_retry(kMastTempFile, "w+b");
    unsigned char header[kMastHeaderBytes];
    encode_mast_header(new_mast_header(max_kukan), header);
    bool ok = out.write(header, sizeof header) == sizeof header;
    std::vector<unsigned char> old_record(old_length);
    std::vector<unsigned char> new_record(new_length);
    for (int rec_no = 0;; ++rec_no) {
      const std::size_t got = in.read(old_record.data(), old_record.size());
      if (got == 0 && !in.has_error()) break;
      if (got != old_record.size()) {
        con_print("\nfread error in convert_old_master(rec_no=%d)\n", rec_no);
        con_print("旧レコード長=%d\n", old_length);
        fatal_stop();
      }
      const MastRecord rec = from_old_record(old_record.data(), max_kukan);
      if (rec.team_no < 0 || rec.team_no > 999) {
        con_print("\n\t%s, %s と\n", kEkiFile, kBumonFile);
        con_print("\t%s が\n", kMastFile);
        con_print("\t異なる駅伝大会のものと思われます\n");
        con_print("旧レコード長=%d\n", old_length);
        con_print("新レコード長=%d\n", new_length);
        fatal_stop();
      }
      encode_mast_record(rec, max_kukan, new_record.data());
      ok = ok && out.write(new_record.data(), new_record.size()) == new_record.size();
    }
    if (!ok) {
      con_print("\n%s に書き込めません\n", kMastTempFile);
      fatal_stop();
    }
    in.close();
    // The old file stays as MASTFILE.OLD; MASTFILE.DAT is replaced in one step, so it
    // is never missing and never half-written.
    if (file_exists(kMastOldFile)) remove_or_stop(kMastOldFile);
    copy_file(kMastFile, kMastOldFile);
    replace_with(out, kMastFile);
  }
  guard.release();
  return true;
}
