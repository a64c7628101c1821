#include "results/compute/results_compute.h"
#include "results/entry/warnings.h"
#include "results/shell/output.h"

int prepare_results(int ask_output, int ask_delimiter, int point) {
  if (ask_output != 0 && ask_output_options(ask_delimiter != 0) == -1) return -1;
  arrival_before_departure_check();
  speed_check_all();
  calc_times();
  calc_ranks();
  adjust_same_time_ranks();
  if (point >= 0) make_print_jun(point);
  return 0;
}
