#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace meridax {

// A mode that a program adds to the runner: `OPTION ARGS...`, every argument after the
// option the mode's own (options before it, such as --drive, still apply). Returns the
// exit status.
struct ToolMode {
  std::string_view option;
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

// The headless runner over a program's windows, its arguments as on the command line (the
// program's name not among them). Status and message texts go to `out`, one per line,
// complaints to `err`. Returns the exit status: 0, 1 when a step failed or `out` could not
// be written (the run ends at the step whose status was lost), 2 for an unknown step or
// option, an option's value that is missing or empty, or a List1 entry that is not there.
// Whatever a step throws ends the run with status 1 and the step named. Before a step or
// mode runs, the commits that ended processes left half done are finished.
int RunTool(const WindowRegistry& windows, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err, std::span<const ToolMode> modes = {});

}  // namespace meridax
