#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "datasetup/common/data_files.h"
#include "datasetup/factors/probe.h"
#include "platform/drive.h"
#include "tests/factors/category_fixtures.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

namespace ex = extended_run;

// The live routines by name, as meridax-run knows them.
std::map<std::string, std::string> Probe(std::vector<std::string> args) {
  static const std::vector<ProbeRoutine> live = LiveProbeRoutines();
  ProbeRegistry registry;
  registry.Add(live);
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunProbe(registry, args, out, err), 0) << err.str();
  // NAME, a tab and the code in quotes, or "abandoned".
  std::map<std::string, std::string> codes;
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) {
    const auto tab = line.find('\t');
    std::string code = line.substr(tab + 1);
    if (code.size() >= 2 && code.front() == '"') code = code.substr(1, code.size() - 2);
    codes[line.substr(0, tab)] = code;
  }
  return codes;
}

std::vector<std::string> ItemNames(int last) {
  std::vector<std::string> names;
  for (int k = 1; k <= last; ++k) names.push_back("Factor" + FixedDigits(k, 2));
  return names;
}

TEST(Factor29Probe, ScoresTheItemsStoredBeforeItOnTheWindowsTurfTables) {
  testing::TempDrive drive;
  // Run 1, the previous valid run, ran its last three furlongs at 62 km/h ("6260869").
  testing::WriteRuns("2016100001", {testing::AcceptedTurfRun({{ex::AbnormalityCode, "0"}}),
                                    testing::AcceptedTurfRun({{ex::RaceMonthDay, "0207"}})});
  std::vector<std::string> args = {"2016100001", "2"};
  for (const auto& name : ItemNames(28)) args.push_back(name);
  const auto first = Probe(args);
  ASSERT_EQ(first.size(), 28u);

  // Turf tables with one category per item: the code item k has in this run's record
  // (padded to its field; blank for a failed item and for items 29 and 30, which the
  // window's first record has blank). Summed in single precision the weights give 57.0.
  std::string record = BlankFactorItemRecord();
  std::string totals, categories, weights, zeros;
  for (int k = 1; k <= kFactorItemCount; ++k) {
    std::string code;
    if (k <= 28) {
      const std::string& probed = first.at("Factor" + FixedDigits(k, 2));
      if (probed != "abandoned") code = probed;
    }
    records::Put(record, factor_item::Item(k), code);
    totals += "1\r\n";
    categories += "\"" + std::string(records::View(record, factor_item::Item(k))) + "\"\r\n";
    weights += k == 30 ? "48.3\r\n" : "0.3\r\n";
    zeros += "0\r\n";
  }
  const CategoryTableFiles files = CategoryTableFilesOf(CourseKind::kTurf);
  testing::WriteFile(DataPath(files.totals), totals);
  testing::WriteFile(DataPath(files.categories), categories);
  testing::WriteFile(DataPath(files.agariWeights), weights);
  testing::WriteFile(DataPath(files.paceWeights), zeros);
  testing::WriteFile(DataPath(files.sohaWeights), zeros);
  testing::WriteFile(DataPath(files.counts), totals);

  // 62 - 57 + 10; a double accumulator would fall just below 57 and leave the range.
  args.push_back("Factor29");
  EXPECT_EQ(Probe(args).at("Factor29"), "15");
  // Alone, item 29 finds only the blank items 29 and 30 of the record: 62 - 48 + 10 is 24.
  EXPECT_EQ(Probe({"2016100001", "2", "Factor29"}).at("Factor29"), "10");
  // A first run.
  EXPECT_EQ(Probe({"2016100001", "1", "Factor29"}).at("Factor29"), "10");
}

TEST(Factor29Probe, APreviousRunWithoutALast3FurlongTimeAbandons) {
  testing::TempDrive drive;
  testing::WriteRuns("2016100001", {testing::AcceptedTurfRun({{ex::Last3FurlongTime, "   "}}),
                                    testing::AcceptedTurfRun()});
  EXPECT_EQ(Probe({"2016100001", "2", "Factor29"}).at("Factor29"), "abandoned");
}

}  // namespace
}  // namespace meridax
