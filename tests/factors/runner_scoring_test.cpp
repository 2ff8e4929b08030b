#include "datasetup/factors/runner_scoring.h"

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

std::string TrackRun(std::string_view track) {
  return ExRun({{ex::TrackCode, track}});
}

// Item k of a course kind's tables: rows 1 to n with their codes and Agari weights.
void SetItem(CourseCategoryTables& t, int k, const std::vector<std::string>& codes,
             const std::vector<float>& agari = {}) {
  const auto i = static_cast<std::size_t>(k);
  t.totals[i] = static_cast<std::int64_t>(codes.size());
  t.codes[i] = {""};
  t.codes[i].insert(t.codes[i].end(), codes.begin(), codes.end());
  t.agari[i] = {0.0f};
  t.agari[i].insert(t.agari[i].end(), agari.begin(), agari.end());
}

// An item code as its field holds it: left-aligned, blank-padded to the field's width.
std::string Field(int k, std::string_view code) {
  std::string record = BlankFactorItemRecord();
  records::Put(record, factor_item::Item(k), code);
  return std::string(records::View(record, factor_item::Item(k)));
}

TEST(RunnerScoring, TheCourseKindCountsOnly23And24AsDirt) {
  struct Case {
    std::string_view track;
    CourseKind kind;
  };
  constexpr auto kTurf = CourseKind::kTurf, kDirt = CourseKind::kDirt, kJump = CourseKind::kJump;
  const Case cases[] = {{"00", kTurf}, {"22", kTurf}, {"23", kDirt}, {"24", kDirt}, {"25", kJump},
                        {"29", kJump}, {"54", kJump}, {"-1", kJump}, {"99", kJump}};
  for (const auto& c : cases) EXPECT_EQ(ScoringCourseKind(TrackRun(c.track)), c.kind) << c.track;
  EXPECT_THROW(ScoringCourseKind(TrackRun("  ")), ItemAbandoned);
}

TEST(RunnerScoring, FindCategoryRowTakesTheLowestExactMatch) {
  CategoryTables tables;
  // Item 24 (six characters) with a duplicate code and codes that differ in trailing blanks.
  SetItem(tables[1], 24, {"08    ", "071   ", "071", "071   ", "071  "});
  SetItem(tables[3], 24, {"071   "});
  // Item 5 loaded, but its total is 0; item 6's total stops before its second code.
  SetItem(tables[1], 5, {"A1   "});
  tables[1].totals[5] = 0;
  SetItem(tables[1], 6, {"B1    ", "B2    "});
  tables[1].totals[6] = 1;
  RunnerScoring scoring(&tables);
  const std::string turf = TrackRun("17");
  struct Case {
    int item;
    std::string_view code;
    std::optional<std::int32_t> row;
  };
  const Case cases[] = {
      {24, "071   ", 2}, {24, "071", 3},   {24, "071  ", 5},  {24, "08    ", 1}, {24, "07    ", {}},
      {5, "A1   ", {}},  {6, "B1    ", 1}, {6, "B2    ", {}}, {1, "071   ", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(scoring.FindCategoryRow(c.item, c.code, turf), c.row) << c.item << "'" << c.code;
  }
  // A run on dirt track 26 is looked up in the jump tables.
  EXPECT_EQ(scoring.FindCategoryRow(24, "071   ", TrackRun("26")), 1);
  EXPECT_EQ(scoring.FindCategoryRow(24, "08    ", TrackRun("26")), std::nullopt);
  EXPECT_EQ(scoring.FindCategoryRow(24, "071   ", TrackRun("23")), std::nullopt);
  EXPECT_THROW(scoring.FindCategoryRow(24, "071   ", TrackRun("  ")), ItemAbandoned);
  // Without tables no code has a row.
  RunnerScoring none(nullptr);
  EXPECT_EQ(none.FindCategoryRow(24, "071   ", turf), std::nullopt);
}

TEST(RunnerScoring, CategorizeCutsEachItemAtItsFullWidth) {
  CategoryTables tables;
  SetItem(tables[1], 24, {"071", "071   "});
  SetItem(tables[1], 9, {"X1 ", "X2 "});
  std::string record = BlankFactorItemRecord();
  records::Put(record, factor_item::Item(24), "071");
  records::Put(record, factor_item::Item(9), "X2");
  records::Put(record, factor_item::Item(10), "X2");  // item 10's table is empty
  RunnerScoring scoring(&tables);
  scoring.RunnerCategoryRows.fill(7);
  scoring.CategorizeRunnerItems(record, TrackRun("17"));
  for (int k = 1; k <= kFactorItemCount; ++k) {
    const std::int32_t expected = k == 24 ? 2 : k == 9 ? 2 : 0;
    EXPECT_EQ(scoring.RunnerCategoryRows[static_cast<std::size_t>(k)], expected) << k;
  }
}

// Thirty items of one code each, weighted `weights[k - 1]`, in the tables of `kind`.
void SetWeights(CategoryTables& tables, int kind, const std::vector<float>& weights) {
  for (int k = 1; k <= kFactorItemCount; ++k) {
    SetItem(tables[static_cast<std::size_t>(kind)], k, {Field(k, "C")},
            {weights[static_cast<std::size_t>(k - 1)]});
  }
}

std::string RecordOfCodes(std::string_view code) {
  std::string record = BlankFactorItemRecord();
  for (int k = 1; k <= kFactorItemCount; ++k) records::Put(record, factor_item::Item(k), code);
  return record;
}

TEST(RunnerScoring, WeightsAddUpInSinglePrecision) {
  CategoryTables tables;
  SetWeights(tables, 1, std::vector<float>(30, 0.1f));
  RunnerScoring scoring(&tables);
  scoring.CategorizeRunnerItems(RecordOfCodes("C"), TrackRun("17"));
  scoring.SumAgariWeights(TrackRun("17"));
  double wide = 0;
  for (int k = 0; k < 30; ++k) wide += 0.1f;
  // Each sum rounded to single precision ends below 3; a double accumulator does not.
  EXPECT_EQ(scoring.AgariScoreTotals[1], 2.9999992847442627f);
  EXPECT_LT(scoring.AgariScoreTotals[1], 3.0f);
  EXPECT_GE(wide, 3.0);
  EXPECT_EQ(scoring.AgariScoreTotals[2], 0.0f);
  EXPECT_EQ(scoring.AgariScoreTotals[3], 0.0f);
  // The same sum over another table, into totals of their own.
  scoring.SumWeights(kPaceWeights, scoring.PaceScoreTotals, TrackRun("17"));
  EXPECT_EQ(scoring.PaceScoreTotals[1], 0.0f);
  EXPECT_EQ(scoring.AgariScoreTotals[1], 2.9999992847442627f);
}

TEST(RunnerScoring, TheSumGoesIntoTheRunsKindAndCodesWithoutRowsWeighNothing) {
  CategoryTables tables;
  SetWeights(tables, 2, std::vector<float>(30, 1.0f));
  SetWeights(tables, 3, std::vector<float>(30, 2.0f));
  RunnerScoring scoring(&tables);
  std::string record = RecordOfCodes("C");
  records::Put(record, factor_item::Item(3), "D");  // no row
  for (const auto& [track, kind, total] :
       {std::tuple{"24", 2, 29.0f}, std::tuple{"26", 3, 58.0f}, std::tuple{"17", 1, 0.0f}}) {
    scoring.AgariScoreTotals.fill(5.0f);
    scoring.CategorizeRunnerItems(record, TrackRun(track));
    scoring.SumAgariWeights(TrackRun(track));
    for (int j = 1; j <= 3; ++j) {
      EXPECT_EQ(scoring.AgariScoreTotals[static_cast<std::size_t>(j)], j == kind ? total : 0.0f)
          << track << " " << j;
    }
  }
}

TEST(RunnerScoring, ASumOutOfSinglePrecisionRangeAbandons) {
  CategoryTables tables;
  std::vector<float> weights(30, 0.0f);
  weights[0] = 3e38f;
  weights[1] = 3e38f;
  weights[2] = -3e38f;  // too late: the running sum has already overflowed
  SetWeights(tables, 1, weights);
  RunnerScoring scoring(&tables);
  scoring.CategorizeRunnerItems(RecordOfCodes("C"), TrackRun("17"));
  EXPECT_THROW(scoring.SumAgariWeights(TrackRun("17")), ItemAbandoned);
}

// A turf run that item 29 scores: its Agari figure is "6260869" (62 km/h).
std::string Item29Run(std::string_view track = "17", std::string_view last3 = "345",
                      std::string_view abnormal = "0") {
  return ExRun(
      {{ex::TrackCode, track}, {ex::Last3FurlongTime, last3}, {ex::AbnormalityCode, abnormal}});
}

// Factor29 on run r over the tables, with `record` as the record under construction.
std::string Item29(ExFixture& f, std::int32_t r, RunnerScoring& scoring,
                   const std::string& record) {
  ItemContext& c = f.At(r);
  f.itemRecord = record;
  c.scoring = &scoring;
  try {
    std::string code = Factor29(c);
    EXPECT_EQ(c.CurrentRun, c.runs->Record(r));
    return code;
  } catch (const ItemAbandoned&) {
    return std::string(testing::kAbandoned);
  }
}

TEST(Factor29, ScoresTheRecordBuiltSoFarAgainstThePreviousRunsAgariSpeed) {
  struct Case {
    std::vector<float> weights;
    std::string_view code;
  };
  std::vector<float> singleExact(29, 0.3f);
  singleExact.push_back(48.3f);  // the previous record's item 30 counts too
  std::vector<float> sixty(30, 0.0f);
  sixty[0] = 60.5f;
  std::vector<float> low(30, 0.0f);
  low[27] = 46.0f;
  std::vector<float> negative(30, 0.0f);
  negative[28] = -3.5f;
  std::vector<float> huge(30, 0.0f);
  huge[0] = 1e6f;
  const Case cases[] = {
      // Summed in single precision the weights give 57.0: 62 - 57 + 10. With a double
      // accumulator they would fall just below 57 and give 16, out of range.
      {singleExact, "15"},
      {sixty, "12"},
      {low, "10"},                  // 26 leaves the range 0 to 15
      {negative, "10"},             // Int(-3.5) is -4
      {huge, testing::kAbandoned},  // Int(S) does not fit 16 bits
  };
  ExFixture f({Item29Run(), Item29Run()});
  for (const auto& c : cases) {
    CategoryTables tables;
    SetWeights(tables, 1, c.weights);
    RunnerScoring scoring(&tables);
    EXPECT_EQ(Item29(f, 2, scoring, RecordOfCodes("C")), c.code) << c.code;
  }
}

TEST(Factor29, EdgeRuns) {
  CategoryTables tables;
  std::vector<float> sixty(30, 0.0f);
  sixty[0] = 60.5f;
  SetWeights(tables, 1, sixty);
  SetWeights(tables, 3, std::vector<float>(30, 1.0f));
  RunnerScoring scoring(&tables);
  const std::string record = RecordOfCodes("C");
  ExFixture f({Item29Run()});
  // A first run.
  EXPECT_EQ(Item29(f, 1, scoring, record), "10");
  // The previous valid run: run 2 abnormal, so run 3 scores run 1.
  f.SetRuns({Item29Run(), Item29Run("17", "   ", "1"), Item29Run("17", "   ")});
  EXPECT_EQ(Item29(f, 3, scoring, record), "12");
  // A previous valid run without a last-3-furlong time.
  f.SetRuns({Item29Run("17", "   "), Item29Run()});
  EXPECT_EQ(Item29(f, 2, scoring, record), testing::kAbandoned);
  // On dirt track 26 the scoring adds into the jump total and item 29 reads the dirt total:
  // the score is 0, so 62 + 10 is out of range.
  f.SetRuns({Item29Run("26"), Item29Run()});
  EXPECT_EQ(Item29(f, 2, scoring, record), "10");
  EXPECT_EQ(scoring.AgariScoreTotals[3], 30.0f);
  EXPECT_EQ(scoring.AgariScoreTotals[2], 0.0f);
  // A previous run with a track code that is not a number.
  f.SetRuns({Item29Run("  "), Item29Run()});
  EXPECT_EQ(Item29(f, 2, scoring, record), testing::kAbandoned);
}

}  // namespace
}  // namespace meridax
