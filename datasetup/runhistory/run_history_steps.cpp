// The run-history window's load, the foal order and the grid of one horse's runs.

#include "datasetup/runhistory/run_history_steps.h"

#include <algorithm>
#include <cerrno>

#include "datasetup/common/data_files.h"
#include "datasetup/runhistory/run_history_grid.h"
#include "platform/cp932.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/record_file.h"
#include "platform/text_file.h"
#include "records/layouts.h"

namespace meridax {
namespace {
constexpr std::int64_t kMaxRunColumns = 32767;
constexpr int kGridRows = 129, kGridCols = 3;
}  // namespace

RunHistorySteps::RunHistorySteps() {
  grid = TextGrid(kGridRows, kGridCols);
}

void RunHistorySteps::Form_Load(StepHost& host) {
  marketSales_.Clear();
  const std::string name = RawRecordFileName("HS", kEarlierGeneration);
  const std::filesystem::path path = DataPath(name);
  if (const int why = WhyNotAFile(path)) {
    host.SetStatus(name + (why == ENOENT ? " がありません"
                           : why == EISDIR ? " はフォルダです (ファイルではありません)"
                                           : " を読めません: " + ErrorCause(why)));
    return;
  }
  try {
    LineReader lines(path);
    std::string line;
    while (lines.Next(line)) marketSales_.Add(line);
  } catch (const IoError& e) {
    // Half a table would give some horses an older sale than their last: none at all.
    marketSales_.Clear();
    host.SetStatus(e.what());
  }
}

std::string RunHistorySteps::GetFoalOrder(std::string_view horseRecord) const {
  namespace um = records::um;
  const std::string_view dam = records::View(horseRecord, um::Pedigree_BreedingNumber.In(2));
  const auto path = EntityFilePath(kMareOffspringFolder, dam);
  if (!path) return {};
  const std::string_view horseId = records::View(horseRecord, um::HorseId);
  try {
    RecordFile foals(*path, static_cast<std::size_t>(records::kOffspringLayout.storedLength));
    std::int64_t last = 0;
    std::string foal;
    for (std::int64_t i = 1; i <= foals.Count(); ++i) {
      foals.Read(i, foal);
      if (records::View(foal, records::sk::HorseId) == horseId) last = i;
    }
    return LastDigits(last + 100, 2);
  } catch (const IoError&) {
    return {};
  }
}

StepResult RunHistorySteps::List1_Click(StepHost& host) {
  const long long selected = list.Selected();
  if (selected < 0 || static_cast<std::size_t>(selected) >= list.Count()) return StepResult::kOk;
  const auto i = static_cast<std::size_t>(selected);
  // The entry's own bytes where this window listed it: a screen text need not convert back.
  const bool listedHere = i < listIds_.size() && Cp932ToUtf8(listIds_[i]) == list.Item(i);
  const std::string entry = listedHere ? listIds_[i] : Utf8ToCp932(list.Item(i));
  const auto path = EntityFilePath(kExtendedRunFolder, entry, "");
  if (!path) return StepResult::kOk;  // names no file
  try {
    ShowRunHistory(*path);
  } catch (const IoError& e) {
    host.SetStatus(std::string("List1 エラー: ") + e.what());
    return StepResult::kFailed;
  }
  return StepResult::kOk;
}

void RunHistorySteps::ShowRunHistory(const std::filesystem::path& file) {
  constexpr auto kLength = static_cast<std::size_t>(kExtendedRunLength);
  RecordFile runs(file, kLength);  // a missing file is created empty
  // Whole records only: a trailing partial record is not a run. The column number is a
  // 16-bit count, so at most the latest 32767 runs are shown.
  const auto records = static_cast<std::int64_t>(runs.Length() / kLength);
  const int n = static_cast<int>(std::min<std::int64_t>(records, kMaxRunColumns));
  grid.SetCols(n + 1);
  std::string record;
  for (int c = 1; c <= n; ++c) {
    runs.Read(records - c + 1, record);
    grid.SetTextMatrix(0, c, "前" + Str(c) + "走");
    for (std::size_t r = 0; r < kRunHistoryGridRows.size(); ++r) {
      grid.SetTextMatrix(static_cast<int>(r + 1), c,
                         Cp932ToUtf8(GridCellText(record, kRunHistoryGridRows[r])));
    }
  }
  runs.Close();
  grid.SetColWidth(0, 2000);
  for (int c = 1; c <= n; ++c) grid.SetColWidth(c, 1500);
  for (std::size_t r = 0; r < kRunHistoryGridRows.size(); ++r) {
    grid.SetTextMatrix(static_cast<int>(r + 1), 0, kRunHistoryGridRows[r].label);
  }
}

namespace {

using S = RunHistorySteps;
using enum ControlKind;

// "計算" and "表示" run in the step frame: a missing folder or a file that cannot be read or
// written ends them with "<caption> エラー: ..." and leaves the earlier files as they were.
constexpr ControlSpec kControls[] = {
    {"Command1", kButton, "計算", {120, 120, 1335, 495}, Procedure<&S::Command1_Click>, true},
    {"Command2", kButton, "表示", {1575, 120, 1335, 495}, Procedure<&S::Command2_Click>, true},
    {"Text1", kTextBox, "", {3030, 120, 5400, 495}},
    {"List1", kListBox, "", {120, 735, 2790, 7200}, Procedure<&S::List1_Click>},
    {"EXPFG", kGrid, "", {3030, 735, 8850, 7200}, nullptr, false, {}, {}, kGridRows, kGridCols},
};

}  // namespace

const WindowSpec kRunHistoryWindow{"FormMERIDAXEXPDSETUP2025ZZ",
                                   "MERIDAXEXPDSETUP2024",
                                   12000,
                                   8055,
                                   Create<RunHistorySteps>,
                                   kControls,
                                   Procedure<&S::Form_Load>};

}  // namespace meridax
