#include "platform/step_host.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/window.h"

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

TEST(StepHostTest, RegistryFindsWindowsByClassName) {
  static constexpr WindowSpec w{"W", "caption", 0, 0, nullptr, {}};
  static constexpr WindowSpec standIn{"W", "stand-in", 0, 0, nullptr, {}};
  WindowRegistry registry;
  registry.Add(w);
  EXPECT_THROW(registry.Add(w), std::logic_error);
  registry.AddUnlessRegistered(standIn);
  ASSERT_NE(registry.Find("W"), nullptr);
  EXPECT_EQ(registry.Find("W")->caption, "caption");
  EXPECT_EQ(registry.Find("V"), nullptr);
}

}  // namespace
}  // namespace meridax
