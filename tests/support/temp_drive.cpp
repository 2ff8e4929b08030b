#include "tests/support/temp_drive.h"

#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/drive.h"

namespace meridax::testing {

const char* const kDataSubfolders[12] = {
    "OPTION1N", "HAHAHAN",  "HAHA",         "HAHAN",          "SHUBOBA",        "SHUBOBAN",
    "KYOSOBA",  "KYOSOBAN", "UMAGOTOSETUP", "UMAGOTOEXSETUP", "KISHUGOTOSETUP", "KISHUFUKUSHO"};

TempDrive::TempDrive(bool withDataFolders) {
  std::string pattern = (std::filesystem::temp_directory_path() / "meridax-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  if (withDataFolders) {
    std::filesystem::create_directories(data());
    for (const char* sub : kDataSubfolders) std::filesystem::create_directories(data() / sub);
  }
  SetDriveRoot(root_);
}

TempDrive::~TempDrive() {
  std::error_code ec;
  std::filesystem::remove_all(root_, ec);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::map<std::string, std::string> FolderBytes(const std::filesystem::path& folder) {
  std::map<std::string, std::string> out;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      out[std::filesystem::relative(entry.path(), folder).string()] = ReadFile(entry.path());
    }
  }
  return out;
}

}  // namespace meridax::testing
