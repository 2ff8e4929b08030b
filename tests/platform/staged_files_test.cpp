#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/data_folder_lock.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/record_file.h"
#include "platform/record_map.h"
#include "platform/staged_files.h"
#include "platform/step_host.h"
#include "platform/text_file.h"
#include "platform/window.h"
#include "tests/support/child_process.h"
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
  // The five targets alone, without what commits in progress have beside them.
  std::map<std::string, std::string> TargetBytes() const {
    std::map<std::string, std::string> bytes = Bytes();
    std::erase_if(bytes,
                  [](const auto& file) { return file.first.find(".stage") != std::string::npos; });
    return bytes;
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

std::vector<std::string> Names(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_directory()) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Stages `targets` (each written) and ends there, as a killed step does.
void StageAndEnd(const std::vector<std::filesystem::path>& targets) {
  testing::ChildProcess child([&](testing::ChildProcess&) {
    StagedFiles staged;
    for (const auto& t : targets) TextWriter(staged.Stage(t), TextWriter::Mode::kOutput).Raw("x");
    ::_exit(0);
  });
  ASSERT_EQ(child.Wait(), 0);
}

// A temporary that another program removed or put its own file in place of is no longer
// the step's output: the commit fails before it replaces anything.
TEST(StagedFilesTest, ATemporaryGoneOrReplacedFailsTheCommitBeforeAnythingIsReplaced) {
  struct Case {
    const char* what;
    std::function<void(const std::filesystem::path& temp)> touch;
  };
  const std::vector<Case> cases = {
      {"removed", [](const auto& temp) { std::filesystem::remove(temp); }},
      {"replaced by another file",
       [](const auto& temp) {
         std::filesystem::remove(temp);
         WriteFile(temp, "someone else's");
       }},
      {"replaced by a folder",
       [](const auto& temp) {
         std::filesystem::remove(temp);
         std::filesystem::create_directory(temp);
       }},
  };
  for (const Case& c : cases) {
    for (const std::size_t touched : {0u, 3u, 4u}) {  // written or never written
      SCOPED_TRACE(std::string(c.what) + " " + std::to_string(touched));
      const FiveTargets t;
      {
        StagedFiles staged;
        std::vector<std::filesystem::path> temps;
        for (std::size_t i = 0; i < 5; ++i) {
          temps.push_back(staged.Stage(t.Path(i)));
          if (i < 4) TextWriter(temps.back(), TextWriter::Mode::kOutput).Raw("new");
        }
        c.touch(temps[touched]);
        if (touched == 4 && std::string_view(c.what) == "removed") {
          // One never written is made by the commit: there was nothing to remove.
          EXPECT_NO_THROW(staged.Commit());
          continue;
        }
        EXPECT_THROW(staged.Commit(), IoError);
      }
      EXPECT_EQ(t.Bytes(), FiveTargets::Old());
    }
  }
  // One file alone is committed without a journal, and checked the same.
  TempDrive drive;
  const auto a = drive.data() / "A.dat";
  WriteFile(a, "old a");
  StagedFiles staged;
  const auto temp = staged.Stage(a);
  TextWriter(temp, TextWriter::Mode::kOutput).Raw("new a");
  std::filesystem::remove(temp);
  EXPECT_THROW(staged.Commit(), IoError);
  EXPECT_EQ(ReadFile(a), "old a");
}

// What ended owners left goes with the next file staged, in whichever folder they left it;
// the files of a living owner stay, also where its process id names no running process (a
// process of another pid namespace, here the grandchild that took over the owner's hold).
TEST(StagedFilesTest, TheFilesOfEndedOwnersGoThoseOfLivingOnesStay) {
  TempDrive drive;
  const auto kyosoba = drive.data() / "KYOSOBA";
  const auto option = drive.data() / "OPTION1N";
  StageAndEnd({kyosoba / "A.dat", option / "A1.dat", option / "A2.dat"});
  ASSERT_TRUE(testing::EndProcessDuringCommit(
      [&] {
        StagedFiles staged;
        staged.Stage(kyosoba / "J.dat");
        staged.Stage(option / "J.dat");
        staged.Commit();
      },
      StagedFiles::Operation::kReplace, 1));
  ASSERT_TRUE(testing::EndProcessDuringCommit(
      [&] {
        StagedFiles staged;
        staged.Stage(option / "P.dat");
        staged.Stage(option / "Q.dat");
        staged.Commit();
      },
      StagedFiles::Operation::kWriteJournal, 0));
  testing::ChildProcess living([&](testing::ChildProcess& self) {
    StagedFiles staged;
    TextWriter(staged.Stage(kyosoba / "L.dat"), TextWriter::Mode::kOutput).Raw("l");
    if (::fork() == 0) {
      self.Pause();
      ::_exit(0);
    }
    ::_exit(0);
  });
  ASSERT_TRUE(living.WaitUntilPaused());

  auto stagedNames = [&](const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const std::string& name : Names(folder)) {
      if (name.find(".stage") != std::string::npos) names.push_back(name.substr(0, 5));
    }
    return names;
  };
  {
    StagedFiles staged;
    staged.Stage(drive.data() / "N.dat");
    staged.Commit();
  }
  // The commit ended in its renames is finished before this one's; the journal part of the
  // one ended before its renames goes.
  EXPECT_EQ(stagedNames(kyosoba), (std::vector<std::string>{"L.dat"}));
  EXPECT_TRUE(stagedNames(option).empty());
  EXPECT_EQ(stagedNames(drive.data()).size(), 1u);  // the living owner's record

  CompleteInterruptedCommits();
  EXPECT_EQ(stagedNames(kyosoba), (std::vector<std::string>{"L.dat"}));
  EXPECT_TRUE(stagedNames(option).empty());
  EXPECT_TRUE(FileExists(kyosoba / "J.dat"));
  EXPECT_TRUE(FileExists(option / "J.dat"));

  ASSERT_EQ(living.Wait(), 0);
  // The grandchild's hold ends as it exits, a moment after it let go of the pipe.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  do {
    CompleteInterruptedCommits();
  } while (!stagedNames(kyosoba).empty() && std::chrono::steady_clock::now() < deadline);
  EXPECT_TRUE(stagedNames(kyosoba).empty());
  EXPECT_TRUE(stagedNames(drive.data()).empty());
}

// Files that only look like temporaries, with no owner of ours on record, are the user's.
TEST(StagedFilesTest, FilesThatOnlyLookLikeTemporariesStayThroughEverySweep) {
  TempDrive drive;
  const std::string dead = std::to_string(EndedProcessId());
  const std::vector<std::string> users = {"my.stage2024_01",
                                          "results.stage99999_1.old",
                                          "draft.stage4000000_7.part",
                                          "v.stage099999_1",
                                          "t.stage99999_00001",
                                          "X.dat.stage" + dead + "_5",
                                          "COMMIT.stage" + dead + "_7.part",
                                          "COMMIT.stage" + dead + "_6.journal",
                                          "COMMIT.stage" + dead + "_8.owner"};
  for (const auto& folder : {drive.data(), drive.data() / "KYOSOBA"}) {
    for (const std::string& name : users) WriteFile(folder / name, "the user's");
  }
  // A record that is not one of ours either: its owner's files are not known.
  WriteFile(drive.data() / "KYOSOBA" / ("Y.dat.stage" + dead + "_8"), "the user's");
  StageAndEnd({drive.data() / "KYOSOBA" / "E.dat"});
  {
    StagedFiles staged;
    staged.Stage(drive.data() / "KYOSOBA" / "N.dat");
    staged.Stage(drive.data() / "M.dat");
    staged.Commit();
  }
  CompleteInterruptedCommits();
  std::vector<std::string> expected = users;
  expected.push_back("M.dat");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(drive.data()), expected);
  expected = users;
  expected.push_back("N.dat");
  expected.push_back("Y.dat.stage" + dead + "_8");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Names(drive.data() / "KYOSOBA"), expected);
}

// Another program's step reads a set while a commit of that set is under way: it waits
// until the commit has ended, says so, and reads the new set whole.
TEST(DataFolderLockTest, AReaderWaitsForACommitUnderWayAndSeesItWhole) {
  const FiveTargets t;
  testing::ChildProcess committer([&](testing::ChildProcess& self) {
    StagedFiles::SetHookForTesting([&](StagedFiles::Operation op, std::size_t i) {
      if (op == StagedFiles::Operation::kReplace && i == 2) self.Pause();
    });
    t.StageAndCommit();
  });
  ASSERT_TRUE(committer.WaitUntilPaused());
  std::thread later([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    committer.Go();
  });
  RecordingHost host;
  std::map<std::string, std::string> seen;
  {
    const DataFolderReading reading(&host);
    seen = t.TargetBytes();
  }
  later.join();
  EXPECT_EQ(committer.Wait(), 0);
  EXPECT_EQ(seen, FiveTargets::New());
  EXPECT_EQ(host.statusHistory(), (std::vector<std::string>{std::string(kWaitingForCommit)}));
  EXPECT_GT(host.eventPumps(), 0);  // the window repaints meanwhile
}

struct PeriodSteps : WindowSteps {
  std::string Command1_Click(StepHost&) { return "read " + text1; }
};
constexpr ControlSpec kPeriodControls[] = {
    {"Command1", ControlKind::kButton, "抽出", {}, Procedure<&PeriodSteps::Command1_Click>, true},
    {"Text1", ControlKind::kTextBox, "Text1", {}},
};
constexpr WindowSpec kPeriodWindow{"FormPERIOD", "", 0, 0, Create<PeriodSteps>, kPeriodControls};

// A window's step that waits for another program's commit says so on the window, and still
// reads the period the operator typed into Text1, not the words of the wait.
TEST(DataFolderLockTest, AStepThatWaitsSaysSoAndStillReadsWhatWasTyped) {
  const FiveTargets t;
  testing::ChildProcess committer([&](testing::ChildProcess& self) {
    StagedFiles::SetHookForTesting([&](StagedFiles::Operation op, std::size_t) {
      if (op == StagedFiles::Operation::kReplace) self.Pause();
    });
    t.StageAndCommit();
  });
  ASSERT_TRUE(committer.WaitUntilPaused());
  std::thread later([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    committer.Go();
  });
  const auto steps = NewSteps(kPeriodWindow, {});
  steps->TypeText1("201901");
  RecordingHost window;
  EXPECT_EQ(RunControl(kPeriodControls[0], *steps, window), StepResult::kOk);
  later.join();
  EXPECT_EQ(window.statusHistory(),
            (std::vector<std::string>{std::string(kWaitingForCommit), "read 201901"}));
  EXPECT_EQ(committer.Wait(), 0);
}

// A commit waits until another program's step has read its set; one paused for a dialog
// that waits for the operator holds nothing meanwhile.
TEST(DataFolderLockTest, ACommitWaitsForReadersButNotForADialog) {
  const FiveTargets t;
  testing::ChildProcess reader([&](testing::ChildProcess& self) {
    const DataFolderReading reading;
    const auto before = t.TargetBytes();
    self.Pause();
    if (t.TargetBytes() != before) throw std::runtime_error("mixed");
    {
      const DataFolderReadingPause dialog;
      self.Pause();
    }
  });
  ASSERT_TRUE(reader.WaitUntilPaused());
  std::vector<std::string> notices;
  SetDataFolderWaitNotice([&](std::string_view text) { notices.emplace_back(text); });
  std::thread later([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    reader.Go();
  });
  t.StageAndCommit();
  later.join();
  EXPECT_EQ(t.Bytes(), FiveTargets::New());
  EXPECT_EQ(notices, (std::vector<std::string>{std::string(kWaitingForReaders)}));
  EXPECT_EQ(reader.Wait(), 0);  // its reads saw one set

  notices.clear();
  testing::ChildProcess dialog([&](testing::ChildProcess& self) {
    const DataFolderReading reading;
    const DataFolderReadingPause pause;
    self.Pause();
  });
  ASSERT_TRUE(dialog.WaitUntilPaused());
  t.StageAndCommit();
  EXPECT_TRUE(notices.empty());
  EXPECT_EQ(dialog.Wait(), 0);
  SetDataFolderWaitNotice({});
}

}  // namespace
}  // namespace meridax
