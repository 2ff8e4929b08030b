// A layout declared as one list gives the rows and refs that rows and FieldOf calls
// written out by hand give.
#include "records/layout.h"

#include <gtest/gtest.h>

#define TEST_SAMPLE_ROWS(X, M)          \
  MERIDAX_RECORD_HEADER_ROWS(X, M)      \
  X(F, Code, 12, 3)                     \
  X(F, Pair, 15, 2, 2)                  \
  X(Cut, Money, 19, 5, 4)               \
  X(T, Counts, 23, 6, 2, 3)             \
  X(G, Legs, 35, 21, 2, 8)              \
  MERIDAX_RACE_KEY_MEMBER_ROWS(M, Legs) \
  M(Legs, F, Mark, 16, 1)               \
  M(Legs, Cut, Weight, 17, 5, 4)        \
  X(F, DayA, 77, 1)                     \
  X(F, DayB, 78, 1)                     \
  X(Span, Days, DayA, DayB)             \
  X(F, LineEnd, 79, 2)

namespace meridax::records {
namespace {

inline constexpr FieldSpec kSampleFields[] = {MERIDAX_LAYOUT_ROWS(TEST_SAMPLE_ROWS)};
inline constexpr Layout kSample{"ZZ", kSampleFields, 83, 80};
static_assert(LayoutIsValid(kSample));

namespace zz {
MERIDAX_LAYOUT_REFS(TEST_SAMPLE_ROWS, kSample)
}  // namespace zz

bool SameRow(const FieldSpec& a, const FieldSpec& b) {
  return a.name == b.name && a.pos == b.pos && a.width == b.width &&
         a.storedWidth == b.storedWidth && a.repeat == b.repeat && a.members == b.members &&
         a.cells == b.cells;
}

TEST(LayoutListTest, EachRowGivesItsTableRowAndItsNamedRef) {
  const FieldSpec expected[] = {
      F("RecordSpec", 1, 2),
      F("DataCategory", 3, 1),
      F("CreatedYear", 4, 4),
      F("CreatedMonth", 8, 2),
      F("CreatedDay", 10, 2),
      F("Code", 12, 3),
      F("Pair", 15, 2, 2),
      Cut("Money", 19, 5, 4),
      T("Counts", 23, 6, 2, 3),
      G("Legs", 35, 21, 2, 8),
      F("Legs.RaceYear", 0, 4),
      F("Legs.RaceMonthDay", 4, 4),
      F("Legs.RacecourseCode", 8, 2),
      F("Legs.MeetingNumber", 10, 2),
      F("Legs.MeetingDay", 12, 2),
      F("Legs.RaceNumber", 14, 2),
      F("Legs.Mark", 16, 1),
      Cut("Legs.Weight", 17, 5, 4),
      F("DayA", 77, 1),
      F("DayB", 78, 1),
      F("LineEnd", 79, 2),
  };
  ASSERT_EQ(std::size(kSampleFields), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_TRUE(SameRow(kSampleFields[i], expected[i])) << expected[i].name;
  }

  EXPECT_EQ(&zz::kLayout, &kSample);
  EXPECT_EQ(zz::CreatedDate, Span(zz::CreatedYear, zz::CreatedDay));
  EXPECT_EQ(zz::CreatedDate.pos, 4);
  EXPECT_EQ(zz::CreatedDate.width, 8);
  EXPECT_EQ(zz::Pair.At(2).pos, 17);
  EXPECT_EQ(zz::Money, FieldOf(kSample, "Money"));
  EXPECT_EQ(zz::Money.width, 4);
  EXPECT_EQ(zz::Counts.At(2).Cell(3).pos, 23 + 6 + 4);
  EXPECT_EQ(zz::Legs_RaceNumber.In(2).pos, 35 + 21 + 14);
  EXPECT_EQ(zz::Legs_Weight.In(2).pos, 35 + 21 + 17);
  EXPECT_EQ(zz::Legs_Weight, FieldOf(kSample, "Legs.Weight"));
  // Delivered, Money is a byte longer and so is each element.
  EXPECT_EQ(DeliveredFieldOf(kSample, "Legs").In(2).pos, 36 + 22);
  EXPECT_EQ(zz::Days.pos, 77);
  EXPECT_EQ(zz::Days.width, 2);
  EXPECT_EQ(zz::LineEnd.end(), kSample.storedLength);
  EXPECT_EQ(DeliveredFieldOf(kSample, "LineEnd").end(), kSample.deliveredLength);
}

}  // namespace
}  // namespace meridax::records
