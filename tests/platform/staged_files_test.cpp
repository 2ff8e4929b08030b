#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
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
#include "tests/support/system_faults.h"
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
  const TempDrive& drive() const { return drive_; }
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

// A committer paused in its commit while the test starts another program's reader or commit
// beside it; on Go() it ends there, as a killed process does.
class CommitEndedWhileOthersWait {
 public:
  CommitEndedWhileOthersWait(const FiveTargets& t, std::size_t at)
      : committer_([&t, at](testing::ChildProcess& self) {
          StagedFiles::SetHookForTesting([&self, at](StagedFiles::Operation op, std::size_t i) {
            if (op != StagedFiles::Operation::kReplace || i != at) return;
            self.Pause();
            ::_exit(0);
          });
          t.StageAndCommit();
        }) {
    paused_ = committer_.WaitUntilPaused();
    SetDataFolderWaitNotice([this](std::string_view) { waited_ = true; });
    ender_ = std::thread([this] {
      while (!waited_ && paused_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
      committer_.Go();
    });
  }
  ~CommitEndedWhileOthersWait() {
    if (ender_.joinable()) ender_.join();
    committer_.Wait();
    SetDataFolderWaitNotice({});
  }
  bool paused() const { return paused_; }

 private:
  testing::ChildProcess committer_;
  bool paused_ = false;
  std::atomic<bool> waited_{false};
  std::thread ender_;
};

// A reader that waits for another program's commit, which then dies part way, reads the
// commit finished, never the half of it.
TEST(DataFolderLockTest, AReaderThatWaitedOnACommitThatDiedReadsItFinished) {
  for (const std::size_t at : {0u, 2u, 4u}) {
    SCOPED_TRACE(at);
    const FiveTargets t;
    std::map<std::string, std::string> seen;
    {
      const CommitEndedWhileOthersWait ended(t, at);
      ASSERT_TRUE(ended.paused());
      const DataFolderReading reading;
      seen = t.TargetBytes();
    }
    EXPECT_EQ(seen, FiveTargets::New());
  }
}

// A commit that waited for one that then died finishes that one first, then puts its own in
// place: nothing of the dead one's comes over it later.
TEST(DataFolderLockTest, ACommitThatWaitedOnACommitThatDiedPutsItsOwnSetOverIt) {
  const FiveTargets t;
  {
    const CommitEndedWhileOthersWait ended(t, 2);
    ASSERT_TRUE(ended.paused());
    StagedFiles staged;
    for (std::size_t i = 0; i < 5; ++i) {
      TextWriter(staged.Stage(t.Path(i)), TextWriter::Mode::kOutput).Raw("later");
    }
    staged.Commit();
  }
  const std::map<std::string, std::string> later = {{"A.dat", "later"},
                                                    {"B.dat", "later"},
                                                    {"KYOSOBA/C.dat", "later"},
                                                    {"KYOSOBA/D.dat", "later"},
                                                    {"E.dat", "later"}};
  EXPECT_EQ(t.Bytes(), later);
  CompleteInterruptedCommits();
  EXPECT_EQ(t.Bytes(), later);
}

// A commit left half done whose record another program cannot take, or whose folder it cannot
// list, stops that program's step with a status naming what it could not take; a user of the
// folder's group takes what another user of it left.
TEST(DataFolderLockTest, AHalfDoneCommitThatCannotBeTakenStopsTheReaderNamingIt) {
  constexpr uid_t kOtherUser = 64001;
  constexpr gid_t kSharedGroup = 64000;
  struct Case {
    const char* what;
    std::function<void(const TempDrive& drive, const std::filesystem::path& record)> make;
    std::function<void()> asReader;  // in the reader's process, before it reads
    std::string status;              // the start of the reader's status; where empty, it reads
  };
  const auto otherUser = [] { testing::BecomeUser(kOtherUser, kSharedGroup); };
  const std::vector<Case> cases = {
      {"a user of the same group", [](const TempDrive&, const std::filesystem::path&) {}, otherUser,
       ""},
      {"a record no one may open",
       [](const TempDrive&, const std::filesystem::path& record) { ::chmod(record.c_str(), 0); },
       otherUser, "読む エラー: 所有者の記録を開けません "},
      {"a data folder no one may list",
       [](const TempDrive& drive, const std::filesystem::path&) {
         ::chmod(drive.data().c_str(), 0311);
       },
       otherUser, "読む エラー: フォルダを読めません "},
      {"no locks to be had", [](const TempDrive&, const std::filesystem::path&) {},
       [] { testing::FailSystemCall(SYS_flock, ENOLCK); }, "読む エラー: ロックできません "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const FiveTargets t;
    const TempDrive& drive = t.drive();
    // The folder is the group's, its files made as another user's umask leaves them.
    testing::OpenToEveryone(drive.root());
    ::chown(drive.data().c_str(), 0, kSharedGroup);
    ::chmod(drive.data().c_str(), 02775);
    ASSERT_TRUE(testing::EndProcessDuringCommit(
        [&] {
          ::umask(002);
          testing::BecomeUser(kOtherUser + 1, kSharedGroup);
          t.StageAndCommit();
        },
        StagedFiles::Operation::kReplace, 2));
    std::filesystem::path record;
    for (const auto& entry : std::filesystem::directory_iterator(drive.data())) {
      if (entry.path().string().ends_with(".owner")) record = entry.path();
    }
    ASSERT_FALSE(record.empty());
    c.make(drive, record);
    const auto statusFile = drive.root() / "status";
    testing::ChildProcess reader([&](testing::ChildProcess&) {
      c.asReader();
      RecordingHost host;
      RunStep(host, "読む",
              [&] { return t.TargetBytes() == FiveTargets::New() ? "new" : "mixed"; });
      WriteFile(statusFile, host.Status());
    });
    ASSERT_EQ(reader.Wait(), 0);
    const std::string status = ReadFile(statusFile);
    if (c.status.empty()) {
      EXPECT_EQ(status, "new");
    } else {
      EXPECT_EQ(status.rfind(c.status, 0), 0u) << status;
      EXPECT_NE(status.find(c.what == cases[1].what ? record.string() : drive.data().string()),
                std::string::npos)
          << status;
    }
    ::chmod(drive.data().c_str(), 0777);
  }
}

// Files named like an owner's record or a journal that are pipes are not ours: nothing waits
// on them.
TEST(StagedFilesTest, PipesNamedLikeRecordsHoldNothingUp) {
  const FiveTargets t;
  const auto data = t.drive().data();
  ASSERT_EQ(::mkfifo((data / "COMMIT.stage4242_7.owner").c_str(), 0666), 0);
  ASSERT_EQ(::mkfifo((data / "COMMIT.stage4242_7.journal").c_str(), 0666), 0);
  testing::ChildProcess step([&](testing::ChildProcess&) {
    ::alarm(20);  // a wait for ever ends the child, failing the test
    CompleteInterruptedCommits();
    RecordingHost host;
    RunStep(host, "読む", [] { return std::string("read"); });
    if (host.Status() != "read") throw std::runtime_error(host.Status());
    t.StageAndCommit();
  });
  EXPECT_EQ(step.Wait(), 0);
  EXPECT_EQ(t.TargetBytes(), FiveTargets::New());
  EXPECT_TRUE(std::filesystem::is_fifo(data / "COMMIT.stage4242_7.owner"));
}

// A file the step removes goes in the same commit as the files it writes: ended at any of the
// commit's operations, the next start finishes all of it; failed, none of it.
TEST(StagedFilesTest, ARemovalIsPartOfTheCommit) {
  const auto stageAll = [](const FiveTargets& t, StagedFiles& staged) {
    TextWriter(staged.Stage(t.Path(0)), TextWriter::Mode::kOutput).Raw("new A.dat");
    staged.Stage(t.Path(1));
    staged.Remove(t.Path(1));  // staged first, then removed after all
    staged.Remove(t.Path(2));  // nothing stands there
    TextWriter(staged.Stage(t.Path(4)), TextWriter::Mode::kOutput).Raw("new E.dat");
    staged.Remove(t.Path(3));
  };
  const std::map<std::string, std::string> done = {{"A.dat", "new A.dat"}, {"E.dat", "new E.dat"}};
  for (const std::size_t at : {0u, 1u, 3u, 4u}) {
    SCOPED_TRACE(at);
    const FiveTargets t;
    ASSERT_TRUE(testing::EndProcessDuringCommit(
        [&] {
          StagedFiles staged;
          stageAll(t, staged);
          staged.Commit();
        },
        StagedFiles::Operation::kReplace, at));
    CompleteInterruptedCommits();
    EXPECT_EQ(t.Bytes(), done);
  }
  const FiveTargets t;
  StagedFiles::SetHookForTesting([](StagedFiles::Operation op, std::size_t i) {
    if (op == StagedFiles::Operation::kReplace && i == 4) throw IoError("置き換えられません", "x");
  });
  {
    StagedFiles staged;
    stageAll(t, staged);
    EXPECT_THROW(staged.Commit(), IoError);
  }
  StagedFiles::SetHookForTesting({});
  EXPECT_EQ(t.Bytes(), FiveTargets::Old());
  {
    StagedFiles staged;
    stageAll(t, staged);
    staged.Commit();
  }
  EXPECT_EQ(t.Bytes(), done);
}

// A commit waiting for readers goes before the readers that come after it.
TEST(DataFolderLockTest, ACommitWaitingForReadersGoesBeforeLaterReaders) {
  const FiveTargets t;
  testing::ChildProcess first([&](testing::ChildProcess& self) {
    const DataFolderReading reading;
    self.Pause();
  });
  ASSERT_TRUE(first.WaitUntilPaused());
  // Started before the commit, so that it holds nothing of the commit's.
  testing::ChildProcess later([&](testing::ChildProcess& self) {
    self.Pause();
    const DataFolderReading reading;
    if (t.TargetBytes() != FiveTargets::New()) throw std::runtime_error("read before the commit");
  });
  ASSERT_TRUE(later.WaitUntilPaused());
  std::atomic<bool> waiting{false};
  SetDataFolderWaitNotice([&](std::string_view) { waiting = true; });
  std::thread commit([&] { t.StageAndCommit(); });
  while (!waiting) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  later.Go();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the later reader asks meanwhile
  first.Go();
  commit.join();
  SetDataFolderWaitNotice({});
  EXPECT_EQ(later.Wait(), 0);
  EXPECT_EQ(first.Wait(), 0);
}

// What a commit replaced but could not remove stays on record, and the next start removes it:
// one file kept under its temporary's name, or every removal failing (the journal stays too).
TEST(StagedFilesTest, WhatACommitCouldNotRemoveGoesAtTheNextStart) {
  const std::vector<std::function<void()>> failures = {
      [] {
        StagedFiles::SetHookForTesting([](StagedFiles::Operation op, std::size_t i) {
          if (op == StagedFiles::Operation::kDiscard && i == 1)
            throw IoError("削除できません", "x");
        });
      },
      [] {
        testing::FailSystemCall(SYS_unlink, EPERM);
        testing::FailSystemCall(SYS_unlinkat, EPERM);
      },
  };
  for (std::size_t f = 0; f < failures.size(); ++f) {
    SCOPED_TRACE(f);
    const FiveTargets t;
    testing::ChildProcess committer([&](testing::ChildProcess&) {
      StagedFiles staged;
      t.Stage(staged);
      failures[f]();
      staged.Commit();
    });
    ASSERT_EQ(committer.Wait(), 0);
    EXPECT_EQ(t.TargetBytes(), FiveTargets::New());
    EXPECT_NE(t.Bytes(), FiveTargets::New());  // what was replaced, and the record
    CompleteInterruptedCommits();
    EXPECT_EQ(t.Bytes(), FiveTargets::New());
  }
}

// A commit that could not be undone says that its new files go in place before anything
// more is done, and they do.
TEST(StagedFilesTest, ACommitThatCannotBeUndoneSaysItsNewFilesFollow) {
  const FiveTargets t;
  StagedFiles::SetHookForTesting([](StagedFiles::Operation op, std::size_t i) {
    if ((op == StagedFiles::Operation::kReplace && i == 3) ||
        (op == StagedFiles::Operation::kRestore && i == 1)) {
      throw IoError("置き換えられません", "injected");
    }
  });
  std::string what;
  try {
    t.StageAndCommit();
  } catch (const IoError& e) {
    what = e.what();
  }
  StagedFiles::SetHookForTesting({});
  EXPECT_EQ(
      what,
      "置き換えられません injected（新しいファイルへの置き換えは次の処理が始まる前に済ませます）");
  RecordingHost host;
  RunStep(host, "読む", [&] { return t.TargetBytes() == FiveTargets::New() ? "new" : "mixed"; });
  EXPECT_EQ(host.Status(), "new");
  EXPECT_EQ(t.Bytes(), FiveTargets::New());
}

// A record that cannot be locked is no record, and a temporary that cannot be looked at is
// not said to be replaced.
TEST(StagedFilesTest, CallsThatFailAreReportedAsWhatFailed) {
  struct Case {
    const char* what;
    std::function<void(const FiveTargets&)> body;
    std::string start;
  };
  const std::vector<Case> cases = {
      {"a lock refused",
       [](const FiveTargets& t) {
         testing::FailSystemCall(SYS_flock, ENOLCK);
         StagedFiles staged;
         staged.Stage(t.Path(0));
       },
       "所有者の記録をロックできません "},
      {"handles refused at commit",
       [](const FiveTargets& t) {
         StagedFiles staged;
         t.Stage(staged);
         testing::FailSystemCall(SYS_name_to_handle_at, EIO);
         staged.Commit();
       },
       "読めません "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const FiveTargets t;
    const auto statusFile = t.drive().root() / "status";
    testing::ChildProcess child([&](testing::ChildProcess&) {
      try {
        c.body(t);
        WriteFile(statusFile, "no failure");
      } catch (const IoError& e) {
        WriteFile(statusFile, e.what());
      }
    });
    ASSERT_EQ(child.Wait(), 0);
    const std::string what = ReadFile(statusFile);
    EXPECT_EQ(what.rfind(c.start, 0), 0u) << what;
    EXPECT_EQ(t.Bytes(), FiveTargets::Old());
  }
}

}  // namespace
}  // namespace meridax
