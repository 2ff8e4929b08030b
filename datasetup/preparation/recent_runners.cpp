// "血統Q、騎手": the recent-runner list KETTONUM20190101Q.dat, the statistics records of
// those horses in OPTION1N\KYOSOBAA.dat, then the jockey rates (jockey_rates.h).

#include <optional>
#include <string>
#include <unordered_map>

#include "datasetup/common/data_files.h"
#include "datasetup/common/file_ids.h"
#include "datasetup/common/horse_stat_record.h"
#include "datasetup/common/step_frame.h"
#include "datasetup/preparation/id_lists.h"
#include "datasetup/preparation/jockey_rates.h"
#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/text_file.h"

namespace meridax {
namespace {

struct CopyResult {
  std::int64_t statRecords = 0;
  std::int64_t copied = 0;
};

// Copies each record of OPTION1N\KYOSOBA.dat whose HorseId is listed, in file order,
// once for every time the list names it.
CopyResult CopyRecentHorseStats(StagedFiles& outputs, const std::filesystem::path& list) {
  const auto length = static_cast<std::size_t>(kHorseStatLayout.storedLength);
  std::unordered_map<std::string, std::int64_t> listed;
  ItemReader ids(list);
  while (!ids.AtEnd()) ++listed[ids.Next()];

  const RecordMap stats(DataPath(kHorseStatFileName), length);
  CopyResult result;
  result.statRecords = stats.Count();
  // Staged at the first copy only: without one the file is left deleted.
  std::optional<RecordFile> recent;
  std::string id;
  for (std::int64_t i = 1; i <= stats.Count(); ++i) {
    const std::string_view record = stats.Record(i);
    id.assign(records::View(record, horse_stat::HorseId));
    const auto it = listed.find(id);
    if (it == listed.end()) continue;
    if (!recent) recent.emplace(outputs.Stage(DataPath(kRecentHorseStatFileName)), length);
    for (std::int64_t c = 0; c < it->second; ++c) recent->Write(++result.copied, record);
  }
  if (recent) recent->Close();
  return result;
}

std::string RecentRunnersStep(MainWindowState& state, StepHost& host) {
  RequireFolder(DataPath());
  for (const std::string_view folder :
       {kHorseRaceFolder, kOptionFolder, kJockeyRaceFolder, kJockeyPlaceFolder}) {
    RequireFolder(DataPath(folder));
  }
  StagedFiles outputs;
  // The list is read back from its new file, so the ids compared are those a reader of
  // the file gets.
  const auto list = outputs.Stage(DataPath(RecentHorseIdListName()));
  TextWriter recent(list, TextWriter::Mode::kOutput);
  std::int64_t skipped = WriteRecentHorseList(host, recent, YearNotANumber::kListed);
  recent.Close();
  const CopyResult copy = CopyRecentHorseStats(outputs, list);
  skipped += WriteJockeyRates(outputs);
  if (copy.copied == 0) outputs.Remove(DataPath(kRecentHorseStatFileName));
  outputs.Commit();

  state.recordCount = static_cast<std::int32_t>(copy.statRecords);
  return StatusText("終わり", state.recordCount) + SkippedIdsNote(skipped);
}

}  // namespace

std::string MainWindowSteps::Command8_Click(StepHost& host) {
  return RecentRunnersStep(state_, host);
}

}  // namespace meridax
