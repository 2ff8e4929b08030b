#pragma once

#include "platform/step_host.h"

namespace meridax {

// Registers the download program's steps ("KOVF1SETUP19Z1.CommandN_Click").
void RegisterDatafetchSteps(StepRegistry& registry);

}  // namespace meridax
