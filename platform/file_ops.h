#pragma once

#include <cstdint>
#include <filesystem>

namespace meridax {

bool FolderExists(const std::filesystem::path& path);
bool FileExists(const std::filesystem::path& path);

// The folder a file stands in: its parent, or the working folder for a bare name.
std::filesystem::path FolderOf(const std::filesystem::path& file);

// Why no file, or no folder, can be read at a path: 0 when it can; ENOENT when nothing
// stands there (also where something other than a file or folder does); EISDIR when a folder
// stands in a file's place, ENOTDIR when a file stands in a folder's place or on the way;
// else why it could not be looked at or into (a folder without permission, a name too long,
// a loop of links).
int WhyNotAFile(const std::filesystem::path& path);
int WhyNotAFolder(const std::filesystem::path& path);

// Throws IoError naming the folder when it does not exist ("フォルダがありません") or cannot be
// looked into ("フォルダを読めません", with why); steps call it first so that such a folder
// stops them before they write anything.
void RequireFolder(const std::filesystem::path& path);

// Makes a folder and the folders it stands in, as far as they are missing. Throws IoError.
void CreateFolders(const std::filesystem::path& path);

// Length in bytes; 0 for a missing file.
std::uint64_t FileLength(const std::filesystem::path& path);

// Deletes a file. A missing file is not an error (returns false); any other failure
// throws IoError.
bool DeleteFile(const std::filesystem::path& path);

// Makes a new empty file, in one call (steps make thousands); a file or anything else that
// stands under the name already fails it. Throws IoError.
void CreateEmptyFile(const std::filesystem::path& path);

// Writes a whole file under a temporary name in the target's folder and renames it over
// the target on Commit(), so a step that fails half way leaves the earlier file intact.
// Without Commit() the temporary file is removed.
class FileReplacement {
 public:
  explicit FileReplacement(std::filesystem::path target);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  const std::filesystem::path& target() const { return target_; }
  // Where to write; it is made empty at once, and must be written in place.
  const std::filesystem::path& temp() const { return temp_; }
  void Commit();

 private:
  std::filesystem::path target_;
  std::filesystem::path temp_;
  bool committed_ = false;
};

}  // namespace meridax
