// "SK/HN": the cleaned offspring file split into one record file per listed dam.

#include <string>

#include "datasetup/common/entity_upsert.h"
#include "datasetup/common/paths.h"
#include "datasetup/parents/parent_steps.h"
#include "records/horse_layouts.h"

namespace meridax {

std::string MareOffspringStep(StepHost& host) {
  namespace sk = records::sk;
  UpsertRule rule;
  rule.listFile = DataPath("HAHAHANNUM20190101.dat");
  rule.sourceFile = DataPath("SK20190101NEW.dat");
  rule.recordLength = static_cast<std::size_t>(records::kOffspringLayout.storedLength);
  rule.folderPrefix = "C:\\MERIDAXPROJECT\\HAHAHAN\\";
  rule.entityField = sk::PedigreeBreedingNumbers.At(2);
  // A foal is its HorseId; the cleaned file's order (ascending HorseId, so by year of
  // birth) is the order of a mare's file, which the run history counts foals by.
  rule.identityFields = {sk::HorseId};
  rule.eventsWhileEmptying = false;

  return UpsertStep(rule, "SK/HN 終わり", host);
}

}  // namespace meridax
