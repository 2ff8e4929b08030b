#include "datasetup/common/paths.h"

#include <string>

#include "platform/drive.h"

namespace meridax {

std::filesystem::path DataPath(std::string_view relative) {
  std::string full(kDataFolder);
  full.append(relative);
  return HostPath(full);
}

}  // namespace meridax
