#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace meridax::testing {

// A temporary folder standing for drive C: for the life of the object. With
// `withDataFolders`, C:\MERIDAXPROJECT\ and all its sub-folders exist.
class TempDrive {
 public:
  explicit TempDrive(bool withDataFolders = true);
  ~TempDrive();
  TempDrive(const TempDrive&) = delete;
  TempDrive& operator=(const TempDrive&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::filesystem::path data() const { return root_ / "MERIDAXPROJECT"; }

 private:
  std::filesystem::path root_;
};

// The sub-folders of the data folder.
extern const char* const kDataSubfolders[12];

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// Every file of a folder tree, by path relative to it, with its bytes.
std::map<std::string, std::string> FolderBytes(const std::filesystem::path& folder);

}  // namespace meridax::testing
