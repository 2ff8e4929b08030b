#include "tests/support/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>
#include <vector>

namespace meridax::testing {
namespace {

// The test's ends of the pipes of every child that runs: a child forked later must not hold
// them, or an earlier child would never see its Go().
std::vector<int>& TestEnds() {
  static std::vector<int> ends;
  return ends;
}

void CloseEnd(int& fd) {
  if (fd >= 0) {
    ::close(fd);
    std::erase(TestEnds(), fd);
  }
  fd = -1;
}

}  // namespace

ChildProcess::ChildProcess(const std::function<void(ChildProcess&)>& body) {
  if (::pipe(paused_) != 0 || ::pipe(go_) != 0) throw std::runtime_error("pipe failed");
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    for (const int fd : TestEnds()) ::close(fd);
    TestEnds().clear();
    CloseEnd(paused_[0]);
    CloseEnd(go_[1]);
    int code = 0;
    try {
      body(*this);
    } catch (...) {
      code = 1;
    }
    ::_exit(code);
  }
  CloseEnd(paused_[1]);
  CloseEnd(go_[0]);
  TestEnds().push_back(paused_[0]);
  TestEnds().push_back(go_[1]);
}

ChildProcess::~ChildProcess() {
  Wait();
}

void ChildProcess::Pause() {
  const char c = 'p';
  if (::write(paused_[1], &c, 1) != 1) ::_exit(3);
  char go = 0;
  while (::read(go_[0], &go, 1) < 0 && errno == EINTR) {
  }
}

bool ChildProcess::WaitUntilPaused() {
  char c = 0;
  ssize_t n;
  while ((n = ::read(paused_[0], &c, 1)) < 0 && errno == EINTR) {
  }
  return n == 1;
}

void ChildProcess::Go() {
  CloseEnd(go_[1]);  // every pause from here on goes straight on
}

int ChildProcess::Wait() {
  if (waited_) return status_;
  Go();
  int status = 0;
  if (::waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) status_ = WEXITSTATUS(status);
  // A process that took the child's part holds the pipe until it ends.
  for (char c;;) {
    const ssize_t n = ::read(paused_[0], &c, 1);
    if (n == 0 || (n < 0 && errno != EINTR)) break;
  }
  CloseEnd(paused_[0]);
  waited_ = true;
  return status_;
}

}  // namespace meridax::testing
