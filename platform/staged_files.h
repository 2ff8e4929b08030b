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
// Commit() is all or nothing: every temporary must still be the file the step made (one
// missing or replaced by another fails the commit before anything is replaced), each
// replaced file is kept as a backup until the commit ends, and a failure part way puts every
// replaced file back, removes the new ones and then throws. A commit of several files first
// leaves a small journal in the data folder; a process killed during the renames leaves it
// behind, and CompleteInterruptedCommits() later finishes that commit from the temporaries.
//
// Whose temporaries are whose is on record: before its first temporary, a StagedFiles
// writes an owner's record in the data folder that it holds locked until its temporaries are
// committed or gone and that lists the folders it stages in. Only files of that record's exact
// names are ever swept, and only once the record can be taken, so a living owner's files stay in
// any pid namespace, and a file that merely looks like a temporary stays as the user's.
class StagedFiles {
 public:
  StagedFiles();
  ~StagedFiles();
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // Where to write the new content of `target`. The temporary is made at once: empty, or
  // as a copy of the current target with `keepContent` (for files overwritten in place,
  // whose records past the new end stay); one never written commits as an empty file. It
  // must be written in place (opened, not replaced). Staging a target again before Commit()
  // returns the same temporary: emptied again, or as the step left it with `keepContent`,
  // so the last content written is what commits. The first file staged clears the data
  // folder's sub-folders of what ended owners left.
  std::filesystem::path Stage(const std::filesystem::path& target, bool keepContent = false);

  // Puts every file staged since the last commit in place, or none. Throws IoError.
  void Commit();

  std::size_t size() const { return targets_.size(); }

  // What a commit is about to do, for tests that fail it or end the process there:
  // replacing target `index` (in staged order), putting target `index` back after a
  // failure, or naming the journal once written (index 0). A hook that throws IoError
  // fails that operation.
  enum class Operation { kReplace, kRestore, kWriteJournal };
  using Hook = std::function<void(Operation, std::size_t index)>;
  static void SetHookForTesting(Hook hook);

 private:
  struct Target {
    std::string name;
    std::string identity;  // of the temporary made for it
  };

  void NewSuffix();
  std::string TempOf(const std::string& target) const;
  void PrepareFolder(const std::filesystem::path& target);
  void EndOwnerRecord();
  void CheckTemporary(const Target& target) const;
  void CommitAll(std::size_t first);

  std::string suffix_;
  std::deque<Target> targets_;  // a deque: the views in staged_ stay valid
  std::unordered_map<std::string_view, std::size_t> staged_;  // target -> its place in targets_
  std::unordered_set<std::string> folders_;                   // on the owner's record
  std::filesystem::path ownerRecord_;
  int ownerFd_ = -1;  // holds the record while this object has temporaries
  std::size_t committed_ = 0;
  bool journalLeft_ = false;  // a commit that could not be undone: its temporaries stay
};

// Finishes the commits of owners that ended during their renames, from the journals they
// left in the data folder (each remaining temporary replaces its target and the backups go),
// then removes what every ended owner left in its folders. Every program calls it as it
// starts and every step before it reads anything. Throws IoError when a file cannot be put
// in place; the journal then stays for the next step.
void CompleteInterruptedCommits();

}  // namespace meridax
