// MASTFILE.DAT as one table for the computation: every record read in one go and written
// back in one go, so a full recomputation of a 500-team race costs a handful of system
// calls per step instead of several per record.
#pragma once
#include <vector>

#include "results/model/master_records.h"

// Every record in file order. A partial record at the end is a read failure (the
// program stops with the record-operation report).
std::vector<MastRecord> load_master_table();
// Writes the records over records 0 .. size-1 of MASTFILE.DAT and closes the file, so the
// data is on disk when the step ends.
void store_master_table(const std::vector<MastRecord>& records);
