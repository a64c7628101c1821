// The check the main menu runs on every idle tick: the master file and the name file
// are rebuilt as soon as the race files they come from are newer, so every operation
// sees the race as the files on disk describe it.
#pragma once

// MASTFILE.DAT is older than EKI.TXT, BUMON.TXT or TEAM.TXT (a missing file counts as
// time zero, so a missing master file is stale once any of them exists).
bool master_file_stale();
// NAMEFILE.DAT is missing or older than SENSYU.TXT.
bool name_file_stale();

// Rebuilds MASTFILE.DAT when it is stale (automatic form), else NAMEFILE.DAT when the
// master file exists and the name file is stale. Returns non-zero when it rebuilt
// something; the main loop then starts a new pass.
int freshness_check();
