#include "datasetup/common/step_frame.h"

#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/staged_files.h"

namespace meridax {

StepResult RunQuietStep(StepHost& host, std::string_view caption,
                        const std::function<void()>& body) {
  try {
    // A commit that an ended process left half done is finished before anything is read.
    CompleteInterruptedCommits();
    body();
  } catch (const IoError& e) {
    host.SetStatus(std::string(caption) + " エラー: " + e.what());
    return StepResult::kFailed;
  }
  return StepResult::kOk;
}

StepResult RunStep(StepHost& host, std::string_view caption,
                   const std::function<std::string()>& body) {
  std::string status;
  const StepResult result = RunQuietStep(host, caption, [&] { status = body(); });
  if (result == StepResult::kOk) host.SetStatus(status);
  return result;
}

std::string StatusText(std::string_view label, std::int64_t count) {
  return std::string(label) + " " + Str(count);
}

}  // namespace meridax
