#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "datasetup/factors/category_courses.h"
#include "datasetup/factors/category_steps.h"
#include "platform/drive.h"
#include "tests/factors/category_fixtures.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

namespace fi = factor_item;
using testing::ReadFile;

// An item record: the three speed fields and the codes of items 1, 2, 3 and 8; every other
// item blank.
std::string ItemRecord(const char* agari, const char* pace, const char* soha, const char* i1,
                       const char* i2, const char* i3, const char* i8) {
  std::string r = BlankFactorItemRecord();
  records::Put(r, fi::AgariFigure, agari);
  records::Put(r, fi::PaceFigure, pace);
  records::Put(r, fi::SohaFigure, soha);
  records::Put(r, fi::Item(1), i1);
  records::Put(r, fi::Item(2), i2);
  records::Put(r, fi::Item(3), i3);
  records::Put(r, fi::Item(8), i8);
  return r;
}

std::string Padded(std::string code, int k) {
  code.resize(static_cast<std::size_t>(fi::Item(k).width), ' ');
  return code;
}

const std::string kKatakanaA = "\x83\x41";  // code page 932 "ア"

// Five records: items 1 and 8 are B, A, B, C, A; item 2 X but once a double-byte code;
// item 3 five distinct codes; the speeds run through the traps of their text.
void WriteTurfItems() {
  testing::WriteRecords(
      DataPath(FactorItemFileName(CourseKind::kTurf)),
      {ItemRecord("6260869", "0100000", "6095238", "B", "X", "a", "B"),
       ItemRecord("6000000", "       ", "6095238", "A", kKatakanaA.c_str(), "b", "A"),
       ItemRecord("5759999", "0050000", "6095238", "B", "X", "c", "B"),
       ItemRecord("       ", "9999999", "6095238", "C", "X", "d", "C"),
       ItemRecord("0000000", "0000001", "6095238", "A", "X", "e", "A")});
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

TEST(Categorisation, WritesTheCategoryCountTotalsAndDataFilesOfAHandMadeItemFile) {
  testing::TempDrive drive;
  WriteTurfItems();
  CategorySteps window;
  window.text1 = "untouched";
  RecordingHost host;
  ASSERT_EQ(testing::Press(window, "Command5", host), StepResult::kOk);
  EXPECT_EQ(window.text1, "untouched");
  EXPECT_TRUE(host.statusHistory().empty());

  // Item 1 by count, the tie of A and B as the exact sort leaves it; item 3's five equal
  // counts come out d, e, c, a, b; item 8 by code.
  std::vector<std::string> categories{"\"A        \"", "\"B        \"", "\"C        \"",
                                      "\"X          \"", "\"" + Padded(kKatakanaA, 2) + "\""};
  for (const char* c : {"d", "e", "c", "a", "b"}) categories.push_back("\"" + Padded(c, 3) + "\"");
  std::vector<std::string> counts{"2", "2", "1", "4", "1", "1", "1", "1", "1", "1"};
  std::vector<std::string> totals{"5,30", "3", "2", "5"};
  for (int k = 4; k <= 30; ++k) {
    if (k == 8) {
      for (const char* c : {"A", "B", "C"}) categories.push_back("\"" + Padded(c, 8) + "\"");
      counts.insert(counts.end(), {"2", "2", "1"});
      totals.push_back("3");
    } else {
      categories.push_back("\"" + Padded("", k) + "\"");
      counts.push_back("5");
      totals.push_back("1");
    }
  }
  EXPECT_EQ(ReadFile(DataPath("SibaItemCategory201901N2025.dat")), Lines(categories));
  EXPECT_EQ(ReadFile(DataPath("SibaItemCategoryCount201901N2025.dat")), Lines(counts));
  EXPECT_EQ(ReadFile(DataPath("QA1SibaTotalData201901N2025.dat")), Lines(totals));

  // Category numbers of items 1, 2, 3 and 8 per record; every other item has one category.
  const std::array<std::array<int, 4>, 5> numbers{
      {{2, 1, 4, 2}, {1, 2, 5, 1}, {2, 1, 3, 2}, {3, 1, 1, 3}, {1, 1, 2, 1}}};
  const auto data = [&](std::array<const char*, 5> speeds) {
    std::vector<std::string> lines = totals;
    for (std::size_t r = 0; r < 5; ++r) {
      std::string line = speeds[r];
      for (int k = 1; k <= 30; ++k) {
        const int column = k == 1 ? 0 : k == 2 ? 1 : k == 3 ? 2 : k == 8 ? 3 : -1;
        line += "," + std::to_string(column < 0 ? 1 : numbers[r][static_cast<std::size_t>(column)]);
      }
      lines.push_back(line);
    }
    return Lines(lines);
  };
  // A field that does not convert repeats the value of the line before.
  EXPECT_EQ(ReadFile(DataPath("QA1SibaAgariData201901N2025.dat")),
            data({"62.60869", "60", "57.59999", "57.59999", "0"}));
  EXPECT_EQ(ReadFile(DataPath("QA1SibaPaceData201901N2025.dat")),
            data({"1", "1", "0.5", "99.99999", "0.00001"}));
  EXPECT_EQ(ReadFile(DataPath("QA1SibaSohaData201901N2025.dat")),
            data({"60.95238", "60.95238", "60.95238", "60.95238", "60.95238"}));

  EXPECT_EQ(window.state().ItemRecordCount, 5);
  EXPECT_EQ(window.state().CurrentItemRecord,
            ItemRecord("0000000", "0000001", "6095238", "A", "X", "e", "A"));
}

TEST(Categorisation, FillsTheGridAndNeverClearsIt) {
  testing::TempDrive drive;
  WriteTurfItems();
  testing::WriteRecords(DataPath(FactorItemFileName(CourseKind::kJump)),
                        {ItemRecord("6000000", "6000000", "6000000", "Q", "Q", "Q", "Q")});
  CategorySteps window;
  RecordingHost host;
  testing::Press(window, "Command5", host);
  const TextGrid& g = window.grid;
  EXPECT_EQ(g.TextMatrix(0, 0), "芝IC");
  EXPECT_EQ(g.TextMatrix(0, 1), "(1)年場回日ト");
  EXPECT_EQ(g.TextMatrix(0, 2), "(1)n");
  EXPECT_EQ(g.TextMatrix(0, 59), "(30)前々走馬体重増減");
  EXPECT_EQ(g.TextMatrix(0, 60), "(30)n");
  EXPECT_EQ(g.TextMatrix(1, 0), "1");
  EXPECT_EQ(g.TextMatrix(5700, 0), "5700");
  EXPECT_EQ(g.TextMatrix(1, 1), "A        ");
  EXPECT_EQ(g.TextMatrix(3, 2), "1");
  EXPECT_EQ(g.TextMatrix(2, 3), "ア         ");
  EXPECT_EQ(g.TextMatrix(5, 5), "b        ");
  EXPECT_EQ(g.TextMatrix(1, 60), "5");
  EXPECT_EQ(g.TextMatrix(2, 60), "");

  testing::Press(window, "Command7", host);
  EXPECT_EQ(g.TextMatrix(0, 0), "障IC");
  EXPECT_EQ(g.TextMatrix(1, 1), "Q        ");
  EXPECT_EQ(g.TextMatrix(1, 2), "1");
  EXPECT_EQ(g.TextMatrix(2, 1), "B        ");  // the turf step's cells stay below
  EXPECT_EQ(g.TextMatrix(5, 6), "1");
  // The jump files hold the jump categories alone.
  EXPECT_EQ(ReadFile(DataPath("ShogItemCategory201901N2025.dat")).substr(0, 30),
            "\"Q        \"\r\n\"Q          \"\r\n\"Q");
  EXPECT_EQ(window.state().derived.totals[1], 1);
}

TEST(Categorisation, AMissingItemFileGivesTotalsOfZero) {
  testing::TempDrive drive;
  CategorySteps window;
  RecordingHost host;
  ASSERT_EQ(testing::Press(window, "Command6", host), StepResult::kOk);
  const std::string head = Lines({"0,30"}) + Lines(std::vector<std::string>(30, "0"));
  EXPECT_EQ(ReadFile(DataPath("QA1DirtTotalData201901N2025.dat")), head);
  for (const char* speed : {"Agari", "Pace", "Soha"}) {
    EXPECT_EQ(ReadFile(DataPath(std::string("QA1Dirt") + speed + "Data201901N2025.dat")), head);
  }
  EXPECT_EQ(ReadFile(DataPath("DirtItemCategory201901N2025.dat")), "");
  EXPECT_EQ(ReadFile(DataPath("DirtItemCategoryCount201901N2025.dat")), "");
  EXPECT_EQ(window.grid.TextMatrix(0, 0), "ダIC");
  EXPECT_EQ(window.state().CurrentItemRecord, BlankFactorItemRecord());
}

}  // namespace
}  // namespace meridax
