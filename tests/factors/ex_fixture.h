#pragma once

// Extended run files for item routine tests: runs built from field assignments, written
// as a horse's EX file on a temporary drive, with an item context over them positioned
// as the factor step leaves it.

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/common/record_index.h"
#include "datasetup/factors/item_context.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"

namespace meridax::testing {

// One run: blanks, the given fields, CR LF.
std::string ExRun(std::initializer_list<FieldValue> fields);

// UMAGOTOEXSETUP\<id>EX.dat with the given records.
void WriteRuns(std::string_view horseId, const std::vector<std::string>& runs);

// What a routine gave: its code, or "abandoned" when it failed.
inline constexpr std::string_view kAbandoned = "abandoned";

class ExFixture {
 public:
  // A drive with every data folder and the horse's EX file holding `runs`.
  explicit ExFixture(std::vector<std::string> runs = {}, std::string_view horseId = "2016100001");

  // Rewrites the EX file and drops the step's statistics files.
  void SetRuns(std::vector<std::string> runs);
  // Writes a statistics file of the data folder ("OPTION1N\\KYOSOBA.dat") from records
  // and drops the step's statistics files, so the next look-up reads it anew.
  void WriteStats(std::string_view relative, const std::vector<std::string>& records);

  // The context on run r: CurrentRunNumber r, CurrentRunCount the file's count, CurrentRun
  // record r, CurrentItemRecord blank.
  ItemContext& At(std::int32_t r);
  // Calls the routine on run r: its code, or "abandoned".
  std::string Code(ItemRoutine routine, std::int32_t r);

  TempDrive drive;
  StatisticsCache stats;
  std::string itemRecord;

 private:
  std::string horseId_;
  std::unique_ptr<RunFile> runs_;
  ItemContext context_;
};

}  // namespace meridax::testing
