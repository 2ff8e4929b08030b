#include "tools/meridax-run/run_tool.h"

#include <exception>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drive.h"
#include "platform/headless_windows.h"
#include "platform/io_error.h"
#include "platform/staged_files.h"
#include "platform/step_host.h"

namespace meridax {
namespace {

constexpr std::string_view kOutputFailure = "standard output cannot be written";

struct Options {
  std::vector<std::string> steps;
  std::optional<std::filesystem::path> grids;
  // Arguments after a mode's name, for the mode to read.
  std::vector<std::string> modeArgs;
};

struct Streams {
  std::ostream& out;
  std::ostream& err;
};

int Usage(std::ostream& err) {
  err << "usage: meridax-run [--drive DIR] [--grids DIR] STEP...\n"
         "       meridax-run --list\n"
         "       meridax-run [--drive DIR] --probe HORSEID RUN ROUTINE...\n"
         "STEP is one of\n"
         "  Window.Procedure          e.g. FormMERIDAXPROJECTSETUP2025ZZ.Command1_Click\n"
         "  Window.Text1=TEXT         types TEXT into the window's text box\n"
         "  Window.OptionN            selects option button N\n"
         "  Window.List1_Click=TEXT   clicks the List1 entry TEXT\n";
  return 2;
}

// What the tool does besides running steps, by option name. A mode gets the windows of
// both programs and the arguments after its name.
struct Mode {
  std::string_view option;
  int (*run)(const WindowRegistry& windows, const Options& options, Streams io);
};

int ListSteps(const WindowRegistry& windows, const Options&, Streams io) {
  for (const auto& step : ClickSteps(windows)) io.out << step.name << '\t' << step.caption << '\n';
  return 0;
}

constexpr Mode kModes[] = {
    {"--list", ListSteps},
};

// Finishes the commits that an ended process left half done, before anything reads the
// data folder; false, with the reason printed, when one cannot be finished.
bool CommitsCompleted(std::ostream& err) {
  try {
    CompleteInterruptedCommits();
    return true;
  } catch (const IoError& e) {
    err << "meridax-run: " << e.what() << '\n';
    return false;
  }
}

int RunSteps(const WindowRegistry& windows, const Options& options, Streams io) {
  if (options.steps.empty()) return Usage(io.err);
  RecordingHost host(
      [&io](std::string_view, std::string_view text) { io.out << text << std::endl; });
  HeadlessWindows session(windows, host, WindowContext{&io.out});
  // Check every name before running anything, so a typo does not leave a half-run sequence.
  for (const auto& step : options.steps) {
    if (!session.Known(step)) {
      io.err << "meridax-run: unknown step " << step << " (--list shows the steps)\n";
      return 2;
    }
  }
  if (!CommitsCompleted(io.err)) return 1;

  int exitCode = 0;
  for (const auto& step : options.steps) {
    // Steps report file failures themselves; anything else they throw still ends the run
    // with the step named, not with an abort.
    HeadlessWindows::Outcome outcome = HeadlessWindows::Outcome::kFailed;
    try {
      outcome = session.Run(step);
    } catch (...) {
      io.err << "meridax-run: step " << step << ": " << CurrentFailureText() << '\n';
    }
    // A status that cannot be written is lost: the run ends there, as at a failed step.
    const bool outputLost = !io.out.flush();
    if (outputLost) io.err << "meridax-run: step " << step << ": " << kOutputFailure << '\n';
    if (outcome == HeadlessWindows::Outcome::kOk) {
      if (!outputLost) continue;
      exitCode = 1;
    } else if (outcome == HeadlessWindows::Outcome::kNoSuchEntry) {
      io.err << "meridax-run: List1 holds no such entry: " << step << '\n';
      exitCode = 2;
    } else {
      io.err << "meridax-run: step " << step << " failed\n";
      exitCode = 1;
    }
    break;
  }
  // The grids as the run left them, also after a failed step.
  if (options.grids) {
    try {
      session.WriteGrids(*options.grids);
    } catch (...) {
      io.err << "meridax-run: " << CurrentFailureText() << '\n';
      if (exitCode == 0) exitCode = 1;
    }
  }
  return exitCode;
}

// The value of the option at args[i], i then at the value; none, with the complaint printed,
// when it is missing or empty (an empty folder would quietly stand for the default drive or
// the working folder).
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i,
                                       std::ostream& err) {
  const std::string& option = args[i];
  if (++i >= args.size()) {
    err << "meridax-run: " << option << " needs a value\n";
    return std::nullopt;
  }
  if (args[i].empty()) {
    err << "meridax-run: the value of " << option << " is empty\n";
    return std::nullopt;
  }
  return args[i];
}

int RunArguments(const WindowRegistry& windows, const std::vector<std::string>& args,
                 std::ostream& out, std::ostream& err, std::span<const ToolMode> modes) {
  const Streams io{out, err};
  Options options;
  const Mode* mode = nullptr;
  const ToolMode* programMode = nullptr;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (mode || programMode) {
      options.modeArgs.push_back(arg);
    } else if (arg == "--drive" || arg == "--grids") {
      const std::optional<std::string> value = OptionValue(args, i, err);
      if (!value) return Usage(err);
      if (arg == "--drive") {
        SetDriveRoot(*value);
      } else {
        options.grids = *value;
      }
    } else if (arg == "-h" || arg == "--help") {
      Usage(err);
      return 0;
    } else if (!arg.empty() && arg[0] == '-') {
      for (const Mode& m : kModes) {
        if (m.option == arg) mode = &m;
      }
      for (const ToolMode& m : modes) {
        if (m.option == arg) programMode = &m;
      }
      if (!mode && !programMode) {
        err << "meridax-run: unknown option " << arg << '\n';
        return Usage(err);
      }
    } else {
      options.steps.push_back(arg);
    }
  }
  if (programMode) return CommitsCompleted(err) ? programMode->run(options.modeArgs, out, err) : 1;
  return mode ? mode->run(windows, options, io) : RunSteps(windows, options, io);
}

}  // namespace

int RunTool(const WindowRegistry& windows, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err, std::span<const ToolMode> modes) {
  try {
    const int exitCode = RunArguments(windows, args, out, err, modes);
    // What could not be printed is lost: the run fails, unless it failed already.
    if (exitCode == 0 && !out.flush()) {
      err << "meridax-run: " << kOutputFailure << '\n';
      return 1;
    }
    return exitCode;
  } catch (...) {
    // The last resort: steps and modes report their own failures.
    err << "meridax-run: " << CurrentFailureText() << '\n';
    return 1;
  }
}

}  // namespace meridax
