#pragma once

#include "platform/step_host.h"

namespace meridax {

// Registers the category window's steps ("FormCATEGORYSETUP2025ZP.Command1_Click" to
// "Command7_Click") and its option buttons ("FormCATEGORYSETUP2025ZP.Option1" to "Option3",
// which select the button as a click does). One window for the registry's user: it loads
// its tables before its first step runs.
void RegisterCategorySteps(StepRegistry& registry);

}  // namespace meridax
