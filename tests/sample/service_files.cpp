#include "tests/sample/service_files.h"

#include <atomic>

#include <unistd.h>

#include "tests/support/temp_drive.h"

namespace meridax::testing {

namespace fs = std::filesystem;

SampleFolder::SampleFolder(sample::Size size, std::uint64_t seed, const sample::Hazards& hazards) {
  static std::atomic<int> counter{0};
  base_ = fs::temp_directory_path() /
          ("meridax-sample-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(base_);
  fs::create_directories(base_);
  sample::Options options;
  options.size = size;
  options.seed = seed;
  options.hazards = hazards;
  options.out = service();
  options.earlier = earlier();
  summary_ = sample::Generate(options);
}

SampleFolder::~SampleFolder() {
  std::error_code ignored;
  fs::remove_all(base_, ignored);
}

std::vector<std::string> ServedRecords(const fs::path& service) {
  // By name in byte order; a file still to download takes the place of a cached file of
  // its name, which is how a damaged cached file is replaced by its good copy.
  std::map<std::string, fs::path> files;
  for (const fs::path& folder : {service, service / "pending"}) {
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::directory_iterator(folder)) {
      const std::string name = entry.path().filename().string();
      if (entry.is_regular_file() && !name.ends_with(".damaged")) files[name] = entry.path();
    }
  }
  std::vector<std::string> records;
  for (const auto& [name, path] : files) {
    const std::string bytes = ReadFile(path);
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t end = bytes.find("\r\n", start);
      end = end == std::string::npos ? bytes.size() : end + 2;
      records.push_back(bytes.substr(start, end - start));
      start = end;
    }
  }
  return records;
}

std::vector<std::string> StoredRecords(const fs::path& file, int length) {
  const std::string bytes = ReadFile(file);
  const auto n = static_cast<std::size_t>(length);
  std::vector<std::string> records;
  for (std::size_t at = 0; at + n <= bytes.size(); at += n) records.push_back(bytes.substr(at, n));
  return records;
}

std::map<std::string, std::vector<std::string>> ByKind(const std::vector<std::string>& records) {
  std::map<std::string, std::vector<std::string>> out;
  for (const auto& r : records) out[r.substr(0, 2)].push_back(r);
  return out;
}

}  // namespace meridax::testing
