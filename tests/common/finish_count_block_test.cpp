#include "datasetup/common/finish_count_block.h"

#include <gtest/gtest.h>

#include "datasetup/common/horse_stat_record.h"
#include "records/horse_layouts.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

namespace um = records::um;
using testing::FieldValue;
using testing::MakeRecord;
using testing::ReadFile;
using testing::TempDrive;

constexpr std::size_t kHorseLength = 1609;

// A horse record whose every count and total is zero, then the given fields.
std::string Horse(std::initializer_list<FieldValue> fields) {
  std::string rec = MakeRecord(kHorseLength, {{um::HorseId, "2016104567"}});
  for (const auto f : {um::FinishCountsByTrack, um::FinishCountsByGoing, um::FinishCountsByDistance,
                       um::FinishCountsOverall, um::FinishCountsJra, um::RunningStyleCounts}) {
    for (int k = 1; k <= f.count; ++k) {
      records::Put(rec, f.At(k), std::string(static_cast<std::size_t>(f.width), '0'));
    }
  }
  for (const auto f :
       {um::FlatPrizeTotal, um::JumpPrizeTotal, um::FlatEarningsTotal, um::JumpEarningsTotal}) {
    records::Put(rec, f, "000000000");
  }
  for (const auto& f : fields) records::Put(rec, f.field, f.text);
  return rec;
}

std::string Block(std::string_view horse) {
  TempDrive drive;
  const auto path = drive.data() / "B.dat";
  {
    TextWriter out(path, TextWriter::Mode::kOutput);
    WriteFinishCountBlock(horse, out);
  }
  return ReadFile(path);
}

std::string Line(const std::string& block, int line) {
  std::size_t at = 0;
  for (int l = 1; l < line; ++l) at = block.find("\r\n", at) + 2;
  return block.substr(at, block.find("\r\n", at) - at);
}

TEST(FinishCountBlockTest, AHorseWithoutRacesHasZerosAndItsTotals) {
  const std::string block = Block(Horse({{um::FlatEarningsTotal, "000000000"}}));
  ASSERT_EQ(block.size(), 27 * (6 * 5 + 5 + 2) + 2 * (4 * 5 + 2 * 11 + 5 + 2));
  for (int line = 1; line <= 25; ++line) {
    EXPECT_EQ(Line(block, line), R"("000","000","000","000","000","000")") << line;
  }
  EXPECT_EQ(Line(block, 26), R"("000","000","000","000","000000000","000000000")");
  EXPECT_EQ(Line(block, 29), R"("000","000","000","000","000000000","000000000")");
  EXPECT_EQ(FinishCountValuesOf(Horse({})), FinishCountValues{});
}

TEST(FinishCountBlockTest, EarningsFlagsFollowTheTotals) {
  struct Case {
    const char* flat;
    const char* jump;
    const char* line;
  } cases[] = {
      {"000123456", "000000000", R"("000","000","001","000","000123456","000000000")"},
      {"000000000", "000000001", R"("000","000","000","001","000000000","000000001")"},
      {"000000000", "000000000", R"("000","000","000","000","000000000","000000000")"},
      {"000000010", "000000020", R"("000","000","001","001","000000010","000000020")"},
      {"         ", "000000000", R"("000","000","000","000","         ","000000000")"},
  };
  for (const auto& c : cases) {
    const std::string horse =
        Horse({{um::FlatEarningsTotal, c.flat}, {um::JumpEarningsTotal, c.jump}});
    EXPECT_EQ(Line(Block(horse), 29), c.line) << c.flat << " " << c.jump;
  }
}

TEST(FinishCountBlockTest, ValuesStandInReadingOrderAsStored) {
  const std::string horse = Horse({{um::FinishCountsByTrack.At(1).Cell(1), "005"},
                                   {um::FinishCountsByTrack.At(7).Cell(6), "042"},
                                   {um::FinishCountsByGoing.At(1).Cell(1), "043"},
                                   {um::FinishCountsByGoing.At(12).Cell(6), "114"},
                                   {um::FinishCountsByDistance.At(6).Cell(6), "150"},
                                   {um::RunningStyleCounts.At(1), "151"},
                                   {um::RunningStyleCounts.At(4), "154"},
                                   {um::FlatPrizeTotal, "000123456"},
                                   {um::JumpPrizeTotal, "000000156"},
                                   {um::FinishCountsOverall.At(1), "157"},
                                   {um::FinishCountsJra.At(6), "168"},
                                   {um::FlatEarningsTotal, "000000173"},
                                   {um::JumpEarningsTotal, "000000174"}});
  const std::string block = Block(horse);
  EXPECT_EQ(Line(block, 1), R"("005","000","000","000","000","000")");  // leading zeros kept
  EXPECT_EQ(Line(block, 26), R"("151","000","000","154","000123456","000000156")");
  const FinishCountValues v = FinishCountValuesOf(horse);
  for (const int i : {42, 43, 114, 150, 151, 154, 156, 157, 168, 173, 174}) {
    EXPECT_EQ(v[i], i) << i;
  }
  EXPECT_EQ(v[1], 5);
  EXPECT_EQ(v[155], 123456);
  EXPECT_EQ(v[171], 1);  // the flat earnings flag

  TempDrive drive;
  {
    TextWriter out(drive.data() / "V.dat", TextWriter::Mode::kOutput);
    WriteFinishCountVector(v, out);
  }
  const std::string vector = ReadFile(drive.data() / "V.dat");
  EXPECT_EQ(vector.substr(0, 12), "5\r\n0\r\n0\r\n0\r\n");
  EXPECT_NE(vector.find("\r\n123456\r\n156\r\n157\r\n"), std::string::npos);
  EXPECT_EQ(std::count(vector.begin(), vector.end(), '\n'), 174);
}

TEST(FinishCountBlockTest, ValuesFromTheRecordEqualTheBlockReadBack) {
  const std::string odd[] = {"  5", "5  ", "12a", "-01", "+02", " . ", "1.5", "2.5", "1e2"};
  std::vector<std::string> horses = {Horse({}), MakeRecord(kHorseLength, {})};
  for (const auto& text : odd) {
    horses.push_back(Horse({{um::FinishCountsJra.At(2), text},
                            {um::FinishCountsByGoing.At(3).Cell(4), text},
                            {um::JumpPrizeTotal, "99999" + text},
                            {um::FlatEarningsTotal, text}}));
  }
  TempDrive drive;
  for (const auto& horse : horses) {
    const auto path = drive.data() / "B.dat";
    {
      TextWriter out(path, TextWriter::Mode::kOutput);
      WriteFinishCountBlock(horse, out);
    }
    ItemReader in(path);
    EXPECT_EQ(ReadFinishCountBlock(in), FinishCountValuesOf(horse));
  }
  EXPECT_EQ(FinishCountValue("999999999"), 999999999);
  EXPECT_EQ(FinishCountValue("9999999999"), 0);  // beyond a 32-bit slot
}

TEST(HorseStatRecordTest, RatesCountsMoneyAndRunningStyle) {
  struct Case {
    const char* name;
    std::initializer_list<FieldValue> fields;
    records::FieldRef field;
    const char* expected;
  } cases[] = {
      {"3 in 8",
       {{um::FinishCountsOverall.At(1), "003"}, {um::FinishCountsOverall.At(6), "005"}},
       horse_stat::OverallTop3Rate,
       "037500"},
      {"7 in 10 in single precision",
       {{um::FinishCountsJra.At(3), "007"}, {um::FinishCountsJra.At(4), "003"}},
       horse_stat::JraTop3Rate,
       "069999"},
      {"1 in 1", {{um::FinishCountsOverall.At(2), "001"}}, horse_stat::OverallTop3Rate, "100000"},
      {"no central starts", {}, horse_stat::JraTop3Rate, "000000"},
      {"no central starts count", {}, horse_stat::JraStarts, "000000"},
      {"central starts",
       {{um::FinishCountsJra.At(1), "002"}, {um::FinishCountsJra.At(6), "010"}},
       horse_stat::JraStarts,
       "000012"},
      {"jump starts: the track row 7",
       {{um::FinishCountsByTrack.At(7).Cell(6), "004"}},
       horse_stat::JumpStarts,
       "000004"},
      {"money", {{um::FlatPrizeTotal, "000123456"}}, horse_stat::FlatPrizeTotal, "000123456"},
      {"jump earnings",
       {{um::JumpEarningsTotal, "000000007"}},
       horse_stat::JumpEarningsTotal,
       "000000007"},
      {"line of zeros", {}, horse_stat::LineTop3Rates.At(7), "000000"},
      {"going line 12",
       {{um::FinishCountsByGoing.At(12).Cell(1), "001"},
        {um::FinishCountsByGoing.At(12).Cell(5), "003"}},
       horse_stat::LineTop3Rates.At(19),
       "025000"},
      {"distance line 6",
       {{um::FinishCountsByDistance.At(6).Cell(2), "001"},
        {um::FinishCountsByDistance.At(6).Cell(6), "002"}},
       horse_stat::LineTop3Rates.At(25),
       "033333"},
      {"styles 2 1 5 4",
       {{um::RunningStyleCounts.At(1), "002"},
        {um::RunningStyleCounts.At(2), "001"},
        {um::RunningStyleCounts.At(3), "005"},
        {um::RunningStyleCounts.At(4), "004"}},
       horse_stat::RunningStyle,
       "1300  "},
      {"styles 1 0 9 0",
       {{um::RunningStyleCounts.At(1), "001"}, {um::RunningStyleCounts.At(3), "009"}},
       horse_stat::RunningStyle,
       "1400  "},
      {"styles 0 0 3 2",
       {{um::RunningStyleCounts.At(3), "003"}, {um::RunningStyleCounts.At(4), "002"}},
       horse_stat::RunningStyle,
       "0000  "},
      {"styles 1 0 0 0",
       {{um::RunningStyleCounts.At(1), "001"}},
       horse_stat::RunningStyle,
       "1000  "},
  };
  for (const auto& c : cases) {
    const std::string horse = Horse(c.fields);
    const std::string rec = BuildHorseStatRecord("2016104567", FinishCountValuesOf(horse));
    ASSERT_EQ(rec.size(), 228u);
    EXPECT_EQ(records::View(rec, c.field), c.expected) << c.name;
    EXPECT_EQ(records::View(rec, horse_stat::HorseId), "2016104567");
    EXPECT_EQ(rec.substr(226), "\r\n");
  }
}

}  // namespace
}  // namespace meridax
