#include "datasetup/common/entity_upsert.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "tests/support/literal_upsert.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

using testing::MakeRecord;
using testing::ReadFile;
using testing::ReadRecords;
using testing::TempDrive;
using testing::WriteFile;
using testing::WriteIdList;
using testing::WriteRecords;

// A small record: the common header, an entity, an identity and a tag to tell records apart.
constexpr std::size_t kLength = 24;
constexpr records::FieldRef kEntity{12, 3};
constexpr records::FieldRef kIdentity{15, 2};
constexpr records::FieldRef kTag{17, 5};
constexpr char kPrefix[] = "C:\\MERIDAXPROJECT\\\\UMAGOTOSETUP\\";

std::string Rec(std::string_view entity, std::string_view identity, std::string_view date,
                std::string_view tag) {
  return MakeRecord(kLength, {{records::header::RecordSpec, "XX"},
                              {records::header::DataCategory, "7"},
                              {records::header::CreatedDate, date},
                              {kEntity, entity},
                              {kIdentity, identity},
                              {kTag, tag}});
}

UpsertRule Rule(const TempDrive& drive) {
  UpsertRule rule;
  rule.listFile = drive.data() / "LIST.dat";
  rule.sourceFile = drive.data() / "SOURCE.dat";
  rule.recordLength = kLength;
  rule.folderPrefix = kPrefix;
  rule.entityField = kEntity;
  rule.identityFields = {kIdentity};
  return rule;
}

testing::LiteralUpsertRule LiteralRule() {
  testing::LiteralUpsertRule rule;
  rule.listFile = "C:\\MERIDAXPROJECT\\LIST.dat";
  rule.sourceFile = "C:\\MERIDAXPROJECT\\SOURCE.dat";
  rule.recordLength = kLength;
  rule.folderPrefix = kPrefix;
  rule.entityField = kEntity;
  rule.createdDate = records::header::CreatedDate;
  rule.identityFields = {kIdentity};
  return rule;
}

UpsertResult Upsert(const UpsertRule& rule, StepHost& host) {
  StagedFiles outputs;
  const UpsertResult result = UpsertEntityFiles(rule, outputs, host);
  outputs.Commit();
  return result;
}

std::filesystem::path FileOf(const TempDrive& drive, std::string_view id) {
  return drive.data() / "UMAGOTOSETUP" / (std::string(id) + ".dat");
}

// The tags of an entity file, in record order.
std::vector<std::string> Tags(const std::filesystem::path& path) {
  std::vector<std::string> tags;
  for (const auto& r : ReadRecords(path, kLength)) {
    std::string tag(records::View(r, kTag));
    while (!tag.empty() && tag.back() == ' ') tag.pop_back();
    tags.push_back(tag);
  }
  return tags;
}

TEST(EntityUpsertTest, WhereEachRecordIsPut) {
  struct Case {
    const char* name;
    std::vector<std::string> list;
    std::vector<std::string> source;
    std::map<std::string, std::vector<std::string>> files;  // entity -> tags
  } cases[] = {
      {"listed entity without records ends empty",
       {"AAA", "BBB"},
       {Rec("AAA", "01", "20190101", "a1")},
       {{"AAA", {"a1"}}, {"BBB", {}}}},
      {"records of unlisted entities go nowhere",
       {"AAA"},
       {Rec("CCC", "01", "20190101", "c1"), Rec("AAA", "02", "20190101", "a2")},
       {{"AAA", {"a2"}}}},
      {"records keep the source order",
       {"AAA"},
       {Rec("AAA", "03", "20190101", "x"), Rec("AAA", "01", "20190101", "y"),
        Rec("AAA", "02", "20190101", "z")},
       {{"AAA", {"x", "y", "z"}}}},
      {"an id listed twice ends as listed once",
       {"AAA", "BBB", "AAA"},
       {Rec("AAA", "01", "20190101", "a1"), Rec("AAA", "02", "20190101", "a2"),
        Rec("AAA", "01", "20190101", "a3")},
       {{"AAA", {"a3", "a2"}}, {"BBB", {}}}},
      {"a later or equal date replaces in place",
       {"AAA"},
       {Rec("AAA", "01", "20190101", "old"), Rec("AAA", "02", "20190101", "mid"),
        Rec("AAA", "01", "20190301", "new"), Rec("AAA", "01", "20190301", "same")},
       {{"AAA", {"same", "mid"}}}},
      {"an earlier date is appended",
       {"AAA"},
       {Rec("AAA", "01", "20190301", "new"), Rec("AAA", "01", "20190101", "old")},
       {{"AAA", {"new", "old"}}}},
      // "old" and "older" share the identity; "mid" is later than "older" only, so it
      // replaces the first of them that is not later than itself.
      {"the first stored record not later is replaced",
       {"AAA"},
       {Rec("AAA", "01", "20190301", "old"), Rec("AAA", "01", "20190101", "older"),
        Rec("AAA", "01", "20190201", "mid")},
       {{"AAA", {"old", "mid"}}}},
      {"a date that is not a whole number replaces",
       {"AAA"},
       {Rec("AAA", "01", "20190301", "new"), Rec("AAA", "01", "2019-1-x", "bad"),
        Rec("AAA", "01", "20180101", "early")},
       {{"AAA", {"early"}}}},
      {"identity is per entity",
       {"AAA", "BBB"},
       {Rec("AAA", "01", "20190101", "a"), Rec("BBB", "01", "20190101", "b")},
       {{"AAA", {"a"}}, {"BBB", {"b"}}}},
  };
  for (const auto& c : cases) {
    TempDrive drive;
    const UpsertRule rule = Rule(drive);
    WriteIdList(rule.listFile, c.list);
    WriteRecords(rule.sourceFile, c.source);
    RecordingHost host;
    const UpsertResult result = Upsert(rule, host);
    EXPECT_EQ(result.sourceCount, static_cast<std::int64_t>(c.source.size())) << c.name;
    EXPECT_EQ(result.listCount, static_cast<std::int64_t>(c.list.size())) << c.name;
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(drive.data() / "UMAGOTOSETUP")) {
      const std::string id = entry.path().stem().string();
      ASSERT_TRUE(c.files.count(id)) << c.name << ": unexpected file " << id;
      EXPECT_EQ(Tags(entry.path()), c.files.at(id)) << c.name << ": " << id;
      ++files;
    }
    EXPECT_EQ(files, c.files.size()) << c.name;
  }
}

TEST(EntityUpsertTest, RebuildsListedFilesAndLeavesTheOthers) {
  TempDrive drive;
  const UpsertRule rule = Rule(drive);
  WriteFile(FileOf(drive, "AAA"), Rec("AAA", "09", "20100101", "stale"));
  WriteFile(FileOf(drive, "ZZZ"), "earlier run");
  WriteIdList(rule.listFile, {"AAA"});
  RecordingHost host;
  Upsert(rule, host);  // no source file: created empty
  EXPECT_TRUE(FileExists(rule.sourceFile));
  EXPECT_EQ(FileLength(FileOf(drive, "AAA")), 0u);
  EXPECT_EQ(ReadFile(FileOf(drive, "ZZZ")), "earlier run");
  // Once per list item while emptying, once per source record.
  WriteRecords(rule.sourceFile, {Rec("AAA", "01", "20190101", "a"), Rec("AAA", "02", "2019", "b")});
  RecordingHost second;
  Upsert(rule, second);
  EXPECT_EQ(second.eventPumps(), 3);
  UpsertRule quiet = rule;
  quiet.eventsWhileEmptying = false;
  RecordingHost third;
  Upsert(quiet, third);
  EXPECT_EQ(third.eventPumps(), 2);
}

TEST(EntityUpsertTest, MissingListPutsNothing) {
  TempDrive drive;
  const UpsertRule rule = Rule(drive);
  WriteRecords(rule.sourceFile, {Rec("AAA", "01", "20190101", "a")});
  RecordingHost host;
  const UpsertResult result = Upsert(rule, host);
  EXPECT_EQ(result.sourceCount, 1);
  EXPECT_EQ(result.listCount, 0);
  EXPECT_TRUE(std::filesystem::is_empty(drive.data() / "UMAGOTOSETUP"));
}

TEST(EntityUpsertTest, IdsThatCannotNameAFileAreSkippedAndCounted) {
  TempDrive drive;
  UpsertRule rule = Rule(drive);
  WriteIdList(rule.listFile, {"..", "A\\B", "AAA", "..", "   "});
  WriteRecords(rule.sourceFile,
               {Rec("..", "01", "20190101", "dots"), Rec("   ", "01", "20190101", "blank"),
                Rec("AAA", "01", "20190101", "a")});
  RecordingHost host;
  const UpsertResult result = Upsert(rule, host);
  EXPECT_EQ(result.skippedIds, 2);  // distinct ids: ".." and "A\B"
  EXPECT_EQ(Tags(FileOf(drive, "AAA")), std::vector<std::string>{"a"});
  EXPECT_EQ(Tags(FileOf(drive, "   ")), std::vector<std::string>{"blank"});  // blanks are an id
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.data() / "UMAGOTOSETUP"),
                          std::filesystem::directory_iterator()),
            2);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.data()),
                          std::filesystem::directory_iterator()),
            2 + 12);  // the list, the source and the sub-folders: nothing written beside them
}

TEST(EntityUpsertTest, ListItemsTooLongNotCodePage932OrCutAtAQuoteAreSkippedAndNamesAreUtf8) {
  TempDrive drive;
  UpsertRule rule = Rule(drive);
  const std::string kana = "\x83\x41I";  // アI
  WriteIdList(rule.listFile,
              {std::string(240, '7'), std::string(300, '\xFF'), "AB\"CD", kana, "AB "});
  WriteRecords(rule.sourceFile,
               {Rec(kana, "01", "20190101", "kana"), Rec("AB ", "01", "20190101", "ab")});
  RecordingHost host;
  EXPECT_EQ(UpsertStep(rule, "SE/UM 終わり", host),
            "SE/UM 終わり  2 (ファイル名にできないID 3件を飛ばしました)");
  EXPECT_EQ(Tags(drive.data() / "UMAGOTOSETUP" / "アI.dat"), std::vector<std::string>{"kana"});
  EXPECT_EQ(Tags(FileOf(drive, "AB ")), std::vector<std::string>{"ab"});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.data() / "UMAGOTOSETUP"), {}),
            2);
}

TEST(EntityUpsertTest, MissingFolderThrowsAndChangesNothing) {
  TempDrive drive;
  const UpsertRule rule = Rule(drive);
  WriteIdList(rule.listFile, {"AAA"});
  WriteRecords(rule.sourceFile, {Rec("AAA", "01", "20190101", "a")});
  std::filesystem::remove_all(drive.data() / "UMAGOTOSETUP");
  RecordingHost host;
  StagedFiles outputs;
  EXPECT_THROW(UpsertEntityFiles(rule, outputs, host), IoError);
  EXPECT_FALSE(FolderExists(drive.data() / "UMAGOTOSETUP"));
}

// Random lists and records with repeated ids, repeated identities and dates out of order
// (some not numbers), run both ways: every file must come out byte-identical.
TEST(EntityUpsertTest, MatchesTheLiteralAlgorithm) {
  const char* const dates[] = {"20190101", "20190102", "20181231", "20190101",
                               "2019 1 1", "abcdefgh", "        ", "20200101"};
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 rng(seed);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const auto entity = [&] { return std::string("E") + std::to_string(10 + pick(12)); };
    std::vector<std::string> list;
    for (int i = 0, n = pick(15); i < n; ++i) list.push_back(entity());
    std::vector<std::string> source;
    for (int i = 0, n = pick(120); i < n; ++i) {
      source.push_back(
          Rec(entity(), std::to_string(10 + pick(6)), dates[pick(8)], std::to_string(i)));
    }

    // Each drive maps C: while it is the newest, so each run follows its own drive.
    TempDrive fast;
    const UpsertRule rule = Rule(fast);
    WriteIdList(rule.listFile, list);
    WriteRecords(rule.sourceFile, source);
    RecordingHost host;
    Upsert(rule, host);

    TempDrive literal;
    WriteIdList(literal.data() / "LIST.dat", list);
    WriteRecords(literal.data() / "SOURCE.dat", source);
    testing::LiteralUpsert(LiteralRule());

    std::map<std::string, std::string> expected;
    for (const auto& e : std::filesystem::directory_iterator(literal.data() / "UMAGOTOSETUP")) {
      expected[e.path().filename().string()] = ReadFile(e.path());
    }
    std::map<std::string, std::string> got;
    for (const auto& e : std::filesystem::directory_iterator(fast.data() / "UMAGOTOSETUP")) {
      got[e.path().filename().string()] = ReadFile(e.path());
    }
    EXPECT_EQ(got, expected) << "seed " << seed;
  }
}

}  // namespace
}  // namespace meridax
