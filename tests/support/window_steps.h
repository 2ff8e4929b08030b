#pragma once

#include <string_view>

#include "platform/step_host.h"
#include "platform/window.h"

namespace meridax::testing {

// Runs a control's click procedure as its window does: Text1 holds what `host` shows,
// and the window's failure rule applies. The control must have a click procedure.
StepResult Click(const WindowSpec& layout, WindowSteps& steps, std::string_view control,
                 StepHost& host);

}  // namespace meridax::testing
