#include "records/take_bytes.h"

#include <gtest/gtest.h>

namespace meridax {
namespace {

TEST(TakeBytesTest, TakesWhatIsThereAndAlwaysAdvancesByTheWidth) {
  struct Case {
    std::string_view bytes;
    std::int32_t position;
    std::int32_t width;
    std::string_view field;
    std::int32_t next;
  };
  const Case cases[] = {
      {"ABCDEF", 1, 2, "AB", 3},  // inside
      {"ABCDEF", 5, 4, "EF", 9},  // runs past the end: the last two bytes
      {"ABCDEF", 9, 4, "", 13},   // starts past the end
      {"ABCDEF", 7, 1, "", 8},    // just past the end
      {"", 1, 3, "", 4},          // empty record
      {"ABCDEF", 3, 0, "", 3},    // nothing to take
  };
  for (const Case& c : cases) {
    std::int32_t position = c.position;
    EXPECT_EQ(TakeBytes(c.bytes, position, c.width), c.field) << c.position << "," << c.width;
    EXPECT_EQ(position, c.next);
  }
}

TEST(TakeBytesTest, SecondCallPastTheEndOfASixByteRecord) {
  std::int32_t position = 5;
  EXPECT_EQ(TakeBytes("ABCDEF", position, 4), "EF");
  EXPECT_EQ(position, 9);
  EXPECT_EQ(TakeBytes("ABCDEF", position, 4), "");
  EXPECT_EQ(position, 13);
}

TEST(TakeBytesTest, ReusedFieldLosesItsEarlierText) {
  std::string field = "earlier text";
  std::int32_t position = 4;
  TakeBytes("XYZ", position, 2, field);
  EXPECT_EQ(field, "");
  position = 1;
  TakeBytes("\x82\xa0\x82\xa2", position, 4, field);  // double-byte bytes stay as they are
  EXPECT_EQ(field, "\x82\xa0\x82\xa2");
}

}  // namespace
}  // namespace meridax
