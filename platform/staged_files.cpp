#include "platform/staged_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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
#include <utility>
#include <vector>

#include "platform/data_folder_lock.h"
#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/text_file.h"

namespace meridax {
namespace {

// A temporary is "<target>.stage<pid>_<serial>"; the same with ".old" is the backup of the
// file it replaced. In the data folder, "COMMIT.stage<pid>_<serial>.journal" is the journal of
// a commit in progress, written first as ".part", and ".owner" the owner's record: the owner
// holds it locked for as long as it lives and lists there every folder it stages in, so a
// sweep knows for certain whose files are whose and that their owner has ended.
constexpr std::string_view kTag = ".stage";
constexpr std::string_view kBackupTail = ".old";
constexpr std::string_view kPartTail = ".part";
constexpr std::string_view kJournalTail = ".journal";
constexpr std::string_view kOwnerTail = ".owner";
constexpr std::string_view kJournalName = "COMMIT";
constexpr std::string_view kJournalHeader = "MERIDAX COMMIT JOURNAL 1";
constexpr std::string_view kOwnerHeader = "MERIDAX STAGING OWNER 1";

struct Registry {
  std::mutex mutex;
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
  std::string_view tail;    // "", ".old", ".part", ".journal" or ".owner"
};

// Digits as std::to_string writes them: no sign, no leading zero.
const char* Digits(const char* p, const char* end) {
  const char* q = p;
  while (q != end && *q >= '0' && *q <= '9') ++q;
  if (q == p || (*p == '0' && q - p > 1)) return nullptr;
  return q;
}

// Only names exactly of the form this file makes.
std::optional<StagedName> ParseStagedName(std::string_view name) {
  const std::size_t at = name.rfind(kTag);
  if (at == std::string_view::npos || at == 0) return std::nullopt;
  const char* end = name.data() + name.size();
  const char* pid = name.data() + at + kTag.size();
  const char* afterPid = Digits(pid, end);
  if (!afterPid || *pid == '0' || afterPid == end || *afterPid != '_') return std::nullopt;
  const char* afterSerial = Digits(afterPid + 1, end);
  if (!afterSerial) return std::nullopt;
  StagedName parsed;
  parsed.target = name.substr(0, at);
  parsed.suffix = name.substr(at, static_cast<std::size_t>(afterSerial - (name.data() + at)));
  parsed.tail = name.substr(static_cast<std::size_t>(afterSerial - name.data()));
  if (!parsed.tail.empty() && parsed.tail != kBackupTail && parsed.tail != kPartTail &&
      parsed.tail != kJournalTail && parsed.tail != kOwnerTail) {
    return std::nullopt;
  }
  return parsed;
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

std::filesystem::path InDataFolder(std::string_view suffix, std::string_view tail) {
  std::string name(kJournalName);
  name.append(suffix).append(tail);
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

// The owner's record of an owner that has ended, held by the sweep that found it so: no
// other sweep takes it meanwhile, and no owner can have it again.
class EndedOwner {
 public:
  // Nothing when the owner still lives (it holds the record), when the record went meanwhile
  // or when it is not one of ours.
  static std::optional<EndedOwner> Take(const std::filesystem::path& record,
                                        std::string_view suffix) {
    // Open for writing: where locks are byte ranges (network file systems), only such a file
    // can be held alone.
    const int fd = ::open(record.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return std::nullopt;
    EndedOwner owner(fd, record);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return std::nullopt;
    // Taken after another sweep removed it: the name may stand for a new record by now.
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) != 0 || ::stat(record.c_str(), &named) != 0 ||
        held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
      return std::nullopt;
    }
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
      if (n < 0) {
        if (errno == EINTR) continue;
        return std::nullopt;
      }
      text.append(buffer, static_cast<std::size_t>(n));
    }
    // The header and suffix come first; a record without them was never complete, and so
    // never had a temporary of its own.
    std::string_view rest(text);
    const auto line = [&rest]() -> std::optional<std::string_view> {
      const std::size_t end = rest.find('\n');
      if (end == std::string_view::npos) return std::nullopt;
      const std::string_view l = rest.substr(0, end);
      rest.remove_prefix(end + 1);
      return l;
    };
    if (line() != kOwnerHeader || line() != suffix) return std::nullopt;
    while (const auto folder = line()) {
      if (!folder->empty()) owner.folders_.emplace_back(*folder);
    }
    return std::optional<EndedOwner>(std::move(owner));
  }

  EndedOwner(EndedOwner&& other) noexcept
      : fd_(std::exchange(other.fd_, -1)),
        record_(std::move(other.record_)),
        folders_(std::move(other.folders_)) {}
  EndedOwner& operator=(EndedOwner&&) = delete;
  ~EndedOwner() {
    if (fd_ >= 0) ::close(fd_);
  }

  // Removes what the owner left in its folders, then its record.
  void Sweep(std::string_view suffix) {
    folders_.push_back(DataPath());  // its journal parts
    for (const auto& folder : folders_) {
      for (const std::string& name : TaggedNames(folder)) {
        const auto parsed = ParseStagedName(name);
        if (!parsed || parsed->suffix != suffix) continue;
        if (parsed->tail.empty() || parsed->tail == kBackupTail || parsed->tail == kPartTail) {
          ::unlink((folder / name).c_str());
        }
      }
    }
    ::unlink(record_.c_str());
  }

 private:
  EndedOwner(int fd, std::filesystem::path record) : fd_(fd), record_(std::move(record)) {}

  int fd_;
  std::filesystem::path record_;
  std::vector<std::filesystem::path> folders_;
};

// Sweeps the folders of every owner that has ended; with `completeJournals` the commits they
// left half done are finished first, otherwise such an owner is left to a later call.
void SweepEndedOwners(bool completeJournals) {
  const std::vector<std::string> names = TaggedNames(DataPath());
  std::unordered_set<std::string_view> journaled;
  for (const std::string& name : names) {
    const auto parsed = ParseStagedName(name);
    if (parsed && parsed->target == kJournalName && parsed->tail == kJournalTail) {
      journaled.insert(parsed->suffix);
    }
  }
  for (const std::string& name : names) {
    const auto parsed = ParseStagedName(name);
    if (!parsed || parsed->target != kJournalName || parsed->tail != kOwnerTail) continue;
    auto owner = EndedOwner::Take(DataPath() / name, parsed->suffix);
    if (!owner) continue;
    if (journaled.contains(parsed->suffix)) {
      if (!completeJournals) continue;
      DataFolderCommit alone;
      CompleteJournal(InDataFolder(parsed->suffix, kJournalTail), parsed->suffix);
    }
    owner->Sweep(parsed->suffix);
  }
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
    ::unlink(backup.c_str());  // a stray of this suffix: no earlier file is kept under it
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

void WriteAll(int fd, std::string_view bytes, const std::filesystem::path& path) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw IoError("書き込めません", path, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

// What tells the temporary a step made from a file made later under its name: the file
// system's handle of it (its inode and that inode's generation, so that a number freed and
// taken again still differs), or where the file system has none, its device and inode.
// Nothing when nothing stands there.
std::optional<std::string> IdentityOf(const std::string& path) {
  struct {
    file_handle head;
    unsigned char bytes[MAX_HANDLE_SZ];
  } handle{};
  handle.head.handle_bytes = MAX_HANDLE_SZ;
  int mount = 0;
  if (::name_to_handle_at(AT_FDCWD, path.c_str(), &handle.head, &mount, 0) == 0) {
    std::string identity = "h" + std::to_string(handle.head.handle_type) + ":";
    identity.append(reinterpret_cast<const char*>(handle.bytes), handle.head.handle_bytes);
    return identity;
  }
  if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
  // Without handles, the time the inode was made tells most numbers taken again apart.
  struct statx st {};
  if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_INO | STATX_BTIME,
              &st) != 0) {
    return std::nullopt;
  }
  std::string identity = "i" + std::to_string(st.stx_mode & S_IFMT) + ":" +
                         std::to_string(st.stx_dev_major) + ":" + std::to_string(st.stx_dev_minor) +
                         ":" + std::to_string(st.stx_ino);
  if (st.stx_mask & STATX_BTIME) {
    identity +=
        ":" + std::to_string(st.stx_btime.tv_sec) + "." + std::to_string(st.stx_btime.tv_nsec);
  }
  return identity;
}

// Creates the owner's record, held and with its first lines; -1 when a file of that name
// stands already. Unnamed until then where the file system allows it, so that no sweep ever
// sees it unheld; else named first and taken at once, and a sweep that comes between finds no
// header and leaves it.
int CreateOwnerRecord(const std::filesystem::path& record, std::string_view header) {
  const auto holdAndWrite = [&](int fd) {
    ::flock(fd, LOCK_EX);
    try {
      WriteAll(fd, header, record);
    } catch (...) {
      ::close(fd);
      throw;
    }
  };
  int fd = ::open(record.parent_path().c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0644);
  if (fd >= 0) {
    holdAndWrite(fd);
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, record.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return fd;
    }
    const int error = errno;
    ::close(fd);
    if (error == EEXIST) return -1;
  }
  fd = ::open(record.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (errno == EEXIST) return -1;
    throw IoError("書き込めません", record, errno);
  }
  try {
    holdAndWrite(fd);
  } catch (...) {
    ::unlink(record.c_str());
    throw;
  }
  return fd;
}

}  // namespace

void StagedFiles::SetHookForTesting(Hook hook) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.hook = std::move(hook);
}

StagedFiles::StagedFiles() {
  NewSuffix();
}

StagedFiles::~StagedFiles() {
  if (!journalLeft_) {
    for (std::size_t i = committed_; i < targets_.size(); ++i) {
      ::unlink(TempOf(targets_[i].name).c_str());
    }
  }
  EndOwnerRecord();
}

void StagedFiles::EndOwnerRecord() {
  if (ownerFd_ < 0) return;
  // The record goes last, while it is still held: should this process end before, a sweep
  // still takes what is left. A commit left to its journal keeps it: the sweep that
  // completes the commit goes on from there once the hold ends.
  if (!journalLeft_) ::unlink(ownerRecord_.c_str());
  ::close(ownerFd_);
  ownerFd_ = -1;
  folders_.clear();
}

void StagedFiles::NewSuffix() {
  // Serials start at random, so that a process never takes up the names of an ended one
  // that had the same id.
  static std::atomic<unsigned> serial{std::random_device{}()};
  suffix_ = std::string(kTag) + std::to_string(::getpid()) + "_" + std::to_string(serial++);
}

std::string StagedFiles::TempOf(const std::string& target) const {
  return target + suffix_;
}

void StagedFiles::PrepareFolder(const std::filesystem::path& target) {
  const std::filesystem::path folder = FolderOf(target);
  if (folders_.contains(folder.native())) return;
  RequireFolder(folder);
  if (ownerFd_ < 0) {
    const std::filesystem::path data = DataPath();
    RequireFolder(data);
    for (int attempt = 0; ownerFd_ < 0; ++attempt) {
      ownerRecord_ = InDataFolder(suffix_, kOwnerTail);
      ownerFd_ = CreateOwnerRecord(ownerRecord_, std::string(kOwnerHeader) + "\n" + suffix_ + "\n");
      // A record of this name stands already: another suffix, before any file has this one.
      if (ownerFd_ < 0 && attempt == 8) throw IoError("書き込めません", ownerRecord_, EEXIST);
      if (ownerFd_ < 0) NewSuffix();
    }
    // What ended owners left goes, now that this one is on record.
    SweepEndedOwners(/*completeJournals=*/false);
  }
  // On record before the first temporary is made there.
  WriteAll(ownerFd_, std::filesystem::absolute(folder).native() + "\n", ownerRecord_);
  folders_.insert(folder.native());
}

std::filesystem::path StagedFiles::Stage(const std::filesystem::path& target, bool keepContent) {
  if (const auto it = staged_.find(target.native());
      it != staged_.end() && it->second >= committed_) {
    // Staged before in this step: the temporary is the file as the step left it, or emptied
    // in place, so that it stays the file this step made.
    const std::string temp = TempOf(targets_[it->second].name);
    if (!keepContent) {
      const int fd = ::open(temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
      if (fd < 0) throw IoError("一時ファイルがありません", temp, errno);
      ::close(fd);
    }
    return temp;
  }
  PrepareFolder(target);
  const std::string temp = TempOf(target.string());
  // Made now, also when the step never writes it: at commit a temporary that is missing or
  // another file is the sign that something else touched it. Never made over a file that
  // stands under its name already.
  if (keepContent && FileExists(target)) {
    std::error_code ec;
    std::filesystem::copy_file(target, temp, ec);
    if (ec) {
      if (ec != std::errc::file_exists) ::unlink(temp.c_str());
      throw IoError("複写できません", target, ec.value());
    }
  } else {
    CreateEmptyFile(temp);
  }
  std::optional<std::string> identity = IdentityOf(temp);
  if (!identity) {
    ::unlink(temp.c_str());
    throw IoError("書き込めません", temp);
  }
  targets_.push_back({target.string(), std::move(*identity)});
  staged_.insert_or_assign(targets_.back().name, targets_.size() - 1);
  return temp;
}

void StagedFiles::Commit() {
  if (committed_ == targets_.size()) return;
  CommitAll(committed_);
  committed_ = targets_.size();
  // Nothing of this object's stands anywhere now: a later Stage() goes on record anew.
  EndOwnerRecord();
}

void StagedFiles::CheckTemporary(const Target& t) const {
  const std::string temp = TempOf(t.name);
  const std::optional<std::string> identity = IdentityOf(temp);
  if (identity == t.identity) return;
  if (!identity) throw IoError("一時ファイルがありません", temp);
  throw IoError("一時ファイルが置き換えられています", temp);
}

void StagedFiles::CommitAll(std::size_t first) {
  const std::size_t count = targets_.size() - first;
  auto target = [&](std::size_t i) -> const std::string& { return targets_[first + i].name; };
  // Every temporary is the one this step made before anything is replaced.
  for (std::size_t i = 0; i < count; ++i) CheckTemporary(targets_[first + i]);
  DataFolderCommit alone;

  if (count == 1) {
    // One rename replaces the file whole or not at all.
    RunHook(Operation::kReplace, 0);
    if (::rename(TempOf(target(0)).c_str(), target(0).c_str()) != 0) {
      throw IoError("置き換えられません", target(0), errno);
    }
    return;
  }

  const std::filesystem::path journal = InDataFolder(suffix_, kJournalTail);
  {
    const std::filesystem::path part = InDataFolder(suffix_, kPartTail);
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
      RunHook(Operation::kWriteJournal, 0);
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
  SweepEndedOwners(/*completeJournals=*/true);
}

}  // namespace meridax
