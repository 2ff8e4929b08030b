#include "platform/staged_files.h"

#include <unistd.h>

#include <atomic>
#include <system_error>

#include "platform/file_ops.h"
#include "platform/io_error.h"

namespace meridax {

StagedFiles::StagedFiles() {
  static std::atomic<unsigned> serial{0};
  suffix_ = ".stage" + std::to_string(::getpid()) + "_" + std::to_string(serial++);
}

StagedFiles::~StagedFiles() {
  for (std::size_t i = committed_; i < targets_.size(); ++i) {
    ::unlink(TempOf(targets_[i]).c_str());
  }
}

std::string StagedFiles::TempOf(const std::string& target) const {
  return target + suffix_;
}

std::filesystem::path StagedFiles::Stage(const std::filesystem::path& target, bool keepContent) {
  const std::string temp = TempOf(target.string());
  if (const auto it = staged_.find(target.native());
      it != staged_.end() && it->second >= committed_) {
    // Staged before in this step: the temporary is the file as the step left it.
    if (!keepContent) ::unlink(temp.c_str());
    return temp;
  }
  // Start clean even if an earlier, killed run of this process id left one.
  ::unlink(temp.c_str());
  if (!FolderExists(FolderOf(target))) {
    throw IoError("フォルダがありません", target.parent_path());
  }
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
  for (; committed_ < targets_.size(); ++committed_) {
    RenameOver(TempOf(targets_[committed_]), targets_[committed_]);
  }
}

}  // namespace meridax
