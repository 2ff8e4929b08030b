#pragma once

#include "platform/step_host.h"

namespace meridax {

// Registers the run-history window's steps ("FormMERIDAXEXPDSETUP2025ZZ.Command1_Click").
// One window for every step of the registry's user: its load runs before its first step.
void RegisterRunHistorySteps(StepRegistry& registry);

}  // namespace meridax
