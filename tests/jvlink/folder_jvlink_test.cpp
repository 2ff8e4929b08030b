#include "platform/jvlink/folder_jvlink.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "platform/file_ops.h"
#include "tests/support/temp_drive.h"
#include "tests/support/unprivileged.h"

namespace meridax::jvlink {
namespace {

using namespace std::chrono_literals;
using testing::ReadFile;
using testing::WriteFile;

// A service folder at the default place, C:\JVDATA\, with its pending sub-folder.
struct Service {
  testing::TempDrive drive{false};
  std::filesystem::path cache = drive.root() / "JVDATA";
  std::filesystem::path pending = cache / "pending";

  Service() { std::filesystem::create_directories(pending); }
  void Cached(const std::string& name, std::string_view bytes) { WriteFile(cache / name, bytes); }
  void Pending(const std::string& name, std::string_view bytes) {
    WriteFile(pending / name, bytes);
  }
};

FolderJVLinkOptions NoDelay() {
  FolderJVLinkOptions options;
  options.perFileDelay = 0ms;
  return options;
}

// Also keeps what the component says of its failures.
FolderJVLinkOptions Noticed(std::vector<std::string>& notices) {
  FolderJVLinkOptions options = NoDelay();
  options.notice = [&notices](std::string_view text) { notices.emplace_back(text); };
  return options;
}

struct Opened {
  std::int32_t rc, readCount, downloadCount;
};

Opened Open(FolderJVLink& jv) {
  Opened o{};
  std::string timestamp;
  o.rc = jv.JVOpen("TOKURACEDIFNBLDNSLOPYSCHHOSN", "20240101000000", 3, o.readCount,
                   o.downloadCount, timestamp);
  return o;
}

// Every result until 0 or a failure: records as their bytes, other results as
// "<rc name>".
std::vector<std::string> ReadAll(FolderJVLink& jv) {
  std::vector<std::string> seen;
  std::string buffer(120000, '\0');
  std::int32_t size = 120000;
  std::string name;
  for (int guard = 0; guard < 1000; ++guard) {
    const std::int32_t rc = jv.JVRead(buffer, size, name);
    if (rc > 0) {
      EXPECT_EQ(buffer.size(), static_cast<std::size_t>(rc));
      seen.push_back(buffer);
      continue;
    }
    seen.push_back("<" + std::to_string(rc) + " " + name + ">");
    if (rc != kEndOfFile) break;
  }
  return seen;
}

void WaitForStatus(FolderJVLink& jv, std::int32_t expected) {
  for (int i = 0; i < 500 && jv.JVStatus() != expected; ++i) std::this_thread::sleep_for(2ms);
  EXPECT_EQ(jv.JVStatus(), expected);
}

TEST(FolderJVLinkTest, ServesEveryDataFileInNameOrderRecordByRecord) {
  Service s;
  s.Cached("B.dat", "RA1\r\nSE2\r\n");
  s.Pending("A.dat", "HS3\r\n");
  s.Pending("C.dat", "");
  s.Cached("D.dat", "UM4\r\nBN5 no line end");
  s.Cached("note.damaged", "");  // a marker is not a data file
  FolderJVLink jv(NoDelay());
  ASSERT_EQ(jv.JVInit("UNKNOWN"), kOk);
  const Opened o = Open(jv);
  EXPECT_EQ(o.rc, kOk);
  EXPECT_EQ(o.readCount, 4);
  EXPECT_EQ(o.downloadCount, 2);
  WaitForStatus(jv, 2);
  EXPECT_EQ(ReadFile(s.cache / "A.dat"), "HS3\r\n");
  EXPECT_FALSE(FileExists(s.pending / "A.dat"));

  EXPECT_EQ(ReadAll(jv), (std::vector<std::string>{"HS3\r\n", "<-1 A.dat>", "RA1\r\n", "SE2\r\n",
                                                   "<-1 B.dat>", "<-1 C.dat>", "UM4\r\n",
                                                   "BN5 no line end", "<-1 D.dat>", "<0 >"}));
  std::string buffer, name;
  std::int32_t size = 120000;
  EXPECT_EQ(jv.JVRead(buffer, size, name), 0);  // and stays at the end
  EXPECT_EQ(jv.JVClose(), kOk);

  // A new download serves everything again.
  ASSERT_EQ(Open(jv).readCount, 4);
  EXPECT_EQ(ReadAll(jv).size(), 10u);
}

TEST(FolderJVLinkTest, ReadingTakesAPendingFileAtOnce) {
  Service s;
  s.Pending("A.dat", "RA1\r\n");
  s.Pending("B.dat", "RA2\r\n");
  FolderJVLinkOptions options;
  options.perFileDelay = 60s;
  FolderJVLink jv(options);
  jv.JVInit("UNKNOWN");
  Open(jv);
  EXPECT_EQ(jv.JVStatus(), 0);
  EXPECT_EQ(ReadAll(jv),
            (std::vector<std::string>{"RA1\r\n", "<-1 A.dat>", "RA2\r\n", "<-1 B.dat>", "<0 >"}));
  EXPECT_EQ(jv.JVStatus(), 2);
  const auto start = std::chrono::steady_clock::now();
  jv.JVClose();  // does not wait for the background download's pause
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
}

TEST(FolderJVLinkTest, RecordsAcrossTheReadChunksStayWhole) {
  Service s;
  // The first record's CR is the last byte of the first 1 MiB read, its LF the next.
  std::string first(1 << 20, 'x');
  first.replace(0, 2, "KS");
  first.back() = '\r';
  first += '\n';
  const std::string second = "CH" + std::string(3858, 'y') + "\r\n";
  std::string bytes = first;
  for (int i = 0; i < 400; ++i) bytes += second;
  s.Cached("A.dat", bytes);
  FolderJVLink jv(NoDelay());
  jv.JVInit("UNKNOWN");
  Open(jv);
  std::string buffer;
  std::int32_t size = 2 << 20;
  std::string name;
  ASSERT_EQ(jv.JVRead(buffer, size, name), static_cast<std::int32_t>(first.size()));
  EXPECT_EQ(buffer, first);
  for (int i = 0; i < 400; ++i) {
    ASSERT_EQ(jv.JVRead(buffer, size, name), 3862) << i;
    ASSERT_EQ(buffer, second) << i;
  }
  EXPECT_EQ(jv.JVRead(buffer, size, name), kEndOfFile);
}

TEST(FolderJVLinkTest, DamagedFileIsReplacedByItsGoodCopyAndNothingIsServedTwice) {
  Service s;
  s.Cached("A.dat", "RA1\r\n");
  s.Cached("B.dat", "RA2-bad\r\n");
  s.Cached("B.dat.damaged", "");
  s.Pending("B.dat", "RA2\r\nRA3\r\n");
  s.Cached("C.dat", "RA4\r\n");
  FolderJVLink jv(NoDelay());
  jv.JVInit("UNKNOWN");
  const Opened first = Open(jv);
  EXPECT_EQ(first.readCount, 3);
  EXPECT_EQ(first.downloadCount, 0);
  EXPECT_EQ(ReadAll(jv), (std::vector<std::string>{"RA1\r\n", "<-1 A.dat>", "<-403 B.dat>"}));

  EXPECT_EQ(jv.JVFiledelete("B.dat"), kOk);
  EXPECT_FALSE(FileExists(s.cache / "B.dat"));
  EXPECT_FALSE(FileExists(s.cache / "B.dat.damaged"));
  jv.JVClose();
  const Opened again = Open(jv);
  EXPECT_EQ(again.rc, kOk);
  EXPECT_EQ(again.readCount, 2);
  EXPECT_EQ(again.downloadCount, 1);
  EXPECT_EQ(ReadAll(jv), (std::vector<std::string>{"RA2\r\n", "RA3\r\n", "<-1 B.dat>", "RA4\r\n",
                                                   "<-1 C.dat>", "<0 >"}));
}

TEST(FolderJVLinkTest, ADamagedFileThatStaysEndsTheReading) {
  Service s;
  s.Cached("A.dat", "RA1\r\n");
  s.Cached("A.dat.damaged", "");
  FolderJVLink jv(NoDelay());
  jv.JVInit("UNKNOWN");
  Open(jv);
  EXPECT_EQ(ReadAll(jv), std::vector<std::string>{"<-403 A.dat>"});
  // Without JVFiledelete the same file cannot be served: a failure, not a loop.
  EXPECT_EQ(ReadAll(jv), std::vector<std::string>{"<-404 A.dat>"});
  // Deleted without a good copy: reading goes on past it.
  EXPECT_EQ(jv.JVFiledelete("A.dat"), kOk);
  jv.JVClose();
  EXPECT_EQ(Open(jv).readCount, 0);
  EXPECT_EQ(ReadAll(jv), std::vector<std::string>{"<0 >"});
}

TEST(FolderJVLinkTest, ADamagedFileThatCannotBeDeletedIsNotServedAgainFromTheStart) {
  Service s;
  s.Cached("A.dat", "RA1\r\n");
  s.Cached("B.dat", "RA2-bad\r\n");
  s.Cached("B.dat.damaged", "");
  FolderJVLink jv(NoDelay());
  jv.JVInit("UNKNOWN");
  Open(jv);
  EXPECT_EQ(ReadAll(jv), (std::vector<std::string>{"RA1\r\n", "<-1 A.dat>", "<-403 B.dat>"}));
  // A folder in the damaged file's place cannot be removed.
  std::filesystem::remove(s.cache / "B.dat");
  std::filesystem::create_directory(s.cache / "B.dat");
  EXPECT_EQ(jv.JVFiledelete("B.dat"), kDeleteFailed);
  jv.JVClose();
  // The re-open still goes on after A, which the reader has already had.
  EXPECT_EQ(Open(jv).readCount, 0);
  EXPECT_EQ(ReadAll(jv), std::vector<std::string>{"<0 >"});
}

TEST(FolderJVLinkTest, CallsThatCannotBeMadeFail) {
  Service s;
  s.Cached("A.dat", "RA1\r\n");
  FolderJVLink jv(NoDelay());
  std::string buffer, name;
  std::int32_t size = 120000;
  EXPECT_EQ(Open(jv).rc, kNotInitialized);
  EXPECT_EQ(jv.JVInit(""), kBadSoftwareId);
  EXPECT_EQ(Open(jv).rc, kNotInitialized);
  EXPECT_EQ(jv.JVRead(buffer, size, name), kNotOpen);
  EXPECT_EQ(jv.JVStatus(), kNotOpen);
  EXPECT_EQ(jv.JVCancel(), kNotOpen);
  ASSERT_EQ(jv.JVInit("UNKNOWN"), kOk);
  ASSERT_EQ(Open(jv).rc, kOk);
  EXPECT_EQ(Open(jv).rc, kAlreadyOpen);

  std::int32_t small = 4;
  EXPECT_EQ(jv.JVRead(buffer, small, name), kBufferTooSmall);
  EXPECT_EQ(jv.JVRead(buffer, size, name), 5);  // the record was kept for a larger buffer
  EXPECT_EQ(buffer, "RA1\r\n");

  EXPECT_EQ(jv.JVFiledelete("../JVDATA/A.dat"), kBadFileName);
  EXPECT_EQ(jv.JVFiledelete(""), kBadFileName);
  EXPECT_EQ(jv.JVFiledelete("Z.dat"), kNoSuchFile);

  EXPECT_EQ(jv.JVCancel(), kOk);
  EXPECT_EQ(jv.JVRead(buffer, size, name), kCancelled);
  jv.JVClose();

  std::filesystem::remove_all(s.cache);
  EXPECT_EQ(Open(jv).rc, kNoServiceFolder);
}

// Bytes this process has read from files so far.
std::uint64_t BytesRead() {
  std::ifstream io("/proc/self/io");
  std::string key;
  std::uint64_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return 0;
}

TEST(FolderJVLinkTest, ARecordLongerThanTheBufferIsAnsweredWithoutReadingItToItsEnd) {
  Service s;
  const auto huge = s.cache / "A.dat";
  WriteFile(huge, "RA");
  std::filesystem::resize_file(huge, std::uintmax_t{1} << 30);  // a gigabyte, no line end
  s.Cached("B.dat", "BN5 no line end");
  FolderJVLink jv(NoDelay());
  ASSERT_EQ(jv.JVInit("UNKNOWN"), kOk);
  ASSERT_EQ(Open(jv).rc, kOk);
  std::string buffer(120000, '\0');
  std::int32_t size = 120000;
  std::string name;
  const std::uint64_t before = BytesRead();
  EXPECT_EQ(jv.JVRead(buffer, size, name), kBufferTooSmall);
  EXPECT_EQ(name, "A.dat");
  EXPECT_LT(BytesRead() - before, std::uint64_t{4} << 20);
  jv.JVClose();

  // The last record of a file ends without a line end: it fits a buffer of its length.
  std::filesystem::remove(huge);
  ASSERT_EQ(Open(jv).rc, kOk);
  std::int32_t exact = 15;
  std::int32_t less = 14;
  EXPECT_EQ(jv.JVRead(buffer, less, name), kBufferTooSmall);
  EXPECT_EQ(jv.JVRead(buffer, exact, name), 15);
  EXPECT_EQ(buffer, "BN5 no line end");
}

TEST(FolderJVLinkTest, CancelStopsTheDownloadAndAFailedMoveIsReported) {
  Service s;
  s.Pending("A.dat", "RA1\r\n");
  s.Pending("B.dat", "RA2\r\n");
  FolderJVLinkOptions options;
  options.perFileDelay = 60s;
  FolderJVLink cancelled(options);
  cancelled.JVInit("UNKNOWN");
  Open(cancelled);
  EXPECT_EQ(cancelled.JVCancel(), kOk);  // does not wait for the pause either
  EXPECT_EQ(cancelled.JVStatus(), 0);
  EXPECT_TRUE(FileExists(s.pending / "A.dat"));
  cancelled.JVClose();

  options.perFileDelay = 300ms;
  FolderJVLink failing(options);
  failing.JVInit("UNKNOWN");
  Open(failing);
  std::filesystem::remove(s.pending / "A.dat");
  for (int i = 0; i < 1000 && failing.JVStatus() >= 0; ++i) std::this_thread::sleep_for(5ms);
  EXPECT_EQ(failing.JVStatus(), kDownloadFailed);
}

TEST(FolderJVLinkTest, SettingsChooseTheServiceFolder) {
  Service s;
  std::filesystem::create_directories(s.drive.root() / "OTHER");
  WriteFile(s.drive.root() / "OTHER" / "X.dat", "RA9\r\n");
  std::vector<std::string> shown;
  std::optional<std::string> answer;
  FolderJVLinkOptions options = NoDelay();
  options.dialog = [&](const std::string& current) {
    shown.push_back(current);
    return answer;
  };
  FolderJVLink jv(options);
  const auto settingsFile = s.drive.root() / "JVSTANDIN" / "settings.txt";

  EXPECT_EQ(jv.JVSetUIProperties(), kOk);  // left unchanged: nothing written
  EXPECT_FALSE(FileExists(settingsFile));
  answer = "C:\\OTHER\\";
  EXPECT_EQ(jv.JVSetUIProperties(), kOk);
  EXPECT_EQ(ReadFile(settingsFile), "ServiceFolder=C:\\OTHER\\\r\n");
  EXPECT_EQ(jv.JVSetUIProperties(), kOk);
  EXPECT_EQ(shown, (std::vector<std::string>{"C:\\JVDATA\\", "C:\\JVDATA\\", "C:\\OTHER\\"}));

  jv.JVInit("UNKNOWN");
  EXPECT_EQ(Open(jv).readCount, 1);
  EXPECT_EQ(ReadAll(jv)[0], "RA9\r\n");
  jv.JVClose();

  // A settings file that cannot be read, or no dialog at all, is a failure.
  std::filesystem::remove(settingsFile);
  std::filesystem::create_directory(settingsFile);
  EXPECT_EQ(jv.JVSetUIProperties(), kSettingsFailed);
  EXPECT_EQ(FolderJVLink(NoDelay()).JVSetUIProperties(), kSettingsFailed);
}

TEST(FolderJVLinkTest, SettingsFileCanSetTheDownloadPause) {
  Service s;
  s.Pending("A.dat", "RA1\r\n");
  s.Pending("B.dat", "RA2\r\n");
  const auto settingsFile = s.drive.root() / "JVSTANDIN" / "settings.txt";
  std::filesystem::create_directories(settingsFile.parent_path());
  WriteFile(settingsFile, "ServiceFolder=C:\\JVDATA\\\r\nDownloadDelayMs=0\r\n");
  FolderJVLinkOptions options;
  options.perFileDelay = std::chrono::hours(1);  // would never finish without the setting
  options.dialog = [](const std::string&) { return std::optional<std::string>("C:\\JVDATA2\\"); };
  FolderJVLink jv(options);
  jv.JVInit("UNKNOWN");
  EXPECT_EQ(Open(jv).downloadCount, 2);
  WaitForStatus(jv, 2);
  jv.JVClose();
  // Choosing another folder keeps the pause.
  EXPECT_EQ(jv.JVSetUIProperties(), kOk);
  EXPECT_EQ(ReadFile(settingsFile), "ServiceFolder=C:\\JVDATA2\\\r\nDownloadDelayMs=0\r\n");
}

struct SettingsCase {
  std::string name;
  std::string bytes;
  std::string serviceFolder;
  std::optional<std::int32_t> downloadDelayMs;
};

void PrintTo(const SettingsCase& c, std::ostream* os) {
  *os << c.name;
}

class SettingsFormsTest : public ::testing::TestWithParam<SettingsCase> {};

// The file is edited by hand as well as by the dialog.
TEST_P(SettingsFormsTest, AreTakenAsTheDialogWritesThem) {
  const SettingsCase& c = GetParam();
  Service s;
  std::filesystem::create_directories(s.drive.root() / "OTHER");
  WriteFile(s.drive.root() / "OTHER" / "X.dat", "RA9\r\n");
  const auto settingsFile = s.drive.root() / "JVSTANDIN" / "settings.txt";
  std::filesystem::create_directories(settingsFile.parent_path());
  WriteFile(settingsFile, c.bytes);

  const Settings settings = LoadSettings(settingsFile);
  EXPECT_EQ(settings.serviceFolder, c.serviceFolder);
  EXPECT_EQ(settings.downloadDelayMs, c.downloadDelayMs);
  if (c.serviceFolder != "C:\\OTHER\\") return;
  FolderJVLink jv(NoDelay());
  jv.JVInit("UNKNOWN");
  const Opened o = Open(jv);
  EXPECT_EQ(o.rc, kOk);
  EXPECT_EQ(o.readCount, 1);
}

INSTANTIATE_TEST_SUITE_P(
    , SettingsFormsTest,
    ::testing::Values(
        SettingsCase{"AsTheDialogWritesThem", "ServiceFolder=C:\\OTHER\\\r\nDownloadDelayMs=5\r\n",
                     "C:\\OTHER\\", 5},
        SettingsCase{"AfterAByteOrderMark", "\xEF\xBB\xBFServiceFolder=C:\\OTHER\\\r\n",
                     "C:\\OTHER\\", std::nullopt},
        SettingsCase{"WithBlanksAroundKeyAndValue",
                     "  ServiceFolder \t=  C:\\OTHER\\ \t\r\n DownloadDelayMs = 5 \r\n",
                     "C:\\OTHER\\", 5},
        SettingsCase{"WithKeysInAnyCase", "servicefolder=C:\\OTHER\\\r\nDOWNLOADDELAYMS=5\r\n",
                     "C:\\OTHER\\", 5},
        SettingsCase{"AllAtOnceWithLfLineEnds",
                     "\xEF\xBB\xBF serviceFolder = C:\\OTHER\\\ndownloadDelayMs =5\n",
                     "C:\\OTHER\\", 5},
        SettingsCase{"BlanksWithinTheValueStay", "ServiceFolder=C:\\MY DATA\\\r\n", "C:\\MY DATA\\",
                     std::nullopt},
        SettingsCase{"AKeyThatOnlyBeginsLikeOneIsNone",
                     "ServiceFolderX=C:\\OTHER\\\r\nDownloadDelayMsMax=5\r\nServiceFolder\r\n",
                     "C:\\JVDATA\\", std::nullopt}),
    [](const auto& info) { return info.param.name; });

struct MissingFolderCase {
  std::string name;
  std::optional<std::string> settings;  // nothing: no settings file
  std::string said;                     // <root> stands for drive C:'s host folder
};

void PrintTo(const MissingFolderCase& c, std::ostream* os) {
  *os << c.name;
}

class MissingServiceFolderTest : public ::testing::TestWithParam<MissingFolderCase> {};

// The folder alone does not tell the operator which file to change.
TEST_P(MissingServiceFolderTest, NamesTheSettingsFile) {
  const MissingFolderCase& c = GetParam();
  testing::TempDrive drive(false);
  const auto settingsFile = drive.root() / "JVSTANDIN" / "settings.txt";
  if (c.settings) {
    std::filesystem::create_directories(settingsFile.parent_path());
    WriteFile(settingsFile, *c.settings);
  }
  std::vector<std::string> notices;
  FolderJVLink jv(Noticed(notices));
  jv.JVInit("UNKNOWN");
  EXPECT_EQ(Open(jv).rc, kNoServiceFolder);
  std::string said = c.said;
  for (std::size_t at; (at = said.find("<root>")) != std::string::npos;) {
    said.replace(at, 6, drive.root().string());
  }
  EXPECT_EQ(notices, std::vector<std::string>{said});
}

INSTANTIATE_TEST_SUITE_P(
    , MissingServiceFolderTest,
    ::testing::Values(
        MissingFolderCase{"ItsFolderIsNotThere", "ServiceFolder=C:\\GONE\\\r\n",
                          "サービスフォルダがありません <root>/GONE (C:\\GONE\\)。設定ファイル "
                          "<root>/JVSTANDIN/settings.txt (C:\\JVSTANDIN\\settings.txt)"},
        MissingFolderCase{"ItIsNotThereEither", std::nullopt,
                          "サービスフォルダがありません <root>/JVDATA (C:\\JVDATA\\)。設定ファイル "
                          "<root>/JVSTANDIN/settings.txt (C:\\JVSTANDIN\\settings.txt) "
                          "がないため既定のフォルダです"},
        MissingFolderCase{"ItsFolderIsNoPath", "ServiceFolder=GONE\r\n",
                          "サービスフォルダの設定がパスではありません (GONE)。設定ファイル "
                          "<root>/JVSTANDIN/settings.txt (C:\\JVSTANDIN\\settings.txt)"}),
    [](const auto& info) { return info.param.name; });

TEST(FolderJVLinkTest, ASettingsFileThatCannotBeReadIsNamed) {
  Service s;
  const auto settingsFile = s.drive.root() / "JVSTANDIN" / "settings.txt";
  std::filesystem::create_directories(settingsFile);  // a folder in its place
  std::vector<std::string> notices;
  FolderJVLink jv(Noticed(notices));
  jv.JVInit("UNKNOWN");
  EXPECT_EQ(Open(jv).rc, kNoServiceFolder);
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_NE(notices[0].find(settingsFile.string()), std::string::npos) << notices[0];
}

struct UnlistedCase {
  std::string name;
  std::string folder;  // of the service folder; empty: the service folder itself
  mode_t mode;
};

void PrintTo(const UnlistedCase& c, std::ostream* os) {
  *os << c.name;
}

class UnlistedFolderTest : public ::testing::TestWithParam<UnlistedCase> {};

// Serving what could be listed would deliver part of the service as the whole of it.
TEST_P(UnlistedFolderTest, FailsTheOpen) {
  const UnlistedCase& c = GetParam();
  Service s;
  s.Cached("A.dat", "RA1\r\n");
  s.Pending("B.dat", "RA2\r\n");
  const auto folder = c.folder.empty() ? s.cache : s.cache / c.folder;
  ASSERT_EQ(::chmod(s.drive.root().c_str(), 0755), 0);
  ASSERT_EQ(::chmod(folder.c_str(), c.mode), 0);
  const std::string seen = testing::RunUnprivileged([] {
    std::vector<std::string> notices;
    FolderJVLink first(Noticed(notices));
    FolderJVLink second(Noticed(notices));
    first.JVInit("UNKNOWN");
    second.JVInit("UNKNOWN");
    const Opened o = Open(first);
    // The failed open holds nothing: the next gets the same failure, not another's hold.
    std::string seen = std::to_string(o.rc) + " " + std::to_string(o.readCount) + " " +
                       std::to_string(Open(second).rc);
    for (const auto& notice : notices) seen += "\n" + notice;
    return seen;
  });
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(seen.substr(0, seen.find('\n')), "-502 0 -502");
  // Each notice names the folder.
  std::size_t named = 0;
  for (std::size_t at = 0; (at = seen.find(" " + folder.string() + " (", at)) != std::string::npos;
       ++at) {
    ++named;
  }
  EXPECT_EQ(named, 2u) << seen;
  EXPECT_TRUE(FileExists(s.pending / "B.dat"));
}

INSTANTIATE_TEST_SUITE_P(, UnlistedFolderTest,
                         ::testing::Values(UnlistedCase{"ServiceFolderWithoutRead", "", 0311},
                                           UnlistedCase{"ServiceFolderClosed", "", 0},
                                           UnlistedCase{"PendingWithoutRead", "pending", 0311},
                                           UnlistedCase{"PendingClosed", "pending", 0}),
                         [](const auto& info) { return info.param.name; });

TEST(FolderJVLinkTest, OneConnectionAtATimeServesAServiceFolder) {
  Service s;
  s.Cached("A.dat", "RA1\r\n");
  s.Cached("B.dat", "RA2-bad\r\n");
  s.Cached("B.dat.damaged", "");
  s.Pending("B.dat", "RA2\r\n");
  s.Pending("C.dat", "RA3\r\n");
  std::vector<std::string> notices;
  FolderJVLinkOptions slow = NoDelay();
  slow.perFileDelay = 60s;  // the first's download would still be under way
  FolderJVLink first(slow);
  FolderJVLink second(Noticed(notices));
  first.JVInit("UNKNOWN");
  second.JVInit("UNKNOWN");
  ASSERT_EQ(Open(first).rc, kOk);
  EXPECT_EQ(Open(second).rc, kAlreadyOpen);
  EXPECT_EQ(notices, std::vector<std::string>{"他のダウンロードが実行中です: " + s.cache.string() +
                                              " (C:\\JVDATA\\)。終わってからやり直してください"});

  // The re-open after JVFiledelete goes on with the first download: none comes between.
  EXPECT_EQ(ReadAll(first), (std::vector<std::string>{"RA1\r\n", "<-1 A.dat>", "<-403 B.dat>"}));
  ASSERT_EQ(first.JVFiledelete("B.dat"), kOk);
  first.JVClose();
  EXPECT_EQ(Open(second).rc, kAlreadyOpen);
  ASSERT_EQ(Open(first).rc, kOk);
  EXPECT_EQ(ReadAll(first),
            (std::vector<std::string>{"RA2\r\n", "<-1 B.dat>", "RA3\r\n", "<-1 C.dat>", "<0 >"}));
  first.JVClose();

  const Opened after = Open(second);
  EXPECT_EQ(after.rc, kOk);
  EXPECT_EQ(after.readCount, 3);
  EXPECT_EQ(notices.size(), 2u);
}

}  // namespace
}  // namespace meridax::jvlink
