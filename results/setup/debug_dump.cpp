#include "results/setup/debug_dump.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/model/master_records.h"
#include "results/shell/console.h"
#include "results/shell/files.h"

namespace {

// "%02X %02X ..." of `count` bytes, in file order.
std::string hex_bytes(const unsigned char* bytes, int count) {
  std::string text;
  char two[4];
  for (int i = 0; i < count; ++i) {
    std::snprintf(two, sizeof two, "%02X", bytes[i]);
    if (i > 0) text += ' ';
    text += two;
  }
  return text;
}

void dump_slot(Stream& out, const unsigned char* slot) {
  out.printf("入力連番=%s,", hex_bytes(slot, 2).c_str());
  out.printf("出発時刻=%s,", hex_bytes(slot + 2, 3).c_str());
  out.printf("到着時刻=%s,", hex_bytes(slot + 5, 3).c_str());
  out.printf("区間時間=%s,", hex_bytes(slot + 8, 3).c_str());
  out.printf("通算時間=%s,", hex_bytes(slot + 11, 3).c_str());
  out.printf("区間順位=%s,", hex_bytes(slot + 14, 2).c_str());
  out.printf("通算順位=%s\n", hex_bytes(slot + 16, 2).c_str());
}

}  // namespace

void debug_dump() {
  const EventDefinition& ev = event_definition();
  Stream in = open_retry(kMastFile, "rb");
  Stream out = open_retry(kDebugDumpFile, "wb");
  unsigned char header[kMastHeaderBytes] = {};
  if (in.read(header, sizeof header) == sizeof header) {
    const MastHeader h = decode_mast_header(header);
    out.printf("version=%.3s\n", reinterpret_cast<const char*>(header));
    out.printf("max_kukan=%d\n", h.max_kukan);
    out.printf("rec_len=%d\n", h.rec_len);
  }
  const int length = ev.sizeof_mastrec;
  if (length >= kMastFixedBytes) {
    std::vector<unsigned char> rec(static_cast<std::size_t>(length));
    while (in.read(rec.data(), rec.size()) == rec.size()) {
      const int division = rec[3];
      char name[kTeamNameSize] = {};
      std::memcpy(name, rec.data() + 4, kTeamNameSize - 1);
      out.printf("チームNo=%s,", hex_bytes(rec.data(), 2).c_str());
      out.printf("オープン参加=%02X,", rec[2]);
      out.printf("部門No=%02X,", rec[3]);
      out.printf("チーム名=%s\n", name);
      // A division the race description does not know shows every slot of the record.
      const int slots_in_record = (length - kMastFixedBytes) / kSlotBytes - 1;
      const int last = division < ev.bumon_suu ? ev.sections[division] : slots_in_record;
      for (int i = 0; i <= last && i <= slots_in_record; ++i) {
        dump_slot(out, rec.data() + kMastFixedBytes + i * kSlotBytes);
      }
      out.printf("\n");
    }
  }
  close_or_stop(out);
  close_or_stop(in);
}

void debug_dump_entry() {
  clear_screen();
  kihon_data();
  debug_dump();
}
