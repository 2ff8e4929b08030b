#include "datafetch/register_windows.h"

#include "datafetch/main_window_steps.h"

namespace meridax {

void RegisterDatafetchWindows(WindowRegistry& registry) {
  registry.Add(datafetch::kMainWindow);
}

}  // namespace meridax
