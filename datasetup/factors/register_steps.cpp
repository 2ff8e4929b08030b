#include "datasetup/factors/register_steps.h"

#include <memory>
#include <optional>
#include <string>

#include "datasetup/factors/category_steps.h"

namespace meridax {

void RegisterCategorySteps(StepRegistry& registry) {
  // Opened on first use, so a run that never reaches the window reads none of its tables.
  auto window = std::make_shared<std::optional<CategorySteps>>();
  auto open = [window](StepHost& host) -> CategorySteps& {
    if (!*window) {
      window->emplace();
      (*window)->Form_Load(host);
    }
    return **window;
  };
  using Click = StepResult (CategorySteps::*)(StepHost&);
  const std::pair<const char*, Click> buttons[] = {
      {"Command1", &CategorySteps::Command1_Click}, {"Command2", &CategorySteps::Command2_Click},
      {"Command3", &CategorySteps::Command3_Click}, {"Command4", &CategorySteps::Command4_Click},
      {"Command5", &CategorySteps::Command5_Click}, {"Command6", &CategorySteps::Command6_Click},
      {"Command7", &CategorySteps::Command7_Click},
  };
  const std::string prefix = std::string(kCategoryWindowClass) + ".";
  for (const auto& [control, click] : buttons) {
    registry.Add(prefix + control + "_Click",
                 [open, click](StepHost& host) { return (open(host).*click)(host); });
  }
  for (int k = 1; k <= 3; ++k) {
    registry.Add(prefix + "Option" + std::to_string(k), [open, k](StepHost& host) {
      open(host).option = k;
      return StepResult::kOk;
    });
  }
}

}  // namespace meridax
