// "KS(騎手）": the cleaned jockey file, the jockey list and the jockey statistics.
// "CH/BR/BN": the cleaned trainer, breeder and owner files and their statistics.

#include <string>

#include "datasetup/common/cleaning.h"
#include "datasetup/common/paths.h"
#include "datasetup/common/people_stat_records.h"
#include "datasetup/common/step_frame.h"
#include "datasetup/preparation/main_window_buttons.h"
#include "platform/file_ops.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/text_file.h"

namespace meridax {
namespace {

// The newest record of each code: a descending sort on code and CreatedDate, runs told
// apart by the first `codeWidth` bytes of the key, the first of each run kept.
CleaningRule NewestOfCodeRule(std::string_view kind, const records::Layout& layout,
                              records::FieldRef code, std::size_t codeWidth,
                              std::optional<std::string_view> categories) {
  CleaningRule rule;
  rule.rawFile = DataPath(std::string(kind) + "20190101.dat");
  rule.cleanedFile = DataPath(std::string(kind) + "20190101NEW.dat");
  rule.recordLength = static_cast<std::size_t>(layout.storedLength);
  rule.keyFields = {code, records::header::CreatedDate};
  rule.order = SortOrder::kDescending;
  rule.keep = KeepOfRun::kFirst;
  rule.runPrefix = codeWidth;
  rule.categories = categories;
  rule.countAfter = CountAfter::kCleanedRecords;
  return rule;
}

// Record k of the statistics file belongs to cleaned record k.
template <typename Sources, typename Build>
void WriteStats(const RecordMap& cleaned, const std::filesystem::path& staged,
                const records::Layout& statLayout, const Sources& sources, Build build) {
  RecordFile stats(staged, static_cast<std::size_t>(statLayout.storedLength));
  for (std::int64_t k = 1; k <= cleaned.Count(); ++k) {
    stats.Write(k, build(cleaned.Record(k), sources));
  }
  stats.Close();
}

// A person statistics file exists only when it holds a record: after an empty input it
// is removed, not left empty.
void WritePersonStats(const RecordMap& cleaned, const std::filesystem::path& target,
                      const PersonRecordFields& sources, StagedFiles& outputs,
                      std::vector<std::filesystem::path>& removeAfterCommit) {
  if (cleaned.Count() == 0) {
    removeAfterCommit.push_back(target);
    return;
  }
  WriteStats(cleaned, outputs.Stage(target), kPersonStatLayout, sources, BuildPersonStatRecord);
}

std::string JockeyStep(MainWindowState& state) {
  RequireFolder(DataPath());
  StagedFiles outputs;
  std::vector<std::filesystem::path> removeAfterCommit;
  const CleaningResult cleaning = CleanRecords(
      NewestOfCodeRule("KS", records::kJockeyLayout, records::ks::JockeyCode, 5, "12"), outputs);
  const RecordMap jockeys(cleaning.staged, records::kJockeyLayout.storedLength);

  TextWriter list(outputs.Stage(DataPath("KISHUNUM20190101.dat")), TextWriter::Mode::kOutput);
  for (std::int64_t k = 1; k <= jockeys.Count(); ++k) {
    list.Str(records::View(jockeys.Record(k), records::ks::JockeyCode)).EndLine();
  }
  list.Close();
  WritePersonStats(jockeys, DataPath("KISHUSEISEI.dat"), kJockeyStatSources, outputs,
                   removeAfterCommit);

  outputs.Commit();
  for (const auto& path : removeAfterCommit) DeleteFile(path);
  state.recordCount = static_cast<std::int32_t>(jockeys.Count());
  return StatusText("KS(騎手） 終わり", state.recordCount);
}

std::string TrainerBreederOwnerStep(MainWindowState& state) {
  RequireFolder(DataPath());
  StagedFiles outputs;
  std::vector<std::filesystem::path> removeAfterCommit;

  const CleaningResult trainerCleaning = CleanRecords(
      NewestOfCodeRule("CH", records::kTrainerLayout, records::ch::TrainerCode, 5, "12"), outputs);
  const RecordMap trainers(trainerCleaning.staged, records::kTrainerLayout.storedLength);
  WritePersonStats(trainers, DataPath("CHOKYOSEISEI.dat"), kTrainerStatSources, outputs,
                   removeAfterCommit);

  // Breeders whose codes share their first six bytes count as one.
  const CleaningResult breederCleaning = CleanRecords(
      NewestOfCodeRule("BR", records::kBreederLayout, records::br::BreederCode, 6, std::nullopt),
      outputs);
  const RecordMap breeders(breederCleaning.staged, records::kBreederLayout.storedLength);
  WriteStats(breeders, outputs.Stage(DataPath("BREEDERSEISEI.dat")), kBreederOwnerStatLayout,
             kBreederStatSources, BuildBreederOwnerStatRecord);

  const CleaningResult ownerCleaning = CleanRecords(
      NewestOfCodeRule("BN", records::kOwnerLayout, records::bn::OwnerCode, 6, std::nullopt),
      outputs);
  const RecordMap owners(ownerCleaning.staged, records::kOwnerLayout.storedLength);
  WriteStats(owners, outputs.Stage(DataPath("BANUSISEISEI.dat")), kBreederOwnerStatLayout,
             kOwnerStatSources, BuildBreederOwnerStatRecord);

  outputs.Commit();
  for (const auto& path : removeAfterCommit) DeleteFile(path);
  state.recordCount = static_cast<std::int32_t>(owners.Count());
  return StatusText("CH(調教師） 終わり", state.recordCount);
}

}  // namespace

StepResult MainWindowSteps::Command12_Click(StepHost& host) {
  constexpr std::string_view caption = CaptionOf("Command12");
  return RunStep(host, caption, [&] { return JockeyStep(state_); });
}

StepResult MainWindowSteps::Command14_Click(StepHost& host) {
  constexpr std::string_view caption = CaptionOf("Command14");
  return RunStep(host, caption, [&] { return TrainerBreederOwnerStep(state_); });
}

}  // namespace meridax
