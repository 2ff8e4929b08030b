// The run-history window through the headless runner: "表示", a list click by entry, and
// the grid it leaves written out with --grids.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/register_windows.h"
#include "tests/runhistory/run_history_fixtures.h"
#include "tests/support/temp_drive.h"
#include "tools/meridax-run/run_tool.h"

namespace meridax {
namespace {

using namespace testing;
namespace x = extended_run;

TEST(RunHistoryHeadlessTest, ListClickAndGrids) {
  TempDrive drive;
  WriteRecords(ExtendedFileOf(drive.data(), "2002100001"),
               {MakeRecord(kExtendedRunLength, {{x::RaceYear, "2001"}, {x::ArrivalOrder, "01"}}),
                MakeRecord(kExtendedRunLength, {{x::RaceYear, "2002"}, {x::ArrivalOrder, "02"}})});
  WriteIdList(drive.data() / "KETTONUM20180101Q.dat", {"2002100001"});
  WindowRegistry windows;
  RegisterDatasetupWindows(windows);
  const std::string window = "FormMERIDAXEXPDSETUP2025ZZ.";
  const std::string grids = (drive.root() / "grids").string();
  std::filesystem::create_directories(grids);
  std::ostringstream out, err;
  // An entry is there only once "表示" has listed it.
  EXPECT_EQ(
      RunTool(windows, {"--drive", drive.root().string(), window + "List1_Click=2002100001EX.dat"},
              out, err),
      2);
  ASSERT_EQ(RunTool(windows,
                    {"--drive", drive.root().string(), "--grids", grids, window + "Command2_Click",
                     window + "List1_Click=2002100001EX.dat"},
                    out, err),
            0)
      << err.str();
  const std::string tsv = ReadFile(drive.root() / "grids" / "FormMERIDAXEXPDSETUP2025ZZ.tsv");
  std::vector<std::string> lines;
  std::istringstream in(tsv);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 129u);
  EXPECT_EQ(lines[0], "\t前 1走\t前 2走");
  EXPECT_EQ(lines[4], "レース年月日\t2002    \t2001    ");
  EXPECT_EQ(lines[47], "入線順位\t02     \t01     ");
  EXPECT_EQ(lines[128], "取引価格（円）\t          \t          ");
}

}  // namespace
}  // namespace meridax
