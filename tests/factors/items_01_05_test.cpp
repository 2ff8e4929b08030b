#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datasetup/factors/factor_items.h"
#include "tests/factors/ex_fixture.h"

namespace meridax {
namespace {

namespace ex = extended_run;
using testing::ExFixture;
using testing::ExRun;
using testing::FieldValue;
constexpr std::string_view kAbandoned = testing::kAbandoned;

TEST(Factor01, IsTheRaceYear) {
  ExFixture f({ExRun({{ex::RaceYear, "2019"}}), ExRun({{ex::RaceYear, "2020"}})});
  EXPECT_EQ(f.Code(Factor01, 1), "2019");
  EXPECT_EQ(f.Code(Factor01, 2), "2020");
}

TEST(Factor02, CaseTable) {
  struct Case {
    std::string_view course;
    std::string_view frame;
    std::string_view horse;
    std::string_view track;
    std::string_view code;
  };
  const Case cases[] = {
      {"10", "4", "07", "10", "A0710"},    {"05", "3", "05", "21", "5317"},
      {"05", "3", "05", "22", "5318"},     {"05", "6", "11", "24", "56"},
      {"01", "6", "11", "23", "16"},       {"09", "2", "03", "29", "92"},
      {"03", "2", "03", "11", "3211"},     {"03", "8", "16", "17", "3817"},
      {"03", "8", "16", "18", "3818"},     {"03", "8", "16", "12", "3812"},
      {"05", "3", "05", "54", "5454"},     {"A0", "3", "05", "54", "5454"},
      {"A0", "3", "05", "17", "B317"},     {"00", "3", "05", "17", "B317"},
      {"05", "3", "05", "13", "1313"},     {"05", "3", "05", "30", "3030"},
      {"05", "3", "05", "  ", kAbandoned}, {"05", "3", "05", "1A", kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::RacecourseCode, c.course},
                      {ex::FrameNumber, c.frame},
                      {ex::HorseNumber, c.horse},
                      {ex::TrackCode, c.track}})});
    EXPECT_EQ(f.Code(Factor02, 1), c.code) << c.course << "/" << c.track;
  }
}

// A run for item 3: distance, track, grade, abnormality, data category, youngest age.
std::string Item3Run(std::string_view distance, std::string_view track, std::string_view grade,
                     std::string_view abnormal = "0", std::string_view category = "7",
                     std::string_view youngest = "701") {
  return ExRun({{ex::Distance, distance},
                {ex::TrackCode, track},
                {ex::GradeCode, grade},
                {ex::AbnormalityCode, abnormal},
                {ex::DataCategory, category},
                {ex::YoungestAgeCondition, youngest}});
}

TEST(Factor03, CaseTable) {
  struct Case {
    std::vector<std::string> runs;
    std::int32_t r;
    std::string_view code;
  };
  const Case cases[] = {
      // A first run: the youngest-age condition, "0", and "1" for any distance to 5000 m.
      {{Item3Run("1600", "17", "A", "0", "7", "701")}, 1, "70101"},
      {{Item3Run("5000", "17", "A", "0", "7", "702")}, 1, "70201"},
      {{Item3Run("5200", "17", "A", "0", "7", "702")}, 1, "70202"},
      // Blank grade, turf, shorter today: " 12"; equal texts "D"; longer "1".
      {{Item3Run("1800", "11", " "), Item3Run("2000", "17", "A")}, 2, " 12"},
      {{Item3Run("1800", "11", "B"), Item3Run("1800", "17", "A")}, 2, "B1D"},
      {{Item3Run("1800", "11", "C"), Item3Run("1600", "17", "A")}, 2, "C11"},
      // Course kind by text: "00" to "22" turf, "23" and "24" dirt, the rest "3".
      {{Item3Run("1800", "00", " "), Item3Run("1600", "17", "A")}, 2, " 11"},
      {{Item3Run("1800", "22", " "), Item3Run("1600", "17", "A")}, 2, " 11"},
      {{Item3Run("1800", "23", " "), Item3Run("1600", "17", "A")}, 2, " 21"},
      {{Item3Run("1800", "24", " "), Item3Run("1600", "17", "A")}, 2, " 21"},
      {{Item3Run("1800", "25", " "), Item3Run("1600", "17", "A")}, 2, " 31"},
      {{Item3Run("1800", "29", " "), Item3Run("1600", "17", "A")}, 2, " 31"},
      {{Item3Run("1800", "54", " "), Item3Run("1600", "17", "A")}, 2, " 31"},
      {{Item3Run("1800", "  ", " "), Item3Run("1600", "17", "A")}, 2, " 31"},
      // The previous run's data category "A" or "B" replaces the kind, whatever the track.
      {{Item3Run("1800", "11", " ", "0", "B"), Item3Run("1600", "17", "A")}, 2, " B1"},
      {{Item3Run("1800", "54", " ", "0", "A"), Item3Run("1600", "17", "A")}, 2, " A1"},
      // Run 2 after an abnormal run 1 still compares with run 1.
      {{Item3Run("1200", "11", "E", "1"), Item3Run("1600", "17", "A")}, 2, "E12"},
      // Run 5 after an abnormal run 4 compares with run 3, abnormal or not.
      {{Item3Run("1000", "11", "A"), Item3Run("1000", "11", "B"), Item3Run("2400", "23", "C", "3"),
        Item3Run("1000", "11", "D", "1"), Item3Run("1800", "17", "E")},
       5,
       "C21"},
      {{Item3Run("1000", "11", "A"), Item3Run("1000", "11", "B"), Item3Run("2400", "23", "C", "3"),
        Item3Run("1000", "11", "D", "0"), Item3Run("1800", "17", "E")},
       5,
       "D12"},
      // Distances compare by their leading numbers, blanks reading as 0.
      {{Item3Run("    ", "11", " "), Item3Run("0100", "17", "A")}, 2, " 12"},
  };
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns(c.runs);
    EXPECT_EQ(f.Code(Factor03, c.r), c.code) << c.code;
  }
}

TEST(Factor04, CaseTable) {
  struct Case {
    std::string_view weight;
    std::string_view code;
  };
  const Case cases[] = {{"550", "56"}, {"559", "56"}, {"560", "56"}, {"540", "54"},
                        {"575", "57"}, {"   ", "  "}, {"5 0", "5 "}};
  ExFixture f;
  for (const auto& c : cases) {
    f.SetRuns({ExRun({{ex::WeightCarried, c.weight}})});
    EXPECT_EQ(f.Code(Factor04, 1), c.code) << c.weight;
  }
}

TEST(Factor05, CaseTable) {
  struct Case {
    std::vector<std::string_view> prizes;  // of runs 1 to r - 1
    std::string_view code;
  };
  const Case cases[] = {
      {{}, "00"},
      {{"00000000", "00000000"}, "00"},
      {{"00000001"}, "00"},
      {{"00000001", "00000001"}, "3"},
      {{"00000010"}, "10"},
      {{"00000999"}, "29"},
      {{"00001000"}, "30"},
      {{"00020000", "00015000"}, "45"},
      {{"04999999"}, "66"},
      {{"05000000"}, "66"},
      {{"03981071"}, "65"},
      {{"03981072"}, "66"},
      {{"99999999", "99999999"}, "66"},
      {{"00000010", "        "}, kAbandoned},
      {{"0000001X"}, kAbandoned},
      {{"-0000010"}, kAbandoned},
      // Past 2^31 - 1 the sum fails instead of wrapping.
      {std::vector<std::string_view>(21, "99999999"), "66"},
      {std::vector<std::string_view>(22, "99999999"), kAbandoned},
  };
  ExFixture f;
  for (const auto& c : cases) {
    std::vector<std::string> runs;
    for (const auto prize : c.prizes) runs.push_back(ExRun({{ex::PrizeMoney, prize}}));
    runs.push_back(ExRun({{ex::PrizeMoney, "99999999"}}));  // today's prize never counts
    f.SetRuns(runs);
    const auto r = static_cast<std::int32_t>(runs.size());
    EXPECT_EQ(f.Code(Factor05, r), c.code) << c.prizes.size() << " " << c.code;
  }
}

}  // namespace
}  // namespace meridax
