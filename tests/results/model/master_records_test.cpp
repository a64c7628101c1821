// Byte layouts of MASTFILE.DAT and NAMEFILE.DAT records and headers.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "results/model/master_records.h"

namespace {

TEST(MasterRecordLayout, LengthsAndOffsetsOfATenSectionRace) {
  EXPECT_EQ(mast_record_length(10), 227);
  EXPECT_EQ(name_record_length(10), 212);
  EXPECT_EQ(mast_record_offset(3, 227), 688);
  EXPECT_EQ(name_record_offset(3, 212), 642);
  EXPECT_EQ(mast_record_length(kMaxSections), 407);
  EXPECT_EQ(kMaxMastRecordBytes, 407);
}

TEST(MasterRecordLayout, FieldsSitAtTheirOffsetsLittleEndian) {
  MastRecord rec;
  rec.team_no = 0x0123;
  rec.open_flag = '1';
  rec.bumon_no = 2;
  std::strcpy(rec.team_name, "ABC");
  rec.slots[0].input_seq = -2;
  rec.slots[1].departure = HmsTime{9, 30, 15};
  rec.slots[1].arrival = HmsTime{10, 1, 2};
  rec.slots[1].section_time = HmsTime{0, 31, 47};
  rec.slots[1].cumulative_time = HmsTime{1, 2, 3};
  rec.slots[1].section_rank = 7;
  rec.slots[1].cumulative_rank = 300;

  std::vector<unsigned char> bytes(mast_record_length(2), 0xEE);
  encode_mast_record(rec, 2, bytes.data());

  EXPECT_EQ(bytes[0], 0x23);
  EXPECT_EQ(bytes[1], 0x01);
  EXPECT_EQ(bytes[2], '1');
  EXPECT_EQ(bytes[3], 2);
  EXPECT_EQ(std::memcmp(&bytes[4], "ABC\0\0", 5), 0);
  EXPECT_EQ(bytes[28], 0);  // last byte of the team name field
  // slot 0: sequence -2, times not entered, computed zero, ranks -1
  const unsigned char slot0[18] = {0xFE, 0xFF, 0x7F, 0x3B, 0x3B, 0x7F, 0x3B, 0x3B, 0, 0, 0,
                                   0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(std::memcmp(&bytes[29], slot0, 18), 0);
  const unsigned char slot1[18] = {0, 0, 9, 30, 15, 10, 1, 2, 0, 31, 47, 1, 2, 3, 7, 0, 0x2C, 0x01};
  EXPECT_EQ(std::memcmp(&bytes[47], slot1, 18), 0);
  // slot 2 is the last one stored for max_kukan 2
  EXPECT_EQ(bytes[65 + 2], 0x7F);
}

TEST(MasterRecordLayout, RecordsRoundTripByteForByte) {
  std::vector<unsigned char> bytes(mast_record_length(10));
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 7 + 3);
  bytes[4 + 24] = 0;  // a well-formed team name ends inside its field
  MastRecord rec;
  decode_mast_record(bytes.data(), 10, rec);
  std::vector<unsigned char> again(bytes.size());
  encode_mast_record(rec, 10, again.data());
  EXPECT_EQ(again, bytes);

  std::vector<unsigned char> names(name_record_length(10));
  for (size_t i = 0; i < names.size(); ++i) names[i] = static_cast<unsigned char>(i % 50 + 0x41);
  for (int k = 1; k <= 10; ++k) names[2 + k * 21 - 1] = 0;
  NameRecord name;
  decode_name_record(names.data(), 10, name);
  std::vector<unsigned char> names_again(names.size());
  encode_name_record(name, 10, names_again.data());
  EXPECT_EQ(names_again, names);
}

TEST(MasterRecordLayout, DamagedTextFieldsAreTerminatedInsideTheirFields) {
  std::vector<unsigned char> bytes(mast_record_length(1), 'X');
  MastRecord rec;
  decode_mast_record(bytes.data(), 1, rec);
  EXPECT_EQ(std::strlen(rec.team_name), 24u);
  std::vector<unsigned char> names(name_record_length(1), 'Y');
  NameRecord name;
  decode_name_record(names.data(), 1, name);
  EXPECT_EQ(std::strlen(name.runners[1]), 20u);
}

TEST(MasterRecordLayout, RunnerOfSectionKSitsAtItsOffset) {
  NameRecord rec;
  rec.team_no = 999;
  std::strcpy(rec.runners[1], "first");
  std::strcpy(rec.runners[3], "third");
  std::vector<unsigned char> bytes(name_record_length(3), 0xEE);
  encode_name_record(rec, 3, bytes.data());
  EXPECT_EQ(bytes[0], 0xE7);
  EXPECT_EQ(bytes[1], 0x03);
  EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[2]), "first");
  EXPECT_EQ(bytes[2 + 21], 0);
  EXPECT_STREQ(reinterpret_cast<const char*>(&bytes[2 + 2 * 21]), "third");
}

TEST(MasterRecordLayout, HeadersCarryVersionAndLengths) {
  unsigned char mast[kMastHeaderBytes];
  encode_mast_header(new_mast_header(10), mast);
  const unsigned char expected_mast[7] = {'4', '.', '0', 10, 0, 227, 0};
  EXPECT_EQ(std::memcmp(mast, expected_mast, 7), 0);
  MastHeader back = decode_mast_header(mast);
  EXPECT_TRUE(mast_header_is_current(back));
  EXPECT_EQ(back.max_kukan, 10);
  EXPECT_EQ(back.rec_len, 227);
  mast[1] = ',';
  EXPECT_FALSE(mast_header_is_current(decode_mast_header(mast)));

  unsigned char name[kNameHeaderBytes];
  encode_name_header(new_name_header(10), name);
  const unsigned char expected_name[6] = {0xFF, 0xFF, 10, 0, 21, 0};
  EXPECT_EQ(std::memcmp(name, expected_name, 6), 0);
  EXPECT_EQ(decode_name_header(name).format_mark, -1);
}

}  // namespace
