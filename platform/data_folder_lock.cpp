#include "platform/data_folder_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <utility>

#include "platform/drive.h"

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
  // A missing folder holds nothing: the step that needs it fails on it by itself.
  if (h.fd < 0) h.fd = ::open(DataPath().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

void CloseFolder() {
  Holds& h = TheHolds();
  if (h.fd >= 0) ::close(h.fd);
  h.fd = -1;
}

// Takes the folder shared or alone, waiting while another program holds it against that. A
// file system that has no such locks holds nothing: the programs run then as without them.
void Take(int operation, std::string_view waiting) {
  Holds& h = TheHolds();
  bool said = false;
  while (h.fd >= 0) {
    if (::flock(h.fd, operation | LOCK_NB) == 0) return;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      CloseFolder();
      return;
    }
    if (!said) {
      said = true;
      Say(waiting);
    }
    if (h.host) h.host->ProcessEvents();
    const timespec pause{0, 10'000'000};
    ::nanosleep(&pause, nullptr);
  }
}

}  // namespace

DataFolderReading::DataFolderReading(StepHost* host) : previousHost_(TheHolds().host) {
  Holds& h = TheHolds();
  if (host) h.host = host;
  if (h.readers++ > 0 || h.commits > 0) return;
  OpenFolder();
  Take(LOCK_SH, kWaitingForCommit);
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
  if (h.commits++ > 0) return;
  OpenFolder();
  // This process's reading hold goes first, whatever the kernel does with a conversion: two
  // programs that each wait to turn their hold into a commit's would wait for ever.
  if (h.readers > 0 && h.fd >= 0 && !h.paused) ::flock(h.fd, LOCK_UN);
  Take(LOCK_EX, kWaitingForReaders);
  held_ = true;
}

DataFolderCommit::~DataFolderCommit() {
  Holds& h = TheHolds();
  if (--h.commits > 0 || !held_) return;
  if (h.readers > 0 && !h.paused) {
    Take(LOCK_SH, kWaitingForCommit);  // the step reads on after its commit
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
  Take(LOCK_SH, kWaitingForCommit);
}

void SetDataFolderWaitNotice(std::function<void(std::string_view text)> notice) {
  TheHolds().notice = std::move(notice);
}

}  // namespace meridax
