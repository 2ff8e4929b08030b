#include "datafetch/register_steps.h"

namespace meridax {

void RegisterDatafetchSteps(StepRegistry& /*registry*/) {}

}  // namespace meridax
