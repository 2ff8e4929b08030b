#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/window.h"

namespace meridax {

// The headless runner over a program's windows, its arguments as on the command line (the
// program's name not among them). Status and message texts go to `out`, one per line,
// complaints to `err`. Returns the exit status: 0, 1 when a step failed, 2 for an unknown
// step or option or a List1 entry that is not there.
int RunTool(const WindowRegistry& windows, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err);

}  // namespace meridax
