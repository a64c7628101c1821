// Teams per division of a master file.
#pragma once
#include <string>

class Stream;

// "%2d: %-*s %3dチーム" per division and the total line, counted from the records of
// `master_file` (any file with the header of MASTFILE.DAT). Written to `out`, or to the
// console when `out` is null.
void team_count_body(const std::string& master_file, Stream* out);
