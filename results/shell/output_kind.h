// The output destination kind: where printed reports go (0 printer, 1 file, 2 clipboard).
// The kind is chosen in the destination menu and stays chosen between runs in the
// working folder's SELCTOUT.DAT (4 bytes, a little-endian signed 32-bit integer).
#pragma once

#include <string>

inline constexpr int kOutPrinter = 0;
inline constexpr int kOutFile = 1;
inline constexpr int kOutClipboard = 2;

inline constexpr const char* kSelctoutFile = "SELCTOUT.DAT";
inline constexpr const char* kDefaultListFile = "OUT.TXT";

// The current kind; any value outside 0 to 2 reads as 1 (file).
int out_kind_no();
// Sets the current kind (not saved until save_output_kind).
void set_out_kind_no(int kind);

// The destination name of a kind (CP932): "プリンタ", "ファイル", "クリップボード";
// a kind outside 0 to 2 names the file.
const char* destination_name(int kind);

// Reads SELCTOUT.DAT of the working folder into the current kind. A missing or unreadable
// file, one shorter than 4 bytes, or a value outside 0 to 2 gives 1 (file).
void load_output_kind();
// Writes the current kind to SELCTOUT.DAT of the working folder; false when it could not
// be written (the old file, if any, then stays as it was).
bool save_output_kind();

// The value of the option LISTFILE as written, or "OUT.TXT" when it is not set.
std::string listfile_as_written();

// The destination menu (main-menu entry 2, the F2 key) belongs to the output layer, which
// registers it here so that prompts of this layer (num_input) can run it. With nothing
// registered, running it only beeps. Registering returns the menu registered before, so
// a test that puts its own in place can put the real one back.
using DestinationMenu = void (*)();
DestinationMenu set_destination_menu(DestinationMenu menu);
void run_destination_menu();
