#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
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
void WriteCategorisation(CourseKind kind, const std::vector<CategorisedRun>& runs) {
  std::array<std::vector<std::string>, kFactorItemCount + 1> codes;
  std::array<std::vector<int>, kFactorItemCount + 1> counts;
  std::vector<std::array<int, kFactorItemCount + 1>> numbers(runs.size());
  for (int k = 1; k <= kFactorItemCount; ++k) {
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

TEST(WeightTablesTest, AdditiveSpeedsAreReproducedBySummedWeights) {
  TempDrive drive;
  const std::vector<CategorisedRun> runs = AdditiveRuns(50);
  WriteCategorisation(CourseKind::kTurf, runs);
  std::ostringstream out, err;
  ASSERT_EQ(RunWeights(CourseKind::kTurf, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("Siba Agari: runs used 600, R² 1.0000, RMSE 0.0"), std::string::npos)
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
    EXPECT_NEAR(residuals[j], kWeightRidge * (fit.weights[j] - mean / kFactorItemCount), 1e-4);
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
  EXPECT_EQ(agari.rSquared, alone.rSquared);
  const WeightFit pace =
      FitWeights(c, ReadRegressionData(CourseKind::kDirt, SpeedFigureKind::kPace, c));
  EXPECT_EQ(pace.runsUsed, 25);
  EXPECT_NE(pace.weights, alone.weights);
}

TEST(WeightTablesTest, AnEmptyCategorisationGivesEmptyTables) {
  TempDrive drive;
  WriteCategorisation(CourseKind::kJump, {});
  std::ostringstream out, err;
  ASSERT_EQ(RunWeights(CourseKind::kJump, out, err), 0) << err.str();
  EXPECT_NE(out.str().find("Shog Soha: runs used 0, R² -, RMSE -"), std::string::npos) << out.str();
  const CategoryTableFiles files = CategoryTableFilesOf(CourseKind::kJump);
  EXPECT_EQ(Items(files.totals), std::vector<std::string>(kFactorItemCount, "0"));
  EXPECT_EQ(ReadFile(DataPath(files.agariWeights)), "");
  EXPECT_EQ(ReadFile(DataPath(files.categories)), "");
}

// A refused or failed run writes nothing: the tables of the run before stay.
TEST(WeightTablesTest, RefusedInputsLeaveTheEarlierTables) {
  struct Case {
    const char* what;
    std::function<void()> spoil;
    const char* message;
  };
  const CourseKind kind = CourseKind::kTurf;
  const auto agari = [&] {
    return DataPath(RegressionDataFileName(kind, SpeedFigureKind::kAgari));
  };
  const auto soha = [&] { return DataPath(RegressionDataFileName(kind, SpeedFigureKind::kSoha)); };
  const std::vector<Case> cases = {
      {"missing totals", [&] { std::filesystem::remove(DataPath(RegressionTotalsFileName(kind))); },
       "QA1SibaTotalData201901N2025.dat is missing: run the categorisation of Siba first"},
      {"missing data file", [&] { std::filesystem::remove(soha()); },
       "QA1SibaSohaData201901N2025.dat is missing"},
      {"missing counts",
       [&] { std::filesystem::remove(DataPath(ItemCategoryCountFileName(kind))); },
       "SibaItemCategoryCount201901N2025.dat is missing"},
      {"data of another categorisation",
       [&] {
         const std::string text = ReadFile(agari());
         WriteFile(agari(), "3,30\r\n" + text.substr(text.find("\r\n") + 2));
       },
       "QA1SibaAgariData201901N2025.dat: its leading lines differ"},
      {"category out of range",
       [&] {
         std::string text = ReadFile(soha());
         text.replace(text.rfind(",2,"), 3, ",9,");
         WriteFile(soha(), text);
       },
       "has category 9 of item 29, which has 2"},
      {"a line short",
       [&] {
         std::string text = ReadFile(agari());
         WriteFile(agari(), text.substr(0, text.rfind("\r\n", text.size() - 3) + 2));
       },
       "QA1SibaAgariData201901N2025.dat: ends before a speed"},
      {"speed not a number",
       [&] {
         std::string text = ReadFile(agari());
         text.replace(text.find("\r\n60,") + 2, 2, "6x");
         WriteFile(agari(), text);
       },
       "item 33 (a speed) is not a number: 6x"},
      {"a huge total",
       [&] {
         const auto path = DataPath(RegressionTotalsFileName(kind));
         std::string text = ReadFile(path);
         const std::size_t line2 = text.find("\r\n") + 2;
         WriteFile(path, text.replace(line2, text.find("\r\n", line2) - line2, "2000000000"));
       },
       "SibaItemCategory201901N2025.dat: ends before the categories"},
      {"a huge record count in every head",
       [&] {
         for (const auto& path :
              {DataPath(RegressionTotalsFileName(kind)), agari(),
               DataPath(RegressionDataFileName(kind, SpeedFigureKind::kPace)), soha()}) {
           const std::string text = ReadFile(path);
           WriteFile(path, "2147483647,30" + text.substr(text.find("\r\n")));
         }
       },
       "QA1SibaAgariData201901N2025.dat: ends before a speed"},
      {"a category too many",
       [&] {
         const auto path = DataPath(ItemCategoryFileName(kind));
         WriteFile(path, ReadFile(path) + "\"Z\"\r\n");
       },
       "SibaItemCategory201901N2025.dat: has more items than its totals say"},
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

TEST(WeightTablesTest, AMissingDataFolderIsRefused) {
  TempDrive drive(/*withDataFolders=*/false);
  std::ostringstream out, err;
  EXPECT_EQ(RunWeights(CourseKind::kDirt, out, err), 1);
  EXPECT_NE(err.str().find("C:\\MERIDAXPROJECT\\ is missing"), std::string::npos) << err.str();
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

// The tool writes only under OPTION1N, and its journal into the data folder: an unfinished
// journal of an ended process goes there with the next run.
TEST(WeightTablesTest, AJournalThatAnEndedRunLeftUnfinishedGoesWithTheNextRun) {
  TempDrive drive;
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  const auto part = DataPath("COMMIT.stage" + std::to_string(ended) + "_1.part");
  WriteFile(part, "MERIDAX COMMIT JOURNAL 1\n");
  WriteCategorisation(CourseKind::kDirt, AdditiveRuns());
  std::ostringstream out, err;
  ASSERT_EQ(RunWeights(CourseKind::kDirt, out, err), 0) << err.str();
  EXPECT_FALSE(std::filesystem::exists(part));
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
