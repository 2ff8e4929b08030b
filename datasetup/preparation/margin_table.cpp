#include "datasetup/preparation/margin_table.h"

#include "datasetup/common/data_files.h"
#include "datasetup/common/extended_run_record.h"
#include "datasetup/common/file_ids.h"
#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "platform/record_map.h"
#include "platform/text_file.h"

namespace meridax {

WinnerMarginTable BuildWinnerMarginTable(MainWindowState& state) {
  namespace ex = extended_run;
  RequireFolder(DataPath());
  const auto folder = DataPath(kExtendedRunFolder);
  RequireFolder(folder);
  WinnerMarginTable table;
  ItemReader ids(DataPath(RecentHorseIdListName()));
  while (!ids.AtEnd()) {
    const std::string id = ids.Next();
    const auto name = FileNameOfId(id, "EX.dat");
    if (!name) {
      ++table.skippedIds;
      continue;
    }
    const RecordMap runs(folder / *name, static_cast<std::size_t>(kExtendedRunLayout.storedLength));
    state.recordCount = static_cast<std::int32_t>(runs.Count());
    for (std::int64_t r = 1; r <= runs.Count(); ++r) {
      const std::string_view run = runs.Record(r);
      // Only these two bytes select a win: " 1" and "1 " do not.
      if (records::View(run, ex::ArrivalOrder) != "01") continue;
      std::string raceId;
      for (const auto field :
           {ex::RaceYear, ex::RacecourseCode, ex::MeetingNumber, ex::MeetingDay, ex::RaceNumber}) {
        raceId.append(records::View(run, field));
      }
      table.rows.push_back({std::move(raceId), std::string(records::View(run, ex::ArrivalOrder)),
                            std::string(records::View(run, ex::MarginCode))});
    }
  }
  return table;
}

std::string MainWindowSteps::Command13_Click(StepHost& host) {
  // The step shows no status of its own: the status line keeps the previous step's text,
  // with a note only when ids had to be skipped.
  const WinnerMarginTable table = BuildWinnerMarginTable(state_);
  return host.Status() + SkippedIdsNote(table.skippedIds);
}

}  // namespace meridax
