#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "datasetup/preparation/main_window_steps.h"
#include "platform/cp932.h"
#include "platform/file_ops.h"
#include "records/horse_layouts.h"
#include "tests/parents/literal_steps.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tests/support/window_steps.h"

namespace meridax {
namespace {

using testing::LiteralFemaleLines;
using testing::MakeRecord;
using testing::ReadFile;
using testing::ReadRecords;
using testing::TempDrive;
using testing::WriteRecords;

constexpr std::size_t kLength = 251;

struct Horse {
  std::string_view number;
  std::string_view dam = "0000000000";
  std::string_view sex = "2";
  std::string_view category = "1";
};

Horse WithCategory(std::string_view number, std::string_view category) {
  return {number, "0000000000", "2", category};
}

Horse Stallion(std::string_view number) {
  return {number, "0000000000", "1"};
}

// A double-byte name before the sex code and the parents: positions count bytes.
std::string NameOf(std::string_view number) {
  return Utf8ToCp932("母") + std::string(number);
}

std::string Hn(const Horse& h) {
  namespace hn = records::hn;
  return MakeRecord(kLength, {{hn::RecordSpec, "HN"},
                              {hn::DataCategory, h.category},
                              {hn::CreatedDate, "20190105"},
                              {hn::BreedingNumber, h.number},
                              {hn::HorseName, NameOf(h.number)},
                              {hn::BirthYear, "2001"},
                              {hn::SexCode, h.sex},
                              {hn::BirthplaceName, "HIDAKA"},
                              {hn::SireBreedingNumber, "S000000001"},
                              {hn::DamBreedingNumber, h.dam}});
}

// Six values of one line as the file holds them.
std::string Line(std::string_view number, bool found, std::string_view name = "",
                 std::string_view dam = "") {
  std::string line = "\"" + std::string(number) + "\"";
  if (!found) return line + std::string(",\"\"") + ",\"\",\"\",\"\",\"\"\r\n";
  std::string paddedName = NameOf(name);
  paddedName.resize(36, ' ');
  std::string place = "HIDAKA";
  place.resize(20, ' ');
  return line + ",\"" + paddedName + "\",\"2001\",\"" + place + "\",\"S000000001\",\"" +
         std::string(dam) + "\"\r\n";
}

std::string EmptyLines(int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += Line("", false);
  return out;
}

struct StepOutput {
  std::vector<std::string> cleaned;
  std::string lines;
  std::string status;
};

StepOutput RunStep(const TempDrive& drive, const std::vector<std::string>& raw) {
  WriteRecords(drive.data() / "HN20190101.dat", raw);
  MainWindowSteps steps;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command7", host), StepResult::kOk);
  EXPECT_EQ(steps.state().recordCount,
            static_cast<std::int32_t>(FileLength(drive.data() / "HN20190101NEW.dat") / kLength));
  return {ReadRecords(drive.data() / "HN20190101NEW.dat", kLength),
          ReadFile(drive.data() / "FL20190101.dat"), host.Status()};
}

TEST(BreedingHorseStepTest, KeepsTheRecordTheSortLeavesFirstWhenItsCategoryPasses) {
  struct Case {
    const char* name;
    std::vector<Horse> raw;
    std::vector<int> kept;  // raw record numbers, 1 on
  };
  const Case cases[] = {
      {"distinct numbers come out sorted, byte for byte",
       {{"0000000003"}, WithCategory("0000000001", "2"), {"0000000002"}},
       {2, 3, 1}},
      // K, K, K sorts to 3, 2, 1: record 3 stands for the number.
      {"one number three times: the third stands and passes",
       {WithCategory("0000000001", "0"), {"0000000001"}, WithCategory("0000000001", "2")},
       {3}},
      {"one number three times: the third stands and fails",
       {{"0000000001"}, WithCategory("0000000001", "2"), WithCategory("0000000001", "0")},
       {}},
      {"other categories are never written",
       {WithCategory("0000000001", "3"), WithCategory("0000000002", "9"),
        WithCategory("0000000003", " "), WithCategory("0000000004", "1")},
       {4}},
      {"a blank or letter case makes another key",
       {{"000000001 "}, {"00000000A1"}, {"0000000001"}, {"00000000a1"}},
       {3, 1, 2, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDrive drive;
    std::vector<std::string> raw;
    for (const Horse& h : c.raw) raw.push_back(Hn(h));
    std::vector<std::string> expected;
    for (int k : c.kept) expected.push_back(raw[static_cast<std::size_t>(k - 1)]);
    const StepOutput run = RunStep(drive, raw);
    EXPECT_EQ(run.cleaned, expected);
    EXPECT_EQ(run.status, "HN 終わり  " + std::to_string(expected.size()) + " " +
                              std::to_string(expected.size()));
  }
}

TEST(BreedingHorseStepTest, StatusShowsTheCleanedCountAndTheMares) {
  TempDrive drive;
  const StepOutput run = RunStep(
      drive, {Hn({"0000000001"}), Hn(Stallion("0000000002")), Hn({"0000000003"}),
              Hn(WithCategory("0000000004", "0")), Hn(Stallion("0000000005")), Hn({"0000000006"})});
  EXPECT_EQ(run.status, "HN 終わり  5 3");
}

TEST(BreedingHorseStepTest, MissingRawFileGivesEmptyFiles) {
  TempDrive drive;
  testing::WriteFile(drive.data() / "HN20190101NEW.dat", "stale");
  testing::WriteFile(drive.data() / "FL20190101.dat", "stale");
  MainWindowSteps steps;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command7", host), StepResult::kOk);
  EXPECT_EQ(host.Status(), "HN 終わり  0 0");
  EXPECT_TRUE(FileExists(drive.data() / "HN20190101.dat"));
  EXPECT_EQ(FileLength(drive.data() / "HN20190101NEW.dat"), 0u);
  EXPECT_EQ(FileLength(drive.data() / "FL20190101.dat"), 0u);
}

TEST(BreedingHorseStepTest, MissingDataFolderIsReportedAndWritesNothing) {
  TempDrive drive(false);
  MainWindowSteps steps;
  steps.state().recordCount = 9;
  RecordingHost host;
  EXPECT_EQ(testing::Click(kMainWindow, steps, "Command7", host), StepResult::kFailed);
  EXPECT_EQ(host.Status(), "HN（繁殖） エラー: フォルダがありません " + drive.data().string() +
                               " (C:\\MERIDAXPROJECT\\)");
  EXPECT_EQ(steps.state().recordCount, 9);
  EXPECT_FALSE(FolderExists(drive.data()));
}

TEST(BreedingHorseStepTest, FemaleLines) {
  // Numbers: M mares of a chain, X a stallion, others not in the file.
  struct Case {
    const char* name;
    std::vector<Horse> raw;
    std::string expected;
  };
  std::vector<Horse> longChain;  // C01 to C14, each the dam of the one before
  std::vector<std::string> numbers;
  for (int k = 1; k <= 14; ++k)
    numbers.push_back("C0000000" + std::string(k < 10 ? "0" : "") + std::to_string(k));
  for (int k = 0; k < 14; ++k) {
    longChain.push_back({numbers[k], k + 1 < 14 ? std::string_view(numbers[k + 1])
                                                : std::string_view("0000000000")});
  }
  std::string longExpected;
  // Mare C01: generations 1 to 11 found (C02 to C12), the twelfth is C13's number alone.
  // The others follow in file order, each with a shorter found chain.
  for (int first = 0; first < 14; ++first) {
    longExpected += Line(numbers[first], true, numbers[first], longChain[first].dam);
    int g = 1;
    for (; g <= 12; ++g) {
      const int k = first + g;
      if (g == 12 || k >= 14) {
        longExpected += Line(k < 14 ? numbers[k] : "0000000000", false);
        break;
      }
      longExpected += Line(numbers[k], true, numbers[k], longChain[k].dam);
    }
    longExpected += EmptyLines(12 - g);
  }

  const Case cases[] = {
      {"a dam not in the file: her number, then empty lines",
       {{"M000000001", "D000000009"}},
       Line("M000000001", true, "M000000001", "D000000009") + Line("D000000009", false) +
           EmptyLines(11)},
      {"a dam that is a stallion is not found, and the stallion gets no lines",
       {{"M000000001", "X000000001"}, Stallion("X000000001")},
       Line("M000000001", true, "M000000001", "X000000001") + Line("X000000001", false) +
           EmptyLines(11)},
      {"a chain of two found generations, mares in ascending order",
       {{"M000000003", "0000000000"}, {"M000000001", "M000000002"}, {"M000000002", "M000000003"}},
       Line("M000000001", true, "M000000001", "M000000002") +
           Line("M000000002", true, "M000000002", "M000000003") +
           Line("M000000003", true, "M000000003", "0000000000") + Line("0000000000", false) +
           EmptyLines(9) + Line("M000000002", true, "M000000002", "M000000003") +
           Line("M000000003", true, "M000000003", "0000000000") + Line("0000000000", false) +
           EmptyLines(10) + Line("M000000003", true, "M000000003", "0000000000") +
           Line("0000000000", false) + EmptyLines(11)},
      {"her own dam: generations 1 to 11 repeat her, the twelfth her number alone",
       {{"M000000001", "M000000001"}},
       [] {
         std::string s;
         for (int g = 0; g <= 11; ++g) s += Line("M000000001", true, "M000000001", "M000000001");
         return s + Line("M000000001", false);
       }()},
      {"numbers compare exactly: a trailing blank is another number",
       {{"M00000001 ", "M000000010"}, {"M000000001", "M00000001 "}},
       Line("M000000001", true, "M000000001", "M00000001 ") +
           Line("M00000001 ", true, "M00000001 ", "M000000010") + Line("M000000010", false) +
           EmptyLines(10) + Line("M00000001 ", true, "M00000001 ", "M000000010") +
           Line("M000000010", false) + EmptyLines(11)},
      {"a blank dam is a number like another",
       {{"M000000001", "          "}},
       Line("M000000001", true, "M000000001", "          ") + Line("          ", false) +
           EmptyLines(11)},
      {"a chain longer than twelve generations", longChain, longExpected},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDrive drive;
    std::vector<std::string> raw;
    for (const Horse& h : c.raw) raw.push_back(Hn(h));
    const StepOutput run = RunStep(drive, raw);
    EXPECT_EQ(run.lines, c.expected);
    EXPECT_EQ(run.lines, LiteralFemaleLines(run.cleaned));
  }
}

TEST(BreedingHorseStepTest, SecondRunRewritesTheFemaleLinesFromTheStart) {
  TempDrive drive;
  RunStep(drive, {Hn({"M000000001"}), Hn({"M000000002"})});
  const StepOutput run = RunStep(drive, {Hn({"M000000003", "M000000009"})});
  EXPECT_EQ(run.lines, Line("M000000003", true, "M000000003", "M000000009") +
                           Line("M000000009", false) + EmptyLines(11));
}

TEST(BreedingHorseStepTest, SameFilesAsTheLiteralProcedureOnARandomWorld) {
  // Few numbers, so that chains, loops, duplicates and stallion dams all occur.
  std::mt19937 random(20190101);
  const auto number = [&](int range) {
    const int k = static_cast<int>(random() % static_cast<unsigned>(range));
    return std::string(k % 7 == 0 ? "X" : "M") + std::string(7, '0') + std::to_string(100 + k);
  };
  for (int world = 0; world < 5; ++world) {
    SCOPED_TRACE(world);
    std::vector<std::string> raw;
    std::vector<std::string> numbers;
    for (int r = 0; r < 400; ++r) {
      const std::string own = number(300);
      const std::string dam = random() % 10 == 0 ? std::string(10, ' ') : number(320);
      const std::string_view sex = random() % 4 == 0 ? "1" : "2";
      const std::string_view category = random() % 8 == 0 ? "0" : "1";
      raw.push_back(Hn({own, dam, sex, category}));
    }
    TempDrive drive;
    const StepOutput run = RunStep(drive, raw);
    EXPECT_FALSE(run.lines.empty());
    EXPECT_EQ(run.lines, LiteralFemaleLines(run.cleaned));
  }
}

}  // namespace
}  // namespace meridax
