#include <gtest/gtest.h>

#include <string>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/runhistory/run_history_steps.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "tests/runhistory/run_history_fixtures.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"

namespace meridax {
namespace {

using namespace testing;
namespace x = extended_run;
constexpr std::size_t kLength = kExtendedRunLength;

// A run that every filter accepts, with one field changed.
std::string SampleRun(records::FieldRef changed = {}, std::string_view text = {}) {
  std::string r = MakeRecord(kLength, {{x::RaceYear, "2005"},
                                       {x::BirthDate, "20020401"},
                                       {x::RacecourseCode, "06"},
                                       {x::TrackCode, "17"},
                                       {x::Distance, "1600"},
                                       {x::FinishTime, "1342"},
                                       {x::YoungestAgeCondition, "005"},
                                       {x::WeatherCode, "1"},
                                       {x::TurfGoingCode, "1"},
                                       {x::DirtGoingCode, "0"}});
  if (changed.width > 0) records::Put(r, changed, text);
  return r;
}

std::string Line(const std::string& run, std::string_view age) {
  std::string line;
  for (const auto f : {x::RaceYear}) line += "\"" + std::string(records::View(run, f)) + "\",";
  line += "\"" + std::string(age) + "\"";
  for (const auto f :
       {x::RacecourseCode, x::TrackCode, x::Distance, x::FinishTime, x::YoungestAgeCondition,
        x::WeatherCode, x::TurfGoingCode, x::DirtGoingCode}) {
    line += ",\"" + std::string(records::View(run, f)) + "\"";
  }
  return line + "\r\n";
}

class ExportTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDriveRoot(drive_.root()); }
  void TearDown() override { SetDriveRoot({}); }
  std::filesystem::path data() const { return drive_.data(); }
  std::string Samples() const { return ReadFile(data() / "KIJUNTIME.dat"); }

  TempDrive drive_;
  RecordingHost host_;
  RunHistorySteps window_;
};

TEST_F(ExportTest, FilterBoundaries) {
  struct Case {
    records::FieldRef field;
    std::string_view text;
    std::string_view age;  // empty: rejected
  };
  const Case cases[] = {
      {x::YoungestAgeCondition, "005", "3"},
      {x::YoungestAgeCondition, "100", "3"},
      {x::YoungestAgeCondition, "004", ""},
      {x::YoungestAgeCondition, "101", ""},
      {x::YoungestAgeCondition, "   ", ""},
      {x::Distance, "1200", "3"},
      {x::Distance, "1700", "3"},
      {x::Distance, "1800", "3"},
      {x::Distance, "2000", "3"},
      {x::Distance, "1400", ""},
      {x::Distance, "2200", ""},
      {x::Distance, "1000", ""},
      {x::RacecourseCode, "01", "3"},
      {x::RacecourseCode, "10", "3"},
      {x::RacecourseCode, "00", ""},
      {x::RacecourseCode, "11", ""},
      {x::RaceYear, "2001", ""},
      {x::RaceYear, "2000", ""},
      {x::RaceYear, "2009", ""},
      {x::BirthYear, "2003", ""},
      {x::BirthYear, "2001", "4"},
      {x::BirthYear, "2000", ""},
      {x::BirthDate, "20021231", "3"},  // only the years count
      {x::BirthDate, "        ", ""},   // a horse missing from the horse table
      {x::BirthYear, "20X2", ""},
  };
  std::vector<std::string> runs;
  std::string expected;
  for (const Case& c : cases) {
    runs.push_back(SampleRun(c.field, c.text));
    if (!c.age.empty()) expected += Line(runs.back(), c.age);
  }
  // The year bounds with ages that pass.
  runs.push_back(SampleRun(x::RaceYear, "2001"));
  records::Put(runs.back(), x::BirthYear, "1998");
  expected += Line(runs.back(), "3");
  runs.push_back(SampleRun(x::RaceYear, "2008"));
  records::Put(runs.back(), x::BirthYear, "2004");
  expected += Line(runs.back(), "4");
  WriteRecords(ExtendedFileOf(data(), "2002100001"), runs);
  WriteRecords(ExtendedFileOf(data(), "2002100002"), {SampleRun(x::Distance, "1000")});
  WriteIdList(data() / "KETTONUM20180101Q.dat", {"2002100001", "2002100002", "2002100003"});

  ASSERT_EQ(Click(kRunHistoryWindow, window_, "Command2", host_), StepResult::kOk);
  EXPECT_EQ(window_.text1, "終わり");
  EXPECT_EQ(Samples(), expected);
  EXPECT_EQ(window_.list.Items(),
            (std::vector<std::string>{"2002100001EX.dat", "2002100002EX.dat", "2002100003EX.dat"}));
  // A horse without an extended run file gets an empty one.
  EXPECT_TRUE(FileExists(ExtendedFileOf(data(), "2002100003")));
  EXPECT_EQ(Line(SampleRun(), "3"),
            "\"2005\",\"3\",\"06\",\"17\",\"1600\",\"1342\",\"005\",\"1\",\"1\",\"0\"\r\n");
}

TEST_F(ExportTest, TwoClicksListTwiceAndWriteTheSamplesOnce) {
  // A trailing partial record is not read.
  WriteFile(ExtendedFileOf(data(), "2002100001"), SampleRun() + SampleRun().substr(0, 700));
  WriteIdList(data() / "KETTONUM20180101Q.dat", {"2002100001", "..\\x"});
  ASSERT_EQ(Click(kRunHistoryWindow, window_, "Command2", host_), StepResult::kOk);
  ASSERT_EQ(Click(kRunHistoryWindow, window_, "Command2", host_), StepResult::kOk);
  EXPECT_EQ(Samples(), Line(SampleRun(), "3"));
  EXPECT_EQ(window_.list.Items(),
            (std::vector<std::string>{"2002100001EX.dat", "2002100001EX.dat"}));
  EXPECT_EQ(window_.text1, "終わり (ファイル名にできないID 1件を飛ばしました)");
}

TEST_F(ExportTest, EmptyAndMissingLists) {
  WriteFile(data() / "KIJUNTIME.dat", "earlier");
  ASSERT_EQ(Click(kRunHistoryWindow, window_, "Command2", host_), StepResult::kFailed);
  EXPECT_EQ(window_.text1, "表示 エラー: ファイルがありません " +
                               (data() / "KETTONUM20180101Q.dat").string() +
                               " (C:\\MERIDAXPROJECT\\KETTONUM20180101Q.dat)");
  EXPECT_EQ(Samples(), "earlier");
  // One that stands but cannot be read is no missing list.
  std::filesystem::create_symlink("KETTONUM20180101Q.dat", data() / "KETTONUM20180101Q.dat");
  ASSERT_EQ(Click(kRunHistoryWindow, window_, "Command2", host_), StepResult::kFailed);
  EXPECT_EQ(window_.text1,
            "表示 エラー: ファイルを読めません " + (data() / "KETTONUM20180101Q.dat").string() +
                " (C:\\MERIDAXPROJECT\\KETTONUM20180101Q.dat): シンボリックリンクが循環しています");
  EXPECT_EQ(Samples(), "earlier");
  std::filesystem::remove(data() / "KETTONUM20180101Q.dat");
  WriteFile(data() / "KETTONUM20180101Q.dat", "");
  ASSERT_EQ(Click(kRunHistoryWindow, window_, "Command2", host_), StepResult::kOk);
  EXPECT_EQ(Samples(), "");
  EXPECT_EQ(window_.list.Count(), 0u);
  EXPECT_EQ(window_.text1, "終わり");
}

}  // namespace
}  // namespace meridax
