#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

using testing::ReadFile;
using testing::TempDrive;
using testing::WriteFile;

TEST(RecordMapTest, CountsLikeRecordFilePadsThePartialLastRecordAndCreatesMissingFiles) {
  TempDrive drive;
  const auto path = drive.data() / "M.dat";
  {
    RecordMap missing(path, 4);
    EXPECT_EQ(missing.Count(), 0);
  }
  EXPECT_TRUE(FileExists(path));  // opening created it, as random access does

  WriteFile(path, "AAAABBBBCCC");  // 2.75 records: 3, the last padded
  RecordMap map(path, 4);
  ASSERT_EQ(map.Count(), 3);
  EXPECT_EQ(map.Record(1), "AAAA");
  EXPECT_EQ(map.Record(3), "CCC ");
  EXPECT_THROW(map.Record(4), std::out_of_range);

  WriteFile(path, "AAAABB");  // 1.5 records: halves to even, 2
  EXPECT_EQ(RecordMap(path, 4).Record(2), "BB  ");
  EXPECT_THROW(RecordMap(drive.data() / "NOFOLDER" / "x.dat", 4), IoError);
}

TEST(StagedFilesTest, NothingIsReplacedUntilCommit) {
  TempDrive drive;
  const auto a = drive.data() / "A.dat";
  const auto b = drive.data() / "B.dat";
  WriteFile(a, "old a");
  WriteFile(b, "old b");
  {
    StagedFiles staged;
    TextWriter(staged.Stage(a), TextWriter::Mode::kOutput).Str("new a").EndLine();
    staged.Stage(b);  // never written: an empty file on commit
    EXPECT_EQ(ReadFile(a), "old a");
  }  // dropped uncommitted: a failed step
  EXPECT_EQ(ReadFile(a), "old a");
  EXPECT_EQ(ReadFile(b), "old b");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.data()), {}),
            12 + 2);  // the sub-folders and the two files: no temporaries left

  StagedFiles staged;
  TextWriter(staged.Stage(a), TextWriter::Mode::kOutput).Str("new a").EndLine();
  staged.Stage(b);
  staged.Commit();
  EXPECT_EQ(ReadFile(a), "\"new a\"\r\n");
  EXPECT_EQ(ReadFile(b), "");
}

TEST(StagedFilesTest, StagingATargetAgainKeepsTheLastContentWritten) {
  TempDrive drive;
  const auto a = drive.data() / "A.dat";
  const auto b = drive.data() / "B.dat";
  WriteFile(a, "old a");
  WriteFile(b, "1111");
  StagedFiles staged;
  TextWriter(staged.Stage(a), TextWriter::Mode::kOutput).Raw("first");
  TextWriter(staged.Stage(a), TextWriter::Mode::kOutput).Raw("second");
  {
    RecordFile f(staged.Stage(b, true), 4);
    f.Write(2, "2222");
  }
  {
    RecordFile f(staged.Stage(b, true), 4);  // sees what this step wrote so far
    EXPECT_EQ(f.Count(), 2);
    f.Write(3, "3333");
  }
  EXPECT_EQ(staged.size(), 2u);
  staged.Commit();
  EXPECT_EQ(ReadFile(a), "second");
  EXPECT_EQ(ReadFile(b), "111122223333");

  TextWriter(staged.Stage(a), TextWriter::Mode::kOutput).Raw("third");  // after a commit
  staged.Commit();
  EXPECT_EQ(ReadFile(a), "third");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.data()), {}), 12 + 2);
}

TEST(StagedFilesTest, KeepContentStartsFromTheCurrentFileAndMissingFoldersFail) {
  TempDrive drive;
  const auto a = drive.data() / "A.dat";
  WriteFile(a, "11112222");
  StagedFiles staged;
  {
    RecordFile f(staged.Stage(a, true), 4);
    f.Write(1, "xxxx");
    f.Close();
  }
  staged.Commit();
  EXPECT_EQ(ReadFile(a), "xxxx2222");
  EXPECT_THROW(staged.Stage(drive.data() / "NOFOLDER" / "x.dat"), IoError);
}

}  // namespace
}  // namespace meridax
