// Runs steps of the system's windows without a display:
//   meridax-run [--drive DIR] [--grids DIR] STEP...
//   meridax-run --list
//   meridax-run [--drive DIR] --probe HORSEID RUN ROUTINE...
// A STEP is Window.Procedure, Window.Text1=TEXT, Window.OptionN or Window.List1_Click=TEXT
// (HeadlessWindows). Each step's status text and message-box texts are printed on lines of
// their own; message boxes are answered with OK. Exits 1 when a step fails or standard
// output cannot be written, 2 when a step or option is unknown, an option's value is missing
// or empty, or List1 holds no entry it names.

#include <iostream>
#include <string>
#include <vector>

#include "datafetch/register_windows.h"
#include "datasetup/factors/probe.h"
#include "datasetup/factorvariants/variant_routines.h"
#include "datasetup/register_windows.h"
#include "platform/io_error.h"
#include "tools/meridax-run/run_tool.h"

namespace {

// The category window's item routines and their variants on one run of a horse
// (datasetup/factors/probe.h).
int Probe(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  meridax::ProbeRegistry routines;
  routines.Add(meridax::LiveProbeRoutines());
  routines.Add(meridax::VariantProbeRoutines());
  return meridax::RunProbe(routines, args, out, err);
}

constexpr meridax::ToolMode kModes[] = {{"--probe", Probe}};

}  // namespace

int main(int argc, char** argv) {
  try {
    meridax::WindowRegistry windows;
    meridax::RegisterDatafetchWindows(windows);
    meridax::RegisterDatasetupWindows(windows);
    return meridax::RunTool(windows, std::vector<std::string>(argv + 1, argv + argc), std::cout,
                            std::cerr, kModes);
  } catch (...) {
    std::cerr << "meridax-run: " << meridax::CurrentFailureText() << '\n';
    return 1;
  }
}
