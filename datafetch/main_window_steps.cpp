#include "datafetch/main_window_steps.h"

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "datafetch/progress_window_steps.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/jvlink/folder_jvlink.h"
#include "platform/record_file.h"
#include "platform/staged_files.h"
#include "platform/text_file.h"
#include "records/layouts.h"

namespace meridax::datafetch {
namespace {

constexpr std::size_t kHsIndex = kRecordFileCount;

std::filesystem::path RawPath(std::size_t index) {
  return DataPath(kRawFiles[index].fileName);
}

std::string WithCode(std::string_view text, std::int32_t code) {
  return std::string(text) + std::to_string(code);
}

// Index of a record kind in the raw files, or nothing for a kind that is not kept.
std::optional<std::size_t> KindIndex(std::string_view record) {
  const std::string_view kind = records::View(record, records::header::RecordSpec);
  for (std::size_t i = 0; i < kRawFiles.size(); ++i) {
    if (kRawFiles[i].kind == kind) return i;
  }
  return std::nullopt;
}

}  // namespace

const std::array<RawFileKind, kRecordFileCount + 1> kRawFiles = {{
    {"RA", RawRecordFileName("RA"), records::kRaceLayout.storedLength},
    {"SE", RawRecordFileName("SE"), records::kRunnerLayout.storedLength},
    {"UM", RawRecordFileName("UM"), records::kHorseLayout.storedLength},
    {"HN", RawRecordFileName("HN"), records::kBreedingHorseLayout.storedLength},
    {"KS", RawRecordFileName("KS"), records::kJockeyLayout.storedLength},
    {"SK", RawRecordFileName("SK"), records::kOffspringLayout.storedLength},
    {"CH", RawRecordFileName("CH"), records::kTrainerLayout.storedLength},
    {"BR", RawRecordFileName("BR"), records::kBreederLayout.storedLength},
    {"BN", RawRecordFileName("BN"), records::kOwnerLayout.storedLength},
    {"HS", RawRecordFileName("HS"), 0},
}};

// The raw files of one download, written under temporary names: the earlier files are
// replaced only by Commit(), so a download that fails or is cancelled leaves them as
// they were. Every file is closed however the download ends.
class MainWindow::RawFiles {
 public:
  RawFiles() {
    for (std::size_t i = 0; i < kRecordFileCount; ++i) {
      records_[i] =
          std::make_unique<RecordFile>(staged_.Stage(RawPath(i)), kRawFiles[i].recordLength);
    }
    hs_ = std::make_unique<TextWriter>(staged_.Stage(RawPath(kHsIndex)), TextWriter::Mode::kOutput);
  }

  RecordFile& Records(std::size_t index) { return *records_[index]; }
  TextWriter& MarketSales() { return *hs_; }

  void Commit() {
    for (std::size_t i = kRecordFileCount; i-- > 0;) records_[i]->Close();
    hs_->Close();
    staged_.Commit();
  }

 private:
  // Declared first, so the files are closed before their temporary names go.
  StagedFiles staged_;
  std::array<std::unique_ptr<RecordFile>, kRecordFileCount> records_;
  std::unique_ptr<TextWriter> hs_;
};

MainWindow::MainWindow(jvlink::JVLink& jvlink, ProgressWindowShower& progress)
    : jvlink_(jvlink), progress_(&progress) {}

MainWindow::MainWindow(std::unique_ptr<jvlink::JVLink> jvlink,
                       std::unique_ptr<ProgressWindowShower> progress)
    : ownedJVLink_(std::move(jvlink)),
      ownedProgress_(std::move(progress)),
      jvlink_(*ownedJVLink_),
      progress_(ownedProgress_.get()) {}

void MainWindow::SetProgressShower(std::unique_ptr<ProgressWindowShower> progress) {
  ownedProgress_ = std::move(progress);
  progress_ = ownedProgress_.get();
}

void MainWindow::ReportFailure(StepHost& host, std::string_view message) {
  failed_ = true;
  host.ShowMessage(message);
}

StepResult MainWindow::Command1_Click(StepHost& host) {
  failed_ = false;
  if (jvlink_.JVSetUIProperties() == jvlink::kSettingsFailed) {
    ReportFailure(host, "エラーのためJV-Linkの設定に失敗しました。");
  }
  return failed_ ? StepResult::kFailed : StepResult::kOk;
}

StepResult MainWindow::Command2_Click(StepHost& host) {
  failed_ = false;
  Download(host);
  jvlink_.JVClose();
  host.SetStatus("終了");
  return failed_ ? StepResult::kFailed : StepResult::kOk;
}

void MainWindow::Download(StepHost& host) {
  // Nothing could be stored without the data folder: say so before the service is asked.
  // A commit that an ended process left half done is finished first.
  try {
    RequireFolder(DataPath());
    CompleteInterruptedCommits();
  } catch (const IoError& e) {
    ReportFailure(host, e.what());
    return;
  }
  if (const std::int32_t rc = jvlink_.JVInit(kSoftwareId); rc != 0) {
    ReportFailure(host, WithCode("JVInitエラー。RC=", rc));
  }
  std::int32_t readCount = 0;
  std::string lastFileTimestamp;
  const std::int32_t rc = jvlink_.JVOpen(kDataSpec, kFromTime, kOpenOption, readCount,
                                         downloadCount_, lastFileTimestamp);
  if (rc < 0) {
    ReportFailure(host, WithCode("JVOpenエラー。RC=", rc));
    return;
  }
  if (readCount == 0) {
    host.ShowMessage("該当するデータがありません。");
    return;
  }
  if (downloadCount_ != 0) {
    dialogResult_ = 0;
    progress_->ShowModal(*this, host);
    if (dialogResult_ == -1) return;
  }
  // A negative count reads nothing, so the earlier files stay.
  if (readCount < 0) return;

  try {
    RawFiles files;
    for (std::size_t i = 0; i < kRecordFileCount; ++i) {
      counters_[i] = static_cast<std::int32_t>(files.Records(i).Count());
    }
    ReadRecords(host, files, readCount);
  } catch (const IoError& e) {
    ReportFailure(host, std::string("書き込みエラー。") + e.what());
  }
}

void MainWindow::ReadRecords(StepHost& host, RawFiles& files, std::int32_t& readCount) {
  std::string buffer(kReadBufferSize, '\0');
  std::int32_t size = kReadBufferSize;
  std::string fileName;
  for (;;) {
    const std::int32_t rc = jvlink_.JVRead(buffer, size, fileName);
    if (rc > 0) {
      Route(std::string_view(buffer).substr(0, static_cast<std::size_t>(rc)), files);
    } else if (rc == jvlink::kEndOfFile) {
      continue;
    } else if (rc == 0) {
      // Reading goes on after a failure that the run reported (JVInit, the download), but
      // what it read may lack what failed: a run that reported a failure replaces nothing.
      if (!failed_) files.Commit();
      return;
    } else if (rc == jvlink::kDamagedFile) {
      jvlink_.JVFiledelete(fileName);
      jvlink_.JVClose();
      std::string lastFileTimestamp;
      jvlink_.JVOpen(kDataSpec, kFromTime, kOpenOption, readCount, downloadCount_,
                     lastFileTimestamp);
    } else {
      ReportFailure(host, WithCode("JVReadエラー。 RC=", rc));
      return;
    }
  }
}

template <typename Parsed>
void MainWindow::Append(std::size_t fileIndex, std::string_view record, Parsed& parsed,
                        void (*parse)(std::string_view, Parsed&),
                        void (*build)(const Parsed&, std::string&), RawFiles& files) {
  parse(record, parsed);
  const std::int32_t n = ++counters_[fileIndex];
  build(parsed, stored_[fileIndex]);
  files.Records(fileIndex).Write(n, stored_[fileIndex]);
}

void MainWindow::Route(std::string_view record, RawFiles& files) {
  using namespace records;
  const auto index = KindIndex(record);
  if (!index) return;
  switch (*index) {
    case 0:
      return Append(*index, record, parsedRA_, ParseRA, ToFixedRA, files);
    case 1:
      return Append(*index, record, parsedSE_, ParseSE, ToFixedSE, files);
    case 2:
      return Append(*index, record, parsedUM_, ParseUM, ToFixedUM, files);
    case 3:
      return Append(*index, record, parsedHN_, ParseHN, ToFixedHN, files);
    case 4:
      return Append(*index, record, parsedKS_, ParseKS, ToFixedKS, files);
    case 5:
      return Append(*index, record, parsedSK_, ParseSK, ToFixedSK, files);
    case 6:
      return Append(*index, record, parsedCH_, ParseCH, ToFixedCH, files);
    case 7:
      return Append(*index, record, parsedBR_, ParseBR, ToFixedBR, files);
    case 8:
      return Append(*index, record, parsedBN_, ParseBN, ToFixedBN, files);
    default:
      // A market sale is kept as the line it was delivered as.
      ParseHS(record, parsedHS_);
      files.MarketSales().Raw(record);
  }
}

StepResult MainWindow::Command3_Click(StepHost& /*host*/) {
  hsLineCount_ = 0;
  try {
    CompleteInterruptedCommits();
    LineReader in(RawPath(kHsIndex));
    std::string line;
    while (in.Next(line)) {
      records::ParseHS(line, parsedHS_);
      ++hsLineCount_;
    }
  } catch (const IoError&) {
    return StepResult::kFailed;
  }
  return StepResult::kOk;
}

}  // namespace meridax::datafetch

namespace meridax::datafetch {
namespace {

std::unique_ptr<WindowSteps> CreateMainWindow(const WindowContext& context) {
  std::ostream& out = context.out ? *context.out : std::cout;
  jvlink::FolderJVLinkOptions options;
  options.dialog = [&out](const std::string& current) -> std::optional<std::string> {
    out << current << std::endl;
    return std::nullopt;
  };
  options.notice = [&out](std::string_view text) { out << text << std::endl; };
  return std::make_unique<MainWindow>(
      std::make_unique<jvlink::FolderJVLink>(std::move(options)),
      std::make_unique<HeadlessProgressShower>(
          [&out](std::string_view label) { out << label << std::endl; }));
}

using enum ControlKind;
using W = MainWindow;

// The download runs under the step error rule but meets its failures itself: each is a
// message box, and the step still ends with "終了". So no handler here runs in the frame.
constexpr ControlSpec kControls[] = {
    {"Command1", kButton, "設定", {360, 360, 4680, 480}, Procedure<&W::Command1_Click>},
    {"Command2",
     kButton,
     "2024年1月1日セットアップ",
     {360, 960, 4680, 480},
     Procedure<&W::Command2_Click>},
    {"Command3", kButton, "HSチェック", {360, 1560, 4680, 480}, Procedure<&W::Command3_Click>},
    {"Text1", kTextBox, "", {360, 2400, 4680, 420}},
};

}  // namespace

const WindowSpec kMainWindow{"KOVF1SETUP19Z1", "KOVF1C：メイン", 5400, 3600,
                             CreateMainWindow, kControls};

}  // namespace meridax::datafetch
