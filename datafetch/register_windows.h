#pragma once

#include "platform/window.h"

namespace meridax {

// The windows of datafetch: its main window KOVF1SETUP19Z1 (the progress window is shown
// by the download step itself).
void RegisterDatafetchWindows(WindowRegistry& registry);

}  // namespace meridax
