#pragma once

#include <functional>
#include <string>

namespace meridax::testing {

// Runs `body` in a child process as the unprivileged user 65534 (as root the tests run, a
// folder's mode stops nothing) and returns what it returned. Run by a user that is not
// root, the child keeps its user. The child's failure to drop its rights, to run the body
// or to end is returned as a text the body could not return ("<...>").
std::string RunUnprivileged(const std::function<std::string()>& body);

}  // namespace meridax::testing
