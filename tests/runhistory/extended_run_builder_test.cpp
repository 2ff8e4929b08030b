#include <gtest/gtest.h>

#include <string>

#include "datasetup/common/extended_run_record.h"
#include "datasetup/register_windows.h"
#include "datasetup/runhistory/run_history_steps.h"
#include "platform/cp932.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/headless_windows.h"
#include "tests/runhistory/run_history_fixtures.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"

namespace meridax {
namespace {

using namespace testing;
namespace x = extended_run;
namespace se = records::se;
namespace ra = records::ra;
namespace um = records::um;
namespace ks = records::ks;
namespace hs = records::hs;

constexpr std::size_t kLength = kExtendedRunLength;
const std::string kUnknown = Utf8ToCp932("不明");

std::string Repeat(std::string_view utf8, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += Utf8ToCp932(utf8);
  return text;
}

std::string_view At(const std::string& record, int first, int last) {
  return std::string_view(record).substr(static_cast<std::size_t>(first - 1),
                                         static_cast<std::size_t>(last - first + 1));
}

std::string Blanks(int n) {
  return std::string(static_cast<std::size_t>(n), ' ');
}

std::string RunAt(std::string_view id, std::string_view course, std::string_view date,
                  std::string_view race, std::string_view jockey) {
  return Runner({{se::HorseId, id},
                 {se::RaceYear, date.substr(0, 4)},
                 {se::RaceMonthDay, date.substr(4)},
                 {se::RacecourseCode, course},
                 {se::RaceNumber, race},
                 {se::JockeyCode, jockey}});
}

std::string RaceAt(std::string_view course, std::string_view date, std::string_view race,
                   std::string_view track) {
  return Race({{ra::RaceYear, date.substr(0, 4)},
               {ra::RaceMonthDay, date.substr(4)},
               {ra::RacecourseCode, course},
               {ra::RaceNumber, race},
               {ra::WeekdayCode, "6"},
               {ra::TrackCode, track},
               {ra::Distance, "1600"}});
}

class BuilderTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDriveRoot(drive_.root()); }
  void TearDown() override { SetDriveRoot({}); }

  // A window opened on the drive as it stands, then "計算".
  StepResult Build() {
    Load(window_, host_);
    return Click(kRunHistoryWindow, window_, "Command1", host_);
  }
  std::vector<std::string> Extended(std::string_view id) {
    return ReadRecords(ExtendedFileOf(data(), id), kLength);
  }
  std::filesystem::path data() const { return drive_.data(); }

  TempDrive drive_;
  RecordingHost host_;
  RunHistorySteps window_;
};

TEST_F(BuilderTest, FieldsStandAtTheirBytePositions) {
  const std::string name = Repeat("アイウエオカキクケコサシスセソタチ", 1) + Repeat("ツ", 1);
  ASSERT_EQ(name.size(), 36u);  // 18 double-byte characters
  const std::string organizer = Repeat("市場", 10);
  ASSERT_EQ(organizer.size(), 40u);
  std::string run = RunAt("2014100001", "05", "20170528", "11", "01126");
  records::Put(run, se::HorseName, name);
  records::Put(run, se::TrainerCode, "01088");
  records::Put(run, se::TimeBehindWinner, "-003");
  WriteRecords(RaceFileOf(data(), "2014100001"), {run});
  WriteRecords(data() / "HAHAHAN" / "1209000001.dat",
               {Foal("2012100001"), Foal("2013100001"), Foal("2014100001")});
  WriteEarlierGeneration(data(),
                         {.list = {"2014100001"},
                          .horses = {Horse({{um::HorseId, "2014100001"},
                                            {um::BirthDate, "20140315"},
                                            {um::Pedigree_BreedingNumber.In(1), "1100000007"},
                                            {um::Pedigree_BreedingNumber.In(2), "1209000001"},
                                            {um::InvitationRegion, "REGION"},
                                            {um::BreederCode, "B0000123"},
                                            {um::BirthplaceName, "PLACE"}})},
                          .jockeys = {Jockey({{ks::JockeyCode, "01126"},
                                              {ks::BirthDate, "19790101"},
                                              {ks::SexCode, "1"},
                                              {ks::RidingQualificationCode, "2"},
                                              {ks::InvitationRegion, "JREGION"}})},
                          .races = {RaceAt("05", "20170528", "11", "11")},
                          .sales = {Sale({{hs::HorseId, "2014100001"},
                                          {hs::MarketCode, "M00001"},
                                          {hs::MarketOrganizer, organizer},
                                          {hs::MarketName, "NAME"},
                                          {hs::MarketStartDate, "20150710"},
                                          {hs::MarketEndDate, "20150711"},
                                          {hs::SaleAge, "1"},
                                          {hs::SalePrice, "0012000000"}})}});

  ASSERT_EQ(Build(), StepResult::kOk);
  EXPECT_EQ(window_.text1, "終わり");
  EXPECT_EQ(host_.Status(), "終わり");
  const auto records = Extended("2014100001");
  ASSERT_EQ(records.size(), 1u);
  const std::string& r = records[0];
  EXPECT_EQ(At(r, 1, 40), std::string_view(run).substr(0, 40));
  EXPECT_EQ(At(r, 41, 42), "03");
  EXPECT_EQ(At(r, 43, 43), "6");
  EXPECT_EQ(At(r, 44, 49), "M00001");
  EXPECT_EQ(At(r, 50, 89), organizer);
  EXPECT_EQ(At(r, 170, 185), "2015071020150711");
  EXPECT_EQ(At(r, 186, 196), "10012000000");
  EXPECT_EQ(At(r, 197, 204), "20140315");
  EXPECT_EQ(At(r, 225, 232), "B0000123");
  EXPECT_EQ(At(r, 253, 262), "1100000007");
  EXPECT_EQ(At(r, 287, 296), "1209000001");
  EXPECT_EQ(At(r, 491, 526), name);
  EXPECT_EQ(At(r, 535, 539), "01088");
  EXPECT_EQ(At(r, 614, 618), "01126");
  EXPECT_EQ(At(r, 619, 648), "197901011JREGION             2");
  EXPECT_EQ(At(r, 741, 744), "-003");
  EXPECT_EQ(At(r, 776, 777), "11");
  EXPECT_EQ(At(r, 768, 771), "1600");
  EXPECT_EQ(At(r, 1340, 1341), "\r\n");
  // Blank in every record: the ancestors beyond the sire's and dam's numbers, and the two
  // places the builder never assigns.
  EXPECT_EQ(At(r, 263, 286), Blanks(24));
  EXPECT_EQ(At(r, 297, 320), Blanks(24));
  EXPECT_EQ(At(r, 321, 490), Blanks(170));
  EXPECT_EQ(At(r, 527, 527), " ");
}

TEST_F(BuilderTest, SalesRacesAndJockeysAsTheyAreFoundOrNot) {
  // Horse A sold twice (the later sale counts), horse B never. Run 1 of A has no race, run
  // 2 a race without its jockey, run 3 both.
  WriteRecords(RaceFileOf(data(), "2014100001"),
               {RunAt("2014100001", "05", "20170101", "01", "00001"),
                RunAt("2014100001", "05", "20170102", "02", "09999"),
                RunAt("2014100001", "05", "20170103", "03", "00001")});
  WriteRecords(RaceFileOf(data(), "2014100002"),
               {RunAt("2014100002", "06", "20170104", "04", "00001")});
  WriteEarlierGeneration(
      data(),
      {.list = {"2014100001", "2014100002"},
       .horses = {Horse({{um::HorseId, "2014100001"}}), Horse({{um::HorseId, "2014100002"}})},
       .jockeys = {Jockey({{ks::JockeyCode, "00001"}, {ks::SexCode, "1"}}),
                   Jockey({{ks::JockeyCode, "00001"}, {ks::SexCode, "2"}})},
       .races = {RaceAt("05", "20170102", "02", "17"), RaceAt("05", "20170103", "03", "23"),
                 RaceAt("06", "20170104", "04", "24")},
       .sales = {Sale({{hs::HorseId, "2014100001"}, {hs::MarketCode, "FIRST "}}),
                 Sale({{hs::HorseId, "2014100003"}, {hs::MarketCode, "OTHER "}}),
                 Sale({{hs::HorseId, "2014100001"},
                       {hs::MarketCode, "LAST  "},
                       {hs::MarketOrganizer, "ORG"}})}});
  ASSERT_EQ(Build(), StepResult::kOk);
  EXPECT_EQ(window_.marketSales().Count(), 3);

  const auto a = Extended("2014100001");
  ASSERT_EQ(a.size(), 3u);
  for (const auto& r : a) {
    EXPECT_EQ(At(r, 44, 49), "LAST  ");
    EXPECT_EQ(records::View(r, x::MarketOrganizer), "ORG" + Blanks(37));
  }
  EXPECT_EQ(At(a[0], 43, 43), " ");
  EXPECT_EQ(At(a[0], 619, 648), Blanks(30));
  EXPECT_EQ(At(a[0], 745, 1339), Blanks(595));
  EXPECT_EQ(At(a[0], 1, 11), At(a[0], 1, 11));  // the run's own fields stay
  EXPECT_EQ(At(a[0], 26, 27), "01");
  EXPECT_EQ(At(a[1], 776, 777), "17");
  EXPECT_EQ(At(a[1], 619, 648), Blanks(30));
  EXPECT_EQ(At(a[2], 776, 777), "23");
  EXPECT_EQ(At(a[2], 627, 627), "2");  // the last of two jockey records

  const auto b = Extended("2014100002");
  ASSERT_EQ(b.size(), 1u);
  EXPECT_EQ(records::View(b[0], x::MarketCode), Blanks(6));
  for (const auto field :
       {x::MarketOrganizer, x::MarketName, x::MarketStartDate, x::MarketEndDate}) {
    EXPECT_EQ(records::View(b[0], field),
              kUnknown + Blanks(field.width - static_cast<int>(kUnknown.size())));
  }
  EXPECT_EQ(At(b[0], 186, 196), Blanks(11));
}

TEST_F(BuilderTest, FoalOrders) {
  const std::string dam = "1200000001";
  std::vector<std::string> foals;
  for (int i = 1; i <= 112; ++i) foals.push_back(Foal("20100" + std::to_string(10000 + i)));
  foals[1] = Foal("2014000001");  // second and fourth: the last one counts
  foals[3] = Foal("2014000001");
  foals[4] = Foal("2014000002");  // fifth
  WriteRecords(data() / "HAHAHAN" / (dam + ".dat"), foals);
  struct Case {
    std::string id, dam, expected;
  };
  const std::vector<Case> cases = {
      {"2014000001", dam, "04"},         {"2014000002", dam, "05"},
      {"2010010112", dam, "12"},          // the 112th foal
      {"2010010100", dam, "00"},          // the 100th
      {"2014000003", dam, "00"},          // not among the foals
      {"2014000004", "1200000002", "00"}  // the dam has no file yet
  };
  EarlierGeneration world;
  for (const auto& c : cases) {
    world.list.push_back(c.id);
    world.horses.push_back(
        Horse({{um::HorseId, c.id}, {um::Pedigree_BreedingNumber.In(2), c.dam}}));
    WriteRecords(RaceFileOf(data(), c.id), {RunAt(c.id, "05", "20170101", "01", "00001")});
  }
  world.list.push_back("2014000005");  // missing from the horse table: no foal order
  WriteRecords(RaceFileOf(data(), "2014000005"),
               {RunAt("2014000005", "05", "20170101", "01", "00001")});
  WriteEarlierGeneration(data(), world);
  ASSERT_EQ(Build(), StepResult::kOk);
  for (const auto& c : cases) {
    EXPECT_EQ(records::View(Extended(c.id).at(0), x::FoalOrder), c.expected) << c.id;
  }
  EXPECT_TRUE(FileExists(data() / "HAHAHAN" / "1200000002.dat"));
  EXPECT_EQ(FileLength(data() / "HAHAHAN" / "1200000002.dat"), 0u);
  EXPECT_EQ(At(Extended("2014000005").at(0), 41, 42), "  ");
  EXPECT_EQ(At(Extended("2014000005").at(0), 197, 262), Blanks(66));
}

TEST_F(BuilderTest, ListedHorsesWithoutRunsAndStaleFiles) {
  // A horse without a race file gets an empty one and an empty extended file; a file left
  // longer by an earlier build is cut to the horse's runs; one pump per horse with runs.
  WriteFile(ExtendedFileOf(data(), "2014100001"), std::string(3 * kLength, 'x'));
  WriteFile(ExtendedFileOf(data(), "2014100002"), std::string(kLength, 'x'));
  WriteFile(ExtendedFileOf(data(), "2014100009"), "unlisted");
  WriteRecords(RaceFileOf(data(), "2014100001"),
               {RunAt("2014100001", "05", "20170101", "01", "00001")});
  WriteEarlierGeneration(data(), {.list = {"2014100001", "2014100002", "2014100001"}});
  ASSERT_EQ(Build(), StepResult::kOk);
  EXPECT_EQ(Extended("2014100001").size(), 1u);
  EXPECT_EQ(FileLength(ExtendedFileOf(data(), "2014100002")), 0u);
  EXPECT_TRUE(FileExists(RaceFileOf(data(), "2014100002")));
  EXPECT_EQ(FileLength(RaceFileOf(data(), "2014100002")), 0u);
  EXPECT_EQ(ReadFile(ExtendedFileOf(data(), "2014100009")), "unlisted");
  EXPECT_EQ(host_.eventPumps(), 2);  // the horse with runs, listed twice
}

TEST_F(BuilderTest, UnsafeIdsNameNoFile) {
  WriteEarlierGeneration(data(), {.list = {"..\\..\\evil", "2014100001", "a\x01b"}});
  ASSERT_EQ(Build(), StepResult::kOk);
  EXPECT_EQ(window_.text1, "終わり (ファイル名にできないID 2件を飛ばしました)");
  EXPECT_TRUE(FileExists(ExtendedFileOf(data(), "2014100001")));
  EXPECT_FALSE(FileExists(drive_.root() / "evil.dat"));
}

TEST_F(BuilderTest, MissingFolderFailsAndLeavesEarlierFiles) {
  WriteFile(ExtendedFileOf(data(), "2014100001"), "earlier");
  WriteEarlierGeneration(data(), {.list = {"2014100001"}});
  std::filesystem::remove_all(data() / "UMAGOTOSETUP");
  EXPECT_EQ(Build(), StepResult::kFailed);
  EXPECT_EQ(window_.text1, "計算 エラー: フォルダがありません " +
                               (data() / "UMAGOTOSETUP").string() +
                               " (C:\\MERIDAXPROJECT\\UMAGOTOSETUP\\)");
  EXPECT_EQ(ReadFile(ExtendedFileOf(data(), "2014100001")), "earlier");
}

TEST_F(BuilderTest, LoadKeepsEverySaleAndOpensWithoutTheFile) {
  {
    RunHistorySteps window;
    EXPECT_EQ(Load(window, host_), StepResult::kOk);
    EXPECT_EQ(window.text1, "HS20180101.dat がありません");
    EXPECT_EQ(window.marketSales().Count(), 0);
  }
  {
    // A folder of that name is no missing file: Text1 says what stands there.
    std::filesystem::create_directory(data() / "HS20180101.dat");
    RunHistorySteps window;
    EXPECT_EQ(Load(window, host_), StepResult::kOk);
    EXPECT_EQ(window.text1, "HS20180101.dat はフォルダです (ファイルではありません)");
    EXPECT_EQ(window.marketSales().Count(), 0);
    std::filesystem::remove(data() / "HS20180101.dat");
  }
  {
    // Nor is one that cannot be read.
    std::filesystem::create_symlink("HS20180101.dat", data() / "HS20180101.dat");
    RunHistorySteps window;
    EXPECT_EQ(Load(window, host_), StepResult::kOk);
    EXPECT_EQ(window.text1, "HS20180101.dat を読めません: シンボリックリンクが循環しています");
    EXPECT_EQ(window.marketSales().Count(), 0);
    std::filesystem::remove(data() / "HS20180101.dat");
  }
  // Lines as read back: a short line leaves the fields past its end blank.
  WriteFile(
      data() / "HS20180101.dat",
      Sale({{hs::HorseId, "2014100001"}, {hs::MarketStartDate, "20150710"}}) +
          Sale({{hs::HorseId, "2014100001"}, {hs::SalePrice, "0000500000"}}) +
          Sale({{hs::HorseId, "2014100002"}, {hs::MarketStartDate, "20150710"}}).substr(0, 175) +
          "\r\n");
  RunHistorySteps window;
  Load(window, host_);
  ASSERT_EQ(window.marketSales().Count(), 3);
  EXPECT_EQ(window.marketSales().Cell(1, 4), "20150710");
  EXPECT_EQ(window.marketSales().Cell(2, 7), "0000500000");
  EXPECT_EQ(window.marketSales().Cell(3, 0), "2014100002");
  EXPECT_EQ(window.marketSales().Cell(3, 4), "2015    ");
  EXPECT_EQ(window.marketSales().Cell(3, 5), Blanks(8));
}

TEST_F(BuilderTest, HeadlessStepsOpenTheWindowFirst) {
  WriteRecords(RaceFileOf(data(), "2014100001"),
               {RunAt("2014100001", "05", "20170101", "01", "00001")});
  WriteEarlierGeneration(
      data(), {.list = {"2014100001"},
               .sales = {Sale({{hs::HorseId, "2014100001"}, {hs::MarketCode, "M00001"}})}});
  WindowRegistry windows;
  RegisterDatasetupWindows(windows);
  HeadlessWindows headless(windows, host_);
  EXPECT_TRUE(headless.Known("FormMERIDAXEXPDSETUP2025ZZ.Command2_Click"));
  EXPECT_EQ(headless.Run("FormMERIDAXEXPDSETUP2025ZZ.Command1_Click"),
            HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(host_.Status(), "終わり");
  // The window's load ran first: the sale is in the record.
  EXPECT_EQ(records::View(Extended("2014100001").at(0), x::MarketCode), "M00001");
}

}  // namespace
}  // namespace meridax
