// The earlier generation and the OPTION1N tables read back through the record layouts: the
// keys one file names exist where the run-history window looks for them, but for the gaps
// the hazards plan, and the older era gives the base-time export its samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "datasetup/common/data_files.h"
#include "datasetup/common/file_ids.h"
#include "datasetup/common/formats.h"
#include "datasetup/common/parent_stat_record.h"
#include "platform/text_file.h"
#include "records/parsers.h"
#include "tests/sample/service_files.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

namespace fs = std::filesystem;
using namespace records;
using sample::Hazards;
using sample::Size;
using testing::StoredRecords;

std::string Field(std::string_view record, FieldRef f) {
  return std::string(View(record, f));
}

std::vector<std::string> Items(const fs::path& file) {
  std::vector<std::string> items;
  for (ItemReader in(file); !in.AtEnd();) items.push_back(in.Next());
  return items;
}

// RaceLookupKey: racecourse, year, month and day, race number.
std::string RunKey(std::string_view r) {
  return Field(r, se::RacecourseCode) + Field(r, se::RaceYear) + Field(r, se::RaceMonthDay) +
         Field(r, se::RaceNumber);
}
std::string RaceKey(std::string_view r) {
  return Field(r, ra::RacecourseCode) + Field(r, ra::RaceYear) + Field(r, ra::RaceMonthDay) +
         Field(r, ra::RaceNumber);
}

// One generated folder read once: the served records and the earlier files.
struct Generation {
  explicit Generation(const Hazards& hazards) : folder(Size::kSmall, 21, hazards) {
    served = testing::ByKind(testing::ServedRecords(folder.service()));
    listed = Items(At(HorseIdListName(kEarlierGeneration)));
    recent = Items(At(RecentHorseIdListName(kEarlierGeneration)));
    for (auto& r : StoredRecords(At(CleanedRecordFileName("UM", kEarlierGeneration)),
                                 kHorseLayout.storedLength)) {
      horses.emplace(Field(r, um::HorseId), std::move(r));
    }
    for (const auto& r : StoredRecords(At(CleanedRecordFileName("RA", kEarlierGeneration)),
                                       kRaceLayout.storedLength)) {
      races.emplace(RaceKey(r), r);
    }
    for (const auto& r : StoredRecords(At(CleanedRecordFileName("KS", kEarlierGeneration)),
                                       kJockeyLayout.storedLength)) {
      jockeys.insert(Field(r, ks::JockeyCode));
    }
    for (const auto& r : StoredRecords(At(CleanedRecordFileName("HN", kEarlierGeneration)),
                                       kBreedingHorseLayout.storedLength)) {
      breedingSex[Field(r, hn::BreedingNumber)] = Field(r, hn::SexCode);
    }
    for (const auto& r : served.at("SE")) {
      // The runs that the cleaning keeps go into the race files.
      if (std::string("7AB").find(r[2]) != std::string::npos) {
        runsOf[Field(r, se::HorseId)].push_back(r);
      }
    }
    for (auto& [id, runs] : runsOf) {
      std::sort(runs.begin(), runs.end(), [](const std::string& a, const std::string& b) {
        return Field(a, se::RaceYear) + Field(a, se::RaceMonthDay) <
               Field(b, se::RaceYear) + Field(b, se::RaceMonthDay);
      });
    }
    for (const auto& r : served.at("UM")) {
      const std::string id = Field(r, um::HorseId);
      const bool unraced =
          Field(r, um::DeregistrationCode) == "1" && Field(r, um::RegisteredRaceCount) == "000";
      if (id >= "2010" && !unraced) currentList.insert(id);
      currentHorses.insert(id);
    }
  }

  // A file of the earlier data folder by the name the system gives it.
  fs::path At(std::string_view name) const { return PathBelow(folder.earlier(), name); }

  // The runs the run-history window finds for a listed horse: its race file from the
  // earlier preparation, or the one "SE/UM" writes from the current runs.
  std::vector<std::string> RunsOf(const std::string& id) const {
    const fs::path file = At(kHorseRaceFolder) / FileNameOfId(id).value();
    if (fs::exists(file)) return StoredRecords(file, kRunnerLayout.storedLength);
    if (!currentList.count(id) || !runsOf.count(id)) return {};
    return runsOf.at(id);
  }

  testing::SampleFolder folder;
  std::map<std::string, std::vector<std::string>> served;
  std::vector<std::string> listed, recent;
  std::map<std::string, std::string> horses, races;
  std::set<std::string> jockeys, currentList, currentHorses;
  std::map<std::string, std::string> breedingSex;
  std::map<std::string, std::vector<std::string>> runsOf;
};

class EarlierTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { clean_ = new Generation(Hazards::None()); }
  static void TearDownTestSuite() { delete clean_; }
  static Generation* clean_;
};
Generation* EarlierTest::clean_ = nullptr;

TEST_F(EarlierTest, TheListHoldsNearlyAllOfTheCurrentListAndTheOlderHorsesThatRan) {
  const Generation& g = *clean_;
  const std::set<std::string> listed(g.listed.begin(), g.listed.end());
  EXPECT_EQ(listed.size(), g.listed.size()) << "no id twice without the hazard";
  EXPECT_TRUE(std::is_sorted(g.listed.begin(), g.listed.end()));
  int current = 0, older = 0;
  for (const std::string& id : g.listed) {
    ASSERT_TRUE(g.horses.count(id)) << id << " is a horse of the earlier horse file";
    ASSERT_TRUE(g.currentHorses.count(id)) << id << " is a horse of the current records";
    if (g.currentList.count(id)) {
      ++current;
      continue;
    }
    // Outside the current list: born before 2010, with the race file of all its runs.
    ++older;
    EXPECT_LT(id, "2010");
    const std::vector<std::string> runs = g.RunsOf(id);
    ASSERT_EQ(runs.size(), g.runsOf.at(id).size()) << id;
    for (std::size_t j = 0; j < runs.size(); ++j) {
      EXPECT_EQ(Field(runs[j], se::HorseId), id);
      EXPECT_EQ(runs[j].substr(runs[j].size() - 2), "\r\n");
      if (j > 0) {
        EXPECT_LT(Field(runs[j - 1], se::RaceYear) + Field(runs[j - 1], se::RaceMonthDay),
                  Field(runs[j], se::RaceYear) + Field(runs[j], se::RaceMonthDay));
      }
    }
  }
  EXPECT_GT(older, 0);
  EXPECT_LT(current, static_cast<int>(g.currentList.size())) << "a few are left out";
  EXPECT_GE(current * 100, 95 * static_cast<int>(g.currentList.size()));
  // The recent list: the listed horses whose last run is from 2000 on, in list order.
  std::vector<std::string> recent;
  for (const std::string& id : g.listed) {
    const std::vector<std::string> runs = g.RunsOf(id);
    if (!runs.empty() && Field(runs.back(), se::RaceYear) >= "2000") recent.push_back(id);
  }
  EXPECT_EQ(g.recent, recent);
}

TEST_F(EarlierTest, DamsHaveMareFilesAndRunsFindTheirRacesAndJockeys) {
  const Generation& g = *clean_;
  std::set<std::string> damsWithFoals;  // the dams whose mare files "SK/HN" writes
  for (const auto& r : g.served.at("SK")) {
    damsWithFoals.insert(Field(r, sk::PedigreeBreedingNumbers.At(2)));
  }
  for (const auto& [id, h] : g.horses) {
    const std::string dam = Field(h, um::Pedigree_BreedingNumber.In(2));
    EXPECT_TRUE(damsWithFoals.count(dam)) << id;
    ASSERT_TRUE(g.breedingSex.count(dam)) << id;
    EXPECT_EQ(g.breedingSex.at(dam), "2") << id;
  }
  int runs = 0;
  for (const std::string& id : g.listed) {
    for (const std::string& run : g.RunsOf(id)) {
      ++runs;
      ASSERT_TRUE(g.races.count(RunKey(run))) << id << " " << RunKey(run);
      EXPECT_TRUE(g.jockeys.count(Field(run, se::JockeyCode))) << id;
    }
  }
  EXPECT_GT(runs, 100);
  // Sales as delivered, of the generation's horses; some sold twice, organisers in
  // double-byte characters.
  std::map<std::string, int> sales;
  bool doubleByte = false;
  std::string line;
  for (LineReader in(g.At(RawRecordFileName("HS", kEarlierGeneration))); in.Next(line);) {
    ParsedHS sale;
    ParseHS(line, sale);
    EXPECT_EQ(line.size(), 198u);
    ++sales[std::string(sale[hs::HorseId])];
    doubleByte = doubleByte || static_cast<unsigned char>(sale[hs::MarketOrganizer][0]) >= 0x81;
  }
  for (const auto& [id, n] : sales) EXPECT_TRUE(g.horses.count(id)) << id;
  EXPECT_TRUE(std::any_of(sales.begin(), sales.end(), [](const auto& s) { return s.second > 1; }));
  EXPECT_TRUE(doubleByte);
}

// The five filters of the base-time export on a run joined with its race and horse.
bool IsBaseTimeSample(const std::string& run, const std::string& race, const std::string& horse) {
  const std::string condition = Field(race, ra::RaceAgeConditions.At(5));
  const std::string distance = Field(race, ra::Distance);
  const std::string course = Field(run, se::RacecourseCode);
  const std::string year = Field(run, se::RaceYear);
  const int age = std::stoi(year) - std::stoi(Field(horse, um::BirthYear));
  return condition >= "005" && condition <= "100" &&
         std::set<std::string>{"1200", "1600", "1700", "1800", "2000"}.count(distance) &&
         course >= "01" && course <= "10" && year >= "2001" && year <= "2008" && age >= 3 &&
         age <= 4;
}

class BaseTimeTest : public ::testing::TestWithParam<bool> {};

TEST_P(BaseTimeTest, TheOlderEraGivesRunsThatPassAllFiveFilters) {
  const Generation g(GetParam() ? Hazards{} : Hazards::None());
  int samples = 0;
  for (const std::string& id : g.recent) {
    for (const std::string& run : g.RunsOf(id)) {
      const auto race = g.races.find(RunKey(run));
      if (race != g.races.end() && g.horses.count(id) &&
          IsBaseTimeSample(run, race->second, g.horses.at(id))) {
        ++samples;
      }
    }
  }
  EXPECT_GT(samples, 0);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutHazards, BaseTimeTest, ::testing::Bool());

TEST_F(EarlierTest, TheMinimalCategoryTablesLoadWithEveryTotalZero) {
  const fs::path data = clean_->folder.earlier();
  std::set<std::string> names;
  for (const CourseKind kind : kCourseKinds) {
    const CategoryTableFiles t = CategoryTableFilesOf(kind);
    // As the category window loads them: 30 totals, then each total's entries of the
    // category, weight and count files.
    const std::vector<std::string> totals = Items(PathBelow(data, t.totals));
    ASSERT_EQ(totals, std::vector<std::string>(30, "0")) << t.totals;
    EXPECT_EQ(testing::ReadFile(PathBelow(data, t.totals)).substr(0, 3), "0\r\n");
    names.insert(t.totals);
    for (const std::string* n :
         {&t.categories, &t.agariWeights, &t.paceWeights, &t.sohaWeights, &t.counts}) {
      ASSERT_TRUE(fs::exists(PathBelow(data, *n))) << *n;
      EXPECT_TRUE(Items(PathBelow(data, *n)).empty()) << *n;
      names.insert(*n);
    }
  }
  EXPECT_EQ(names.size(), 18u);
}

TEST_F(EarlierTest, TheDamStatisticsSumTheStartsOfTheirFoals) {
  const Generation& g = *clean_;
  std::map<std::string, std::int64_t> jraStarts;
  for (const auto& [id, h] : g.horses) {
    std::int64_t& n = jraStarts[Field(h, um::Pedigree_BreedingNumber.In(2))];
    for (int c = 1; c <= 6; ++c) n += std::stoi(Field(h, um::FinishCountsJra.At(c)));
  }
  const auto records = StoredRecords(g.At(kDamHorseStatFileName), kParentStatLayout.storedLength);
  std::vector<std::string> keys, dams;
  for (const auto& [number, sex] : g.breedingSex) {
    if (sex == "2") dams.push_back(number);
  }
  bool someStarts = false;
  for (const auto& r : records) {
    const std::string dam = Field(r, parent_stat::ParentBreedingNumber);
    keys.push_back(dam);
    EXPECT_EQ(Field(r, parent_stat::JraStarts), FixedCount6(jraStarts[dam])) << dam;
    EXPECT_EQ(r.substr(400), "\r\n");
    someStarts = someStarts || jraStarts[dam] > 0;
  }
  EXPECT_EQ(keys, dams) << "one record per dam, by breeding number";
  EXPECT_TRUE(someStarts);
}

}  // namespace
}  // namespace meridax
