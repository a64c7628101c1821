#include "results/model/master_file.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "results/model/event_definition.h"
#include "results/shell/console.h"
#include "results/shell/output_kind.h"
#include "results/shell/stops.h"

namespace {

ConversionRoutine g_old_master_converter = nullptr;
ConversionRoutine g_namefile_rebuilder = nullptr;

// The report of a failed positioning, read or write of one record; ends the program.
[[noreturn]] void record_failure(const char* step, const char* operation, int rec_no,
                                 long position, const char* length_name, int length) {
  con_print("\n%s error in %s(rec_no=%d)\n", step, operation, rec_no);
  con_print("file position=%ld\n", position);
  con_print("%s=%d\n", length_name, length);
  fatal_stop();
}

// A conversion that no linked-in routine provides: say so, then stop. The file stays
// as it is.
[[noreturn]] void conversion_unavailable(const char* file) {
  con_print("\n%s を変換する機能がこのプログラムにはありません\n", file);
  con_print("%s を削除してから再実行してください\n", file);
  fatal_stop();
}

// The lengths of the loaded race description, checked before a buffer is sized by them.
int checked_length(int length, int most) { return length > 0 && length <= most ? length : 0; }

void read_record(Stream& stream, int rec_no, long position, int length, const char* operation,
                 const char* length_name, unsigned char* buffer) {
  if (length == 0 || rec_no < 0 || !stream.seek(position, SEEK_SET)) {
    record_failure("fseek", operation, rec_no, position, length_name, length);
  }
  if (stream.read(buffer, length) != static_cast<std::size_t>(length)) {
    record_failure("fread", operation, rec_no, position, length_name, length);
  }
}

void write_record(Stream& stream, int rec_no, long position, int length, const char* operation,
                  const char* length_name, const unsigned char* buffer) {
  if (length == 0 || rec_no < 0 || !stream.seek(position, SEEK_SET)) {
    record_failure("fseek", operation, rec_no, position, length_name, length);
  }
  if (stream.write(buffer, length) != static_cast<std::size_t>(length)) {
    record_failure("fwrite", operation, rec_no, position, length_name, length);
  }
}

std::int16_t team_number_of(const unsigned char* record) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(record[0] | (record[1] << 8)));
}

}  // namespace

Stream mast_open(const std::string& file_name, const char* mode, MastHeader& header) {
  Stream stream = open_retry(file_name, mode);
  unsigned char bytes[kMastHeaderBytes];
  if (stream.read(bytes, sizeof bytes) != sizeof bytes) {
    con_print("fread error in mast_open(%s) filename=%s\n", mode, file_name.c_str());
    fatal_stop();
  }
  header = decode_mast_header(bytes);
  return stream;
}

Stream open_mastfile(const char* mode) {
  MastHeader header;
  return mast_open(kMastFile, mode, header);
}

void mast_read(Stream& stream, int rec_no, MastRecord& rec) {
  const EventDefinition& ev = event_definition();
  const int length = checked_length(ev.sizeof_mastrec, kMaxMastRecordBytes);
  unsigned char buffer[kMaxMastRecordBytes];
  read_record(stream, rec_no, mast_record_offset(rec_no, length), length, "mast_read",
              "sizeof_mastrec", buffer);
  decode_mast_record(buffer, ev.max_kukan, rec);
}

void mast_write(Stream& stream, int rec_no, const MastRecord& rec) {
  const EventDefinition& ev = event_definition();
  const int length = checked_length(ev.sizeof_mastrec, kMaxMastRecordBytes);
  unsigned char buffer[kMaxMastRecordBytes] = {};
  encode_mast_record(rec, ev.max_kukan, buffer);
  write_record(stream, rec_no, mast_record_offset(rec_no, length), length, "mast_write",
               "sizeof_mastrec", buffer);
}

bool mast_read_next(Stream& stream, MastRecord& rec) {
  const EventDefinition& ev = event_definition();
  const int length = checked_length(ev.sizeof_mastrec, kMaxMastRecordBytes);
  const long position = stream.tell();
  if (length == 0) record_failure("fread", "mast_read", -1, position, "sizeof_mastrec", length);
  unsigned char buffer[kMaxMastRecordBytes];
  const std::size_t got = stream.read(buffer, length);
  if (got == 0 && !stream.has_error()) return false;
  if (got != static_cast<std::size_t>(length)) {
    const int rec_no = static_cast<int>((position - kMastHeaderBytes) / length);
    record_failure("fread", "mast_read", rec_no, position, "sizeof_mastrec", length);
  }
  decode_mast_record(buffer, ev.max_kukan, rec);
  return true;
}

void mast_rewrite(Stream& stream, const MastRecord& rec) {
  const EventDefinition& ev = event_definition();
  const int length = checked_length(ev.sizeof_mastrec, kMaxMastRecordBytes);
  unsigned char buffer[kMaxMastRecordBytes] = {};
  encode_mast_record(rec, ev.max_kukan, buffer);
  if (length == 0 || stream.tell() < kMastHeaderBytes + length ||
      !stream.seek(-length, SEEK_CUR)) {
    con_print("fseek error in mast_rewrite\n");
    fatal_stop();
  }
  if (stream.write(buffer, length) != static_cast<std::size_t>(length)) {
    con_print("fwrite error in mast_rewrite\n");
    fatal_stop();
  }
  // A read may follow a write on the same stream only after a positioning.
  if (!stream.seek(0, SEEK_CUR)) {
    con_print("fseek error in mast_rewrite\n");
    fatal_stop();
  }
}

void mast_read_with(Stream& stream, int rec_no, const MastHeader& header, MastRecord& rec) {
  const int kukan = header.max_kukan;
  const int length = kukan >= 0 && kukan <= kMaxSections && header.rec_len == mast_record_length(kukan)
                         ? header.rec_len
                         : 0;
  unsigned char buffer[kMaxMastRecordBytes];
  read_record(stream, rec_no, mast_record_offset(rec_no, length), length, "mast_read",
              "sizeof_mastrec", buffer);
  decode_mast_record(buffer, kukan, rec);
}

void name_read(Stream& stream, int rec_no, NameRecord& rec) {
  const EventDefinition& ev = event_definition();
  const int length = checked_length(ev.sizeof_namerec, kMaxNameRecordBytes);
  unsigned char buffer[kMaxNameRecordBytes];
  read_record(stream, rec_no, name_record_offset(rec_no, length), length, "name_read",
              "sizeof_namerec", buffer);
  decode_name_record(buffer, ev.max_kukan, rec);
}

void name_write(Stream& stream, int rec_no, const NameRecord& rec) {
  const EventDefinition& ev = event_definition();
  const int length = checked_length(ev.sizeof_namerec, kMaxNameRecordBytes);
  unsigned char buffer[kMaxNameRecordBytes] = {};
  encode_name_record(rec, ev.max_kukan, buffer);
  write_record(stream, rec_no, name_record_offset(rec_no, length), length, "name_write",
               "sizeof_namerec", buffer);
}

void TeamIndex::clear() {
  for (std::int32_t& entry : rec_no) entry = -1;
}

void team_index_build(TeamIndex& index) {
  index.clear();
  if (!file_exists(index.file_name)) return;
  MastHeader header;
  Stream stream = mast_open(index.file_name, "rb", header);
  const int length = header.rec_len;
  if (length < 2) {  // no record could be read from a file with this header
    con_print("\n%s が壊れています\n", index.file_name.c_str());
    con_print("レコード長=%d\n", length);
    fatal_stop();
  }
  std::vector<unsigned char> record(length);
  for (int i = 0; stream.read(record.data(), length) == static_cast<std::size_t>(length); ++i) {
    const int team_no = team_number_of(record.data());
    if (team_no < 0 || team_no > 999) {
      con_print("\nチームＮｏ=%d エラー in set()\n", team_no);
      con_print("%s が壊れています\n", index.file_name.c_str());
      con_print("レコード長=%d\n", length);
      fatal_stop();
    }
    index.rec_no[team_no] = i;
  }
}

int team_index_lookup(const TeamIndex& index, int team_no) {
  if (team_no < 1 || team_no > 999) return -9;
  return index.rec_no[team_no];
}

TeamIndex& mastfile_index() {
  static TeamIndex index;
  return index;
}

int mast_record_count() {
  if (!file_exists(kMastFile)) return 0;
  Stream stream = open_retry(kMastFile, "rb");
  const int length = event_definition().sizeof_mastrec;
  if (length <= 0 || !stream.seek(0, SEEK_END)) return 0;
  const long size = stream.tell();
  return size <= kMastHeaderBytes ? 0 : static_cast<int>((size - kMastHeaderBytes) / length);
}

void mast_format_check() {
  if (!file_exists(kMastFile)) return;
  const EventDefinition& ev = event_definition();
  MastHeader header;
  while (true) {
    { Stream stream = mast_open(kMastFile, "rb", header); }
    if (mast_header_is_current(header)) break;
    con_print("\n%s が古いバージョンのフォーマットです\n", kMastFile);
    const int answer = ask_choice("変換しますか？（Y / N）", "YyNn");
    if (answer != 'Y' && answer != 'y') {
      con_print("\n%s を削除してから再実行してください\n", kMastFile);
      fatal_stop();
    }
    if (g_old_master_converter == nullptr) conversion_unavailable(kMastFile);
    if (!g_old_master_converter()) fatal_stop();
  }
  if (header.max_kukan != ev.max_kukan) {
    clear_screen();
    show_working_folder(0, 0);
    con_print("\n\t%s, %s から決まる最大区間数(%d)と\n", kEkiFile, kBumonFile, ev.max_kukan);
    con_print("\t%s の区間数(%d)が違います\n", kMastFile, header.max_kukan);
    con_print("\n\t%s, %s を修正するか\n", kEkiFile, kBumonFile);
    con_print("\t%s を削除してください\n", kMastFile);
    fatal_stop();
  }
  if (header.rec_len != ev.sizeof_mastrec) {
    con_print("\nsizeof_mastrec エラー in kihon_data()\n");
    con_print("%s が壊れています\n", kMastFile);
    fatal_stop();
  }
  team_index_build(mastfile_index());
}

void namefile_version_check() {
  if (!file_exists(kNameFile)) return;
  const EventDefinition& ev = event_definition();
  unsigned char bytes[kNameHeaderBytes];
  {
    Stream stream = open_retry(kNameFile, "rb");
    if (!stream.seek(0, SEEK_SET)) {
      con_print("fseek error in namefile_version_check() 先頭\n");
      fatal_stop();
    }
    if (stream.read(bytes, sizeof bytes) != sizeof bytes) {
      con_print("fread error in namefile_version_check() 先頭\n");
      fatal_stop();
    }
  }
  const NameHeader header = decode_name_header(bytes);
  if (header.format_mark == kNameFormatMark) {
    if (header.max_kukan == ev.max_kukan) return;
    clear_screen();
    show_working_folder(0, 0);
    move_cursor(3, 8);
    con_print("%s, %s から決まる最大区間数(%d)と", kEkiFile, kBumonFile, ev.max_kukan);
    move_cursor(4, 8);
    con_print("%s の区間数(%d)が違います", kNameFile, header.max_kukan);
    move_cursor(5, 8);
    con_print("%s, %s を修正するか", kEkiFile, kBumonFile);
    move_cursor(6, 8);
    con_print("%s を削除してください", kNameFile);
    fatal_stop();
  }

  clear_screen();
  show_working_folder(0, 0);
  move_cursor(3, 0);
  con_print("%s のフォーマットが古いので、新しいフォーマットに変換します。", kNameFile);
  const int answer = ask_choice("よろしいですか？（Y / N）", "YyNn");
  if (answer == 'N' || answer == 'n') {
    save_output_kind();
    std::exit(0);
  }
  if (g_namefile_rebuilder == nullptr) conversion_unavailable(kNameFile);
  if (!rename_file(kNameFile, kNameOldFile)) {
    con_print("\n%s を %s に変更できません\n", kNameFile, kNameOldFile);
    fatal_stop();
  }
  if (g_namefile_rebuilder()) con_print("\n\t%s を作り直しました(1)\n\n", kNameFile);
  ask_choice("メニューへ戻ります（Y）", "Yy");
  back_to_main_menu();
}

int runner_name_width() {
  const EventDefinition& ev = event_definition();
  int width = 12;
  const int length = checked_length(ev.sizeof_namerec, kMaxNameRecordBytes);
  if (length == 0) return width;
  Stream stream = open_retry(kNameFile, "rb");
  if (!stream.seek(kNameHeaderBytes, SEEK_SET)) return width;
  unsigned char buffer[kMaxNameRecordBytes];
  NameRecord rec;
  while (stream.read(buffer, length) == static_cast<std::size_t>(length)) {
    decode_name_record(buffer, ev.max_kukan, rec);
    for (int k = 1; k <= ev.max_kukan && k <= kMaxSections; ++k) {
      const int n = static_cast<int>(std::strlen(rec.runners[k]));
      if (n > width) width = n;
    }
  }
  return width;
}

void set_old_master_converter(ConversionRoutine convert) { g_old_master_converter = convert; }
void set_namefile_rebuilder(ConversionRoutine rebuild) { g_namefile_rebuilder = rebuild; }
