#include "datasetup/preparation/register_steps.h"

namespace meridax {

void RegisterPreparationSteps(StepRegistry& /*registry*/) {}

}  // namespace meridax
