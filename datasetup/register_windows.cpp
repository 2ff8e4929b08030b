#include "datasetup/register_windows.h"

#include "datasetup/factors/category_steps.h"
#include "datasetup/preparation/main_window_steps.h"
#include "datasetup/runhistory/run_history_steps.h"

namespace meridax {

void RegisterDatasetupWindows(WindowRegistry& registry) {
  registry.Add(kMainWindow);
  registry.Add(kRunHistoryWindow);
  registry.Add(kCategoryWindow);
}

}  // namespace meridax
