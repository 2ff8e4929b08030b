#include "datasetup/common/file_ids.h"

#include <gtest/gtest.h>

#include "datasetup/common/step_frame.h"
#include "platform/io_error.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"
#include "tests/support/ended_commit.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

TEST(FileIdsTest, OnlyIdsThatNameAFileInTheirFolderAreSafe) {
  struct Case {
    std::string_view id;
    bool safe;
  } cases[] = {
      {"2019104567", true},
      {"          ", true},  // ten blanks
      {"12345", true},
      {"2019\\04567", false},
      {"2019/04567", false},
      {"..12345678", false},
      {"2019.04567", true},
      {std::string_view("2019\0_4567", 10), false},
      {"2019\t04567", false},
      {"2019\"04567", false},
      {"\x83\x5c"
       "2345678",
       false},  // the backslash as a second byte still splits the path
      {"\x83\x41"
       "2345678",
       true},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSafeFileId(c.id), c.safe) << c.id;
  EXPECT_EQ(SkippedIdsNote(0), "");
  EXPECT_EQ(SkippedIdsNote(3), " (ファイル名にできないID 3件を飛ばしました)");
}

TEST(StepFrameTest, StatusTextAndIoErrorsBecomeTheStatus) {
  EXPECT_EQ(StatusText("RA 終わり", 12), "RA 終わり  12");
  EXPECT_EQ(StatusText("RA 終わり", 0), "RA 終わり  0");
  EXPECT_EQ(StatusText("RA 終わり", -1), "RA 終わり -1");

  RecordingHost host;
  host.SetStatus("earlier");
  EXPECT_EQ(RunStep(host, "RA(レース）", [] { return std::string("RA 終わり  1"); }),
            StepResult::kOk);
  EXPECT_EQ(host.Status(), "RA 終わり  1");
  EXPECT_EQ(RunStep(host, "RA(レース）",
                    []() -> std::string { throw IoError("開けません", "/x/RA.dat"); }),
            StepResult::kFailed);
  EXPECT_EQ(host.Status(), "RA(レース） エラー: 開けません /x/RA.dat");
}

TEST(StepFrameTest, ACommitLeftByAnEndedProcessIsCompletedBeforeTheStepReadsAnything) {
  testing::TempDrive drive;
  const auto a = drive.data() / "A.dat";
  const auto b = drive.data() / "OPTION1N" / "B.dat";
  testing::WriteFile(a, "old a");
  testing::WriteFile(b, "old b");
  ASSERT_TRUE(testing::EndProcessDuringCommit(
      [&] {
        StagedFiles staged;
        TextWriter(staged.Stage(a), TextWriter::Mode::kOutput).Raw("new a");
        TextWriter(staged.Stage(b), TextWriter::Mode::kOutput).Raw("new b");
        staged.Commit();
      },
      StagedFiles::Operation::kReplace, 1));
  ASSERT_EQ(testing::ReadFile(b), "old b");
  RecordingHost host;
  EXPECT_EQ(RunStep(host, "X", [&] { return testing::ReadFile(a) + "," + testing::ReadFile(b); }),
            StepResult::kOk);
  EXPECT_EQ(host.Status(), "new a,new b");
}

}  // namespace
}  // namespace meridax
