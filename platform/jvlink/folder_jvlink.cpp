#include "platform/jvlink/folder_jvlink.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <ctime>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/io_trace.h"

namespace meridax::jvlink {
namespace {

constexpr std::string_view kMarkerSuffix = ".damaged";
constexpr std::string_view kPendingFolder = "pending";
constexpr std::size_t kChunkBytes = 1 << 20;

bool IsMarker(std::string_view name) {
  return name.size() > kMarkerSuffix.size() && name.ends_with(kMarkerSuffix);
}

// The marker that says a cached file is damaged.
std::filesystem::path MarkerOf(std::filesystem::path file) {
  file += kMarkerSuffix;
  return file;
}

// A file name of the cache, never a path that could leave it.
bool IsPlainName(std::string_view name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of("/\\") == std::string_view::npos &&
         name.find('\0') == std::string_view::npos;
}

// The data files standing in a folder; a missing folder has none. One that cannot be listed
// throws IoError: what could be listed would pass for the whole service.
std::set<std::string> DataFilesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory) return names;
  for (const std::filesystem::directory_iterator end; !ec && it != end; it.increment(ec)) {
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc)) continue;
    std::string name = it->path().filename().string();
    if (!IsMarker(name)) names.insert(std::move(name));
  }
  if (ec) throw IoError("フォルダの一覧を読めません", folder, ec.value());
  return names;
}

// A folder as the operator finds it: the host path, and the setting that named it when that
// is a path of drive C:.
std::string Named(const std::filesystem::path& host, std::string_view setting) {
  if (host.empty()) return "(" + std::string(setting) + ")";
  if (host == std::filesystem::path(setting)) return host.string();
  return host.string() + " (" + std::string(setting) + ")";
}

std::string Timestamp(std::time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &tm);
  return text;
}

// Records of one file, each up to and including CR LF; bytes after the last CR LF make a
// last, short record rather than being lost.
class RecordStream {
 public:
  ~RecordStream() { Close(); }

  void Open(const std::filesystem::path& path) {
    Close();
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw IoError("開けません", path, errno);
    NoteFileRead(path);
    path_ = path;
    buf_.clear();
    pos_ = scanned_ = 0;
    eof_ = false;
  }
  bool IsOpen() const { return fd_ >= 0; }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

  // The next record, left in place until Consume(); empty at the end of the file, and
  // nothing once it is known to be longer than `limit`: a record without a line end is
  // read no further than that.
  std::optional<std::string_view> Peek(std::size_t limit) {
    for (;;) {
      const std::size_t end = buf_.find("\r\n", scanned_);
      const std::size_t length = end != std::string::npos ? end + 2 - pos_ : buf_.size() - pos_;
      if (length > limit) return std::nullopt;
      if (end != std::string::npos) return std::string_view(buf_).substr(pos_, length);
      scanned_ = buf_.size() > pos_ ? buf_.size() - 1 : pos_;
      if (eof_) return std::string_view(buf_).substr(pos_);
      Fill();
    }
  }
  void Consume(std::size_t bytes) {
    pos_ += bytes;
    scanned_ = pos_;
  }

 private:
  void Fill() {
    buf_.erase(0, pos_);
    scanned_ -= pos_;
    pos_ = 0;
    const std::size_t old = buf_.size();
    buf_.resize(old + kChunkBytes);
    ssize_t r;
    do {
      r = ::read(fd_, buf_.data() + old, kChunkBytes);
    } while (r < 0 && errno == EINTR);
    if (r < 0) {
      buf_.resize(old);
      throw IoError("読み込めません", path_, errno);
    }
    buf_.resize(old + static_cast<std::size_t>(r));
    if (r == 0) eof_ = true;
  }

  std::filesystem::path path_;
  int fd_ = -1;
  std::string buf_;
  std::size_t pos_ = 0;
  std::size_t scanned_ = 0;
  bool eof_ = false;
};

}  // namespace

struct FolderJVLink::Session {
  struct Entry {
    std::string name;
    bool cached;
  };

  std::filesystem::path cache;
  std::filesystem::path pending;
  std::vector<Entry> files;  // served, in name order

  std::mutex mutex;  // guards Entry::cached and the moves of the two threads
  std::condition_variable wake;
  bool stop = false;
  std::atomic<std::int32_t> moved{0};
  std::atomic<std::int32_t> failure{0};
  std::thread worker;
  bool cancelled = false;

  std::size_t next = 0;  // the file being read
  RecordStream stream;

  ~Session() { StopDownload(); }

  // Moves file i from pending into the cache; the caller holds the mutex. A marker left
  // from an earlier damaged copy goes, since the moved copy is a fresh one.
  std::int32_t Download(std::size_t i) {
    Entry& entry = files[i];
    if (entry.cached) return kOk;
    const auto target = cache / entry.name;
    ::unlink(MarkerOf(target).c_str());
    if (::rename((pending / entry.name).c_str(), target.c_str()) != 0) return kDownloadFailed;
    entry.cached = true;
    ++moved;
    return kOk;
  }

  void StartDownload(std::chrono::milliseconds delay) {
    worker = std::thread([this, delay] {
      for (std::size_t i = 0; i < files.size(); ++i) {
        std::unique_lock lock(mutex);
        if (files[i].cached) continue;
        if (wake.wait_for(lock, delay, [this] { return stop; })) return;
        if (const std::int32_t rc = Download(i); rc != kOk) {
          failure = rc;
          return;
        }
      }
    });
  }

  void StopDownload() {
    {
      std::lock_guard lock(mutex);
      stop = true;
    }
    wake.notify_all();
    if (worker.joinable()) worker.join();
  }
};

FolderJVLink::FolderJVLink(FolderJVLinkOptions options) : options_(std::move(options)) {}

FolderJVLink::~FolderJVLink() {
  JVClose();
  ReleaseServiceFolder();
}

std::int32_t FolderJVLink::Failure(std::int32_t code, const std::string& text) const {
  if (options_.notice) options_.notice(text);
  return code;
}

// Two downloads of one service folder would move each other's files away under them.
std::int32_t FolderJVLink::HoldServiceFolder(const std::filesystem::path& folder,
                                             std::string_view setting) {
  if (heldFd_ >= 0 && held_ == folder) return kOk;
  ReleaseServiceFolder();
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Failure(kReadFailed, IoError("フォルダを開けません", folder, errno).what());
  int rc;
  do {
    rc = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0 && errno == EWOULDBLOCK) {
    ::close(fd);
    return Failure(kAlreadyOpen, "他のダウンロードが実行中です: " + Named(folder, setting) +
                                     "。終わってからやり直してください");
  }
  // A file system without such locks serves as before, without the hold.
  heldFd_ = fd;
  held_ = folder;
  return kOk;
}

void FolderJVLink::ReleaseServiceFolder() {
  if (heldFd_ >= 0) ::close(heldFd_);
  heldFd_ = -1;
  held_.clear();
}

std::int32_t FolderJVLink::JVInit(std::string_view softwareId) {
  if (softwareId.empty() || softwareId.size() > 64) return kBadSoftwareId;
  initialized_ = true;
  return kOk;
}

std::int32_t FolderJVLink::JVSetUIProperties() {
  try {
    const auto file = HostPath(options_.settingsFile);
    Settings settings = LoadSettings(file);
    if (!options_.dialog) return kSettingsFailed;
    const auto chosen = options_.dialog(settings.serviceFolder);
    if (chosen && *chosen != settings.serviceFolder) {
      settings.serviceFolder = *chosen;
      SaveSettings(file, settings);
    }
    return kOk;
  } catch (...) {
    return kSettingsFailed;
  }
}

std::filesystem::path FolderJVLink::CacheFolder() const {
  if (session_) return session_->cache;
  return ServiceFolderPath(LoadSettings(HostPath(options_.settingsFile)).serviceFolder);
}

std::int32_t FolderJVLink::JVOpen(std::string_view /*dataSpec*/, std::string_view fromTime,
                                  std::int32_t /*option*/, std::int32_t& readCount,
                                  std::int32_t& downloadCount, std::string& lastFileTimestamp) {
  try {
    return Open(fromTime, readCount, downloadCount, lastFileTimestamp);
  } catch (...) {
    session_.reset();
    ReleaseServiceFolder();
    return kInternalError;
  }
}

std::int32_t FolderJVLink::Open(std::string_view fromTime, std::int32_t& readCount,
                                std::int32_t& downloadCount, std::string& lastFileTimestamp) {
  if (!initialized_) return kNotInitialized;
  if (session_) return kAlreadyOpen;
  const auto settingsFile = HostPath(options_.settingsFile);
  Settings settings;
  try {
    settings = LoadSettings(settingsFile);
  } catch (const IoError& e) {
    return Failure(kNoServiceFolder, e.what());
  }
  const auto cache = ServiceFolderPath(settings.serviceFolder);
  if (cache.empty() || !FolderExists(cache)) {
    // The folder alone would not say where it came from.
    std::string text = (cache.empty() ? "サービスフォルダの設定がパスではありません "
                                      : "サービスフォルダがありません ") +
                       Named(cache, settings.serviceFolder) + "。設定ファイル " +
                       Named(settingsFile, options_.settingsFile);
    if (!FileExists(settingsFile)) text += " がないため既定のフォルダです";
    return Failure(kNoServiceFolder, text);
  }
  if (const std::int32_t rc = HoldServiceFolder(cache, settings.serviceFolder); rc != kOk) {
    return rc;
  }

  if (!resumeNextOpen_) {
    completed_.clear();
    reportedDamaged_.clear();
  }
  resumeNextOpen_ = false;

  auto session = std::make_unique<Session>();
  session->cache = cache;
  session->pending = cache / kPendingFolder;
  std::set<std::string> cached, all;
  try {
    cached = DataFilesIn(session->cache);
    all = DataFilesIn(session->pending);
  } catch (const IoError& e) {
    ReleaseServiceFolder();
    return Failure(kReadFailed, e.what());
  }
  all.insert(cached.begin(), cached.end());

  std::time_t newest = 0;
  std::int32_t toDownload = 0;
  for (const auto& name : all) {
    if (completed_.contains(name)) continue;
    const bool isCached = cached.contains(name);
    session->files.push_back({name, isCached});
    if (!isCached) ++toDownload;
    struct stat st {};
    const auto path = (isCached ? session->cache : session->pending) / name;
    if (::stat(path.c_str(), &st) == 0 && st.st_mtime > newest) newest = st.st_mtime;
  }
  readCount = static_cast<std::int32_t>(session->files.size());
  downloadCount = toDownload;
  lastFileTimestamp = newest > 0 ? Timestamp(newest) : std::string(fromTime);
  if (toDownload > 0) {
    session->StartDownload(settings.downloadDelayMs
                               ? std::chrono::milliseconds(*settings.downloadDelayMs)
                               : options_.perFileDelay);
  }
  session_ = std::move(session);
  return kOk;
}

std::int32_t FolderJVLink::JVStatus() {
  if (!session_) return kNotOpen;
  if (const std::int32_t failure = session_->failure; failure != 0) return failure;
  return session_->moved;
}

std::int32_t FolderJVLink::JVCancel() {
  if (!session_) return kNotOpen;
  session_->StopDownload();
  session_->cancelled = true;
  return kOk;
}

std::int32_t FolderJVLink::JVRead(std::string& buffer, std::int32_t& size, std::string& fileName) {
  try {
    return Read(buffer, size, fileName);
  } catch (const IoError&) {
    return kReadFailed;
  } catch (...) {
    return kInternalError;
  }
}

std::int32_t FolderJVLink::Read(std::string& buffer, std::int32_t size, std::string& fileName) {
  if (!session_) return kNotOpen;
  Session& s = *session_;
  if (s.cancelled) return kCancelled;
  if (!s.stream.IsOpen()) {
    if (s.next >= s.files.size()) {
      fileName.clear();
      return kOk;
    }
    const std::string& name = s.files[s.next].name;
    fileName = name;
    {
      // Reading never waits for the background download.
      std::lock_guard lock(s.mutex);
      if (const std::int32_t rc = s.Download(s.next); rc != kOk) return rc;
    }
    if (FileExists(MarkerOf(s.cache / name))) {
      return reportedDamaged_.insert(name).second ? kDamagedFile : kStillDamaged;
    }
    s.stream.Open(s.cache / name);
  }
  const std::string& name = s.files[s.next].name;
  fileName = name;
  if (size < 0) return kBufferTooSmall;
  const auto peeked = s.stream.Peek(static_cast<std::size_t>(size));
  if (!peeked) return kBufferTooSmall;
  const std::string_view record = *peeked;
  if (record.empty()) {
    s.stream.Close();
    completed_.insert(name);
    ++s.next;
    return kEndOfFile;
  }
  buffer.assign(record);
  s.stream.Consume(record.size());
  return static_cast<std::int32_t>(buffer.size());
}

std::int32_t FolderJVLink::JVFiledelete(std::string_view fileName) {
  try {
    return Delete(fileName);
  } catch (...) {
    return kInternalError;
  }
}

std::int32_t FolderJVLink::Delete(std::string_view fileName) {
  if (!IsPlainName(fileName)) return kBadFileName;
  // Reading resumes after a reported damaged file even when it cannot be removed: served
  // again from the start, it would be reported afresh and the reader would go round for
  // ever, each time taking the files before it once more. Resumed, it ends as -404.
  if (reportedDamaged_.contains(std::string(fileName))) resumeNextOpen_ = true;
  std::filesystem::path cache;
  try {
    cache = CacheFolder();
  } catch (const IoError&) {
    return kNoServiceFolder;
  }
  if (cache.empty()) return kNoServiceFolder;
  const auto file = cache / std::string(fileName);
  std::unique_lock<std::mutex> lock;
  if (session_) lock = std::unique_lock(session_->mutex);
  bool removed = false;
  for (const auto& path : {file, MarkerOf(file)}) {
    if (::unlink(path.c_str()) == 0) {
      removed = true;
    } else if (errno != ENOENT) {
      return kDeleteFailed;
    }
  }
  if (!removed) return kNoSuchFile;
  if (session_) {
    // The file is to be downloaded again should reading go on without a re-open.
    for (auto& entry : session_->files) {
      if (entry.name == fileName) entry.cached = false;
    }
  }
  resumeNextOpen_ = true;
  return kOk;
}

std::int32_t FolderJVLink::JVClose() {
  session_.reset();
  // The re-open after JVFiledelete goes on with this download: no other may come between.
  if (!resumeNextOpen_) ReleaseServiceFolder();
  return kOk;
}

}  // namespace meridax::jvlink
