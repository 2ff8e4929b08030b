#pragma once

#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>

namespace meridax {

// The files a step rebuilds whole, written under temporary names beside their targets
// and put in place together by Commit() once the step has succeeded. A step that fails
// before then (the object is destroyed uncommitted) removes its temporaries and leaves
// every earlier file as it was.
class StagedFiles {
 public:
  StagedFiles();
  ~StagedFiles();
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;

  // Where to write the new content of `target`. The temporary starts absent, or as a
  // copy of the current target with `keepContent` (for files overwritten in place, whose
  // records past the new end stay). A temporary never written commits as an empty file.
  // Staging a target again before Commit() returns the same temporary: emptied again, or
  // as the step left it with `keepContent`, so the last content written is what commits.
  std::filesystem::path Stage(const std::filesystem::path& target, bool keepContent = false);

  // Renames every temporary over its target, in the order staged.
  void Commit();

  std::size_t size() const { return targets_.size(); }

 private:
  std::string TempOf(const std::string& target) const;

  std::string suffix_;
  std::deque<std::string> targets_;  // a deque: the views in staged_ stay valid
  std::unordered_map<std::string_view, std::size_t> staged_;  // target -> its place in targets_
  std::size_t committed_ = 0;
};

}  // namespace meridax
