#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <map>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"
#include "tests/support/ended_commit.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

using testing::FolderBytes;
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

// Five targets over two folders: three with earlier content, two new, one of them never
// written. FolderBytes() shows every file, so a temporary, backup or journal left shows too.
class FiveTargets {
 public:
  FiveTargets() {
    WriteFile(Path(0), "old A");
    WriteFile(Path(1), "old B");
    WriteFile(Path(3), "old D");
  }
  std::filesystem::path Path(std::size_t i) const {
    static const char* const kNames[] = {"A.dat", "B.dat", "KYOSOBA/C.dat", "KYOSOBA/D.dat",
                                         "E.dat"};
    return drive_.data() / kNames[i];
  }
  void Stage(StagedFiles& staged) const {
    for (std::size_t i = 0; i < 4; ++i) {
      TextWriter(staged.Stage(Path(i)), TextWriter::Mode::kOutput)
          .Raw("new ")
          .Raw(Path(i).filename().string());
    }
    staged.Stage(Path(4));
  }
  void StageAndCommit() const {
    StagedFiles staged;
    Stage(staged);
    staged.Commit();
  }
  std::map<std::string, std::string> Bytes() const { return FolderBytes(drive_.data()); }
  static std::map<std::string, std::string> Old() {
    return {{"A.dat", "old A"}, {"B.dat", "old B"}, {"KYOSOBA/D.dat", "old D"}};
  }
  static std::map<std::string, std::string> New() {
    return {{"A.dat", "new A.dat"},
            {"B.dat", "new B.dat"},
            {"KYOSOBA/C.dat", "new C.dat"},
            {"KYOSOBA/D.dat", "new D.dat"},
            {"E.dat", ""}};
  }
  bool HasJournal() const {
    for (const auto& [name, bytes] : Bytes()) {
      if (name.starts_with("COMMIT") && name.ends_with(".journal")) return true;
    }
    return false;
  }

 private:
  TempDrive drive_;
};

class CommitFailureTest : public ::testing::TestWithParam<std::size_t> {
 protected:
  void TearDown() override { StagedFiles::SetHookForTesting({}); }
};

TEST_P(CommitFailureTest, AFailedRenamePutsEveryEarlierFileBackAndRemovesTheNewOnes) {
  const FiveTargets t;
  const std::size_t failAt = GetParam();
  std::vector<std::size_t> restored;
  StagedFiles::SetHookForTesting([&](StagedFiles::Operation op, std::size_t i) {
    if (op == StagedFiles::Operation::kRestore) restored.push_back(i);
    if (op == StagedFiles::Operation::kReplace && i == failAt) {
      throw IoError("置き換えられません", t.Path(i));
    }
  });
  EXPECT_THROW(t.StageAndCommit(), IoError);
  EXPECT_EQ(t.Bytes(), FiveTargets::Old());
  EXPECT_EQ(restored.size(), failAt);  // each file replaced before the failure, in reverse
  EXPECT_TRUE(std::is_sorted(restored.rbegin(), restored.rend()));
}

TEST_P(CommitFailureTest, AProcessEndedDuringTheRenamesLeavesAJournalThatCompletesTheCommit) {
  const FiveTargets t;
  ASSERT_TRUE(testing::EndProcessDuringCommit([&] { t.StageAndCommit(); },
                                              StagedFiles::Operation::kReplace, GetParam()));
  EXPECT_TRUE(t.HasJournal());
  EXPECT_NE(t.Bytes(), FiveTargets::New());
  CompleteInterruptedCommits();
  EXPECT_EQ(t.Bytes(), FiveTargets::New());
}

INSTANTIATE_TEST_SUITE_P(FirstMiddleLast, CommitFailureTest, ::testing::Values(0u, 2u, 4u));

TEST(StagedFilesTest, AProcessEndedWhileUndoingAFailedCommitStillLeavesOneWholeState) {
  const FiveTargets t;
  ASSERT_TRUE(testing::EndProcessDuringCommit([&] { t.StageAndCommit(); },
                                              StagedFiles::Operation::kRestore, 2, 4));
  CompleteInterruptedCommits();
  EXPECT_EQ(t.Bytes(), FiveTargets::New());
  CompleteInterruptedCommits();  // nothing left to do
  EXPECT_EQ(t.Bytes(), FiveTargets::New());
}

// The disk fills up while the journal is written: the commit fails, replaces nothing and
// leaves no unfinished journal behind.
TEST(StagedFilesTest, AJournalThatCannotBeWrittenGoesAndNothingIsReplaced) {
  const FiveTargets t;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int code = 1;
    {
      StagedFiles staged;
      t.Stage(staged);
      // No file grows from here on, and the journal is the next thing written.
      ::signal(SIGXFSZ, SIG_IGN);
      const rlimit none{0, 0};
      ::setrlimit(RLIMIT_FSIZE, &none);
      try {
        staged.Commit();
      } catch (const IoError&) {
        code = 0;
      }
    }
    ::_exit(code);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(t.Bytes(), FiveTargets::Old());
}

pid_t EndedProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

TEST(StagedFilesTest, StagingInAFolderRemovesTheTemporariesOfEndedProcessesOnly) {
  TempDrive drive;
  const auto folder = drive.data() / "KYOSOBA";
  const std::string dead = std::to_string(EndedProcessId());
  const std::string self = std::to_string(::getpid());
  WriteFile(folder / ("X.dat.stage" + dead + "_5"), "temporary of an ended process");
  WriteFile(folder / ("X.dat.stage" + dead + "_5.old"), "its backup");
  WriteFile(folder / ("W.dat.stage" + self + "_1"), "an earlier process of this id");
  WriteFile(folder / "Y.dat.stage1_5", "temporary of a running process");
  WriteFile(folder / ("Z.dat.stage" + dead + "_6"), "of a commit with a journal");
  WriteFile(drive.data() / ("COMMIT.stage" + dead + "_6.journal"), "");
  WriteFile(folder / "V.dat.stage12x_5", "not a temporary");
  WriteFile(drive.data() / ("COMMIT.stage" + dead + "_7.part"), "a journal never finished");
  {
    StagedFiles staged;
    TextWriter(staged.Stage(folder / "N.dat"), TextWriter::Mode::kOutput).Raw("n");
    staged.Commit();
  }
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"N.dat", "V.dat.stage12x_5", "Y.dat.stage1_5",
                                             "Z.dat.stage" + dead + "_6"}));
  {
    StagedFiles staged;
    staged.Stage(drive.data() / "M.dat");
  }
  EXPECT_FALSE(FileExists(drive.data() / ("COMMIT.stage" + dead + "_7.part")));
  EXPECT_TRUE(FileExists(drive.data() / ("COMMIT.stage" + dead + "_6.journal")));
}

TEST(StagedFilesTest, ACommitWithAJournalClearsItsFolderAlsoWhenItStagesNothingThere) {
  TempDrive drive;
  const std::string dead = std::to_string(EndedProcessId());
  const auto part = drive.data() / ("COMMIT.stage" + dead + "_7.part");
  const auto temporary = drive.data() / ("A.dat.stage" + dead + "_8");
  WriteFile(part, "a journal never finished");
  WriteFile(temporary, "temporary of an ended process");
  {
    StagedFiles staged;
    staged.Stage(drive.data() / "KYOSOBA" / "N.dat");  // one file: no journal
    staged.Commit();
  }
  EXPECT_TRUE(FileExists(part));
  {
    StagedFiles staged;
    staged.Stage(drive.data() / "KYOSOBA" / "N.dat");
    staged.Stage(drive.data() / "KYOSOBA" / "O.dat");
    staged.Commit();
  }
  EXPECT_FALSE(FileExists(part));
  EXPECT_FALSE(FileExists(temporary));
}

}  // namespace
}  // namespace meridax
