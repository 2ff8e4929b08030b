// "UM(競走馬)": the cleaned horse file, the horse list, the registration status list, each
// horse's finish-count files and its statistics record.

#include <string>

#include "datasetup/common/cleaning.h"
#include "datasetup/common/data_files.h"
#include "datasetup/common/file_ids.h"
#include "datasetup/common/finish_count_block.h"
#include "datasetup/common/horse_stat_record.h"
#include "datasetup/common/paths.h"
#include "datasetup/common/step_frame.h"
#include "datasetup/preparation/id_lists.h"
#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/text_file.h"
#include "records/horse_layouts.h"

namespace meridax {
namespace {

CleaningRule HorseRule() {
  CleaningRule rule;
  rule.rawFile = DataPath(RawRecordFileName("UM"));
  rule.cleanedFile = DataPath(CleanedRecordFileName("UM"));
  rule.recordLength = records::kHorseLayout.storedLength;
  rule.keyFields = {records::um::HorseId};
  rule.keep = KeepOfRun::kFirst;
  rule.categories = "12349";
  rule.countAfter = CountAfter::kCleanedRecords;
  return rule;
}

std::string HorseStep(MainWindowState& state, StepHost& host) {
  namespace um = records::um;
  RequireFolder(DataPath());
  const auto blockFolder = DataPath(kHorseBlockFolder);
  const auto vectorFolder = DataPath(kHorseVectorFolder);
  RequireFolder(blockFolder);
  RequireFolder(vectorFolder);
  RequireFolder(DataPath(kOptionFolder));

  StagedFiles outputs;
  const CleaningResult cleaned = CleanRecords(HorseRule(), outputs);
  const RecordMap horses(cleaned.staged, records::kHorseLayout.storedLength);
  const std::int64_t n = horses.Count();

  TextWriter idList(outputs.Stage(DataPath(HorseIdListName())), TextWriter::Mode::kOutput);
  TextWriter statusList(outputs.Stage(DataPath(kRegistrationStatusListName)),
                        TextWriter::Mode::kOutput);
  // Rebuilt whole: record n belongs to cleaned horse n, and no record of an earlier,
  // larger run stays past the end for readers to find.
  RecordFile stats(outputs.Stage(DataPath(kHorseStatFileName)),
                   static_cast<std::size_t>(kHorseStatLayout.storedLength));

  std::int64_t skipped = 0;
  std::string status;
  for (std::int64_t i = 1; i <= n; ++i) {
    const std::string_view horse = horses.Record(i);
    const std::string_view id = records::View(horse, um::HorseId);
    const std::string_view deregistration = records::View(horse, um::DeregistrationCode);
    const std::string_view races = records::View(horse, um::RegisteredRaceCount);

    if (IsDeregisteredWithoutRaces(horse)) {
      host.ProcessEvents();
    } else if (Val(id.substr(0, 4)) >= 2010) {
      idList.Str(id).EndLine();
    }

    if (i <= kRegistrationStatusRows) {
      status.assign(deregistration).append(races);
      statusList.Str(id).Str(status).EndLine();
    }

    // The block's items serve both its file and its values, so the record is cut once.
    const FinishCountItemList items = FinishCountItems(horse);
    const FinishCountValues values = FinishCountValuesOf(items);
    if (const auto name = FileNameOfId(id)) {
      TextWriter block(outputs.Stage(blockFolder / *name), TextWriter::Mode::kOutput);
      WriteFinishCountBlock(items, block);
      block.Close();
      TextWriter vector(outputs.Stage(vectorFolder / *name), TextWriter::Mode::kOutput);
      WriteFinishCountVector(values, vector);
      vector.Close();
    } else {
      ++skipped;
    }
    stats.Write(i, BuildHorseStatRecord(id, values));
  }
  idList.Close();
  statusList.Close();
  stats.Close();
  outputs.Commit();

  state.recordCount = static_cast<std::int32_t>(n);
  return StatusText("UM 終わり", state.recordCount) + RegistrationStatusCapNote(n) +
         SkippedIdsNote(skipped);
}

}  // namespace

std::string MainWindowSteps::Command3_Click(StepHost& host) {
  return HorseStep(state_, host);
}

}  // namespace meridax
