// The breeding steps on a small sample world, run by name as meridax-run runs them, write
// what the literal procedures write from the same raw files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datasetup/register_windows.h"
#include "platform/headless_windows.h"
#include "platform/step_host.h"
#include "tests/parents/literal_steps.h"
#include "tests/support/record_fixture.h"
#include "tests/support/temp_drive.h"
#include "tools/sample/service.h"

namespace meridax {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDrive;

void RunByName(HeadlessWindows& registry, RecordingHost& host, const std::string& procedure) {
  const std::string step = "FormMERIDAXPROJECTSETUP2025ZZ." + procedure;
  ASSERT_TRUE(registry.Known(step)) << procedure;
  ASSERT_EQ(registry.Run(step), HeadlessWindows::Outcome::kOk)
      << procedure << ": " << host.Status();
}

TEST(SmallWorldTest, BreedingStepsWriteWhatTheLiteralProceduresWrite) {
  TempDrive literal;
  TempDrive drive;
  sample::Options options;
  options.seed = 3;
  options.out = drive.root() / "JVDATA";
  options.expected = drive.data();  // the raw record files, as a download leaves them
  sample::Generate(options);

  WindowRegistry windows;
  RegisterDatasetupWindows(windows);
  RecordingHost host;
  HeadlessWindows registry(windows, host);
  RunByName(registry, host, "Command3_Click");  // the cleaned horse file the offspring steps read
  for (const char* file : {"SK20190101.dat", "UM20190101NEW.dat"}) {
    fs::copy_file(drive.data() / file, literal.data() / file);
  }

  RunByName(registry, host, "Command4_Click");
  const std::string horses =
      std::to_string(fs::file_size(drive.data() / "UM20190101NEW.dat") / 1609);
  EXPECT_EQ(host.Status(), "SK母 終わり  " + horses);
  RunByName(registry, host, "Command11_Click");
  EXPECT_EQ(
      host.Status(),
      "SK/HN 終わり  " + std::to_string(fs::file_size(drive.data() / "SK20190101NEW.dat") / 208));
  RunByName(registry, host, "Command5_Click");
  EXPECT_EQ(host.Status(), "SK父 終わり  " + horses);
  RunByName(registry, host, "Command7_Click");
  EXPECT_EQ(host.Status().rfind("HN 終わり  ", 0), 0u) << host.Status();

  testing::LiteralOffspringStep(literal.data(), false);
  testing::LiteralMareFiles(literal.data());
  testing::LiteralOffspringStep(literal.data(), true);

  const auto expected = testing::FilesBelow(literal.data());
  const auto actual = testing::FilesBelow(drive.data());
  std::size_t mares = 0;
  for (const auto& [name, bytes] : expected) {
    ASSERT_TRUE(actual.count(name)) << name;
    EXPECT_TRUE(actual.at(name) == bytes) << name << " differs";
    mares += name.rfind("HAHAHAN/", 0) == 0 && !bytes.empty();
  }
  EXPECT_GT(mares, 10u);
  for (const char* folder : {"HAHA", "HAHAN", "SHUBOBA", "SHUBOBAN", "HAHAHAN"}) {
    EXPECT_FALSE(fs::is_empty(drive.data() / folder)) << folder;
  }

  const auto breeding = testing::ReadRecords(drive.data() / "HN20190101NEW.dat", 251);
  EXPECT_FALSE(breeding.empty());
  EXPECT_GT(fs::file_size(drive.data() / "FL20190101.dat"), 0u);
  EXPECT_TRUE(ReadFile(drive.data() / "FL20190101.dat") == testing::LiteralFemaleLines(breeding));
}

}  // namespace
}  // namespace meridax
