#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "datasetup/runhistory/market_sales.h"
#include "platform/step_host.h"
#include "platform/window.h"

namespace meridax {

// The steps and state of the run-history window FormMERIDAXEXPDSETUP2025ZZ, without any
// widget: the Qt window and the headless runner both run them through kRunHistoryWindow.
// Each window owns one, so every window keeps its own sale table, list (List1) and grid
// (EXPFG) from one click to the next. Text1 is the status line.
class RunHistorySteps : public WindowSteps {
 public:
  RunHistorySteps();

  // Loads MarketSaleTable from HS20180101.dat. A missing or unreadable file does not stop
  // the window: the table stays empty (so "計算" uses the sale defaults) and Text1 says so.
  void Form_Load(StepHost& host);
  // "計算": the extended run file UMAGOTOEXSETUP\<HorseId>EX.dat of every horse of
  // KETTONUM20180101.dat, record j from run j of its race file. Returns its status; a
  // file failure (IoError) leaves every earlier extended run file as it was.
  std::string Command1_Click(StepHost& host);
  // "表示": one List1 entry per horse of KETTONUM20180101Q.dat and KIJUNTIME.dat anew with
  // the base-time samples of their extended runs. Returns its status; throws IoError as
  // "計算" does.
  std::string Command2_Click(StepHost& host);
  // Shows the extended run file of the selected List1 entry in the grid, last run first.
  // Reports nothing unless it fails.
  StepResult List1_Click(StepHost& host);

  // The horse record's place among its dam's foals (HAHAHAN\<dam>.dat, created empty when
  // missing): the last two digits of 100 + the last record holding the horse, "00" when
  // none does; empty when the dam's file cannot be opened or its number names no file.
  std::string GetFoalOrder(std::string_view horseRecord) const;

  const MarketSaleTable& marketSales() const { return marketSales_; }
  // The ids the last "計算" or "表示" read from its list, in file order.
  const std::vector<std::string>& extendedHorseIds() const { return extendedHorseIds_; }

 private:
  void ShowRunHistory(const std::filesystem::path& file);

  MarketSaleTable marketSales_;
  std::vector<std::string> extendedHorseIds_;
  std::vector<std::string> listIds_;  // the code page 932 bytes behind each List1 entry
};

// FormMERIDAXEXPDSETUP2025ZZ, "MERIDAXEXPDSETUP2024": "計算", "表示", List1, Text1 and the
// grid EXPFG of 129 rows and 3 columns.
extern const WindowSpec kRunHistoryWindow;

}  // namespace meridax
