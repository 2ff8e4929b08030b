#include "datasetup/common/parent_stat_record.h"

#include <gtest/gtest.h>

namespace meridax {
namespace {

TEST(ParentStatRecordTest, EveryFieldOfAHandComputedParent) {
  ParentTotals t{};
  const auto line = [&](int l, std::array<std::int64_t, 6> c) {
    for (int k = 0; k < 6; ++k) t[static_cast<std::size_t>(6 * l - 5 + k)] = c[k];
  };
  line(1, {7, 0, 0, 0, 0, 3});   // 7 of 10: single precision gives 069999
  line(7, {0, 1, 0, 0, 0, 1});   // the jump line
  line(25, {0, 0, 1, 0, 0, 0});  // last distance line
  line(27, {1, 1, 1, 0, 0, 1});  // overall
  line(28, {1, 0, 0, 0, 0, 2});  // JRA
  t[151] = 2;                    // front-running
  t[153] = 3;                    // closing, with t154: 2.5 times
  t[154] = 2;
  t[155] = 123456;
  t[171] = 1;
  t[172] = 1234567;  // a count keeps its last six digits
  t[173] = 7;
  t[174] = 2147483653LL;  // past 2^31 - 1: held in 64 bits, last nine digits

  std::string top3(150, '0');
  std::string top2(150, '0');
  const auto rate = [](std::string& s, int l, std::string_view r) { s.replace(6 * (l - 1), 6, r); };
  rate(top3, 1, "069999");
  rate(top2, 1, "069999");
  rate(top3, 7, "050000");
  rate(top2, 7, "050000");
  rate(top3, 25, "100000");
  rate(top2, 25, "000000");
  const std::string expected = std::string("B000000001") + "075000" + "033333" + "000001" +
                               "234567" + "000003" + "000002" + "000123456" + "000000000" +
                               "000000007" + "147483653" + top3 + "050000" + "033333" + top2 +
                               "1200  " + "\r\n";
  ASSERT_EQ(expected.size(), 402u);
  EXPECT_EQ(BuildParentStatRecord("B000000001", t), expected);
}

TEST(ParentStatRecordTest, ParentWithoutOffspring) {
  const std::string rec = BuildParentStatRecord("          ", ParentTotals{});
  EXPECT_EQ(rec, std::string(10, ' ') + std::string(6 * 6, '0') + std::string(4 * 9, '0') +
                     std::string(150 + 12 + 150, '0') + "0000  \r\n");
}

TEST(ParentStatRecordTest, RunningStyleTakesTheWholePartCappedAtFour) {
  struct Case {
    std::int64_t front, stalk, mid, rear;
    std::string_view code;
  };
  const Case cases[] = {{3, 0, 0, 0, "1000"}, {1, 1, 8, 0, "1400"}, {1, 1, 20, 9, "1400"},
                        {2, 0, 4, 1, "1200"}, {2, 0, 6, 1, "1300"}, {0, 0, 5, 5, "0000"}};
  for (const Case& c : cases) {
    ParentTotals t{};
    t[151] = c.front;
    t[152] = c.stalk;
    t[153] = c.mid;
    t[154] = c.rear;
    EXPECT_EQ(records::View(BuildParentStatRecord("B", t), parent_stat::RunningStyle),
              std::string(c.code) + "  ")
        << c.front << " " << c.stalk << " " << c.mid << " " << c.rear;
  }
}

}  // namespace
}  // namespace meridax
