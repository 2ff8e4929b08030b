#pragma once

#include <cstdint>
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
// and put in place together by Commit() once the step has succeeded; the files a step
// removes (Remove()) go in the same commit. A step that fails before then (the object is
// destroyed uncommitted) removes its temporaries and leaves every earlier file as it was.
//
// Commit() is all or nothing: every temporary must still be the file the step made (one
// missing or replaced by another fails the commit before anything is replaced), each
// replaced or removed file is kept under its temporary's name until the commit ends, and a
// failure part way puts every file back and then throws. A commit of several files first
// leaves a small journal in the data folder that tells the new files from the old; a process
// killed during the renames leaves it behind, and the next reader or commit finishes that
// commit from the temporaries before it reads or replaces anything.
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

  // Where to write the new content of `target`: a temporary that the first writer to open it
  // makes (OpenOutputFile), or with `keepContent` a copy of the current target made now (for
  // files overwritten in place, whose records past the new end stay); one never written
  // commits as an empty file. It must be written in place (opened, not replaced). Staging a
  // target again before Commit() returns the same temporary: emptied again, or as the step
  // left it with `keepContent`, so the last content written is what commits; a target
  // removed before is staged instead. The first file staged clears the data folder's
  // sub-folders of what ended owners left.
  std::filesystem::path Stage(const std::filesystem::path& target, bool keepContent = false);

  // Removes `target` with the next commit (nothing when it does not stand then); one staged
  // before in this step is not written after all.
  void Remove(const std::filesystem::path& target);

  // Puts every file staged since the last commit in place, and removes every file removed
  // since, or does none of it. Throws IoError.
  void Commit();

  std::size_t size() const { return targets_.size(); }

  // What a commit is about to do, for tests that fail it or end the process there:
  // replacing (or removing) target `index` (in staged order), putting target `index` back
  // after a failure, naming the journal once written (index 0), or once all is in place,
  // removing what target `index` replaced. A hook that throws IoError fails that operation.
  enum class Operation { kReplace, kRestore, kWriteJournal, kDiscard };
  using Hook = std::function<void(Operation, std::size_t index)>;
  static void SetHookForTesting(Hook hook);

  // How a target is replaced or removed; what a failure undoes.
  enum class Done : char {
    kNothing,
    kExchanged,
    kMovedIn,
    kMovedAside,
    kLinkedBackup,
    kMovedBackup
  };
  // What the commit knows of each target; shared with the writers' opens (OpenOutputFile).
  struct Target {
    std::string name;
    bool removal = false;
    bool opened = false;     // the temporary stands, made by its first writer or a copy
    bool madeEmpty = false;  // never written: made empty by the commit
    // Of the temporary, once opened: the file system's handle of it (inode and generation, so
    // that a number freed and taken again still differs), or where it has none, its inode
    // and when that was made.
    std::string identity;
    Done done = Done::kNothing;
    bool replaced = false;  // for a backup kept the old way: the new file is in place
  };

 private:
  friend int OpenOutputFile(const std::filesystem::path& path, int flags, std::uint64_t& size);
  // The target's entry while its temporary is still to be made by a writer.
  Target* Unwritten(std::string_view target);
  void NewSuffix();
  std::string TempOf(const std::string& target) const;
  Target& Add(const std::filesystem::path& target, bool removal);
  void PrepareFolder(const std::filesystem::path& target);
  void EndOwnerRecord();
  void CommitAll(std::size_t first);

  std::string suffix_;
  std::deque<Target> targets_;  // a deque: the views in staged_ stay valid
  std::unordered_map<std::string_view, std::size_t> staged_;  // target -> its place in targets_
  std::unordered_set<std::string> folders_;                   // on the owner's record
  std::filesystem::path ownerRecord_;
  int ownerFd_ = -1;  // holds the record while this object has temporaries
  std::size_t committed_ = 0;
  bool journalLeft_ = false;  // a commit that could not be undone: its temporaries stay
  bool leftovers_ = false;    // what a commit replaced could not all be removed: on record
};

// Opens a file for the writers (TextWriter, RecordFile, RecordMap): open(2) with `flags`,
// O_CLOEXEC added, a file made with what the umask leaves of 0666; `size` is what the file
// holds. A staged temporary is made by its first such open, never over a file that stands
// under its name, and is known from then on by the descriptor it was made with: no call more
// than an open and a look at the file. -1 with errno on failure.
int OpenOutputFile(const std::filesystem::path& path, int flags, std::uint64_t& size);

// Finishes the commits of owners that ended during their renames, from the journals they
// left in the data folder, then removes what every ended owner left in its folders. Every
// program calls it as it starts; a reading hold and a commit finish such commits by
// themselves. Throws IoError when a journal's record cannot be taken, a folder cannot be
// listed or a file cannot be put in place; the journal then stays for the next try. Says
// whether it finished a commit.
bool CompleteInterruptedCommits();

// Whether the data folder holds the journal of a commit whose owner has ended (or any
// journal on record, while no commit can be under way); for the reading hold. Throws IoError
// when the folder cannot be listed.
bool InterruptedCommitStands();

}  // namespace meridax
