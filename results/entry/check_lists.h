// The input check lists: the entered data printed back so that the organiser can compare
// them with the timekeepers' sheets. They read MASTFILE.DAT and NAMEFILE.DAT as entered and
// compute nothing; only the same-time list reads the ranks left by the computation.
// Every printed list goes through the current output destination.
#pragma once

// One team on the console: start, relay points and goal with arrival, departure and runner.
// Returns when the team-number prompt is left with Esc.
void team_screen_check();

// The relay point's teams in order of arrival (PRINTCMD62; with names PRINTCMD67).
// With ask the user chooses the relay point (or 99, all of them) and Esc at the output
// questions goes back to that choice; otherwise `station` is listed.
void relay_point_check_list(bool with_names, bool ask, int station);
// Check submenu [2] and [7]: the relay point chosen by the user, without and with names.
void relay_point_check_entry();
void relay_point_check_with_names_entry();

// Every team with the arrival (and differing departure) of every station (PRINTCMD63).
void all_stations_grid();
// Team names and runner names per division (PRINTCMD64).
void names_check_list();
// One column per relay point, its teams sorted by arrival (PRINTCMD68).
void time_order_grid();
// Teams of one division with equal cumulative times at a station (PRINTCMD66). The
// computation (prepare_results (1, 0, -1)) must have run just before: it asks the output
// questions and leaves the ranks this list prints.
void same_time_list();
// Teams per division of MASTFILE.DAT (PRINTCMD95); no output questions.
void team_count_list();
