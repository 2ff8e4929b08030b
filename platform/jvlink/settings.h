#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace meridax::jvlink {

// The component keeps its own settings in its own file on drive C:, apart from the
// system, which has none.
inline constexpr std::string_view kSettingsFile = "C:\\JVSTANDIN\\settings.txt";
inline constexpr std::string_view kDefaultServiceFolder = "C:\\JVDATA\\";

struct Settings {
  std::string serviceFolder{kDefaultServiceFolder};
  // Pause of the background download per file; unset keeps the component's default.
  // Benchmarks set 0 to time the download without it.
  std::optional<std::int32_t> downloadDelayMs;
};

// A missing file gives the defaults; an unreadable one throws IoError.
Settings LoadSettings(const std::filesystem::path& file);
// Creates the file's folder when needed; throws IoError.
void SaveSettings(const std::filesystem::path& file, const Settings& settings);

// Host folder of a folder setting: a drive-C: path is mapped, an absolute host path is
// taken as it is; anything else gives an empty path.
std::filesystem::path ServiceFolderPath(std::string_view setting);

}  // namespace meridax::jvlink
