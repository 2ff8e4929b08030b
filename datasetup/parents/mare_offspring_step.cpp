// "SK/HN": the cleaned offspring file split into one record file per listed dam.

#include <string>

#include "datasetup/common/data_files.h"
#include "datasetup/common/entity_upsert.h"
#include "datasetup/parents/parent_steps.h"
#include "records/horse_layouts.h"

namespace meridax {

std::string MareOffspringStep(StepHost& host) {
  namespace sk = records::sk;
  UpsertRule rule;
  rule.listFile = DataPath(DamNumberListName());
  rule.sourceFile = DataPath(CleanedRecordFileName("SK"));
  rule.recordLength = static_cast<std::size_t>(records::kOffspringLayout.storedLength);
  rule.folderPrefix = EntityFolderPrefix(kMareOffspringFolder);
  rule.entityField = sk::PedigreeBreedingNumbers.At(2);
  // A foal is its HorseId; the cleaned file's order (ascending HorseId, so by year of
  // birth) is the order of a mare's file, which the run history counts foals by.
  rule.identityFields = {sk::HorseId};
  rule.eventsWhileEmptying = false;

  return UpsertStep(rule, "SK/HN 終わり", host);
}

}  // namespace meridax
