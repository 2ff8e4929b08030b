// The three speed figures and items 1 to 30 over a generated world: 100,000 runs by
// default (ten per horse), with the jockey, trainer, horse, sire and dam statistics files at
// realistic size and category tables of a few hundred codes per item, which item 29 scores
// with. Each code is stored in the item record as the factor step stores it. Reports runs
// per second of the whole loop, EX files opened and statistics indexed at first use
// included; then the same for the item variants.
//   items_bench [runs]
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "datasetup/factors/factor_items.h"
#include "datasetup/factors/runner_scoring.h"
#include "datasetup/factorvariants/variant_routines.h"
#include "platform/drive.h"

namespace {

namespace fs = std::filesystem;
using namespace meridax;
namespace ex = extended_run;
using records::FieldRef;
using records::Put;

struct Field {
  FieldRef ref;
  std::string text;
};

std::string Record(std::size_t length, const std::vector<Field>& fields) {
  std::string record(length, ' ');
  record[length - 2] = '\r';
  record[length - 1] = '\n';
  for (const auto& f : fields) Put(record, f.ref, f.text);
  return record;
}

std::string Digits(std::mt19937& rng, int width, std::uint32_t below) {
  std::string text = std::to_string(rng() % below);
  return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

void WriteFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Code(const char* prefix, std::uint32_t n, int width) {
  std::string digits = std::to_string(n);
  std::string code = prefix;
  code += std::string(static_cast<std::size_t>(width) - code.size() - digits.size(), '0');
  return code + digits;
}

}  // namespace

int main(int argc, char** argv) {
  const long runCount = argc > 1 ? std::atol(argv[1]) : 100000;
  const int runsPerHorse = 10;
  const long horses = (runCount + runsPerHorse - 1) / runsPerHorse;
  const std::uint32_t jockeys = 3000, trainers = 3000, statHorses = 200000, sires = 20000,
                      dams = 150000;

  std::string pattern = (fs::temp_directory_path() / "meridax-items-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return 1;
  const fs::path root = pattern;
  SetDriveRoot(root);
  const fs::path data = DataPath();
  fs::create_directories(data / "OPTION1N");
  fs::create_directories(data / "UMAGOTOEXSETUP");

  std::mt19937 rng(20190101);
  auto writeStats = [&](const fs::path& path, std::uint32_t count, auto&& record) {
    std::string bytes;
    for (std::uint32_t n = 0; n < count; ++n) bytes += record(n);
    WriteFile(path, bytes);
  };
  writeStats(data / "KISHUSEISEI.dat", jockeys, [&](std::uint32_t n) {
    return Record(121, {{person_stat::PersonCode, Code("0", n, 5)},
                        {person_stat::TotalTurfTop3Rate, Digits(rng, 6, 60000)},
                        {person_stat::TotalDirtTop3Rate, Digits(rng, 6, 60000)},
                        {person_stat::JumpTop3Rate, Digits(rng, 6, 60000)}});
  });
  writeStats(data / "CHOKYOSEISEI.dat", trainers, [&](std::uint32_t n) {
    return Record(121, {{person_stat::PersonCode, Code("0", n, 5)},
                        {person_stat::TotalTurfTop3Rate, Digits(rng, 6, 60000)},
                        {person_stat::TotalDirtTop3Rate, Digits(rng, 6, 60000)},
                        {person_stat::JumpTop3Rate, Digits(rng, 6, 60000)}});
  });
  writeStats(data / "OPTION1N" / "KYOSOBA.dat", statHorses, [&](std::uint32_t n) {
    return Record(228, {{horse_stat::HorseId, Code("2016", n, 10)},
                        {horse_stat::OverallTop3Rate, Digits(rng, 6, 100001)},
                        {horse_stat::LineTop3Rates.At(7), Digits(rng, 6, 100001)},
                        {horse_stat::JraStarts, Digits(rng, 6, 30)},
                        {horse_stat::FlatPrizeTotal, Digits(rng, 9, 300000)},
                        {horse_stat::JumpStarts, Digits(rng, 6, 5)},
                        {horse_stat::JumpPrizeTotal, Digits(rng, 9, 30000)}});
  });
  auto parentRecord = [&](const char* prefix, std::uint32_t n) {
    std::string record =
        Record(402, {{parent_stat::ParentBreedingNumber, Code(prefix, n, 10)},
                     {parent_stat::JraStarts, Digits(rng, 6, 5000)},
                     {parent_stat::JumpStarts, Digits(rng, 6, 200)},
                     {parent_stat::OffspringFlatPrizeTotal, Digits(rng, 9, 999999999)},
                     {parent_stat::OffspringJumpPrizeTotal, Digits(rng, 9, 99999999)},
                     {parent_stat::OffspringFlatEarningsTotal, Digits(rng, 9, 999999999)}});
    for (int k = 1; k <= 25; ++k)
      Put(record, parent_stat::LineTop3Rates.At(k), Digits(rng, 6, 60000));
    return record;
  };
  writeStats(data / "OPTION1N" / "STALLION.dat", sires,
             [&](std::uint32_t n) { return parentRecord("11", n); });
  writeStats(data / "OPTION1N" / "MARE.dat", dams,
             [&](std::uint32_t n) { return parentRecord("12", n); });

  const char* tracks[] = {"10", "11", "12", "17", "18", "21", "22", "23", "24", "25", "51", "54"};
  const char* symbols[] = {"N2 ", "A01", "B00", "N00"};
  std::vector<std::string> ids;
  for (long h = 0; h < horses; ++h) {
    // Most horses have statistics; a few are missing from the file, as new ones are.
    const std::string id = Code("2016", static_cast<std::uint32_t>(h * 19 % 230000), 10);
    ids.push_back(id);
    std::string bytes;
    for (int r = 1; r <= runsPerHorse; ++r) {
      bytes += Record(
          kExtendedRunLength,
          {{ex::DataCategory, "7"},
           {ex::RaceYear, std::to_string(2018 + r / 4)},
           {ex::RaceMonthDay, Digits(rng, 2, 12).replace(0, 2, "0" + std::to_string(1 + r % 9)) +
                                  std::to_string(10 + rng() % 18)},
           {ex::RacecourseCode, Code("", 1 + rng() % 10, 2)},
           {ex::FrameNumber, std::to_string(1 + rng() % 8)},
           {ex::HorseNumber, Code("", 1 + rng() % 18, 2)},
           {ex::HorseId, id},
           {ex::WeekdayCode, std::to_string(1 + r % 7)},
           {ex::BirthYear, "2016"},
           {ex::BirthMonth, Code("", 1 + rng() % 5, 2)},
           {ex::BirthDay, Code("", 1 + rng() % 28, 2)},
           {ex::AncestorBlocks_BreedingNumber.In(1), Code("11", rng() % (sires + 500), 10)},
           {ex::AncestorBlocks_BreedingNumber.In(2), Code("12", rng() % dams, 10)},
           {ex::SexCode, std::to_string(1 + rng() % 3)},
           {ex::WeightCarried, std::to_string(520 + rng() % 60)},
           {ex::JockeyCode, Code("0", rng() % (jockeys + 100), 5)},
           {ex::BodyWeight, std::to_string(400 + rng() % 150)},
           {ex::AbnormalityCode, rng() % 20 == 0 ? "1" : "0"},
           {ex::FinishTime, "1" + Digits(rng, 3, 600)},
           {ex::PrizeMoney, Digits(rng, 8, 20000000)},
           {ex::Last3FurlongTime, std::to_string(330 + rng() % 60)},
           {ex::GradeCode, rng() % 3 == 0 ? "A" : " "},
           {ex::RaceConditionSymbol, symbols[rng() % 4]},
           {ex::YoungestAgeCondition, "701"},
           {ex::Distance, std::to_string(1000 + 200 * (rng() % 13))},
           {ex::TrackCode, tracks[rng() % 12]},
           {ex::RaceNumber, Code("", 1 + rng() % 12, 2)},
           {ex::MeetingNumber, Code("", 1 + rng() % 5, 2)},
           {ex::MeetingDay, Code("", 1 + rng() % 12, 2)},
           {ex::HorseSymbolCode, rng() % 4 == 0 ? "21" : "00"},
           {ex::TrainerCode, Code("0", rng() % (trainers + 100), 5)},
           {ex::JockeyBirthYear, std::to_string(1960 + rng() % 45)},
           {ex::ApprenticeCode, std::to_string(rng() % 4)},
           {ex::ArrivalOrder, Code("", 1 + rng() % 18, 2)},
           {ex::MarginCode, "A" + Digits(rng, 2, 99)},
           {ex::WinOdds, Digits(rng, 4, 3000)},
           {ex::TimeBehindWinner, (rng() % 10 == 0 ? "-" : "+") + Digits(rng, 3, 60)},
           {ex::CourseDivision, rng() % 2 == 0 ? "A " : "  "},
           {ex::RegisteredCount, Code("", 5 + rng() % 14, 2)},
           {ex::TurfGoingCode, std::to_string(1 + rng() % 4)},
           {ex::DirtGoingCode, std::to_string(1 + rng() % 4)}});
    }
    WriteFile(data / "UMAGOTOEXSETUP" / (id + "EX.dat"), bytes);
  }

  // The routines in the order of the factor step, each with the field it fills.
  std::vector<std::pair<ItemRoutine, FieldRef>> routines = {{AgariSpeed, factor_item::AgariFigure},
                                                            {PaceSpeed, factor_item::PaceFigure},
                                                            {SohaSpeed, factor_item::SohaFigure}};
  const ItemRoutine items[] = {Factor01, Factor02, Factor03, Factor04, Factor05, Factor06,
                               Factor07, Factor08, Factor09, Factor10, Factor11, Factor12,
                               Factor13, Factor14, Factor15, Factor16, Factor17, Factor18,
                               Factor19, Factor20, Factor21, Factor22, Factor23, Factor24,
                               Factor25, Factor26, Factor27, Factor28, Factor29, Factor30};
  for (int k = 1; k <= kFactorItemCount; ++k) {
    routines.emplace_back(items[k - 1], factor_item::Item(k));
  }

  // Category tables of every kind: up to 400 codes per item, as the first horses' runs give
  // them, with weights that put a prediction near a real Agari speed.
  CategoryTables tables;
  {
    StatisticsCache stats;
    std::string itemRecord = BlankFactorItemRecord();
    std::vector<std::vector<std::string>> seen(kFactorItemCount + 1);
    for (std::size_t h = 0; h < ids.size() && h < 300; ++h) {
      RunFile file(DataPath("UMAGOTOEXSETUP\\" + ids[h] + "EX.dat"));
      ItemContext c;
      c.runs = &file;
      c.CurrentItemRecord = &itemRecord;
      c.stats = &stats;
      for (c.CurrentRunNumber = 1; c.CurrentRunNumber <= file.Count(); ++c.CurrentRunNumber) {
        for (int k = 1; k <= 28; ++k) {
          try {
            Put(itemRecord, factor_item::Item(k), items[k - 1](c));
          } catch (const ItemAbandoned&) {
          }
          auto& codes = seen[static_cast<std::size_t>(k)];
          const std::string code(records::View(itemRecord, factor_item::Item(k)));
          if (codes.size() < 400 && std::find(codes.begin(), codes.end(), code) == codes.end()) {
            codes.push_back(code);
          }
        }
      }
    }
    std::uniform_real_distribution<float> weight(0.0f, 4.0f);
    for (auto& t : tables) {
      for (int k = 1; k <= 28; ++k) {
        const auto& codes = seen[static_cast<std::size_t>(k)];
        t.totals[static_cast<std::size_t>(k)] = static_cast<std::int64_t>(codes.size());
        t.codes[static_cast<std::size_t>(k)] = {""};
        t.agari[static_cast<std::size_t>(k)] = {0.0f};
        for (const auto& code : codes) {
          t.codes[static_cast<std::size_t>(k)].push_back(code);
          t.agari[static_cast<std::size_t>(k)].push_back(weight(rng));
        }
      }
    }
  }

  std::size_t check = 0;
  long runs = 0, abandoned = 0;
  std::chrono::duration<double> inRoutines{0};
  // A context on a horse's file as the factor step sets it up.
  auto contextOn = [&](const RunFile& file, StatisticsCache& stats, std::string& itemRecord) {
    ItemContext c;
    c.runs = &file;
    c.CurrentRunCount = static_cast<std::int32_t>(file.Count());
    c.CurrentItemRecord = &itemRecord;
    c.stats = &stats;
    c.tables = &tables;
    return c;
  };
  const auto start = std::chrono::steady_clock::now();
  {
    StatisticsCache stats;
    RunnerScoring scoring(&tables);
    std::string itemRecord = BlankFactorItemRecord();
    for (const auto& id : ids) {
      RunFile file(DataPath("UMAGOTOEXSETUP\\" + id + "EX.dat"));
      ItemContext c = contextOn(file, stats, itemRecord);
      c.scoring = &scoring;
      for (std::int32_t r = 1; r <= c.CurrentRunCount && runs < runCount; ++r, ++runs) {
        c.CurrentRunNumber = r;
        c.ReadCurrent();
        const auto before = std::chrono::steady_clock::now();
        for (const auto& [routine, field] : routines) {
          try {
            const std::string code = routine(c);
            check += code.size();
            Put(itemRecord, field, code);
          } catch (const ItemAbandoned&) {
            ++abandoned;
          }
        }
        inRoutines += std::chrono::steady_clock::now() - before;
      }
    }
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf(
      "speed figures and items 1-30: %ld runs of %ld horses in %.3f s, %.0f runs/s (%ld abandoned, "
      "%zu)\n",
      runs, horses, seconds.count(), static_cast<double>(runs) / seconds.count(), abandoned, check);
  std::printf("  in the routines alone (EX files opened and closed apart): %.3f s, %.0f runs/s\n",
              inRoutines.count(), static_cast<double>(runs) / inRoutines.count());

  // The item variants on the same runs, codes only, as the probe shows them.
  long variantRuns = 0, variantAbandoned = 0;
  const auto variantStart = std::chrono::steady_clock::now();
  {
    StatisticsCache stats;
    std::string itemRecord = BlankFactorItemRecord();
    for (const auto& id : ids) {
      RunFile file(DataPath("UMAGOTOEXSETUP\\" + id + "EX.dat"));
      ItemContext c = contextOn(file, stats, itemRecord);
      for (std::int32_t r = 1; r <= c.CurrentRunCount && variantRuns < runCount;
           ++r, ++variantRuns) {
        c.CurrentRunNumber = r;
        for (const NamedRoutine& variant : VariantRoutines()) {
          try {
            check += variant.routine(c).size();
          } catch (const ItemAbandoned&) {
            ++variantAbandoned;
          }
        }
      }
    }
  }
  const std::chrono::duration<double> variantSeconds =
      std::chrono::steady_clock::now() - variantStart;
  std::printf("%zu item variants: %ld runs in %.3f s, %.0f runs/s (%ld abandoned, %zu)\n",
              VariantRoutines().size(), variantRuns, variantSeconds.count(),
              static_cast<double>(variantRuns) / variantSeconds.count(), variantAbandoned, check);
  fs::remove_all(root);
}
