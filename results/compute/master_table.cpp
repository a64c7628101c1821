#include "results/compute/master_table.h"

#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/shell/console.h"
#include "results/shell/stops.h"

std::vector<MastRecord> load_master_table() {
  const EventDefinition& ev = event_definition();
  const int length = ev.sizeof_mastrec;
  Stream mast = open_mastfile("rb");
  std::vector<MastRecord> records;
  if (length <= 0 || length > kMaxMastRecordBytes || !mast.seek(0, SEEK_END)) {
    // Let the record operation report the impossible length or position.
    MastRecord rec;
    mast_read(mast, 0, rec);
    return records;
  }
  const long bytes = mast.tell() - kMastHeaderBytes;
  const long count = bytes > 0 ? bytes / length : 0;
  std::vector<unsigned char> buffer(static_cast<std::size_t>(count) * length);
  if (!mast.seek(kMastHeaderBytes, SEEK_SET) ||
      mast.read(buffer.data(), buffer.size()) != buffer.size() || bytes % length != 0) {
    MastRecord rec;
    mast_read(mast, static_cast<int>(count), rec);  // reports the failure and stops
  }
  records.resize(static_cast<std::size_t>(count));
  for (long r = 0; r < count; ++r)
    decode_mast_record(buffer.data() + r * length, ev.max_kukan, records[static_cast<std::size_t>(r)]);
  close_or_stop(mast);
  return records;
}

void store_master_table(const std::vector<MastRecord>& records) {
  const EventDefinition& ev = event_definition();
  const int length = ev.sizeof_mastrec;
  if (length <= 0 || length > kMaxMastRecordBytes) {
    con_print("\nsizeof_mastrec=%d error in store_master_table\n", length);
    fatal_stop();
  }
  std::vector<unsigned char> buffer(records.size() * length);
  for (std::size_t r = 0; r < records.size(); ++r)
    encode_mast_record(records[r], ev.max_kukan, buffer.data() + r * length);
  Stream mast = open_mastfile("r+b");
  if (!mast.seek(kMastHeaderBytes, SEEK_SET)) {
    con_print("\nfseek error in store_master_table\n");
    fatal_stop();
  }
  if (mast.write(buffer.data(), buffer.size()) != buffer.size()) {
    con_print("\nfwrite error in store_master_table\n");
    fatal_stop();
  }
  close_or_stop(mast);
}
