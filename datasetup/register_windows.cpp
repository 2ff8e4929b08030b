#include "datasetup/register_windows.h"

#include "datasetup/factors/category_steps.h"
#include "datasetup/preparation/main_window_steps.h"

namespace meridax {
namespace {

// Until the run-history window is built, its button opens a window of the right class and
// caption that says so.
constexpr ControlSpec kNotBuiltYet[] = {
    {"NotBuiltYet", ControlKind::kLabel, "この画面はまだ作られていません。", {240, 240, 4320, 480}},
};
constexpr WindowSpec kRunHistoryStandIn{"FormMERIDAXEXPDSETUP2025ZZ",
                                        "MERIDAXEXPDSETUP2024",
                                        4800,
                                        960,
                                        Create<WindowSteps>,
                                        kNotBuiltYet};

}  // namespace

void RegisterDatasetupWindows(WindowRegistry& registry) {
  registry.Add(kMainWindow);
  registry.Add(kCategoryWindow);
  // A window that is built is registered here, before the stand-ins, which then give way.
  registry.AddUnlessRegistered(kRunHistoryStandIn);
}

}  // namespace meridax
