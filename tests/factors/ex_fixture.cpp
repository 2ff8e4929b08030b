#include "tests/factors/ex_fixture.h"

#include "datasetup/factors/factor_item_record.h"
#include "datasetup/factors/item_toolkit.h"
#include "platform/drive.h"

namespace meridax::testing {

std::string ExRun(std::initializer_list<FieldValue> fields) {
  return MakeRecord(kExtendedRunLength, fields);
}

void WriteRuns(std::string_view horseId, const std::vector<std::string>& runs) {
  WriteRecords(DataPath("UMAGOTOEXSETUP\\" + std::string(horseId) + "EX.dat"), runs);
}

ExFixture::ExFixture(std::vector<std::string> runs, std::string_view horseId) : horseId_(horseId) {
  SetRuns(std::move(runs));
}

void ExFixture::SetRuns(std::vector<std::string> runs) {
  runs_.reset();
  stats.Clear();
  WriteRuns(horseId_, runs);
  runs_ = std::make_unique<RunFile>(DataPath("UMAGOTOEXSETUP\\" + horseId_ + "EX.dat"));
}

void ExFixture::WriteStats(std::string_view relative, const std::vector<std::string>& records) {
  stats.Clear();
  WriteRecords(DataPath(relative), records);
}

ItemContext& ExFixture::At(std::int32_t r) {
  itemRecord = BlankFactorItemRecord();
  context_ = ItemContext{};
  context_.runs = runs_.get();
  context_.CurrentRunNumber = r;
  context_.CurrentRunCount = static_cast<std::int32_t>(runs_->Count());
  context_.CurrentItemRecord = &itemRecord;
  context_.stats = &stats;
  context_.ReadCurrent();
  return context_;
}

std::string ExFixture::Code(ItemRoutine routine, std::int32_t r) {
  ItemContext& c = At(r);
  try {
    return routine(c);
  } catch (const ItemAbandoned&) {
    return std::string(kAbandoned);
  }
}

}  // namespace meridax::testing
