// The small selection screens that several menu entries share: divisions for the
// division result list, a section for the section rank table, a relay point for the
// intermediate results and the entry screens. Each clears the screen, reads numbers
// with num_input (Esc, F2 and F5 allowed) and redraws itself after F2.
#pragma once
#include "results/model/event_definition.h"

// The divisions marked by select_divisions, read by the division result list.
struct DivisionSelection {
  bool selected[kMaxDivisions] = {};
};
DivisionSelection& division_selection();
// Marks every division of the race description.
void select_all_divisions();

// "成績一覧表 出力部門選択": marks divisions. 0 after Esc or an empty entry with
// nothing chosen; 1 when at least one division is marked (0 marks all at once).
int select_divisions();

// "区間順位表出力": a section number from 1 to max_kukan, or 0 after Esc.
int select_section();

// A relay point: the stations with their working names under `title` (in `colour`);
// the station number, 99 for "すべて" when allow_all, or -1 after Esc.
int select_station(const char* title, int colour, bool show_destination, bool allow_all);
