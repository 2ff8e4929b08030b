#include "platform/data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <utility>

#include "platform/drive.h"
#include "platform/io_error.h"
#include "platform/staged_files.h"

namespace meridax {
namespace {

struct Holds {
  int fd = -1;  // the data folder, open while any hold of this process lasts
  int readers = 0;
  int commits = 0;
  bool paused = false;
  StepHost* host = nullptr;  // the innermost reading's
  std::function<void(std::string_view)> notice;
};

Holds& TheHolds() {
  static Holds holds;
  return holds;
}

void Say(std::string_view text) {
  Holds& h = TheHolds();
  if (h.host) {
    h.host->SetStatus(text);
  } else if (h.notice) {
    h.notice(text);
  }
}

void OpenFolder() {
  Holds& h = TheHolds();
  if (h.fd >= 0) return;
  // A missing folder holds nothing: the step that needs it fails on it by itself. One that
  // cannot be opened could not be held, nor its half-done commits seen: the step stops.
  h.fd = ::open(DataPath().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (h.fd < 0 && errno != ENOENT && errno != ENOTDIR) {
    throw IoError("フォルダを読めません", DataPath(), errno);
  }
}

void CloseFolder() {
  Holds& h = TheHolds();
  if (h.fd >= 0) ::close(h.fd);
  h.fd = -1;
}

// Takes `fd` shared or alone, waiting while another program holds it against that. A lock
// that cannot be taken at all (a file system without them) stops the step: without it
// nothing keeps a reader from another program's half-done commit.
void Take(int fd, int operation, std::string_view waiting, const std::filesystem::path& path) {
  Holds& h = TheHolds();
  bool said = false;
  for (;;) {
    if (::flock(fd, operation | LOCK_NB) == 0) return;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) throw IoError("ロックできません", path, errno);
    if (!said) {
      said = true;
      Say(waiting);
    }
    if (h.host) h.host->ProcessEvents();
    const timespec pause{0, 10'000'000};
    ::nanosleep(&pause, nullptr);
  }
}

// The folder above the data folder is the queue before it: a commit waiting for the readers
// holds it alone, so that readers who come after the commit wait behind it instead of
// keeping it waiting for ever. Only a queue: where it cannot be opened, nobody queues.
class Queue {
 public:
  Queue(int operation, std::string_view waiting) {
    const std::filesystem::path above = DataPath() / "..";
    fd_ = ::open(above.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;
    try {
      Take(fd_, operation, waiting, above);
    } catch (...) {
      ::close(fd_);
      throw;
    }
  }
  ~Queue() {
    if (fd_ >= 0) ::close(fd_);
  }
  Queue(const Queue&) = delete;
  Queue& operator=(const Queue&) = delete;

 private:
  int fd_ = -1;
};

void TakeFolder(int operation, std::string_view waiting) {
  Holds& h = TheHolds();
  if (h.fd < 0) return;
  const Queue queue(operation == LOCK_EX ? LOCK_EX : LOCK_SH, waiting);
  Take(h.fd, operation, waiting, DataPath());
}

}  // namespace

DataFolderReading::DataFolderReading(StepHost* host) : previousHost_(TheHolds().host) {
  Holds& h = TheHolds();
  if (host) h.host = host;
  if (h.readers > 0 || h.commits > 0) {
    ++h.readers;
    return;
  }
  try {
    OpenFolder();
    TakeFolder(LOCK_SH, kWaitingForCommit);
    // A commit that an ended program left half done is finished before anything is read; it
    // can have ended while this one waited for it.
    while (h.fd >= 0 && InterruptedCommitStands()) {
      ::flock(h.fd, LOCK_UN);
      const bool finished = CompleteInterruptedCommits();
      OpenFolder();
      TakeFolder(LOCK_SH, kWaitingForCommit);
      if (!finished) break;  // its owner still lives: no commit of its is under way
    }
  } catch (...) {
    CloseFolder();
    h.host = previousHost_;
    throw;
  }
  ++h.readers;
}

DataFolderReading::~DataFolderReading() {
  Holds& h = TheHolds();
  h.host = previousHost_;
  if (--h.readers == 0 && h.commits == 0) CloseFolder();
}

DataFolderWaitsShownIn::DataFolderWaitsShownIn(StepHost& host) : previousHost_(TheHolds().host) {
  TheHolds().host = &host;
}

DataFolderWaitsShownIn::~DataFolderWaitsShownIn() {
  TheHolds().host = previousHost_;
}

DataFolderCommit::DataFolderCommit() {
  Holds& h = TheHolds();
  if (h.commits > 0) {
    ++h.commits;
    return;
  }
  OpenFolder();
  // This process's reading hold goes first, whatever the kernel does with a conversion: two
  // programs that each wait to turn their hold into a commit's would wait for ever.
  if (h.readers > 0 && h.fd >= 0 && !h.paused) ::flock(h.fd, LOCK_UN);
  try {
    TakeFolder(LOCK_EX, kWaitingForReaders);
  } catch (...) {
    if (h.readers == 0) CloseFolder();
    throw;
  }
  ++h.commits;
  held_ = true;
}

DataFolderCommit::~DataFolderCommit() {
  Holds& h = TheHolds();
  if (--h.commits > 0 || !held_) return;
  if (h.readers > 0 && !h.paused) {
    try {
      TakeFolder(LOCK_SH, kWaitingForCommit);  // the step reads on after its commit
    } catch (const IoError&) {
      // The lock was taken a moment ago: the step ends soon without its reading hold.
      ::flock(h.fd, LOCK_UN);
    }
  } else if (h.readers == 0) {
    CloseFolder();
  } else if (h.fd >= 0) {
    ::flock(h.fd, LOCK_UN);
  }
}

DataFolderReadingPause::DataFolderReadingPause() {
  Holds& h = TheHolds();
  if (h.readers == 0 || h.commits > 0 || h.paused || h.fd < 0) return;
  ::flock(h.fd, LOCK_UN);
  paused_ = h.paused = true;
}

DataFolderReadingPause::~DataFolderReadingPause() {
  if (!paused_) return;
  Holds& h = TheHolds();
  h.paused = false;
  try {
    TakeFolder(LOCK_SH, kWaitingForCommit);
  } catch (const IoError&) {
    // Taken before the dialog: the step goes on, ending soon, without its reading hold.
  }
}

void SetDataFolderWaitNotice(std::function<void(std::string_view text)> notice) {
  TheHolds().notice = std::move(notice);
}

}  // namespace meridax
