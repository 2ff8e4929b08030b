#include "datasetup/preparation/register_steps.h"

#include <memory>
#include <string>

#include "datasetup/preparation/main_window_buttons.h"

namespace meridax {

void RegisterPreparationSteps(StepRegistry& registry) {
  // One window state for every step of the registry's user, so the record count carries
  // over from one step to the next as it does in the window.
  auto steps = std::make_shared<MainWindowSteps>();
  for (const auto& button : kMainWindowButtons) {
    if (!button.step) continue;
    registry.Add(std::string(kMainWindowClass) + "." + std::string(button.control) + "_Click",
                 [steps, step = button.step](StepHost& host) { return ((*steps).*step)(host); });
  }
}

}  // namespace meridax
