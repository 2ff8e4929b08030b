#pragma once

#include <functional>
#include <string_view>

#include "platform/step_host.h"

namespace meridax {

// Programs that share the data folder read a set of files that one commit wrote only while no
// commit of theirs is under way: readers hold the folder together (a lock on the folder
// itself, so that no file of ours stands in it), a commit holds it alone for its journal and
// renames. So a reader sees every commit whole. Holds are taken on the thread that runs the
// steps; a wait is said in the status of the step that waits, and its window repaints
// meanwhile.

// Held while a step or a window's load reads the data folder. Nested holds share the first.
// A commit made meanwhile in this process turns the hold into its own for the renames.
class DataFolderReading {
 public:
  // `host` (may be null) shows the wait and pumps the window's events while it lasts.
  explicit DataFolderReading(StepHost* host = nullptr);
  ~DataFolderReading();
  DataFolderReading(const DataFolderReading&) = delete;
  DataFolderReading& operator=(const DataFolderReading&) = delete;

 private:
  StepHost* previousHost_;
};

// Names the host that shows the waits of the step that runs now, for a step that commits
// without holding the folder to read (the download).
class DataFolderWaitsShownIn {
 public:
  explicit DataFolderWaitsShownIn(StepHost& host);
  ~DataFolderWaitsShownIn();
  DataFolderWaitsShownIn(const DataFolderWaitsShownIn&) = delete;
  DataFolderWaitsShownIn& operator=(const DataFolderWaitsShownIn&) = delete;

 private:
  StepHost* previousHost_;
};

// Held by a commit while it writes its journal and renames its files: it waits until no
// other program reads the folder.
class DataFolderCommit {
 public:
  DataFolderCommit();
  ~DataFolderCommit();
  DataFolderCommit(const DataFolderCommit&) = delete;
  DataFolderCommit& operator=(const DataFolderCommit&) = delete;

 private:
  bool held_ = false;
};

// Lets go of this process's reading hold while a dialog waits for the operator, so that no
// other program's commit waits on a message box; the hold is taken again afterwards.
class DataFolderReadingPause {
 public:
  DataFolderReadingPause();
  ~DataFolderReadingPause();
  DataFolderReadingPause(const DataFolderReadingPause&) = delete;
  DataFolderReadingPause& operator=(const DataFolderReadingPause&) = delete;

 private:
  bool paused_ = false;
};

// Where a wait is said when no step's host is at hand (a tool's own commit).
void SetDataFolderWaitNotice(std::function<void(std::string_view text)> notice);

// What a wait says: short enough for the narrowest status box, and told apart by its
// second half.
inline constexpr std::string_view kWaitingForCommit = "他プログラムの置換待ち";
inline constexpr std::string_view kWaitingForReaders = "他プログラムの読込待ち";

}  // namespace meridax
