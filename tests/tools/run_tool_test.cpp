// The headless runner's forms on a small fake window with a grid and a list.
#include "tools/meridax-run/run_tool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <sstream>
#include <streambuf>

#include "platform/headless_windows.h"
#include "tests/support/fake_window.h"
#include "tests/support/temp_drive.h"

namespace meridax {
namespace {

using testing::FakeSteps;
using testing::kFakeWindow;

// Steps that throw what no step should, one of each kind.
class ThrowingSteps : public WindowSteps {
 public:
  void Command1_Click(StepHost&) { throw 29; }
  void Command2_Click(StepHost&) { throw std::bad_alloc(); }
};

constexpr ControlSpec kThrowingControls[] = {
    {"Command1",
     ControlKind::kButton,
     "数",
     {0, 0, 600, 300},
     Procedure<&ThrowingSteps::Command1_Click>},
    {"Command2",
     ControlKind::kButton,
     "記憶",
     {0, 300, 600, 300},
     Procedure<&ThrowingSteps::Command2_Click>,
     true},
};
const WindowSpec kThrowingWindow{"FormTHROW",           "THROW",          600, 600,
                                 Create<ThrowingSteps>, kThrowingControls};

struct ToolRun {
  int exit;
  std::string out, err;
};

ToolRun RunWith(std::vector<std::string> args) {
  WindowRegistry windows;
  windows.Add(kFakeWindow);
  std::ostringstream out, err;
  const int exit = RunTool(windows, args, out, err);
  return {exit, out.str(), err.str()};
}

TEST(RunToolTest, StepsOfOneClassShareOneInstanceLoadedOnce) {
  WindowRegistry windows;
  windows.Add(kFakeWindow);
  RecordingHost host;
  HeadlessWindows session(windows, host);
  EXPECT_EQ(session.Instance("FormFAKE"), nullptr);
  ASSERT_EQ(session.Run("FormFAKE.Text1=201901 期間"), HeadlessWindows::Outcome::kOk);
  auto& steps = static_cast<FakeSteps&>(*session.Instance("FormFAKE"));
  EXPECT_EQ(steps.loads, 1);
  EXPECT_EQ(steps.text1, "201901 期間");
  ASSERT_EQ(session.Run("FormFAKE.Option2"), HeadlessWindows::Outcome::kOk);
  ASSERT_EQ(session.Run("FormFAKE.Command1_Click"), HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(steps.grid.TextMatrix(1, 1), "201901 期間");
  EXPECT_EQ(steps.grid.TextMatrix(1, 2), "2");
  // Text1 is also the status line: the next click reads what the step left there.
  ASSERT_EQ(session.Run("FormFAKE.Command1_Click"), HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(steps.grid.TextMatrix(1, 1), "終わり");
  EXPECT_EQ(steps.loads, 1);
  EXPECT_EQ(steps.clicks, 2);
  EXPECT_EQ(host.statusHistory(), (std::vector<std::string>{"終わり", "終わり"}));
}

TEST(RunToolTest, ListClickSelectsAnEntryThatIsThereAtThatMoment) {
  WindowRegistry windows;
  windows.Add(kFakeWindow);
  RecordingHost host;
  HeadlessWindows session(windows, host);
  EXPECT_EQ(session.Run("FormFAKE.List1_Click=entry 1"), HeadlessWindows::Outcome::kNoSuchEntry);
  ASSERT_EQ(session.Run("FormFAKE.List1_Click=2016100002EX.dat"), HeadlessWindows::Outcome::kOk);
  auto& steps = static_cast<FakeSteps&>(*session.Instance("FormFAKE"));
  EXPECT_EQ(steps.grid.TextMatrix(2, 1), "2016100002EX.dat");
  EXPECT_EQ(steps.list.Selected(), 1);
  ASSERT_EQ(session.Run("FormFAKE.Command1_Click"), HeadlessWindows::Outcome::kOk);
  ASSERT_EQ(session.Run("FormFAKE.List1_Click=entry 1"), HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(steps.grid.TextMatrix(2, 1), "entry 1");

  const ToolRun r = RunWith({"FormFAKE.List1_Click=nothing", "FormFAKE.Command1_Click"});
  EXPECT_EQ(r.exit, 2);
  EXPECT_EQ(r.out, "");  // the run stops there
  EXPECT_NE(r.err.find("FormFAKE.List1_Click=nothing"), std::string::npos) << r.err;
}

TEST(RunToolTest, UnknownFormsFailBeforeAnythingRuns) {
  for (const char* step :
       {"FormFAKE.Option4", "FormFAKE.Text2=x", "FormFAKE.List1_Click", "FormFAKE.Command9_Click",
        "FormFAKE.Label1=x", "FormFAKE.Form_Load", "Nowhere.Command1_Click", "FormFAKE"}) {
    const ToolRun r = RunWith({"FormFAKE.Command1_Click", step});
    EXPECT_EQ(r.exit, 2) << step;
    EXPECT_EQ(r.out, "") << step;
    EXPECT_NE(r.err.find(std::string("unknown step ") + step), std::string::npos) << r.err;
  }
}

TEST(RunToolTest, AStepThatThrowsAnythingEndsTheRunWithItsNameAndStatusOne) {
  const std::pair<const char*, const char*> cases[] = {
      {"FormTHROW.Command1_Click", "an exception of unknown kind"},
      {"FormTHROW.Command2_Click", "std::bad_alloc"},
  };
  WindowRegistry windows;
  windows.Add(kFakeWindow);
  windows.Add(kThrowingWindow);
  for (const auto& [step, what] : cases) {
    std::ostringstream out, err;
    EXPECT_EQ(RunTool(windows, {step, "FormFAKE.Command1_Click"}, out, err), 1) << step;
    EXPECT_EQ(out.str(), "") << step;  // the run stops there
    EXPECT_NE(err.str().find(std::string("meridax-run: step ") + step + ": " + what),
              std::string::npos)
        << err.str();
  }
}

TEST(RunToolTest, GridsAreWrittenAfterTheRunAlsoWhenAStepFailed) {
  testing::TempDrive drive;
  const auto dir = drive.root() / "grids";
  std::filesystem::create_directories(dir);
  const ToolRun r =
      RunWith({"--drive", drive.root().string(), "--grids", dir.string(), "FormFAKE.Text1=a b ",
               "FormFAKE.Command1_Click", "FormFAKE.Command2_Click", "FormFAKE.Command1_Click"});
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.out, "終わり\n失敗 エラー: フォルダがありません " +
                       (drive.data() / "NOSUCH").string() + " (C:\\MERIDAXPROJECT\\NOSUCH\\)\n");
  // Every row, the fixed row first, the cells of all Cols; trailing blanks kept.
  EXPECT_EQ(testing::ReadFile(dir / "FormFAKE.tsv"),
            "項目 \t\t\n"
            "\ta b \t0\n"
            "\t\t\n"
            "\tbefore the failure\t\n");

  const ToolRun list = RunWith({"--list"});
  EXPECT_EQ(list.exit, 0);
  EXPECT_EQ(list.out,
            "FormFAKE.Command1_Click\t計算\n"
            "FormFAKE.Command2_Click\t失敗\n"
            "FormFAKE.Command3_Click\t待つ\n"
            "FormFAKE.List1_Click=ENTRY\t\n");
}

// A grid that cannot be written fails the run, and says why.
TEST(RunToolTest, AGridThatCannotBeWrittenSaysWhy) {
  testing::TempDrive drive;
  const auto dir = drive.root() / "grids";
  std::filesystem::create_directories(dir);
  std::filesystem::create_symlink("/dev/full", dir / "FormFAKE.tsv");
  const ToolRun r = RunWith(
      {"--drive", drive.root().string(), "--grids", dir.string(), "FormFAKE.Command1_Click"});
  EXPECT_EQ(r.exit, 1);
  EXPECT_EQ(r.err, "meridax-run: 書き込めません " + (dir / "FormFAKE.tsv").string() +
                       " (C:\\grids\\FormFAKE.tsv): ディスクがいっぱいです\n");
}

// An output whose every write fails, as standard output on a full device.
class FullOutput : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

// Status lines that cannot be written fail the run: the step whose status was lost is the
// last one run, as a failed step is.
TEST(RunToolTest, AnOutputThatCannotBeWrittenFailsTheRun) {
  testing::TempDrive drive;
  const std::string root = drive.root().string();
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--drive", root, "FormFAKE.Command1_Click", "FormFAKE.Command2_Click"},
       "meridax-run: step FormFAKE.Command1_Click: standard output cannot be written\n"},
      {{"--list"}, "meridax-run: standard output cannot be written\n"},
  };
  WindowRegistry windows;
  windows.Add(kFakeWindow);
  for (const auto& [args, message] : cases) {
    SCOPED_TRACE(args.back());
    FullOutput full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(RunTool(windows, args, out, err), 1);
    EXPECT_EQ(err.str(), message);
  }
}

}  // namespace
}  // namespace meridax
