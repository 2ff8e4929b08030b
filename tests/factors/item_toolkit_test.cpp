#include "datasetup/factors/item_toolkit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/drive.h"
#include "tests/factors/ex_fixture.h"

namespace meridax {
namespace {

TEST(ItemToolkit, LogarithmsAreExactAtPowersOfTen) {
  struct Case {
    double x;
    int tenLog;
    int log;
  };
  const Case cases[] = {{1, 0, 0},    {2, 3, 0},          {10, 10, 1},    {100, 20, 2},
                        {999, 29, 2}, {1000, 30, 3},      {35000, 45, 4}, {1e6, 60, 6},
                        {5e6, 66, 6}, {2147483647, 93, 9}};
  for (const auto& c : cases) {
    EXPECT_EQ(FloorTenLog10(c.x), c.tenLog) << c.x;
    EXPECT_EQ(FloorLog10(c.x), c.log) << c.x;
  }
}

TEST(ItemToolkit, ConversionsAbandonOnBlankNonNumericAndOverflow) {
  EXPECT_EQ(CInt16(" 12"), 12);
  EXPECT_EQ(CInt16("-5"), -5);
  EXPECT_THROW(CInt16("  "), ItemAbandoned);
  EXPECT_THROW(CInt16("1A"), ItemAbandoned);
  EXPECT_THROW(CInt16("40000"), ItemAbandoned);
  EXPECT_EQ(CInt32("40000"), 40000);
  EXPECT_THROW(CInt32("99999999999"), ItemAbandoned);
  EXPECT_THROW(Checked32(2147483648.0), ItemAbandoned);
  EXPECT_EQ(DecimalText(7), "7");
  EXPECT_EQ(FixedDigits(7, 2), "07");
  EXPECT_EQ(FixedDigits(112, 2), "12");
  EXPECT_EQ(FixedDigits(-3, 4), "9997");
}

TEST(ItemToolkit, DatesAreStrict) {
  EXPECT_EQ(RunDay("2020", "0301") - RunDay("2020", "0228"), 2);  // leap year
  EXPECT_EQ(RunDay("2019", "0301") - RunDay("2019", "0228"), 1);
  EXPECT_THROW(RunDay("2019", "0229"), ItemAbandoned);
  EXPECT_THROW(RunDay("    ", "0101"), ItemAbandoned);
  EXPECT_THROW(RunDay("2019", "1301"), ItemAbandoned);
  EXPECT_EQ(DayOfYyyymmdd("20190105"), RunDay("2019", "0105"));
}

TEST(ItemToolkit, MathGuardsAbandon) {
  EXPECT_THROW(FloorTenLog10(0), ItemAbandoned);
  EXPECT_THROW(FloorLog10(-3), ItemAbandoned);
  EXPECT_THROW(SingleDivide(1, 0), ItemAbandoned);
  EXPECT_THROW(SingleDivide(0, 0), ItemAbandoned);
  EXPECT_EQ(SingleDivide(21600, 375), 57.6f);
  EXPECT_EQ(FixedDigitsValue(1000, 4), 1000);
  EXPECT_EQ(FixedDigitsValue(12345, 4), 2345);
  EXPECT_EQ(FixedDigitsValue(-5, 4), 9995);
  EXPECT_EQ(FixedDigitsValue(-10005, 4), -5);
}

TEST(ItemToolkit, CodesRatesAndBands) {
  EXPECT_TRUE(IsMissingCode("00000"));
  EXPECT_TRUE(IsMissingCode("     "));
  EXPECT_FALSE(IsMissingCode("0 000"));
  EXPECT_FALSE(IsMissingCode("00001"));

  struct Rate {
    std::string_view figure;
    std::int64_t steps4;
    std::int64_t percent;
  };
  const Rate rates[] = {{"000000", 0, 0},    {"003999", 0, 3}, {"004000", 1, 4},
                        {"100000", 25, 100}, {"      ", 0, 0}, {"099999", 24, 99}};
  for (const auto& r : rates) {
    EXPECT_EQ(RateSteps4(r.figure), r.steps4) << r.figure;
    EXPECT_EQ(RatePercent(r.figure), r.percent) << r.figure;
  }

  constexpr TrackBandValue<char> bands[] = {{0, 22, 'T'}, {23, 29, 'D'}};
  EXPECT_EQ(BandOf(bands, 'J', 0), 'T');
  EXPECT_EQ(BandOf(bands, 'J', 22), 'T');
  EXPECT_EQ(BandOf(bands, 'J', 23), 'D');
  EXPECT_EQ(BandOf(bands, 'J', 29), 'D');
  EXPECT_EQ(BandOf(bands, 'J', 30), 'J');
  EXPECT_EQ(BandOf(bands, 'J', -1), 'J');

  EXPECT_EQ(TrackNumber(testing::ExRun({{extended_run::TrackCode, "17"}})), 17);
  EXPECT_THROW(TrackNumber(testing::ExRun({})), ItemAbandoned);
  EXPECT_THROW(TrackNumber(testing::ExRun({{extended_run::TrackCode, "1A"}})), ItemAbandoned);
  EXPECT_EQ(RunDateOf(testing::ExRun(
                {{extended_run::RaceYear, "2019"}, {extended_run::RaceMonthDay, "0105"}})),
            CalendarDay("2019", "01", "05"));
  EXPECT_THROW(CalendarDay("2019", "02", "30"), ItemAbandoned);
  EXPECT_THROW(CalendarDay("2019", "  ", "01"), ItemAbandoned);
}

TEST(ItemToolkit, PreviousValidRunSkipsOneAbnormalRunButNotTheFirst) {
  using extended_run::AbnormalityCode;
  using extended_run::RaceYear;
  auto run = [](std::string_view abnormal, std::string_view tag) {
    return testing::ExRun({{AbnormalityCode, abnormal}, {RaceYear, tag}});
  };
  testing::ExFixture f(
      {run("1", "0001"), run("0", "0002"), run("1", "0003"), run("2", "0004"), run("0", "0005")});
  struct Case {
    std::int32_t r;
    std::int32_t p;
  };
  // Run 2 after an abnormal run 1 still has run 1; run 5 after an abnormal run 4 has run 3,
  // whatever run 3 was.
  const Case cases[] = {{2, 1}, {3, 2}, {4, 2}, {5, 3}, {6, 5}};
  for (const auto& c : cases) {
    ItemContext& context = f.At(c.r);
    EXPECT_EQ(PreviousValidRun(context, c.r), c.p) << c.r;
    // It leaves record r - 1 in the run buffer.
    EXPECT_EQ(records::View(context.CurrentRun, RaceYear), "000" + std::to_string(c.r - 1));
  }
}

// The scan every statistics look-up replaces: records from 1 up, the first with the key.
std::optional<std::string> LiteralFirstMatch(const std::string& bytes, const StatFile& file,
                                             std::string_view key) {
  const std::size_t length = file.recordLength;
  // The record count is the length divided by the record length, halves to even.
  const std::size_t whole = bytes.size() / length;
  const std::size_t rest = bytes.size() % length;
  std::size_t count = whole;
  if (2 * rest > length || (2 * rest == length && whole % 2 == 1)) ++count;
  for (std::size_t n = 1; n <= count; ++n) {
    std::string record = bytes.substr((n - 1) * length, length);
    record.resize(length, ' ');
    if (records::View(record, file.key) == key) return record;
  }
  return std::nullopt;
}

TEST(ItemToolkit, FirstStatAgreesWithALiteralScan) {
  testing::ExFixture f({testing::ExRun({})});
  std::mt19937 rng(11);
  std::string bytes;
  std::vector<std::string> keys;
  for (int i = 0; i < 400; ++i) {
    // Few distinct sires, so many keys repeat; every record tells its number.
    const std::string key = "10" + std::to_string(10000000 + rng() % 40);
    keys.push_back(key);
    bytes += testing::MakeRecord(
        402, {{parent_stat::ParentBreedingNumber, key},
              {parent_stat::OffspringFlatEarningsTotal, std::to_string(100000000 + i)}});
  }
  // A stale tail a shorter rewrite left behind, then a partial last record that the
  // rounding still counts.
  bytes += testing::MakeRecord(402, {{parent_stat::ParentBreedingNumber, "STALE00001"}});
  bytes +=
      testing::MakeRecord(402, {{parent_stat::ParentBreedingNumber, "PARTIAL001"}}).substr(0, 300);
  keys.push_back("STALE00001");
  keys.push_back("PARTIAL001");
  keys.push_back("NOSUCHSIRE");
  keys.push_back("1010000003");
  testing::WriteFile(DataPath("OPTION1N\\STALLION.dat"), bytes);
  ItemContext& c = f.At(1);
  for (const auto& key : keys) {
    const auto expected = LiteralFirstMatch(bytes, kStallionStats, key);
    const auto found = FirstStat(c, kStallionStats, key);
    ASSERT_EQ(found.has_value(), expected.has_value()) << key;
    if (found) {
      EXPECT_EQ(std::string(*found), *expected) << key;
    }
  }
}

TEST(ItemToolkit, FirstStatCreatesAMissingFileAndAbandonsWithoutTheFolder) {
  testing::ExFixture f({testing::ExRun({})});
  const auto path = f.drive.data() / "KISHUSEISEI.dat";
  ItemContext& c = f.At(1);
  EXPECT_FALSE(FirstStat(c, kJockeyStats, "01234"));
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(std::filesystem::file_size(path), 0u);

  std::filesystem::remove_all(f.drive.data() / "OPTION1N");
  EXPECT_THROW(FirstStat(c, kMareStats, "1234567890"), ItemAbandoned);
}

TEST(ItemToolkit, TextRangesCompareCharacterCodes) {
  struct Case {
    std::string_view text, lo, hi;
    bool inside;
  };
  const Case cases[] = {
      {"100", "00", "46", true},      {"5", "00", "46", false},
      {"+03A", "+030", "+040", true}, {"+03 ", "+030", "+040", false},
      {"-008", "-005", "-009", true}, {"\x88\x9f", "\x88\x00", "\x89\x00", true},
      {"08", "00", "08", true},       {"09", "00", "08", false},
  };
  for (const auto& c : cases) EXPECT_EQ(TextInRange(c.text, c.lo, c.hi), c.inside) << c.text;
  EXPECT_TRUE(InRange(22, 0, 22));
  EXPECT_FALSE(InRange(-1, 0, 22));
}

}  // namespace
}  // namespace meridax
