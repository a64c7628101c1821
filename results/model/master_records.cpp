#include "results/model/master_records.h"

#include <cstring>

namespace {

void put16(unsigned char* out, std::int16_t value) {
  const auto bits = static_cast<std::uint16_t>(value);
  out[0] = static_cast<unsigned char>(bits & 0xFF);
  out[1] = static_cast<unsigned char>(bits >> 8);
}

std::int16_t get16(const unsigned char* in) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(in[0] | (in[1] << 8)));
}

void put_time(unsigned char* out, const HmsTime& t) {
  out[0] = t.hours;
  out[1] = t.minutes;
  out[2] = t.seconds;
}

HmsTime get_time(const unsigned char* in) {
  HmsTime t{};
  t.hours = in[0];
  t.minutes = in[1];
  t.seconds = in[2];
  return t;
}

// Slots and names stored for a record: max_kukan kept inside the arrays.
int clamp_sections(int max_kukan) {
  if (max_kukan < 0) return 0;
  return max_kukan > kMaxSections ? kMaxSections : max_kukan;
}

}  // namespace

void encode_mast_record(const MastRecord& rec, int max_kukan, unsigned char* out) {
  const int kukan = clamp_sections(max_kukan);
  put16(out, rec.team_no);
  out[2] = static_cast<unsigned char>(rec.open_flag);
  out[3] = rec.bumon_no;
  std::memcpy(out + 4, rec.team_name, kTeamNameSize);
  for (int k = 0; k <= kukan; ++k) {
    unsigned char* slot = out + kMastFixedBytes + k * kSlotBytes;
    const StationSlot& s = rec.slots[k];
    put16(slot, s.input_seq);
    put_time(slot + 2, s.departure);
    put_time(slot + 5, s.arrival);
    put_time(slot + 8, s.section_time);
    put_time(slot + 11, s.cumulative_time);
    put16(slot + 14, s.section_rank);
    put16(slot + 16, s.cumulative_rank);
  }
}

void decode_mast_record(const unsigned char* in, int max_kukan, MastRecord& rec) {
  const int kukan = clamp_sections(max_kukan);
  rec = MastRecord{};
  rec.team_no = get16(in);
  rec.open_flag = static_cast<char>(in[2]);
  rec.bumon_no = in[3];
  std::memcpy(rec.team_name, in + 4, kTeamNameSize);
  rec.team_name[kTeamNameSize - 1] = '\0';  // a damaged record never yields an open string
  for (int k = 0; k <= kukan; ++k) {
    const unsigned char* slot = in + kMastFixedBytes + k * kSlotBytes;
    StationSlot& s = rec.slots[k];
    s.input_seq = get16(slot);
    s.departure = get_time(slot + 2);
    s.arrival = get_time(slot + 5);
    s.section_time = get_time(slot + 8);
    s.cumulative_time = get_time(slot + 11);
    s.section_rank = get16(slot + 14);
    s.cumulative_rank = get16(slot + 16);
  }
}

void encode_name_record(const NameRecord& rec, int max_kukan, unsigned char* out) {
  const int kukan = clamp_sections(max_kukan);
  put16(out, rec.team_no);
  for (int k = 1; k <= kukan; ++k) {
    std::memcpy(out + 2 + (k - 1) * kRunnerNameSize, rec.runners[k], kRunnerNameSize);
  }
}

void decode_name_record(const unsigned char* in, int max_kukan, NameRecord& rec) {
  const int kukan = clamp_sections(max_kukan);
  rec = NameRecord{};
  rec.team_no = get16(in);
  for (int k = 1; k <= kukan; ++k) {
    std::memcpy(rec.runners[k], in + 2 + (k - 1) * kRunnerNameSize, kRunnerNameSize);
    rec.runners[k][kRunnerNameSize - 1] = '\0';
  }
}

void encode_mast_header(const MastHeader& header, unsigned char out[kMastHeaderBytes]) {
  std::memcpy(out, header.version, 3);
  put16(out + 3, header.max_kukan);
  put16(out + 5, header.rec_len);
}

MastHeader decode_mast_header(const unsigned char in[kMastHeaderBytes]) {
  MastHeader header;
  std::memcpy(header.version, in, 3);
  header.max_kukan = get16(in + 3);
  header.rec_len = get16(in + 5);
  return header;
}

void encode_name_header(const NameHeader& header, unsigned char out[kNameHeaderBytes]) {
  put16(out, header.format_mark);
  put16(out + 2, header.max_kukan);
  put16(out + 4, header.name_width);
}

NameHeader decode_name_header(const unsigned char in[kNameHeaderBytes]) {
  NameHeader header;
  header.format_mark = get16(in);
  header.max_kukan = get16(in + 2);
  header.name_width = get16(in + 4);
  return header;
}

bool mast_header_is_current(const MastHeader& header) {
  return std::memcmp(header.version, kMastVersion, 3) == 0;
}

MastHeader new_mast_header(int max_kukan) {
  MastHeader header;
  header.max_kukan = static_cast<std::int16_t>(max_kukan);
  header.rec_len = static_cast<std::int16_t>(mast_record_length(max_kukan));
  return header;
}

NameHeader new_name_header(int max_kukan) {
  NameHeader header;
  header.max_kukan = static_cast<std::int16_t>(max_kukan);
  return header;
}

HmsTime compute_section_time(const MastRecord& rec, int k) {
  HmsTime section{};
  if (k < 1 || k > kMaxSections) return section;
  hms_sub(section, rec.slots[k].arrival, rec.slots[k - 1].departure);
  if (!hms_is_set(section)) hms_zero(section);
  return section;
}
