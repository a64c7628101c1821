// NAMEFILE.DAT from MASTFILE.DAT and SENSYU.TXT: one name record per master record, in
// the same order, with the runners of each section.
#pragma once

// 1 when NAMEFILE.DAT was built, 0 when MASTFILE.DAT does not exist. Reloads the race
// description and the team index of MASTFILE.DAT first. A team listed twice in
// SENSYU.TXT goes to fix_prompt; the old NAMEFILE.DAT then stays.
int build_namefile();

// Plugs the master-file maintenance into the header checks of the master and name
// files (the conversion of a master file of the older layout, the rebuild of a name
// file of the old format). Called once at start-up.
void install_master_maintenance();
