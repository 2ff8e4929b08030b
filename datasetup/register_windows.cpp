#include "datasetup/register_windows.h"

#include "datasetup/preparation/main_window_steps.h"
#include "datasetup/runhistory/run_history_steps.h"

namespace meridax {
namespace {

// Until the category window is built, its button opens a window of the right class and
// caption that says so.
constexpr ControlSpec kNotBuiltYet[] = {
    {"NotBuiltYet", ControlKind::kLabel, "この画面はまだ作られていません。", {240, 240, 4320, 480}},
};
constexpr WindowSpec kCategoryStandIn{"FormCATEGORYSETUP2025ZP",
                                      "CATEGORYSETUP20190101SETUPC",
                                      4800,
                                      960,
                                      Create<WindowSteps>,
                                      kNotBuiltYet};

}  // namespace

void RegisterDatasetupWindows(WindowRegistry& registry) {
  registry.Add(kMainWindow);
  registry.Add(kRunHistoryWindow);
  // A window that is built is registered here, before the stand-ins, which then give way.
  registry.AddUnlessRegistered(kCategoryStandIn);
}

}  // namespace meridax
