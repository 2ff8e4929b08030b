// "計算": the extended run file of every horse of the earlier generation's list, each run
// joined with its race, horse, jockey, foal order and last market sale.

#include <filesystem>
#include <unordered_set>

#include "datasetup/common/data_files.h"
#include "datasetup/common/extended_run_record.h"
#include "datasetup/common/file_ids.h"
#include "datasetup/common/record_index.h"
#include "datasetup/runhistory/run_history_steps.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"

namespace meridax {
namespace {

namespace fs = std::filesystem;
namespace ra = records::ra;
namespace se = records::se;

// A race is found by course, date and race number; meeting number and day are not part of
// the key. The runner record holds the same fields at the same positions.
constexpr records::FieldRef kRaceLookupKey[] = {ra::RacecourseCode, ra::RaceYear, ra::RaceMonthDay,
                                                ra::RaceNumber};
static_assert(se::RacecourseCode == ra::RacecourseCode && se::RaceYear == ra::RaceYear &&
              se::RaceMonthDay == ra::RaceMonthDay && se::RaceNumber == ra::RaceNumber);

constexpr auto Length(const records::Layout& layout) {
  return static_cast<std::size_t>(layout.storedLength);
}

// What one extended run record is assembled from; an empty view is a record not found.
struct RunSources {
  std::string_view run, race, horse, jockey, sale, foalOrder;
};

void AssembleExtendedRun(const RunSources& s, std::string& record) {
  record.assign(static_cast<std::size_t>(kExtendedRunLength), ' ');
  for (const FieldOrigin& o : kExtendedRunOrigins) {
    std::string_view text;
    switch (o.origin) {
      case Origin::kRun:
        text = records::View(s.run, o.source);
        break;
      case Origin::kRace:
        text = records::View(s.race, o.source);
        break;
      case Origin::kHorse:
        text = records::View(s.horse, o.source);
        break;
      case Origin::kJockey:
        text = records::View(s.jockey, o.source);
        break;
      case Origin::kSale:
        text = s.sale.empty() ? o.fallback : records::View(s.sale, o.source);
        break;
      case Origin::kFoalOrder:
        text = s.foalOrder;
        break;
      case Origin::kBlank:
        break;
    }
    records::Put(record, o.field, text);
  }
}

// Opens (so creates) the file of every dam of the horse table once, as reading the foal
// order of each horse record does; the foal orders themselves are read only for the horses
// that are looked up. A dam whose file cannot be made is left to the look-up, which then
// gives that horse no foal order.
void TouchDamFiles(const RecordMap& horses) {
  if (!FolderExists(DataPath(kMareOffspringFolder))) return;
  std::unordered_set<std::string_view> seen;
  for (std::int64_t i = 1; i <= horses.Count(); ++i) {
    const std::string_view dam =
        records::View(horses.Record(i), records::um::Pedigree_BreedingNumber.In(2));
    if (!seen.insert(dam).second) continue;
    const auto path = EntityFilePath(kMareOffspringFolder, dam);
    if (!path) continue;
    try {
      RecordFile(*path, Length(records::kOffspringLayout));
    } catch (const IoError&) {
    }
  }
}

bool InCourseRange(std::string_view run) {
  const std::string_view course = records::View(run, se::RacecourseCode);
  return course >= "01" && course <= "10";
}

}  // namespace

std::string RunHistorySteps::Command1_Click(StepHost& host) {
  RequireFolder(DataPath());
  RequireFolder(DataPath(kExtendedRunFolder));
  RequireFolder(DataPath(kHorseRaceFolder));

  // Every listed horse's file starts empty; all are put in place together at the end, so
  // a step that fails leaves every earlier file as it was.
  StagedFiles outputs;
  extendedHorseIds_.clear();
  {
    ItemReader list(DataPath(HorseIdListName(kEarlierGeneration)));
    while (!list.AtEnd()) extendedHorseIds_.push_back(list.Next());
  }
  std::vector<fs::path> extendedFiles(extendedHorseIds_.size()), raceFiles(extendedFiles.size());
  SkippedIds unsafe;
  for (std::size_t h = 0; h < extendedHorseIds_.size(); ++h) {
    const std::string& id = extendedHorseIds_[h];
    const auto extended = ExtendedRunFilePath(id);
    const auto races = EntityFilePath(kHorseRaceFolder, id);
    if (!extended || !races) {
      unsafe.Add(id);
      continue;
    }
    extendedFiles[h] = outputs.Stage(*extended);
    raceFiles[h] = *races;
  }

  // The look-up tables, each indexed once for the last record of a key, as a scan that
  // lets every match overwrite the one before finds it.
  const RecordMap horses(DataPath(CleanedRecordFileName("UM", kEarlierGeneration)),
                         Length(records::kHorseLayout));
  const records::FieldRef horseKey[] = {records::um::HorseId};
  const RecordIndex horseIndex(horses, horseKey, Match::kLast);
  TouchDamFiles(horses);
  const RecordMap jockeys(DataPath(CleanedRecordFileName("KS", kEarlierGeneration)),
                          Length(records::kJockeyLayout));
  const records::FieldRef jockeyKey[] = {records::ks::JockeyCode};
  const RecordIndex jockeyIndex(jockeys, jockeyKey, Match::kLast);
  const RecordMap races(DataPath(CleanedRecordFileName("RA", kEarlierGeneration)),
                        Length(records::kRaceLayout));
  const RecordIndex raceIndex(races, kRaceLookupKey, Match::kLast);
  const records::FieldRef saleKey[] = {records::hs::HorseId};
  const RecordIndex saleIndex(
      marketSales_.Count(), [this](std::int64_t n) { return marketSales_.Row(n); }, saleKey,
      Match::kLast);

  std::vector<std::string> runs;
  std::string record;
  for (std::size_t h = 0; h < extendedHorseIds_.size(); ++h) {
    if (extendedFiles[h].empty()) continue;  // an id that names no file
    RecordFile raceFile(raceFiles[h], Length(records::kRunnerLayout));
    const std::int64_t n = raceFile.Count();
    if (n == 0) continue;
    runs.resize(static_cast<std::size_t>(n));
    for (std::int64_t j = 1; j <= n; ++j) raceFile.Read(j, runs[static_cast<std::size_t>(j - 1)]);
    raceFile.Close();

    // The horse is the one of its first run at a course "01" to "10", or of its last run.
    std::size_t keyRun = 0;
    while (keyRun + 1 < runs.size() && !InCourseRange(runs[keyRun])) ++keyRun;
    const std::string_view horseId = records::View(runs[keyRun], se::HorseId);
    RunSources sources;
    std::string foalOrder;
    if (const std::int64_t i = horseIndex.Find(horseId); i > 0) {
      sources.horse = horses.Record(i);
      foalOrder = GetFoalOrder(sources.horse);
      sources.foalOrder = foalOrder;
    }
    host.ProcessEvents();
    if (const std::int64_t s = saleIndex.Find(horseId); s > 0) sources.sale = marketSales_.Row(s);

    RecordFile extended(extendedFiles[h], static_cast<std::size_t>(kExtendedRunLength));
    for (std::int64_t j = 1; j <= n; ++j) {
      sources.run = runs[static_cast<std::size_t>(j - 1)];
      sources.race = {};
      sources.jockey = {};
      if (const std::int64_t r = raceIndex.Find(JoinedKey(sources.run, kRaceLookupKey)); r > 0) {
        sources.race = races.Record(r);
        // The jockey only for a run whose race is found.
        if (const std::int64_t k = jockeyIndex.Find(records::View(sources.run, se::JockeyCode));
            k > 0) {
          sources.jockey = jockeys.Record(k);
        }
      }
      AssembleExtendedRun(sources, record);
      extended.Write(j, record);
    }
    extended.Close();
  }
  outputs.Commit();
  return "終わり" + unsafe.Note();
}

}  // namespace meridax
