#include <gtest/gtest.h>

#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "records/horse_layouts.h"
#include "records/person_layouts.h"
#include "records/race_layouts.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

using testing::MakeRecord;
using testing::ReadFile;
using testing::TempDrive;
using testing::WriteFile;
using testing::WriteRecords;

std::string RaceRun(std::string_view horseId, std::string_view year) {
  return MakeRecord(555, {{records::se::RecordSpec, "SE"},
                          {records::se::RaceYear, year},
                          {records::se::HorseId, horseId}});
}

TEST(IdListsTest, RecentHorsesAreThoseWhoseLastRunIsFrom2000On) {
  TempDrive drive;
  const auto races = drive.data() / "UMAGOTOSETUP";
  WriteRecords(races / "2016100001.dat",
               {RaceRun("2016100001", "1998"), RaceRun("2016100001", "1999"),
                RaceRun("2016100001", "2000")});
  WriteRecords(races / "2016100002.dat",
               {RaceRun("2016100002", "2005"), RaceRun("2016100002", "1999")});
  WriteRecords(races / "2016100003.dat", {RaceRun("2016100003", "    ")});
  WriteFile(drive.data() / "KETTONUM20190101.dat",
            "\"2016100001\"\r\n\"2016100002\"\r\n\"2016100003\"\r\n\"2016100004\"\r\n"
            "\"2016/00005\"\r\n");
  WriteFile(drive.data() / "KETTONUM20190101Q.dat", "stale");
  MainWindowSteps steps;
  RecordingHost host;
  EXPECT_EQ(steps.BuildRecentHorseList(host), 1);  // the id with a separator
  EXPECT_EQ(ReadFile(drive.data() / "KETTONUM20190101Q.dat"), "\"2016100001\"\r\n");
  EXPECT_EQ(host.Status(), "");
  EXPECT_EQ(host.eventPumps(), 5);
  // A listed horse without a race file is left one, empty.
  EXPECT_TRUE(FileExists(races / "2016100004.dat"));
  EXPECT_EQ(FileLength(races / "2016100004.dat"), 0u);
}

TEST(IdListsTest, JockeyAndHorseListsLeaveOutOnlyDeregisteredHorsesWithoutRaces) {
  TempDrive drive;
  const auto horse = [](std::string_view id, std::string_view deregistration,
                        std::string_view races) {
    return MakeRecord(1609, {{records::um::HorseId, id},
                             {records::um::DeregistrationCode, deregistration},
                             {records::um::RegisteredRaceCount, races}});
  };
  WriteRecords(drive.data() / "UM20190101NEW.dat",
               {horse("2005100001", "1", "000"), horse("2005100002", "1", "001"),
                horse("2005100003", "0", "000"), horse("2016100004", "1", "000")});
  const auto jockey = [](std::string_view code) {
    return MakeRecord(4161, {{records::ks::JockeyCode, code}});
  };
  WriteRecords(drive.data() / "KS20190101NEW.dat", {jockey("01234"), jockey("00666")});
  MainWindowSteps steps;
  RecordingHost host;
  steps.BuildJockeyAndHorseLists(host);
  EXPECT_EQ(ReadFile(drive.data() / "KISHUNUM20190101.dat"), "\"01234\"\r\n\"00666\"\r\n");
  // No year limit here, unlike the horse step.
  EXPECT_EQ(ReadFile(drive.data() / "KETTONUM20190101.dat"),
            "\"2005100002\"\r\n\"2005100003\"\r\n");
  EXPECT_EQ(host.Status(), "KISHUNUM 終わり  4");  // the horse count, not the listed count
  EXPECT_EQ(steps.state().recordCount, 4);
  EXPECT_EQ(host.eventPumps(), 2);
}

}  // namespace
}  // namespace meridax
