#include <gtest/gtest.h>

#include <random>

#include "datasetup/factors/category_courses.h"
#include "datasetup/factors/category_steps.h"
#include "datasetup/factors/runner_scoring.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/text_file.h"
#include "tests/factors/category_fixtures.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

namespace ex = extended_run;
namespace fi = factor_item;
using records::View;
using testing::AcceptedTurfRun;
using testing::ReadRecords;
using testing::StandInRoutines;
using testing::WriteRuns;

std::vector<std::string> ItemRecords(CourseKind kind) {
  return ReadRecords(DataPath(FactorItemFileName(kind)), kFactorItemLength);
}

struct FilterCase {
  const char* name;
  CourseKind kind;
  records::FieldRef field;
  const char* text;
  bool accepted;
};

constexpr records::FieldRef kRaceDate = records::Span(ex::RaceYear, ex::RaceMonthDay);

TEST(FactorItemStep, FiltersAtTheirBoundaries) {
  const auto track = [](CourseKind kind) {
    return kind == CourseKind::kTurf ? "10" : kind == CourseKind::kDirt ? "24" : "52";
  };
  const FilterCase cases[] = {
      {"December 2014", CourseKind::kTurf, kRaceDate, "20141231", false},
      {"January 2015", CourseKind::kTurf, kRaceDate, "20150101", true},
      {"5.9 s behind", CourseKind::kTurf, ex::TimeBehindWinner, "+059", true},
      {"6.0 s behind", CourseKind::kTurf, ex::TimeBehindWinner, "+060", false},
      {"winner 1.2 s ahead", CourseKind::kTurf, ex::TimeBehindWinner, "-012", true},
      {"no time behind", CourseKind::kTurf, ex::TimeBehindWinner, "    ", true},
      {"dirt 6.9 s", CourseKind::kDirt, ex::TimeBehindWinner, "+069", true},
      {"dirt 7.0 s", CourseKind::kDirt, ex::TimeBehindWinner, "+070", false},
      {"jump 9.9 s", CourseKind::kJump, ex::TimeBehindWinner, "+099", true},
      {"jump 10.0 s", CourseKind::kJump, ex::TimeBehindWinner, "+100", false},
      {"racecourse 10", CourseKind::kTurf, ex::RacecourseCode, "10", true},
      {"racecourse 11", CourseKind::kTurf, ex::RacecourseCode, "11", false},
      {"racecourse 00", CourseKind::kTurf, ex::RacecourseCode, "00", false},
      {"turf 22", CourseKind::kTurf, ex::TrackCode, "22", true},
      {"track 23 on turf", CourseKind::kTurf, ex::TrackCode, "23", false},
      {"dirt 29", CourseKind::kDirt, ex::TrackCode, "29", true},
      {"jump 59", CourseKind::kJump, ex::TrackCode, "59", true},
      {"jump 60", CourseKind::kJump, ex::TrackCode, "60", false},
      {"track no number", CourseKind::kTurf, ex::TrackCode, "1A", false},
      {"no race time", CourseKind::kTurf, ex::FinishTime, "0000", false},
      {"Soha fails", CourseKind::kTurf, ex::FinishTime, "    ", false},
      {"year no number", CourseKind::kTurf, ex::RaceYear, "20X5", false},
  };
  CategorySteps window;  // one window: only the count of records written is looked at
  for (const FilterCase& c : cases) {
    testing::TempDrive drive;
    std::string run = AcceptedTurfRun({{ex::TrackCode, track(c.kind)}, {c.field, c.text}});
    // The run under test follows one that is accepted, so nothing of it can carry over.
    const std::string first = AcceptedTurfRun({{ex::TrackCode, track(c.kind)}});
    WriteRuns("2016100001", {first, run});
    testing::WriteIdList(DataPath(HorseListFileName(c.kind, "201901")), {"2016100001"});
    RecordingHost host;
    ASSERT_EQ(testing::RunFactorStep(window, host, c.kind, StandInRoutines()), StepResult::kOk)
        << c.name;
    EXPECT_EQ(ItemRecords(c.kind).size(), c.accepted ? 2u : 1u) << c.name;
    EXPECT_EQ(host.Status(), CourseOf(c.kind).factorEndText);
  }
}

TEST(FactorItemStep, ARunWhoseRaceWasNotFoundIsRejected) {
  testing::TempDrive drive;
  // The race fields are blank: no distance, no track code; the runner's own fields remain.
  const std::string lost = AcceptedTurfRun({{ex::Distance, "    "}, {ex::TrackCode, "  "}});
  WriteRuns("2016100001", {AcceptedTurfRun(), lost});
  testing::WriteIdList(DataPath("SIBA201901N.dat"), {"2016100001"});
  CategorySteps window;
  RecordingHost host;
  testing::RunFactorStep(window, host, CourseKind::kTurf, StandInRoutines());
  EXPECT_EQ(ItemRecords(CourseKind::kTurf).size(), 1u);
}

TEST(FactorItemStep, AFailedRoutineLeavesItsFieldBlankAndTheRecordCarriesItsLastItemsOver) {
  testing::TempDrive drive;
  testing::WriteIdList(DataPath("KETTONUM20190101.dat"), {"2016100007"});
  WriteRuns("2016100001", {AcceptedTurfRun({{ex::HorseNumber, "01"}}),
                           AcceptedTurfRun({{ex::HorseNumber, "99"}, {ex::Distance, "    "}})});
  WriteRuns("2016100002", {AcceptedTurfRun({{ex::HorseNumber, "02"}})});
  testing::WriteIdList(DataPath("SIBA201901N.dat"), {"2016100001", "2016100002"});
  CategorySteps window;
  RecordingHost host;
  window.Form_Load(host);
  ASSERT_EQ(testing::RunFactorStep(window, host, CourseKind::kTurf, StandInRoutines()),
            StepResult::kOk);
  EXPECT_EQ(host.Status(), "芝終わり");

  const auto records = ItemRecords(CourseKind::kTurf);
  ASSERT_EQ(records.size(), 3u);
  const auto item = [&](std::size_t r, int k) { return View(records[r], fi::Item(k)); };
  EXPECT_EQ(View(records[0], fi::PaceFigure), "31600  ");
  EXPECT_EQ(item(0, 5), "5:011");  // cut to five bytes
  EXPECT_EQ(View(records[1], fi::PaceFigure), "       ");
  EXPECT_EQ(item(1, 5), "     ");
  EXPECT_EQ(item(2, 5), "5:011");
  // Item 29 sees item 30 as the previous record left it; a new window's record is blanks.
  EXPECT_EQ(item(0, 29), "p     ");
  EXPECT_EQ(item(1, 29), "ph01  ");
  EXPECT_EQ(item(2, 29), "ph99  ");
  EXPECT_EQ(item(2, 30), "h02 ");
  for (const auto& r : records) EXPECT_EQ(r.substr(197), "\r\n");
  EXPECT_EQ(window.state().CurrentItemRecord, records[2]);
  EXPECT_EQ(window.state().ItemRecordCount, 3);
  // The list read is the step's own: the window keeps the ids it loaded.
  EXPECT_EQ(window.state().HorseListCount, 2);
  EXPECT_EQ(window.state().HorseIdCount, 1);
  EXPECT_EQ(window.state().HorseIdTable[1], "2016100007");
}

TEST(FactorItemStep, AStepThatFailsLeavesTheEarlierItemFile) {
  testing::TempDrive drive;
  testing::WriteFile(DataPath(FactorItemFileName(CourseKind::kDirt)), "old");
  std::filesystem::remove(drive.data() / "UMAGOTOEXSETUP");
  CategorySteps window;
  RecordingHost host;
  EXPECT_EQ(testing::Press(window, "Command3", host), StepResult::kFailed);
  EXPECT_EQ(host.Status().rfind("ダ因子設定 エラー: ", 0), 0u) << host.Status();
  EXPECT_EQ(window.text1, host.Status());
  EXPECT_EQ(testing::ReadFile(DataPath(FactorItemFileName(CourseKind::kDirt))), "old");
}

TEST(FactorItemStep, ListedIdsThatNameNoFileAreSkippedAndCountedOnce) {
  for (const char* button : {"Command2", "Command3", "Command4"}) {
    testing::TempDrive drive;
    CategorySteps window;
    const CourseKind kind = button == std::string_view("Command2")   ? CourseKind::kTurf
                            : button == std::string_view("Command3") ? CourseKind::kDirt
                                                                     : CourseKind::kJump;
    // 2016100001 has no runs: nothing reaches a routine.
    testing::WriteIdList(DataPath(HorseListFileName(kind, "201901")),
                         {"../x", "2016100001", "a\x01b", "../x"});
    RecordingHost host;
    ASSERT_EQ(testing::Press(window, button, host), StepResult::kOk) << host.Status();
    EXPECT_EQ(host.Status(), std::string(CourseOf(kind).factorEndText) +
                                 " (ファイル名にできないID 2件を飛ばしました)");
    EXPECT_EQ(window.state().HorseListCount, 4);
    EXPECT_TRUE(FileExists(DataPath("UMAGOTOEXSETUP\\2016100001EX.dat")));
    EXPECT_FALSE(std::filesystem::exists(drive.data() / "xEX.dat"));
    EXPECT_FALSE(std::filesystem::exists(drive.root() / "xEX.dat"));
  }
}

// The step's loop as the procedure states it, record by record through a random-access
// file, with the sound rules: a filter that cannot be evaluated rejects, a failed routine
// leaves a blank field.
std::vector<std::string> LiteralFactorStep(CourseKind kind, std::span<const LiveRoutine> routines,
                                           std::string& buffer) {
  std::vector<std::string> out;
  StatisticsCache stats;
  const CategoryTables tables{};
  RunnerScoring scoring(&tables);
  ItemReader list(DataPath(HorseListFileName(kind, "201901")));
  while (!list.AtEnd()) {
    const std::string id = list.Next();
    RunFile runs(*ExtendedRunFilePath(id));
    RecordFile file(*ExtendedRunFilePath(id), kExtendedRunLength);
    ItemContext c;
    c.runs = &runs;
    c.CurrentItemRecord = &buffer;
    c.stats = &stats;
    c.tables = &tables;
    c.scoring = &scoring;
    c.CurrentRunCount = static_cast<std::int32_t>(file.Count());
    for (c.CurrentRunNumber = 1; c.CurrentRunNumber <= c.CurrentRunCount; ++c.CurrentRunNumber) {
      const std::string run = file.Read(c.CurrentRunNumber);
      c.CurrentRun = run;
      bool pass1 = false;
      try {
        const std::string soha = routines[2].routine(c);
        const auto yyyymm = ToInt32(run.substr(11, 4) + run.substr(15, 2));
        pass1 = soha != "0000000" && yyyymm && *yyyymm >= 201501;
      } catch (const ItemAbandoned&) {
      }
      if (!pass1) continue;
      const int limit = kind == CourseKind::kTurf ? 60 : kind == CourseKind::kDirt ? 70 : 100;
      if (Val(run.substr(741, 3)) >= limit) continue;
      const std::string rc = run.substr(19, 2);
      bool pass3 = false;
      for (int r = 1; r <= 10; ++r) pass3 = pass3 || rc == FixedDigits(r, 2);
      if (!pass3) continue;
      const auto t = ToInt16(run.substr(775, 2));
      const int kindNumber = static_cast<int>(kind);
      const int low = kindNumber == 1 ? 0 : kindNumber == 2 ? 23 : 51;
      const int high = kindNumber == 1 ? 22 : kindNumber == 2 ? 29 : 59;
      if (!t || *t < low || *t > high) continue;
      for (std::size_t i = 0; i < routines.size(); ++i) {
        std::string code;
        try {
          code = routines[i].routine(c);
        } catch (const ItemAbandoned&) {
        }
        records::Put(buffer, StoredField(routines, i), code);
      }
      buffer.replace(197, 2, "\r\n");
      out.push_back(buffer);
    }
  }
  return out;
}

TEST(FactorItemStep, MatchesTheLiteralLoopOnAGeneratedWorld) {
  testing::TempDrive drive;
  std::mt19937 random(20190101);
  const auto pick = [&](std::initializer_list<const char*> values) {
    std::uniform_int_distribution<std::size_t> d(0, values.size() - 1);
    return std::string(values.begin()[d(random)]);
  };
  std::vector<std::string> ids;
  for (int h = 1; h <= 150; ++h) {
    const std::string id = "2016" + FixedDigits(h, 6);
    ids.push_back(id);
    std::vector<std::string> runs;
    const int count = std::uniform_int_distribution<int>(0, 12)(random);
    for (int j = 0; j < count; ++j) {
      runs.push_back(testing::ExRun(
          {{ex::RaceYear, pick({"2014", "2015", "2019", "2019", "2019", "    "})},
           {ex::RaceMonthDay, pick({"0101", "1231", "0615"})},
           {ex::RacecourseCode, pick({"01", "05", "10", "05", "05", "11", "00", "  "})},
           {ex::HorseId, id},
           {ex::HorseNumber, pick({"01", "02", "99"})},
           {ex::FinishTime, pick({"1345", "1345", "2010", "2010", "0000", "    "})},
           {ex::Last3FurlongTime, pick({"345", "000", "   "})},
           {ex::TimeBehindWinner, pick({"+059", "+060", "+069", "+070", "+099", "-012", "    "})},
           {ex::Distance, pick({"1600", "    ", "3000"})},
           {ex::TrackCode,
            pick({"10", "10", "22", "23", "24", "29", "51", "52", "59", "60", "  ", "1A"})}}));
    }
    if (h % 17 != 0) WriteRuns(id, runs);  // some horses have no run file at all
  }
  for (const CourseKind kind : kCourseKinds) {
    testing::WriteIdList(DataPath(HorseListFileName(kind, "201901")), ids);
  }
  // The stand-ins make every filter and field visible; the live routines run the same
  // loop over what the item steps really compute.
  for (const auto routines : {StandInRoutines(), LiveRoutines()}) {
    CategorySteps window;
    RecordingHost host;
    std::string literalBuffer = BlankFactorItemRecord();
    for (const CourseKind kind : kCourseKinds) {
      ASSERT_EQ(testing::RunFactorStep(window, host, kind, routines), StepResult::kOk)
          << host.Status();
      const auto expected = LiteralFactorStep(kind, routines, literalBuffer);
      EXPECT_GT(expected.size(), 10u) << static_cast<int>(kind);
      EXPECT_EQ(ItemRecords(kind), expected) << static_cast<int>(kind);
    }
  }
}

}  // namespace
}  // namespace meridax
