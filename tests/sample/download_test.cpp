// A small world served by the download's stand-in and downloaded by datafetch yields
// exactly the raw record files the generator expects.
#include <gtest/gtest.h>

#include <sstream>

#include "datafetch/register_windows.h"
#include "platform/headless_windows.h"
#include "platform/step_host.h"
#include "tests/support/temp_drive.h"
#include "tools/sample/service.h"

namespace meridax {
namespace {

class SampleDownloadTest : public ::testing::TestWithParam<bool> {};

TEST_P(SampleDownloadTest, TheDownloadWritesTheExpectedRawFiles) {
  testing::TempDrive drive;
  sample::Options options;
  options.seed = 2;
  options.hazards = GetParam() ? sample::Hazards{} : sample::Hazards::None();
  // The stand-in's default service folder.
  options.out = drive.root() / "JVDATA";
  options.expected = drive.root() / "expected";
  const sample::Summary summary = sample::Generate(options);
  ASSERT_GT(summary.pending, 0u);

  std::ostringstream out;
  WindowRegistry windows;
  RegisterDatafetchWindows(windows);
  RecordingHost host;
  HeadlessWindows registry(windows, host, WindowContext{&out});
  ASSERT_EQ(registry.Run("KOVF1SETUP19Z1.Command2_Click"), HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(host.Status(), "終了");
  EXPECT_TRUE(host.messages().empty());
  for (const char* kind : sample::kStoredKinds) {
    const std::string name = sample::RawFileName(kind);
    const std::string got = testing::ReadFile(drive.data() / name);
    EXPECT_FALSE(got.empty()) << name;
    EXPECT_TRUE(got == testing::ReadFile(options.expected / name)) << name << " differs";
  }
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutHazards, SampleDownloadTest, ::testing::Bool());

}  // namespace
}  // namespace meridax
