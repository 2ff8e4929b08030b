#include <gtest/gtest.h>

#include <map>

#include "datafetch/main_window_steps.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/staged_files.h"
#include "tests/datafetch/fake_jvlink.h"
#include "tests/datafetch/test_windows.h"
#include "tests/support/ended_commit.h"
#include "tests/support/temp_drive.h"

namespace meridax::datafetch {
namespace {

using testing::FakeJVLink;
using testing::ScriptedProgressShower;
using Then = ScriptedProgressShower::Then;

// A delivered record of `length` bytes: its kind, then `fill`, then CR LF.
std::string Rec(std::string_view kind, std::size_t length, char fill) {
  std::string record(kind);
  record.append(length - 4, fill);
  record.append("\r\n");
  return record;
}

const std::string kRa1 = Rec("RA", 1272, 'a');
const std::string kRa2 = Rec("RA", 1272, 'b');
const std::string kSe1 = Rec("SE", 555, 'c');
const std::string kUm1 = Rec("UM", 1609, 'd');
const std::string kHn1 = Rec("HN", 251, 'e');
const std::string kSk1 = Rec("SK", 208, 'f');
const std::string kBr1 = Rec("BR", 545, 'g');
const std::string kBn1 = Rec("BN", 477, 'h');
const std::string kHs1 = Rec("HS", 200, 'i');
const std::string kHs2 = Rec("HS", 200, 'j');

const std::vector<std::string> kCallsAfterOpen = {
    "JVInit(UNKNOWN)", "JVOpen(TOKURACEDIFNBLDNSLOPYSCHHOSN,20240101000000,3)", "JVClose"};

std::string Earlier(std::string_view kind) {
  return "earlier " + std::string(kind) + "\r\n";
}

struct Scenario {
  std::string name;
  std::int32_t initResult = 0;
  std::vector<FakeJVLink::Open> opens{{0, 1, 0}};
  std::vector<std::int32_t> statuses{0};
  std::vector<FakeJVLink::Read> reads;
  int ticks = -1;
  Then then = Then::kNothing;
  // Expected: raw files by kind; a missing kind is empty. Without files, the earlier files.
  std::optional<std::map<std::string, std::string>> files;
  std::vector<std::string> messages;
  std::vector<std::string> calls = kCallsAfterOpen;
  StepResult result = StepResult::kOk;
  int shown = 0;
  // The raw file (in staged order) whose replacement fails, as an immutable file does.
  std::optional<std::size_t> failReplaceOf;
};

void PrintTo(const Scenario& scenario, std::ostream* os) {
  *os << scenario.name;
}

std::vector<Scenario> Scenarios() {
  std::vector<Scenario> s;
  {
    Scenario c;
    c.name = "every kind to its file, in the order read";
    c.opens = {{0, 3, 2}};
    c.statuses = {0, 1, 2};
    c.reads = {FakeJVLink::Record(kRa1),       FakeJVLink::Record(kSe1),
               FakeJVLink::Result(-1),         FakeJVLink::Record(kUm1, "F2"),
               FakeJVLink::Record(kHs1, "F2"), FakeJVLink::Record(kHn1, "F2"),
               FakeJVLink::Result(-1, "F2"),   FakeJVLink::Record(kSk1, "F3"),
               FakeJVLink::Record(kBr1, "F3"), FakeJVLink::Record(kHs2, "F3"),
               FakeJVLink::Record(kBn1, "F3"), FakeJVLink::Result(-1, "F3")};
    c.files = {{{"RA", kRa1},
                {"SE", kSe1},
                {"UM", kUm1},
                {"HN", kHn1},
                {"SK", kSk1},
                {"BR", kBr1},
                {"BN", kBn1},
                {"HS", kHs1 + kHs2}}};
    c.shown = 1;
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "nothing to download: no progress window, records read at once";
    c.opens = {{0, 1, 0}};
    c.reads = {FakeJVLink::Record(kRa1)};
    c.files = {{{"RA", kRa1}}};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "two races are records 1 and 2; unknown kinds are skipped";
    c.reads = {FakeJVLink::Record(kRa1), FakeJVLink::Record(Rec("XX", 300, 'x')),
               FakeJVLink::Record(Rec("ra", 1272, 'y')), FakeJVLink::Record(Rec("R", 5, 'z')),
               FakeJVLink::Record(kRa2)};
    c.files = {{{"RA", kRa1 + kRa2}}};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "damaged file: deleted, reopened, reading goes on in order";
    c.opens = {{0, 2, 0}, {0, 1, 1}};
    c.reads = {FakeJVLink::Record(kRa1, "F1"), FakeJVLink::Result(-1, "F1"),
               FakeJVLink::Result(-403, "F2"), FakeJVLink::Record(kRa2, "F2"),
               FakeJVLink::Record(kHs1, "F2"), FakeJVLink::Result(-1, "F2")};
    c.files = {{{"RA", kRa1 + kRa2}, {"HS", kHs1}}};
    c.calls = {"JVInit(UNKNOWN)",
               "JVOpen(TOKURACEDIFNBLDNSLOPYSCHHOSN,20240101000000,3)",
               "JVFiledelete(F2)",
               "JVClose",
               "JVOpen(TOKURACEDIFNBLDNSLOPYSCHHOSN,20240101000000,3)",
               "JVClose"};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "open failure keeps the earlier files";
    c.opens = {{-211, 0, 0}};
    c.messages = {"JVOpenエラー。RC=-211"};
    c.result = StepResult::kFailed;
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "init failure is reported and replaces nothing";
    c.initResult = -101;
    c.reads = {FakeJVLink::Record(kSe1)};
    c.messages = {"JVInitエラー。RC=-101"};
    c.result = StepResult::kFailed;
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "no data keeps the earlier files";
    c.opens = {{0, 0, 0}};
    c.messages = {"該当するデータがありません。"};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "a negative read count reads nothing and keeps the earlier files";
    c.opens = {{0, -1, 0}};
    c.reads = {FakeJVLink::Record(kRa1)};
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "cancel after some files: nothing read, earlier files kept";
    c.opens = {{0, 3, 3}};
    c.statuses = {1};
    c.ticks = 1;
    c.then = Then::kCancel;
    c.reads = {FakeJVLink::Record(kRa1)};
    c.calls = {"JVInit(UNKNOWN)", "JVOpen(TOKURACEDIFNBLDNSLOPYSCHHOSN,20240101000000,3)",
               "JVCancel", "JVClose"};
    c.shown = 1;
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "close box before the end: reading goes on";
    c.opens = {{0, 3, 3}};
    c.statuses = {1};
    c.ticks = 2;
    c.then = Then::kCloseBox;
    c.reads = {FakeJVLink::Record(kRa1)};
    c.files = {{{"RA", kRa1}}};
    c.shown = 1;
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "download failure is reported and replaces nothing";
    c.opens = {{0, 3, 3}};
    c.statuses = {1, -502};
    c.reads = {FakeJVLink::Record(kRa1)};
    c.messages = {"ダウンロード失敗。RC=-502"};
    c.result = StepResult::kFailed;
    c.shown = 1;
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "read failure after two records keeps the earlier files";
    c.reads = {FakeJVLink::Record(kRa1), FakeJVLink::Record(kHs1), FakeJVLink::Result(-502)};
    c.messages = {"JVReadエラー。 RC=-502"};
    c.result = StepResult::kFailed;
    s.push_back(c);
  }
  {
    Scenario c;
    c.name = "a raw file that cannot be replaced keeps every earlier file";
    c.reads = {FakeJVLink::Record(kRa1), FakeJVLink::Record(kHs1)};
    c.failReplaceOf = kRecordFileCount;
    c.messages = {"書き込みエラー。置き換えられません HS20190101.dat"};
    c.result = StepResult::kFailed;
    s.push_back(c);
  }
  return s;
}

class DownloadTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(DownloadTest, Scenario) {
  const Scenario& sc = GetParam();
  testing::TempDrive drive;
  for (const auto& raw : kRawFiles) {
    testing::WriteFile(drive.data() / std::string(raw.fileName), Earlier(raw.kind));
  }
  FakeJVLink jv;
  jv.initResult = sc.initResult;
  jv.opens = sc.opens;
  jv.statuses = sc.statuses;
  jv.reads = sc.reads;
  ScriptedProgressShower progress;
  progress.ticks = sc.ticks;
  progress.then = sc.then;
  MainWindow window(jv, progress);
  RecordingHost host;
  if (sc.failReplaceOf) {
    StagedFiles::SetHookForTesting([&](StagedFiles::Operation op, std::size_t i) {
      if (op == StagedFiles::Operation::kReplace && i == *sc.failReplaceOf) {
        throw IoError("置き換えられません", std::string(kRawFiles[i].fileName));
      }
    });
  }

  EXPECT_EQ(window.Command2_Click(host), sc.result);
  StagedFiles::SetHookForTesting({});

  EXPECT_EQ(host.Status(), "終了");
  EXPECT_EQ(host.messages(), sc.messages);
  EXPECT_EQ(jv.Calls(), sc.calls);
  EXPECT_EQ(progress.shown, sc.shown);
  for (std::size_t i = 0; i < kRawFiles.size(); ++i) {
    const std::string kind(kRawFiles[i].kind);
    std::string expected = Earlier(kind);
    if (sc.files) expected = sc.files->contains(kind) ? sc.files->at(kind) : "";
    EXPECT_EQ(testing::ReadFile(drive.data() / std::string(kRawFiles[i].fileName)), expected)
        << kind;
    if (i < kRecordFileCount && sc.files) {
      EXPECT_EQ(window.RecordCounter(i),
                static_cast<std::int32_t>(expected.size() / kRawFiles[i].recordLength));
    }
  }
  // Nothing is left under a temporary name.
  std::size_t entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(drive.data())) {
    if (entry.is_regular_file()) ++entries;
  }
  EXPECT_EQ(entries, kRawFiles.size());
}

INSTANTIATE_TEST_SUITE_P(, DownloadTest, ::testing::ValuesIn(Scenarios()), [](const auto& info) {
  std::string name;
  for (char c : info.param.name) {
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  }
  return name;
});

TEST(DownloadRunTest, ReadsWithOneBufferOfTheFullSize) {
  testing::TempDrive drive;
  FakeJVLink jv;
  jv.reads = {FakeJVLink::Record(kHs1), FakeJVLink::Result(-1)};
  ScriptedProgressShower progress;
  MainWindow window(jv, progress);
  RecordingHost host;
  window.Command2_Click(host);
  EXPECT_EQ(std::count(jv.log().begin(), jv.log().end(), "JVRead(120000)"), 3);
  // A market-sale record is one line of 198 bytes and its CR LF.
  const std::string hs = testing::ReadFile(drive.data() / "HS20190101.dat");
  ASSERT_EQ(hs.size(), 200u);
  EXPECT_EQ(hs.find("\r\n"), 198u);
}

TEST(DownloadRunTest, ASecondDownloadAfterAReadFailureStartsAfresh) {
  testing::TempDrive drive;
  FakeJVLink jv;
  ScriptedProgressShower progress;
  MainWindow window(jv, progress);
  RecordingHost host;
  jv.reads = {FakeJVLink::Record(kRa1), FakeJVLink::Result(-502)};
  window.Command2_Click(host);
  jv.Restart();
  jv.reads = {FakeJVLink::Record(kRa2)};
  EXPECT_EQ(window.Command2_Click(host), StepResult::kOk);
  EXPECT_EQ(testing::ReadFile(drive.data() / "RA20190101.dat"), kRa2);
  EXPECT_EQ(window.RecordCounter(0), 1);
}

TEST(DownloadRunTest, ADownloadEndedDuringItsRenamesIsCompletedByTheNextOne) {
  testing::TempDrive drive;
  for (const auto& raw : kRawFiles) {
    testing::WriteFile(drive.data() / std::string(raw.fileName), Earlier(raw.kind));
  }
  FakeJVLink jv;
  ScriptedProgressShower progress;
  MainWindow window(jv, progress);
  RecordingHost host;
  jv.reads = {FakeJVLink::Record(kRa1), FakeJVLink::Record(kHs1)};
  ASSERT_TRUE(testing::EndProcessDuringCommit([&] { window.Command2_Click(host); },
                                              StagedFiles::Operation::kReplace, 4));
  EXPECT_EQ(testing::ReadFile(drive.data() / "HS20190101.dat"), Earlier("HS"));

  jv.Restart();
  jv.opens = {{-211, 0, 0}};  // the next download gets nothing: the killed one's files stand
  EXPECT_EQ(window.Command2_Click(host), StepResult::kFailed);
  for (const auto& raw : kRawFiles) {
    const std::string expected = raw.kind == "RA" ? kRa1 : raw.kind == "HS" ? kHs1 : "";
    EXPECT_EQ(testing::ReadFile(drive.data() / std::string(raw.fileName)), expected) << raw.kind;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(drive.data()), {}),
            12 + static_cast<std::ptrdiff_t>(kRawFiles.size()));
}

TEST(DownloadRunTest, WithoutTheDataFolderNothingIsAskedOfTheService) {
  testing::TempDrive drive(false);
  FakeJVLink jv;
  jv.reads = {FakeJVLink::Record(kRa1)};
  ScriptedProgressShower progress;
  MainWindow window(jv, progress);
  RecordingHost host;
  EXPECT_EQ(window.Command2_Click(host), StepResult::kFailed);
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_NE(host.messages()[0].find("MERIDAXPROJECT"), std::string::npos);
  EXPECT_EQ(jv.Calls(), std::vector<std::string>{"JVClose"});
  EXPECT_EQ(host.Status(), "終了");
}

TEST(DownloadRunTest, AMissingFolderIsNamedOnTheHostAndAsTheSystemNamesIt) {
  testing::TempDrive drive(false);
  FakeJVLink jv;
  ScriptedProgressShower progress;
  MainWindow window(jv, progress);
  RecordingHost host;
  window.Command2_Click(host);
  EXPECT_EQ(host.messages(),
            std::vector<std::string>{"フォルダがありません " + drive.data().string() +
                                     " (C:\\MERIDAXPROJECT\\)"});
}

}  // namespace
}  // namespace meridax::datafetch
