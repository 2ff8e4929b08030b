#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "datasetup/common/finish_count_block.h"
#include "datasetup/common/parent_stat_record.h"
#include "datasetup/common/sorts.h"
#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "platform/record_file.h"
#include "platform/text_file.h"
#include "records/horse_layouts.h"
#include "tests/parents/literal_steps.h"
#include "tests/parents/parent_fixtures.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"

namespace meridax {
namespace {

namespace fs = std::filesystem;
using testing::FilesBelow;
using testing::Foal;
using testing::kHorseLength;
using testing::kOffspringLength;
using testing::LiteralOffspringStep;
using testing::ReadFile;
using testing::ReadRecords;
using testing::Sk;
using testing::TempDrive;
using testing::Um;
using testing::WriteFile;
using testing::WriteRecords;

constexpr std::size_t kStatLength = 402;
const std::string kBlank(10, ' ');

std::string Quoted(const std::vector<std::string>& items) {
  std::string s;
  for (const auto& i : items) s += "\"" + i + "\"\r\n";
  return s;
}

std::string ZeroTotals() {
  std::string s;
  for (int v = 1; v <= 174; ++v) s += "0\r\n";
  return s;
}

// The block the finish-count rule writes for a horse (the drive stays as it is).
std::string BlockOf(const std::string& horse) {
  const fs::path path = fs::temp_directory_path() / ("meridax-block-" + std::to_string(::getpid()));
  {
    TextWriter out(path, TextWriter::Mode::kOutput);
    WriteFinishCountBlock(horse, out);
  }
  std::string block = ReadFile(path);
  fs::remove(path);
  return block;
}

struct Window {
  TempDrive drive;
  MainWindowSteps steps;
  RecordingHost host;
  fs::path data() const { return drive.data(); }

  void Write(const std::vector<std::string>& offspring, const std::vector<std::string>& horses) {
    WriteRecords(data() / "SK20190101.dat", offspring);
    WriteRecords(data() / "UM20190101NEW.dat", horses);
  }
  StepResult Dam() { return testing::Click(kMainWindow, steps, "Command4", host); }
  StepResult Sire() { return testing::Click(kMainWindow, steps, "Command5", host); }
};

TEST(OffspringStepsTest, CleaningConsidersTheRecordTheSortLeavesFirst) {
  // One horse three times with categories in raw order: K, K, K sorts to 3, 2, 1.
  struct Case {
    const char* name;
    std::vector<std::string_view> categories;
    int kept;  // raw record number, 0 for none
  };
  const Case cases[] = {{"third record passes", {"0", "1", "2"}, 3},
                        {"third record fails though the others pass", {"1", "2", "0"}, 0},
                        {"one record of category 2", {"2"}, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const bool sire : {false, true}) {
      Window s;
      std::vector<std::string> raw;
      for (const auto category : c.categories) {
        raw.push_back(Sk({"2016100001", "S000000001", "D000000001", category,
                          "2019010" + std::to_string(raw.size() + 1)}));
      }
      raw.push_back(Sk({"2015100002", "S000000002", "D000000002"}));
      s.Write(raw, {});
      ASSERT_EQ(sire ? s.Sire() : s.Dam(), StepResult::kOk);
      std::vector<std::string> expected{raw.back()};
      if (c.kept) expected.push_back(raw[static_cast<std::size_t>(c.kept - 1)]);
      EXPECT_EQ(ReadRecords(s.data() / "SK20190101NEW.dat", kOffspringLength), expected);
    }
  }
}

TEST(OffspringStepsTest, DamStepListsEveryDamAndEmptiesTheirFiles) {
  Window s;
  // D3 stands only in a record the cleaning drops; the blank dam sorts first.
  s.Write({Sk({"2016100001", "S000000001", "D000000002"}), Sk({"2016100002", "S000000002", kBlank}),
           Sk({"2016100003", "S000000001", "D000000003", "0"}),
           Sk({"2016100004", "S000000003", "D000000002"})},
          {});
  WriteFile(s.data() / "HAHA" / "D000000003.dat", "old");
  WriteFile(s.data() / "SHUBOBA" / "S000000001.dat", "old");
  ASSERT_EQ(s.Dam(), StepResult::kOk);
  EXPECT_EQ(s.host.Status(), "SK母 終わり  0");
  EXPECT_EQ(ReadFile(s.data() / "HAHAHANNUM20190101.dat"),
            Quoted({kBlank, "D000000002", "D000000003"}));
  EXPECT_FALSE(FileExists(s.data() / "TITIHANNUM20190101.dat"));
  for (const std::string& dam : {kBlank, std::string("D000000002"), std::string("D000000003")}) {
    EXPECT_EQ(ReadFile(s.data() / "HAHA" / (dam + ".dat")), "") << dam;
    EXPECT_EQ(ReadFile(s.data() / "HAHAN" / (dam + ".dat")), ZeroTotals()) << dam;
  }
  EXPECT_EQ(ReadFile(s.data() / "SHUBOBA" / "S000000001.dat"), "old");
  EXPECT_TRUE(fs::is_empty(s.data() / "SHUBOBAN"));
  const auto stats = ReadRecords(s.data() / "OPTION1N" / "MARE.dat", kStatLength);
  ASSERT_EQ(stats.size(), 3u);
  EXPECT_EQ(stats[0], BuildParentStatRecord(kBlank, ParentTotals{}));
  EXPECT_EQ(stats[2].substr(0, 10), "D000000003");
}

TEST(OffspringStepsTest, SireStepWritesBothListsAndTouchesOnlyTheSiresFiles) {
  Window s;
  s.Write({Sk({"2016100001", "S000000002", "D000000001"}),
           Sk({"2016100002", "S000000001", "D000000002"})},
          {Um("2016100001", "S000000002", "D000000001", {1})});
  WriteFile(s.data() / "HAHA" / "D000000001.dat", "old");
  WriteFile(s.data() / "OPTION1N" / "STALLION.dat", std::string(kStatLength * 5, 'x'));
  ASSERT_EQ(s.Sire(), StepResult::kOk);
  EXPECT_EQ(s.host.Status(), "SK父 終わり  1");
  EXPECT_EQ(s.steps.state().recordCount, 1);
  EXPECT_EQ(ReadFile(s.data() / "HAHAHANNUM20190101.dat"), Quoted({"D000000001", "D000000002"}));
  EXPECT_EQ(ReadFile(s.data() / "TITIHANNUM20190101.dat"), Quoted({"S000000001", "S000000002"}));
  EXPECT_EQ(ReadFile(s.data() / "HAHA" / "D000000001.dat"), "old");
  EXPECT_TRUE(fs::is_empty(s.data() / "HAHAN"));
  EXPECT_EQ(ReadFile(s.data() / "SHUBOBA" / "S000000001.dat"), "");
  EXPECT_EQ(ReadFile(s.data() / "SHUBOBA" / "S000000002.dat"),
            BlockOf(Um("2016100001", "S000000002", "D000000001", {1})));
  EXPECT_EQ(ReadFile(s.data() / "SHUBOBAN" / "S000000001.dat"), ZeroTotals());
  EXPECT_EQ(ReadRecords(s.data() / "OPTION1N" / "STALLION.dat", kStatLength).size(), 2u);
  EXPECT_FALSE(FileExists(s.data() / "OPTION1N" / "MARE.dat"));
}

TEST(OffspringStepsTest, BothStepsRebuildTheCleanedFileAndTheStatisticsWhole) {
  for (const bool sire : {false, true}) {
    SCOPED_TRACE(sire ? "sire step" : "dam step");
    Window s;
    s.Write({Sk({"2016100001", "S000000001", "D000000001"}),
             Sk({"2016100002", "S000000002", "D000000002"}),
             Sk({"2016100003", "S000000003", "D000000003"})},
            {});
    ASSERT_EQ(sire ? s.Sire() : s.Dam(), StepResult::kOk);
    const std::vector<std::string> fewer = {Sk({"2016100009", "S000000009", "D000000009"})};
    s.Write(fewer, {});
    ASSERT_EQ(sire ? s.Sire() : s.Dam(), StepResult::kOk);
    EXPECT_EQ(ReadRecords(s.data() / "SK20190101NEW.dat", kOffspringLength), fewer);
    const auto stats =
        ReadRecords(s.data() / "OPTION1N" / (sire ? "STALLION.dat" : "MARE.dat"), kStatLength);
    ASSERT_EQ(stats.size(), 1u);
    EXPECT_EQ(stats[0].substr(0, 10), sire ? "S000000009" : "D000000009");
  }
}

TEST(OffspringStepsTest, WithoutParentsThereIsNoStatisticsFile) {
  for (const bool sire : {false, true}) {
    SCOPED_TRACE(sire ? "sire step" : "dam step");
    Window s;
    s.Write({Sk({"2016100001", "S000000001", "D000000001"})}, {});
    ASSERT_EQ(sire ? s.Sire() : s.Dam(), StepResult::kOk);
    const fs::path stats = s.data() / "OPTION1N" / (sire ? "STALLION.dat" : "MARE.dat");
    ASSERT_TRUE(FileExists(stats));
    s.Write({}, {});
    ASSERT_EQ(sire ? s.Sire() : s.Dam(), StepResult::kOk);
    EXPECT_FALSE(FileExists(stats));
    EXPECT_EQ(FileLength(s.data() / "SK20190101NEW.dat"), 0u);
    EXPECT_EQ(ReadFile(s.data() / "HAHAHANNUM20190101.dat"), "");
  }
}

TEST(OffspringStepsTest, BlocksAndTotalsPerDam) {
  Window s;
  std::vector<int> a(174, 0);
  std::vector<int> b(174, 0);
  a[0] = 1;  // a win on the first track line
  b[0] = 2;
  a[156] = 1;  // overall: a won once, b was second twice
  b[157] = 2;
  a[172] = 5000;       // flat earnings of a only
  b[173] = 700;        // jump earnings of b only
  a[154] = 999999999;  // the largest flat prize totals
  b[154] = 999999999;
  const std::string horseA = Um("2014100001", "S000000001", "D000000001", a);
  std::string horseB = Um("2016100002", "S000000001", "D000000001", b);
  records::Put(horseB, records::um::FinishCountsByTrack.At(1).Cell(2), "   ");  // reads as 0
  const std::string stray = Um("2015100003", "S000000001", "D000000099", {3});
  const std::string blankDam = Um("2015100004", "S000000001", kBlank, {4});
  s.Write({Sk({"2014100001", "S000000001", "D000000001"}),
           Sk({"2016100002", "S000000001", "D000000002"})},
          {horseA, stray, blankDam, horseB});
  WriteFile(s.data() / "HAHA" / "D000000099.dat", "earlier\r\n");
  ASSERT_EQ(s.Dam(), StepResult::kOk);
  EXPECT_EQ(s.host.Status(), "SK母 終わり  4");

  // The dam of a block is the horse's own pedigree, not the offspring file's.
  const std::string block = ReadFile(s.data() / "HAHA" / "D000000001.dat");
  EXPECT_EQ(block, BlockOf(horseA) + BlockOf(horseB));
  EXPECT_EQ(std::count(block.begin(), block.end(), '\n'), 58);
  EXPECT_EQ(ReadFile(s.data() / "HAHA" / "D000000002.dat"), "");
  // Dams not listed: appended to, never emptied.
  EXPECT_EQ(ReadFile(s.data() / "HAHA" / "D000000099.dat"), "earlier\r\n" + BlockOf(stray));
  EXPECT_EQ(ReadFile(s.data() / "HAHA" / (kBlank + ".dat")), BlockOf(blankDam));
  EXPECT_FALSE(FileExists(s.data() / "HAHAN" / "D000000099.dat"));

  std::vector<std::int64_t> expected(175, 0);
  expected[1] = 3;
  expected[155] = 1999999998;
  expected[157] = 1;
  expected[158] = 2;
  expected[171] = 1;
  expected[172] = 1;
  expected[173] = 5000;
  expected[174] = 700;
  std::string totals;
  for (int v = 1; v <= 174; ++v) totals += std::to_string(expected[v]) + "\r\n";
  EXPECT_EQ(ReadFile(s.data() / "HAHAN" / "D000000001.dat"), totals);
  EXPECT_EQ(ReadFile(s.data() / "HAHAN" / "D000000002.dat"), ZeroTotals());

  const auto stats = ReadRecords(s.data() / "OPTION1N" / "MARE.dat", kStatLength);
  ASSERT_EQ(stats.size(), 2u);
  ParentTotals t{};
  std::copy(expected.begin(), expected.end(), t.begin());
  EXPECT_EQ(stats[0], BuildParentStatRecord("D000000001", t));
  EXPECT_EQ(records::View(stats[0], parent_stat::OffspringFlatPrizeTotal), "999999998");
  EXPECT_EQ(records::View(stats[0], parent_stat::OffspringWithFlatEarnings), "000001");
  // The second dam starts from zero, not from the first dam's totals.
  EXPECT_EQ(stats[1], BuildParentStatRecord("D000000002", ParentTotals{}));

  // A second run rebuilds the listed dams' files and appends to the others again.
  ASSERT_EQ(s.Dam(), StepResult::kOk);
  EXPECT_EQ(ReadFile(s.data() / "HAHA" / "D000000001.dat"), BlockOf(horseA) + BlockOf(horseB));
  EXPECT_EQ(ReadFile(s.data() / "HAHA" / "D000000099.dat"),
            "earlier\r\n" + BlockOf(stray) + BlockOf(stray));
}

TEST(OffspringStepsTest, TotalsPastTheThirtyTwoBitRangeKeepTheirLastDigits) {
  for (const bool sire : {false, true}) {
    SCOPED_TRACE(sire ? "sire step" : "dam step");
    Window s;
    // Three offspring with the largest flat prize and earnings totals: each sum passes
    // 2^31 - 1, and no addition is lost.
    std::vector<int> counts(174, 0);
    counts[154] = 999999999;
    counts[172] = 999999999;
    std::vector<std::string> offspring;
    std::vector<std::string> horses;
    for (const char* id : {"2014100001", "2015100002", "2016100003"}) {
      offspring.push_back(Sk({id, "S000000001", "D000000001"}));
      horses.push_back(Um(id, "S000000001", "D000000001", counts));
    }
    s.Write(offspring, horses);
    ASSERT_EQ(sire ? s.Sire() : s.Dam(), StepResult::kOk);

    std::string totals;
    for (int v = 1; v <= 174; ++v) {
      totals += v == 155 || v == 173 ? "2999999997\r\n" : v == 171 ? "3\r\n" : "0\r\n";
    }
    const fs::path folder = s.data() / (sire ? "SHUBOBAN" : "HAHAN");
    EXPECT_EQ(ReadFile(folder / (sire ? "S000000001.dat" : "D000000001.dat")), totals);
    const auto stats =
        ReadRecords(s.data() / "OPTION1N" / (sire ? "STALLION.dat" : "MARE.dat"), kStatLength);
    ASSERT_EQ(stats.size(), 1u);
    EXPECT_EQ(records::View(stats[0], parent_stat::OffspringFlatPrizeTotal), "999999997");
    EXPECT_EQ(records::View(stats[0], parent_stat::OffspringFlatEarningsTotal), "999999997");
    EXPECT_EQ(records::View(stats[0], parent_stat::OffspringWithFlatEarnings), "000003");
  }
}

TEST(OffspringStepsTest, NumbersThatNameNoFileStayOutOfTheListsAndAreCounted) {
  Window s;
  auto names = [](const fs::path& folder) {
    std::vector<std::string> out;
    for (const auto& [name, bytes] : FilesBelow(folder)) out.push_back(name);
    return out;
  };
  const std::string unsafeDam = "D\\..\\00001";
  const std::string quotedSire = "AB\"CD12345";  // read back from a list as "AB" once
  s.Write(
      {Sk({"2016100001", "S000000001", unsafeDam}), Sk({"2016100002", quotedSire, "D000000002"})},
      {Um("2016100001", "S000000001", unsafeDam, {2}),
       Um("2016100002", quotedSire, "D000000002", {1})});
  ASSERT_EQ(s.Dam(), StepResult::kOk);
  EXPECT_EQ(s.host.Status(), "SK母 終わり  2 (ファイル名にできないID 1件を飛ばしました)");
  EXPECT_EQ(ReadFile(s.data() / "HAHAHANNUM20190101.dat"), Quoted({"D000000002"}));
  EXPECT_EQ(names(s.data() / "HAHA"), std::vector<std::string>{"D000000002.dat"});
  EXPECT_EQ(names(s.data() / "HAHAN"), std::vector<std::string>{"D000000002.dat"});
  // Record i of the statistics still belongs to line i of the list.
  const auto stats = ReadRecords(s.data() / "OPTION1N" / "MARE.dat", kStatLength);
  ASSERT_EQ(stats.size(), 1u);
  EXPECT_EQ(records::View(stats[0], parent_stat::ParentBreedingNumber), "D000000002");

  ASSERT_EQ(s.Sire(), StepResult::kOk);  // both lists: the dam and the sire are left out
  EXPECT_EQ(s.host.Status(), "SK父 終わり  2 (ファイル名にできないID 2件を飛ばしました)");
  EXPECT_EQ(ReadFile(s.data() / "TITIHANNUM20190101.dat"), Quoted({"S000000001"}));
  EXPECT_EQ(names(s.data() / "SHUBOBA"), std::vector<std::string>{"S000000001.dat"});

  ASSERT_EQ(testing::Click(kMainWindow, s.steps, "Command11", s.host), StepResult::kOk);
  EXPECT_EQ(names(s.data() / "HAHAHAN"), std::vector<std::string>{"D000000002.dat"});
}

TEST(OffspringStepsTest, MissingFolderIsReportedAndWritesNothing) {
  struct Case {
    const char* folder;
    bool sire;
    const char* caption;
  };
  for (const Case& c : {Case{"HAHAN", false, "SK（母産駒）"}, Case{"SHUBOBA", true, "SK（父産駒）"},
                        Case{"OPTION1N", true, "SK（父産駒）"}}) {
    SCOPED_TRACE(c.folder);
    Window s;
    s.Write({Sk({"2016100001", "S000000001", "D000000001"})}, {});
    fs::remove_all(s.data() / c.folder);
    s.steps.state().recordCount = 4;
    EXPECT_EQ(c.sire ? s.Sire() : s.Dam(), StepResult::kFailed);
    EXPECT_EQ(s.host.Status(), std::string(c.caption) + " エラー: フォルダがありません " +
                                   (s.data() / c.folder).string() + " (C:\\MERIDAXPROJECT\\" +
                                   c.folder + "\\)");
    EXPECT_EQ(s.steps.state().recordCount, 4);
    EXPECT_FALSE(FileExists(s.data() / "SK20190101NEW.dat"));
    EXPECT_FALSE(FileExists(s.data() / "HAHAHANNUM20190101.dat"));
  }
}

TEST(OffspringStepsTest, SameFilesAsTheLiteralProcedureOnARandomWorld) {
  std::mt19937 random(42);
  for (int world = 0; world < 4; ++world) {
    const testing::World w = testing::RandomWorld(random, 300, 60, 15);
    for (const bool sire : {false, true}) {
      SCOPED_TRACE(std::to_string(world) + (sire ? " sire step" : " dam step"));
      TempDrive literal;
      WriteRecords(literal.data() / "SK20190101.dat", w.offspring);
      WriteRecords(literal.data() / "UM20190101NEW.dat", w.horses);
      LiteralOffspringStep(literal.data(), sire);
      Window s;
      s.Write(w.offspring, w.horses);
      ASSERT_EQ(sire ? s.Sire() : s.Dam(), StepResult::kOk);
      const auto expected = FilesBelow(literal.data());
      const auto actual = FilesBelow(s.data());
      ASSERT_EQ(actual.size(), expected.size());
      for (const auto& [name, bytes] : expected) {
        ASSERT_TRUE(actual.count(name)) << name;
        EXPECT_EQ(actual.at(name), bytes) << name;
      }
    }
  }
}

}  // namespace
}  // namespace meridax
