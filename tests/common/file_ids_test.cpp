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

TEST(FileIdsTest, AFileNameIsTheIdsTextInUtf8WhenItComesBackAsTheSameBytesAndFits) {
  const std::string a = "\x83\x41";  // ア, three bytes in UTF-8
  auto times = [](const std::string& text, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += text;
    return out;
  };
  struct Case {
    std::string id;
    std::string_view ending;
    std::optional<std::string> name;
  } cases[] = {
      {"2019104567", ".dat", "2019104567.dat"},
      {"2019104567", "EX.dat", "2019104567EX.dat"},
      {a + "2345678", ".dat", "ア2345678.dat"},
      {"\xB1\xB2", ".dat", "ｱｲ.dat"},      // half-width kana
      {"\x87\x90", ".dat", std::nullopt},  // a duplicate code: comes back as 0x81 0xE0
      {"\x83", ".dat", std::nullopt},      // a lead byte cut off
      {"\x85\x40", ".dat", std::nullopt},  // no character
      {std::string(300, '\xFF'), ".dat", std::nullopt},
      {std::string(219, '1'), ".dat", std::string(219, '1') + ".dat"},
      {std::string(220, '1'), ".dat", std::nullopt},
      {times(a, 73), ".dat", times("ア", 73) + ".dat"},  // 146 bytes, 219 in UTF-8
      {times(a, 74), ".dat", std::nullopt},
      {"2019/04567", ".dat", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileNameOfId(c.id, c.ending), c.name) << c.id;
    EXPECT_EQ(IsSafeFileId(c.id), c.name.has_value()) << c.id;
  }
  EXPECT_THROW(FileNameOfId("1", "LONGENDING.dat"), std::invalid_argument);

  // The longest name still takes the longest temporary tail on a real folder.
  testing::TempDrive drive;
  const auto target = drive.data() / *FileNameOfId(times(a, 73), "EX.dat");
  StagedFiles staged;
  TextWriter(staged.Stage(target), TextWriter::Mode::kOutput).Raw("x");
  staged.Commit();
  EXPECT_EQ(testing::ReadFile(target), "x");
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
