#include <gtest/gtest.h>

#include <string>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/runhistory/run_history_grid.h"
#include "datasetup/runhistory/run_history_steps.h"
#include "platform/cp932.h"
#include "platform/drive.h"
#include "tests/runhistory/run_history_fixtures.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"

namespace meridax {
namespace {

using namespace testing;
namespace x = extended_run;
constexpr std::size_t kLength = kExtendedRunLength;

std::string Record(int n) {
  const std::string digit = std::to_string(n);
  return MakeRecord(kLength, {{x::RaceYear, "200" + digit},
                              {x::HorseName, Utf8ToCp932("テスト") + digit},
                              {x::ArrivalOrder, "0" + digit},
                              {x::TimeBehindWinner, "-00" + digit},
                              {x::Reserved2, "R"},
                              {x::WeekdayCode, digit},
                              {x::FurlongLeaderTimes.At(1), "123"},
                              {x::FurlongLeaderTimes.At(2), "115"},
                              {x::FurlongLeaderTimes.At(3), "120"},
                              {x::FurlongLeaderTimes.At(4), "118"},
                              {x::FurlongLeaderTimes.At(5), "999"},
                              {x::AncestorBlocks_BreedingNumber.In(4), "FOUR"},
                              {x::AncestorBlocks_BreedingNumber.In(6), "SIX"},
                              {x::First4FurlongLapTime, "F4 "},
                              {x::First3FurlongLapTime, "F3 "}});
}

class GridTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDriveRoot(drive_.root()); }
  void TearDown() override { SetDriveRoot({}); }

  // Lists the horses with "表示" and clicks the entry of `id`.
  void ClickEntry(std::string_view id) {
    if (window_.list.Count() == 0) {
      WriteIdList(drive_.data() / "KETTONUM20180101Q.dat", ids_);
      ASSERT_EQ(testing::Click(kRunHistoryWindow, window_, "Command2", host_), StepResult::kOk);
    }
    ASSERT_TRUE(window_.list.Select(std::string(id) + "EX.dat"));
    ASSERT_EQ(testing::Click(kRunHistoryWindow, window_, "List1", host_), StepResult::kOk);
  }
  const std::string& Cell(int row, int col) const { return window_.grid.TextMatrix(row, col); }

  TempDrive drive_;
  RecordingHost host_;
  RunHistorySteps window_;
  std::vector<std::string> ids_ = {"2002100005", "2002100000", "2002100010", "2002100002"};
};

TEST_F(GridTest, FiveRunsLastRunFirst) {
  std::vector<std::string> runs;
  for (int n = 1; n <= 5; ++n) runs.push_back(Record(n));
  WriteRecords(ExtendedFileOf(drive_.data(), "2002100005"), runs);
  ClickEntry("2002100005");
  const TextGrid& g = window_.grid;
  ASSERT_EQ(g.Cols(), 6);
  EXPECT_EQ(g.Rows(), 129);
  for (int c = 1; c <= 5; ++c) {
    const std::string n = std::to_string(6 - c);  // column c shows record 6 - c
    EXPECT_EQ(Cell(0, c), "前 " + std::to_string(c) + "走");
    EXPECT_EQ(Cell(4, c), "200" + n + "    ");
    EXPECT_EQ(Cell(7, c), "テスト" + n + std::string(29, ' '));
    EXPECT_EQ(Cell(32, c), "R " + n);
    EXPECT_EQ(Cell(47, c), "0" + n + " -00" + n);
    EXPECT_EQ(Cell(111, c), "123-115-120-118-");
    EXPECT_EQ(Cell(18, c), "FOUR      SIX       ");
    EXPECT_EQ(Cell(113, c), "F4 ");
    EXPECT_EQ(Cell(114, c), "F3 ");
    EXPECT_EQ(g.ColWidth(c), 1500);
  }
  EXPECT_EQ(g.ColWidth(0), 2000);
  EXPECT_EQ(Cell(0, 0), "");
  EXPECT_EQ(Cell(1, 0), "レコードスペック");
  EXPECT_EQ(Cell(47, 0), "入線順位");
  for (const int r : {32, 63, 64}) EXPECT_EQ(Cell(r, 0), "予備");
  EXPECT_EQ(Cell(88, 0), "同着本賞金5着");
  EXPECT_EQ(Cell(89, 0), "同着本賞金5着");
  EXPECT_EQ(Cell(99, 0), "同着付加賞金3着");
  EXPECT_EQ(Cell(128, 0), "取引価格（円）");
  EXPECT_EQ(window_.text1, "終わり");  // the click reports nothing
}

TEST_F(GridTest, EmptyPartialAndLongFiles) {
  std::vector<std::string> ten;
  for (int n = 1; n <= 10; ++n) ten.push_back(Record(n % 10));
  WriteRecords(ExtendedFileOf(drive_.data(), "2002100010"), ten);
  WriteFile(ExtendedFileOf(drive_.data(), "2002100002"),
            Record(1) + Record(2) + Record(3).substr(0, 900));
  ClickEntry("2002100010");
  EXPECT_EQ(window_.grid.Cols(), 11);
  EXPECT_EQ(Cell(0, 10), "前 10走");
  // Only the whole records of a file whose length is not a whole number of records.
  ClickEntry("2002100002");
  ASSERT_EQ(window_.grid.Cols(), 3);
  EXPECT_EQ(Cell(4, 1), "2002    ");
  EXPECT_EQ(Cell(4, 2), "2001    ");
  // An empty file (made by "表示" for a horse without one): the labels alone.
  ClickEntry("2002100000");
  EXPECT_EQ(window_.grid.Cols(), 1);
  EXPECT_EQ(window_.grid.ColWidth(0), 2000);
  for (std::size_t r = 0; r < kRunHistoryGridRows.size(); ++r) {
    EXPECT_EQ(Cell(static_cast<int>(r + 1), 0), kRunHistoryGridRows[r].label);
  }
}

}  // namespace
}  // namespace meridax
