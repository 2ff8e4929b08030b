#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/step_host.h"

namespace meridax {

// Runs the body of a step that writes files, once the commits that an ended process left
// half done are finished (CompleteInterruptedCommits). The body returns its status text. When it
// throws IoError (a missing folder, a file that cannot be read or written), it has written
// nothing that replaces an earlier file (steps stage their outputs, platform/staged_files.h),
// and the status becomes the button's caption, " エラー: " and what failed with its path.
StepResult RunStep(StepHost& host, std::string_view caption,
                   const std::function<std::string()>& body);

// The status text of most steps: the label, one blank and the count with a leading blank
// when it is not negative ("RA 終わり", two blanks, digits).
std::string StatusText(std::string_view label, std::int64_t count);

}  // namespace meridax
