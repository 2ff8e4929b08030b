#include "platform/step_host.h"

#include <gtest/gtest.h>

namespace meridax {
namespace {

TEST(StepHostTest, RecordingHostKeepsOnlyTheLastStatusAndEveryMessage) {
  std::vector<std::string> seen;
  RecordingHost host([&](std::string_view kind, std::string_view text) {
    seen.push_back(std::string(kind) + ":" + std::string(text));
  });
  host.SetStatus("RA 終わり  3");
  host.ShowMessage("JVOpenエラー。RC=-1");
  host.SetStatus("SE 終わり  4");
  EXPECT_EQ(host.Status(), "SE 終わり  4");
  EXPECT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(seen.size(), 3u);
}

TEST(StepHostTest, RegistryFindsStepsByName) {
  StepRegistry registry;
  int runs = 0;
  registry.Add("W.Command1_Click", [&](StepHost&) {
    ++runs;
    return StepResult::kOk;
  });
  EXPECT_THROW(registry.Add("W.Command1_Click", {}), std::logic_error);
  ASSERT_NE(registry.Find("W.Command1_Click"), nullptr);
  EXPECT_EQ(registry.Find("W.Command2_Click"), nullptr);
  RecordingHost host;
  EXPECT_EQ((*registry.Find("W.Command1_Click"))(host), StepResult::kOk);
  EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace meridax
