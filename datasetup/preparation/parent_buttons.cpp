// The main window's buttons of the breeding steps, run in the step frame.

#include "datasetup/common/step_frame.h"
#include "datasetup/parents/parent_steps.h"
#include "datasetup/preparation/main_window_buttons.h"

namespace meridax {

StepResult MainWindowSteps::Command4_Click(StepHost& host) {
  return RunStep(host, CaptionOf("Command4"), [&] { return DamOffspringStep(state_); });
}

StepResult MainWindowSteps::Command5_Click(StepHost& host) {
  return RunStep(host, CaptionOf("Command5"), [&] { return SireOffspringStep(state_); });
}

StepResult MainWindowSteps::Command7_Click(StepHost& host) {
  return RunStep(host, CaptionOf("Command7"), [&] { return BreedingHorseStep(state_); });
}

StepResult MainWindowSteps::Command11_Click(StepHost& host) {
  return RunStep(host, CaptionOf("Command11"), [&] { return MareOffspringStep(host); });
}

}  // namespace meridax
