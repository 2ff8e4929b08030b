// The download program headless over a service folder, as meridax-run runs it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>
#include <sstream>

#include "datafetch/main_window_steps.h"
#include "datafetch/register_windows.h"
#include "platform/cp932.h"
#include "platform/headless_windows.h"
#include "platform/jvlink/folder_jvlink.h"
#include "records/parsers.h"
#include "tests/support/temp_drive.h"
#include "tests/support/unprivileged.h"

namespace meridax {
namespace {

using testing::ReadFile;
using testing::WriteFile;

// A record of a kind as the service delivers it, every field filled; `seed` tells records
// of one kind apart.
struct Built {
  std::string delivered;
  std::string stored;
};

Built Build(const records::Layout& layout, char seed) {
  records::ParsedRecord parsed(layout);
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    const int width = parsed.slots()[i].deliveredWidth;
    std::string text;
    for (int k = 0; k < width; ++k) text += static_cast<char>('0' + (seed + i + k) % 10);
    parsed.SetAt(i, text);
  }
  parsed.Set("RecordSpec", layout.kind);
  parsed.Set("LineEnd", "\r\n");
  return {records::ToDelivered(parsed), records::ToFixed(parsed)};
}

TEST(DatafetchEndToEndTest, DownloadsAServiceFolderIntoTheRawFiles) {
  testing::TempDrive drive;
  const auto service = drive.root() / "JVDATA";
  std::filesystem::create_directories(service / "pending");

  using namespace records;
  Built ra1 = Build(kRaceLayout, 1);
  {
    // A name of double-byte characters keeps its bytes.
    ParsedRA parsed;
    ParseRA(ra1.delivered, parsed);
    parsed.Set(ra::RaceName, Utf8ToCp932("東京優駿"));
    ra1 = {ToDelivered(parsed), ToFixed(parsed)};
  }
  const Built ra2 = Build(kRaceLayout, 2), se = Build(kRunnerLayout, 3),
              um = Build(kHorseLayout, 4), hn = Build(kBreedingHorseLayout, 5),
              ks = Build(kJockeyLayout, 6), sk = Build(kOffspringLayout, 7),
              ch = Build(kTrainerLayout, 8), br = Build(kBreederLayout, 9),
              bn = Build(kOwnerLayout, 0), hs1 = Build(kMarketSaleLayout, 1),
              hs2 = Build(kMarketSaleLayout, 2);
  ASSERT_EQ(ks.delivered.size(), 4173u);
  ASSERT_EQ(ks.stored.size(), 4161u);
  ASSERT_EQ(ch.delivered.size(), 3862u);
  const std::string unknown = "ZZ" + std::string(98, '9') + "\r\n";

  WriteFile(service / "A.dat",
            ra1.delivered + se.delivered + unknown + um.delivered + hs1.delivered);
  // B is damaged in the cache; its good copy is still to download.
  WriteFile(service / "B.dat", "HN broken\r\n");
  WriteFile(service / "B.dat.damaged", "");
  WriteFile(service / "pending" / "B.dat", hn.delivered + ks.delivered + sk.delivered);
  WriteFile(service / "pending" / "C.dat",
            ch.delivered + br.delivered + bn.delivered + ra2.delivered + hs2.delivered);
  WriteFile(drive.data() / "RA20190101.dat", "earlier");

  std::ostringstream out;
  WindowRegistry windows;
  RegisterDatafetchWindows(windows);
  RecordingHost host;
  HeadlessWindows registry(windows, host, WindowContext{&out});
  ASSERT_TRUE(registry.Known("KOVF1SETUP19Z1.Command2_Click"));
  EXPECT_EQ(registry.Run("KOVF1SETUP19Z1.Command2_Click"), HeadlessWindows::Outcome::kOk);

  EXPECT_EQ(host.Status(), "終了");
  EXPECT_TRUE(host.messages().empty());
  EXPECT_NE(out.str().find("1 / 1\n"), std::string::npos) << out.str();
  const auto raw = [&](const char* name) { return ReadFile(drive.data() / name); };
  EXPECT_EQ(raw("RA20190101.dat"), ra1.stored + ra2.stored);
  EXPECT_EQ(raw("SE20190101.dat"), se.stored);
  EXPECT_EQ(raw("UM20190101.dat"), um.stored);
  EXPECT_EQ(raw("HN20190101.dat"), hn.stored);
  EXPECT_EQ(raw("KS20190101.dat"), ks.stored);
  EXPECT_EQ(raw("SK20190101.dat"), sk.stored);
  EXPECT_EQ(raw("CH20190101.dat"), ch.stored);
  EXPECT_EQ(raw("BR20190101.dat"), br.stored);
  EXPECT_EQ(raw("BN20190101.dat"), bn.stored);
  EXPECT_EQ(raw("HS20190101.dat"), hs1.delivered + hs2.delivered);
  // The good copy took the damaged one's place in the cache.
  EXPECT_EQ(ReadFile(service / "B.dat"), hn.delivered + ks.delivered + sk.delivered);
  EXPECT_FALSE(std::filesystem::exists(service / "B.dat.damaged"));

  // The other two buttons: the market-sale check shows nothing, "設定" names the folder.
  out.str("");
  EXPECT_EQ(registry.Run("KOVF1SETUP19Z1.Command3_Click"), HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(registry.Run("KOVF1SETUP19Z1.Command1_Click"), HeadlessWindows::Outcome::kOk);
  EXPECT_EQ(out.str(), "C:\\JVDATA\\\n");
  EXPECT_TRUE(host.messages().empty());
}

// A service that cannot be served whole, as the download meets it.
struct ServiceFault {
  std::string name;
  // Makes the fault in drive C:; what it returns is held until the download has run.
  std::function<std::shared_ptr<void>(const std::filesystem::path& root)> make;
  std::string said;  // what the component says first (<root>: drive C:'s host folder)
  std::string message;
};

void PrintTo(const ServiceFault& fault, std::ostream* os) {
  *os << fault.name;
}

class ServiceFaultTest : public ::testing::TestWithParam<ServiceFault> {};

TEST_P(ServiceFaultTest, FailsTheDownloadWithItsCauseAndKeepsTheEarlierFiles) {
  const ServiceFault& fault = GetParam();
  testing::TempDrive drive;
  const auto service = drive.root() / "JVDATA";
  std::filesystem::create_directories(service / "pending");
  const std::string ra = Build(records::kRaceLayout, 1).delivered;
  WriteFile(service / "A.dat", ra);
  WriteFile(service / "pending" / "B.dat", ra);
  for (const auto& raw : datafetch::kRawFiles) {
    WriteFile(drive.data() / raw.fileName, "earlier " + std::string(raw.kind));
  }
  ASSERT_EQ(::chmod(drive.root().c_str(), 0755), 0);
  const auto held = fault.make(drive.root());

  // Permissions stop root at nothing: the download runs as an unprivileged user.
  const std::string seen = testing::RunUnprivileged([] {
    std::ostringstream out;
    WindowRegistry windows;
    RegisterDatafetchWindows(windows);
    RecordingHost host;
    HeadlessWindows registry(windows, host, WindowContext{&out});
    const bool failed =
        registry.Run("KOVF1SETUP19Z1.Command2_Click") == HeadlessWindows::Outcome::kFailed;
    std::string seen = out.str() + "--\n" + (failed ? "failed" : "ok");
    for (const auto& message : host.messages()) seen += "\n" + message;
    return seen + "\n" + host.Status();
  });
  std::filesystem::permissions(service, std::filesystem::perms::all);
  std::filesystem::permissions(service / "pending", std::filesystem::perms::all);

  std::string said = fault.said;
  for (std::size_t at; (at = said.find("<root>")) != std::string::npos;) {
    said.replace(at, 6, drive.root().string());
  }
  // One line from the component, its cause (the system's text for an errno) left out.
  const std::size_t end = seen.find("\n--\n");
  ASSERT_NE(end, std::string::npos) << seen;
  EXPECT_EQ(seen.substr(0, said.size()), said) << seen;
  EXPECT_EQ(seen.find('\n'), end) << seen;
  EXPECT_EQ(seen.substr(end + 4), "failed\n" + fault.message + "\n終了");
  for (const auto& raw : datafetch::kRawFiles) {
    EXPECT_EQ(ReadFile(drive.data() / raw.fileName), "earlier " + std::string(raw.kind));
  }
  EXPECT_TRUE(std::filesystem::exists(service / "pending" / "B.dat"));
}

std::shared_ptr<void> ModeOf(const std::filesystem::path& folder, mode_t mode) {
  if (::chmod(folder.c_str(), mode) != 0) throw std::runtime_error("chmod failed");
  return nullptr;
}

INSTANTIATE_TEST_SUITE_P(
    , ServiceFaultTest,
    ::testing::Values(
        ServiceFault{"PendingUnlisted",
                     [](const auto& root) { return ModeOf(root / "JVDATA" / "pending", 0311); },
                     "フォルダの一覧を読めません <root>/JVDATA/pending (", "JVOpenエラー。RC=-502"},
        ServiceFault{"ServiceFolderUnlisted",
                     [](const auto& root) { return ModeOf(root / "JVDATA", 0311); },
                     "フォルダを開けません <root>/JVDATA (", "JVOpenエラー。RC=-502"},
        ServiceFault{"ServiceFolderClosed",
                     [](const auto& root) { return ModeOf(root / "JVDATA", 0); },
                     "フォルダを開けません <root>/JVDATA (", "JVOpenエラー。RC=-502"},
        ServiceFault{"AnotherDownloadUnderWay",
                     [](const auto&) -> std::shared_ptr<void> {
                       jvlink::FolderJVLinkOptions slow;
                       slow.perFileDelay = std::chrono::hours(1);
                       auto other = std::make_shared<jvlink::FolderJVLink>(slow);
                       std::int32_t readCount = 0, downloadCount = 0;
                       std::string timestamp;
                       other->JVInit("UNKNOWN");
                       if (other->JVOpen("RA", "20240101000000", 3, readCount, downloadCount,
                                         timestamp) != 0) {
                         throw std::runtime_error("the other download did not open");
                       }
                       return other;
                     },
                     "他のダウンロードが実行中です: <root>/JVDATA (C:\\JVDATA\\)。"
                     "終わってからやり直してください",
                     "JVOpenエラー。RC=-202"},
        ServiceFault{"SettingsNameAMissingFolder",
                     [](const auto& root) {
                       std::filesystem::create_directories(root / "JVSTANDIN");
                       WriteFile(root / "JVSTANDIN" / "settings.txt",
                                 "\xEF\xBB\xBF servicefolder = C:\\GONE\\\r\n");
                       return nullptr;
                     },
                     "サービスフォルダがありません <root>/GONE (C:\\GONE\\)。設定ファイル "
                     "<root>/JVSTANDIN/settings.txt (C:\\JVSTANDIN\\settings.txt)",
                     "JVOpenエラー。RC=-211"}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace meridax
