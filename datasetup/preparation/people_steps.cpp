// "KS(騎手）": the cleaned jockey file, the jockey list and the jockey statistics.
// "CH/BR/BN": the cleaned trainer, breeder and owner files and their statistics.

#include <functional>
#include <string>

#include "datasetup/common/cleaning.h"
#include "datasetup/common/data_files.h"
#include "datasetup/common/people_stat_records.h"
#include "datasetup/common/step_frame.h"
#include "datasetup/preparation/id_lists.h"
#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "platform/record_file.h"
#include "platform/record_map.h"

namespace meridax {
namespace {

// One kind of person: its cleaning to the newest record of each code, then one statistics
// record per cleaned record.
struct PeoplePass {
  std::string_view kind;  // "KS": its raw and cleaned record files
  const records::Layout& layout;
  records::FieldRef code;
  // Runs of one code are told apart by this many bytes of the code: breeders whose codes
  // share their first six bytes count as one.
  std::size_t codeWidth;
  std::optional<std::string_view> categories;
  std::string_view statsFile;
  const records::Layout& statLayout;
  std::function<std::string(std::string_view record)> buildStat;
  // The jockey and trainer statistics files exist only when they hold a record; after an
  // empty input they are removed, not left empty.
  bool statsOnlyWhenWritten;
};

const PeoplePass kJockeys{
    "KS",
    records::kJockeyLayout,
    records::ks::JockeyCode,
    5,
    "12",
    kJockeyStatFileName,
    kPersonStatLayout,
    [](std::string_view r) { return BuildPersonStatRecord(r, kJockeyStatSources); },
    true};
const PeoplePass kTrainers{
    "CH",
    records::kTrainerLayout,
    records::ch::TrainerCode,
    5,
    "12",
    kTrainerStatFileName,
    kPersonStatLayout,
    [](std::string_view r) { return BuildPersonStatRecord(r, kTrainerStatSources); },
    true};
const PeoplePass kBreeders{
    "BR",
    records::kBreederLayout,
    records::br::BreederCode,
    6,
    std::nullopt,
    kBreederStatFileName,
    kBreederOwnerStatLayout,
    [](std::string_view r) { return BuildBreederOwnerStatRecord(r, kBreederStatSources); },
    false};
const PeoplePass kOwners{
    "BN",
    records::kOwnerLayout,
    records::bn::OwnerCode,
    6,
    std::nullopt,
    kOwnerStatFileName,
    kBreederOwnerStatLayout,
    [](std::string_view r) { return BuildBreederOwnerStatRecord(r, kOwnerStatSources); },
    false};

// The newest record of each code: a descending sort on code and CreatedDate, the first of
// each run of one code kept.
CleaningRule NewestOfCodeRule(const PeoplePass& pass) {
  CleaningRule rule = CleaningRuleOf(pass.kind);
  rule.recordLength = static_cast<std::size_t>(pass.layout.storedLength);
  rule.keyFields = {pass.code, records::header::CreatedDate};
  rule.order = SortOrder::kDescending;
  rule.keep = KeepOfRun::kFirst;
  rule.runPrefix = pass.codeWidth;
  rule.categories = pass.categories;
  rule.countAfter = CountAfter::kCleanedRecords;
  return rule;
}

// Runs one pass and returns its cleaned record count. `alsoWrite` gets the cleaned
// records for a further output of the pass.
std::int64_t RunPass(const PeoplePass& pass, StagedFiles& outputs,
                     const std::function<void(const RecordMap&)>& alsoWrite = {}) {
  const CleaningResult cleaning = CleanRecords(NewestOfCodeRule(pass), outputs);
  const RecordMap cleaned(cleaning.staged, static_cast<std::size_t>(pass.layout.storedLength));
  if (alsoWrite) alsoWrite(cleaned);
  const std::filesystem::path statsFile = DataPath(pass.statsFile);
  if (pass.statsOnlyWhenWritten && cleaned.Count() == 0) {
    outputs.Remove(statsFile);
    return 0;
  }
  // Record k of the statistics file belongs to cleaned record k.
  RecordFile stats(outputs.Stage(statsFile),
                   static_cast<std::size_t>(pass.statLayout.storedLength));
  for (std::int64_t k = 1; k <= cleaned.Count(); ++k) {
    stats.Write(k, pass.buildStat(cleaned.Record(k)));
  }
  stats.Close();
  return cleaned.Count();
}

std::string JockeyStep(MainWindowState& state) {
  RequireFolder(DataPath());
  StagedFiles outputs;
  const std::int64_t count = RunPass(kJockeys, outputs, [&](const RecordMap& jockeys) {
    WriteJockeyCodeList(jockeys, outputs.Stage(DataPath(JockeyCodeListName())));
  });
  outputs.Commit();
  state.recordCount = static_cast<std::int32_t>(count);
  return StatusText("KS(騎手） 終わり", state.recordCount);
}

// The status shows the owners' count, the last the step measures.
std::string TrainerBreederOwnerStep(MainWindowState& state) {
  RequireFolder(DataPath());
  StagedFiles outputs;
  std::int64_t count = 0;
  for (const PeoplePass* pass : {&kTrainers, &kBreeders, &kOwners}) count = RunPass(*pass, outputs);
  outputs.Commit();
  state.recordCount = static_cast<std::int32_t>(count);
  return StatusText("CH(調教師） 終わり", state.recordCount);
}

}  // namespace

std::string MainWindowSteps::Command12_Click(StepHost& /*host*/) {
  return JockeyStep(state_);
}

std::string MainWindowSteps::Command14_Click(StepHost& /*host*/) {
  return TrainerBreederOwnerStep(state_);
}

}  // namespace meridax
