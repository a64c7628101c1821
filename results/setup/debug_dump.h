// The master-file dump (main menu key D, not shown in the menu): every byte of every record
// of MASTFILE.DAT as hexadecimal text in debugdmp.tmp, field by field, for diagnosing a
// damaged or puzzling master file.
#pragma once

inline constexpr const char* kDebugDumpFile = "debugdmp.tmp";

// Writes the dump. The caller has cleared the screen and loaded the race description.
void debug_dump();

// Main menu key D: clear the screen, load the race description, write the dump.
void debug_dump_entry();
