#include "datasetup/common/step_frame.h"

#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/staged_files.h"

namespace meridax {

StepResult RunStep(StepHost& host, std::string_view caption,
                   const std::function<std::string()>& body) {
  std::string status;
  try {
    // A commit that an ended process left half done is finished before anything is read.
    CompleteInterruptedCommits();
    status = body();
  } catch (const IoError& e) {
    host.SetStatus(std::string(caption) + " エラー: " + e.what());
    return StepResult::kFailed;
  }
  host.SetStatus(status);
  return StepResult::kOk;
}

std::string StatusText(std::string_view label, std::int64_t count) {
  return std::string(label) + " " + Str(count);
}

}  // namespace meridax
