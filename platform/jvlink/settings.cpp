#include "platform/jvlink/settings.h"

#include <system_error>

#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/text_file.h"

namespace meridax::jvlink {
namespace {

constexpr std::string_view kServiceFolderKey = "ServiceFolder";
constexpr std::string_view kDownloadDelayKey = "DownloadDelayMs";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

Settings LoadSettings(const std::filesystem::path& file) {
  Settings settings;
  if (!FolderExists(file.parent_path())) return settings;
  LineReader in(file);
  std::string line;
  // The file is edited by hand: an editor's byte order mark, blanks around the key or the
  // value and the key's case must not turn the setting into the default silently.
  for (bool first = true; in.Next(line); first = false) {
    std::string_view text = line;
    if (first && text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string_view key = Trimmed(text.substr(0, equals));
    const std::string_view value = Trimmed(text.substr(equals + 1));
    if (SameKey(key, kServiceFolderKey)) {
      settings.serviceFolder = value;
    } else if (SameKey(key, kDownloadDelayKey)) {
      const auto ms = ToInt32(value);
      if (ms && *ms >= 0) settings.downloadDelayMs = *ms;
    }
  }
  return settings;
}

void SaveSettings(const std::filesystem::path& file, const Settings& settings) {
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (ec) throw IoError("フォルダを作れません", file.parent_path(), ec.value());
  FileReplacement replacement(file);
  {
    TextWriter out(replacement.temp(), TextWriter::Mode::kOutput);
    out.Raw(kServiceFolderKey).Raw("=").Raw(settings.serviceFolder).Raw("\r\n");
    if (settings.downloadDelayMs) {
      out.Raw(kDownloadDelayKey)
          .Raw("=")
          .Raw(std::to_string(*settings.downloadDelayMs))
          .Raw("\r\n");
    }
    out.Close();
  }
  replacement.Commit();
}

std::filesystem::path ServiceFolderPath(std::string_view setting) {
  if (setting.size() >= 2 && setting[1] == ':') {
    try {
      return HostPath(setting);
    } catch (const std::invalid_argument&) {
      return {};
    }
  }
  if (!setting.empty() && setting.front() == '/') return std::filesystem::path(setting);
  return {};
}

}  // namespace meridax::jvlink
