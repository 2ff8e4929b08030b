#include "platform/staged_files.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <mutex>
#include <optional>
#include <random>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/text_file.h"

namespace meridax {
namespace {

// A temporary is "<target>.stage<pid>_<serial>"; the same with ".old" is the backup of the
// file it replaced, and "COMMIT.stage<pid>_<serial>.journal" in the data folder the journal
// of a commit in progress, written first as ".part".
constexpr std::string_view kTag = ".stage";
constexpr std::string_view kBackupTail = ".old";
constexpr std::string_view kPartTail = ".part";
constexpr std::string_view kJournalTail = ".journal";
constexpr std::string_view kJournalName = "COMMIT";
constexpr std::string_view kJournalHeader = "MERIDAX COMMIT JOURNAL 1";

// The suffixes of this process's live StagedFiles: a temporary with this process's id but
// another suffix was left by an earlier process that had the same id.
struct Registry {
  std::mutex mutex;
  std::unordered_set<std::string> live;
  StagedFiles::Hook hook;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

void RunHook(StagedFiles::Operation operation, std::size_t index) {
  StagedFiles::Hook hook;
  {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    hook = r.hook;
  }
  if (hook) hook(operation, index);
}

struct StagedName {
  std::string_view target;  // the name before the tag
  std::string_view suffix;  // ".stage<pid>_<serial>"
  std::string_view tail;    // "", ".old", ".part" or ".journal"
  pid_t pid = 0;
};

std::optional<StagedName> ParseStagedName(std::string_view name) {
  const std::size_t at = name.rfind(kTag);
  if (at == std::string_view::npos) return std::nullopt;
  const char* p = name.data() + at + kTag.size();
  const char* end = name.data() + name.size();
  long long pid = 0;
  auto [afterPid, pidError] = std::from_chars(p, end, pid);
  if (pidError != std::errc() || afterPid == p || afterPid == end || *afterPid != '_') {
    return std::nullopt;
  }
  unsigned long long serial = 0;
  auto [afterSerial, serialError] = std::from_chars(afterPid + 1, end, serial);
  if (serialError != std::errc() || afterSerial == afterPid + 1) return std::nullopt;
  StagedName parsed;
  parsed.target = name.substr(0, at);
  parsed.suffix = name.substr(at, static_cast<std::size_t>(afterSerial - (name.data() + at)));
  parsed.tail = name.substr(static_cast<std::size_t>(afterSerial - name.data()));
  if (!parsed.tail.empty() && parsed.tail != kBackupTail && parsed.tail != kPartTail &&
      parsed.tail != kJournalTail) {
    return std::nullopt;
  }
  if (pid <= 0 || pid > 0x7FFFFFFF) return std::nullopt;
  parsed.pid = static_cast<pid_t>(pid);
  return parsed;
}

bool OwnerIsRunning(const StagedName& name) {
  if (name.pid == ::getpid()) {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    return r.live.contains(std::string(name.suffix));
  }
  return ::kill(name.pid, 0) == 0 || errno == EPERM;
}

// The names of a folder that carry the tag; a folder that cannot be read has none.
std::vector<std::string> TaggedNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (name.find(kTag) != std::string_view::npos) names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

std::filesystem::path JournalOf(std::string_view suffix) {
  std::string name(kJournalName);
  name.append(suffix).append(kJournalTail);
  return DataPath() / name;
}

void CompleteJournal(const std::filesystem::path& journal, std::string_view suffix) {
  std::vector<std::filesystem::path> folders;
  {
    LineReader in(journal);
    std::string line;
    if (!in.Next(line) || line != kJournalHeader || !in.Next(line) || line != suffix) {
      throw IoError("コミットの記録が読めません", journal);
    }
    while (in.Next(line)) {
      if (!line.empty()) folders.emplace_back(line);
    }
  }
  // Every temporary still there replaces its target; the backups are of files already
  // replaced. Names are gathered first: renaming while a folder is read may skip some.
  for (const auto& folder : folders) {
    std::vector<std::string> backups;
    for (const std::string& name : TaggedNames(folder)) {
      const auto parsed = ParseStagedName(name);
      if (!parsed || parsed->suffix != suffix) continue;
      if (parsed->tail.empty()) {
        const auto target = folder / std::string(parsed->target);
        // Gone already: another program is completing the same commit.
        if (::rename((folder / name).c_str(), target.c_str()) != 0 && errno != ENOENT) {
          throw IoError("置き換えられません", target, errno);
        }
      } else if (parsed->tail == kBackupTail) {
        backups.push_back(name);
      }
    }
    for (const std::string& name : backups) ::unlink((folder / name).c_str());
  }
  ::unlink(journal.c_str());
}

// How the earlier content of a target was kept while a commit replaces it.
enum class Kept : char { kNothing, kLinked, kMoved };

// Keeps the current target under `backup`: a second name for the same file, so that the
// target never goes missing, or where hard links fail, the file itself moved aside. A
// folder in the target's place is never moved: it cannot be replaced.
Kept KeepBackup(const std::string& target, const std::string& backup) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (::link(target.c_str(), backup.c_str()) == 0) return Kept::kLinked;
    if (errno == ENOENT) return Kept::kNothing;
    if (errno != EEXIST) break;
    ::unlink(backup.c_str());  // left by an earlier process with the same suffix
  }
  if (struct stat st{}; ::lstat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    throw IoError("置き換えられません", target, EISDIR);
  }
  if (::rename(target.c_str(), backup.c_str()) == 0) return Kept::kMoved;
  if (errno == ENOENT) return Kept::kNothing;
  throw IoError("置き換えられません", target, errno);
}

struct Step {
  Kept kept = Kept::kNothing;
  bool replaced = false;
};

}  // namespace

void StagedFiles::SetHookForTesting(Hook hook) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.hook = std::move(hook);
}

StagedFiles::StagedFiles() {
  // Serials start at random, so that a process never takes up the names of a killed
  // one that had the same id.
  static std::atomic<unsigned> serial{std::random_device{}()};
  suffix_ = std::string(kTag) + std::to_string(::getpid()) + "_" + std::to_string(serial++);
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.live.insert(suffix_);
}

StagedFiles::~StagedFiles() {
  if (!journalLeft_) {
    for (std::size_t i = committed_; i < targets_.size(); ++i) {
      ::unlink(TempOf(targets_[i]).c_str());
    }
  }
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.live.erase(suffix_);
}

std::string StagedFiles::TempOf(const std::string& target) const {
  return target + suffix_;
}

void StagedFiles::PrepareFolder(const std::filesystem::path& target) {
  const std::filesystem::path folder = FolderOf(target);
  if (folders_.contains(folder.native())) return;
  if (!FolderExists(folder)) throw IoError("フォルダがありません", target.parent_path());
  RemoveStaleTemporaries(folder);
  folders_.insert(folder.native());
}

std::filesystem::path StagedFiles::Stage(const std::filesystem::path& target, bool keepContent) {
  const std::string temp = TempOf(target.string());
  if (const auto it = staged_.find(target.native());
      it != staged_.end() && it->second >= committed_) {
    // Staged before in this step: the temporary is the file as the step left it.
    if (!keepContent) ::unlink(temp.c_str());
    return temp;
  }
  // The folder's stale temporaries go, and no running process shares this suffix, so
  // nothing stands under the temporary name.
  PrepareFolder(target);
  targets_.push_back(target.string());
  staged_.insert_or_assign(targets_.back(), targets_.size() - 1);
  if (keepContent && FileExists(target)) {
    std::error_code ec;
    std::filesystem::copy_file(target, temp, ec);
    if (ec) throw IoError("複写できません", target, ec.value());
  }
  return temp;
}

void StagedFiles::Commit() {
  if (committed_ == targets_.size()) return;
  CommitAll(committed_);
  committed_ = targets_.size();
}

void StagedFiles::CommitAll(std::size_t first) {
  const std::size_t count = targets_.size() - first;
  auto target = [&](std::size_t i) -> const std::string& { return targets_[first + i]; };
  // Complete before anything is replaced: a file that cannot be created fails here.
  for (std::size_t i = 0; i < count; ++i) CreateIfMissing(TempOf(target(i)));

  if (count == 1) {
    // One rename replaces the file whole or not at all.
    RunHook(Operation::kReplace, 0);
    if (::rename(TempOf(target(0)).c_str(), target(0).c_str()) != 0) {
      throw IoError("置き換えられません", target(0), errno);
    }
    return;
  }

  const std::filesystem::path journal = JournalOf(suffix_);
  // The journal's folder is written too: the journals that dead processes could not finish
  // writing go, though this step stages nothing there.
  PrepareFolder(journal);
  {
    const std::filesystem::path part =
        journal.parent_path() / (std::string(kJournalName) + suffix_ + std::string(kPartTail));
    try {
      TextWriter out(part, TextWriter::Mode::kOutput);
      out.Raw(kJournalHeader).Raw("\n").Raw(suffix_).Raw("\n");
      std::unordered_set<std::string_view> seen;
      std::string_view last;
      for (std::size_t i = 0; i < count; ++i) {
        const std::string_view t = target(i);
        const std::size_t slash = t.rfind('/');
        const std::string_view folder = slash == std::string_view::npos ? "." : t.substr(0, slash);
        if (folder == last) continue;
        last = folder;
        if (seen.insert(folder).second) {
          out.Raw(std::filesystem::absolute(folder).native()).Raw("\n");
        }
      }
      out.Close();
      if (::rename(part.c_str(), journal.c_str()) != 0) {
        throw IoError("書き込めません", journal, errno);
      }
    } catch (...) {
      ::unlink(part.c_str());  // a journal never finished: nothing was replaced yet
      throw;
    }
  }

  std::vector<Step> steps;
  steps.reserve(count);
  try {
    for (std::size_t i = 0; i < count; ++i) {
      RunHook(Operation::kReplace, i);
      const std::string temp = TempOf(target(i));
      steps.push_back({KeepBackup(target(i), temp + std::string(kBackupTail)), false});
      if (::rename(temp.c_str(), target(i).c_str()) != 0) {
        throw IoError("置き換えられません", target(i), errno);
      }
      steps.back().replaced = true;
    }
  } catch (...) {
    // Undone in reverse, each new file back under its temporary name before the earlier
    // one returns: should this process end part way, the journal still completes the
    // commit from the temporaries. Any failure is undone, not only a file's.
    bool undone = true;
    for (std::size_t i = steps.size(); undone && i-- > 0;) {
      const std::string temp = TempOf(target(i));
      const std::string backup = temp + std::string(kBackupTail);
      try {
        RunHook(Operation::kRestore, i);
      } catch (...) {
        undone = false;
        break;
      }
      if (steps[i].replaced && ::rename(target(i).c_str(), temp.c_str()) != 0) {
        undone = false;
      } else if (steps[i].kept == Kept::kMoved ||
                 (steps[i].kept == Kept::kLinked && steps[i].replaced)) {
        undone = ::rename(backup.c_str(), target(i).c_str()) == 0;
      } else if (steps[i].kept == Kept::kLinked) {
        ::unlink(backup.c_str());
      }
    }
    if (undone) {
      ::unlink(journal.c_str());
    } else {
      journalLeft_ = true;  // the next step completes the commit instead
    }
    throw;
  }
  for (std::size_t i = 0; i < count; ++i) {
    if (steps[i].kept != Kept::kNothing) {
      ::unlink((TempOf(target(i)) + std::string(kBackupTail)).c_str());
    }
  }
  ::unlink(journal.c_str());
}

void CompleteInterruptedCommits() {
  const std::filesystem::path folder = DataPath();
  for (const std::string& name : TaggedNames(folder)) {
    const auto parsed = ParseStagedName(name);
    if (!parsed || parsed->tail != kJournalTail || parsed->target != kJournalName) continue;
    if (OwnerIsRunning(*parsed)) continue;
    CompleteJournal(folder / name, parsed->suffix);
  }
}

void RemoveStaleTemporaries(const std::filesystem::path& folder) {
  std::unordered_map<std::string, bool> journaled;  // by suffix
  for (const std::string& name : TaggedNames(folder)) {
    const auto parsed = ParseStagedName(name);
    if (!parsed || parsed->tail == kJournalTail || OwnerIsRunning(*parsed)) continue;
    auto [it, fresh] = journaled.try_emplace(std::string(parsed->suffix), false);
    if (fresh) it->second = FileExists(JournalOf(parsed->suffix));
    if (!it->second) ::unlink((folder / name).c_str());
  }
}

}  // namespace meridax
