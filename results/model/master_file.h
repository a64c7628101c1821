// MASTFILE.DAT and NAMEFILE.DAT: the record operations every entry, computation and
// report goes through, the team-number index and the header checks run before every
// operation on them. No record is cached: every operation reads or writes the file.
// A positioning, read or write failure of a record is reported with the operation,
// the record number and the file position, and ends the program through fatal_stop.
#pragma once
#include <cstdint>
#include <string>
#include <utility>

#include "results/model/master_records.h"
#include "results/shell/files.h"

inline constexpr const char* kMastFile = "MASTFILE.DAT";
inline constexpr const char* kNameFile = "NAMEFILE.DAT";
inline constexpr const char* kMastTempFile = "MASTFILE.TMP";
inline constexpr const char* kNameOldFile = "NAMEFILE.OLD";
inline constexpr const char* kSensyuFile = "SENSYU.TXT";

// Opens a master file with the retrying open and reads its 7-byte header into
// `header`; the stream then stands at record 0. A short header ends the program.
Stream mast_open(const std::string& file_name, const char* mode, MastHeader& header);
// mast_open of MASTFILE.DAT, header discarded ("rb" to read, "r+b" to rewrite).
Stream open_mastfile(const char* mode);

// Record r of MASTFILE.DAT (sizeof_mastrec bytes at 7 + r * sizeof_mastrec of the
// loaded race description). A record beyond the end of the file is a read failure.
void mast_read(Stream& stream, int rec_no, MastRecord& rec);
void mast_write(Stream& stream, int rec_no, const MastRecord& rec);
// Sequential processing: reads the record at the current position; false at the end
// of the file (a partial record at the end is a read failure).
bool mast_read_next(Stream& stream, MastRecord& rec);
// Writes rec over the record just read sequentially and stands after it again.
void mast_rewrite(Stream& stream, const MastRecord& rec);
// Record r of a master file of another race, with that file's own record length and
// number of sections (from its header).
void mast_read_with(Stream& stream, int rec_no, const MastHeader& header, MastRecord& rec);

// Record r of NAMEFILE.DAT (sizeof_namerec bytes at 6 + r * sizeof_namerec).
void name_read(Stream& stream, int rec_no, NameRecord& rec);
void name_write(Stream& stream, int rec_no, const NameRecord& rec);

// Team number -> record number of one master file.
struct TeamIndex {
  std::string file_name = kMastFile;
  std::int32_t rec_no[1000];  // -1 where the file has no record of that team number
  TeamIndex() { clear(); }
  explicit TeamIndex(std::string file) : file_name(std::move(file)) { clear(); }
  void clear();
};

// (Re)reads the index from its file (a missing file leaves every entry -1). A team
// number outside 0 to 999 means a damaged file and ends the program.
void team_index_build(TeamIndex& index);
// -9 for a team number outside 1 to 999; else the record number, or -1.
int team_index_lookup(const TeamIndex& index, int team_no);
// The process-wide index of MASTFILE.DAT.
TeamIndex& mastfile_index();

// Number of records in MASTFILE.DAT by its size (0 when it does not exist).
int mast_record_count();

// Header check of MASTFILE.DAT against the loaded race description: an old version
// offers the conversion, a different number of sections or record length ends the
// program. Rebuilds mastfile_index() when all is well. Nothing when the file is missing.
void mast_format_check();
// Header check of NAMEFILE.DAT: a different number of sections ends the program, the
// old format offers the conversion. Nothing when the file is missing.
void namefile_version_check();

// The longest runner name in NAMEFILE.DAT in bytes, at least 12.
int runner_name_width();

// The two conversions offered by the checks, supplied by the master-file maintenance
// when it is linked in. Without them, answering Y reports that the conversion is not
// available and ends the program.
using ConversionRoutine = bool (*)();
// Converts MASTFILE.DAT from the older layout; true when the file now has "4.0".
void set_old_master_converter(ConversionRoutine convert);
// Rebuilds NAMEFILE.DAT from SENSYU.TXT after the old one was renamed NAMEFILE.OLD;
// true on success.
void set_namefile_rebuilder(ConversionRoutine rebuild);
