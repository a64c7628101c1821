// The record layouts of MASTFILE.DAT and NAMEFILE.DAT and their byte forms.
// Both files are little-endian with fixed-length records; the number of slots in a
// master record and of names in a name record follows max_kukan of the race.
// These are plain data: the file operations live in master_file.h.
#pragma once
#include <cstdint>

#include "results/model/event_definition.h"
#include "results/model/hms_time.h"

constexpr int kMastHeaderBytes = 7;   // "4.0", max_kukan, rec_len
constexpr int kNameHeaderBytes = 6;   // format mark, max_kukan, name width
constexpr int kTeamNameSize = 25;     // 24 bytes and a NUL
constexpr int kMaxTeams = 500;        // records in one master file
constexpr int kMaxMastRecordBytes = (kMaxSections + 1) * kSlotBytes + kMastFixedBytes;  // 407
constexpr int kMaxNameRecordBytes = kMaxSections * kRunnerNameSize + 2;                // 422
inline constexpr char kMastVersion[3] = {'4', '.', '0'};
constexpr std::int16_t kNameFormatMark = -1;  // current NAMEFILE.DAT format

// One logical index of a team's course (slot 0 its start, slot k the end of section k).
struct StationSlot {
  std::int16_t input_seq = 0;          // 入力連番
  HmsTime departure = kHmsNone;        // 出発時刻
  HmsTime arrival = kHmsNone;          // 到着時刻
  HmsTime section_time = {};           // 区間時間
  HmsTime cumulative_time = {};        // 通算時間
  std::int16_t section_rank = -1;      // 区間順位
  std::int16_t cumulative_rank = -1;   // 通算順位
};

// One team of MASTFILE.DAT. Only slots 0 to max_kukan are stored in the file; the
// default values are those of a freshly built record.
struct MastRecord {
  std::int16_t team_no = 0;                  // 1 to 999
  char open_flag = '0';                      // '1': open entry (never ranked)
  std::uint8_t bumon_no = 0;                 // division index, from 0
  char team_name[kTeamNameSize] = {};        // NUL-terminated, rest zero
  StationSlot slots[kMaxSections + 1] = {};
};

// One team of NAMEFILE.DAT: runners[k] is the runner of section k (1 to max_kukan);
// runners[0] is not stored.
struct NameRecord {
  std::int16_t team_no = 0;
  char runners[kMaxSections + 1][kRunnerNameSize] = {};
};

struct MastHeader {
  char version[3] = {'4', '.', '0'};
  std::int16_t max_kukan = 0;
  std::int16_t rec_len = 0;
};

struct NameHeader {
  std::int16_t format_mark = kNameFormatMark;
  std::int16_t max_kukan = 0;
  std::int16_t name_width = kRunnerNameSize;
};

// File offsets of record r.
constexpr long mast_record_offset(int rec_no, int rec_len) {
  return kMastHeaderBytes + static_cast<long>(rec_no) * rec_len;
}
constexpr long name_record_offset(int rec_no, int namerec_len) {
  return kNameHeaderBytes + static_cast<long>(rec_no) * namerec_len;
}

// Byte forms. `max_kukan` (0 to 20) says how many slots or names are stored; the
// buffers hold mast_record_length / name_record_length (max_kukan) bytes.
void encode_mast_record(const MastRecord& rec, int max_kukan, unsigned char* out);
void decode_mast_record(const unsigned char* in, int max_kukan, MastRecord& rec);
void encode_name_record(const NameRecord& rec, int max_kukan, unsigned char* out);
void decode_name_record(const unsigned char* in, int max_kukan, NameRecord& rec);
void encode_mast_header(const MastHeader& header, unsigned char out[kMastHeaderBytes]);
MastHeader decode_mast_header(const unsigned char in[kMastHeaderBytes]);
void encode_name_header(const NameHeader& header, unsigned char out[kNameHeaderBytes]);
NameHeader decode_name_header(const unsigned char in[kNameHeaderBytes]);

// True when the header carries the current version "4.0".
bool mast_header_is_current(const MastHeader& header);

// The headers of new files built for `max_kukan` sections.
MastHeader new_mast_header(int max_kukan);
NameHeader new_name_header(int max_kukan);

// Section k of a team (1 .. its number of sections): arrival[k] - departure[k-1] by time
// subtraction, or 0:00:00 when that gives no set time (a time missing, or an arrival not
// after the departure). Shared by the computation and the speed check.
HmsTime compute_section_time(const MastRecord& rec, int k);
