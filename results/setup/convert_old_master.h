// Conversion of a MASTFILE.DAT of the older layout (no header, no input sequence
// numbers) into the current one; the old file is kept as MASTFILE.OLD.
#pragma once

// Rewrites MASTFILE.DAT in the current layout for the loaded race description. A team
// number outside 0 to 999 means the file belongs to another race and ends the program
// with MASTFILE.DAT unchanged. True when MASTFILE.DAT now has the current layout.
bool convert_old_master();
