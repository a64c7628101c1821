// Building MASTFILE.DAT from EKI.TXT, BUMON.TXT and TEAM.TXT: the team list is read and
// checked, the teams sorted by division and team number, the old times carried over on
// request, the start times registered, and NAMEFILE.DAT rebuilt after it.
#pragma once

// Interactive (other functions [1]) asks before it starts; the automatic form (the
// idle check of the main menu) says why it rebuilds. 1 when MASTFILE.DAT was (re)built,
// 0 when the user declined. An error in TEAM.TXT goes to fix_prompt; MASTFILE.DAT is
// replaced only as a whole, after every check passed and the user agreed.
int build_master(bool interactive);

// Other functions [1] "タイムデータの初期化".
void master_build_dialogue();

