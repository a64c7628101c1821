// A race folder (the small fixture race or the sample race) as the current folder, a
// virtual console with an editor that only records what it was asked to open, and the
// master and name files read back through the record layouts.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "compute/tiny_race.h"
#include "model/race_test_helpers.h"
#include "results/model/event_definition.h"
#include "results/model/master_file.h"
#include "results/shell/stops.h"

namespace setup_test {

using tiny_race::read_master;
using tiny_race::t;

inline std::vector<NameRecord> read_names() {
  const EventDefinition& ev = event_definition();
  const std::string bytes = test_support::read_bytes(kNameFile);
  std::vector<NameRecord> names;
  for (std::size_t at = kNameHeaderBytes; at + ev.sizeof_namerec <= bytes.size();
       at += ev.sizeof_namerec) {
    NameRecord r;
    decode_name_record(reinterpret_cast<const unsigned char*>(bytes.data() + at), ev.max_kukan, r);
    names.push_back(r);
  }
  return names;
}

class SetupTest : public race_test::RaceFolderTest {
 protected:
  void small_race() { use_fixture("setup_small"); }
  void sample_race() { test_support::copy_folder_files(SAMPLE_RACE_DIR, dir_.path()); }

  // Runs an operation with the keys fed first. Returns "returned", "menu" (back to the
  // main menu) or "waiting" (it asked for a key that was not fed).
  std::string run(const std::function<void()>& operation, std::initializer_list<int> keys) {
    console_->feed_keys(keys);
    try {
      operation();
      return "returned";
    } catch (const BackToMainMenu&) {
      return "menu";
    } catch (const VirtualConsole::KeysExhausted&) {
      return "waiting";
    }
  }
  bool shows(const std::string& cp932) { return screen().find(cp932) != std::string::npos; }
};

}  // namespace setup_test
