#pragma once

#include <sys/types.h>

#include <functional>

namespace meridax::testing {

// A body run in a child process, for tests of what programs sharing the data folder do to
// each other. The body calls Pause() where the test acts meanwhile; processes it forks keep
// the child's part (a grandchild may pause in its place). The child ends with status 0, or 1
// when the body throws; it ends at once, without running destructors, like a killed process
// when the body calls ::_exit itself.
class ChildProcess {
 public:
  explicit ChildProcess(const std::function<void(ChildProcess&)>& body);
  ~ChildProcess();  // lets it go on and waits for it
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // In the child: tells the test it is here and waits until it says go.
  void Pause();

  // In the test: waits until the body pauses; false when it ended first.
  bool WaitUntilPaused();
  void Go();
  // Waits until the child, and every process that took its part, has ended; the child's
  // exit status (-1 when it was killed).
  int Wait();

 private:
  pid_t pid_ = -1;
  int paused_[2] = {-1, -1};  // child -> test
  int go_[2] = {-1, -1};      // test -> child
  bool waited_ = false;
  int status_ = -1;
};

}  // namespace meridax::testing
