#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <Eigen/Dense>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "datasetup/common/data_files.h"
#include "datasetup/factors/category_steps.h"
#include "datasetup/factors/runner_scoring.h"
#include "platform/drive.h"
#include "platform/headless_windows.h"
#include "platform/io_error.h"
#include "platform/staged_files.h"
#include "platform/step_host.h"
#include "platform/text_file.h"
#include "tests/support/ended_commit.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tools/meridax-weights/weight_tables.h"

namespace meridax {
namespace {

using testing::ReadFile;
using testing::TempDrive;
using testing::WriteFile;

// One record of a factor item file as the categorisation sees it: its 30 item codes
// (blank items share one code) and its Agari, Pace and Soha speeds.
struct CategorisedRun {
  std::map<int, std::string> codes;  // item -> code; the others are "X"
  std::array<std::string, 3> speeds;
};

// Writes the five categorisation files of a kind for `runs`: categories in the order of
// first appearance, as the categorisation leaves items it orders by count when all tie.
// The items `uncategorised` get no category and category 0 in every record, as items of
// too many codes do.
void WriteCategorisation(CourseKind kind, const std::vector<CategorisedRun>& runs,
                         const std::set<int>& uncategorised = {}) {
  std::array<std::vector<std::string>, kFactorItemCount + 1> codes;
  std::array<std::vector<int>, kFactorItemCount + 1> counts;
  std::vector<std::array<int, kFactorItemCount + 1>> numbers(runs.size());
  for (int k = 1; k <= kFactorItemCount; ++k) {
    if (uncategorised.count(k)) continue;
    for (std::size_t r = 0; r < runs.size(); ++r) {
      const auto it = runs[r].codes.find(k);
      const std::string code = it == runs[r].codes.end() ? "X" : it->second;
      std::size_t q = 0;
      while (q < codes[k].size() && codes[k][q] != code) ++q;
      if (q == codes[k].size()) {
        codes[k].push_back(code);
        counts[k].push_back(0);
      }
      ++counts[k][q];
      numbers[r][k] = static_cast<int>(q) + 1;
    }
  }
  std::string head = std::to_string(runs.size()) + ",30\r\n";
  std::string categories, countText;
  for (int k = 1; k <= kFactorItemCount; ++k) {
    head += std::to_string(codes[k].size()) + "\r\n";
    for (std::size_t q = 0; q < codes[k].size(); ++q) {
      categories += "\"" + codes[k][q] + "\"\r\n";
      countText += std::to_string(counts[k][q]) + "\r\n";
    }
  }
  WriteFile(DataPath(RegressionTotalsFileName(kind)), head);
  WriteFile(DataPath(ItemCategoryFileName(kind)), categories);
  WriteFile(DataPath(ItemCategoryCountFileName(kind)), countText);
  for (std::size_t v = 0; v < 3; ++v) {
    std::string data = head;
    for (std::size_t r = 0; r < runs.size(); ++r) {
      data += runs[r].speeds[v];
      for (int k = 1; k <= kFactorItemCount; ++k) data += "," + std::to_string(numbers[r][k]);
      data += "\r\n";
    }
    WriteFile(DataPath(RegressionDataFileName(kind, kSpeedFigureKinds[v])), data);
  }
}

// Reads the items of a written table back as the window reads them.
std::vector<std::string> Items(const std::string& relative) {
  ItemReader reader(DataPath(relative));
  std::vector<std::string> items;
  while (!reader.AtEnd()) items.push_back(reader.Next());
  return items;
}

std::vector<float> Weights(const std::string& relative) {
  std::vector<float> weights;
  for (const std::string& item : Items(relative)) weights.push_back(std::stof(item));
  return weights;
}

// Two items carry the speed: item 6 (jockey-like, three codes) adds 0, +2 or -1 and item
// 29 (two codes) adds 0 or +0.5 to a base of 60; every other item is one category. The
// twelve combinations come `repeats` times.
std::vector<CategorisedRun> AdditiveRuns(int repeats = 1) {
  const std::array<std::pair<std::string, double>, 3> jockeys{
      {{"J1", 0.0}, {"J2", 2.0}, {"J3", -1.0}}};
  const std::array<std::pair<std::string, double>, 2> margins{{{"M1", 0.0}, {"M2", 0.5}}};
  std::vector<CategorisedRun> runs;
  for (int i = 0; i < 12 * repeats; ++i) {
    const auto& j = jockeys[static_cast<std::size_t>(i % 3)];
    const auto& m = margins[static_cast<std::size_t>((i / 3) % 2)];
    const double speed = 60.0 + j.second + m.second;
    std::ostringstream text;
    text << speed;
    runs.push_back(
        CategorisedRun{{{6, j.first}, {29, m.first}}, {text.str(), text.str(), text.str()}});
  }
  return runs;
}

// Three items carry the speed, with noise enough for a middle ridge to be best; run 9 has
// no time and the only jockey "solo", so that one category has no run used.
std::vector<CategorisedRun> NoisyRuns() {
  std::vector<CategorisedRun> runs;
  for (int i = 0; i < 23; ++i) {
    const int jockey = (i * 7) % 4;
    const double speed =
        60.0 + 0.8 * jockey - 0.5 * ((i / 2) % 2) + 0.3 * (i % 3) + 0.3 * ((i * 37) % 11 - 5);
    std::ostringstream text;
    text << speed;
    runs.push_back(CategorisedRun{{{6, i == 9 ? "solo" : "J" + std::to_string(jockey)},
                                   {12, (i / 2) % 2 ? "B" : "A"},
                                   {29, "M" + std::to_string(i % 3)}},
                                  {i == 9 ? "0" : text.str(), text.str(), text.str()}});
  }
  return runs;
}

// The records of the runs used, in file order.
std::vector<std::size_t> UsedRecords(const RegressionData& d) {
  std::vector<std::size_t> used;
  for (std::size_t r = 0; r < d.speeds.size(); ++r) {
    if (d.speeds[r] > 0) used.push_back(r);
  }
  return used;
}

// The ridge fit on `training` the slow way: the stacked least-squares problem
// [A; sqrt(ridge) I] x = [y - mean; 0] solved densely by QR, without normal equations.
std::vector<float> DenseFit(const Categorisation& c, const RegressionData& d,
                            const std::vector<std::size_t>& training, int ridge) {
  const auto p = static_cast<Eigen::Index>(c.CategoryCount());
  const auto n = static_cast<Eigen::Index>(training.size());
  double mean = 0;
  for (const std::size_t r : training) mean += d.speeds[r];
  mean /= static_cast<double>(n);
  Eigen::MatrixXd a = Eigen::MatrixXd::Zero(n + p, p);
  Eigen::VectorXd b = Eigen::VectorXd::Zero(n + p);
  for (Eigen::Index i = 0; i < n; ++i) {
    const std::size_t r = training[static_cast<std::size_t>(i)];
    for (int k = 1; k <= kFactorItemCount; ++k) {
      const std::int32_t q = d.categories[r * kFactorItemCount + static_cast<std::size_t>(k) - 1];
      if (q > 0) a(i, c.offsets[static_cast<std::size_t>(k)] + q - 1) = 1.0;
    }
    b[i] = d.speeds[r] - mean;
  }
  a.bottomRows(p) = std::sqrt(static_cast<double>(ridge)) * Eigen::MatrixXd::Identity(p, p);
  const Eigen::VectorXd x = a.colPivHouseholderQr().solve(b);
  std::vector<float> weights;
  for (Eigen::Index j = 0; j < p; ++j) {
    weights.push_back(static_cast<float>(mean / c.ItemsWithCategories() + x[j]));
  }
  return weights;
}

// R² and RMSE of `predictions` of the runs used, about their mean.
FitFigures Figures(const RegressionData& d, const std::vector<std::size_t>& used,
                   const std::vector<double>& predictions) {
  double mean = 0, residual = 0, spread = 0;
  for (const std::size_t r : used) mean += d.speeds[r];
  mean /= static_cast<double>(used.size());
  for (std::size_t i = 0; i < used.size(); ++i) {
    residual += (d.speeds[used[i]] - predictions[i]) * (d.speeds[used[i]] - predictions[i]);
    spread += (d.speeds[used[i]] - mean) * (d.speeds[used[i]] - mean);
  }
  return FitFigures{1.0 - residual / spread,
                    std::sqrt(residual / static_cast<double>(used.size()))};
}

TEST(WeightTablesTest, AdditiveSpeedsAreReproducedBySummedWeights) {
  TempDrive drive;
  const std::vector<CategorisedRun> runs = AdditiveRuns(50);
  WriteCategorisation(CourseKind::kTurf, runs);
  std::ostringstream out, err;
  ASSERT_EQ(RunWeights(CourseKind::kTurf, out, err), 0) << err.str();
  // Without noise the smallest ridge predicts held-out runs best.
  EXPECT_NE(
      out.str().find("Siba Agari: runs used 600, ridge 1, R² 1.0000 (held-out 1.0000), RMSE 0.00"),
      std::string::npos)
      << out.str();

  const CategoryTableFiles files = CategoryTableFilesOf(CourseKind::kTurf);
  // Totals without the leading pair; codes and counts item-major as categorised.
  std::vector<std::string> totals(kFactorItemCount, "1");
  totals[5] = "3";
  totals[28] = "2";
  EXPECT_EQ(Items(files.totals), totals);
  EXPECT_EQ(ReadFile(DataPath(files.totals)).substr(0, 6), "1\r\n1\r\n");
  EXPECT_EQ(ReadFile(DataPath(files.categories)),
            ReadFile(DataPath(ItemCategoryFileName(CourseKind::kTurf))));
  EXPECT_EQ(ReadFile(DataPath(files.counts)),
            ReadFile(DataPath(ItemCategoryCountFileName(CourseKind::kTurf))));

  const Categorisation c = ReadCategorisation(CourseKind::kTurf);
  const RegressionData d = ReadRegressionData(CourseKind::kTurf, SpeedFigureKind::kAgari, c);
  for (const std::string* table : {&files.agariWeights, &files.paceWeights, &files.sohaWeights}) {
    const std::vector<float> weights = Weights(*table);
    ASSERT_EQ(weights.size(), 33u);
    // Differences between categories of one item are the effects, the ridge's pull on
    // categories of 200 and 300 runs aside.
    EXPECT_NEAR(weights[5 + 1] - weights[5], 2.0, 0.02);
    EXPECT_NEAR(weights[5 + 2] - weights[5], -1.0, 0.02);
    EXPECT_NEAR(weights[31] - weights[30], 0.5, 0.02);
    for (std::size_t r = 0; r < runs.size(); ++r) {
      EXPECT_NEAR(PredictedSpeed(c, weights, &d.categories[r * kFactorItemCount]), d.speeds[r],
                  0.02);
    }
  }
}

// Items without categories add nothing to a run's sum, so the mean is carried by the items
// that have some: constant speeds come back exactly, additive ones as closely as with every
// item categorised.
TEST(WeightTablesTest, ItemsWithoutCategoriesLeaveTheMeanToTheOthers) {
  struct Case {
    const char* what;
    std::set<int> categorised;
    bool constant;
  };
  const std::vector<Case> cases = {
      {"one item of categories, constant speeds", {6}, true},
      {"two items of categories, constant speeds", {6, 29}, true},
      {"two items of categories, additive speeds", {6, 29}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDrive drive;
    std::vector<CategorisedRun> runs = AdditiveRuns(50);
    if (c.constant) {
      for (CategorisedRun& run : runs) run.speeds = {"60", "60", "60"};
    }
    std::set<int> uncategorised;
    for (int k = 1; k <= kFactorItemCount; ++k) {
      if (!c.categorised.count(k)) uncategorised.insert(k);
    }
    WriteCategorisation(CourseKind::kDirt, runs, uncategorised);
    std::ostringstream out, err;
    ASSERT_EQ(RunWeights(CourseKind::kDirt, out, err), 0) << err.str();
    if (c.constant) {
      EXPECT_NE(out.str().find("Dirt Agari: runs used 600, ridge 1, R² - (held-out -), RMSE 0.0000 "
                               "(held-out 0.0000) km/h\n"),
                std::string::npos)
          << out.str();
    }
    const Categorisation cs = ReadCategorisation(CourseKind::kDirt);
    const RegressionData d = ReadRegressionData(CourseKind::kDirt, SpeedFigureKind::kAgari, cs);
    const std::vector<float> weights =
        Weights(CategoryTableFilesOf(CourseKind::kDirt).agariWeights);
    ASSERT_EQ(weights.size(), c.categorised.size() == 1 ? 3u : 5u);
    for (std::size_t r = 0; r < runs.size(); ++r) {
      const float predicted = PredictedSpeed(cs, weights, &d.categories[r * kFactorItemCount]);
      if (c.constant)
        EXPECT_EQ(predicted, 60.0f) << r;
      else
        EXPECT_NEAR(predicted, d.speeds[r], 0.02) << r;
    }
  }
}

// The fit is the ridge least-squares solution: for every category the residuals of its
// runs add up to the ridge times its weight's departure from the mean's share.
TEST(WeightTablesTest, EachWeightBalancesItsRunsResidualsAgainstTheRidge) {
  TempDrive drive;
  std::vector<CategorisedRun> runs;
  for (int i = 0; i < 9; ++i) {
    // Items 2 and 3 always agree, so only the sum of their effects is determined.
    const std::string code = i % 2 ? "B" : "A";
    std::ostringstream speed;
    speed << 60 + (i % 2 ? 4 : 0) + (i == 4 ? 1.5 : 0) + 0.25 * (i % 3);
    runs.push_back(CategorisedRun{{{2, code}, {3, code}, {6, i == 4 ? "once" : "often"}},
                                  {speed.str(), speed.str(), speed.str()}});
  }
  // A run without a time, whose jockey has no other run.
  runs.push_back(CategorisedRun{{{2, "A"}, {3, "A"}, {6, "unused"}}, {"0", "0", "0"}});
  WriteCategorisation(CourseKind::kJump, runs);
  const Categorisation c = ReadCategorisation(CourseKind::kJump);
  const RegressionData d = ReadRegressionData(CourseKind::kJump, SpeedFigureKind::kSoha, c);
  const WeightFit fit = FitWeights(c, d);
  ASSERT_EQ(fit.runsUsed, 9);
  ASSERT_EQ(fit.weights.size(), 34u);

  double mean = 0;
  for (int r = 0; r < 9; ++r) mean += d.speeds[static_cast<std::size_t>(r)] / 9;
  std::vector<double> residuals(fit.weights.size());
  for (std::size_t r = 0; r < 9; ++r) {
    const std::int32_t* row = &d.categories[r * kFactorItemCount];
    // In double: the single-precision sums of the scoring would hide the balance.
    std::vector<std::size_t> columns;
    double e = d.speeds[r];
    for (int k = 1; k <= kFactorItemCount; ++k) {
      columns.push_back(
          static_cast<std::size_t>(c.offsets[static_cast<std::size_t>(k)] + row[k - 1] - 1));
      e -= fit.weights[columns.back()];
    }
    for (const std::size_t j : columns) residuals[j] += e;
  }
  for (std::size_t j = 0; j < fit.weights.size(); ++j) {
    SCOPED_TRACE(j);
    EXPECT_NEAR(residuals[j], *fit.ridge * (fit.weights[j] - mean / kFactorItemCount), 1e-4);
  }
  // Item 2's categories are columns 1 and 2, item 3's 3 and 4: they share the effect.
  EXPECT_GT(fit.weights[2] - fit.weights[1], 1.5);
  EXPECT_NEAR(fit.weights[2] - fit.weights[1], fit.weights[4] - fit.weights[3], 1e-5);
  // Item 6 ("often", "once", "unused") has columns 7 to 9; a category without a run used keeps the
  // share.
  EXPECT_NEAR(fit.weights[9], mean / kFactorItemCount, 1e-6);
  EXPECT_GT(fit.weights[8], fit.weights[7]);
}

TEST(WeightTablesTest, RunsWithoutASpeedAreLeftOutOfTheFit) {
  TempDrive drive;
  std::vector<CategorisedRun> runs = AdditiveRuns(2);
  WriteCategorisation(CourseKind::kDirt, runs);
  Categorisation c = ReadCategorisation(CourseKind::kDirt);
  const WeightFit alone =
      FitWeights(c, ReadRegressionData(CourseKind::kDirt, SpeedFigureKind::kAgari, c));
  // A run without a time would pull its categories towards 0 if it were fitted.
  runs.push_back(CategorisedRun{{{6, "J1"}, {29, "M1"}}, {"0", "61", "0"}});
  WriteCategorisation(CourseKind::kDirt, runs);
  c = ReadCategorisation(CourseKind::kDirt);
  const WeightFit agari =
      FitWeights(c, ReadRegressionData(CourseKind::kDirt, SpeedFigureKind::kAgari, c));
  EXPECT_EQ(agari.runsUsed, 24);
  EXPECT_EQ(agari.weights, alone.weights);
  EXPECT_EQ(agari.inSample.rSquared, alone.inSample.rSquared);
  EXPECT_EQ(agari.heldOut.rmse, alone.heldOut.rmse);
  const WeightFit pace =
      FitWeights(c, ReadRegressionData(CourseKind::kDirt, SpeedFigureKind::kPace, c));
  EXPECT_EQ(pace.runsUsed, 25);
  EXPECT_NE(pace.weights, alone.weights);
}

// A course kind without a run in the period (jump races of a short calendar): nothing to fit,
// and no mean that a table would have to take.
TEST(WeightTablesTest, AnEmptyCategorisationGivesEmptyTables) {
  TempDrive drive;
  WriteCategorisation(CourseKind::kJump, {});
  std::ostringstream out, err;
  ASSERT_EQ(RunWeights(CourseKind::kJump, out, err), 0) << err.str();
  EXPECT_NE(
      out.str().find("Shog Soha: runs used 0, ridge -, R² - (held-out -), RMSE - (held-out -)\n"),
      std::string::npos)
      << out.str();
  const CategoryTableFiles files = CategoryTableFilesOf(CourseKind::kJump);
  EXPECT_EQ(Items(files.totals), std::vector<std::string>(kFactorItemCount, "0"));
  EXPECT_EQ(ReadFile(DataPath(files.agariWeights)), "");
  EXPECT_EQ(ReadFile(DataPath(files.categories)), "");
}

// Every item is one category, so a fit predicts its training runs' mean: the held-out
// prediction of each run is the mean of the folds without it. The run without a time
// (file line 4) takes no place in the folds: of the runs used, 0 and 5 form fold 0, 1 and
// 6 fold 1, and 2, 3 and 4 one fold each.
TEST(WeightTablesTest, EachRunIsPredictedByTheFoldsWithoutIt) {
  TempDrive drive;
  std::vector<CategorisedRun> runs;
  for (const char* speed : {"60", "62", "61", "0", "65", "63", "64", "66"}) {
    runs.push_back(CategorisedRun{{}, {speed, speed, speed}});
  }
  WriteCategorisation(CourseKind::kTurf, runs);
  const Categorisation c = ReadCategorisation(CourseKind::kTurf);
  const RegressionData d = ReadRegressionData(CourseKind::kTurf, SpeedFigureKind::kPace, c);
  const WeightFit fit = FitWeights(c, d);
  ASSERT_EQ(fit.runsUsed, 7);
  const std::vector<double> heldOut{317.0 / 5, 313.0 / 5, 380.0 / 6, 376.0 / 6,
                                    378.0 / 6, 317.0 / 5, 313.0 / 5};
  const FitFigures expected = Figures(d, UsedRecords(d), heldOut);
  ASSERT_TRUE(fit.heldOut.rSquared && fit.heldOut.rmse);
  EXPECT_NEAR(*fit.heldOut.rmse, *expected.rmse, 1e-4);
  EXPECT_NEAR(*fit.heldOut.rSquared, *expected.rSquared, 1e-4);
  // No ridge changes a weight: the smallest is kept.
  for (const FitFigures& f : fit.heldOutByRidge) EXPECT_EQ(f.rmse, fit.heldOut.rmse);
  EXPECT_EQ(fit.ridge, 1);
}

// The held-out figures at every ridge, the ridge chosen and the tables written, against a
// dense solve of each training set.
TEST(WeightTablesTest, TheCrossValidatedFitAgreesWithADenseSolve) {
  TempDrive drive;
  WriteCategorisation(CourseKind::kTurf, NoisyRuns());
  const Categorisation c = ReadCategorisation(CourseKind::kTurf);
  const RegressionData d = ReadRegressionData(CourseKind::kTurf, SpeedFigureKind::kAgari, c);
  const WeightFit fit = FitWeights(c, d);
  const std::vector<std::size_t> used = UsedRecords(d);
  ASSERT_EQ(fit.runsUsed, 22);

  std::size_t best = 0;
  std::vector<double> bestRSquared;
  for (std::size_t v = 0; v < kWeightRidges.size(); ++v) {
    SCOPED_TRACE(kWeightRidges[v]);
    std::vector<double> predictions(used.size());
    for (int fold = 0; fold < kWeightFolds; ++fold) {
      std::vector<std::size_t> training;
      for (std::size_t i = 0; i < used.size(); ++i) {
        if (static_cast<int>(i % kWeightFolds) != fold) training.push_back(used[i]);
      }
      const std::vector<float> weights = DenseFit(c, d, training, kWeightRidges[v]);
      for (std::size_t i = static_cast<std::size_t>(fold); i < used.size(); i += kWeightFolds) {
        predictions[i] = PredictedSpeed(c, weights, &d.categories[used[i] * kFactorItemCount]);
      }
    }
    const FitFigures expected = Figures(d, used, predictions);
    ASSERT_TRUE(fit.heldOutByRidge[v].rSquared && fit.heldOutByRidge[v].rmse);
    EXPECT_NEAR(*fit.heldOutByRidge[v].rSquared, *expected.rSquared, 1e-6);
    EXPECT_NEAR(*fit.heldOutByRidge[v].rmse, *expected.rmse, 1e-6);
    bestRSquared.push_back(*expected.rSquared);
    if (*expected.rSquared > bestRSquared[best]) best = v;
  }
  // Far enough apart for the choice not to hang on rounding.
  for (std::size_t v = 0; v < bestRSquared.size(); ++v) {
    if (v != best) {
      EXPECT_GT(bestRSquared[best] - bestRSquared[v], 1e-4);
    }
  }
  EXPECT_EQ(fit.ridge, kWeightRidges[best]);
  EXPECT_EQ(fit.heldOut.rSquared, fit.heldOutByRidge[best].rSquared);
  EXPECT_EQ(fit.heldOut.rmse, fit.heldOutByRidge[best].rmse);

  // The tables written are the fit on all runs used at that ridge.
  const std::vector<float> all = DenseFit(c, d, used, kWeightRidges[best]);
  ASSERT_EQ(fit.weights.size(), all.size());
  for (std::size_t j = 0; j < all.size(); ++j) EXPECT_NEAR(fit.weights[j], all[j], 1e-5) << j;
  const WeightFit atRidge = FitWeightsAtRidge(c, d, kWeightRidges[best]);
  EXPECT_EQ(atRidge.weights, fit.weights);
  EXPECT_EQ(atRidge.inSample.rSquared, fit.inSample.rSquared);
  EXPECT_EQ(atRidge.inSample.rmse, fit.inSample.rmse);
  std::ostringstream out, err;
  ASSERT_EQ(RunWeights(CourseKind::kTurf, out, err), 0) << err.str();
  EXPECT_EQ(Weights(CategoryTableFilesOf(CourseKind::kTurf).agariWeights), fit.weights);
  EXPECT_NE(out.str().find(FigureLine(CourseKind::kTurf, SpeedFigureKind::kAgari, fit) + "\n"),
            std::string::npos)
      << out.str();
}

// Categories that no run used change no other weight: past the factorisation's limit the
// conjugate gradient fits what the factorisation fits.
TEST(WeightTablesTest, ManyCategoriesAreFittedAsFewAre) {
  TempDrive drive;
  std::vector<CategorisedRun> runs = NoisyRuns();
  WriteCategorisation(CourseKind::kDirt, runs);
  const Categorisation fewCategories = ReadCategorisation(CourseKind::kDirt);
  const WeightFit few = FitWeights(
      fewCategories, ReadRegressionData(CourseKind::kDirt, SpeedFigureKind::kSoha, fewCategories));
  // The new categories are item 30's, after all others.
  for (int i = 0; i < kWeightDenseLimit; ++i) {
    CategorisedRun unused = runs[0];
    unused.codes[30] = "U" + std::to_string(i);
    unused.speeds = {"0", "0", "0"};
    runs.push_back(unused);
  }
  WriteCategorisation(CourseKind::kDirt, runs);
  const Categorisation c = ReadCategorisation(CourseKind::kDirt);
  const RegressionData d = ReadRegressionData(CourseKind::kDirt, SpeedFigureKind::kSoha, c);
  ASSERT_LE(fewCategories.CategoryCount(), kWeightDenseLimit);
  ASSERT_GT(c.CategoryCount(), kWeightDenseLimit);
  const WeightFit many = FitWeights(c, d);
  EXPECT_EQ(few.iterations, 0);
  EXPECT_GT(many.iterations, 0);
  EXPECT_TRUE(many.converged);
  EXPECT_EQ(many.runsUsed, few.runsUsed);
  EXPECT_EQ(many.ridge, few.ridge);
  for (std::size_t v = 0; v < kWeightRidges.size(); ++v) {
    EXPECT_NEAR(*many.heldOutByRidge[v].rSquared, *few.heldOutByRidge[v].rSquared, 1e-6);
  }
  double mean = 0;
  for (const std::size_t r : UsedRecords(d))
    mean += d.speeds[r] / static_cast<double>(few.runsUsed);
  for (std::size_t j = 0; j < many.weights.size(); ++j) {
    SCOPED_TRACE(j);
    if (j < few.weights.size())
      EXPECT_NEAR(many.weights[j], few.weights[j], 1e-5);
    else
      EXPECT_NEAR(many.weights[j], mean / kFactorItemCount, 1e-6);
  }
}

TEST(WeightTablesTest, TheBestHeldOutRSquaredChoosesTheRidgeAndTheSmallerOnATie) {
  const std::optional<double> none;
  struct Case {
    std::array<std::optional<double>, kWeightRidges.size()> rSquared;
    std::size_t best;
  };
  const std::vector<Case> cases = {
      {{0.10, 0.30, 0.25, 0.20, 0.05}, 1},  {{0.10, 0.30, 0.20, 0.30, 0.05}, 1},
      {{0.40, 0.40, 0.40, 0.40, 0.40}, 0},  {{-0.90, -0.20, -0.50, -0.70, -0.30}, 1},
      {{0.10, 0.20, 0.30, 0.40, 0.50}, 4},  {{none, none, none, none, none}, 0},
      {{none, -0.50, none, none, none}, 1},
  };
  for (const Case& c : cases) {
    std::array<FitFigures, kWeightRidges.size()> figures;
    for (std::size_t v = 0; v < figures.size(); ++v) figures[v].rSquared = c.rSquared[v];
    EXPECT_EQ(BestRidge(figures), c.best) << ::testing::PrintToString(c.rSquared);
  }
}

TEST(WeightTablesTest, TheFiguresLineShowsEachFigureOrADash) {
  struct Case {
    CourseKind kind;
    SpeedFigureKind figure;
    WeightFit fit;
    std::string line;
  };
  const auto fit = [](std::int64_t runs, std::optional<int> ridge, FitFigures inSample,
                      FitFigures heldOut, bool converged = true) {
    WeightFit f;
    f.runsUsed = runs;
    f.ridge = ridge;
    f.inSample = inSample;
    f.heldOut = heldOut;
    f.converged = converged;
    return f;
  };
  const std::vector<Case> cases = {
      {CourseKind::kTurf, SpeedFigureKind::kAgari,
       fit(22402, 10, {0.42816, 1.45094}, {0.379249, 1.511751}),
       "Siba Agari: runs used 22402, ridge 10, R² 0.4282 (held-out 0.3792), RMSE 1.4509 "
       "(held-out 1.5118) km/h"},
      {CourseKind::kDirt, SpeedFigureKind::kPace, fit(90, 100, {-0.2, 12.5}, {-1.25, 20}),
       "Dirt Pace: runs used 90, ridge 100, R² -0.2000 (held-out -1.2500), RMSE 12.5000 "
       "(held-out 20.0000) km/h"},
      // No run used: nothing fitted.
      {CourseKind::kJump, SpeedFigureKind::kSoha, fit(0, std::nullopt, {}, {}),
       "Shog Soha: runs used 0, ridge -, R² - (held-out -), RMSE - (held-out -)"},
      // Fewer runs than folds: no held-out figures.
      {CourseKind::kJump, SpeedFigureKind::kAgari, fit(4, 1, {0.9, 0.1}, {}),
       "Shog Agari: runs used 4, ridge 1, R² 0.9000 (held-out -), RMSE 0.1000 (held-out -) km/h"},
      // No spread in the speeds: no R².
      {CourseKind::kTurf, SpeedFigureKind::kSoha, fit(8, 1, {std::nullopt, 0}, {std::nullopt, 0}),
       "Siba Soha: runs used 8, ridge 1, R² - (held-out -), RMSE 0.0000 (held-out 0.0000) km/h"},
      {CourseKind::kTurf, SpeedFigureKind::kPace, fit(800, 3, {0.5, 1}, {0.4, 1.25}, false),
       "Siba Pace: runs used 800, ridge 3, R² 0.5000 (held-out 0.4000), RMSE 1.0000 (held-out "
       "1.2500) km/h (a solve stopped after 5000 iterations)"},
      // A figure that is not a number is not defined either.
      {CourseKind::kDirt, SpeedFigureKind::kSoha,
       fit(9, 1, {-HUGE_VAL, HUGE_VAL}, {std::nan(""), std::nan("")}),
       "Dirt Soha: runs used 9, ridge 1, R² - (held-out -), RMSE - (held-out -)"},
      {CourseKind::kDirt, SpeedFigureKind::kAgari, fit(9, 1, {0.5, 1}, {-HUGE_VAL, HUGE_VAL}),
       "Dirt Agari: runs used 9, ridge 1, R² 0.5000 (held-out -), RMSE 1.0000 (held-out -) km/h"},
  };
  for (const Case& c : cases) EXPECT_EQ(FigureLine(c.kind, c.figure, c.fit), c.line);
}

// Figures without a meaning are left out; without a held-out R² the ridge is the smallest.
TEST(WeightTablesTest, FiguresThatTheRunsDoNotDefineAreLeftOut) {
  struct Case {
    const char* what;
    std::vector<std::string> speeds;
    bool heldOutRmse;
    bool rSquared;  // in sample and held out alike
  };
  const std::vector<Case> cases = {
      {"fewer runs than folds", {"60", "61.5", "0", "62", "63.25"}, false, true},
      {"one run in each fold", {"60", "61.5", "0", "62", "63.25", "61"}, true, true},
      {"no spread", {"60", "60", "60", "60", "60", "60", "60"}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDrive drive;
    std::vector<CategorisedRun> runs;
    for (std::size_t i = 0; i < c.speeds.size(); ++i) {
      const std::string& s = c.speeds[i];
      runs.push_back(CategorisedRun{{{6, i % 2 ? "J1" : "J2"}}, {s, s, s}});
    }
    WriteCategorisation(CourseKind::kJump, runs);
    const Categorisation cs = ReadCategorisation(CourseKind::kJump);
    const WeightFit fit =
        FitWeights(cs, ReadRegressionData(CourseKind::kJump, SpeedFigureKind::kAgari, cs));
    if (!fit.heldOut.rSquared) {
      EXPECT_EQ(fit.ridge, 1);
    }
    EXPECT_TRUE(fit.inSample.rmse.has_value());
    EXPECT_EQ(fit.heldOut.rmse.has_value(), c.heldOutRmse);
    EXPECT_EQ(fit.inSample.rSquared.has_value(), c.rSquared);
    EXPECT_EQ(fit.heldOut.rSquared.has_value(), c.rSquared && c.heldOutRmse);
  }
}

// Replaces line `line` (from 1) of a file, its line end kept.
void ReplaceLine(const std::filesystem::path& path, int line, const std::string& text) {
  std::string bytes = ReadFile(path);
  std::size_t start = 0;
  for (int l = 1; l < line; ++l) start = bytes.find("\r\n", start) + 2;
  WriteFile(path, bytes.replace(start, bytes.find("\r\n", start) - start, text));
}

std::string Line(const std::filesystem::path& path, int line) {
  const std::string bytes = ReadFile(path);
  std::size_t start = 0;
  for (int l = 1; l < line; ++l) start = bytes.find("\r\n", start) + 2;
  return bytes.substr(start, bytes.find("\r\n", start) - start);
}

// A refused or failed run writes nothing: the tables of the run before stay. The refusal
// names the file and, where one line is at fault, the line. The categorisation is
// AdditiveRuns(): 12 records (lines 32 to 43 of a data file) of 33 categories, 3 of
// item 6 and 2 of item 29, the others 1 each.
TEST(WeightTablesTest, RefusedInputsLeaveTheEarlierTables) {
  struct Case {
    const char* what;
    std::function<void()> spoil;
    const char* message;
  };
  const CourseKind kind = CourseKind::kTurf;
  const auto totals = [&] { return DataPath(RegressionTotalsFileName(kind)); };
  const auto codes = [&] { return DataPath(ItemCategoryFileName(kind)); };
  const auto agari = [&] {
    return DataPath(RegressionDataFileName(kind, SpeedFigureKind::kAgari));
  };
  const auto soha = [&] { return DataPath(RegressionDataFileName(kind, SpeedFigureKind::kSoha)); };
  const auto cut = [](const std::filesystem::path& path, std::uintmax_t bytes) {
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - bytes);
  };
  const auto folder = [](const std::filesystem::path& path) {
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
  };
  const std::vector<Case> cases = {
      {"missing totals", [&] { std::filesystem::remove(totals()); },
       "QA1SibaTotalData201901N2025.dat is missing: run the categorisation of Siba first"},
      {"missing data file", [&] { std::filesystem::remove(soha()); },
       "QA1SibaSohaData201901N2025.dat is missing"},
      {"missing counts",
       [&] { std::filesystem::remove(DataPath(ItemCategoryCountFileName(kind))); },
       "SibaItemCategoryCount201901N2025.dat is missing"},
      {"a folder for the totals", [&] { folder(totals()); },
       "QA1SibaTotalData201901N2025.dat is a folder, not a file"},
      {"a folder for a data file", [&] { folder(agari()); },
       "QA1SibaAgariData201901N2025.dat is a folder, not a file"},
      {"a totals file that cannot be read",
       [&] {
         std::filesystem::remove(totals());
         std::filesystem::create_symlink(totals().filename(), totals());
       },
       "QA1SibaTotalData201901N2025.dat cannot be read: シンボリックリンクが循環しています"},
      {"data of another categorisation", [&] { ReplaceLine(agari(), 1, "3,30"); },
       "QA1SibaAgariData201901N2025.dat, lines 1 to 31: differ from the totals file's"},
      {"category out of range",
       [&] {
         std::string text = ReadFile(soha());
         text.replace(text.rfind(",2,"), 3, ",9,");
         WriteFile(soha(), text);
       },
       "QA1SibaSohaData201901N2025.dat, line 43: record 12 has category 9 of item 29, whose "
       "categories are 1 to 2"},
      // The categorisation finds every record's code among its item's categories.
      {"category 0 of an item of categories",
       [&] { ReplaceLine(agari(), 33, "62,0," + Line(agari(), 33).substr(5)); },
       "QA1SibaAgariData201901N2025.dat, line 33: record 2 has category 0 of item 1, whose "
       "categories are 1 to 1"},
      {"a category too few on a line",
       [&] {
         const std::string line = Line(agari(), 35);
         ReplaceLine(agari(), 35, line.substr(0, line.size() - 2));
       },
       "QA1SibaAgariData201901N2025.dat, line 35: the line ends after record 4's category of item "
       "29"},
      {"a category too many on a line", [&] { ReplaceLine(agari(), 35, Line(agari(), 35) + ",1"); },
       "QA1SibaAgariData201901N2025.dat, line 35: the line goes on after record 4's category of "
       "item 30"},
      {"a line short",
       [&] {
         std::string text = ReadFile(agari());
         WriteFile(agari(), text.substr(0, text.rfind("\r\n", text.size() - 3) + 2));
       },
       "QA1SibaAgariData201901N2025.dat, line 43: the file ends before the speed of record 12"},
      {"a data file whose last line is cut", [&] { cut(agari(), 2); },
       "QA1SibaAgariData201901N2025.dat, line 43: the file ends in this line, with no line end "
       "after record 12's "
       "category of item 30"},
      {"speed not a number",
       [&] {
         std::string text = ReadFile(agari());
         text.replace(text.find("\r\n60,") + 2, 2, "6x");
         WriteFile(agari(), text);
       },
       "QA1SibaAgariData201901N2025.dat, line 32: the speed of record 1 is not a number: 6x"},
      // No horse runs that fast: such a speed comes from a damaged file.
      {"a speed of 1000 km/h",
       [&] { ReplaceLine(agari(), 32, "1000" + Line(agari(), 32).substr(2)); },
       "QA1SibaAgariData201901N2025.dat, line 32: the speed of record 1 is 1000 km/h, not below "
       "1000 as a horse's"},
      {"the largest single-precision speed",
       [&] { ReplaceLine(soha(), 37, "3.4e38" + Line(soha(), 37).substr(4)); },
       "QA1SibaSohaData201901N2025.dat, line 37: the speed of record 6 is 3.4e38 km/h"},
      {"a huge total", [&] { ReplaceLine(totals(), 2, "2000000000"); },
       "QA1SibaTotalData201901N2025.dat, line 2: item 1 has 2000000000 categories, more than "
       "the 6000 a category window loads"},
      {"a total the window cannot load", [&] { ReplaceLine(totals(), 31, "6001"); },
       "QA1SibaTotalData201901N2025.dat, line 31: item 30 has 6001 categories"},
      {"the head on two lines", [&] { ReplaceLine(totals(), 1, "12\r\n30"); },
       "QA1SibaTotalData201901N2025.dat, line 1: the line ends after the record count"},
      // No table could take the mean.
      {"records without a category",
       [&] {
         std::set<int> all;
         for (int k = 1; k <= kFactorItemCount; ++k) all.insert(k);
         WriteCategorisation(kind, AdditiveRuns(), all);
       },
       "QA1SibaTotalData201901N2025.dat, lines 2 to 31: no item has a category"},
      {"a huge record count in every head",
       [&] {
         for (const auto& path :
              {totals(), agari(), DataPath(RegressionDataFileName(kind, SpeedFigureKind::kPace)),
               soha()}) {
           ReplaceLine(path, 1, "2147483647,30");
         }
       },
       "QA1SibaAgariData201901N2025.dat, line 44: the file ends before the speed of record 13"},
      {"a category too many", [&] { WriteFile(codes(), ReadFile(codes()) + "\"Z\"\r\n"); },
       "SibaItemCategory201901N2025.dat, line 34: the file goes on past the 33 categories of the "
       "totals file"},
      // The code of the last category without its line end.
      {"a code file cut by its line end", [&] { cut(codes(), 2); },
       "SibaItemCategory201901N2025.dat, line 33: the file ends in this line, with no line end "
       "after the code of "
       "category 1 of item 30"},
      // Into the line before: "M2" of item 29 with its closing quote or without.
      {"a code file cut by 7 bytes", [&] { cut(codes(), 7); },
       "SibaItemCategory201901N2025.dat, line 32: the file ends in this line, with no line end "
       "after the code of "
       "category 2 of item 29"},
      {"a code file cut in a code", [&] { cut(codes(), 8); },
       "SibaItemCategory201901N2025.dat, line 32: the file ends in this line"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDrive drive;
    WriteFile(DataPath(CategoryTableFilesOf(kind).agariWeights), "earlier\r\n");
    WriteCategorisation(kind, AdditiveRuns());
    c.spoil();
    std::ostringstream out, err;
    EXPECT_EQ(RunWeights(kind, out, err), 1);
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    EXPECT_EQ(ReadFile(DataPath(CategoryTableFilesOf(kind).agariWeights)), "earlier\r\n");
    EXPECT_FALSE(std::filesystem::exists(DataPath(CategoryTableFilesOf(kind).totals)));
  }
}

// Whatever a run throws, it ends with status 1, names what it was doing and leaves the
// earlier tables: here a failure of each kind in the middle of the commit.
TEST(WeightTablesTest, AFailureOfAnyKindEndsTheRunWithTheEarlierTables) {
  struct Case {
    const char* what;
    std::function<void()> fail;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"no memory", [] { throw std::bad_alloc(); }, "meridax-weights: Siba: std::bad_alloc"},
      {"a logic error", [] { throw std::logic_error("broken"); }, "meridax-weights: Siba: broken"},
      {"not an exception", [] { throw 29; }, "meridax-weights: Siba: an exception of unknown kind"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDrive drive;
    WriteCategorisation(CourseKind::kTurf, AdditiveRuns());
    std::ostringstream out, err;
    ASSERT_EQ(RunWeights(CourseKind::kTurf, out, err), 0) << err.str();
    const auto earlier = testing::FolderBytes(DataPath(kOptionFolder));
    std::vector<CategorisedRun> runs = AdditiveRuns();
    runs.pop_back();
    WriteCategorisation(CourseKind::kTurf, runs);
    StagedFiles::SetHookForTesting([&](StagedFiles::Operation op, std::size_t index) {
      if (op == StagedFiles::Operation::kReplace && index == 3) c.fail();
    });
    EXPECT_EQ(RunWeights(CourseKind::kTurf, out, err), 1);
    StagedFiles::SetHookForTesting(nullptr);
    EXPECT_NE(err.str().find(c.message), std::string::npos) << err.str();
    EXPECT_EQ(testing::FolderBytes(DataPath(kOptionFolder)), earlier);
    for (const auto& [name, bytes] : testing::FolderBytes(DataPath())) {
      EXPECT_EQ(name.find(".stage"), std::string::npos) << name;
    }
  }
}

// An output that takes `room` bytes and fails every write after them, as standard output
// on a full device does.
class FullOutput : public std::streambuf {
 public:
  explicit FullOutput(std::size_t room) : room_(room) {}

 protected:
  int_type overflow(int_type c) override {
    if (room_ == 0 || traits_type::eq_int_type(c, traits_type::eof())) return traits_type::eof();
    --room_;
    return c;
  }

 private:
  std::size_t room_;
};

// Figures that cannot be printed fail the run before any table is written; a last line
// that cannot be printed fails it after the tables were.
TEST(WeightTablesTest, AnOutputThatCannotBeWrittenFailsTheRun) {
  const CourseKind kind = CourseKind::kTurf;
  std::string figures;
  {
    TempDrive drive;
    WriteCategorisation(kind, AdditiveRuns());
    std::ostringstream out, err;
    ASSERT_EQ(RunWeights(kind, out, err), 0) << err.str();
    figures = out.str().substr(0, out.str().rfind("Siba: "));
  }
  struct Case {
    std::size_t room;
    const char* message;
    bool written;
  };
  const std::vector<Case> cases = {
      {0, "meridax-weights: Siba: standard output cannot be written; no table was written\n",
       false},
      {figures.size() - 1,
       "meridax-weights: Siba: standard output cannot be written; no table was written\n", false},
      {figures.size(),
       "meridax-weights: Siba: standard output cannot be written; the tables were written\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.room);
    TempDrive drive;
    WriteFile(DataPath(CategoryTableFilesOf(kind).agariWeights), "earlier\r\n");
    WriteCategorisation(kind, AdditiveRuns());
    FullOutput full(c.room);
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(RunWeights(kind, out, err), 1);
    EXPECT_EQ(err.str(), c.message);
    EXPECT_EQ(ReadFile(DataPath(CategoryTableFilesOf(kind).agariWeights)) != "earlier\r\n",
              c.written);
  }
}

// Standard output is buffered: its failure shows only when it is flushed, as the run does
// before it writes the tables.
TEST(WeightTablesTest, AFullStandardOutputFailsTheRun) {
  TempDrive drive;
  WriteCategorisation(CourseKind::kDirt, AdditiveRuns());
  const auto errors = drive.root() / "errors.txt";
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int full = ::open("/dev/full", O_WRONLY);
    const int text = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (full < 0 || text < 0 || ::dup2(full, 1) < 0 || ::dup2(text, 2) < 0) ::_exit(3);
    ::_exit(RunWeights(CourseKind::kDirt, std::cout, std::cerr));
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(ReadFile(errors),
            "meridax-weights: Dirt: standard output cannot be written; no table was written\n");
  EXPECT_FALSE(std::filesystem::exists(DataPath(CategoryTableFilesOf(CourseKind::kDirt).totals)));
}

TEST(WeightTablesTest, AMissingDataFolderIsRefusedAndOneThatCannotBeReadSaysSo) {
  TempDrive drive(/*withDataFolders=*/false);
  std::ostringstream out, err;
  EXPECT_EQ(RunWeights(CourseKind::kDirt, out, err), 1);
  EXPECT_NE(err.str().find("C:\\MERIDAXPROJECT\\ is missing"), std::string::npos) << err.str();
  std::filesystem::create_directory_symlink("MERIDAXPROJECT", drive.data());
  std::ostringstream looped;
  EXPECT_EQ(RunWeights(CourseKind::kDirt, out, looped), 1);
  EXPECT_NE(
      looped.str().find("C:\\MERIDAXPROJECT\\ cannot be read: シンボリックリンクが循環しています"),
      std::string::npos)
      << looped.str();
}

TEST(WeightTablesTest, ACommitThatFailsPartWayLeavesTheEarlierTables) {
  TempDrive drive;
  const CategoryTableFiles files = CategoryTableFilesOf(CourseKind::kTurf);
  WriteCategorisation(CourseKind::kTurf, AdditiveRuns());
  std::ostringstream out, err;
  ASSERT_EQ(RunWeights(CourseKind::kTurf, out, err), 0);
  const auto earlier = testing::FolderBytes(DataPath(kOptionFolder));

  std::vector<CategorisedRun> runs = AdditiveRuns();
  runs.pop_back();
  WriteCategorisation(CourseKind::kTurf, runs);
  StagedFiles::SetHookForTesting([](StagedFiles::Operation op, std::size_t index) {
    if (op == StagedFiles::Operation::kReplace && index == 4) {
      throw IoError("置き換えられません", "fault");
    }
  });
  EXPECT_EQ(RunWeights(CourseKind::kTurf, out, err), 1);
  StagedFiles::SetHookForTesting(nullptr);
  EXPECT_EQ(testing::FolderBytes(DataPath(kOptionFolder)), earlier);
}

// The tool writes only under OPTION1N, and its journal into the data folder. A run ended
// before its journal was named leaves its temporaries and the journal's part; the next
// program to start, whichever it is, removes them.
TEST(WeightTablesTest, WhatARunEndedBeforeItsJournalLeftGoesWhenAProgramStarts) {
  TempDrive drive;
  WriteCategorisation(CourseKind::kDirt, AdditiveRuns());
  std::ostringstream out, err;
  ASSERT_TRUE(testing::EndProcessDuringCommit([&] { RunWeights(CourseKind::kDirt, out, err); },
                                              StagedFiles::Operation::kWriteJournal, 0));
  auto left = [] {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : testing::FolderBytes(DataPath())) {
      if (name.find(".stage") != std::string::npos && !name.ends_with(".owner")) {
        names.push_back(name);
      }
    }
    return names;
  };
  EXPECT_EQ(left().size(), 7u);  // six tables and the journal's part
  CompleteInterruptedCommits();
  EXPECT_TRUE(left().empty());
  ASSERT_EQ(RunWeights(CourseKind::kDirt, out, err), 0) << err.str();
  for (const auto& [name, bytes] : testing::FolderBytes(DataPath())) {
    EXPECT_EQ(name.find(".stage"), std::string::npos) << name;
  }
}

// A fit ended during its commit leaves some tables replaced and some not; a window opened
// afterwards finishes that commit before it loads, so it loads the new tables whole.
TEST(WeightTablesTest, AWindowOpenedAfterAFitEndedInItsCommitLoadsTheCompletedTables) {
  TempDrive drive;
  WriteCategorisation(CourseKind::kTurf, AdditiveRuns());
  std::ostringstream out, err;
  ASSERT_EQ(RunWeights(CourseKind::kTurf, out, err), 0) << err.str();
  std::vector<CategorisedRun> runs = AdditiveRuns();
  runs.push_back(CategorisedRun{{{6, "J4"}, {29, "M1"}}, {"58", "58", "58"}});
  WriteCategorisation(CourseKind::kTurf, runs);
  ASSERT_TRUE(testing::EndProcessDuringCommit([&] { RunWeights(CourseKind::kTurf, out, err); },
                                              StagedFiles::Operation::kReplace, 3));

  WindowRegistry windows;
  windows.Add(kCategoryWindow);
  RecordingHost host;
  HeadlessWindows session(windows, host);
  const std::string window(kCategoryWindow.className);
  ASSERT_EQ(session.Run(window + ".Text1=201901"), HeadlessWindows::Outcome::kOk);
  const auto& opened = static_cast<const CategorySteps&>(*session.Instance(window));

  // The tables as the fit, run to its end, leaves them.
  CompleteInterruptedCommits();
  CategorySteps whole;
  whole.Form_Load(host);
  const CourseCategoryTables& loaded = opened.state().tables[KindIndex(CourseKind::kTurf)];
  const CourseCategoryTables& expected = whole.state().tables[KindIndex(CourseKind::kTurf)];
  EXPECT_EQ(expected.totals[6], 4);
  EXPECT_EQ(loaded.totals, expected.totals);
  EXPECT_EQ(loaded.codes, expected.codes);
  EXPECT_EQ(loaded.agari, expected.agari);
  EXPECT_EQ(loaded.pace, expected.pace);
  EXPECT_EQ(loaded.soha, expected.soha);
  EXPECT_EQ(loaded.counts, expected.counts);
}

// The whole round: the categorisation writes its files from an item file, the tool fits
// them, and a window opened afterwards loads the tables and scores every record with the
// very sum the tool reported its figures by.
TEST(WeightTablesTest, TheWindowLoadsTheFittedTablesAndScoresAsTheFitSums) {
  TempDrive drive;
  std::vector<std::string> items;
  for (int i = 0; i < 40; ++i) {
    std::string r = BlankFactorItemRecord();
    const int agari = 6000000 + 150000 * (i % 4) + 40000 * (i % 3) + 1000 * (i % 7);
    records::Put(r, factor_item::AgariFigure, std::to_string(agari));
    records::Put(r, factor_item::PaceFigure, std::to_string(agari - 300000));
    records::Put(r, factor_item::SohaFigure, i == 5 ? "0000000" : std::to_string(agari - 100000));
    records::Put(r, factor_item::Item(6), "J" + std::to_string(i % 4));
    records::Put(r, factor_item::Item(24), i % 3 ? "071" : "064");
    records::Put(r, factor_item::Item(29), std::to_string(i % 7));
    items.push_back(r);
  }
  testing::WriteRecords(DataPath(FactorItemFileName(CourseKind::kTurf)), items);
  {
    CategorySteps window;
    window.CategoriseStep(CourseKind::kTurf);
  }
  std::ostringstream out, err;
  ASSERT_EQ(RunWeights(CourseKind::kTurf, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("Siba Soha: runs used 39,"), std::string::npos) << out.str();

  const Categorisation c = ReadCategorisation(CourseKind::kTurf);
  const RegressionData d = ReadRegressionData(CourseKind::kTurf, SpeedFigureKind::kAgari, c);
  std::array<std::vector<float>, 3> fitted;
  const CategoryTableFiles files = CategoryTableFilesOf(CourseKind::kTurf);
  fitted[0] = Weights(files.agariWeights);
  fitted[1] = Weights(files.paceWeights);
  fitted[2] = Weights(files.sohaWeights);

  CategorySteps window;
  RecordingHost host;
  window.Form_Load(host);
  const CourseCategoryTables& t = window.state().tables[KindIndex(CourseKind::kTurf)];
  EXPECT_EQ(t.totals[6], 4);
  EXPECT_EQ(t.totals[29], 7);
  EXPECT_EQ(t.codes[24][1], "064   ");  // item 24 by code
  RunnerScoring scoring(&window.state().tables);
  std::string run(kExtendedRunLength, ' ');
  records::Put(run, extended_run::TrackCode, "10");
  const std::array<WeightTable, 3> tables{kAgariWeights, kPaceWeights, kSohaWeights};
  for (std::size_t r = 0; r < items.size(); ++r) {
    scoring.CategorizeRunnerItems(items[r], run);
    for (std::size_t v = 0; v < 3; ++v) {
      ScoreTotals totals{};
      scoring.SumWeights(tables[v], totals, run);
      EXPECT_EQ(totals[KindIndex(CourseKind::kTurf)],
                PredictedSpeed(c, fitted[v], &d.categories[r * kFactorItemCount]));
    }
  }
}

}  // namespace
}  // namespace meridax
