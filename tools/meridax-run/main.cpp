// Runs steps of the system's windows without a display:
//   meridax-run [--drive DIR] STEP...
// Each step's status text and message-box texts are printed on lines of their own;
// message boxes are answered with OK. Exits non-zero when a step is unknown or fails.

#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "datafetch/register_steps.h"
#include "datasetup/preparation/register_steps.h"
#include "datasetup/runhistory/register_steps.h"
#include "platform/drive.h"
#include "platform/step_host.h"

namespace {

int Usage() {
  std::cerr << "usage: meridax-run [--drive DIR] STEP...\n"
               "       meridax-run --list\n"
               "STEP is a window class and procedure, e.g. "
               "FormMERIDAXPROJECTSETUP2025ZZ.Command1_Click\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  meridax::StepRegistry registry;
  meridax::RegisterDatafetchSteps(registry);
  meridax::RegisterPreparationSteps(registry);
  meridax::RegisterRunHistorySteps(registry);

  std::vector<std::string> steps;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--drive") {
      if (++i >= argc) return Usage();
      meridax::SetDriveRoot(argv[i]);
    } else if (arg == "--list") {
      for (const auto& name : registry.Names()) std::cout << name << '\n';
      return 0;
    } else if (arg == "-h" || arg == "--help") {
      Usage();
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      std::cerr << "meridax-run: unknown option " << arg << '\n';
      return Usage();
    } else {
      steps.push_back(arg);
    }
  }
  if (steps.empty()) return Usage();
  // Check every name before running anything, so a typo does not leave a half-run sequence.
  for (const auto& name : steps) {
    if (!registry.Find(name)) {
      std::cerr << "meridax-run: unknown step " << name << " (--list shows the steps)\n";
      return 2;
    }
  }

  meridax::RecordingHost host(
      [](std::string_view, std::string_view text) { std::cout << text << std::endl; });
  for (const auto& name : steps) {
    // Steps report file failures themselves; anything else they throw still ends the run
    // with the step named, not with an abort.
    meridax::StepResult result = meridax::StepResult::kFailed;
    try {
      result = (*registry.Find(name))(host);
    } catch (const std::exception& e) {
      std::cerr << "meridax-run: step " << name << ": " << e.what() << '\n';
    }
    if (result != meridax::StepResult::kOk) {
      std::cerr << "meridax-run: step " << name << " failed\n";
      return 1;
    }
  }
  return 0;
}
