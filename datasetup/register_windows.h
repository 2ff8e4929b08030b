#pragma once

#include "platform/window.h"

namespace meridax {

// The windows of datasetup: the main window, and the windows its buttons open.
void RegisterDatasetupWindows(WindowRegistry& registry);

}  // namespace meridax
