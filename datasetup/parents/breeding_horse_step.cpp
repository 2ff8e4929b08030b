// "HN（繁殖）": the cleaned breeding-horse file, then the female line of every mare in it.

#include <string>

#include "datasetup/common/cleaning.h"
#include "datasetup/common/data_files.h"
#include "datasetup/common/step_frame.h"
#include "datasetup/parents/female_line.h"
#include "datasetup/parents/parent_steps.h"
#include "platform/file_ops.h"
#include "platform/record_map.h"
#include "platform/text_file.h"
#include "records/horse_layouts.h"

namespace meridax {
namespace {

CleaningRule BreedingHorseRule() {
  CleaningRule rule = CleaningRuleOf("HN");
  rule.recordLength = records::kBreedingHorseLayout.storedLength;
  rule.keyFields = {records::hn::BreedingNumber};
  rule.keep = KeepOfRun::kFirst;
  rule.categories = "12";
  // The female-line phase reads the cleaned file back and its count is what stays.
  rule.countAfter = CountAfter::kCleanedRecords;
  return rule;
}

}  // namespace

std::string BreedingHorseStep(MainWindowState& state) {
  RequireFolder(DataPath());
  StagedFiles outputs;
  const CleaningResult cleaned = CleanRecords(BreedingHorseRule(), outputs);
  const RecordMap horses(cleaned.staged, records::kBreedingHorseLayout.storedLength);

  TextWriter lines(outputs.Stage(DataPath(FemaleLineFileName())), TextWriter::Mode::kOutput);
  const std::int64_t mares = WriteFemaleLines(horses, lines);
  lines.Close();
  outputs.Commit();

  state.recordCount = static_cast<std::int32_t>(cleaned.recordCount);
  return StatusText("HN 終わり", state.recordCount) + " " + std::to_string(mares);
}

}  // namespace meridax
