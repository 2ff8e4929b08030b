#pragma once

#include "datasetup/common/main_window_state.h"
#include "platform/step_host.h"

namespace meridax {

// The steps of the main window FormMERIDAXPROJECTSETUP2025ZZ, one method per button,
// without any widget: the Qt window and meridax-run both call them. A step of another
// subsystem gets a method here that calls it with state(), and one entry in
// kMainWindowButtons (main_window_buttons.h).
class MainWindowSteps {
 public:
  StepResult Command1_Click(StepHost& host);  // "RA(レース）": cleaned race file
  StepResult Command2_Click(StepHost& host);  // "SE(詳細)": cleaned runner file

  StepResult Command6_Click(StepHost& host);   // "SE/UM": per-horse race files
  StepResult Command12_Click(StepHost& host);  // "KS(騎手）": jockeys, list, statistics
  StepResult Command14_Click(StepHost& host);  // "CH/BR/BN": trainers, breeders, owners
  StepResult Command15_Click(StepHost& host);  // "SE/KS": per-jockey race files

  MainWindowState& state() { return state_; }

 private:
  MainWindowState state_;
};

}  // namespace meridax
