// The factor item buttons run the live routines.

#include "datasetup/factors/category_files.h"
#include "datasetup/factors/category_steps.h"

namespace meridax {

StepResult CategorySteps::Command2_Click(StepHost& host) {
  return FactorItemStep(host, kTurf, LiveRoutines());
}
StepResult CategorySteps::Command3_Click(StepHost& host) {
  return FactorItemStep(host, kDirt, LiveRoutines());
}
StepResult CategorySteps::Command4_Click(StepHost& host) {
  return FactorItemStep(host, kJump, LiveRoutines());
}

}  // namespace meridax
