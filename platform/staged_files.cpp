#include "platform/staged_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <limits>
#include <memory>
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
// file it replaced where the file system cannot exchange two names. In the data folder,
// "COMMIT.stage<pid>_<serial>.journal" is the journal of a commit in progress, written first
// as ".part", and ".owner" the owner's record: the owner holds it locked for as long as it
// lives and lists there every folder it stages in, so a sweep knows for certain whose files
// are whose and that their owner has ended.
constexpr std::string_view kTag = ".stage";
constexpr std::string_view kBackupTail = ".old";
constexpr std::string_view kPartTail = ".part";
constexpr std::string_view kJournalTail = ".journal";
constexpr std::string_view kOwnerTail = ".owner";
constexpr std::string_view kJournalName = "COMMIT";
constexpr std::string_view kJournalHeader = "MERIDAX COMMIT JOURNAL 2";
constexpr std::string_view kOwnerHeader = "MERIDAX STAGING OWNER 1";
// An owner's record lists folders; one larger than this was not written by us.
constexpr off_t kLargestRecord = 1 << 20;
// From this many targets in one folder, one listing of the folder tells which of them stand
// in fewer calls than a look at each.
constexpr std::size_t kListFolderFrom = 64;

struct Registry {
  std::mutex mutex;
  StagedFiles::Hook hook;
  // Every StagedFiles by its suffix: a writer's open of one of their temporaries makes and
  // identifies it.
  std::unordered_map<std::string, StagedFiles*> owners;
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

// Lists a folder: one that does not stand holds nothing, one that cannot be listed stops
// whoever needed to know what it holds. Read in large blocks: a commit lists folders of a
// hundred thousand files.
template <typename Each>
void ForEachName(const std::filesystem::path& folder, Each&& each) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 && errno == ENOENT) return;
  if (fd < 0) throw IoError("フォルダを読めません", folder, errno);
  static constexpr std::size_t kBlock = 1 << 20;
  const std::unique_ptr<char[]> block(new char[kBlock]);
  for (;;) {
    const long n = ::syscall(SYS_getdents64, fd, block.get(), kBlock);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      throw IoError("フォルダを読めません", folder, error);
    }
    if (n == 0) break;
    for (long at = 0; at < n;) {
      const auto* entry = reinterpret_cast<const dirent64*>(block.get() + at);
      each(*entry);
      at += entry->d_reclen;
    }
  }
  ::close(fd);
}

// The names of a folder that carry the tag.
std::vector<std::string> TaggedNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  ForEachName(folder, [&](const dirent64& entry) {
    const std::string_view name(entry.d_name);
    if (name.find(kTag) != std::string_view::npos) names.emplace_back(name);
  });
  return names;
}

std::filesystem::path InDataFolder(std::string_view suffix, std::string_view tail) {
  std::string name(kJournalName);
  name.append(suffix).append(tail);
  return DataPath() / name;
}

// What tells the temporary a step made from a file made later under its name: the file
// system's handle of it, or where the file system has none, its device, inode and the time the
// inode was made. Of `path` below `dir`, or of the descriptor `dir` itself for an empty path.
// Nothing, with errno, when nothing stands there or it cannot be looked at.
std::optional<std::string> IdentityOf(int dir, const char* path) {
  struct {
    file_handle head;
    unsigned char bytes[MAX_HANDLE_SZ];
  } handle{};
  handle.head.handle_bytes = MAX_HANDLE_SZ;
  int mount = 0;
  const int flags = *path == '\0' ? AT_EMPTY_PATH : 0;
  if (::name_to_handle_at(dir, path, &handle.head, &mount, flags) == 0) {
    std::string identity = "h" + std::to_string(handle.head.handle_type) + ":";
    identity.append(reinterpret_cast<const char*>(handle.bytes), handle.head.handle_bytes);
    return identity;
  }
  if (errno != EOPNOTSUPP && errno != EOVERFLOW) return std::nullopt;
  struct statx st {};
  if (::statx(dir, path, flags | AT_SYMLINK_NOFOLLOW, STATX_TYPE | STATX_INO | STATX_BTIME, &st) !=
      0) {
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

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    hex.push_back(kDigits[b >> 4]);
    hex.push_back(kDigits[b & 15]);
  }
  return hex;
}

// A regular file of ours, opened without following a link or waiting on a pipe; -1 when
// nothing or something else stands under the name (errno ENOENT for nothing).
int OpenRegular(const std::filesystem::path& path, int flags, off_t largest, off_t* size) {
  const int fd = ::open(path.c_str(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > largest) {
    ::close(fd);
    errno = EINVAL;
    return -1;
  }
  if (size) *size = st.st_size;
  return fd;
}

std::string ReadWhole(int fd, const std::filesystem::path& path) {
  std::string text;
  char buffer[65536];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      throw IoError("読み込めません", path, errno);
    }
    text.append(buffer, static_cast<std::size_t>(n));
  }
  return text;
}

// Lines of a text as this file writes them, one at a time.
class Lines {
 public:
  explicit Lines(std::string_view text) : rest_(text) {}
  std::optional<std::string_view> Next() {
    const std::size_t end = rest_.find('\n');
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = rest_.substr(0, end);
    rest_.remove_prefix(end + 1);
    return line;
  }
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

// What a journal says of one folder: the identities of the new temporaries (in hex), the
// targets whose new file is empty (made by the commit itself), and the targets it removes.
struct JournalFolder {
  std::filesystem::path folder;
  std::unordered_set<std::string> newFiles;
  std::unordered_set<std::string> madeEmpty;
  std::vector<std::string> removed;
};

std::vector<JournalFolder> ReadJournal(const std::filesystem::path& journal,
                                       std::string_view suffix) {
  const int fd = OpenRegular(journal, O_RDONLY, std::numeric_limits<off_t>::max(), nullptr);
  if (fd < 0) throw IoError("コミットの記録が読めません", journal, errno);
  std::string text;
  try {
    text = ReadWhole(fd, journal);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
  Lines lines(text);
  std::vector<JournalFolder> folders;
  const auto bad = [&] { return IoError("コミットの記録が読めません", journal); };
  if (lines.Next() != kJournalHeader || lines.Next() != suffix) throw bad();
  while (const auto line = lines.Next()) {
    if (line->empty()) continue;
    const char kind = line->front();
    const std::string_view rest = line->substr(1);
    if (kind == '/') {
      folders.push_back({std::filesystem::path(std::string(*line)), {}, {}, {}});
      continue;
    }
    if (folders.empty()) throw bad();
    if (kind == 'i') {
      folders.back().newFiles.emplace(rest);
    } else if (kind == 'e') {
      folders.back().madeEmpty.emplace(rest);
    } else if (kind == 'r') {
      folders.back().removed.emplace_back(rest);
    } else {
      throw bad();
    }
  }
  if (!lines.AtEnd()) throw bad();
  return folders;
}

// Finishes a commit forward from its journal: each temporary that holds a new file replaces its
// target, each that holds a file the commit replaced or removed goes, and so do the targets
// it removes. False when something of the commit's own could not be removed (it stays on
// record); throws IoError when a file cannot be put in place, the journal then staying.
bool CompleteJournal(const std::filesystem::path& journal, std::string_view suffix) {
  bool clean = true;
  const auto discard = [&clean](const std::filesystem::path& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) clean = false;
  };
  for (const JournalFolder& f : ReadJournal(journal, suffix)) {
    const std::unordered_set<std::string_view> removed(f.removed.begin(), f.removed.end());
    // Names are gathered first: renaming while a folder is read may skip some.
    for (const std::string& name : TaggedNames(f.folder)) {
      const auto parsed = ParseStagedName(name);
      if (!parsed || parsed->suffix != suffix) continue;
      const std::filesystem::path path = f.folder / name;
      if (parsed->tail == kBackupTail) {
        discard(path);
        continue;
      }
      if (!parsed->tail.empty()) continue;
      const std::string target(parsed->target);
      bool isNew = false;
      if (f.madeEmpty.contains(target)) {
        // Its new file is empty: an empty temporary replaces it; should it be the earlier
        // file, empty too, the bytes in place are the same.
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
          if (errno == ENOENT) continue;
          throw IoError("読めません", path, errno);
        }
        isNew = S_ISREG(st.st_mode) && st.st_size == 0;
      } else if (!removed.contains(target)) {
        const std::optional<std::string> identity = IdentityOf(AT_FDCWD, path.c_str());
        if (!identity) {
          if (errno == ENOENT) continue;
          throw IoError("読めません", path, errno);
        }
        isNew = f.newFiles.contains(Hex(*identity));
      }
      if (!isNew) {
        discard(path);
        continue;
      }
      const std::filesystem::path to = f.folder / target;
      if (::rename(path.c_str(), to.c_str()) != 0 && errno != ENOENT) {
        throw IoError("置き換えられません", to, errno);
      }
    }
    for (const std::string& target : f.removed) {
      const std::filesystem::path path = f.folder / target;
      if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        throw IoError("削除できません", path, errno);
      }
    }
  }
  if (::unlink(journal.c_str()) != 0 && errno != ENOENT) {
    throw IoError("削除できません", journal, errno);
  }
  return clean;
}

// The owner's record of an owner that has ended, held by the sweep that found it so: no
// other sweep takes it meanwhile, and no owner can have it again.
class EndedOwner {
 public:
  // Nothing when the owner still lives (it holds the record), when the record went meanwhile
  // or when it is not one of ours (not a regular file of a record's size, or never complete).
  // A record that stands but cannot be opened or locked throws where `mustTake` (a commit
  // that it may have left half done); otherwise it is left for a later sweep.
  static std::optional<EndedOwner> Take(const std::filesystem::path& record,
                                        std::string_view suffix, bool mustTake) {
    // Open for writing: where locks are byte ranges (network file systems), only such a file
    // can be held alone.
    off_t size = 0;
    const int fd = OpenRegular(record, O_RDWR, kLargestRecord, &size);
    if (fd < 0) {
      if (errno == ENOENT || errno == EINVAL || errno == ELOOP || !mustTake) return std::nullopt;
      throw IoError("所有者の記録を開けません", record, errno);
    }
    EndedOwner owner(fd, record);
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EINTR) continue;
      if (errno == EWOULDBLOCK || !mustTake) return std::nullopt;
      throw IoError("所有者の記録をロックできません", record, errno);
    }
    // Taken after another sweep removed it: the name may stand for a new record by now.
    struct stat held {
    }, named{};
    if (::fstat(fd, &held) != 0 || ::stat(record.c_str(), &named) != 0 ||
        held.st_dev != named.st_dev || held.st_ino != named.st_ino) {
      return std::nullopt;
    }
    const std::string text = ReadWhole(fd, record);
    // The header and suffix come first; a record without them was never complete, and so
    // never had a temporary of its own.
    Lines lines(text);
    if (lines.Next() != kOwnerHeader || lines.Next() != suffix) return std::nullopt;
    while (const auto folder = lines.Next()) {
      if (!folder->empty()) owner.folders_.emplace_back(std::string(*folder));
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

  // Removes what the owner left in its folders, then its record; what cannot be removed
  // keeps the record for a later sweep. A folder that cannot be listed throws.
  void Sweep(std::string_view suffix, bool clean = true) {
    folders_.push_back(DataPath());  // its journal parts
    for (const auto& folder : folders_) {
      std::vector<std::string> names;
      try {
        names = TaggedNames(folder);
      } catch (const IoError&) {
        clean = false;  // looked at again by a later sweep
        continue;
      }
      for (const std::string& name : names) {
        const auto parsed = ParseStagedName(name);
        if (!parsed || parsed->suffix != suffix) continue;
        if (parsed->tail.empty() || parsed->tail == kBackupTail || parsed->tail == kPartTail) {
          if (::unlink((folder / name).c_str()) != 0 && errno != ENOENT) clean = false;
        }
      }
    }
    if (clean) ::unlink(record_.c_str());
  }

 private:
  EndedOwner(int fd, std::filesystem::path record) : fd_(fd), record_(std::move(record)) {}

  int fd_;
  std::filesystem::path record_;
  std::vector<std::filesystem::path> folders_;
};

struct DataFolderNames {
  std::vector<std::string> records;           // suffixes with an owner's record
  std::unordered_set<std::string> journaled;  // suffixes with a journal
};

DataFolderNames OwnersOnRecord() {
  DataFolderNames found;
  for (const std::string& name : TaggedNames(DataPath())) {
    const auto parsed = ParseStagedName(name);
    if (!parsed || parsed->target != kJournalName) continue;
    if (parsed->tail == kJournalTail) found.journaled.emplace(parsed->suffix);
    if (parsed->tail == kOwnerTail) found.records.emplace_back(parsed->suffix);
  }
  return found;
}

enum class Sweeping { kLeftoversOnly, kJournalsOnly, kAll };

// Deals with every owner that has ended: finishes the commits they left half done (under the
// folder's commit hold) and sweeps what they left. Returns whether it finished a commit.
bool SweepEndedOwners(Sweeping what) {
  const DataFolderNames names = OwnersOnRecord();
  bool finished = false;
  for (const std::string& suffix : names.records) {
    const bool journaled = names.journaled.contains(suffix);
    if (journaled ? what == Sweeping::kLeftoversOnly : what == Sweeping::kJournalsOnly) continue;
    auto owner = EndedOwner::Take(InDataFolder(suffix, kOwnerTail), suffix, journaled);
    if (!owner) continue;
    bool clean = true;
    if (journaled) {
      const DataFolderCommit alone;
      clean = CompleteJournal(InDataFolder(suffix, kJournalTail), suffix);
      finished = true;
    }
    owner->Sweep(suffix, clean);
  }
  return finished;
}

// Keeps the current target under `backup` where the file system cannot exchange two names: a
// second name for the same file, so that the target never goes missing, or where hard links
// fail, the file itself moved aside. A folder in the target's place is never moved: it cannot
// be replaced.
StagedFiles::Done KeepBackup(const std::string& target, const std::string& backup) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (::link(target.c_str(), backup.c_str()) == 0) return StagedFiles::Done::kLinkedBackup;
    if (errno == ENOENT) return StagedFiles::Done::kNothing;
    if (errno != EEXIST) break;
    ::unlink(backup.c_str());  // a stray of this suffix: no earlier file is kept under it
  }
  if (struct stat st{}; ::lstat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    throw IoError("置き換えられません", target, EISDIR);
  }
  if (::rename(target.c_str(), backup.c_str()) == 0) return StagedFiles::Done::kMovedBackup;
  if (errno == ENOENT) return StagedFiles::Done::kNothing;
  throw IoError("置き換えられません", target, errno);
}

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

// Creates the owner's record, held and with its first lines; -1 when a file of that name
// stands already. Unnamed until then where the file system allows it, so that no sweep ever
// sees it unheld; else named first and taken at once, and a sweep that comes between finds no
// header and leaves it. A record that cannot be held is no record: the step stops.
int CreateOwnerRecord(const std::filesystem::path& record, std::string_view header) {
  const auto holdAndWrite = [&](int fd) {
    try {
      while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) throw IoError("所有者の記録をロックできません", record, errno);
      }
      WriteAll(fd, header, record);
    } catch (...) {
      ::close(fd);
      throw;
    }
  };
  int fd = ::open(record.parent_path().c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
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
  fd = ::open(record.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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

// Copies `from` into the new temporary `to`, made by the copy; nothing when `from` is not a
// file that stands.
void CopyInto(const std::filesystem::path& from, const std::filesystem::path& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    if (errno == ENOENT) return;
    throw IoError("複写できません", from, errno);
  }
  std::uint64_t size = 0;
  const int out = OpenOutputFile(to, O_WRONLY | O_CREAT, size);
  if (out < 0) {
    const int error = errno;
    ::close(in);
    throw IoError("書き込めません", to, error);
  }
  const auto fail = [&](const std::filesystem::path& path, int error) {
    ::close(in);
    ::close(out);
    throw IoError("複写できません", path, error);
  };
  bool inKernel = true;
  std::string buffer;
  for (;;) {
    ssize_t n = 0;
    if (inKernel) {
      n = ::copy_file_range(in, nullptr, out, nullptr, std::size_t{1} << 30, 0);
      if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
        inKernel = false;
        buffer.resize(1 << 20);
        continue;
      }
      if (n < 0 && errno == EISDIR) break;  // a folder: no content of a file to keep
    } else {
      n = ::read(in, buffer.data(), buffer.size());
      if (n < 0 && errno == EISDIR) break;
      if (n > 0) {
        try {
          WriteAll(out, std::string_view(buffer.data(), static_cast<std::size_t>(n)), to);
        } catch (const IoError& e) {
          fail(to, EIO);
        }
      }
    }
    if (n < 0) {
      if (errno == EINTR) continue;
      fail(from, errno);
    }
    if (n == 0) break;
  }
  ::close(in);
  if (::close(out) != 0) throw IoError("書き込めません", to, errno);
}

// A target's folder ("." for a bare name) and its name in it.
std::pair<std::string_view, std::string_view> SplitName(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return {".", path};
  return {slash == 0 ? std::string_view("/") : path.substr(0, slash), path.substr(slash + 1)};
}

// Where a target stands when a commit starts.
enum class Found : char { kUnknown, kMissing, kFile, kFolder };

}  // namespace

int OpenOutputFile(const std::filesystem::path& path, int flags, std::uint64_t& size) {
  Registry& r = TheRegistry();
  StagedFiles::Target* fresh = nullptr;
  {
    std::lock_guard lock(r.mutex);
    const std::string_view name = path.native();
    if (const std::size_t at = name.rfind(kTag);
        !r.owners.empty() && at != std::string_view::npos) {
      if (const auto owner = r.owners.find(std::string(name.substr(at))); owner != r.owners.end()) {
        fresh = owner->second->Unwritten(name.substr(0, at));
      }
    }
  }
  if (!fresh) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
      const int error = errno;
      ::close(fd);
      errno = error;
      return -1;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return fd;
  }
  // Made by this open, so empty; a file that stands under its name already is not the step's.
  // Opened again later, a temporary is checked at commit against what it was made as.
  const int fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return -1;
  std::optional<std::string> identity = IdentityOf(fd, "");
  if (!identity) {
    const int error = errno;
    ::close(fd);
    ::unlink(path.c_str());
    errno = error;
    return -1;
  }
  fresh->opened = true;
  fresh->identity = std::move(*identity);
  size = 0;
  return fd;
}

void StagedFiles::SetHookForTesting(Hook hook) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.hook = std::move(hook);
}

StagedFiles::StagedFiles() {
  NewSuffix();
}

StagedFiles::Target* StagedFiles::Unwritten(std::string_view target) {
  const auto it = staged_.find(target);
  if (it == staged_.end() || it->second < committed_) return nullptr;
  Target& t = targets_[it->second];
  return t.opened || t.removal ? nullptr : &t;
}

StagedFiles::~StagedFiles() {
  if (!journalLeft_) {
    for (std::size_t i = committed_; i < targets_.size(); ++i) {
      if (targets_[i].opened) ::unlink(TempOf(targets_[i].name).c_str());
    }
  }
  {
    Registry& r = TheRegistry();
    std::lock_guard lock(r.mutex);
    r.owners.erase(suffix_);
  }
  EndOwnerRecord();
}

void StagedFiles::EndOwnerRecord() {
  if (ownerFd_ < 0) return;
  // The record goes last, while it is still held: should this process end before, a sweep
  // still takes what is left. A commit left to its journal, or one whose old files could not
  // all be removed, keeps it: the sweep that finishes the commit goes on from there once the
  // hold ends.
  if (!journalLeft_ && !leftovers_) ::unlink(ownerRecord_.c_str());
  ::close(ownerFd_);
  ownerFd_ = -1;
  folders_.clear();
}

void StagedFiles::NewSuffix() {
  // Serials start at random, so that a process never takes up the names of an ended one
  // that had the same id.
  static std::atomic<unsigned> serial{std::random_device{}()};
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  if (!suffix_.empty()) r.owners.erase(suffix_);
  suffix_ = std::string(kTag) + std::to_string(::getpid()) + "_" + std::to_string(serial++);
  r.owners.insert_or_assign(suffix_, this);
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
    leftovers_ = false;
    // What ended owners left goes, now that this one is on record.
    SweepEndedOwners(Sweeping::kLeftoversOnly);
  }
  // On record before the first temporary is made there.
  WriteAll(ownerFd_, std::filesystem::absolute(folder).native() + "\n", ownerRecord_);
  folders_.insert(folder.native());
}

StagedFiles::Target& StagedFiles::Add(const std::filesystem::path& target, bool removal) {
  PrepareFolder(target);
  Target& t = targets_.emplace_back();
  t.name = target.string();
  t.removal = removal;
  staged_.insert_or_assign(t.name, targets_.size() - 1);
  return t;
}

std::filesystem::path StagedFiles::Stage(const std::filesystem::path& target, bool keepContent) {
  if (const auto it = staged_.find(target.native());
      it != staged_.end() && it->second >= committed_) {
    // Staged before in this step: the temporary is the file as the step left it, or emptied
    // in place, so that it stays the file this step made.
    Target& t = targets_[it->second];
    t.removal = false;
    const std::string temp = TempOf(t.name);
    if (!keepContent && t.opened) {
      const int fd = ::open(temp.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOFOLLOW);
      if (fd < 0) throw IoError("一時ファイルがありません", temp, errno);
      ::close(fd);
    }
    return temp;
  }
  const std::string temp = TempOf(Add(target, /*removal=*/false).name);
  if (keepContent) CopyInto(target, temp);
  return temp;
}

void StagedFiles::Remove(const std::filesystem::path& target) {
  if (const auto it = staged_.find(target.native());
      it != staged_.end() && it->second >= committed_) {
    Target& t = targets_[it->second];
    if (const std::string temp = TempOf(t.name);
        t.opened && ::unlink(temp.c_str()) != 0 && errno != ENOENT) {
      throw IoError("削除できません", temp, errno);
    }
    t.opened = t.madeEmpty = false;
    t.removal = true;
    return;
  }
  Add(target, /*removal=*/true);
}

void StagedFiles::Commit() {
  if (committed_ == targets_.size()) return;
  try {
    CommitAll(committed_);
  } catch (...) {
    // A commit left to its journal lets go of its record at once, so that the next reader or
    // commit, of this program or another, finishes it before it reads or replaces anything.
    if (journalLeft_) EndOwnerRecord();
    throw;
  }
  committed_ = targets_.size();
  // Nothing of this object's stands anywhere now: a later Stage() goes on record anew.
  EndOwnerRecord();
}

void StagedFiles::CommitAll(std::size_t first) {
  const std::size_t count = targets_.size() - first;
  auto target = [&](std::size_t i) -> Target& { return targets_[first + i]; };

  // Every temporary is the one this step made before anything is replaced; one never
  // written is made now.
  for (std::size_t i = 0; i < count; ++i) {
    Target& t = target(i);
    if (t.removal) continue;
    const std::string temp = TempOf(t.name);
    if (!t.opened) {
      if (::mknod(temp.c_str(), S_IFREG | 0666, 0) != 0) {
        if (errno == EEXIST) {
          t.opened = true;  // under this step's name: it goes with the step
          throw IoError("一時ファイルが置き換えられています", temp);
        }
        throw IoError("書き込めません", temp, errno);
      }
      t.opened = t.madeEmpty = true;
      continue;
    }
    const std::optional<std::string> identity = IdentityOf(AT_FDCWD, temp.c_str());
    if (!identity) {
      if (errno == ENOENT) throw IoError("一時ファイルがありません", temp);
      throw IoError("読めません", temp, errno);
    }
    if (*identity != t.identity) throw IoError("一時ファイルが置き換えられています", temp);
  }
  std::optional<DataFolderCommit> alone(std::in_place);
  // A commit that an ended owner left half done is finished first: finished later, it would
  // put its files over this one's.
  SweepEndedOwners(Sweeping::kJournalsOnly);

  if (count == 1) {
    // One rename (or unlink) replaces the file whole or not at all.
    RunHook(Operation::kReplace, 0);
    const Target& t = target(0);
    if (t.removal) {
      if (::unlink(t.name.c_str()) != 0 && errno != ENOENT) {
        throw IoError("削除できません", t.name, errno);
      }
    } else if (::rename(TempOf(t.name).c_str(), t.name.c_str()) != 0) {
      throw IoError("置き換えられません", t.name, errno);
    }
    return;
  }

  // Which targets stand, by folder: a folder of many targets is listed once, the others are
  // looked at one by one. A folder in a target's place is never replaced.
  // The targets by folder, the folders in the order they first come (the journal's order).
  std::unordered_map<std::string_view, std::vector<std::size_t>> byFolder;
  std::vector<std::string_view> folders;
  for (std::size_t i = 0; i < count; ++i) {
    auto [it, fresh] = byFolder.try_emplace(SplitName(target(i).name).first);
    if (fresh) folders.push_back(it->first);
    it->second.push_back(i);
  }
  std::vector<Found> found(count, Found::kUnknown);
  {
    for (const auto& [folder, members] : byFolder) {
      if (members.size() < kListFolderFrom) continue;
      std::unordered_map<std::string_view, std::size_t> byName;
      for (const std::size_t i : members) {
        byName.emplace(SplitName(target(i).name).second, i);
        found[i] = Found::kMissing;
      }
      ForEachName(std::filesystem::path(std::string(folder)), [&](const dirent64& entry) {
        const auto it = byName.find(entry.d_name);
        if (it == byName.end()) return;
        found[it->second] = entry.d_type == DT_DIR       ? Found::kFolder
                            : entry.d_type == DT_UNKNOWN ? Found::kUnknown
                                                         : Found::kFile;
      });
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (found[i] != Found::kUnknown) continue;
      struct statx st {};
      if (::statx(AT_FDCWD, target(i).name.c_str(), AT_SYMLINK_NOFOLLOW, STATX_TYPE, &st) != 0) {
        if (errno != ENOENT) throw IoError("読めません", target(i).name, errno);
        found[i] = Found::kMissing;
      } else {
        found[i] = S_ISDIR(st.stx_mode) ? Found::kFolder : Found::kFile;
      }
    }
    for (std::size_t i = 0; i < count; ++i) {
      if (found[i] != Found::kFolder) continue;
      throw IoError(target(i).removal ? "削除できません" : "置き換えられません", target(i).name,
                    EISDIR);
    }
  }

  const std::filesystem::path journal = InDataFolder(suffix_, kJournalTail);
  {
    const std::filesystem::path part = InDataFolder(suffix_, kPartTail);
    try {
      TextWriter out(part, TextWriter::Mode::kOutput);
      out.Raw(kJournalHeader).Raw("\n").Raw(suffix_).Raw("\n");
      for (const std::string_view folder : folders) {
        out.Raw(std::filesystem::absolute(std::string(folder)).native()).Raw("\n");
        for (const std::size_t i : byFolder[folder]) {
          const Target& t = target(i);
          if (t.removal) {
            out.Raw("r").Raw(SplitName(t.name).second).Raw("\n");
          } else if (t.madeEmpty) {
            out.Raw("e").Raw(SplitName(t.name).second).Raw("\n");
          } else {
            out.Raw("i").Raw(Hex(t.identity)).Raw("\n");
          }
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

  // Where the file system cannot exchange two names, or refuses a rename that keeps a file
  // standing, the older ways are taken for the rest of the commit.
  bool canExchange = true;
  bool canRefuseReplacing = true;
  std::size_t started = 0;
  try {
    for (std::size_t i = 0; i < count; ++i) {
      RunHook(Operation::kReplace, i);
      Target& t = target(i);
      started = i + 1;
      const std::string tempName = TempOf(t.name);
      const char* temp = tempName.c_str();
      const char* name = t.name.c_str();
      if (t.removal) {
        if (found[i] == Found::kMissing) continue;
        if (::rename(name, temp) == 0) {
          t.done = Done::kMovedAside;
        } else if (errno != ENOENT) {
          throw IoError("削除できません", t.name, errno);
        }
        continue;
      }
      if (found[i] == Found::kMissing && canRefuseReplacing) {
        if (::renameat2(AT_FDCWD, temp, AT_FDCWD, name, RENAME_NOREPLACE) == 0) {
          t.done = Done::kMovedIn;
          continue;
        }
        if (errno == EINVAL || errno == ENOSYS) {
          canRefuseReplacing = false;
        } else if (errno != EEXIST) {
          throw IoError("置き換えられません", t.name, errno);
        }
      }
      if (canExchange) {
        // The target's earlier file takes the temporary's name until the commit ends.
        if (::renameat2(AT_FDCWD, temp, AT_FDCWD, name, RENAME_EXCHANGE) == 0) {
          t.done = Done::kExchanged;
          continue;
        }
        if (errno == EINVAL || errno == ENOSYS || errno == EXDEV) {
          canExchange = false;
        } else if (errno != ENOENT) {
          throw IoError("置き換えられません", t.name, errno);
        }
      }
      if (canExchange || found[i] == Found::kMissing) {
        // The target went meanwhile, or never stood, and the file system takes no refusal.
        if (::rename(temp, name) != 0) throw IoError("置き換えられません", t.name, errno);
        t.done = Done::kMovedIn;
        continue;
      }
      t.done = KeepBackup(t.name, tempName + std::string(kBackupTail));
      if (::rename(temp, name) != 0) throw IoError("置き換えられません", t.name, errno);
      if (t.done == Done::kNothing) t.done = Done::kMovedIn;
      t.replaced = true;
    }
  } catch (...) {
    // Undone in reverse, each new file back under its temporary name before the earlier
    // one returns: should this process end part way, the journal still completes the
    // commit from the temporaries. Any failure is undone, not only a file's.
    bool undone = true;
    for (std::size_t i = started; undone && i-- > 0;) {
      Target& t = target(i);
      if (t.done == Done::kNothing) continue;
      try {
        RunHook(Operation::kRestore, i);
      } catch (...) {
        undone = false;
        break;
      }
      const std::string tempName = TempOf(t.name);
      const char* temp = tempName.c_str();
      const char* name = t.name.c_str();
      const std::string backup = tempName + std::string(kBackupTail);
      switch (t.done) {
        case Done::kNothing:
          break;
        case Done::kExchanged:
          undone = ::renameat2(AT_FDCWD, temp, AT_FDCWD, name, RENAME_EXCHANGE) == 0;
          break;
        case Done::kMovedIn:
          undone = ::rename(name, temp) == 0;
          break;
        case Done::kMovedAside:
          undone = ::rename(temp, name) == 0;
          break;
        case Done::kLinkedBackup:
        case Done::kMovedBackup:
          if (t.replaced && ::rename(name, temp) != 0) {
            undone = false;
          } else if (t.done == Done::kMovedBackup || t.replaced) {
            undone = ::rename(backup.c_str(), name) == 0;
          } else {
            ::unlink(backup.c_str());
          }
          break;
      }
      if (undone) t.done = Done::kNothing;
    }
    // A journal that stays would put the new files in place later: then the step says so.
    if (undone && ::unlink(journal.c_str()) != 0 && errno != ENOENT) undone = false;
    if (undone) throw;
    journalLeft_ = true;
    try {
      throw;
    } catch (const IoError& e) {
      throw IoError(e, "（新しいファイルへの置き換えは次の処理が始まる前に済ませます）");
    }
  }

  // All is in place. The journal goes first: what the commit replaced or removed is then only
  // its owner's to remove, which needs no hold of the folder, and should this process end
  // meanwhile, a sweep removes it. What cannot be removed stays on record for the next sweep.
  if (::unlink(journal.c_str()) == 0 || errno == ENOENT) {
    alone.reset();
  } else {
    leftovers_ = true;
  }
  for (std::size_t i = 0; i < count; ++i) {
    const Target& t = target(i);
    std::string kept;
    if (t.done == Done::kExchanged || t.done == Done::kMovedAside) {
      kept = TempOf(t.name);
    } else if (t.done == Done::kLinkedBackup || t.done == Done::kMovedBackup) {
      kept = TempOf(t.name) + std::string(kBackupTail);
    } else {
      continue;
    }
    try {
      RunHook(Operation::kDiscard, i);
      if (::unlink(kept.c_str()) != 0 && errno != ENOENT) leftovers_ = true;
    } catch (const IoError&) {
      leftovers_ = true;
    }
  }
}

bool CompleteInterruptedCommits() {
  return SweepEndedOwners(Sweeping::kAll);
}

bool InterruptedCommitStands() {
  const DataFolderNames names = OwnersOnRecord();
  for (const std::string& suffix : names.records) {
    if (names.journaled.contains(suffix)) return true;
  }
  return false;
}

}  // namespace meridax
