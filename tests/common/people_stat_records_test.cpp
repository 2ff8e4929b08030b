#include "datasetup/common/people_stat_records.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/support/record_fixture.h"

namespace meridax {
namespace {

using records::FieldRef;
using records::Put;
using records::View;
using Six = std::array<int, 6>;

// Six digits, as the service writes a count.
std::string SixDigits(int n) {
  std::string s = std::to_string(n);
  return std::string(6 - s.size(), '0') + s;
}

void PutCounts(std::string& rec, FieldRef six, const Six& counts) {
  for (int c = 1; c <= 6; ++c) {
    const FieldRef f = six.cells > 1 ? six.Cell(c) : six.At(c);
    Put(rec, f, SixDigits(counts[c - 1]));
  }
}

// A person record with every count "000000", then the rows given (block 1-3, row 1-6).
struct Row {
  int block, row;
  Six counts;
};
std::string Person(const records::Layout& layout, const PersonRecordFields& src,
                   std::string_view code, std::initializer_list<Row> rows, Six jump = {},
                   int jumpBlock = 3) {
  std::string rec = testing::MakeRecord(static_cast<std::size_t>(layout.storedLength), {});
  Put(rec, src.code, code);
  for (int b = 1; b <= 3; ++b) {
    for (int r = 1; r <= 6; ++r) PutCounts(rec, src.distanceFinishCounts.In(b).At(r), {});
    PutCounts(rec, src.jumpFinishCounts.In(b), {});
  }
  for (const Row& r : rows)
    PutCounts(rec, src.distanceFinishCounts.In(r.block).At(r.row), r.counts);
  PutCounts(rec, src.jumpFinishCounts.In(jumpBlock), jump);
  Put(rec, src.flatPrizeTotal.In(3), "123456789");
  Put(rec, src.jumpPrizeTotal.In(3), "000004321");
  Put(rec, src.flatPrizeTotal.In(1), "999999999");
  return rec;
}

TEST(PeopleStatRecordsTest, LayoutsStandWhereReadersLookForThem) {
  namespace ps = person_stat;
  EXPECT_EQ(ps::TotalTurfTop3Rate.pos, 30);
  EXPECT_EQ(ps::JumpTop3Rate.pos, 42);
  EXPECT_EQ(ps::JumpTop2Rate.pos, 84);
  EXPECT_EQ(ps::TotalFlatPrize.pos, 90);
  EXPECT_EQ(ps::TotalJumpPrize.pos, 99);
  EXPECT_EQ(ps::TotalFlatRuns.pos, 108);
  EXPECT_EQ(ps::LineEnd.pos, 120);
  EXPECT_EQ(breeder_owner_stat::TotalPrize.pos, 19);
  EXPECT_EQ(breeder_owner_stat::Runs.pos, 28);
}

TEST(PeopleStatRecordsTest, JockeyStatistics) {
  namespace ps = person_stat;
  const std::string rec =
      Person(records::kJockeyLayout, kJockeyStatSources, "01234",
             {
                 {1, 1, {1, 0, 0, 0, 0, 0}},          // this year turf: 1 / 1
                 {1, 4, {0, 1, 0, 2, 0, 1}},          // this year dirt: top3 1 / 4, top2 1 / 4
                 {2, 5, {1, 0, 0, 0, 0, 2}},          // last year dirt: 1 / 3; no turf runs
                 {3, 1, {2, 2, 1, 1, 1, 0}},          // career turf rows add up:
                 {3, 3, {0, 1, 1, 0, 0, 1}},          //   top3 7, top2 5, runs 10
                 {3, 6, {20000, 0, 0, 0, 0, 20000}},  // career dirt: runs past 32767
             },
             {0, 1, 2, 0, 0, 1});
  const std::string stat = BuildPersonStatRecord(rec, kJockeyStatSources);
  ASSERT_EQ(stat.size(), 121u);
  const struct {
    FieldRef field;
    const char* value;
  } expected[] = {
      {ps::PersonCode, "01234"},
      {ps::ThisYearTurfTop3Rate, "100000"},
      {ps::ThisYearTurfTop2Rate, "100000"},
      {ps::ThisYearDirtTop3Rate, "025000"},
      {ps::ThisYearDirtTop2Rate, "025000"},
      {ps::LastYearTurfTop3Rate, "000000"},
      {ps::LastYearTurfTop2Rate, "000000"},
      {ps::LastYearDirtTop3Rate, "033333"},
      {ps::LastYearDirtTop2Rate, "033333"},
      {ps::TotalTurfTop3Rate, "069999"},  // 7 / 10 in single precision
      {ps::TotalTurfTop2Rate, "050000"},
      {ps::TotalDirtTop3Rate, "050000"},
      {ps::TotalDirtTop2Rate, "050000"},
      {ps::JumpTop3Rate, "075000"},
      {ps::JumpTop2Rate, "025000"},
      {ps::TotalFlatPrize, "123456789"},
      {ps::TotalJumpPrize, "000004321"},
      {ps::TotalFlatRuns, "040010"},
      {ps::JumpRuns, "000004"},
      {ps::LineEnd, "\r\n"},
  };
  for (const auto& e : expected) {
    EXPECT_EQ(View(stat, e.field), e.value) << "field at " << e.field.pos;
  }
}

TEST(PeopleStatRecordsTest, JumpCountsComeFromTheCareerBlockOnly) {
  namespace ps = person_stat;
  const std::string rec =
      Person(records::kTrainerLayout, kTrainerStatSources, "T0001", {}, {1, 1, 1, 1, 1, 1}, 1);
  const std::string stat = BuildPersonStatRecord(rec, kTrainerStatSources);
  EXPECT_EQ(View(stat, ps::PersonCode), "T0001");
  EXPECT_EQ(View(stat, ps::JumpTop3Rate), "000000");
  EXPECT_EQ(View(stat, ps::JumpTop2Rate), "000000");
  EXPECT_EQ(View(stat, ps::JumpRuns), "000000");
  EXPECT_EQ(View(stat, ps::TotalFlatRuns), "000000");
  EXPECT_EQ(View(stat, ps::TotalFlatPrize), "123456789");
}

TEST(PeopleStatRecordsTest, TrainerCountsAreReadAtTheTrainerPositions) {
  namespace ps = person_stat;
  const std::string rec = Person(records::kTrainerLayout, kTrainerStatSources, "T0002",
                                 {{3, 2, {1, 1, 0, 0, 0, 2}}, {3, 5, {0, 0, 3, 0, 0, 0}}});
  const std::string stat = BuildPersonStatRecord(rec, kTrainerStatSources);
  EXPECT_EQ(View(stat, ps::TotalTurfTop3Rate), "050000");
  EXPECT_EQ(View(stat, ps::TotalDirtTop3Rate), "100000");
  EXPECT_EQ(View(stat, ps::TotalDirtTop2Rate), "000000");
  EXPECT_EQ(View(stat, ps::TotalFlatRuns), "000007");
}

TEST(PeopleStatRecordsTest, CareerWithoutTurfRunsHasItsDirtRunsAsFlatRuns) {
  namespace ps = person_stat;
  const std::string rec = Person(records::kJockeyLayout, kJockeyStatSources, "00002",
                                 {{1, 2, {1, 0, 0, 0, 0, 0}}, {3, 4, {0, 0, 1, 0, 2, 1}}});
  const std::string stat = BuildPersonStatRecord(rec, kJockeyStatSources);
  EXPECT_EQ(View(stat, ps::TotalTurfTop3Rate), "000000");
  EXPECT_EQ(View(stat, ps::TotalTurfTop2Rate), "000000");
  EXPECT_EQ(View(stat, ps::TotalDirtTop3Rate), "025000");
  EXPECT_EQ(View(stat, ps::TotalFlatRuns), "000004");
  EXPECT_EQ(View(stat, ps::ThisYearTurfTop3Rate), "100000");
}

TEST(PeopleStatRecordsTest, BlankOrUnreadableCountsCountZero) {
  namespace ps = person_stat;
  std::string rec =
      Person(records::kJockeyLayout, kJockeyStatSources, "00001", {{3, 1, {1, 1, 1, 1, 0, 0}}});
  Put(rec, kJockeyStatSources.distanceFinishCounts.In(3).At(1).Cell(4), "      ");
  Put(rec, kJockeyStatSources.distanceFinishCounts.In(3).At(2).Cell(1), "x");
  const std::string stat = BuildPersonStatRecord(rec, kJockeyStatSources);
  EXPECT_EQ(View(stat, ps::TotalTurfTop3Rate), "100000");
  EXPECT_EQ(View(stat, ps::TotalFlatRuns), "000003");
}

TEST(PeopleStatRecordsTest, BreederAndOwnerStatistics) {
  namespace bos = breeder_owner_stat;
  struct Case {
    const char* name;
    const records::Layout& layout;
    const BreederOwnerRecordFields& src;
    const char* code;
    const char* prize;
    Six career;
    const char* expected;  // the 33 bytes before the line end
  } cases[] = {
      {"breeder code cut to six, prize to its first nine",
       records::kBreederLayout,
       kBreederStatSources,
       "12345678",
       "1234567890",
       {1, 1, 1, 0, 0, 1},
       "123456075000050000123456789000004"},
      {"owner without runs",
       records::kOwnerLayout,
       kOwnerStatSources,
       "654321",
       "0000000120",
       {0, 0, 0, 0, 0, 0},
       "654321000000000000000000012000000"},
      {"owner past a 16-bit sum",
       records::kOwnerLayout,
       kOwnerStatSources,
       "000001",
       "0000000000",
       {30000, 0, 0, 0, 0, 30000},
       "000001050000050000000000000060000"},
  };
  for (const auto& c : cases) {
    std::string rec = testing::MakeRecord(static_cast<std::size_t>(c.layout.storedLength),
                                          {{c.src.code, c.code}});
    Put(rec, c.src.careerPrizeTotal, c.prize);
    PutCounts(rec, c.src.careerFinishCounts, c.career);
    const std::string stat = BuildBreederOwnerStatRecord(rec, c.src);
    EXPECT_EQ(stat, std::string(c.expected) + "\r\n") << c.name;
    EXPECT_EQ(View(stat, bos::BreederOwnerCode).size(), 6u);
  }
}

}  // namespace
}  // namespace meridax
