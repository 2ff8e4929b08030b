#include "platform/drive.h"

#include <cstdlib>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>

namespace meridax {
namespace {

std::mutex rootMutex;
std::optional<std::filesystem::path> explicitRoot;

}  // namespace

void SetDriveRoot(const std::filesystem::path& root) {
  std::lock_guard lock(rootMutex);
  if (root.empty()) {
    explicitRoot.reset();
  } else {
    explicitRoot = root;
  }
}

std::filesystem::path DriveRoot() {
  {
    std::lock_guard lock(rootMutex);
    if (explicitRoot) return *explicitRoot;
  }
  if (const char* env = std::getenv("MERIDAX_DRIVE_C"); env && *env) return env;
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home && *home ? home : ".") / "drive_c";
}

std::filesystem::path HostPath(std::string_view windowsPath) {
  if (windowsPath.size() < 2 || windowsPath[1] != ':' ||
      (windowsPath[0] != 'C' && windowsPath[0] != 'c')) {
    throw std::invalid_argument("not a path on drive C: " + std::string(windowsPath));
  }
  return PathBelow(DriveRoot(), windowsPath.substr(2));
}

std::filesystem::path PathBelow(const std::filesystem::path& base, std::string_view relative) {
  std::filesystem::path result = base;
  std::string_view rest = relative;
  while (!rest.empty()) {
    const std::size_t sep = rest.find_first_of("\\/");
    const std::string_view part = rest.substr(0, sep);
    if (!part.empty()) result /= std::string(part);
    if (sep == std::string_view::npos) break;
    rest.remove_prefix(sep + 1);
  }
  return result;
}

std::optional<std::string> WindowsPath(const std::filesystem::path& host, bool folder) {
  const auto relative = host.lexically_normal().lexically_relative(DriveRoot().lexically_normal());
  if (relative.empty() || relative.native().starts_with("..")) return std::nullopt;
  std::string path = "C:";
  for (const auto& part : relative) {
    if (part == "." || part.empty()) continue;
    path += "\\" + part.string();
  }
  if (folder || path == "C:") path += "\\";
  return path;
}

std::filesystem::path DataPath(std::string_view relative) {
  std::string full(kDataFolder);
  full.append(relative);
  return HostPath(full);
}

std::string RawRecordFileName(std::string_view kind, std::string_view generation) {
  std::string name(kind);
  name.append(generation).append(".dat");
  return name;
}

}  // namespace meridax
