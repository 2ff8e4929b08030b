#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace meridax {

// The files a step rebuilds whole, written under temporary names beside their targets
// and put in place together by Commit() once the step has succeeded. A step that fails
// before then (the object is destroyed uncommitted) removes its temporaries and leaves
// every earlier file as it was. Each target is staged at most once.
class StagedFiles {
 public:
  StagedFiles();
  ~StagedFiles();
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // Where to write the new content of `target`. The temporary starts absent, or as a
  // copy of the current target with `keepContent` (for files overwritten in place, whose
  // records past the new end stay). A temporary never written commits as an empty file.
  std::filesystem::path Stage(const std::filesystem::path& target, bool keepContent = false);

  // Renames every temporary over its target, in the order staged.
  void Commit();

  std::size_t size() const { return targets_.size(); }

 private:
  std::string TempOf(const std::string& target) const;

  std::string suffix_;
  std::vector<std::string> targets_;
  std::size_t committed_ = 0;
};

}  // namespace meridax
