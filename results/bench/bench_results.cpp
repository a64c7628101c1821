// Benchmark of the results computation on a maximum race: 500 teams over 20 sections,
// every time entered, with equal times at relay points and forced starts. Prints the
// median time of one full recomputation (calc_times + calc_ranks +
// adjust_same_time_ranks + make_print_jun at the furthest point) and of one time entry
// (read one record, change it, write it back). Runs in a temporary folder.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "results/compute/results_compute.h"
#include "results/entry/time_entry_common.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"

namespace {

constexpr int kTeams = kMaxTeams;
constexpr int kSections = kMaxSections;
constexpr int kDivisions = 4;

// Milliseconds on the monotonic clock (<chrono> does not build with the CP932 literals).
double now_ms() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double median_ms(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

// EKI.TXT with 21 stations 1.5 km apart and BUMON.TXT with four divisions on that course.
void write_race_files() {
  std::FILE* eki = std::fopen("EKI.TXT", "wb");
  for (int s = 0; s <= kSections; ++s) std::fprintf(eki, "ST%02d %.1f\r\n", s, s * 1.5);
  std::fclose(eki);
  std::FILE* bumon = std::fopen("BUMON.TXT", "wb");
  for (int d = 0; d < kDivisions; ++d)
    std::fprintf(bumon, "DIV%d\r\nMaxSpeed=25 MinSpeed=5 StartTime=090000\r\n%s\r\n", d,
                 std::string(kSections + 1, '+').c_str());
  std::fclose(bumon);
}

// Every team with every time; about one team in eight tied with the team before it at
// every station, one in twenty with a forced start at relay point 10.
void write_master() {
  const EventDefinition& ev = event_definition();
  std::mt19937 random(20240501);
  std::uniform_int_distribution<int> section_seconds(270, 450);
  std::vector<unsigned char> bytes(kMastHeaderBytes);
  encode_mast_header(new_mast_header(ev.max_kukan), bytes.data());
  std::vector<unsigned char> record(ev.sizeof_mastrec);
  std::vector<int> previous(kSections + 1, 0);
  int seq = 0;
  for (int i = 0; i < kTeams; ++i) {
    MastRecord rec;
    rec.team_no = static_cast<std::int16_t>(i + 1);
    rec.bumon_no = static_cast<std::uint8_t>(i * kDivisions / kTeams);
    rec.open_flag = i % 50 == 7 ? '1' : '0';
    std::snprintf(rec.team_name, kTeamNameSize, "TEAM%03d", i + 1);
    const bool tied = i % 8 == 1;
    int now = 9 * 3600;
    HmsTime start{};
    hms_from_seconds(start, now);
    rec.slots[0].departure = rec.slots[0].arrival = start;
    for (int k = 1; k <= kSections; ++k) {
      now = tied ? previous[k] : now + section_seconds(random);
      previous[k] = now;
      HmsTime at{};
      hms_from_seconds(at, now);
      rec.slots[k].arrival = rec.slots[k].departure = at;
      rec.slots[k].input_seq = static_cast<std::int16_t>(++seq);
      if (k == 10 && i % 20 == 3) hms_from_seconds(rec.slots[k].departure, now - 60);
    }
    encode_mast_record(rec, ev.max_kukan, record.data());
    bytes.insert(bytes.end(), record.begin(), record.end());
  }
  std::FILE* out = std::fopen(kMastFile, "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fclose(out);
  team_index_build(mastfile_index());
}

}  // namespace

int main() {
  char folder_template[] = "/tmp/bench_results_XXXXXX";
  const char* folder = mkdtemp(folder_template);
  if (!folder || chdir(folder) != 0) {
    std::perror("bench_results: temporary folder");
    return 1;
  }
  write_race_files();
  RaceFileError error;
  if (!load_race_files(event_definition(), error)) {
    std::fprintf(stderr, "bench_results: race files refused: %s\n", error.message.c_str());
    return 1;
  }
  write_master();

  std::vector<double> compute;
  for (int run = 0; run < 31; ++run) {
    const double begin = now_ms();
    calc_times();
    calc_ranks();
    adjust_same_time_ranks();
    make_print_jun(kFurthestPoint);
    compute.push_back(now_ms() - begin);
  }

  std::vector<double> entry;
  for (int run = 0; run < 1001; ++run) {
    const int rec_no = run * 7 % kTeams;
    const double begin = now_ms();
    MastRecord rec;
    {
      Stream mast = open_mastfile("rb");
      mast_read(mast, rec_no, rec);
      close_or_stop(mast);
    }
    rec.slots[5].input_seq = static_cast<std::int16_t>(rec.slots[5].input_seq + 1);
    write_entry_record(rec_no, rec);
    entry.push_back(now_ms() - begin);
  }

  std::printf("maximum race: %d teams, %d sections, %d divisions, every time entered\n", kTeams,
              kSections, kDivisions);
  std::printf("full recomputation (calc_times + calc_ranks + adjust_same_time_ranks + make_print_jun):"
              " median %.2f ms over %zu runs\n",
              median_ms(compute), compute.size());
  std::printf("one time entry (read, change, write one record): median %.3f ms over %zu runs\n",
              median_ms(entry), entry.size());

  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
