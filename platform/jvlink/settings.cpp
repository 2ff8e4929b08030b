#include "platform/jvlink/settings.h"

#include <system_error>

#include "platform/drive.h"
#include "platform/file_ops.h"
#include "platform/io_error.h"
#include "platform/numbers.h"
#include "platform/text_file.h"

namespace meridax::jvlink {
namespace {

constexpr std::string_view kServiceFolderKey = "ServiceFolder=";
constexpr std::string_view kDownloadDelayKey = "DownloadDelayMs=";

}  // namespace

Settings LoadSettings(const std::filesystem::path& file) {
  Settings settings;
  if (!FolderExists(file.parent_path())) return settings;
  LineReader in(file);
  std::string line;
  while (in.Next(line)) {
    if (line.starts_with(kServiceFolderKey)) {
      settings.serviceFolder = line.substr(kServiceFolderKey.size());
    } else if (line.starts_with(kDownloadDelayKey)) {
      const auto ms = ToInt32(std::string_view(line).substr(kDownloadDelayKey.size()));
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
    out.Raw(kServiceFolderKey).Raw(settings.serviceFolder).Raw("\r\n");
    if (settings.downloadDelayMs) {
      out.Raw(kDownloadDelayKey).Raw(std::to_string(*settings.downloadDelayMs)).Raw("\r\n");
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
