// The id lists' two builders that no button calls, the horse-list rule and the jockey list
// they share with the horse and jockey steps, and the recent-runner list they share with
// "血統Q、騎手".

#include <string>

#include "datasetup/common/data_files.h"
#include "datasetup/common/file_ids.h"
#include "datasetup/common/paths.h"
#include "datasetup/common/step_frame.h"
#include "datasetup/preparation/id_lists.h"
#include "datasetup/preparation/main_window_steps.h"
#include "platform/numbers.h"
#include "platform/record_map.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"
#include "records/horse_layouts.h"
#include "records/person_layouts.h"
#include "records/race_layouts.h"

namespace meridax {

bool IsDeregisteredWithoutRaces(std::string_view horse) {
  return records::View(horse, records::um::DeregistrationCode) == "1" &&
         records::View(horse, records::um::RegisteredRaceCount) == "000";
}

std::string RegistrationStatusCapNote(std::int64_t horses) {
  if (horses <= kRegistrationStatusRows) return {};
  return " (KETTOMASSHO.dat は " + std::to_string(kRegistrationStatusRows) +
         "行まで: " + std::to_string(horses - kRegistrationStatusRows) + "頭を載せていません)";
}

void WriteJockeyCodeList(const RecordMap& jockeys, const std::filesystem::path& list) {
  TextWriter out(list, TextWriter::Mode::kOutput);
  for (std::int64_t k = 1; k <= jockeys.Count(); ++k) {
    out.Str(records::View(jockeys.Record(k), records::ks::JockeyCode)).EndLine();
  }
  out.Close();
}

std::int64_t WriteRecentHorseList(StepHost& host, TextWriter& recent, YearNotANumber rule) {
  namespace se = records::se;
  ItemReader ids(DataPath(HorseIdListName()));
  const auto raceFolder = DataPath(kHorseRaceFolder);
  const auto runnerLength = static_cast<std::size_t>(records::kRunnerLayout.storedLength);
  std::int64_t skipped = 0;
  while (!ids.AtEnd()) {
    const std::string id = ids.Next();
    host.ProcessEvents();
    const auto name = FileNameOfId(id);
    if (!name) {
      ++skipped;
      continue;
    }
    // Opening creates a missing race file, empty: such a horse is not recent.
    const RecordMap races(raceFolder / *name, runnerLength);
    if (races.Count() == 0) continue;
    const std::string_view last = races.Record(races.Count());
    const auto year = ToInt16(records::View(last, se::RaceYear));
    if (year ? *year >= 2000 : rule == YearNotANumber::kListed) {
      recent.Str(records::View(last, se::HorseId)).EndLine();
    }
  }
  return skipped;
}

std::int64_t MainWindowSteps::BuildRecentHorseList(StepHost& host) {
  StagedFiles outputs;
  TextWriter recent(outputs.Stage(DataPath(RecentHorseIdListName())), TextWriter::Mode::kOutput);
  const std::int64_t skipped = WriteRecentHorseList(host, recent, YearNotANumber::kNotListed);
  recent.Close();
  outputs.Commit();
  return skipped;
}

void MainWindowSteps::BuildJockeyAndHorseLists(StepHost& host) {
  StagedFiles outputs;
  const auto jockeyList = outputs.Stage(DataPath(JockeyCodeListName()));
  const RecordMap jockeys(DataPath(CleanedRecordFileName("KS")),
                          records::kJockeyLayout.storedLength);
  WriteJockeyCodeList(jockeys, jockeyList);
  TextWriter horseList(outputs.Stage(DataPath(HorseIdListName())), TextWriter::Mode::kOutput);
  const RecordMap horses(DataPath(CleanedRecordFileName("UM")), records::kHorseLayout.storedLength);
  // Unlike the horse step, no year-of-birth limit.
  for (std::int64_t m = 1; m <= horses.Count(); ++m) {
    const std::string_view horse = horses.Record(m);
    if (IsDeregisteredWithoutRaces(horse)) {
      host.ProcessEvents();
    } else {
      horseList.Str(records::View(horse, records::um::HorseId)).EndLine();
    }
  }
  horseList.Close();
  outputs.Commit();
  state_.recordCount = static_cast<std::int32_t>(horses.Count());
  host.SetStatus(StatusText("KISHUNUM 終わり", state_.recordCount));
}

}  // namespace meridax
