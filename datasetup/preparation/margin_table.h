#pragma once

// "着差": the race id, arrival order and margin code of every winning run of the horses
// of KETTONUM20190101Q.dat, from their extended run files. The window drops the table when
// the step ends; it is built by a routine of its own so that it can be inspected.

#include <cstdint>
#include <string>
#include <vector>

#include "datasetup/common/main_window_state.h"

namespace meridax {

struct WinnerMarginRow {
  // RaceYear, RacecourseCode, MeetingNumber, MeetingDay and RaceNumber as stored: 12 bytes.
  std::string raceId;
  std::string arrivalOrder;
  std::string marginCode;
  bool operator==(const WinnerMarginRow&) const = default;
};

struct WinnerMarginTable {
  std::vector<WinnerMarginRow> rows;  // in list order, each horse's runs in file order
  std::int64_t skippedIds = 0;        // list entries that cannot name a file
};

// Reads every listed horse's extended run file (opening creates a missing one, empty) and
// sets the window's record count to each file's record count in turn. Throws IoError for a
// missing folder or a file that cannot be read.
WinnerMarginTable BuildWinnerMarginTable(MainWindowState& state);

}  // namespace meridax
