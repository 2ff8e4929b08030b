#include "platform/file_ops.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

#include "platform/io_error.h"

namespace meridax {

bool FolderExists(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::filesystem::path& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::filesystem::path FolderOf(const std::filesystem::path& file) {
  return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

int WhyNotAFile(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno;
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (!S_ISREG(st.st_mode)) return ENOENT;
  return ::access(path.c_str(), R_OK) == 0 ? 0 : errno;
}

int WhyNotAFolder(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return errno;
  if (!S_ISDIR(st.st_mode)) return ENOTDIR;
  // A folder that cannot be entered hides its files as well as a missing one.
  return ::access(path.c_str(), X_OK) == 0 ? 0 : errno;
}

void RequireFolder(const std::filesystem::path& path) {
  switch (const int why = WhyNotAFolder(path)) {
    case 0:
      return;
    case ENOENT:
      throw IoError("フォルダがありません", path);
    case ENOTDIR:
      throw IoError("フォルダがありません", path, why);
    default:
      throw IoError("フォルダを読めません", path, why);
  }
}

void CreateFolders(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  if (ec) throw IoError("フォルダを作れません", path, ec.value());
}

std::uint64_t FileLength(const std::filesystem::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return 0;
  return static_cast<std::uint64_t>(st.st_size);
}

bool DeleteFile(const std::filesystem::path& path) {
  if (::unlink(path.c_str()) == 0) return true;
  if (errno == ENOENT) {
    // A missing folder is still an error: the file could not have been looked at.
    if (!FolderExists(FolderOf(path))) {
      throw IoError("フォルダがありません", path.parent_path());
    }
    return false;
  }
  throw IoError("削除できません", path, errno);
}

void CreateEmptyFile(const std::filesystem::path& path) {
  if (::mknod(path.c_str(), S_IFREG | 0666, 0) != 0) throw IoError("書き込めません", path, errno);
}

FileReplacement::FileReplacement(std::filesystem::path target) : target_(std::move(target)) {
  static std::atomic<unsigned> serial{0};
  temp_ = target_;
  temp_ += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(serial++);
  // Start empty even if an earlier, killed run left a file of this name; made now, so that
  // a temporary gone by the commit fails it rather than putting an empty file in place.
  ::unlink(temp_.c_str());
  CreateEmptyFile(temp_);
}

FileReplacement::~FileReplacement() {
  if (!committed_) ::unlink(temp_.c_str());
}

void FileReplacement::Commit() {
  if (committed_) return;
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    throw IoError("置き換えられません", target_, errno);
  }
  committed_ = true;
}

}  // namespace meridax
