// Every registered variant on a generated world of well-formed runs and statistics, as the
// probe reaches them: none fails, each leaves the run under work in CurrentRun, and each
// gives a code.

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "datasetup/factors/item_toolkit.h"
#include "datasetup/factors/runner_scoring.h"
#include "datasetup/factorvariants/variant_routines.h"
#include "tests/factors/ex_fixture.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::ExFixture;
using testing::MakeRecord;

TEST(VariantRoutines, EveryVariantOnceByName) {
  std::set<std::string_view> names;
  for (const NamedRoutine& r : VariantRoutines()) {
    EXPECT_TRUE(names.insert(r.name).second) << r.name;
    EXPECT_NE(r.routine, nullptr) << r.name;
    const bool helper = r.name == "FindFemaleLineRoot" || r.name.substr(0, 3) == "Sum";
    EXPECT_TRUE(helper || r.name.substr(0, 6) == "Factor") << r.name;
  }
  // Slots 1 to 13: 16 variants of items 1 to 5 and 22 of items 6 to 13; slots 14 to 30: 22
  // of items 14 to 17, 19 of items 18 to 23 and 20 of items 24 to 30; the female-line root
  // and the three weight sums.
  EXPECT_EQ(names.size(), 38u + 22u + 19u + 20u + 4u);
  EXPECT_TRUE(names.count("Factor03original") && names.count("Factor03Agari"));
  EXPECT_TRUE(names.count("Factor22ori2") && names.count("Factor23Original"));
}

class World {
 public:
  explicit World(std::uint32_t seed) : random_(seed) {}

  std::string Digits(int width, int low, int high) {
    return FixedDigits(std::uniform_int_distribution<int>(low, high)(random_), width);
  }
  template <typename T>
  T Pick(std::initializer_list<T> values) {
    return values
        .begin()[std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(random_)];
  }
  std::string Rate() { return Digits(6, 0, 100000); }

  std::string Run(std::string_view horse, int j) {
    const std::string date = std::to_string(2005 + j) + Digits(2, 1, 12) + Digits(2, 1, 28);
    std::string run = testing::ExRun({});
    const auto put = [&](records::FieldRef f, std::string_view text) {
      records::Put(run, f, text);
    };
    put(ex::DataCategory, Pick<std::string_view>({"7", "7", "A", "B"}));
    put(ex::RaceYear, date.substr(0, 4));
    put(ex::RaceMonthDay, date.substr(4));
    put(ex::RacecourseCode, Digits(2, 1, 10));
    put(ex::MeetingNumber, Digits(2, 1, 6));
    put(ex::MeetingDay, Digits(2, 1, 12));
    put(ex::RaceNumber, Digits(2, 1, 12));
    put(ex::FrameNumber, Digits(1, 1, 8));
    put(ex::HorseNumber, Digits(2, 1, 18));
    put(ex::HorseId, horse);
    put(ex::WeekdayCode, Digits(1, 1, 7));
    put(ex::BirthYear, "2003");
    put(ex::BirthMonth, Digits(2, 1, 12));
    put(ex::BirthDay, Digits(2, 1, 28));
    put(ex::AncestorBlocks_BreedingNumber.In(1), "11000" + Digits(5, 0, 9));
    put(ex::AncestorBlocks_BreedingNumber.In(2), "12000" + Digits(5, 0, 9));
    put(ex::HorseSymbolCode, Digits(2, 0, 3));
    put(ex::SexCode, Digits(1, 1, 3));
    put(ex::WeightCarried, Digits(3, 480, 600));
    put(ex::JockeyCode, "0" + Digits(4, 1000, 1009));
    put(ex::BodyWeight, Digits(3, 380, 560));
    put(ex::AbnormalityCode, Pick<std::string_view>({"0", "0", "0", "1", "4"}));
    put(ex::ArrivalOrder, Digits(2, 0, 18));
    put(ex::FinishPosition, Digits(2, 0, 18));
    for (int k = 1; k <= 4; ++k) put(ex::CornerPositions.At(k), Digits(2, 0, 18));
    put(ex::WinOdds, Digits(4, 10, 9999));
    put(ex::TrainerCode, "0" + Digits(4, 1000, 1009));
    put(ex::OwnerCode, Digits(6, 0, 999999));
    put(ex::BreederCode, Digits(8, 0, 99999999));
    put(ex::JockeyBirthYear, Digits(4, 1950, 2000));
    put(ex::FinishPosition, Digits(2, 1, 18));
    put(ex::FinishTime, "1" + Digits(3, 0, 599));
    put(ex::TimeBehindWinner,
        Pick<std::string>({"-" + Digits(3, 0, 9), "+" + Digits(3, 0, 50), "+999", "9999"}));
    put(ex::PrizeMoneyByPlace.At(1), Digits(8, 0, 20000));
    put(ex::RegisteredCount, Digits(2, 5, 18));
    for (int k = 1; k <= 25; ++k) {
      put(ex::FurlongLeaderTimes.At(k), k <= 8 ? Digits(3, 110, 130) : "000");
    }
    put(ex::First3FurlongLapTime, Pick<std::string>({Digits(3, 340, 380), "000"}));
    put(ex::PrizeMoney, Digits(8, 0, 50000));
    put(ex::Last3FurlongTime, Digits(3, 330, 400));
    put(ex::GradeCode, Pick<std::string_view>({" ", "A", "C", "E"}));
    put(ex::RaceConditionSymbol, Pick<std::string_view>({"N2 ", "A01", "000"}));
    put(ex::Distance, Pick<std::string_view>({"1000", "1150", "1200", "1400", "1600", "1800",
                                              "2000", "2400", "3000", "3700", "4250"}));
    put(ex::TrackCode, Pick<std::string_view>({"10", "11", "12", "17", "18", "21", "22", "23", "24",
                                               "25", "26", "29", "51", "54", "59"}));
    put(ex::CourseDivision, Pick<std::string_view>({"  ", "A ", "B "}));
    put(ex::WeatherCode, Digits(1, 1, 6));
    put(ex::TurfGoingCode, Digits(1, 0, 4));
    put(ex::DirtGoingCode, Digits(1, 0, 4));
    put(ex::First4FurlongLapTime, Digits(3, 450, 520));
    put(ex::Last3FurlongLapTime, Pick<std::string>({Digits(3, 330, 380), "000"}));
    put(ex::Last4FurlongLapTime, Digits(3, 450, 520));
    return run;
  }

  void WriteStats(ExFixture& f) {
    std::vector<std::string> jockeys, courses, horses, sires, dams;
    for (int i = 1000; i <= 1009; i += 2) {
      const std::string code = "0" + std::to_string(i);
      jockeys.push_back(MakeRecord(121, {{person_stat::PersonCode, code},
                                         {person_stat::JumpTop3Rate, Rate()},
                                         {person_stat::TotalFlatPrize, Digits(9, 0, 999999)},
                                         {person_stat::TotalJumpPrize, Digits(9, 0, 999999)},
                                         {person_stat::TotalFlatRuns, Digits(6, 0, 900)},
                                         {person_stat::JumpRuns, Digits(6, 0, 90)}}));
      std::string course = MakeRecord(127, {{jockey_course_stat::JockeyCode, code}});
      for (int c = 1; c <= 10; ++c) {
        for (int day = 1; day <= 2; ++day) {
          records::Put(course, jockey_course_stat::kCourseRates[c].At(day), Rate());
        }
      }
      courses.push_back(course);
    }
    for (int h = 1; h <= 20; h += 2) {
      std::string horse = MakeRecord(228, {{horse_stat::HorseId, "2003" + FixedDigits(h, 6)},
                                           {horse_stat::OverallTop3Rate, Rate()},
                                           {horse_stat::JraStarts, Digits(6, 0, 30)},
                                           {horse_stat::JumpStarts, Digits(6, 0, 5)},
                                           {horse_stat::FlatPrizeTotal, Digits(9, 0, 999999)},
                                           {horse_stat::JumpPrizeTotal, Digits(9, 0, 99999)}});
      for (int k = 1; k <= 25; ++k) records::Put(horse, horse_stat::LineTop3Rates.At(k), Rate());
      horses.push_back(horse);
    }
    for (int p = 0; p <= 9; p += 2) {
      for (const std::string_view prefix : {"11000", "12000"}) {
        std::string parent = MakeRecord(
            402, {{parent_stat::ParentBreedingNumber, std::string(prefix) + FixedDigits(p, 5)},
                  {parent_stat::JraTop3Rate, Rate()},
                  {parent_stat::OffspringWithFlatEarnings, Digits(6, 0, 50)},
                  {parent_stat::OffspringWithJumpEarnings, Digits(6, 0, 5)},
                  {parent_stat::OffspringFlatEarningsTotal, Digits(9, 0, 999999)}});
        for (int k = 1; k <= 25; ++k) {
          records::Put(parent, parent_stat::LineTop3Rates.At(k), Rate());
        }
        (prefix == "11000" ? sires : dams).push_back(parent);
      }
    }
    f.WriteStats("KISHUSEISEI.dat", jockeys);
    f.WriteStats("OPTION1N\\DONICHI.dat", courses);
    f.WriteStats("OPTION1N\\KYOSOBA.dat", horses);
    f.WriteStats("OPTION1N\\KYOSOBAA.dat", horses);
    f.WriteStats("OPTION1N\\STALLION.dat", sires);
    f.WriteStats("OPTION1N\\HAHAUMA.dat", dams);
  }

 private:
  std::mt19937 random_;
};

TEST(VariantRoutines, NoneFailsOnWellFormedRuns) {
  World world(20190101);
  ExFixture f;
  world.WriteStats(f);
  // The scoring without loaded tables: no code has a row.
  RunnerScoring scoring(nullptr);
  std::size_t calls = 0;
  for (int h = 1; h <= 20; ++h) {
    const std::string horse = "2003" + FixedDigits(h, 6);
    std::vector<std::string> runs;
    for (int j = 0; j < 1 + h % 12; ++j) runs.push_back(world.Run(horse, j));
    f.SetRuns(runs);
    for (std::int32_t r = 1; r <= static_cast<std::int32_t>(runs.size()); ++r) {
      for (const NamedRoutine& routine : VariantRoutines()) {
        ItemContext& c = f.At(r);
        c.scoring = &scoring;
        std::string code;
        try {
          code = routine.routine(c);
        } catch (const ItemAbandoned& e) {
          ADD_FAILURE() << routine.name << " on " << horse << " run " << r << ": " << e.what();
          continue;
        }
        ++calls;
        EXPECT_FALSE(code.empty()) << routine.name << " on " << horse << " run " << r;
        EXPECT_EQ(c.CurrentRun, runs[static_cast<std::size_t>(r - 1)])
            << routine.name << " on " << horse << " run " << r;
      }
    }
  }
  EXPECT_GT(calls, 4000u);
}

TEST(VariantRoutines, TheProbeFindsThemBesideTheLiveRoutines) {
  ExFixture f({testing::ExRun({{ex::TrackCode, "17"}}), testing::ExRun({{ex::RaceYear, "2019"},
                                                                        {ex::RaceMonthDay, "0315"},
                                                                        {ex::MeetingNumber, "02"},
                                                                        {ex::TrackCode, "17"}})},
              "2016100001");
  ProbeRegistry registry;
  registry.Add(LiveProbeRoutines());
  registry.Add(VariantProbeRoutines());
  std::ostringstream out, err;
  const std::vector<std::string> args = {"2016100001",   "2",        "Factor01var1",
                                         "Factor09var1", "Factor09", "Factor06var1"};
  EXPECT_EQ(RunProbe(registry, args, out, err), 0) << err.str();
  EXPECT_EQ(out.str(),
            "Factor01var1\t\"03020000\"\n"
            "Factor09var1\t\"001\"\n"
            "Factor09\t\"001\"\n"
            "Factor06var1\tabandoned\n");
}

}  // namespace
}  // namespace meridax
