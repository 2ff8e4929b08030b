#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "datasetup/runhistory/market_sales.h"
#include "platform/list_model.h"
#include "platform/step_host.h"
#include "platform/text_grid.h"

namespace meridax {

inline constexpr std::string_view kRunHistoryWindowClass = "FormMERIDAXEXPDSETUP2025ZZ";
inline constexpr std::string_view kRunHistoryCaption = "MERIDAXEXPDSETUP2024";
inline constexpr std::string_view kCommand1Caption = "計算";
inline constexpr std::string_view kCommand2Caption = "表示";

// The steps and state of the run-history window FormMERIDAXEXPDSETUP2025ZZ, without any
// widget: the Qt window and the headless runner both drive it. Each window owns one, so
// every window keeps its own sale table, list and grid from one click to the next.
class RunHistorySteps {
 public:
  // Loads MarketSaleTable from HS20180101.dat. A missing or unreadable file does not stop
  // the window: the table stays empty (so "計算" uses the sale defaults) and Text1 says so.
  StepResult Form_Load(StepHost& host);
  // "計算": the extended run file UMAGOTOEXSETUP\<HorseId>EX.dat of every horse of
  // KETTONUM20180101.dat, record j from run j of its race file.
  StepResult Command1_Click(StepHost& host);
  // "表示": one List1 entry per horse of KETTONUM20180101Q.dat and KIJUNTIME.dat anew with
  // the base-time samples of their extended runs.
  StepResult Command2_Click(StepHost& host);
  // Shows the extended run file of the selected List1 entry in the grid, last run first.
  // Reports nothing unless it fails.
  StepResult List1_Click(StepHost& host);

  // The horse record's place among its dam's foals (HAHAHAN\<dam>.dat, created empty when
  // missing): the last two digits of 100 + the last record holding the horse, "00" when
  // none does; empty when the dam's file cannot be opened or its number names no file.
  std::string GetFoalOrder(std::string_view horseRecord) const;

  // Controls. Texts are UTF-8; list entries are the ids as the screen shows them.
  std::string text1;
  ListModel list;
  TextGrid grid{129, 3};

  const MarketSaleTable& marketSales() const { return marketSales_; }
  // The ids the last "計算" or "表示" read from its list, in file order.
  const std::vector<std::string>& extendedHorseIds() const { return extendedHorseIds_; }

 private:
  // The host of a step, with its status also kept in text1.
  class MirroredHost : public StepHost {
   public:
    MirroredHost(StepHost& host, std::string& text1) : host_(host), text1_(text1) {}
    void SetStatus(std::string_view text) override {
      text1_.assign(text);
      host_.SetStatus(text);
    }
    std::string Status() const override { return text1_; }
    void ShowMessage(std::string_view text) override { host_.ShowMessage(text); }
    void ProcessEvents() override { host_.ProcessEvents(); }

   private:
    StepHost& host_;
    std::string& text1_;
  };

  std::string BuildExtendedRunFiles(StepHost& host);
  std::string ExportBaseTimes();
  void ShowRunHistory(const std::filesystem::path& file);

  MarketSaleTable marketSales_;
  std::vector<std::string> extendedHorseIds_;
  std::vector<std::string> listIds_;  // the code page 932 bytes behind each List1 entry
};

}  // namespace meridax
