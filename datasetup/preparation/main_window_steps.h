#pragma once

#include <cstdint>
#include <string>

#include "datasetup/common/main_window_state.h"
#include "platform/step_host.h"
#include "platform/window.h"

namespace meridax {

// The steps of the main window FormMERIDAXPROJECTSETUP2025ZZ, one method per button,
// without any widget: the Qt window and meridax-run both run them through kMainWindow.
// Each returns its status text; the step frame of the window turns a file failure into
// the error status. A step of another subsystem gets a method here that calls it with
// state(), and one row in the control table (main_window_steps.cpp).
class MainWindowSteps : public WindowSteps {
 public:
  std::string Command1_Click(StepHost& host);   // "RA(レース）": cleaned race file
  std::string Command2_Click(StepHost& host);   // "SE(詳細)": cleaned runner file
  std::string Command3_Click(StepHost& host);   // "UM(競走馬)": horses, lists, statistics
  std::string Command6_Click(StepHost& host);   // "SE/UM": per-horse race files
  std::string Command8_Click(StepHost& host);   // "血統Q、騎手": recent runners, jockey rates
  std::string Command12_Click(StepHost& host);  // "KS(騎手）": jockeys, list, statistics
  std::string Command13_Click(StepHost& host);  // "着差": margin table of winning runs
  std::string Command14_Click(StepHost& host);  // "CH/BR/BN": trainers, breeders, owners
  std::string Command15_Click(StepHost& host);  // "SE/KS": per-jockey race files
  // The breeding steps (datasetup/parents).
  std::string Command4_Click(StepHost& host);  // "SK（母産駒）": offspring statistics per dam
  std::string Command5_Click(StepHost& host);  // "SK（父産駒）": offspring statistics per sire
  std::string Command7_Click(StepHost& host);  // "HN（繁殖）": breeding horses, female lines
  std::string Command11_Click(StepHost& host);  // "SK/HN": per-mare offspring files

  // Routines of the window that no button calls. They run under no step frame: an
  // IoError ends them, and as their lists are staged nothing is half-replaced.
  // KETTONUM20190101Q.dat: the horses of KETTONUM20190101.dat whose last run (the last
  // record of their race file) is from 2000 or later. Returns the number of ids skipped
  // as unsafe file names; sets no status.
  std::int64_t BuildRecentHorseList(StepHost& host);
  // KISHUNUM20190101.dat and KETTONUM20190101.dat from the cleaned jockey and horse
  // files; status "KISHUNUM 終わり" and the horse count.
  void BuildJockeyAndHorseLists(StepHost& host);

  MainWindowState& state() { return state_; }

 private:
  MainWindowState state_;
};

// FormMERIDAXPROJECTSETUP2025ZZ, "MERIDAXPROJECT 20180101SETUPC".
extern const WindowSpec kMainWindow;

}  // namespace meridax
