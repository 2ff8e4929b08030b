#pragma once

#include <cstddef>
#include <functional>

#include "platform/staged_files.h"

namespace meridax::testing {

// Runs `step` in a child process that ends at once, as if killed, when its commit reaches
// `operation` on target `index`; a hook given as `failReplaceAt` first fails the replace
// of that target, so the commit undoes itself. Returns whether the child ended there.
bool EndProcessDuringCommit(const std::function<void()>& step, StagedFiles::Operation operation,
                            std::size_t index, std::ptrdiff_t failReplaceAt = -1);

}  // namespace meridax::testing
