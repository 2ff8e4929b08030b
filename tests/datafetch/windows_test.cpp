#include <gtest/gtest.h>

#include "datafetch/main_window_steps.h"
#include "datafetch/progress_window_steps.h"
#include "tests/datafetch/fake_jvlink.h"
#include "tests/datafetch/test_windows.h"
#include "tests/support/temp_drive.h"

namespace meridax::datafetch {
namespace {

using testing::FakeJVLink;
using testing::RecordingProgressView;

struct Progress {
  FakeJVLink jv;
  testing::ScriptedProgressShower unused;
  MainWindow owner{jv, unused};
  RecordingHost host;
  RecordingProgressView view;
  ProgressWindow window{owner, host, view};
};

TEST(ProgressWindowTest, LoadSetsTheBarThenStartsTheTimer) {
  Progress p;
  p.owner.SetDownloadCount(12);
  p.window.Form_Load();
  EXPECT_EQ(p.view.events,
            (std::vector<std::string>{"Max=12", "Min=0", "Value=0", "Interval=10", "Timer=on"}));
  EXPECT_TRUE(p.jv.log().empty());
}

struct TickCase {
  std::string name;
  std::int32_t downloadCount;
  std::vector<std::int32_t> statuses;
  int closedAfterTick;  // 0: stays open
  std::string label;
  std::vector<std::string> messages;
};

void PrintTo(const TickCase& c, std::ostream* os) {
  *os << c.name;
}

class ProgressTickTest : public ::testing::TestWithParam<TickCase> {};

TEST_P(ProgressTickTest, Ticks) {
  const TickCase& c = GetParam();
  Progress p;
  p.jv.opens = {};
  p.jv.statuses = c.statuses;
  p.owner.SetDownloadCount(c.downloadCount);
  p.owner.SetDialogResult(7);
  p.window.Form_Load();
  int closedAt = 0;
  for (std::size_t t = 1; t <= c.statuses.size() && !p.view.closed; ++t) {
    p.window.Timer1_Timer();
    if (p.view.closed) closedAt = static_cast<int>(t);
  }
  EXPECT_EQ(closedAt, c.closedAfterTick);
  EXPECT_EQ(p.view.label, c.label);
  EXPECT_EQ(p.host.messages(), c.messages);
  if (c.messages.empty()) {
    // Completion sets the result; an open window leaves it alone.
    EXPECT_EQ(p.owner.DialogResult(), closedAt ? 0 : 7);
  } else {
    EXPECT_EQ(p.owner.DialogResult(), 7);
    EXPECT_FALSE(p.view.timerEnabled);
    // The timer stops before the message, so it is shown once.
    const auto& e = p.view.events;
    EXPECT_EQ(std::find(e.begin(), e.end(), "Timer=off") + 1,
              std::find(e.begin(), e.end(), "Close"));
  }
  EXPECT_TRUE(p.host.Status().empty());
}

INSTANTIATE_TEST_SUITE_P(
    , ProgressTickTest,
    ::testing::Values(
        TickCase{"FirstTickComplete", 12, {12}, 1, "12 / 12", {}},
        TickCase{"RisesToTheCount", 3, {0, 1, 1, 3}, 4, "3 / 3", {}},
        TickCase{"OvershootNeverCloses", 3, {2, 4, 5}, 0, "5 / 3", {}},
        TickCase{"BeyondSixteenBits", 40000, {32767, 40000}, 2, "40000 / 40000", {}},
        TickCase{
            "FailureClosesWithItsCode", 5, {1, -502}, 2, "1 / 5", {"ダウンロード失敗。RC=-502"}}),
    [](const auto& info) { return info.param.name; });

TEST(ProgressWindowTest, ValueGoesToTheBarUnclamped) {
  Progress p;
  p.jv.statuses = {9};
  p.owner.SetDownloadCount(3);
  p.window.Form_Load();
  p.window.Timer1_Timer();
  EXPECT_EQ(p.view.events.back(), "Label=9 / 3");
  EXPECT_EQ(p.view.events[p.view.events.size() - 2], "Value=9");
}

TEST(ProgressWindowTest, CancelStopsTheDownloadAndSaysSo) {
  Progress p;
  p.owner.SetDialogResult(0);
  p.window.Command1_Click();
  EXPECT_EQ(p.jv.log(), std::vector<std::string>{"JVCancel"});
  EXPECT_EQ(p.owner.DialogResult(), -1);
  EXPECT_TRUE(p.view.closed);
}

TEST(ProgressWindowTest, HeadlessWindowPrintsEachNewLabel) {
  FakeJVLink jv;
  jv.statuses = {0, 1, 1, 2, 3};
  std::vector<std::string> printed;
  std::vector<std::chrono::milliseconds> waits;
  HeadlessProgressShower shower([&](std::string_view label) { printed.emplace_back(label); },
                                [&](std::chrono::milliseconds d) { waits.push_back(d); });
  MainWindow owner(jv, shower);
  owner.SetDownloadCount(3);
  RecordingHost host;
  shower.ShowModal(owner, host);
  EXPECT_EQ(printed, (std::vector<std::string>{"0 / 3", "1 / 3", "2 / 3", "3 / 3"}));
  EXPECT_EQ(waits, std::vector<std::chrono::milliseconds>(5, std::chrono::milliseconds(10)));
  EXPECT_EQ(owner.DialogResult(), 0);
}

TEST(SettingsButtonTest, OnlyMinusOneIsAFailure) {
  for (const std::int32_t rc : {0, -1, -2}) {
    FakeJVLink jv;
    jv.uiResult = rc;
    testing::ScriptedProgressShower progress;
    MainWindow window(jv, progress);
    RecordingHost host;
    const StepResult result = window.Command1_Click(host);
    EXPECT_EQ(jv.log(), std::vector<std::string>{"JVSetUIProperties"});
    if (rc == -1) {
      EXPECT_EQ(host.messages(),
                std::vector<std::string>{"エラーのためJV-Linkの設定に失敗しました。"});
      EXPECT_EQ(result, StepResult::kFailed);
    } else {
      EXPECT_TRUE(host.messages().empty()) << rc;
      EXPECT_EQ(result, StepResult::kOk);
    }
    EXPECT_TRUE(host.statusHistory().empty());
  }
}

TEST(MarketSaleCheckTest, CountsLinesAndShowsNothing) {
  testing::TempDrive drive;
  FakeJVLink jv;
  testing::ScriptedProgressShower progress;
  MainWindow window(jv, progress);
  RecordingHost host;
  const auto file = drive.data() / "HS20190101.dat";
  const std::string line(198, 'x');

  EXPECT_EQ(window.Command3_Click(host), StepResult::kOk);  // missing file
  EXPECT_EQ(window.HsLineCount(), 0);
  testing::WriteFile(
      file, "HS" + line + "\r\nHS" + line + "\r\nHS" + line.substr(0, 189) + "7654321\r\n");
  window.Command3_Click(host);
  EXPECT_EQ(window.HsLineCount(), 3);
  // Each line is parsed without its CR LF.
  EXPECT_EQ(window.ParsedMarketSale().Text(records::hs::SalePrice), "xxx7654321");
  EXPECT_EQ(window.ParsedMarketSale().Text(records::hs::LineEnd), "");
  testing::WriteFile(file, "");
  window.Command3_Click(host);
  EXPECT_EQ(window.HsLineCount(), 0);

  EXPECT_TRUE(host.messages().empty());
  EXPECT_TRUE(host.statusHistory().empty());
  EXPECT_TRUE(jv.log().empty());
}

}  // namespace
}  // namespace meridax::datafetch
