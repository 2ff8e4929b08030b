#pragma once

#include <iosfwd>

#include "platform/step_host.h"

namespace meridax {

// Registers the download program's steps ("KOVF1SETUP19Z1.CommandN_Click"). Without a
// display the progress window prints its label to `out` whenever it changes, and "設定"
// prints the current service folder there instead of opening the settings dialog.
void RegisterDatafetchSteps(StepRegistry& registry);
void RegisterDatafetchSteps(StepRegistry& registry, std::ostream& out);

}  // namespace meridax
