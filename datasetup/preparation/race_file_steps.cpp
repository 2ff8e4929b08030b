// "SE/UM" and "SE/KS": the cleaned runner file split into one race file per listed horse
// and one per listed jockey.

#include <string>

#include "datasetup/common/data_files.h"
#include "datasetup/common/entity_upsert.h"
#include "datasetup/preparation/main_window_steps.h"
#include "records/race_layouts.h"

namespace meridax {
namespace {

// What "SE/UM" and "SE/KS" differ in.
struct RaceFileKind {
  std::string list;
  std::string_view folder;
  records::FieldRef entity;
  std::string_view statusLabel;
};

const RaceFileKind kHorseRaceFiles{HorseIdListName(), kHorseRaceFolder, records::se::HorseId,
                                   "SE/UM 終わり"};
const RaceFileKind kJockeyRaceFiles{JockeyCodeListName(), kJockeyRaceFolder,
                                    records::se::JockeyCode, "SE/KS 終わり"};

UpsertRule RaceFileRule(const RaceFileKind& kind) {
  using namespace records::se;
  UpsertRule rule;
  rule.listFile = DataPath(kind.list);
  rule.sourceFile = DataPath(CleanedRecordFileName("SE"));
  rule.recordLength = static_cast<std::size_t>(records::kRunnerLayout.storedLength);
  rule.folderPrefix = EntityFolderPrefix(kind.folder);
  rule.entityField = kind.entity;
  // The racecourse is not part of a run's identity: two rides of one jockey on one day
  // with the same race and horse numbers at two courses are one run of his file.
  rule.identityFields = {RaceYear, RaceMonthDay, RaceNumber, HorseNumber, kind.entity};
  return rule;
}

}  // namespace

std::string MainWindowSteps::Command6_Click(StepHost& host) {
  return UpsertStep(RaceFileRule(kHorseRaceFiles), kHorseRaceFiles.statusLabel, host);
}

std::string MainWindowSteps::Command15_Click(StepHost& host) {
  return UpsertStep(RaceFileRule(kJockeyRaceFiles), kJockeyRaceFiles.statusLabel, host);
}

}  // namespace meridax
