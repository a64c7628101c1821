// Section awards (区間賞): every holder of section rank 1, per division and section. Two
// products share one collection: the printed list 区間賞受賞者一覧表 and the tab-separated
// mail-merge file 区間賞TAB.txt that the certificate documents read. Ties for the best
// time share rank 1 and give a section several winners.
//
// Options, read afresh for every list or file:
//   KUKANSYOU_PRINTTYPE    1 (default): grouped by division, then section; else by
//                          section, then division (also the TSV column order).
//   KUKANSYOU_OUTPUT_MODE  2: the list leaves out route, distance and speed.
#pragma once
#include <cstdint>
#include <vector>

inline constexpr const char* kSectionAwardDataFile = "区間賞TAB.txt";

// One holder of section rank 1.
struct SectionWinner {
  std::int8_t section = 0;   // logical index k of the section's end (1 .. sections)
  std::int8_t division = 0;  // division index, from 0
  std::int32_t rec_no = 0;   // record number in MASTFILE.DAT
  friend bool operator==(const SectionWinner&, const SectionWinner&) = default;
};

enum class SectionAwardOrder {
  kByDivision,  // division, section, record
  kBySection,   // section, division, record
};

// The order chosen by KUKANSYOU_PRINTTYPE.
SectionAwardOrder section_award_order();

// Every slot with section rank 1 of every team in MASTFILE.DAT, in file order and
// section order. Uses the loaded race description.
std::vector<SectionWinner> collect_section_winners();

// Sorts ascending; the record number is the last key, so the order is total.
void sort_section_winners(std::vector<SectionWinner>& winners, SectionAwardOrder order);

// The printed list to the current destination, handed to PRINTCMD71. prepare_results
// (1, 0, -1) must have run just before. Without winners nothing is written (no title, no
// page break) and the empty output is still handed over.
void print_section_awards();

// Writes 区間賞TAB.txt anew (a header line, then one row per winner in list order) and
// opens it with the desktop's program. prepare_results (0, 0, -1) must have run just
// before.
bool write_section_award_tsv();

// Result-output [1]: the output question and the computation, then the list (Esc at
// the output question goes back to the submenu).
void section_awards_entry();
// Certificate [1]: the computation, then 区間賞TAB.txt written and opened.
bool section_award_data_entry();
// Certificate [3]: as [1], then "この差し込みファイルでよろしいですか？（Y / N）" at row 22,
// column 10; on Y or y open_document (the section certificate document opener) runs.
void section_award_data_and_document_entry(void (*open_document)());
