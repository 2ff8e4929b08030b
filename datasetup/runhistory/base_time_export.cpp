// "表示": the horses of the earlier generation's recent list into List1, and the base-time
// samples of their extended runs into KIJUNTIME.dat.

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <utility>

#include "datasetup/common/data_files.h"
#include "datasetup/common/extended_run_record.h"
#include "datasetup/common/file_ids.h"
#include "datasetup/runhistory/run_history_steps.h"
#include "platform/cp932.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"

namespace meridax {
namespace {

namespace fs = std::filesystem;
namespace x = extended_run;

constexpr std::array<std::string_view, 5> kDistances{"1200", "1600", "1700", "1800", "2000"};

bool Between(std::string_view text, std::string_view low, std::string_view high) {
  return text >= low && text <= high;
}

// The horse's age in the race year when the run is a base-time sample, tested in this
// order: youngest-age condition "005" to "100", one of the distances, course "01" to "10",
// race year 2001 to 2008, age 3 or 4. A year that does not read as a number rejects the
// run (a horse missing from the horse table has a blank birth date).
std::optional<int> SampleAge(std::string_view run) {
  if (!Between(records::View(run, x::YoungestAgeCondition), "005", "100")) return std::nullopt;
  const std::string_view distance = records::View(run, x::Distance);
  if (std::find(kDistances.begin(), kDistances.end(), distance) == kDistances.end()) {
    return std::nullopt;
  }
  if (!Between(records::View(run, x::RacecourseCode), "01", "10")) return std::nullopt;
  if (!Between(records::View(run, x::RaceYear), "2001", "2008")) return std::nullopt;
  const auto raceYear = ToInt16(records::View(run, x::RaceYear));
  const auto birthYear = ToInt16(records::View(run, x::BirthYear));
  if (!raceYear || !birthYear) return std::nullopt;
  const int age = *raceYear - *birthYear;
  if (age < 3 || age > 4) return std::nullopt;
  return age;
}

}  // namespace

std::string RunHistorySteps::Command2_Click(StepHost& /*host*/) {
  RequireFolder(DataPath());
  RequireFolder(DataPath(kExtendedRunFolder));
  const fs::path listFile = DataPath(RecentHorseIdListName(kEarlierGeneration));
  if (const int why = WhyNotAFile(listFile)) {
    if (why == ENOENT) throw IoError("ファイルがありません", listFile);
    throw IoError("ファイルを読めません", listFile, why);
  }

  StagedFiles outputs;
  TextWriter samples(outputs.Stage(DataPath(kBaseTimeSampleFileName)), TextWriter::Mode::kOutput);
  extendedHorseIds_.clear();
  SkippedIds unsafe;
  ItemReader ids(listFile);
  std::string run;
  while (!ids.AtEnd()) {
    const std::string& id = extendedHorseIds_.emplace_back(ids.Next());
    const auto path = ExtendedRunFilePath(id);
    if (!path) {
      unsafe.Add(id);
      continue;
    }
    std::string entry = ExtendedRunEntry(id);
    list.AddItem(Cp932ToUtf8(entry));
    listIds_.push_back(std::move(entry));
    RecordFile runs(*path, static_cast<std::size_t>(kExtendedRunLength));
    // Whole records only: a trailing partial record is not read.
    const auto n = static_cast<std::int64_t>(runs.Length() / kExtendedRunLength);
    for (std::int64_t k = 1; k <= n; ++k) {
      runs.Read(k, run);
      const std::optional<int> age = SampleAge(run);
      if (!age) continue;
      samples.Str(records::View(run, x::RaceYear))
          .Str(std::to_string(*age))
          .Str(records::View(run, x::RacecourseCode))
          .Str(records::View(run, x::TrackCode))
          .Str(records::View(run, x::Distance))
          .Str(records::View(run, x::FinishTime))
          .Str(records::View(run, x::YoungestAgeCondition))
          .Str(records::View(run, x::WeatherCode))
          .Str(records::View(run, x::TurfGoingCode))
          .Str(records::View(run, x::DirtGoingCode))
          .EndLine();
    }
  }
  samples.Close();
  outputs.Commit();
  return "終わり" + unsafe.Note();
}

}  // namespace meridax
