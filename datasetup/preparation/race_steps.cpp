// "RA(レース）" and "SE(詳細)": one cleaned record per race and per runner.

#include "datasetup/common/cleaning.h"
#include "datasetup/common/paths.h"
#include "datasetup/common/step_frame.h"
#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "records/race_layouts.h"

namespace meridax {
namespace {

// The two steps differ only in their rule and label; the status shows the raw count.
std::string CleanOnly(MainWindowState& state, const CleaningRule& rule, std::string_view label) {
  RequireFolder(DataPath());
  StagedFiles outputs;
  const CleaningResult result = CleanRecords(rule, outputs);
  outputs.Commit();
  state.recordCount = static_cast<std::int32_t>(result.recordCount);
  return StatusText(label, state.recordCount);
}

CleaningRule RaceRule() {
  using namespace records::ra;
  CleaningRule rule = CleaningRuleOf("RA");
  rule.recordLength = records::kRaceLayout.storedLength;
  // Meeting number and day are left out of the key: a race is its date, course and number.
  rule.keyFields = {RaceYear, RaceMonthDay, RacecourseCode, RaceNumber};
  rule.keep = KeepOfRun::kFirst;
  rule.categories = "7BA";
  return rule;
}

CleaningRule RunnerRule() {
  using namespace records::se;
  CleaningRule rule = CleaningRuleOf("SE");
  rule.recordLength = records::kRunnerLayout.storedLength;
  // The racecourse is not in the runner key, so runners of one date, race number, horse
  // number and horse at two courses count as one.
  rule.keyFields = {RaceYear, RaceMonthDay, RaceNumber, HorseNumber, HorseId};
  rule.keep = KeepOfRun::kLast;
  rule.categories = "7BA";
  return rule;
}

}  // namespace

std::string MainWindowSteps::Command1_Click(StepHost& /*host*/) {
  return CleanOnly(state_, RaceRule(), "RA 終わり");
}

std::string MainWindowSteps::Command2_Click(StepHost& /*host*/) {
  return CleanOnly(state_, RunnerRule(), "SE 終わり");
}

}  // namespace meridax
