// Runs steps of the system's windows without a display:
//   meridax-run [--drive DIR] [--grids DIR] STEP...
//   meridax-run --list
// A STEP is Window.Procedure, Window.Text1=TEXT, Window.OptionN or Window.List1_Click=TEXT
// (HeadlessWindows). Each step's status text and message-box texts are printed on lines of
// their own; message boxes are answered with OK. Exits 1 when a step fails, 2 when a step
// is unknown or List1 holds no entry it names.

#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "datafetch/register_windows.h"
#include "datasetup/register_windows.h"
#include "platform/drive.h"
#include "platform/headless_windows.h"
#include "platform/step_host.h"

namespace {

using meridax::HeadlessWindows;
using meridax::WindowRegistry;

int Usage() {
  std::cerr << "usage: meridax-run [--drive DIR] [--grids DIR] STEP...\n"
               "       meridax-run --list\n"
               "STEP is one of\n"
               "  Window.Procedure          e.g. FormMERIDAXPROJECTSETUP2025ZZ.Command1_Click\n"
               "  Window.Text1=TEXT         types TEXT into the window's text box\n"
               "  Window.OptionN            selects option button N\n"
               "  Window.List1_Click=TEXT   clicks the List1 entry TEXT\n";
  return 2;
}

struct Options {
  std::vector<std::string> steps;
  std::optional<std::filesystem::path> grids;
  // Arguments after a mode's name, for the mode to read.
  std::vector<std::string> modeArgs;
};

// What the tool does besides running steps, by option name. A mode gets the windows of
// both programs and the arguments after its name.
struct Mode {
  std::string_view option;
  int (*run)(const WindowRegistry& windows, const Options& options);
};

int ListSteps(const WindowRegistry& windows, const Options&) {
  for (const auto& step : meridax::ClickSteps(windows)) {
    std::cout << step.name << '\t' << step.caption << '\n';
  }
  return 0;
}

constexpr Mode kModes[] = {
    {"--list", ListSteps},
};

int RunSteps(const WindowRegistry& windows, const Options& options) {
  if (options.steps.empty()) return Usage();
  // Check every name before running anything, so a typo does not leave a half-run sequence.
  meridax::RecordingHost host(
      [](std::string_view, std::string_view text) { std::cout << text << std::endl; });
  HeadlessWindows session(windows, host);
  for (const auto& step : options.steps) {
    if (!session.Known(step)) {
      std::cerr << "meridax-run: unknown step " << step << " (--list shows the steps)\n";
      return 2;
    }
  }

  int exitCode = 0;
  for (const auto& step : options.steps) {
    // Steps report file failures themselves; anything else they throw still ends the run
    // with the step named, not with an abort.
    HeadlessWindows::Outcome outcome = HeadlessWindows::Outcome::kFailed;
    try {
      outcome = session.Run(step);
    } catch (const std::exception& e) {
      std::cerr << "meridax-run: step " << step << ": " << e.what() << '\n';
    }
    if (outcome == HeadlessWindows::Outcome::kOk) continue;
    if (outcome == HeadlessWindows::Outcome::kNoSuchEntry) {
      std::cerr << "meridax-run: List1 holds no entry " << step.substr(step.find('=') + 1) << " ("
                << step << ")\n";
      exitCode = 2;
    } else {
      std::cerr << "meridax-run: step " << step << " failed\n";
      exitCode = 1;
    }
    break;
  }
  if (options.grids) {
    try {
      session.WriteGrids(*options.grids);
    } catch (const std::exception& e) {
      std::cerr << "meridax-run: grids: " << e.what() << '\n';
      if (exitCode == 0) exitCode = 1;
    }
  }
  return exitCode;
}

}  // namespace

int main(int argc, char** argv) {
  WindowRegistry windows;
  meridax::RegisterDatafetchWindows(windows);
  meridax::RegisterDatasetupWindows(windows);

  Options options;
  const Mode* mode = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (mode) {
      options.modeArgs.push_back(arg);
    } else if (arg == "--drive") {
      if (++i >= argc) return Usage();
      meridax::SetDriveRoot(argv[i]);
    } else if (arg == "--grids") {
      if (++i >= argc) return Usage();
      options.grids = argv[i];
    } else if (arg == "-h" || arg == "--help") {
      Usage();
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      for (const Mode& m : kModes) {
        if (m.option == arg) mode = &m;
      }
      if (!mode) {
        std::cerr << "meridax-run: unknown option " << arg << '\n';
        return Usage();
      }
    } else {
      options.steps.push_back(arg);
    }
  }
  return mode ? mode->run(windows, options) : RunSteps(windows, options);
}
