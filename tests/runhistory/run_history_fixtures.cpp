#include "tests/runhistory/run_history_fixtures.h"

#include "datasetup/runhistory/run_history_steps.h"
#include "tests/support/temp_drive.h"

namespace meridax::testing {

namespace {
std::size_t Length(const records::Layout& layout) {
  return static_cast<std::size_t>(layout.storedLength);
}
}  // namespace

std::string Runner(std::initializer_list<FieldValue> fields) {
  return MakeRecord(Length(records::kRunnerLayout), fields);
}
std::string Race(std::initializer_list<FieldValue> fields) {
  return MakeRecord(Length(records::kRaceLayout), fields);
}
std::string Horse(std::initializer_list<FieldValue> fields) {
  return MakeRecord(Length(records::kHorseLayout), fields);
}
std::string Jockey(std::initializer_list<FieldValue> fields) {
  return MakeRecord(Length(records::kJockeyLayout), fields);
}
std::string Foal(std::string_view horseId) {
  return MakeRecord(Length(records::kOffspringLayout), {{records::sk::HorseId, horseId}});
}
std::string Sale(std::initializer_list<FieldValue> fields) {
  return MakeRecord(Length(records::kMarketSaleLayout), fields);
}

void WriteEarlierGeneration(const std::filesystem::path& data, const EarlierGeneration& world) {
  if (!world.list.empty()) WriteIdList(data / "KETTONUM20180101.dat", world.list);
  if (!world.horses.empty()) WriteRecords(data / "UM20180101NEW.dat", world.horses);
  if (!world.jockeys.empty()) WriteRecords(data / "KS20180101NEW.dat", world.jockeys);
  if (!world.races.empty()) WriteRecords(data / "RA20180101NEW.dat", world.races);
  if (!world.sales.empty()) WriteRecords(data / "HS20180101.dat", world.sales);
}

std::filesystem::path RaceFileOf(const std::filesystem::path& data, std::string_view id) {
  return data / "UMAGOTOSETUP" / (std::string(id) + ".dat");
}
std::filesystem::path ExtendedFileOf(const std::filesystem::path& data, std::string_view id) {
  return data / "UMAGOTOEXSETUP" / (std::string(id) + "EX.dat");
}

StepResult Load(WindowSteps& steps, StepHost& host) {
  return RunHandler(kRunHistoryWindow.load, "Form_Load", false, steps, host);
}

}  // namespace meridax::testing
