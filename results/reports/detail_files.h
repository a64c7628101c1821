// The full result data files for spreadsheets: every time of every team, one row per team
// and relay point (結果明細中継所TAB.txt) and one row per team and section
// (結果明細区間TAB.txt). Tab-separated CP932 text with CR LF line ends; a time takes three
// columns (hours, minutes, seconds). Both files are replaced on every run.
#pragma once
#include <string>

#include "results/model/hms_time.h"

class Stream;

inline constexpr const char* kRelayPointDetailFile = "結果明細中継所TAB.txt";
inline constexpr const char* kSectionDetailFile = "結果明細区間TAB.txt";

// The date ("%04d/%02d/%02d") and time ("%02d:%02d:%02d") written into every row of one run.
struct OutputStamp {
  std::string date;
  std::string time;
};
// Date and time of one reading of the clock, so both belong to the same moment.
OutputStamp output_stamp_now();

// A time as its three columns: hms_format_sep with a tab when `shown`, else three empty
// fields ("\t\t").
std::string time_columns(HmsTime time, bool shown);

// Text made safe for one tab-separated field: tabs and line ends become blanks (a CP932
// trail byte is never one of them, so two-byte characters stay whole).
std::string tsv_field(std::string text);

// The rows of every MASTFILE.DAT record in file order with the runner names of
// NAMEFILE.DAT, after the header line. The race description must be loaded and the
// results computed.
void write_relay_point_details(Stream& out, const OutputStamp& stamp);
void write_section_details(Stream& out, const OutputStamp& stamp);

// Writes 結果明細中継所TAB.txt, then 結果明細区間TAB.txt, with one date and time, then hands
// each to the desktop's program for its type.
void write_detail_files();

// Result-output [9]: the computation without output questions (prepare_results (0, 0,
// -1)), then both files.
void detail_files_entry();
