#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/jvlink/jvlink.h"
#include "platform/step_host.h"
#include "platform/window.h"
#include "records/parsers.h"

namespace meridax::datafetch {

class MainWindow;

// Shows the progress window modally, owned by the main window, and returns once it has
// closed (by itself, by its cancel button or by its close box).
class ProgressWindowShower {
 public:
  virtual ~ProgressWindowShower() = default;
  virtual void ShowModal(MainWindow& owner, StepHost& host) = 0;
};

// The raw record files, in file-number order; HS is the text file after them.
struct RawFileKind {
  std::string_view kind;
  std::string fileName;      // in the data folder
  std::size_t recordLength;  // 0 for the text file
};
inline constexpr std::size_t kRecordFileCount = 9;
extern const std::array<RawFileKind, kRecordFileCount + 1> kRawFiles;

// The request of the download.
inline constexpr std::string_view kSoftwareId = "UNKNOWN";
inline constexpr std::string_view kDataSpec = "TOKURACEDIFNBLDNSLOPYSCHHOSN";
inline constexpr std::string_view kFromTime = "20240101000000";
inline constexpr std::int32_t kOpenOption = 3;
inline constexpr std::int32_t kReadBufferSize = 120000;

// The state and steps of the main window KOVF1SETUP19Z1, without its widgets.
class MainWindow : public WindowSteps {
 public:
  MainWindow(jvlink::JVLink& jvlink, ProgressWindowShower& progress);
  // The window as a program opens it, owning its component and progress window.
  MainWindow(std::unique_ptr<jvlink::JVLink> jvlink,
             std::unique_ptr<ProgressWindowShower> progress);
  // The window's own progress window instead of the one it was made with (the display's).
  void SetProgressShower(std::unique_ptr<ProgressWindowShower> progress);

  std::int16_t DialogResult() const { return dialogResult_; }
  void SetDialogResult(std::int16_t value) { dialogResult_ = value; }
  std::int32_t DownloadCount() const { return downloadCount_; }
  void SetDownloadCount(std::int32_t value) { downloadCount_ = value; }
  jvlink::JVLink& JVLink1() { return jvlink_; }

  // "設定"
  StepResult Command1_Click(StepHost& host);
  // "2024年1月1日セットアップ": rebuilds the raw record files from the service.
  StepResult Command2_Click(StepHost& host);
  // "HSチェック": reads the market-sale file back.
  StepResult Command3_Click(StepHost& host);

  // Shows a failure message; the step that is running then ends as failed.
  void ReportFailure(StepHost& host, std::string_view message);

  std::int32_t RecordCounter(std::size_t fileIndex) const { return counters_.at(fileIndex); }
  std::int32_t HsLineCount() const { return hsLineCount_; }
  const records::ParsedHS& ParsedMarketSale() const { return parsedHS_; }

 private:
  class RawFiles;

  void Download(StepHost& host);
  void ReadRecords(StepHost& host, RawFiles& files, std::int32_t& readCount);
  void Route(std::string_view record, RawFiles& files);
  template <typename Parsed>
  void Append(std::size_t fileIndex, std::string_view record, Parsed& parsed,
              void (*parse)(std::string_view, Parsed&), void (*build)(const Parsed&, std::string&),
              RawFiles& files);

  std::unique_ptr<jvlink::JVLink> ownedJVLink_;
  std::unique_ptr<ProgressWindowShower> ownedProgress_;
  jvlink::JVLink& jvlink_;
  ProgressWindowShower* progress_;
  std::int16_t dialogResult_ = 0;
  std::int32_t downloadCount_ = 0;
  std::array<std::int32_t, kRecordFileCount> counters_{};
  std::int32_t hsLineCount_ = 0;
  // The last record of each kind, parsed, and but for HS its stored record.
  records::ParsedRA parsedRA_;
  records::ParsedSE parsedSE_;
  records::ParsedUM parsedUM_;
  records::ParsedHN parsedHN_;
  records::ParsedKS parsedKS_;
  records::ParsedSK parsedSK_;
  records::ParsedCH parsedCH_;
  records::ParsedBR parsedBR_;
  records::ParsedBN parsedBN_;
  records::ParsedHS parsedHS_;
  std::array<std::string, kRecordFileCount> stored_;
  bool failed_ = false;
};

// KOVF1SETUP19Z1, "KOVF1C：メイン". Without a display the progress window prints its label
// whenever it changes, "設定" prints the current service folder instead of opening the
// settings dialog and the component prints its own messages, all to the context's output
// (standard output when it names none).
extern const WindowSpec kMainWindow;

}  // namespace meridax::datafetch
