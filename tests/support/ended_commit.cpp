#include "tests/support/ended_commit.h"

#include <sys/wait.h>
#include <unistd.h>

#include "platform/io_error.h"

namespace meridax::testing {

namespace {
constexpr int kEndedThere = 77;
}  // namespace

bool EndProcessDuringCommit(const std::function<void()>& step, StagedFiles::Operation operation,
                            std::size_t index, std::ptrdiff_t failReplaceAt) {
  const pid_t child = ::fork();
  if (child < 0) return false;
  if (child == 0) {
    StagedFiles::SetHookForTesting([=](StagedFiles::Operation op, std::size_t i) {
      if (op == operation && i == index) ::_exit(kEndedThere);
      if (op == StagedFiles::Operation::kReplace &&
          static_cast<std::ptrdiff_t>(i) == failReplaceAt) {
        throw IoError("置き換えられません", "injected");
      }
    });
    try {
      step();
    } catch (...) {
    }
    ::_exit(1);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == kEndedThere;
}

}  // namespace meridax::testing
