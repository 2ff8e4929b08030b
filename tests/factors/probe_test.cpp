#include <gtest/gtest.h>

#include <sstream>

#include "datasetup/factors/probe.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "tests/factors/category_fixtures.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

namespace ex = extended_run;
namespace fi = factor_item;

ItemRoutine StandIn(int item) {
  return testing::StandInRoutines()[static_cast<std::size_t>(2 + item)].routine;
}

ProbeRegistry Registry() {
  static const ProbeRoutine kTable[] = {
      {"Thirty", StandIn(30), fi::Item(30)},
      {"TwentyNine", StandIn(29), fi::Item(29)},
      {"FailsIntoThirty", StandIn(5), fi::Item(30)},  // fails on horse number 99
      {"TwentyNineShown", StandIn(29), std::nullopt},
      {"Katakana", [](ItemContext&) { return std::string("\x83\x41 "); }, std::nullopt},
  };
  ProbeRegistry registry;
  registry.Add(kTable);
  return registry;
}

struct Probed {
  int status;
  std::string out;
  std::string err;
};

Probed Probe(std::vector<std::string> args) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = RunProbe(Registry(), args, out, err);
  return {status, out.str(), err.str()};
}

TEST(Probe, PrintsEachCodeQuotedAndStoresWhatTheStepWouldStore) {
  testing::TempDrive drive;
  testing::WriteRuns("2016100001", {testing::AcceptedTurfRun(),
                                    testing::AcceptedTurfRun({{ex::HorseNumber, "99"}})});
  const Probed p = Probe({"2016100001", "2", "Thirty", "TwentyNine", "FailsIntoThirty",
                          "TwentyNineShown", "Katakana"});
  EXPECT_EQ(p.status, 0) << p.err;
  // Item 29 reads item 30 as stored (padded to its field); the failure blanks it again.
  EXPECT_EQ(p.out,
            "Thirty\t\"h99\"\n"
            "TwentyNine\t\"ph99 \"\n"
            "FailsIntoThirty\tabandoned\n"
            "TwentyNineShown\t\"p    \"\n"
            "Katakana\t\"ア \"\n");
  // The window loaded: its missing tables are reported, not fatal.
  EXPECT_NE(p.err.find("KETTONUM20190101.dat"), std::string::npos);
}

TEST(Probe, RefusesUnknownRoutinesAndBadArgumentsBeforeRunningAnything) {
  testing::TempDrive drive;
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"2016100001", "1", "Thirty", "Factor99"},
           {"2016100001", "x", "Thirty"},
           {"2016100001", "1"},
       }) {
    const Probed p = Probe(args);
    EXPECT_EQ(p.status, 2) << args[1];
    EXPECT_EQ(p.out, "");
  }
  // Nothing ran: the run file the probe would open was not created.
  EXPECT_FALSE(FileExists(DataPath("UMAGOTOEXSETUP\\2016100001EX.dat")));
  EXPECT_EQ(Probe({"..\\x", "1", "Thirty"}).status, 2);
}

TEST(Probe, AHorseWithoutARunFileIsReportedAndNothingIsWritten) {
  testing::TempDrive drive;
  const auto before = testing::FolderBytes(drive.root());
  const Probed p = Probe({"2016100001", "1", "Thirty"});
  EXPECT_EQ(p.status, 1);
  EXPECT_EQ(p.out, "");
  EXPECT_NE(p.err.find("この馬の拡張レースファイルがありません " +
                       DataPath("UMAGOTOEXSETUP\\2016100001EX.dat").string()),
            std::string::npos)
      << p.err;
  EXPECT_EQ(testing::FolderBytes(drive.root()), before);
}

}  // namespace
}  // namespace meridax
