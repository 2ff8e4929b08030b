#include "tests/support/window_steps.h"

#include <stdexcept>
#include <string>

namespace meridax::testing {

StepResult Click(const WindowSpec& layout, WindowSteps& steps, std::string_view control,
                 StepHost& host) {
  const ControlSpec* c = FindControl(layout, control);
  if (!c || !c->click) throw std::invalid_argument("no click procedure: " + std::string(control));
  steps.text1 = host.Status();
  return RunControl(*c, steps, host);
}

}  // namespace meridax::testing
