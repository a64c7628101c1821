// What the exported data files (the detail files and the station pattern CSV) share.
#pragma once
#include <cstddef>
#include <string>

// A fixed-size NUL-terminated field of a record, never read past its size.
std::string record_text(const char* field, std::size_t size);

// Hands a file just written to the desktop's program for its type (shell open, shown
// normally). When no program can be started the reason is shown and confirmed, so a
// written file is never silently left unshown.
void open_written_file(const char* file);
