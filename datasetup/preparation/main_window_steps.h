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
  // The breeding steps (datasetup/parents).
  StepResult Command4_Click(StepHost& host);   // "SK（母産駒）": offspring statistics per dam
  StepResult Command5_Click(StepHost& host);   // "SK（父産駒）": offspring statistics per sire
  StepResult Command7_Click(StepHost& host);   // "HN（繁殖）": breeding horses, female lines
  StepResult Command11_Click(StepHost& host);  // "SK/HN": per-mare offspring files

  MainWindowState& state() { return state_; }

 private:
  MainWindowState state_;
};

}  // namespace meridax
