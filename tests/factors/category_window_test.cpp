#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "datasetup/factors/category_courses.h"
#include "datasetup/factors/category_steps.h"
#include "platform/drive.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tests/support/unprivileged.h"

namespace meridax {
namespace {

using testing::TempDrive;
using testing::WriteFile;

// 30 lines of one number each.
std::string Lines(const std::vector<std::string>& items) {
  std::string text;
  for (const auto& item : items) text += item + "\r\n";
  return text;
}

std::vector<std::string> Totals(std::initializer_list<std::pair<int, int>> nonZero) {
  std::vector<std::string> totals(30, "0");
  for (const auto& [k, n] : nonZero) totals[static_cast<std::size_t>(k - 1)] = std::to_string(n);
  return totals;
}

void WriteOption(const std::string& name, const std::string& text) {
  WriteFile(DataPath(name), text);
}

// A complete table set of one kind: item 1 has two categories, item 3 one, the rest none.
void WriteKindTables(CourseKind kind) {
  const CategoryTableFiles files = CategoryTableFilesOf(kind);
  WriteOption(files.totals, Lines(Totals({{1, 2}, {3, 1}})));
  WriteOption(files.categories, Lines({"\"A  \"", "\"B\"", "\"Z\""}));
  WriteOption(files.agariWeights, Lines({"0.1", "-2.5", "1e-3"}));
  WriteOption(files.paceWeights, Lines({"1", "2", "3"}));
  WriteOption(files.sohaWeights, Lines({"4", "5", "6"}));
  WriteOption(files.counts, Lines({"7", "8", "9"}));
}

// The load's message, a line per failed group.
std::vector<std::string> LinesOf(const std::string& message) {
  std::vector<std::string> lines;
  std::stringstream text(message);
  for (std::string line; std::getline(text, line);) lines.push_back(line);
  return lines;
}

TEST(CategoryWindow, LoadsTheTablesOfEveryKindRowsFromOneAndNothingForAZeroTotal) {
  TempDrive drive;
  testing::WriteIdList(DataPath("KETTONUM20190101.dat"), {"2016100001", "2017100002"});
  WriteFile(DataPath("KETTOMASSHO.dat"), "\"2016100001\",\"1\"\r\n");
  std::string mare;
  for (int i = 0; i < 78; ++i)
    mare += "\"v" + std::to_string(i) + "\"" + (i % 6 == 5 ? "\r\n" : ",");
  WriteFile(DataPath("FL20190101.dat"), mare);
  for (const CourseKind kind : kCourseKinds) WriteKindTables(kind);

  CategorySteps window;
  RecordingHost host;
  window.Form_Load(host);
  EXPECT_TRUE(host.messages().empty());
  const CategoryWindowState& s = window.state();
  EXPECT_EQ(s.HorseIdCount, 2);
  EXPECT_EQ(s.HorseIdTable[2], "2017100002");
  EXPECT_EQ(s.RegistrationStatusCount, 1);
  EXPECT_EQ(s.RegistrationStatusTable[1][1], "1");
  EXPECT_EQ(s.FemaleLineCount, 1);
  // All 78 values read (no second mare begun); each generation has a value 1, so the
  // mare has no root.
  EXPECT_EQ(s.FemaleLines.Count(), 1);
  EXPECT_FALSE(s.FemaleLines.Root("v0"));
  for (const CourseKind kind : kCourseKinds) {
    const CourseCategoryTables& t = s.tables[static_cast<std::size_t>(kind)];
    EXPECT_EQ(t.totals[1], 2);
    EXPECT_EQ(t.totals[2], 0);
    EXPECT_EQ(t.codes[1], (std::vector<std::string>{"", "A  ", "B"}));
    EXPECT_EQ(t.codes[2].size(), 1u);
    EXPECT_EQ(t.codes[3][1], "Z");
    // Single precision, rounded once from the text.
    EXPECT_EQ(t.agari[1][1], 0.1f);
    EXPECT_EQ(t.agari[1][2], -2.5f);
    EXPECT_EQ(t.agari[3][1], 0.001f);
    EXPECT_EQ(t.pace[3][1], 3.0f);
    EXPECT_EQ(t.soha[1][2], 5.0f);
    EXPECT_EQ(t.counts[3][1], 9);
  }
  EXPECT_EQ(window.text1, "Text1");
}

TEST(CategoryWindow, AFailureStopsOnlyItsGroupIsReportedAndKeepsWhatItRead) {
  TempDrive drive;
  // No id list, no registration list; a female-line file cut inside its second mare.
  std::string lines;
  for (int i = 0; i < 80; ++i) lines += "\"x\"\r\n";
  WriteFile(DataPath("FL20190101.dat"), lines);
  // Turf: the Soha weights stop one row short; dirt: no files; jump complete.
  WriteKindTables(CourseKind::kTurf);
  WriteOption(CategoryTableFilesOf(CourseKind::kTurf).sohaWeights, Lines({"4", "5"}));
  WriteKindTables(CourseKind::kJump);

  CategorySteps window;
  RecordingHost host;
  window.Form_Load(host);
  // One message, a line per failed group.
  ASSERT_EQ(host.messages().size(), 1u);
  const std::vector<std::string> m = LinesOf(host.messages()[0]);
  ASSERT_EQ(m.size(), 5u);
  EXPECT_NE(m[0].find("KETTONUM20190101.dat"), std::string::npos) << m[0];
  EXPECT_NE(m[1].find("KETTOMASSHO.dat"), std::string::npos) << m[1];
  EXPECT_NE(m[2].find("FL20190101.dat の 81 番目"), std::string::npos) << m[2];
  EXPECT_NE(m[3].find("OPTION1N\\QA1SibaSohaWeightData201901N2025.dat の 3 番目"),
            std::string::npos)
      << m[3];
  EXPECT_NE(m[4].find("QA1DirtTotalData201901N2025.dat"), std::string::npos) << m[4];

  const CategoryWindowState& s = window.state();
  EXPECT_EQ(s.HorseIdCount, 0);
  EXPECT_EQ(s.FemaleLineCount, 2);
  // The second mare has her number and one more value: her first generation reads empty,
  // so she has an empty root, and as the later of the two mares "x" her root wins.
  EXPECT_EQ(s.FemaleLines.Root("x"), std::optional<std::string_view>(""));
  const CourseCategoryTables& turf = s.tables[1];
  EXPECT_EQ(turf.pace[3][1], 3.0f);  // read before the Soha weight of the same row failed
  EXPECT_EQ(turf.soha[3][1], 0.0f);
  EXPECT_EQ(turf.counts[1][1], 0);       // the count file comes after the weights
  EXPECT_EQ(turf.counts[3].size(), 2u);  // rows stay addressable up to the total
  EXPECT_EQ(s.tables[2].totals[1], 0);
  EXPECT_EQ(s.tables[3].counts[3][1], 9);
  EXPECT_EQ(window.text1, "Text1");
}

// The tables hold 0 to 6000 rows an item: a total outside that stops that kind's load at the
// total, reported as any failure of the load, and no table is sized from it. A negative total
// read on would leave that item's rows in the files to be read as the next items'.
TEST(CategoryWindow, ATotalOutsideTheTablesRowsStopsItsKindsLoadAtThatTotal) {
  struct Case {
    int item;
    const char* total;
    const char* failure;  // where the load stops
  };
  const Case cases[] = {
      {3, "6001", "QA1SibaTotalData201901N2025.dat の 3 番目の項目: 分類の数 6001 が"},
      {1, "20000000", "QA1SibaTotalData201901N2025.dat の 1 番目の項目: 分類の数 20000000 が"},
      {1, "2147483647", "QA1SibaTotalData201901N2025.dat の 1 番目の項目: 分類の数 2147483647 が"},
      {3, "-1", "QA1SibaTotalData201901N2025.dat の 3 番目の項目: 分類の数 -1 が負です"},
      {1, "-2147483647",
       "QA1SibaTotalData201901N2025.dat の 1 番目の項目: 分類の数 -2147483647 が負です"},
      // 6000 rows fit: the category file, three codes long, is where this load stops.
      {1, "6000", "SibaItemCategory201901N2025.dat の 4 番目の項目"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.total);
    TempDrive drive;
    for (const CourseKind kind : kCourseKinds) WriteKindTables(kind);
    std::vector<std::string> totals = Totals({{1, 2}, {3, 1}});
    totals[static_cast<std::size_t>(c.item - 1)] = c.total;
    WriteOption(CategoryTableFilesOf(CourseKind::kTurf).totals, Lines(totals));

    CategorySteps window;
    RecordingHost host;
    window.Form_Load(host);
    ASSERT_EQ(host.messages().size(), 1u);
    // The id, registration and female-line files are missing; the turf tables come next.
    const std::vector<std::string> m = LinesOf(host.messages()[0]);
    ASSERT_EQ(m.size(), 4u);
    EXPECT_NE(m[3].find(c.failure), std::string::npos) << m[3];

    const CourseCategoryTables& turf = window.state().tables[1];
    if (std::string_view(c.total) != "6000") {
      // The totals before it stay loaded; nothing after it is read.
      EXPECT_EQ(turf.totals[1], c.item > 1 ? 2 : 0);
      EXPECT_EQ(turf.totals[static_cast<std::size_t>(c.item)], 0);
      EXPECT_EQ(turf.codes[1], std::vector<std::string>(c.item > 1 ? 3 : 1));
    }
    for (int k = 1; k <= kFactorItemCount; ++k) EXPECT_LE(turf.codes[k].size(), 6001u);
    // The other kinds load as ever.
    for (const std::size_t other : {2u, 3u}) {
      EXPECT_EQ(window.state().tables[other].codes[1][2], "B");
      EXPECT_EQ(window.state().tables[other].counts[3][1], 9);
    }
  }
}

TEST(CategoryWindow, ATotalsFileWithTheDataFoldersLeadingPairIsReadAsTotals) {
  TempDrive drive;
  // The categorisation's own totals file starts with the record count and 30; the window's
  // OPTION1N copy has no such pair, so one copied over reads its pair as two totals.
  std::vector<std::string> totals{"1,30"};
  for (const auto& t : Totals({{1, 1}})) totals.push_back(t);
  WriteOption(CategoryTableFilesOf(CourseKind::kTurf).totals, Lines(totals));
  WriteOption(CategoryTableFilesOf(CourseKind::kTurf).categories,
              Lines(std::vector<std::string>(32, "\"c\"")));
  CategorySteps window;
  RecordingHost host;
  window.Form_Load(host);
  const CourseCategoryTables& turf = window.state().tables[1];
  EXPECT_EQ(turf.totals[1], 1);
  EXPECT_EQ(turf.totals[2], 30);
  EXPECT_EQ(turf.totals[3], 1);
  EXPECT_EQ(turf.codes[2].size(), 31u);
}

// An input that stands but cannot be read is reported so, with why, not as missing.
TEST(CategoryWindow, AnInputThatCannotBeReadIsReportedSoNotAsMissing) {
  TempDrive drive;
  std::filesystem::permissions(
      drive.root(), std::filesystem::perms::others_read | std::filesystem::perms::others_exec,
      std::filesystem::perm_options::add);
  const auto list = DataPath("KETTONUM20190101.dat");
  const std::string line = "読み込みエラー: C:\\MERIDAXPROJECT\\KETTONUM20190101.dat ";
  const struct {
    const char* name;
    std::function<void()> setUp;
    std::string says;
    bool unprivileged = false;
  } cases[] = {
      {"missing", [] {}, line + "がありません"},
      {"a loop of links", [&] { std::filesystem::create_symlink(list.filename(), list); },
       line + "を読めません: シンボリックリンクが循環しています"},
      {"a folder in its place", [&] { std::filesystem::create_directory(list); },
       line + "を読めません: ファイルの場所にフォルダがあります"},
      {"no permission on it",
       [&] {
         testing::WriteIdList(list, {"2016100001"});
         std::filesystem::permissions(list, std::filesystem::perms::none);
       },
       line + "を読めません: 権限がありません", true},
      {"no permission on the data folder",
       [&] {
         testing::WriteIdList(list, {"2016100001"});
         std::filesystem::permissions(DataPath(), std::filesystem::perms::owner_all);
       },
       line + "を読めません: 権限がありません", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.setUp();
    const auto firstLine = [] {
      CategorySteps window;
      RecordingHost host;
      window.Form_Load(host);
      return host.messages().empty() ? std::string() : LinesOf(host.messages()[0]).at(0);
    };
    EXPECT_EQ(c.unprivileged ? testing::RunUnprivileged(firstLine) : firstLine(), c.says);
    std::filesystem::permissions(DataPath(), std::filesystem::perms::owner_all |
                                                 std::filesystem::perms::others_read |
                                                 std::filesystem::perms::others_exec);
    std::filesystem::remove_all(list);
  }
}

TEST(CategoryWindow, TwoWindowsKeepSeparateState) {
  TempDrive drive;
  testing::WriteIdList(DataPath("KETTONUM20190101.dat"), {"2016100001"});
  CategorySteps first;
  RecordingHost host;
  first.Form_Load(host);
  testing::WriteIdList(DataPath("KETTONUM20190101.dat"), {"2016100001", "2016100002"});
  first.option = 2;
  first.text1 = "201901";
  first.state().CurrentItemRecord[30] = 'X';

  CategorySteps second;
  second.Form_Load(host);
  EXPECT_EQ(first.state().HorseIdCount, 1);
  EXPECT_EQ(second.state().HorseIdCount, 2);
  EXPECT_EQ(second.option, 0);
  EXPECT_EQ(second.text1, "Text1");
  EXPECT_EQ(second.state().CurrentItemRecord, BlankFactorItemRecord());
  EXPECT_EQ(second.grid.Rows(), 5701);
  EXPECT_EQ(second.grid.Cols(), 61);
}

}  // namespace
}  // namespace meridax
