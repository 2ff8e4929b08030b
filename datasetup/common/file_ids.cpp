#include "datasetup/common/file_ids.h"

namespace meridax {

bool IsSafeFileId(std::string_view id) {
  if (id.empty() || id.find("..") != std::string_view::npos) return false;
  for (const char ch : id) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || c == '\\' || c == '/' || c == '"') return false;
  }
  return true;
}

std::string SkippedIdsNote(std::int64_t skipped) {
  if (skipped == 0) return {};
  return " (ファイル名にできないID " + std::to_string(skipped) + "件を飛ばしました)";
}

}  // namespace meridax
