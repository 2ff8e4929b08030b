// The factor item buttons run the live routines.

#include "datasetup/factors/category_courses.h"
#include "datasetup/factors/category_steps.h"

namespace meridax {

StepResult CategorySteps::Command2_Click(StepHost& host) {
  return FactorItemStep(host, CourseKind::kTurf, LiveRoutines());
}
StepResult CategorySteps::Command3_Click(StepHost& host) {
  return FactorItemStep(host, CourseKind::kDirt, LiveRoutines());
}
StepResult CategorySteps::Command4_Click(StepHost& host) {
  return FactorItemStep(host, CourseKind::kJump, LiveRoutines());
}

}  // namespace meridax
