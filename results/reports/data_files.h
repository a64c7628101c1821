// What the data files the program writes for other programs share (the detail files, the
// station pattern CSV and the certificate merge files).
#pragma once
#include <cstddef>
#include <string>

class Stream;

// A fixed-size NUL-terminated field of a record, never read past its size.
std::string record_text(const char* field, std::size_t size);

// Hands a file just written to the desktop's program for its type (shell open, shown
// normally). When no program can be started the reason is shown and confirmed, so a
// written file is never silently left unshown.
void open_written_file(const char* file);

// Closes a data file just written. A file cut short (a full disk) is reported and
// confirmed instead of being handed on as complete; false then.
bool close_written_file(Stream& out, const char* file);

// Certificates [3] and [8], after the merge file was written and shown: asks at row 22,
// column 10 whether it is right, and on Y or y opens the certificate document.
void confirm_merge_file_then_open(void (*open_document)());
