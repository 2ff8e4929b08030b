#include "datasetup/common/file_ids.h"

#include <stdexcept>

#include "platform/cp932.h"
#include "platform/staged_files.h"

namespace meridax {
namespace {

constexpr std::size_t kNameLimitBytes = 255;
constexpr std::size_t kLongestIdText = kNameLimitBytes - kIdFileEndingBytes - kStagedNameTailBytes;

std::optional<std::string> TextOfId(std::string_view id) {
  if (id.empty() || id.find("..") != std::string_view::npos) return std::nullopt;
  bool ascii = true;
  for (const char ch : id) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c == 0x7F || c == '\\' || c == '/' || c == '"') return std::nullopt;
    if (c > 0x7F) ascii = false;
  }
  // Printable ASCII is its own UTF-8; only other ids need the converter.
  std::optional<std::string> text = ascii ? std::string(id) : Cp932ToUtf8Exact(id);
  if (!text || text->size() > kLongestIdText) return std::nullopt;
  return text;
}

}  // namespace

std::optional<std::string> FileNameOfId(std::string_view id, std::string_view ending) {
  if (ending.size() > kIdFileEndingBytes) throw std::invalid_argument("file ending too long");
  auto name = TextOfId(id);
  if (name) name->append(ending);
  return name;
}

bool IsSafeFileId(std::string_view id) {
  return TextOfId(id).has_value();
}

std::string SkippedIdsNote(std::int64_t skipped) {
  if (skipped == 0) return {};
  return " (ファイル名にできないID " + std::to_string(skipped) + "件を飛ばしました)";
}

}  // namespace meridax
