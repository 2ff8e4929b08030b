#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace meridax {

// The longest tail that a staged file's temporary or backup adds to its target's name
// (".stage", a process id, "_", a serial and ".old"), so that a name leaving room for it
// never makes a temporary past the file system's name limit.
inline constexpr std::size_t kStagedNameTailBytes = 28;

// The files a step rebuilds whole, written under temporary names beside their targets
// and put in place together by Commit() once the step has succeeded. A step that fails
// before then (the object is destroyed uncommitted) removes its temporaries and leaves
// every earlier file as it was.
//
// Commit() is all or nothing: every temporary is complete (the step has closed it; one
// never written is created empty) before the first target is replaced, each replaced file
// is kept as a backup until the commit ends, and a failure part way puts every replaced
// file back, removes the new ones and then throws. A commit of several files first leaves
// a small journal in the data folder; a process killed during the renames leaves it behind,
// and CompleteInterruptedCommits() later finishes that commit from the temporaries.
class StagedFiles {
 public:
  StagedFiles();
  ~StagedFiles();
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // Where to write the new content of `target`. The temporary starts absent, or as a
  // copy of the current target with `keepContent` (for files overwritten in place, whose
  // records past the new end stay). A temporary never written commits as an empty file.
  // Staging a target again before Commit() returns the same temporary: emptied again, or
  // as the step left it with `keepContent`, so the last content written is what commits.
  // The first file staged in a folder clears it of the temporaries of dead processes.
  std::filesystem::path Stage(const std::filesystem::path& target, bool keepContent = false);

  // Puts every file staged since the last commit in place, or none. Throws IoError.
  void Commit();

  std::size_t size() const { return targets_.size(); }

  // What a commit is about to do, for tests that fail it or end the process there:
  // replacing target `index` (in staged order), or putting target `index` back after a
  // failure. A hook that throws IoError fails that operation.
  enum class Operation { kReplace, kRestore };
  using Hook = std::function<void(Operation, std::size_t index)>;
  static void SetHookForTesting(Hook hook);

 private:
  std::string TempOf(const std::string& target) const;
  void PrepareFolder(const std::filesystem::path& target);
  void CommitAll(std::size_t first);

  std::string suffix_;
  std::deque<std::string> targets_;  // a deque: the views in staged_ stay valid
  std::unordered_map<std::string_view, std::size_t> staged_;  // target -> its place in targets_
  std::unordered_set<std::string> folders_;                   // cleared of stale temporaries
  std::size_t committed_ = 0;
  bool journalLeft_ = false;  // a commit that could not be undone: its temporaries stay
};

// Finishes the commits of processes that ended during their renames, from the journals
// they left in the data folder: each remaining temporary replaces its target and the
// backups go. Every step calls it before it starts. Throws IoError when a file cannot be
// put in place; the journal then stays for the next step.
void CompleteInterruptedCommits();

// Removes from `folder` the temporaries and backups of processes no longer running
// (those of a commit with a journal are left to CompleteInterruptedCommits).
void RemoveStaleTemporaries(const std::filesystem::path& folder);

}  // namespace meridax
