#include "datasetup/common/record_index.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/drive.h"
#include "platform/io_error.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

using records::FieldRef;

// The scan every index replaces: records from 1 up, the first or the last with the key.
std::int64_t LiteralScan(const RecordMap& map, std::span<const FieldRef> key, std::string_view k,
                         Match match) {
  std::int64_t found = 0;
  for (std::int64_t n = 1; n <= map.Count(); ++n) {
    if (JoinedKey(map.Record(n), key) == k) {
      found = n;
      if (match == Match::kFirst) break;
    }
  }
  return found;
}

TEST(RecordIndex, AgreesWithALiteralScanOnDuplicatesAndAPartialLastRecord) {
  testing::TempDrive drive;
  std::mt19937 rng(7);
  std::string bytes;
  for (int i = 0; i < 300; ++i) {
    // Few distinct keys, so most repeat; 8-byte records: key A (2), filler, key B (1).
    std::string r = "K" + std::to_string(rng() % 9) + "--" + std::to_string(rng() % 3) + "xy\n";
    bytes += r;
  }
  bytes += "K1-";  // a partial last record: rounding counts it, reading pads it
  testing::WriteFile(drive.data() / "T.dat", bytes);
  RecordMap map(DataPath("T.dat"), 8);
  const FieldRef keyA{1, 2};
  const FieldRef keyB{5, 1};
  const std::vector<std::vector<FieldRef>> keys = {{keyA}, {keyA, keyB}, {FieldRef{1, 4}}};
  for (const auto& key : keys) {
    for (Match match : {Match::kFirst, Match::kLast}) {
      const RecordIndex index(map, key, match);
      for (std::int64_t n = 1; n <= map.Count(); ++n) {
        const std::string k = JoinedKey(map.Record(n), key);
        EXPECT_EQ(index.Find(k), LiteralScan(map, key, k, match)) << k;
      }
      EXPECT_EQ(index.Find("zz"), 0);
    }
  }
}

TEST(StatisticsCache, CreatesAMissingFileEmptyOnlyAtALookUpAndFailsWithoutTheFolder) {
  testing::TempDrive drive;
  StatisticsCache cache;
  const auto path = drive.data() / "OPTION1N" / "KYOSOBA.dat";
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(cache.FirstMatch("OPTION1N\\KYOSOBA.dat", 4, FieldRef{1, 2}, "AB"));
  EXPECT_TRUE(std::filesystem::exists(path));

  testing::WriteFile(drive.data() / "S.dat", "AB1\nCD2\nAB3\n");
  const auto hit = cache.FirstMatch("S.dat", 4, FieldRef{1, 2}, "AB");
  ASSERT_TRUE(hit);
  EXPECT_EQ(*hit, "AB1\n");

  testing::TempDrive bare(false);
  StatisticsCache other;
  EXPECT_THROW(other.FirstMatch("KISHUSEISEI.dat", 121, FieldRef{1, 5}, "00001"), IoError);
}

}  // namespace
}  // namespace meridax
