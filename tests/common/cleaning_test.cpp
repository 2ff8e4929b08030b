#include "datasetup/common/cleaning.h"

#include <gtest/gtest.h>

#include "platform/io_error.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

using testing::MakeRecord;
using testing::ReadFile;
using testing::ReadRecords;
using testing::TempDrive;
using testing::WriteRecords;

// A small record of the common header: kind, DataCategory, CreatedDate, then a code.
constexpr std::size_t kLength = 21;
constexpr records::FieldRef kCode{12, 8};
constexpr records::FieldRef kDataCategory = records::header::DataCategory;
constexpr records::FieldRef kCreatedDate = records::header::CreatedDate;

std::string Rec(std::string_view category, std::string_view code,
                std::string_view created = "20190101") {
  return MakeRecord(
      kLength, {{{1, 2}, "XX"}, {kDataCategory, category}, {kCreatedDate, created}, {kCode, code}});
}

CleaningRule Rule(const TempDrive& drive) {
  CleaningRule rule;
  rule.rawFile = drive.data() / "X20190101.dat";
  rule.cleanedFile = drive.data() / "X20190101NEW.dat";
  rule.recordLength = kLength;
  rule.keyFields = {kCode};
  return rule;
}

// Cleans `raw` and returns the raw record numbers (1 to n) the cleaned file holds, in its
// order; each raw record carries its number in its first two bytes.
std::vector<int> Kept(const CleaningRule& rule, std::vector<std::string> raw) {
  for (std::size_t i = 0; i < raw.size(); ++i) {
    raw[i].replace(0, 2, std::to_string(10 + i));
  }
  WriteRecords(rule.rawFile, raw);
  StagedFiles outputs;
  CleanRecords(rule, outputs);
  outputs.Commit();
  std::vector<int> kept;
  for (const auto& r : ReadRecords(rule.cleanedFile, kLength)) {
    kept.push_back(std::stoi(r.substr(0, 2)) - 9);
  }
  return kept;
}

TEST(CleaningTest, WhichRecordOfARunIsKept) {
  // Which record a run keeps follows from the exact quicksort, not from the raw order.
  struct Case {
    const char* name;
    std::vector<std::string> raw;
    KeepOfRun keep;
    std::vector<int> kept;
  } cases[] = {
      {"two equal, first", {Rec("7", "K"), Rec("7", "K")}, KeepOfRun::kFirst, {2}},
      {"two equal, last", {Rec("7", "K"), Rec("7", "K")}, KeepOfRun::kLast, {1}},
      {"three equal, first", {Rec("7", "K"), Rec("7", "K"), Rec("7", "K")}, KeepOfRun::kFirst, {3}},
      {"three equal, last", {Rec("7", "K"), Rec("7", "K"), Rec("7", "K")}, KeepOfRun::kLast, {1}},
      {"K K M, first", {Rec("7", "K"), Rec("7", "K"), Rec("7", "M")}, KeepOfRun::kFirst, {2, 3}},
      {"K K M, last", {Rec("7", "K"), Rec("7", "K"), Rec("7", "M")}, KeepOfRun::kLast, {1, 3}},
      {"ascending order out",
       {Rec("7", "M"), Rec("7", "A"), Rec("7", "K")},
       KeepOfRun::kFirst,
       {2, 3, 1}},
      // Only the chosen record is tested: record 2 stands first and fails.
      {"chosen fails, other would pass", {Rec("7", "K"), Rec("9", "K")}, KeepOfRun::kFirst, {}},
      {"chosen passes", {Rec("9", "K"), Rec("7", "K")}, KeepOfRun::kFirst, {2}},
      {"categories are case-sensitive",
       {Rec("a", "K"), Rec("b", "L"), Rec("B", "M")},
       KeepOfRun::kFirst,
       {3}},
      {"one record outside the set", {Rec("1", "K")}, KeepOfRun::kFirst, {}},
      {"empty raw file", {}, KeepOfRun::kLast, {}},
  };
  for (const auto& c : cases) {
    TempDrive drive;
    CleaningRule rule = Rule(drive);
    rule.keep = c.keep;
    rule.categories = "7BA";
    EXPECT_EQ(Kept(rule, c.raw), c.kept) << c.name;
  }
}

TEST(CleaningTest, NewestOfACodeWithDescendingSortAndPrefixRuns) {
  struct Case {
    const char* name;
    std::vector<std::string> raw;
    std::size_t prefix;
    std::optional<std::string_view> categories;
    std::vector<int> kept;
  } cases[] = {
      {"newest wins whatever the raw order",
       {Rec("1", "00001", "20180101"), Rec("2", "00001", "20200101"),
        Rec("1", "00001", "20190101")},
       5,
       "12",
       {2}},
      {"newest outside the set drops the code",
       {Rec("1", "00001", "20180101"), Rec("0", "00001", "20200101")},
       5,
       "12",
       {}},
      {"codes come out descending",
       {Rec("1", "00001"), Rec("1", "00003"), Rec("1", "00002")},
       5,
       "12",
       {2, 3, 1}},
      // Breeders: codes equal in their first 6 bytes are one; the newest of the greater code.
      {"six-byte prefix of an eight-byte code",
       {Rec("1", "12345678", "20200101"), Rec("1", "12345699", "20190101")},
       6,
       std::nullopt,
       {2}},
      {"no category set keeps every value",
       {Rec("x", "A"), Rec(" ", "B")},
       6,
       std::nullopt,
       {2, 1}},
  };
  for (const auto& c : cases) {
    TempDrive drive;
    CleaningRule rule = Rule(drive);
    rule.keyFields = {kCode, kCreatedDate};
    rule.order = SortOrder::kDescending;
    rule.runPrefix = c.prefix;
    rule.categories = c.categories;
    EXPECT_EQ(Kept(rule, c.raw), c.kept) << c.name;
  }
}

TEST(CleaningTest, CountsStagingAndRecordsPastTheEnd) {
  const std::vector<std::string> old = {Rec("7", "OLD1"), Rec("7", "OLD2"), Rec("7", "OLD3")};
  struct Case {
    bool keepPastEnd;
    CountAfter countAfter;
    std::int64_t cleanedCount;
    std::int64_t recordCount;
    std::vector<std::string> cleaned;
  } cases[] = {
      {false, CountAfter::kRawRecords, 1, 2, {Rec("7", "B")}},
      {true, CountAfter::kCleanedRecords, 3, 3, {Rec("7", "B"), old[1], old[2]}},
  };
  for (const auto& c : cases) {
    TempDrive drive;
    CleaningRule rule = Rule(drive);
    rule.categories = "7";
    rule.keepRecordsPastEnd = c.keepPastEnd;
    rule.countAfter = c.countAfter;
    WriteRecords(rule.cleanedFile, old);
    WriteRecords(rule.rawFile, {Rec("7", "B"), Rec("1", "A")});
    StagedFiles outputs;
    const CleaningResult r = CleanRecords(rule, outputs);
    EXPECT_EQ(ReadRecords(rule.cleanedFile, kLength), old);  // nothing replaced yet
    outputs.Commit();
    EXPECT_EQ(r.rawCount, 2);
    EXPECT_EQ(r.keptCount, 1);
    EXPECT_EQ(r.cleanedCount, c.cleanedCount);
    EXPECT_EQ(r.recordCount, c.recordCount);
    EXPECT_EQ(ReadRecords(rule.cleanedFile, kLength), c.cleaned);
  }
}

TEST(CleaningTest, MissingRawFileIsEmptyAndMissingFolderFails) {
  TempDrive drive;
  CleaningRule rule = Rule(drive);
  StagedFiles outputs;
  const CleaningResult r = CleanRecords(rule, outputs);
  outputs.Commit();
  EXPECT_EQ(r.rawCount, 0);
  EXPECT_EQ(ReadFile(rule.rawFile), "");  // opening created it
  EXPECT_EQ(ReadFile(rule.cleanedFile), "");

  rule.rawFile = drive.data() / "NOFOLDER" / "X.dat";
  StagedFiles more;
  EXPECT_THROW(CleanRecords(rule, more), IoError);
}

TEST(CleaningTest, ChooseOnePerRunComparesThePrefixOnly) {
  const std::vector<std::string_view> keys = {{}, "AB1", "AB2", "AC1", "AC1"};
  EXPECT_EQ(ChooseOnePerRun(keys, KeepOfRun::kFirst, 0), (std::vector<std::int64_t>{1, 2, 3}));
  EXPECT_EQ(ChooseOnePerRun(keys, KeepOfRun::kLast, 0), (std::vector<std::int64_t>{1, 2, 4}));
  EXPECT_EQ(ChooseOnePerRun(keys, KeepOfRun::kFirst, 2), (std::vector<std::int64_t>{1, 3}));
  EXPECT_EQ(ChooseOnePerRun(keys, KeepOfRun::kLast, 2), (std::vector<std::int64_t>{2, 4}));
  EXPECT_TRUE(ChooseOnePerRun({{}}, KeepOfRun::kFirst, 0).empty());
}

}  // namespace
}  // namespace meridax
