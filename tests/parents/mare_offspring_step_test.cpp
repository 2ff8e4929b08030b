#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "datasetup/preparation/main_window_steps.h"
#include "platform/file_ops.h"
#include "platform/numbers.h"
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
namespace sk = records::sk;
using testing::kOffspringLength;
using testing::LiteralMareFiles;
using testing::ReadFile;
using testing::ReadRecords;
using testing::Sk;
using testing::TempDrive;
using testing::WriteFile;
using testing::WriteRecords;

const std::string kBlank(10, ' ');

struct Window {
  TempDrive drive;
  MainWindowSteps steps;
  RecordingHost host;
  fs::path data() const { return drive.data(); }
  std::vector<std::string> MareFile(std::string_view dam) const {
    return ReadRecords(data() / "HAHAHAN" / (std::string(dam) + ".dat"), kOffspringLength);
  }
};

TEST(MareOffspringStepTest, EachListedDamGetsHerFoalsInHorseIdOrder) {
  Window w;
  // Raw order is not birth order; D3 stands only in a record the cleaning drops.
  const std::string foal2016 = Sk({"2016100002", "S000000001", "D000000001"});
  const std::string foal2012 = Sk({"2012100009", "S000000002", "D000000001"});
  const std::string foal2014 = Sk({"2014100001", "S000000001", "D000000001"});
  const std::string blankDam = Sk({"2015100005", "S000000001", kBlank});
  const std::string other = Sk({"2013100003", "S000000003", "D000000002"});
  const std::string dropped = Sk({"2011100004", "S000000003", "D000000003", "0"});
  WriteRecords(w.data() / "SK20190101.dat",
               {foal2016, foal2012, other, blankDam, foal2014, dropped});
  ASSERT_EQ(testing::Click(kMainWindow, w.steps, "Command4", w.host), StepResult::kOk);
  WriteFile(w.data() / "HAHAHAN" / "D000000009.dat", "an earlier dam's file");
  w.steps.state().recordCount = 77;
  const int pumpsBefore = w.host.eventPumps();

  ASSERT_EQ(testing::Click(kMainWindow, w.steps, "Command11", w.host), StepResult::kOk);
  EXPECT_EQ(w.host.Status(), "SK/HN 終わり  5");
  EXPECT_EQ(w.steps.state().recordCount, 77);
  // Once per cleaned record, not while the files are emptied.
  EXPECT_EQ(w.host.eventPumps() - pumpsBefore, 5);
  EXPECT_EQ(w.MareFile("D000000001"), (std::vector<std::string>{foal2012, foal2014, foal2016}));
  EXPECT_EQ(w.MareFile("D000000002"), (std::vector<std::string>{other}));
  EXPECT_EQ(w.MareFile(kBlank), (std::vector<std::string>{blankDam}));
  EXPECT_TRUE(FileExists(w.data() / "HAHAHAN" / "D000000003.dat"));
  EXPECT_EQ(FileLength(w.data() / "HAHAHAN" / "D000000003.dat"), 0u);
  EXPECT_EQ(ReadFile(w.data() / "HAHAHAN" / "D000000009.dat"), "an earlier dam's file");
}

TEST(MareOffspringStepTest, ListDecidesWhichFilesAreWritten) {
  Window w;
  const std::string a = Sk({"2014100001", "S000000001", "D000000001"});
  const std::string b = Sk({"2015100002", "S000000001", "D000000002"});
  WriteRecords(w.data() / "SK20190101NEW.dat", {a, b});
  // D1 twice, D2 not at all: D1's file is as with one entry, D2's foal goes nowhere.
  WriteFile(w.data() / "HAHAHANNUM20190101.dat", "\"D000000001\"\r\n\"D000000001\"\r\n");
  ASSERT_EQ(testing::Click(kMainWindow, w.steps, "Command11", w.host), StepResult::kOk);
  EXPECT_EQ(w.MareFile("D000000001"), (std::vector<std::string>{a}));
  EXPECT_FALSE(FileExists(w.data() / "HAHAHAN" / "D000000002.dat"));
}

TEST(MareOffspringStepTest, AfterTheSireStepWithFewerRecordsNoStaleFoalReachesAMare) {
  Window w;
  const std::string a = Sk({"2014100001", "S000000001", "D000000001"});
  const std::string b = Sk({"2015100002", "S000000001", "D000000001"});
  const std::string c = Sk({"2016100003", "S000000001", "D000000001"});
  WriteRecords(w.data() / "SK20190101.dat", {a, b, c});
  ASSERT_EQ(testing::Click(kMainWindow, w.steps, "Command5", w.host), StepResult::kOk);
  WriteRecords(w.data() / "SK20190101.dat", {c});
  ASSERT_EQ(testing::Click(kMainWindow, w.steps, "Command5", w.host), StepResult::kOk);
  ASSERT_EQ(testing::Click(kMainWindow, w.steps, "Command11", w.host), StepResult::kOk);
  EXPECT_EQ(w.host.Status(), "SK/HN 終わり  1");
  EXPECT_EQ(w.MareFile("D000000001"), (std::vector<std::string>{c}));
}

TEST(MareOffspringStepTest, MissingInputsAndFolder) {
  {
    Window w;  // no list, no cleaned file: nothing is written, the count is 0
    ASSERT_EQ(testing::Click(kMainWindow, w.steps, "Command11", w.host), StepResult::kOk);
    EXPECT_EQ(w.host.Status(), "SK/HN 終わり  0");
    EXPECT_TRUE(fs::is_empty(w.data() / "HAHAHAN"));
  }
  {
    Window w;
    WriteFile(w.data() / "HAHAHANNUM20190101.dat", "\"D000000001\"\r\n");
    fs::remove_all(w.data() / "HAHAHAN");
    EXPECT_EQ(testing::Click(kMainWindow, w.steps, "Command11", w.host), StepResult::kFailed);
    EXPECT_EQ(w.host.Status().rfind("SK/HN エラー: フォルダがありません ", 0), 0u)
        << w.host.Status();
  }
}

TEST(MareOffspringStepTest, SameFilesAsTheLiteralProcedureOnARandomWorld) {
  std::mt19937 random(7);
  for (int world = 0; world < 4; ++world) {
    SCOPED_TRACE(world);
    // A cleaned file with repeated foals and dates, some not whole numbers, in the order
    // of the raw world, and a list with repeats and gaps: the upsert's every branch.
    std::vector<std::string> cleaned = testing::RandomWorld(random, 400, 50, 10).offspring;
    for (std::string& rec : cleaned) {
      if (random() % 15 == 0) records::Put(rec, sk::CreatedDate, "2019 1 A");
    }
    std::vector<std::string> dams;
    for (const std::string& rec : cleaned) {
      dams.emplace_back(records::View(rec, sk::PedigreeBreedingNumbers.At(2)));
    }
    std::sort(dams.begin(), dams.end());
    dams.erase(std::unique(dams.begin(), dams.end()), dams.end());
    std::string list;
    for (const std::string& dam : dams) {
      const unsigned r = random() % 10;
      if (r == 0) continue;
      list += "\"" + dam + "\"\r\n";
      if (r == 1) list += "\"" + dam + "\"\r\n";
    }
    TempDrive literal;
    WriteRecords(literal.data() / "SK20190101NEW.dat", cleaned);
    WriteFile(literal.data() / "HAHAHANNUM20190101.dat", list);
    LiteralMareFiles(literal.data());
    Window w;
    WriteRecords(w.data() / "SK20190101NEW.dat", cleaned);
    WriteFile(w.data() / "HAHAHANNUM20190101.dat", list);
    ASSERT_EQ(testing::Click(kMainWindow, w.steps, "Command11", w.host), StepResult::kOk);

    std::map<std::string, std::string> expected;
    std::map<std::string, std::string> actual;
    for (const auto& e : fs::directory_iterator(literal.data() / "HAHAHAN")) {
      expected[e.path().filename().string()] = ReadFile(e.path());
    }
    for (const auto& e : fs::directory_iterator(w.data() / "HAHAHAN")) {
      actual[e.path().filename().string()] = ReadFile(e.path());
    }
    EXPECT_GT(expected.size(), 10u);
    EXPECT_EQ(actual, expected);
  }
}

}  // namespace
}  // namespace meridax
