#pragma once

#include "platform/step_host.h"

namespace meridax {

// Registers the main window's steps ("FormMERIDAXPROJECTSETUP2025ZZ.CommandN_Click").
void RegisterPreparationSteps(StepRegistry& registry);

}  // namespace meridax
